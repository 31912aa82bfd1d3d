// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/prompter.h"

// The box that tells the operator a file could not be written: the
// platform's description, an OK button and the exclamation icon.
MessageBox fileErrorBox(const QString& description, const QString& title);
