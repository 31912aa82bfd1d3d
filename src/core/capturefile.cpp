// SPDX-License-Identifier: GPL-3.0-or-later
#include "capturefile.h"

#include "platform/prompter.h"
#include "platform/writeall.h"

bool CaptureFile::open(const QString& path)
{
    close();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void CaptureFile::close()
{
    if (m_beforeChange)
        m_beforeChange();
    if (m_file.isOpen())
        m_file.close();
}

qint64 CaptureFile::write(const QByteArray& bytes)
{
    return isOpen() ? writeAll(m_file, bytes) : 0;
}

bool CaptureFile::writeOrAsk(QByteArray bytes, Prompter& prompter, const QString& title)
{
    while (!bytes.isEmpty() && isOpen()) {
        bytes.remove(0, write(bytes));
        if (bytes.isEmpty())
            return true;
        MessageBox box;
        box.prompt = errorString();
        box.title = title;
        box.buttons = MessageBox::Buttons::RetryCancel;
        box.icon = MessageBox::Icon::Critical;
        box.defaultButton = MessageBox::Answer::Retry;
        if (prompter.ask(box) != MessageBox::Answer::Retry)
            return false;
    }
    return true;
}
