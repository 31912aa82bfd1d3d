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
        label->setAccessibleName(QStringLiteral("Status panel %1").arg(i + 1));
        addPermanentWidget(label, kStretch[i]);
        m_panels[size_t(i)] = label;
    }
}

QLabel* StatusPanels::panelLabel(int number) const
{
    return (number >= 1 && number <= kCount) ? m_panels[size_t(number - 1)] : nullptr;
}

void StatusPanels::setPanel(int number, const QString& text)
{
    if (QLabel* label = panelLabel(number))
        label->setText(text);
}

QString StatusPanels::panel(int number) const
{
    const QLabel* label = panelLabel(number);
    return label ? label->text() : QString();
}
