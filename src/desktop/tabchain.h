// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

class QWidget;

// Sets the path of the Tab key through a window's controls: each control's
// successor is the next one in the list.
void setTabChain(std::initializer_list<QWidget*> order);
