// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

// Lets the text cursor blink only for a while after the operator's last key
// press or click, as desktop environments do, and then shows it steady until
// the next one. A blinking cursor repaints its field twice a second for as
// long as the program sits waiting for the panel or pacing a file send.
class CursorBlinkTimeout : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutSeconds = 10;

    // timeoutMs: the real length of kTimeoutSeconds (shortened in tests).
    explicit CursorBlinkTimeout(int timeoutMs = kTimeoutSeconds * 1000, QObject* parent = nullptr);
    ~CursorBlinkTimeout() override;   // leaves the desktop's blinking as it was

    bool blinking() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopBlinking();
    void resumeBlinking();

    int m_flashTime;   // the desktop's, in ms; 0 when it wants no blinking
    QTimer m_timeout;
};
