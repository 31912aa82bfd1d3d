// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"

// The system clipboard through QGuiApplication::clipboard(), text only.
class QtClipboard : public Clipboard {
public:
    void clear() override;
    void setText(const QString& text) override;
    QString text() const override;
};
