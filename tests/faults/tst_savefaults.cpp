// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultrig.h"

#include "files/parametermenu.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "form/receivepane.h"
#include "transfer/savereceived.h"
#include "unprivileged.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using Answer = MessageBox::Answer;

// Saving a tenant, parameter or received file where the target cannot be
// written: the disk fills during the save, the folder is a file, or the text
// holds characters that have no byte. The operator hears the reason, the old
// file stays as it was, no half-written file is left behind, and the text to
// save is still there.
class TstSaveFaults : public QObject {
    Q_OBJECT
private slots:
    void targetCannotBeWritten_data();
    void targetCannotBeWritten();
    void unprivilegedSave_data();
    void unprivilegedSave();
};

namespace {

const QByteArray kOld("OLD CONTENT\r\n");

// The main window on fakes, with one way to save for each kind of file.
struct SaveRig : Form1Rig {
    SaveRig() : Form1Rig(RigOptions().hidden()) {}

    // Saves text of the given kind to path; returns the text the save keeps
    // showing (the editor's list, the pane, the message field).
    QString save(const QString& kind, const QString& path, const QString& text)
    {
        fakes.prompter.choose(path);
        fakes.prompter.answer(Answer::Yes);   // replace the old file, if asked
        if (kind == QStringLiteral("tenant"))
            return saveTenants(text);
        if (kind == QStringLiteral("parameter")) {
            window->ui().MsgWel->setText(text);
            window->parameterMenu().mnuopenpar_Click();
            return window->ui().MsgWel->text();
        }
        ReceivePane& pane = *window->ui().Text1;
        pane.replaceSelection(text);
        window->saveReceived().save_received_Click();
        return pane.text();
    }

    QString saveTenants(const QString& text)
    {
        PendingTenantFile pending;
        TenantEditor editor(2, fakes.platform, window->settings(), pending);
        editor.Form_Load();
        editor.ui().Text1->setText(text);
        editor.tntsaveas_Click();
        return editor.ui().Text1->text();
    }
};

ino_t inodeOf(const QString& path, mode_t* mode = nullptr)
{
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    if (mode)
        *mode = st.st_mode & 07777;
    return st.st_ino;
}

}   // namespace

void TstSaveFaults::targetCannotBeWritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("description");
    const struct {
        const char* kind;
        const char* file;
    } kinds[] = {{"tenant", "tenants.TNT"}, {"parameter", "door.par"}, {"received", "received.txt"}};
    for (const auto& k : kinds) {
        const QString file = QString::fromLatin1(k.file);
        QTest::addRow("%s, disk fills", k.kind)
            << k.kind << file << "disk fills" << QStringLiteral("File too large");
        QTest::addRow("%s, folder is a file", k.kind)
            << k.kind << QStringLiteral("notes.txt/") + file << "folder is a file"
            << QStringLiteral("Not a directory");
        // The message field holds no line break: a parameter text has none.
        const bool parameter = QByteArray(k.kind) == "parameter";
        QTest::addRow("%s, characters without a byte", k.kind)
            << k.kind << file << "characters without a byte"
            << (parameter ? QStringLiteral("\u20AC (U+20AC), \u0141 (U+0141)")
                          : QStringLiteral("\u20AC (U+20AC), U+2028"));
    }
}

void TstSaveFaults::targetCannotBeWritten()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, fault);
    QFETCH(QString, description);
    SaveRig rig;
    QTemporaryDir dir;
    writeFile(dir, QStringLiteral("notes.txt"), kOld);
    const QString path = dir.filePath(name);
    const bool oldFile = fault != QStringLiteral("folder is a file");
    if (oldFile)
        writeFile(dir, name, kOld);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QString text = QStringLiteral("A TEXT LONGER THAN THE ROOM LEFT ON THE DISK");
    if (fault == QStringLiteral("characters without a byte"))
        text = kind == QStringLiteral("parameter") ? QStringLiteral("A TEXT OF 5 \u20AC\u0141 \u20AC")
                                                   : QStringLiteral("A TEXT OF 5 \u20AC\u2028 \u20AC");
    std::optional<FileSizeLimit> full;
    if (fault == QStringLiteral("disk fills"))
        full.emplace(kOld.size());
    QVERIFY(!full || full->isSet());

    const QString kept = rig.save(kind, path, text);
    full.reset();

    QVERIFY2(!rig.fakes.prompter.boxes.isEmpty(), contentOf(path).constData());
    const MessageBox& box = rig.fakes.prompter.boxes.last();
    QVERIFY2(box.prompt.contains(description), qPrintable(box.prompt));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QVERIFY(kept.startsWith(text));
    if (oldFile)
        QCOMPARE(contentOf(path), kOld);
    QCOMPARE(contentOf(dir.filePath(QStringLiteral("notes.txt"))), kOld);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

// Where the folder takes no temporary file the file is written in place (same
// inode); either way it keeps its permission bits; a file the user may not
// write is refused and stays as it was.
void TstSaveFaults::unprivilegedSave_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("saved");
    for (const char* kind : {"tenant", "parameter", "received"}) {
        QTest::addRow("%s, folder read-only", kind) << kind << false << 0640 << true;
        QTest::addRow("%s, folder writable", kind) << kind << true << 0604 << true;
        QTest::addRow("%s, file read-only", kind) << kind << true << 0444 << false;
    }
}

void TstSaveFaults::unprivilegedSave()
{
    QFETCH(QString, kind);
    QFETCH(bool, folderWritable);
    QFETCH(int, fileMode);
    QFETCH(bool, saved);
    const Unprivileged user;
    SaveRig rig;
    QTemporaryDir dir;
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString folder = dir.filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkdir(folder));
    const QByteArray old(200, 'Z');   // longer than any new text
    const QString path = writeFile(dir, QStringLiteral("target/file.txt"), old);
    QVERIFY(user.give(path, mode_t(fileMode)));
    QVERIFY(user.give(folder, folderWritable ? 0755 : 0555));
    const ino_t inode = inodeOf(path);
    const QString text = QStringLiteral("NEW");

    const int result = user.run([&] {
        rig.save(kind, path, text);
        const QList<MessageBox>& boxes = rig.fakes.prompter.boxes;   // a replace question is no failure
        return std::none_of(boxes.begin(), boxes.end(),
                            [](const MessageBox& box) { return box.icon == MessageBox::Icon::Exclamation; });
    });
    QVERIFY(chmod(QFile::encodeName(folder).constData(), 0755) == 0);   // for the clean-up
    if (result == Unprivileged::kCannotDrop)
        QSKIP("cannot run as an unprivileged user here");

    QCOMPARE(result == 0, saved);
    mode_t mode = 0;
    const ino_t after = inodeOf(path, &mode);
    QCOMPARE(int(mode), fileMode);
    const QByteArray content = contentOf(path);
    if (saved)
        QVERIFY2(content.contains(text.toLatin1()) && !content.contains('Z'), content.constData());
    else
        QCOMPARE(content, old);
    if (!folderWritable)
        QCOMPARE(after, inode);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("file.txt")});
}

QTEST_MAIN(TstSaveFaults)
#include "tst_savefaults.moc"
