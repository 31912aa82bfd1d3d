// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inisettingsstore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kApp = QStringLiteral("Velno 6100 Management System");
const QString kOther = QStringLiteral("Velno Panel Tools");
const QString kSection = QStringLiteral("Properties");

QString fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
}   // namespace

class TestIniSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init();

    // where the files are
    void filePathPerApplication();
    void defaultRootIsUserConfigFolder();
    void onlyTheStoredApplicationsFileIsWritten();

    // what is kept
    void missingKeyGivesFallback();
    void valuesSurvive_data();
    void valuesSurvive();
    void emptyValueIsNotMissing();
    void keysIgnoreCase();
    void sectionIsIniGroup();
    void applicationsAreSeparate();

    // sharing and failure
    void twoStoresOnOneFolderSeeEachOther();
    void unwritableStoreDoesNotCrash();
    void handWrittenListReadsAsText();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniSettingsStore::filePathPerApplication()
{
    IniSettingsStore store(m_dir->path());
    const QString expected = m_dir->path() + "/Velno/Velno 6100 Management System.ini";
    QCOMPARE(store.filePath(kApp), expected);
    QCOMPARE(IniSettingsStore::filePath(m_dir->path(), kApp), expected);
    QCOMPARE(store.filePath(kOther), m_dir->path() + "/Velno/Velno Panel Tools.ini");
}

void TestIniSettingsStore::defaultRootIsUserConfigFolder()
{
    const QString root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(IniSettingsStore::defaultRoot(), root);
    QCOMPARE(IniSettingsStore::userFilePath(kApp), root + "/Velno/Velno 6100 Management System.ini");
    QCOMPARE(IniSettingsStore().filePath(kApp), IniSettingsStore::userFilePath(kApp));
}

void TestIniSettingsStore::onlyTheStoredApplicationsFileIsWritten()
{
    IniSettingsStore store(m_dir->path());
    QVERIFY(!QFile::exists(store.filePath(kApp)));
    store.read(kApp, kSection, "Port", "1");
    QVERIFY(!QFile::exists(store.filePath(kApp)));
    store.store(kApp, kSection, "Port", "2");
    QVERIFY(QFile::exists(store.filePath(kApp)));
    QVERIFY(!QFile::exists(store.filePath(kOther)));
}

void TestIniSettingsStore::missingKeyGivesFallback()
{
    IniSettingsStore store(m_dir->path());
    QCOMPARE(store.read(kApp, kSection, "Port", "1"), QString("1"));
    store.store(kApp, kSection, "Other", "x");
    QCOMPARE(store.read(kApp, kSection, "Port", "fallback"), QString("fallback"));
    QCOMPARE(store.read(kApp, "Nowhere", "Other", "none"), QString("none"));
}

void TestIniSettingsStore::valuesSurvive_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "1";
    QTest::newRow("blanks") << "Main door entry";
    QTest::newRow("leading and trailing blanks") << "  padded  ";
    QTest::newRow("equals signs") << "a=b=c";
    QTest::newRow("commas") << "1200,N,8,1";
    QTest::newRow("semicolon and hash") << "x;y #z";
    QTest::newRow("quotes and backslash") << "say \"hi\" \\ there";
    QTest::newRow("path") << "/dev/ttyUSB0";
    QTest::newRow("latin-1 letters") << QString::fromLatin1("caf\xe9 \xc4rger");
    QTest::newRow("brackets") << "[Ports]";
}

void TestIniSettingsStore::valuesSurvive()
{
    QFETCH(QString, value);
    IniSettingsStore writer(m_dir->path());
    writer.store(kApp, kSection, "Value", value);
    IniSettingsStore reader(m_dir->path());
    QCOMPARE(reader.read(kApp, kSection, "Value", "missing"), value);
}

void TestIniSettingsStore::emptyValueIsNotMissing()
{
    IniSettingsStore store(m_dir->path());
    store.store(kApp, kSection, "Name", QString());
    QCOMPARE(store.read(kApp, kSection, "Name", "fallback"), QString());
}

void TestIniSettingsStore::keysIgnoreCase()
{
    IniSettingsStore store(m_dir->path());
    store.store(kApp, kSection, "Port", "1");
    store.store(kApp, kSection, "port", "3");
    QCOMPARE(store.read(kApp, kSection, "PORT", "x"), QString("3"));
    QCOMPARE(store.read(kApp, kSection, "Port", "x"), QString("3"));
    const QString text = fileText(store.filePath(kApp));
    QCOMPARE(text.count("port="), 1);
    QVERIFY(!text.contains("Port="));
}

void TestIniSettingsStore::sectionIsIniGroup()
{
    IniSettingsStore store(m_dir->path());
    store.store(kApp, kSection, "Port", "2");
    store.store(kApp, "Ports", "1", "/dev/ttyUSB0");
    const QString text = fileText(store.filePath(kApp));
    QVERIFY2(text.contains("[Properties]\nport=2"), qPrintable(text));
    QVERIFY2(text.contains("[Ports]\n1=/dev/ttyUSB0"), qPrintable(text));
}

void TestIniSettingsStore::applicationsAreSeparate()
{
    IniSettingsStore store(m_dir->path());
    store.store(kApp, kSection, "Port", "2");
    store.store(kOther, kSection, "Port", "4");
    QCOMPARE(store.read(kApp, kSection, "Port", "x"), QString("2"));
    QCOMPARE(store.read(kOther, kSection, "Port", "x"), QString("4"));
}

void TestIniSettingsStore::twoStoresOnOneFolderSeeEachOther()
{
    IniSettingsStore first(m_dir->path());
    IniSettingsStore second(m_dir->path());
    first.store(kApp, kSection, "Port", "2");
    QCOMPARE(second.read(kApp, kSection, "Port", "x"), QString("2"));
    second.store(kApp, kSection, "Port", "3");
    second.store(kApp, kSection, "Name", "B");
    QCOMPARE(first.read(kApp, kSection, "Port", "x"), QString("3"));
    QCOMPARE(first.read(kApp, kSection, "Name", "x"), QString("B"));
    first.store(kApp, kSection, "Port", "4");
    QCOMPARE(second.read(kApp, kSection, "Port", "x"), QString("4"));
    QCOMPARE(second.read(kApp, kSection, "Name", "x"), QString("B"));
}

// A root that is a file: the Velno folder cannot be made under it.
void TestIniSettingsStore::unwritableStoreDoesNotCrash()
{
    const QString blocker = m_dir->filePath("blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    IniSettingsStore store(blocker);
    store.store(kApp, kSection, "Port", "2");
    QCOMPARE(store.read(kApp, kSection, "Port", "fallback"), QString("fallback"));
    QVERIFY(!QFile::exists(store.filePath(kApp)));
}

void TestIniSettingsStore::handWrittenListReadsAsText()
{
    IniSettingsStore store(m_dir->path());
    QVERIFY(QDir().mkpath(m_dir->filePath("Velno")));
    QFile file(store.filePath(kApp));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Properties]\nsettings=1200,N,8,1\nPort=2\n");
    file.close();
    QCOMPARE(store.read(kApp, kSection, "Settings", "x"), QString("1200,N,8,1"));
    // A key written by hand in another case is found all the same.
    QCOMPARE(store.read(kApp, kSection, "port", "x"), QString("2"));
}

QTEST_GUILESS_MAIN(TestIniSettingsStore)
#include "tst_inisettingsstore.moc"
