// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfit.h"

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace {

constexpr int kFocusMargin = 4;   // room around a control scrolled into view

// The frame the window system draws around the window; before the window is
// framed, room for a border and a title bar as the style draws them.
QMargins frameOf(const QWidget* window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!frame.isNull())
        return frame;
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return QMargins(border, border + style->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
}

}   // namespace

QSize leastSizeOnScreen(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    return wanted.boundedTo(available.marginsRemoved(frame).size());
}

void openAtFirstSize(QWidget* window, const QSize& firstSize)
{
    QSize least = firstSize;
    if (const QScreen* screen = window->screen())
        least = leastSizeOnScreen(firstSize, screen->availableGeometry(), frameOf(window));
    least = least.expandedTo(window->minimumSizeHint());
    window->setMinimumSize(least);
    window->resize(least);
}

void keepFocusInView(QScrollArea* area)
{
    // The area is held as a QObject and cast back on each change: while it is
    // being destroyed its children give up the focus, and by then it is no
    // longer a scroll area.
    QObject* self = area;
    QObject::connect(qApp, &QApplication::focusChanged, area, [self](QWidget*, QWidget* now) {
        auto* area = qobject_cast<QScrollArea*>(self);
        if (!area)
            return;
        QWidget* content = area->widget();
        if (!now || !content || !content->isAncestorOf(now))
            return;
        const QRect control(now->mapTo(content, QPoint(0, 0)), now->size());
        area->ensureVisible(control.center().x(), control.center().y(), control.width() / 2 + kFocusMargin,
                            control.height() / 2 + kFocusMargin);
    });
}
