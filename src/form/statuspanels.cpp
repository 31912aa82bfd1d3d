// SPDX-License-Identifier: GPL-3.0-or-later
#include "statuspanels.h"

#include <QLabel>

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    static const int kStretch[kCount] = {3, 2, 2, 2, 1};
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("bar_panel%1").arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // A screen reader reads a label by its name: the name is the text (see
        // setPanel), the panel's role is its description.
        label->setAccessibleDescription(QStringLiteral("Status panel %1").arg(i + 1));
        addPermanentWidget(label, kStretch[i]);
        m_panels[size_t(i)] = label;
    }
    fixClockSize();
}

// The clock is rewritten every second: a panel of fixed size takes the new
// text without making the status bar lay itself out again each time.
void StatusPanels::fixClockSize()
{
    QLabel* clock = m_panels[kCount - 1];
    const QString widest = QStringLiteral("00:00:00 PM");
    const QMargins margins = clock->contentsMargins();
    clock->setFixedSize(clock->fontMetrics().horizontalAdvance(widest) + margins.left() + margins.right()
                            + 2 * clock->frameWidth() + 8,
                        clock->sizeHint().height());
}

QLabel* StatusPanels::panelLabel(int number) const
{
    return (number >= 1 && number <= kCount) ? m_panels[size_t(number - 1)] : nullptr;
}

void StatusPanels::setPanel(int number, const QString& text)
{
    QLabel* label = panelLabel(number);
    if (label && label->text() != text) {   // the same text again changes nothing
        label->setText(text);
        label->setAccessibleName(text);
    }
}

QString StatusPanels::panel(int number) const
{
    const QLabel* label = panelLabel(number);
    return label ? label->text() : QString();
}
