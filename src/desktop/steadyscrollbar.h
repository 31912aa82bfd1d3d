// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>
#include <QStyle>

#include <optional>

// A scroll bar that is painted again only when its picture changes. A plain
// QScrollBar repaints itself whole on every change of its range or value;
// the receive pane changes both with every line that comes in (the range
// grows, then the value follows it), while on a long text the slider stays
// on the same pixels. The picture is the slider's place and the states that
// the style draws, looked at once the changes of the moment are done; when
// only the slider moved, only the part of the bar it moved on is painted.
class SteadyScrollBar : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateIfChanged();

    struct Look {
        QRect rect;
        QRect slider;
        QStyle::State state;
        QStyle::SubControls active;
        bool empty = false;   // minimum == maximum: nothing to scroll
        bool sameButTheSlider(const Look& other) const
        {
            return rect == other.rect && state == other.state && active == other.active
                && empty == other.empty;
        }
        bool operator==(const Look& other) const { return sameButTheSlider(other) && slider == other.slider; }
    };
    Look look() const;

    std::optional<Look> m_painted;
    bool m_lookPending = false;
};
