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

// When only the slider moved or changed its length, only the stretch of
// the bar that it left and the one it takes now are painted again: the
// groove looks the same along the bar. A quarter of the bar's thickness
// more on each end takes in the slider's outline.
void SteadyScrollBar::updateIfChanged()
{
    m_lookPending = false;
    const Look now = look();
    if (m_painted && *m_painted == now)
        return;
    if (!m_painted || !m_painted->sameButTheSlider(now) || m_painted->slider.isEmpty()
        || now.slider.isEmpty()) {
        update();
        return;
    }
    const QRect both = m_painted->slider | now.slider;
    if (orientation() == Qt::Vertical) {
        const int outline = qMax(2, width() / 4);
        update(QRect(0, both.top() - outline, width(), both.height() + 2 * outline));
    } else {
        const int outline = qMax(2, height() / 4);
        update(QRect(both.left() - outline, 0, both.width() + 2 * outline, height()));
    }
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
