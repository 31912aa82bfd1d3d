// SPDX-License-Identifier: GPL-3.0-or-later
#include "steadyscrollbar.h"

#include <QStyleOptionSlider>

void SteadyScrollBar::sliderChange(SliderChange change)
{
    if (!m_painted) {
        QScrollBar::sliderChange(change);
        return;
    }
    if (m_lookPending)
        return;
    m_lookPending = true;
    QMetaObject::invokeMethod(this, &SteadyScrollBar::updateIfChanged, Qt::QueuedConnection);
}

void SteadyScrollBar::updateIfChanged()
{
    m_lookPending = false;
    if (!m_painted || !(*m_painted == look()))
        update();
}

void SteadyScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    m_painted = look();
}

SteadyScrollBar::Look SteadyScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look look;
    look.rect = option.rect;
    look.slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    look.state = option.state;
    look.active = option.activeSubControls;
    look.empty = option.minimum == option.maximum;
    return look;
}
