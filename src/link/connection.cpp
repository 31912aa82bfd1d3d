// SPDX-License-Identifier: GPL-3.0-or-later
#include "connection.h"

#include "core/commandline.h"
#include "core/linksession.h"
#include "core/panellink.h"
#include "core/waiter.h"
#include "desktop/controlevents.h"
#include "form/form1context.h"
#include "form/statuspanels.h"
#include "link/modemsettings.h"
#include "link/typedtextcheck.h"
#include "platform/prompter.h"
#include "platform/serialport.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

const QString Connection::kPortClosedPrompt = QString(14, u' ') + QStringLiteral("The comm port is closed.");
const QString Connection::kPortClosedTitle = QStringLiteral("Velno 6300 Management System");

namespace {

constexpr int kNoOptionPort = 4;

}   // namespace

Connection::Connection(Form1Context& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

QString Connection::commNumberText(int number)
{
    return QStringLiteral("Comm Number:  %1").arg(number);
}

void Connection::Option_Click(int number)
{
    SerialPort& port = m_ctx.platform.port;
    if (port.isOpen()) {
        // The open port cannot change: the selection goes back to it.
        selectOption(port.portNumber());
        return;
    }
    selectOption(number);
    port.setPortNumber(number);
    m_ctx.settings.storePort(QString::number(port.portNumber()));
    m_ctx.ui.bar->setPanel(2, commNumberText(number));
}

void Connection::selectOption(int number)
{
    for (int n = 1; n <= 4; ++n) {
        QRadioButton* option = m_ctx.ui.option(n);
        option->setAutoExclusive(false);   // lets every option be cleared
        option->setChecked(n == number);
        option->setAutoExclusive(true);
    }
}

void Connection::open_port()
{
    SerialPort& port = m_ctx.platform.port;
    OpenResult result;
    if (port.isOpen()) {
        result.error = OpenResult::Error::AlreadyOpen;
        result.device = port.deviceFor(port.portNumber());
    } else {
        int number = kNoOptionPort;
        for (int n = 1; n <= 4; ++n) {
            if (m_ctx.ui.option(n)->isChecked()) {
                number = n;
                break;
            }
        }
        port.setPortNumber(number);
        PanelLink::setUp(port);
        result = m_ctx.session.open();
    }
    if (!port.isOpen() || result.error == OpenResult::Error::AlreadyOpen)
        reportPortClosed(result);
}

void Connection::reportPortClosed(const OpenResult& failure)
{
    MessageBox box;
    box.prompt = kPortClosedPrompt;
    box.title = kPortClosedTitle;
    box.detail = PanelLink::openFailure(failure);
    m_ctx.platform.prompter.ask(box);
}

void Connection::connect_Click()
{
    SerialPort& port = m_ctx.platform.port;
    keepSiteInUse();
    const int phoneLength = int(m_ctx.ui.Text2->text().size());
    if (!port.isOpen())
        open_port();
    if (port.isOpen()) {
        if (phoneLength == 0) {
            m_ctx.platform.prompter.tell(QStringLiteral("Please input the phone number"),
                                         QStringLiteral("Phone Number"));
            m_ctx.ui.Text2->setFocus();
        } else {
            dial();
        }
    }
    m_ctx.ui.Mastercode->setEnabled(true);
    m_ctx.setHourglass(false);
}

// The site chosen from the book is the one connected to only if the port,
// the phone number and the modem setting are still the site's now. The
// modem setting is read (which loads the Setting dialog) only when the rest
// matches, and never with no site in use.
void Connection::keepSiteInUse()
{
    if (m_ctx.siteInUse.isEmpty())
        return;
    const SerialPort& port = m_ctx.platform.port;
    int number = port.isOpen() ? port.portNumber() : 0;
    for (int n = 1; n <= 4 && number == 0; ++n) {
        if (m_ctx.ui.option(n)->isChecked())
            number = n;
    }
    const SiteLine& site = m_ctx.siteLine;
    if (number != site.port || m_ctx.ui.Text2->text() != site.phone
        || m_ctx.modem.setupString() != site.setup)
        m_ctx.setSiteInUse(QString());
}

// PanelLink's dial, its lines checked as typed into their fields, the
// number read from Text2; then Text3 takes the focus for the panel's code.
void Connection::dial()
{
    PanelLink::DialHooks hooks;
    hooks.setupFits = [this](const QString& setup) {
        return typedTextFitsTheLine(m_ctx, m_ctx.modem.setupStringField(), setup);
    };
    hooks.phoneFits = [this](const QString& phone) {
        return typedTextFitsTheLine(m_ctx, m_ctx.ui.Text2, phone);
    };
    hooks.starting = [this] { m_ctx.setHourglass(true); };
    hooks.pause = [this](double seconds) {
        m_ctx.waiter.wait_seconds(seconds);
        return true;
    };
    hooks.write = [this](const QByteArray& line) {
        m_ctx.session.write(line);
        return true;   // failures are ignored here
    };
    const auto phone = [this] { return m_ctx.ui.Text2->text(); };
    if (PanelLink::dial(m_ctx.modem.setupString(), phone, hooks) == PanelLink::DialResult::Unfit)
        return;
    m_ctx.ui.Text3->setFocus();
    m_ctx.waiter.wait_seconds(PanelLink::kDialPauseSeconds);
    m_ctx.setHourglass(false);
}

void Connection::close1_Click()
{
    Form1Ui& ui = m_ctx.ui;
    if (!m_ctx.session.isOpen()) {
        m_ctx.platform.prompter.tell(QStringLiteral("The comm port is closed"),
                                     QStringLiteral("End Communicatiom "));
        return;
    }
    LinkSession& session = m_ctx.session;
    session.write(CommandLine::command(CommandLine::kEndWord));
    for (QWidget* control : ui.commandControls())
        control->setEnabled(false);
    session.close();   // a running send stops here
    ui.connectButton->setFocus();
    ui.bar->setPanel(3, QStringLiteral("Send Record:  0"));
    ui.Progress->hide();
    ui.Command1->hide();
    m_ctx.setHourglass(false);
}

void Connection::Text2_GotFocus()
{
    m_ctx.ui.Text2->setCursorPosition(0);
    m_ctx.ui.Text2->deselect();
}

void Connection::Text2_Change()
{
    m_ctx.settings.storePhone(m_ctx.ui.Text2->text());
}

bool Connection::Text2_KeyDown(int keyCode)
{
    if (keyCode != ControlEvents::kBackspace)
        return false;
    m_ctx.ui.Text2->clear();
    return true;
}

void Connection::Text2_KeyPress(int charCode)
{
    if (charCode != ControlEvents::kEnter)
        return;
    m_ctx.settings.storePhone(m_ctx.ui.Text2->text());
    m_ctx.ui.connectButton->setFocus();
}
