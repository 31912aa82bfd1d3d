// SPDX-License-Identifier: GPL-3.0-or-later
#include "printjob.h"

#include "desktop/printer.h"
#include "platform/clock.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace {
// Only measured, to place the title.
const QString kMeasuredWord = QStringLiteral("page");
}   // namespace

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
    const QStringList pages = pagesOf(body, linesPerPage(printer));
    for (int copy = 1; copy <= copies; ++copy) {
        for (const QString& page : pages) {
            if (!printPage(printer, date, page))
                return;
        }
    }
    printer.endDoc();
}

QStringList PrintJob::pagesOf(const QString& body, int linesPerPage)
{
    QStringList pages;
    qsizetype start = 0;
    for (;;) {
        // the line end of the page's last line
        qsizetype end = body.indexOf(u'\n', start);
        for (int lines = 1; end >= 0 && lines < linesPerPage; ++lines)
            end = body.indexOf(u'\n', end + 1);
        if (end < 0 || end + 1 == body.size()) {
            pages.append(body.mid(start));
            return pages;
        }
        const qsizetype cut = end > start && body.at(end - 1) == u'\r' ? end - 1 : end;
        pages.append(body.mid(start, cut - start));
        start = end + 1;
    }
}

// Lines that fit below the title and date; at least one, however small the page.
int PrintJob::linesPerPage(const Printer& printer)
{
    const int line = printer.lineHeight();
    if (line <= 0)
        return std::numeric_limits<int>::max();
    return std::max(1, (printer.printableHeight() - kBodyY) / line);
}

bool PrintJob::printPage(Printer& printer, const QString& date, const QString& text) const
{
    const double halfPage = printer.printableWidth() / 2.0;
    const double halfWord = printer.textWidth(kMeasuredWord) / 2.0;
    printer.setCurrentY(0);   // each page starts at the top
    printer.setCurrentX(qRound(halfPage - halfWord) - kTitleLeftOfCentre);
    if (!printer.printLine(title))
        return false;
    printer.setCurrentX(kDateX);
    if (!printer.printLine(date))
        return false;
    printer.setCurrentY(kBodyY);
    return printer.printLine(text) && printer.newPage();
}
