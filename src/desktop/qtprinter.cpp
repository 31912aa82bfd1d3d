// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtprinter.h"

#include "dialogowner.h"

#include <QPrintDialog>
#include <QStringList>

#include <algorithm>
#include <cmath>

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

std::unique_ptr<QtPrinter> QtPrinter::toPdf(const QString& path, int copies)
{
    auto printer = std::make_unique<QtPrinter>();
    printer->usePdf(path, copies);
    return printer;
}

void QtPrinter::usePdf(const QString& path, int copies)
{
    m_pdfPath = path;
    m_pdfCopies = copies;
    device().setOutputFormat(QPrinter::PdfFormat);
    device().setOutputFileName(path);
}

bool QtPrinter::showPrintDialog(int& copies)
{
    if (!m_pdfPath.isEmpty()) {
        copies = m_pdfCopies;
        return true;
    }
    QPrintDialog dialog(&device(), dialogOwner(m_dialogParent));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    copies = std::max(1, device().copyCount());
    device().setCopyCount(1);
    return true;
}

int QtPrinter::printableWidth() const
{
    return qRound(toTwips(device().width()));
}

int QtPrinter::printableHeight() const
{
    return int(std::floor(toTwips(device().height())));
}

int QtPrinter::lineHeight() const
{
    return int(std::ceil(toTwips(metrics().lineSpacing())));
}

int QtPrinter::textWidth(const QString& text) const
{
    return qRound(toTwips(metrics().horizontalAdvance(text)));
}

// CR LF pairs and lone LFs break the text into lines; each line ends with the
// position at the left margin of the next one.
bool QtPrinter::printLine(const QString& text)
{
    if (!begin() || !makePendingPageBreaks())
        return false;
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& line : lines.split(QLatin1Char('\n'))) {
        if (!drawLine(line))
            return false;
    }
    return true;
}

bool QtPrinter::newPage()
{
    ++m_pendingPages;
    return true;
}

// A document with nothing on it still makes a valid file when printing to
// one; a real printer is sent nothing.
bool QtPrinter::endDoc()
{
    m_pendingPages = 0;
    m_x = 0;
    m_y = 0;
    if (m_painter.isActive())
        return m_painter.end();
    if (writesFile())
        return m_painter.begin(&device()) && m_painter.end();
    return true;
}

QPrinter& QtPrinter::device() const
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool QtPrinter::writesFile() const
{
    return device().outputFormat() == QPrinter::PdfFormat && !device().outputFileName().isEmpty();
}

bool QtPrinter::begin()
{
    if (m_painter.isActive())
        return true;
    if (!m_painter.begin(&device()))
        return false;
    m_painter.setFont(m_font);
    return true;
}

bool QtPrinter::makePendingPageBreaks()
{
    for (; m_pendingPages > 0; --m_pendingPages) {
        if (!device().newPage())
            return false;
    }
    return true;
}

// The current Y is the top of the line. A line that would cross the bottom of
// the printable area goes to the top of a new page instead of being lost; an
// empty one (the end of a block that ends with a line end) starts no page.
bool QtPrinter::drawLine(const QString& line)
{
    const QFontMetricsF fm = metrics();
    constexpr qreal kRoundingSlack = 0.5;   // device pixels
    const bool crosses = toDevice(m_y) + fm.lineSpacing() > device().height() + kRoundingSlack;
    if (crosses && m_y > 0 && !line.isEmpty()) {
        if (!device().newPage())
            return false;
        m_y = 0;
    }
    m_painter.drawText(QPointF(toDevice(m_x), toDevice(m_y) + fm.ascent()), line);
    m_x = 0;
    m_y += toTwips(fm.lineSpacing());
    return true;
}

QFontMetricsF QtPrinter::metrics() const
{
    return QFontMetricsF(m_font, &device());
}

qreal QtPrinter::toDevice(qreal twips) const
{
    return twips * device().resolution() / kTwipsPerInch;
}

qreal QtPrinter::toTwips(qreal pixels) const
{
    return pixels * kTwipsPerInch / device().resolution();
}
