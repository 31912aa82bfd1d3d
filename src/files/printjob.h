#pragma once

#include <QString>

class Clock;
class Printer;

// A text block printed under a title line and a date line, one page per
// copy the operator asks for in the print dialog.
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

private:
    bool printCopy(Printer& printer, const QString& date) const;
};
