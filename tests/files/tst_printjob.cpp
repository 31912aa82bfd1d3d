#include "files/printjob.h"
#include "files/receiveprinting.h"
#include "form1rig.h"
#include "platform/qtprinter.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("RECEIVE: FILE CONTENT");

QString shortDate(const QDate& date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

// A printer that fails on a given printLine call (1-based).
class FailingPrinter : public FakePrinter {
public:
    explicit FailingPrinter(int failAt) : m_failAt(failAt) {}
    bool printLine(const QString& text) override
    {
        if (++m_calls == m_failAt)
            return false;
        return FakePrinter::printLine(text);
    }

private:
    int m_failAt;
    int m_calls = 0;
};

// The text of each page of a PDF file; pdftotext ends every page with a form feed.
QStringList pdfPages(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {QStringLiteral("<pdftotext failed>")};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    pages.removeLast();
    return pages;
}

} // namespace

class TstPrintJob : public QObject {
    Q_OBJECT
private slots:
    void layoutPerCopy_data();
    void layoutPerCopy();
    void cancelPrintsNothing();
    void printerErrorEndsJobWithoutEndingDocument_data();
    void printerErrorEndsJobWithoutEndingDocument();
    void dateOfPrinting();
    void printsReceivePane();
    void pdfCopiesArePages();
    void pdfWithZeroCopiesHasNoText();
};

void TstPrintJob::layoutPerCopy_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("body");
    QTest::addRow("one copy") << 1 << "line 1\r\nline 2\r\n";
    QTest::addRow("two copies") << 2 << "line 1\r\nline 2";
    QTest::addRow("empty body") << 1 << "";
    QTest::addRow("zero copies") << 0 << "x";
}

void TstPrintJob::layoutPerCopy()
{
    QFETCH(int, copies);
    QFETCH(QString, body);
    TestPlatform fakes;
    fakes.printer.copies = copies;
    fakes.printer.width = 11000;   // half: 5500; half of "page": 240
    PrintJob{kTitle, body}.print(fakes.printer, fakes.clock);

    const QString date = QStringLiteral("DATE:") + shortDate(fakes.clock.time.date());
    QStringList expected;
    for (int copy = 0; copy < copies; ++copy) {
        expected << QStringLiteral("2820,0:") + kTitle << QStringLiteral("6990,0:") + date
                 << QStringLiteral("0,600:") + body;
    }
    QCOMPARE(fakes.printer.lines, expected);
    QCOMPARE(fakes.printer.pages, copies);
    QCOMPARE(fakes.printer.ended, 1);
}



void TstPrintJob::cancelPrintsNothing()
{
    TestPlatform fakes;
    fakes.printer.cancel = true;
    PrintJob{kTitle, QStringLiteral("body")}.print(fakes.printer, fakes.clock);
    QVERIFY(fakes.printer.lines.isEmpty());
    QCOMPARE(fakes.printer.pages, 0);
    QCOMPARE(fakes.printer.ended, 0);
}

void TstPrintJob::printerErrorEndsJobWithoutEndingDocument_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("linesPrinted");
    QTest::addColumn<int>("pages");
    QTest::addRow("title") << 1 << 0 << 0;
    QTest::addRow("date") << 2 << 1 << 0;
    QTest::addRow("body") << 3 << 2 << 0;
    QTest::addRow("second copy's title") << 4 << 3 << 1;
}

void TstPrintJob::printerErrorEndsJobWithoutEndingDocument()
{
    QFETCH(int, failAt);
    QFETCH(int, linesPrinted);
    QFETCH(int, pages);
    FailingPrinter printer(failAt);
    printer.copies = 2;
    FixedClock clock;
    PrintJob{kTitle, QStringLiteral("body")}.print(printer, clock);
    QCOMPARE(printer.lines.size(), linesPrinted);
    QCOMPARE(printer.pages, pages);
    QCOMPARE(printer.ended, 0);
}

void TstPrintJob::dateOfPrinting()
{
    TestPlatform fakes;
    fakes.clock.time = QDateTime(QDate(2024, 12, 31), QTime(23, 59));
    QCOMPARE(PrintJob::dateLine(fakes.clock), QStringLiteral("DATE:") + shortDate(QDate(2024, 12, 31)));
    QVERIFY(PrintJob::dateLine(fakes.clock).contains(QStringLiteral("31")));
    fakes.clock.time = QDateTime(QDate(2025, 1, 2), QTime(0, 1));
    PrintJob{kTitle, QString()}.print(fakes.printer, fakes.clock);
    QCOMPARE(fakes.printer.lines.value(1), QStringLiteral("6990,0:DATE:") + shortDate(QDate(2025, 1, 2)));
}

void TstPrintJob::printsReceivePane()
{
    Form1Rig rig;
    rig.ui().Text1->setPlainText(QStringLiteral("PRIPAR\nTALK 045"));
    rig.ui().print_receive->trigger();
    const QStringList& lines = rig.fakes.printer.lines;
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith(QStringLiteral(":RECEIVE: FILE CONTENT")));
    QCOMPARE(lines[2], QStringLiteral("0,600:PRIPAR\r\nTALK 045"));
    QCOMPARE(rig.fakes.printer.ended, 1);
}

void TstPrintJob::pdfCopiesArePages()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("two.pdf"));
    {
        auto printer = QtPrinter::toPdf(pdf, 2);
        FixedClock clock;
        PrintJob{kTitle, QStringLiteral("TNTDIR:12TEL:555\r\nTNTDIR:13TEL:556\r\n")}.print(*printer, clock);
    }
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    const QString date = QStringLiteral("DATE:") + shortDate(FixedClock().time.date());
    for (const QString& page : pages) {
        QVERIFY2(page.contains(kTitle), qPrintable(page));
        QVERIFY2(page.contains(date), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("TNTDIR:12TEL:555")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("TNTDIR:13TEL:556")), qPrintable(page));
        QVERIFY2(page.indexOf(kTitle) < page.indexOf(date), qPrintable(page));
        QVERIFY2(page.indexOf(date) < page.indexOf(QStringLiteral("TNTDIR:12")), qPrintable(page));
    }
}

void TstPrintJob::pdfWithZeroCopiesHasNoText()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("none.pdf"));
    {
        auto printer = QtPrinter::toPdf(pdf, 0);
        FixedClock clock;
        PrintJob{kTitle, QStringLiteral("body")}.print(*printer, clock);
    }
    QVERIFY(QFile::exists(pdf));
    const QString text = pdfPages(pdf).join(QString());
    QVERIFY2(!text.contains(kTitle), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("body")), qPrintable(text));
    QVERIFY(text.trimmed().isEmpty());
}

QTEST_MAIN(TstPrintJob)
#include "tst_printjob.moc"
