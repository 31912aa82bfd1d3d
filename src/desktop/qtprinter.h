// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

#include <memory>

// The printer through QPrinter and QPainter: the system printer chosen in
// Qt's print dialog, or (for tests) a PDF file with a preset number of copies
// and no dialog. The printer prints one copy of each page; the program prints
// the copies the operator asked for itself. A page break is made only when
// something is printed after it, so a document never ends on a blank sheet;
// a line that would run off the bottom of a page starts a new one.
class QtPrinter : public Printer {
public:
    static constexpr int kTwipsPerInch = 1440;

    QtPrinter();
    ~QtPrinter() override;

    static std::unique_ptr<QtPrinter> toPdf(const QString& path, int copies);
    // From now on print into the PDF file at path; the dialog is skipped and
    // reports copies.
    void usePdf(const QString& path, int copies);

    // The copies the printer itself makes of each page: 1 after the dialog.
    int printerCopyCount() const { return device().copyCount(); }

    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }
    void setFont(const QFont& font) { m_font = font; }
    QFont font() const { return m_font; }

    bool showPrintDialog(int& copies) override;
    int printableWidth() const override;
    int printableHeight() const override;
    int lineHeight() const override;
    int textWidth(const QString& text) const override;
    void setCurrentX(int twips) override { m_x = twips; }
    void setCurrentY(int twips) override { m_y = twips; }
    bool printLine(const QString& text) override;
    bool newPage() override;
    bool endDoc() override;

private:
    QPrinter& device() const;
    bool writesFile() const;
    bool begin();
    bool makePendingPageBreaks();
    bool drawLine(const QString& line);
    QFontMetricsF metrics() const;
    qreal toDevice(qreal twips) const;
    qreal toTwips(qreal pixels) const;

    mutable std::unique_ptr<QPrinter> m_printer;   // made on first use
    QPainter m_painter;
    QFont m_font;
    QPointer<QWidget> m_dialogParent;
    QString m_pdfPath;   // empty: the system printer
    int m_pdfCopies = 1;
    qreal m_x = 0;   // the current position, in twips
    qreal m_y = 0;
    int m_pendingPages = 0;   // page breaks asked for and not made yet
};
