// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;

// Sets the panel's date ("Date") and time ("Time") from the PC's clock.
class ClockCommands : public QObject {
    Q_OBJECT
public:
    explicit ClockCommands(Form1Context& ctx, QObject* parent = nullptr);

    void Date_Click();
    void rtrtc_Click();

private:
    Form1Context& m_ctx;
};
