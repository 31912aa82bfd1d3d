// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setform.h"
#include "files/sitebook.h"
#include "files/sitebookdialog.h"
#include "files/sitemenu.h"
#include "form/statuspanels.h"
#include "form1rig.h"
#include "link/connection.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Site)

// The site book: its file, its rules, the recent sites and what using a site
// does to the main window.
class TstSiteBook : public QObject {
    Q_OBJECT
private slots:
    void storageRoundTrip();
    void saveFailureKeepsTheBook();
    void damagedFileIsSetAside_data();
    void damagedFileIsSetAside();
    void rules_data();
    void rules();
    void recentNineNewestFirst();
    void useSetsPortPhoneAndSetup_data();
    void useSetsPortPhoneAndSetup();
    void useRefusedWhilePortOpen();
    void dialogFromTheKeyboard();
};

namespace {

const QString kSettingTitle = QStringLiteral("Velno 6300 Managemant System");
const QString kMainTitle = QStringLiteral("Velno 6100 Management System");
const QString kProps = QStringLiteral("Properties");

Site site(const QString& name, int port = 1, const QString& phone = QString(),
          const QString& setup = QString())
{
    Site s;
    s.name = name;
    s.port = port;
    s.phone = phone;
    s.setup = setup;
    return s;
}

QDateTime at(int minute)
{
    return QDateTime(QDate(2024, 5, 1), QTime(8, minute, 0, 250));
}

void write(const QString& path, const QByteArray& content)
{
    QVERIFY(writeFile(path, content));
}

}   // namespace

void TstSiteBook::storageRoundTrip()
{
    QTemporaryDir root;
    SiteBook book(SiteBook::filePathUnder(root.path()));
    QCOMPARE(book.load().outcome, SiteBook::LoadResult::Outcome::Missing);
    Site tower = site(QStringLiteral("Tower & Annex, Block B"), 3, QStringLiteral("0,5551234"),
                      QStringLiteral("AT&F E0 \"x\""));
    tower.notes = QStringLiteral("@gate code 12\nsecond line; with = sign");
    tower.lastUsed = at(7);
    book.add(tower);
    book.add(site(QStringLiteral("alpha"), 4, QStringLiteral(" 555 "), QStringLiteral(" ATZ ")));
    QString error;
    QVERIFY2(book.save(&error), qPrintable(error));

    QSettings raw(book.path(), QSettings::IniFormat);
    QCOMPARE(raw.childGroups().size(), 2);
    raw.beginGroup(raw.childGroups().at(1));
    QCOMPARE(raw.childKeys().size(), 6);
    QCOMPARE(raw.value(QStringLiteral("lastused")).toString(), QStringLiteral("2024-05-01T08:07:00.250"));

    SiteBook again(book.path());
    QCOMPARE(again.load().outcome, SiteBook::LoadResult::Outcome::Loaded);
    QCOMPARE(again.sites(), book.sites());
    QCOMPARE(again.sites().at(0).name, QStringLiteral("alpha"));   // name order, case aside
    QCOMPARE(QDir(root.path() + QStringLiteral("/Velno")).entryList(QDir::Files), QStringList{"sites.ini"});
}

// A folder where the book's folder should be cannot be written: the book in
// memory stays as it is and the operator is told once.
void TstSiteBook::saveFailureKeepsTheBook()
{
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("Velno")), "a file, not a folder");
    Form1Rig run(RigOptions().settingsIn(root.path()).hidden());
    SiteMenu& menu = run.window->siteMenu();
    menu.book().add(site(QStringLiteral("Depot")));
    QVERIFY(!menu.saveBook());
    QCOMPARE(run.fakes.prompter.boxes.size(), 1);
    QVERIFY(run.fakes.prompter.boxes.at(0).prompt.contains(QStringLiteral("could not be saved")));
    QCOMPARE(menu.book().sites().size(), 1);
}

void TstSiteBook::damagedFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("not INI") << QByteArray("\x01\x02garbage without equals\n\xff\xfe");
    QTest::addRow("not UTF-8") << QByteArray("[s1]\nname=\xff\xfe\nport=1\n");
    QTest::addRow("keys outside a site") << QByteArray("name=A\nport=1\n");
    QTest::addRow("port out of range") << QByteArray("[site1]\nname=A\nport=5\n");
    QTest::addRow("no name") << QByteArray("[site1]\nport=1\nphone=555\n");
    QTest::addRow("same name twice") << QByteArray("[s1]\nname=Dock\nport=1\n[s2]\nname=DOCK\nport=2\n");
    QTest::addRow("control character in phone") << QByteArray("[s1]\nname=A\nport=1\nphone=55\\t5\n");
    QTest::addRow("bad date") << QByteArray("[s1]\nname=A\nport=1\nlastused=yesterday\n");
}

// One box and an empty book; the file is kept as sites.ini.bad, and a second
// damaged file does not overwrite the first.
void TstSiteBook::damagedFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QTemporaryDir root;
    const QString path = SiteBook::filePathUnder(root.path());
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    const QByteArray second = content + "\n[late]\nname=B\n";
    for (const QByteArray& damaged : {content, second}) {
        write(path, damaged);
        Form1Rig run(RigOptions().settingsIn(root.path()).hidden());
        QCOMPARE(run.fakes.prompter.boxes.size(), 1);
        QVERIFY(run.fakes.prompter.boxes.at(0).detail.contains(QStringLiteral("sites.ini.bad")));
        QVERIFY(run.window->siteMenu().book().sites().isEmpty());
        QVERIFY(!QFile::exists(path));
    }
    QCOMPARE(contentOf(path + QStringLiteral(".bad")), content);
    QCOMPARE(contentOf(path + QStringLiteral(".bad.2")), second);
}

void TstSiteBook::rules_data()
{
    QTest::addColumn<Site>("candidate");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("allowed");
    QTest::addRow("plain") << site(QStringLiteral("Mill Road 4"), 2, QStringLiteral("5551234")) << -1 << true;
    QTest::addRow("no name") << site(QString()) << -1 << false;
    QTest::addRow("blank name") << site(QStringLiteral("  ")) << -1 << false;
    QTest::addRow("taken, other case") << site(QStringLiteral("DEPOT")) << -1 << false;
    QTest::addRow("its own name, edited") << site(QStringLiteral("depot"), 3) << 0 << true;
    QTest::addRow("port 0") << site(QStringLiteral("X"), 0) << -1 << false;
    QTest::addRow("line break in phone")
        << site(QStringLiteral("X"), 1, QStringLiteral("55\r\n5")) << -1 << false;
    QTest::addRow("no byte for setup")
        << site(QStringLiteral("X"), 1, {}, QStringLiteral("AT€")) << -1 << false;
    QTest::addRow("Latin-1 setup") << site(QStringLiteral("X"), 1, {}, QStringLiteral("ATé")) << -1 << true;
}

void TstSiteBook::rules()
{
    QFETCH(Site, candidate);
    QFETCH(int, index);
    QFETCH(bool, allowed);
    SiteBook book;
    book.add(site(QStringLiteral("Depot")));
    QCOMPARE(book.problemWith(candidate, index).isEmpty(), allowed);
}

void TstSiteBook::recentNineNewestFirst()
{
    Form1Rig rig;
    SiteMenu& menu = rig.window->siteMenu();
    const QList<int> minutes = {5, 1, 9, 3, 11, 7, 2, 10, 4, 8, 6};
    for (int i = 0; i < minutes.size(); ++i)
        menu.book().add(site(QStringLiteral("S%1").arg(minutes.at(i), 2, 10, QLatin1Char('0'))));
    menu.book().add(site(QStringLiteral("never used")));
    for (int minute : minutes) {
        rig.fakes.clock.time = at(minute);
        QVERIFY(menu.use(menu.book().indexOf(QStringLiteral("S%1").arg(minute, 2, 10, QLatin1Char('0')))));
    }
    QStringList shown;
    for (QAction* item : rig.ui().recentSites) {
        if (item->isVisible())
            shown << item->text();
    }
    QCOMPARE(shown, (QStringList{"S11", "S10", "S09", "S08", "S07", "S06", "S05", "S04", "S03"}));
    rig.ui().recentSites.at(2)->trigger();
    QCOMPARE(rig.ctx().siteInUse, QStringLiteral("S09"));
}

void TstSiteBook::useSetsPortPhoneAndSetup_data()
{
    QTest::addColumn<bool>("settingLoaded");
    QTest::addRow("Setting dialog not loaded") << false;
    QTest::addRow("Setting dialog loaded, hidden") << true;
}

// The file too: the next run's book has the time of use.
void TstSiteBook::useSetsPortPhoneAndSetup()
{
    QFETCH(bool, settingLoaded);
    QTemporaryDir root;
    {
        Form1Rig run(RigOptions().settingsIn(root.path()).hidden());
        if (settingLoaded)
            run.window->setform().ensureLoaded();
        SiteMenu& menu = run.window->siteMenu();
        menu.book().add(site(QStringLiteral("Harbour"), 3, QStringLiteral("5551234"), QStringLiteral("ATZ")));
        QVERIFY(menu.use(0));
        Form1Ui& ui = run.window->ui();
        QVERIFY(ui.Option3->isChecked());
        QCOMPARE(ui.bar->panel(2), QStringLiteral("Comm Number:  3"));
        QCOMPARE(ui.Text2->text(), QStringLiteral("5551234"));
        QCOMPARE(run.fakes.platform.store.read(kMainTitle, kProps, QStringLiteral("ph"), {}), QStringLiteral("5551234"));
        QCOMPARE(run.fakes.platform.store.read(kSettingTitle, kProps, QStringLiteral("sett"), {}), QStringLiteral("ATZ"));
        QCOMPARE(run.window->setform().setupString(), QStringLiteral("ATZ"));
        QCOMPARE(run.window->context().siteInUse, QStringLiteral("Harbour"));
        QCOMPARE(ui.bar->toolTip(), QStringLiteral("Site in use: Harbour"));
        QCOMPARE(run.window->accessibleDescription().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Site in use: Harbour"));
        QCOMPARE(run.fakes.port.written(), QByteArray());
        QVERIFY(run.fakes.prompter.boxes.isEmpty());
    }
    SiteBook next(SiteBook::filePathUnder(root.path()));
    next.load();
    QCOMPARE(next.recent().value(0).lastUsed, FixedClock().time);
}

void TstSiteBook::useRefusedWhilePortOpen()
{
    Form1Rig rig;
    rig.connectDirect();
    const QString phoneBefore = rig.ui().Text2->text();
    SiteMenu& menu = rig.window->siteMenu();
    menu.book().add(site(QStringLiteral("Harbour"), 3, QStringLiteral("5551234"), QStringLiteral("ATZ")));
    QVERIFY(!menu.use(0));
    QCOMPARE(rig.fakes.prompter.boxes.size(), 1);
    QVERIFY(!rig.ui().Option3->isChecked());
    QCOMPARE(rig.ui().Text2->text(), phoneBefore);
    QVERIFY(!rig.fakes.store.contains(kSettingTitle, kProps, QStringLiteral("sett")));
    QVERIFY(rig.ctx().siteInUse.isEmpty());
    QVERIFY(menu.book().recent().isEmpty());
}

// Enter on Delete asks first (No is the default); Enter in the table uses the site.
void TstSiteBook::dialogFromTheKeyboard()
{
    Form1Rig rig;
    SiteMenu& menu = rig.window->siteMenu();
    menu.book().add(site(QStringLiteral("Harbour"), 2, QStringLiteral("555")));
    menu.book().add(site(QStringLiteral("Dock")));
    SiteBookDialog dialog(rig.ctx(), menu, rig.window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.table->rowCount(), 2);
    dialog.deleteButton->setFocus();
    QTest::keyClick(dialog.deleteButton, Qt::Key_Return);
    QCOMPARE(rig.fakes.prompter.boxes.value(0).defaultButton, MessageBox::Answer::No);
    QCOMPARE(menu.book().sites().size(), 2);
    rig.fakes.prompter.answer(MessageBox::Answer::Yes);
    dialog.deleteSite();
    QCOMPARE(dialog.table->rowCount(), 1);
    dialog.table->setFocus();
    QTest::keyClick(dialog.table, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(rig.ctx().siteInUse, QStringLiteral("Harbour"));
    QCOMPARE(rig.ui().Text2->text(), QStringLiteral("555"));
}

QTEST_MAIN(TstSiteBook)
#include "tst_sitebook.moc"
