// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Clock;
class Printer;

// A text block printed under a title line and a date line, once for each
// copy the operator asks for in the print dialog. A body longer than a page
// goes on over further pages, each again under the title and the date.
struct PrintJob {
    static constexpr int kTitleLeftOfCentre = 2440;   // twips
    static constexpr int kDateX = 6990;
    static constexpr int kBodyY = 600;

    QString title;
    QString body;   // CR LF pairs break its lines

    // Cancel in the dialog prints nothing; a printer error ends the job where
    // it happens, without ending the document.
    void print(Printer& printer, const Clock& clock) const;

    // "DATE:" and the clock's date in the system's short date format.
    static QString dateLine(const Clock& clock);

    // The body cut into pages of at most linesPerPage lines. CR LF and a lone
    // LF end a line, as the printer breaks them; the line end between two
    // pages is dropped. An empty body is one empty page.
    static QStringList pagesOf(const QString& body, int linesPerPage);

private:
    static int linesPerPage(const Printer& printer);
    bool printPage(Printer& printer, const QString& date, const QString& text) const;
};
