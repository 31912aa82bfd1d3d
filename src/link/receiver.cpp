// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver.h"

#include "core/linksession.h"
#include "form/form1context.h"
#include "form/receivepane.h"
#include "form/statuspanels.h"
#include "link/capturelog.h"
#include "platform/eightbit.h"
#include "platform/prompter.h"
#include "platform/serialport.h"

#include <QPushButton>

#include <utility>

const QString Receiver::kReceiving = QStringLiteral("Receiving...");
const QString Receiver::kErrorBoxTitle = QStringLiteral("Click Cancel to quit, OK to ignore.");
const QString Receiver::kLineLost = QStringLiteral("Line Lost");

namespace {
const QString kStatusPrefix = QStringLiteral("Status: ");
}   // namespace

Receiver::Receiver(Form1Context& ctx, CaptureLog& log, QObject* parent)
    : QObject(parent),
      m_ctx(ctx),
      m_appender(ctx, [&log] { log.mnuCloseLog_Click(); }),
      m_pacer(ctx.platform.port)
{
    connect(&ctx.session, &LinkSession::notified, this, &Receiver::MSComm1_OnComm);
    connect(&m_pacer, &AppendPacer::frameEnded, this, &Receiver::receiveWaiting);
    ctx.capture.setBeforeChange([this] { appendHeld(); });
}

Receiver::~Receiver()
{
    m_ctx.capture.setBeforeChange({});
}

void Receiver::MSComm1_OnComm(int eventCode)
{
    if (eventCode == SerialPort::kDataReceived) {
        receiveWaiting();
        showStatus(kReceiving);
    } else if (eventCode == SerialPort::kLineLost) {
        appendHeld();
        reportLineLost();
    } else if (const QString error = SerialPort::lineErrorText(eventCode); !error.isEmpty()) {
        appendHeld();
        reportLineError(error);
    }
}

// A notification that arrives while a chunk is being appended (a box of the
// capture write is open) is served when that append is done, in order. The
// real port raises none for bytes that arrive meanwhile, so whatever waits
// then is read as well.
void Receiver::receiveWaiting()
{
    if (m_appending) {
        m_moreWaiting = true;
        return;
    }
    SerialPort& port = m_ctx.platform.port;
    if (m_held.isEmpty() && port.bytesWaiting() == 0)
        return;   // the end of a frame that read nothing: the port is left alone
    m_appending = true;
    do {
        m_moreWaiting = false;
        m_held += EightBit::decode(port.readAll());
        if (m_pacer.appendNow(m_held.size()))
            m_appender.append_received(*m_ctx.ui.Text1, std::exchange(m_held, QString()));
    } while (m_moreWaiting || port.bytesWaiting() > 0);
    m_appending = false;
}

// What came before a line event, or before the capture opens or closes, is
// shown (and captured) first.
void Receiver::appendHeld()
{
    m_pacer.endFrame();
    receiveWaiting();
}

void Receiver::showStatus(const QString& text)
{
    m_ctx.ui.bar->setPanel(1, kStatusPrefix + text);
}

void Receiver::reportLineError(const QString& text)
{
    showStatus(text);
    m_ctx.platform.prompter.beep();
    MessageBox box;
    box.prompt = text;
    box.title = kErrorBoxTitle;
    box.buttons = MessageBox::Buttons::OkCancel;
    if (m_ctx.platform.prompter.ask(box) == MessageBox::Answer::Cancel)
        m_ctx.session.closeAfterLineError();
}

// The port has already been closed. Controls and the capture file stay as
// they are; later commands meet the connection guard.
void Receiver::reportLineLost()
{
    const SerialPort& port = m_ctx.platform.port;
    const QString device = port.deviceFor(port.portNumber());
    showStatus(kLineLost + QStringLiteral(" (") + device + QStringLiteral(")"));
    m_ctx.platform.prompter.beep();
    MessageBox box;
    box.prompt = QStringLiteral("The connection to the panel through %1 was lost: the device "
                                "went away, and the port has been closed.")
                     .arg(device);
    box.detail = m_ctx.capture.isOpen()
        ? QStringLiteral("Everything received is in the receive pane and in the capture file, "
                         "which stays open. Connect again when the device is back.")
        : QStringLiteral("Everything received is in the receive pane. "
                         "Connect again when the device is back.");
    box.title = m_ctx.settings.title();
    box.icon = MessageBox::Icon::Exclamation;
    m_ctx.platform.prompter.ask(box);
}

void Receiver::Command3_Click()
{
    m_ctx.capture.close();
    m_ctx.ui.Command3->hide();
}
