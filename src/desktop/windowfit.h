// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMargins;
class QRect;
class QScrollArea;
class QSize;
class QWidget;

// The least size of a window that wants `wanted` on a screen whose free area
// is `available`, with the window system's frame around it: the wanted size,
// or less where the free area leaves less room.
QSize leastSizeOnScreen(const QSize& wanted, const QRect& available, const QMargins& frame);

// A window that may grow opens at its first size and never gets smaller than
// that, nor than its layout needs; only on a screen too small for the first
// size does it open smaller, fitting the screen's free area.
void openAtFirstSize(QWidget* window, const QSize& firstSize);

// The control that receives the focus, by Tab or from code, is scrolled
// wholly into view when the area is too small for all of them.
void keepFocusInView(QScrollArea* area);
