// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qtprinter.h"
#include "files/printjob.h"
#include "files/receiveprinting.h"
#include "form1rig.h"

#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("RECEIVE: FILE CONTENT");

QString shortDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

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

}   // namespace

class TstPrintJob : public QObject {
    Q_OBJECT
private slots:
    void layoutPerCopy_data();
    void layoutPerCopy();
    void bodyCutIntoPages_data();
    void bodyCutIntoPages();
    void cancelPrintsNothing();
    void printerErrorEndsJobWithoutEndingDocument_data();
    void printerErrorEndsJobWithoutEndingDocument();
    void dateOfPrinting();
    void printsReceivePane();
    void pdfPagesHoldEveryLine_data();
    void pdfPagesHoldEveryLine();
    void pdfWithZeroCopiesHasNoText();
};

void TstPrintJob::layoutPerCopy_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QStringList>("pages");
    QTest::addRow("one copy") << 1 << "line 1\r\nline 2\r\n" << 60 << QStringList{"line 1\r\nline 2\r\n"};
    QTest::addRow("two copies") << 2 << "line 1\r\nline 2" << 60 << QStringList{"line 1\r\nline 2"};
    QTest::addRow("empty body") << 1 << "" << 60 << QStringList{""};
    QTest::addRow("zero copies") << 0 << "x" << 60 << QStringList{};
    QTest::addRow("two copies of two pages") << 2 << "1\r\n2\r\n3" << 2 << QStringList{"1\r\n2", "3"};
}

void TstPrintJob::layoutPerCopy()
{
    QFETCH(int, copies);
    QFETCH(QString, body);
    QFETCH(int, linesPerPage);
    QFETCH(QStringList, pages);
    TestPlatform fakes;
    fakes.printer.copies = copies;
    fakes.printer.width = 11000;   // half: 5500; half of "page": 240
    fakes.printer.height = PrintJob::kBodyY + linesPerPage * fakes.printer.lineStep + 100;
    PrintJob{kTitle, body}.print(fakes.printer, fakes.clock);

    const QString date = QStringLiteral("DATE:") + shortDate(fakes.clock.time.date());
    QStringList expected;
    for (int copy = 0; copy < copies; ++copy) {
        for (const QString& page : pages) {
            expected << QStringLiteral("2820,0:") + kTitle << QStringLiteral("6990,0:") + date
                     << QStringLiteral("0,600:") + page;
        }
    }
    QCOMPARE(fakes.printer.lines, expected);
    QCOMPARE(fakes.printer.pages, copies * int(pages.size()));
    QCOMPARE(fakes.printer.ended, 1);
}

void TstPrintJob::bodyCutIntoPages_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QStringList>("pages");
    QTest::addRow("fits") << "a\r\nb\r\n" << 2 << QStringList{"a\r\nb\r\n"};
    QTest::addRow("empty") << "" << 1 << QStringList{""};
    QTest::addRow("cut where pages end")
        << "1\r\n2\r\n3\r\n4\r\n5" << 2 << QStringList{"1\r\n2", "3\r\n4", "5"};
    QTest::addRow("a final line end starts no page") << "1\r\n2\r\n" << 1 << QStringList{"1", "2\r\n"};
    QTest::addRow("a lone LF ends a line") << "a\nb\nc" << 2 << QStringList{"a\nb", "c"};
    QTest::addRow("a lone CR does not") << "a\rb\r\nc" << 1 << QStringList{"a\rb", "c"};
    QTest::addRow("empty lines count") << "\r\n\r\nx" << 1 << QStringList{"", "", "x"};
}

void TstPrintJob::bodyCutIntoPages()
{
    QFETCH(QString, body);
    QFETCH(int, linesPerPage);
    QFETCH(QStringList, pages);
    QCOMPARE(PrintJob::pagesOf(body, linesPerPage), pages);
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

void TstPrintJob::pdfPagesHoldEveryLine_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("leastPages");
    QTest::addRow("two copies") << 2 << 2 << 2;
    QTest::addRow("a long pane") << 1 << 300 << 4;
}

// Every page holds the title, then the date, then its lines; each copy holds
// every line of the body once, in order.
void TstPrintJob::pdfPagesHoldEveryLine()
{
    QFETCH(int, copies);
    QFETCH(int, lines);
    QFETCH(int, leastPages);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    QString body;
    for (int line = 1; line <= lines; ++line)
        body += QStringLiteral("TNTDIR:%1TEL:555\r\n").arg(line, 3, 10, QLatin1Char('0'));
    int perPage = 0;
    {
        auto printer = QtPrinter::toPdf(pdf, copies);
        perPage = (printer->printableHeight() - PrintJob::kBodyY) / printer->lineHeight();
        FixedClock clock;
        PrintJob{kTitle, body}.print(*printer, clock);
    }
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), copies * ((lines + perPage - 1) / perPage));
    QVERIFY(pages.size() >= leastPages);
    const QString date = QStringLiteral("DATE:") + shortDate(FixedClock().time.date());
    static const QRegularExpression kLine(QStringLiteral("TNTDIR:(\\d+)TEL:555"));
    QList<int> printed;
    for (const QString& page : pages) {
        QVERIFY2(page.indexOf(kTitle) >= 0, qPrintable(page));
        QVERIFY2(page.indexOf(kTitle) < page.indexOf(date), qPrintable(page));
        QVERIFY2(page.indexOf(date) < page.indexOf(QStringLiteral("TNTDIR:")), qPrintable(page));
        for (auto it = kLine.globalMatch(page); it.hasNext();)
            printed.append(it.next().captured(1).toInt());
    }
    QList<int> expected;
    for (int copy = 0; copy < copies; ++copy) {
        for (int line = 1; line <= lines; ++line)
            expected.append(line);
    }
    QCOMPARE(printed, expected);
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
