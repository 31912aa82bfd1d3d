#include "faultrig.h"

#include "files/parametermenu.h"
#include "files/pendingtenantfile.h"
#include "files/tenanteditor.h"
#include "files/tenantlist.h"
#include "link/receivepane.h"
#include "transfer/savereceived.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <optional>

using Answer = MessageBox::Answer;

// Saving a tenant, parameter or received file where the target cannot be
// written: the disk fills during the save, or the folder is a file. The
// operator hears the system's reason, the old file stays as it was, no
// half-written file is left behind, and the text to save is still there.
class TstSaveFaults : public QObject {
    Q_OBJECT
private slots:
    void targetCannotBeWritten_data();
    void targetCannotBeWritten();
};

namespace {

const QByteArray kOld("OLD CONTENT\r\n");

// The main window on fakes, with one way to save for each kind of file.
struct SaveRig {
    SaveRig() : window(fakes.platform) { window.Form_Load(); }

    // Saves text of the given kind to path; returns the text the save keeps
    // showing (the editor's list, the pane, the message field).
    QString save(const QString& kind, const QString& path, const QString& text)
    {
        fakes.prompter.choose(path);
        fakes.prompter.answer(Answer::Yes);   // replace the old file, if asked
        if (kind == QStringLiteral("tenant"))
            return saveTenants(text);
        if (kind == QStringLiteral("parameter")) {
            window.ui().MsgWel->setText(text);
            window.parameterMenu().mnuopenpar_Click();
            return window.ui().MsgWel->text();
        }
        ReceivePane& pane = *window.ui().Text1;
        pane.replaceSelection(text);
        window.saveReceived().save_received_Click();
        return pane.text();
    }

    QString saveTenants(const QString& text)
    {
        PendingTenantFile pending;
        TenantEditor editor(2, fakes.platform, window.settings(), pending);
        editor.Form_Load();
        editor.ui().Text1->setText(text);
        editor.tntsaveas_Click();
        return editor.ui().Text1->text();
    }

    TestPlatform fakes;
    MainWindow window;
};

} // namespace

void TstSaveFaults::targetCannotBeWritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("diskFills");
    QTest::addColumn<QString>("description");
    const struct {
        const char* kind;
        const char* file;
    } kinds[] = {{"tenant", "tenants.TNT"}, {"parameter", "door.par"}, {"received", "received.txt"}};
    for (const auto& k : kinds) {
        QTest::addRow("%s, disk fills", k.kind)
            << k.kind << QString::fromLatin1(k.file) << true << QStringLiteral("File too large");
        QTest::addRow("%s, folder is a file", k.kind)
            << k.kind << QStringLiteral("notes.txt/") + QString::fromLatin1(k.file) << false
            << QStringLiteral("Not a directory");
    }
}

void TstSaveFaults::targetCannotBeWritten()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(bool, diskFills);
    QFETCH(QString, description);
    SaveRig rig;
    QTemporaryDir dir;
    writeFile(dir, QStringLiteral("notes.txt"), kOld);
    const QString path = dir.filePath(name);
    if (diskFills)
        writeFile(dir, name, kOld);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString text = QStringLiteral("A TEXT LONGER THAN THE ROOM LEFT ON THE DISK");
    std::optional<FileSizeLimit> full;
    if (diskFills)
        full.emplace(kOld.size());
    QVERIFY(!full || full->isSet());

    const QString kept = rig.save(kind, path, text);
    full.reset();

    QVERIFY2(!rig.fakes.prompter.boxes.isEmpty(), contentOf(path).constData());
    const MessageBox& box = rig.fakes.prompter.boxes.last();
    QVERIFY2(box.prompt.contains(description), qPrintable(box.prompt));
    QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    QVERIFY(kept.startsWith(text));
    if (diskFills)
        QCOMPARE(contentOf(path), kOld);
    QCOMPARE(contentOf(dir.filePath(QStringLiteral("notes.txt"))), kOld);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

QTEST_MAIN(TstSaveFaults)
#include "tst_savefaults.moc"
