// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include "link/journalentry.h"
#include "platform/clock.h"

#include <QDir>
#include <QStandardPaths>

#include <utility>

const QString Journal::kUnavailable = QStringLiteral("Journal not written: ");

Journal::Journal(const Clock& clock, const QString& folder, QObject* parent)
    : QObject(parent), m_clock(clock), m_folder(folder.isEmpty() ? defaultFolder() : folder)
{}

Journal::~Journal() = default;

QString Journal::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Velno/journal");
}

void Journal::recordSent(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const QDateTime now = m_clock.now();
    const QString fileName = JournalEntry::monthFileName(now);
    // A line split over two writes ("PGM", then the code) keeps its code hidden.
    bool codeFollows = std::exchange(m_codeFollows, false);
    QString text;
    for (QByteArrayView line : JournalEntry::linesOf(bytes)) {
        text = std::exchange(codeFollows, false) ? JournalEntry::kSecretMask : JournalEntry::sentText(line);
        append(JournalEntry::sent(now, site(), text), fileName);
    }
    m_codeFollows = !JournalEntry::endsLine(bytes)
        && (text == JournalEntry::kSecretMask || JournalEntry::carriesCode(text));
}

void Journal::recordEvent(const QString& text)
{
    const QDateTime now = m_clock.now();
    append(JournalEntry::event(now, site(), text), JournalEntry::monthFileName(now));
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

void Journal::append(const QString& entry, const QString& fileName)
{
    if (!openFile(fileName))
        return;
    QByteArray bytes = entry.toUtf8() + '\n';
    if (m_file.fileName() == m_partLinePath && m_file.size() > 0)
        bytes.prepend('\n');
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        m_partLinePath = m_file.fileName();
        fail(m_file.errorString());
        m_file.close();
        return;
    }
    m_partLinePath.clear();
    m_failed = false;
}

// The month's file, kept open from one entry to the next; opened again when
// the month changes or after a failure.
bool Journal::openFile(const QString& fileName)
{
    const QString path = QDir(m_folder).filePath(fileName);
    if (m_file.isOpen() && m_file.fileName() == path)
        return true;
    m_file.close();
    QDir().mkpath(m_folder);
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    fail(m_file.errorString());
    return false;
}

void Journal::fail(const QString& reason)
{
    if (m_failed)
        return;
    m_failed = true;
    emit unavailable(reason);
}
