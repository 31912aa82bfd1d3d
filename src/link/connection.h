// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;
struct OpenResult;

// Port selection, connecting directly or through a modem, disconnecting, and
// the phone number field.
class Connection : public QObject {
    Q_OBJECT
public:
    static const QString kPortClosedPrompt;   // open_port's box
    static const QString kPortClosedTitle;

    explicit Connection(Form1Context& ctx, QObject* parent = nullptr);

    void Option_Click(int number);   // Option1_Click ... Option4_Click
    void open_port();
    void connect_Click();
    void close1_Click();

    void Text2_GotFocus();
    void Text2_Change();
    bool Text2_KeyDown(int keyCode);
    void Text2_KeyPress(int charCode);

    // Panel 2's text for a port number.
    static QString commNumberText(int number);

private:
    void selectOption(int number);
    void reportPortClosed(const OpenResult& failure);
    void dial();
    void keepSiteInUse();

    Form1Context& m_ctx;
};
