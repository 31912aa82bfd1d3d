// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qtprinter.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kTwipsPerPoint = 20;

// A word of pdftotext's -bbox output, in points from the page's top left.
struct Word {
    QString text;
    double left = 0;
    double top = 0;
    double right = 0;
};

QString pdftotext(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page; pdftotext ends every page with a form feed.
QStringList pagesOf(const QString& pdf)
{
    QStringList pages = pdftotext({pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    pages.removeLast();
    return pages;
}

QList<Word> wordsOf(const QString& pdf)
{
    static const QRegularExpression kWord(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<Word> words;
    const QString html = pdftotext({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (auto it = kWord.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append(
            {m.captured(4), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()});
    }
    return words;
}

Word find(const QList<Word>& words, const QString& text)
{
    for (const Word& word : words) {
        if (word.text == text)
            return word;
    }
    return Word{};
}

// Answers the print dialog when it shows: copies and file name set, then OK;
// copies 0 stands for Cancel.
void answerPrintDialog(int copies, const QString& fileName)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, copies, fileName] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (copies == 0) {
            dialog->reject();
            return;
        }
        if (auto* spin = dialog->findChild<QSpinBox*>(QStringLiteral("copies")))
            spin->setValue(copies);
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            edit->setText(fileName);
        dialog->accept();
    });
    timer->start();
}

void printCopy(Printer& printer)
{
    printer.setCurrentY(0);
    printer.setCurrentX(1440);
    printer.printLine(QStringLiteral("Door Entry Report"));
    printer.printLine(QStringLiteral("Printed 01/02/2024 10:00"));
    printer.printLine(QStringLiteral("Alpha line\r\nBravo line\nCharlie line"));
}

}   // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    // documents
    void copiesMakePages_data();
    void copiesMakePages();
    void newPageBeforeEndAddsNoSheet();
    void deliberateBlankPageStays();
    void emptyDocumentIsValid();
    void systemPrinterWithNothingPrinted();
    void printDialogCancelled();
    void printDialogCopies();
    void secondJobReplacesFile();
    void unwritableFileFails();

    // measures
    void positionsInTwips();
    void linesAdvanceAndReturnLeft();
    void longBlockGoesOnOverPages();
    void widthsInTwips();

private:
    QString pdfPath(const QString& name) const { return m_dir->filePath(name); }

    bool m_havePdftotext = false;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestQtPrinter::initTestCase()
{
    m_havePdftotext = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

void TestQtPrinter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestQtPrinter::copiesMakePages_data()
{
    QTest::addColumn<bool>("breakAfterEachCopy");
    QTest::newRow("break between copies") << false;
    QTest::newRow("break after each copy") << true;
}

void TestQtPrinter::copiesMakePages()
{
    QFETCH(bool, breakAfterEachCopy);
    const QString path = pdfPath("copies.pdf");
    auto printer = QtPrinter::toPdf(path, 2);
    int copies = 0;
    QVERIFY(printer->showPrintDialog(copies));
    QCOMPARE(copies, 2);
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !breakAfterEachCopy)
            QVERIFY(printer->newPage());
        printCopy(*printer);
        if (breakAfterEachCopy)
            QVERIFY(printer->newPage());
    }
    QVERIFY(printer->endDoc());
    QVERIFY(QFile::exists(path));

    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages) {
        for (const char* text :
             {"Door Entry Report", "Printed 01/02/2024 10:00", "Alpha line", "Bravo line", "Charlie line"})
            QVERIFY2(page.contains(QLatin1String(text)), qPrintable(page));
    }
}

void TestQtPrinter::newPageBeforeEndAddsNoSheet()
{
    const QString path = pdfPath("trailing.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    QVERIFY(printer->printLine("Only page"));
    QVERIFY(printer->newPage());
    QVERIFY(printer->newPage());
    QVERIFY(printer->endDoc());
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains("Only page"));
}

void TestQtPrinter::deliberateBlankPageStays()
{
    const QString path = pdfPath("blank.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    QVERIFY(printer->printLine("First"));
    QVERIFY(printer->newPage());
    QVERIFY(printer->newPage());
    QVERIFY(printer->printLine("Third"));
    QVERIFY(printer->endDoc());
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains("First"));
    QVERIFY(pages[1].trimmed().isEmpty());
    QVERIFY(pages[2].contains("Third"));
}

// Zero copies: the program ends a document it never printed on.
void TestQtPrinter::emptyDocumentIsValid()
{
    const QString path = pdfPath("empty.pdf");
    auto printer = QtPrinter::toPdf(path, 0);
    int copies = -1;
    QVERIFY(printer->showPrintDialog(copies));
    QCOMPARE(copies, 0);
    QVERIFY(printer->newPage());
    QVERIFY(printer->endDoc());
    QVERIFY(QFile::exists(path));
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].trimmed().isEmpty());
}

void TestQtPrinter::systemPrinterWithNothingPrinted()
{
    QtPrinter printer;
    QVERIFY(printer.newPage());
    QVERIFY(printer.endDoc());
    QVERIFY(printer.printableWidth() > 0);
}

void TestQtPrinter::printDialogCancelled()
{
    QtPrinter printer;
    answerPrintDialog(0, QString());
    int copies = -1;
    QVERIFY(!printer.showPrintDialog(copies));
    QCOMPARE(copies, -1);
}

// The operator's copies come back to the program, which prints them itself;
// the printer then makes one of each page. Without a print server the dialog
// offers printing to a PDF file only.
void TestQtPrinter::printDialogCopies()
{
    const QString path = pdfPath("dialog.pdf");
    QtPrinter printer;
    answerPrintDialog(3, path);
    int copies = 0;
    QVERIFY(printer.showPrintDialog(copies));
    QCOMPARE(copies, 3);
    QCOMPARE(printer.printerCopyCount(), 1);
    QVERIFY(printer.printLine("One sheet"));
    QVERIFY(printer.endDoc());
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains("One sheet"));
}

void TestQtPrinter::secondJobReplacesFile()
{
    const QString path = pdfPath("again.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    QVERIFY(printer->printLine("First job"));
    QVERIFY(printer->endDoc());
    QVERIFY(printer->printLine("Second job"));
    QVERIFY(printer->endDoc());
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QStringList pages = pagesOf(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains("Second job"));
    QVERIFY(!pages[0].contains("First job"));
}

void TestQtPrinter::unwritableFileFails()
{
    auto printer = QtPrinter::toPdf(pdfPath("no/such/folder/x.pdf"), 1);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!printer->printLine("nowhere"));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!printer->endDoc());
}

// 20 twips are one point, and pdftotext measures in points from the sheet's
// corner, so positions compare as differences.
void TestQtPrinter::positionsInTwips()
{
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QString path = pdfPath("positions.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    printer->setCurrentX(0);
    printer->setCurrentY(0);
    QVERIFY(printer->printLine("Origin"));
    printer->setCurrentX(2880);
    printer->setCurrentY(1440);
    QVERIFY(printer->printLine("Moved"));
    QVERIFY(printer->endDoc());

    const QList<Word> words = wordsOf(path);
    const Word origin = find(words, "Origin");
    const Word moved = find(words, "Moved");
    QVERIFY(!origin.text.isEmpty() && !moved.text.isEmpty());
    QVERIFY(qAbs(moved.left - origin.left - 2880.0 / kTwipsPerPoint) < 1.5);
    QVERIFY(qAbs(moved.top - origin.top - 1440.0 / kTwipsPerPoint) < 1.5);
    QVERIFY(origin.left > 0 && origin.top > 0);   // inside the printable area's margins
}

void TestQtPrinter::linesAdvanceAndReturnLeft()
{
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QString path = pdfPath("lines.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    printer->setCurrentX(0);
    QVERIFY(printer->printLine("Left"));
    printer->setCurrentX(1440);
    QVERIFY(printer->printLine("Indented\r\nWrapped"));
    QVERIFY(printer->printLine("Next"));
    QVERIFY(printer->endDoc());

    const QList<Word> words = wordsOf(path);
    const Word left = find(words, "Left");
    const Word indented = find(words, "Indented");
    const Word wrapped = find(words, "Wrapped");
    const Word next = find(words, "Next");
    QVERIFY(qAbs(indented.left - left.left - 72) < 1.5);
    QVERIFY(qAbs(wrapped.left - left.left) < 1.5);
    QVERIFY(qAbs(next.left - left.left) < 1.5);
    const double step = indented.top - left.top;
    QVERIFY(step > 5);
    QVERIFY(qAbs(wrapped.top - indented.top - step) < 0.5);
    QVERIFY(qAbs(next.top - wrapped.top - step) < 0.5);
}

// Each page is filled as the first one, and no line is lost.
void TestQtPrinter::longBlockGoesOnOverPages()
{
    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    const QString path = pdfPath("long.pdf");
    auto printer = QtPrinter::toPdf(path, 1);
    QStringList block;
    for (int line = 1; line <= 300; ++line)
        block << QStringLiteral("Line%1").arg(line, 3, 10, QLatin1Char('0'));
    printer->setCurrentY(1440);
    QVERIFY(printer->printLine(block.join(QStringLiteral("\r\n"))));
    QVERIFY(printer->endDoc());

    const QStringList pages = pagesOf(path);
    QVERIFY2(pages.size() > 2, qPrintable(QString::number(pages.size())));
    const int perPage = printer->printableHeight() / printer->lineHeight();
    QStringList printed;
    for (int page = 0; page < pages.size(); ++page) {
        const QStringList lines = pages[page].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (page > 0 && page + 1 < pages.size())
            QVERIFY2(qAbs(lines.size() - perPage) <= 1, qPrintable(pages[page]));
        printed << lines;
    }
    QCOMPARE(printed, block);
}

void TestQtPrinter::widthsInTwips()
{
    auto printer = QtPrinter::toPdf(pdfPath("widths.pdf"), 1);
    const int page = printer->printableWidth();
    // Letter or A4 paper less the margins.
    QVERIFY2(page > 7 * 1440 && page < 8.5 * 1440, qPrintable(QString::number(page)));
    const int one = printer->textWidth("MMMM");
    const int two = printer->textWidth("MMMMMMMM");
    QVERIFY(one > 0);
    QVERIFY(qAbs(two - 2 * one) <= 2);
    QCOMPARE(printer->textWidth(QString()), 0);

    if (!m_havePdftotext)
        QSKIP("pdftotext is not installed");
    QVERIFY(printer->printLine("MMMM"));
    QVERIFY(printer->endDoc());
    const Word word = find(wordsOf(pdfPath("widths.pdf")), "MMMM");
    const double printed = (word.right - word.left) * kTwipsPerPoint;
    QVERIFY2(qAbs(printed - one) < one * 0.1, qPrintable(QStringLiteral("%1 vs %2").arg(printed).arg(one)));
}

QTEST_MAIN(TestQtPrinter)
#include "tst_qtprinter.moc"
