// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;

// What choosing and opening a capture file came to.
enum class CaptureOpen {
    Opened,   // the capture slot holds the open file
    Cancelled,   // the operator cancelled the file dialog
    OpenFailed,   // the file could not be opened
    Aborted,   // the dialog failed, or the existence test or the deletion did
};

// The communications log: choosing and opening the capture file (also for
// the uploads), and the "&Open LOG File" and "Close &LOG File" menu items.
class CaptureLog : public QObject {
    Q_OBJECT
public:
    static const QString kTitle;   // "Open Communications Log File"
    static const QString kFilter;   // "Log Files (*.LOG)|*.log|All Files (*.*)|*.*"

    explicit CaptureLog(Form1Context& ctx, QObject* parent = nullptr);

    CaptureOpen open_capture_file(const QString& title, const QString& filter);
    void mnuOpenLog_Click();
    void mnuCloseLog_Click();

private:
    enum class Target { Missing, Replace, Append, AskAgain };

    Target askAboutExisting(const QString& path);
    // A box with the system's description of a failure, and the file it concerns.
    void warn(const QString& description, const QString& path = QString());
    void setCapturing(bool capturing);

    Form1Context& m_ctx;
};
