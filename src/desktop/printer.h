// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system printer with positions in twips (1/1440 inch) from the top left
// corner of the printable area, preceded by its print dialog.
class Printer {
public:
    virtual ~Printer() = default;

    // Shows the print dialog; false when the operator cancels. copies is set on success.
    virtual bool showPrintDialog(int& copies) = 0;

    virtual int printableWidth() const = 0;
    virtual int printableHeight() const = 0;
    // The room a printed line takes, rounded up.
    virtual int lineHeight() const = 0;
    virtual int textWidth(const QString& text) const = 0;
    virtual void setCurrentX(int twips) = 0;
    virtual void setCurrentY(int twips) = 0;
    // Prints text at the current position; its CR LF pairs break lines; the line ends.
    virtual bool printLine(const QString& text) = 0;
    virtual bool newPage() = 0;
    virtual bool endDoc() = 0;
};
