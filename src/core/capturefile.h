// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

class Prompter;

// The one capture slot: the file that received text is copied into while it
// is open. Writes go straight to the operating system (no buffer in the
// program), so what was shown is on disk even if the program is killed.
class CaptureFile {
public:
    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return isOpen() ? m_file.fileName() : QString(); }

    // Opens path for writing at its end, creating it if missing and keeping
    // what it holds; a capture already open is closed first.
    bool open(const QString& path);
    void close();
    // Runs before the capture opens or closes: received text not yet shown
    // is shown (and captured) first, into the file that was open when it came.
    void setBeforeChange(std::function<void()> hook) { m_beforeChange = std::move(hook); }
    // Writes the bytes at the end; returns how many reached the file (all of
    // them unless it failed).
    qint64 write(const QByteArray& bytes);
    // Writes all of the bytes at the end. A failure is put to the operator
    // (Retry or Cancel, titled title); bytes that reached the file are not
    // written again on Retry, so the capture never holds a piece twice.
    // False when the operator cancelled: the capture is then incomplete.
    bool writeOrAsk(QByteArray bytes, Prompter& prompter, const QString& title);
    // The system's description of the last failure.
    QString errorString() const { return m_file.errorString(); }

private:
    QFile m_file;
    std::function<void()> m_beforeChange;
};
