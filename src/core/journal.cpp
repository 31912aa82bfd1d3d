// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include "core/journalentry.h"
#include "core/linksession.h"
#include "platform/clock.h"
#include "platform/eightbit.h"
#include "store/journalwriter.h"

#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

Journal::Journal(const Clock& clock, JournalWriter& writer, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_writer(writer),
      m_operator(loginName()),
      m_host(QSysInfo::machineHostName())
{}

Journal::~Journal() = default;

QString Journal::loginName()
{
    const passwd* user = getpwuid(geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
}

void Journal::follow(const LinkSession& session)
{
    connect(&session, &LinkSession::lineWritten, this, &Journal::recordSent);
    connect(&session, &LinkSession::opened, this, &Journal::recordOpened);
    connect(&session, &LinkSession::closed, this, &Journal::recordClosed);
    connect(&session, &LinkSession::lineLost, this, &Journal::recordLineLost);
    connect(&session, &LinkSession::lineError, this, &Journal::recordLineError);
}

// A line split over two writes is masked as a whole: the second part is
// shown as the part of the whole line it is, so that a code that began in
// the first part ("PGM", then the code) stays hidden.
void Journal::recordSent(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const QList<QByteArrayView> lines = JournalEntry::linesOf(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype shownBefore = i == 0 ? m_unfinishedLine.size() : 0;
        const QString line = (i == 0 ? m_unfinishedLine : QString()) + EightBit::decode(lines.at(i));
        append(JournalRecord::Kind::Sent, JournalEntry::maskedFrom(line, shownBefore));
        m_unfinishedLine = line;
    }
    if (JournalEntry::endsLine(bytes))
        m_unfinishedLine.clear();
}

void Journal::recordEvent(const QString& text)
{
    append(JournalRecord::Kind::Event, text);
}

void Journal::recordOpened(int portNumber, const QString& device)
{
    recordEvent(JournalEntry::connected(portNumber, device));
}

void Journal::recordClosed()
{
    recordEvent(JournalEntry::closed());
}

void Journal::recordLineLost()
{
    recordEvent(JournalEntry::lineLost());
}

void Journal::recordLineError(int eventCode)
{
    recordEvent(JournalEntry::lineError(eventCode));
}

void Journal::append(JournalRecord::Kind kind, const QString& text)
{
    JournalRecord record = JournalRecord::at(m_clock.now(), kind, text);
    record.operatorName = m_operator;
    record.host = m_host;
    record.site = site().simplified();
    m_writer.append(record);
}
