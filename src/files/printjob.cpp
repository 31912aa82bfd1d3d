#include "printjob.h"

#include "platform/clock.h"
#include "platform/printer.h"

#include <QLocale>

namespace {
// Only measured, to place the title.
const QString kMeasuredWord = QStringLiteral("page");
} // namespace

QString PrintJob::dateLine(const Clock& clock)
{
    return QStringLiteral("DATE:") + QLocale::system().toString(clock.now().date(), QLocale::ShortFormat);
}

void PrintJob::print(Printer& printer, const Clock& clock) const
{
    int copies = 0;
    if (!printer.showPrintDialog(copies))
        return;
    const QString date = dateLine(clock);
    for (int copy = 1; copy <= copies; ++copy) {
        if (!printCopy(printer, date))
            return;
    }
    printer.endDoc();
}

bool PrintJob::printCopy(Printer& printer, const QString& date) const
{
    const double halfPage = printer.printableWidth() / 2.0;
    const double halfWord = printer.textWidth(kMeasuredWord) / 2.0;
    printer.setCurrentY(0);   // each copy starts at the top of its page
    printer.setCurrentX(qRound(halfPage - halfWord) - kTitleLeftOfCentre);
    if (!printer.printLine(title))
        return false;
    printer.setCurrentX(kDateX);
    if (!printer.printLine(date))
        return false;
    printer.setCurrentY(kBodyY);
    return printer.printLine(body) && printer.newPage();
}
