// SPDX-License-Identifier: GPL-3.0-or-later
#include "legacyimport.h"

#include "core/journalentry.h"
#include "files/sitebook.h"
#include "store/privatefiles.h"
#include "store/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>

#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kImportedMark = QStringLiteral("imported");

// "2026-12-08T17:20:08 Elm Court > PARDOT1 07": the local time, the site
// ("-" for none), the mark of a line sent or an event, the text.
const QRegularExpression
    kLogLine(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d) (.+?)( > | \\* )(.*)$"));

// One line of an old month file as an entry, masked; the line as it is
// kept, masked too. A line not in the format is kept as an event of the
// time before it.
JournalRecord entryOf(const QString& line, qint64 previousUtcMs, QString* kept)
{
    JournalRecord r;
    const QRegularExpressionMatch m = kLogLine.match(line);
    if (!m.hasMatch()) {
        r.utcMs = previousUtcMs;
        r.kind = JournalRecord::Kind::Event;
        r.text = JournalEntry::masked(line);
        *kept = r.text;
        return r;
    }
    r.utcMs = QDateTime::fromString(m.captured(1), Qt::ISODate).toMSecsSinceEpoch();
    r.site = m.captured(2) == QStringLiteral("-") ? QString() : m.captured(2);
    r.kind = m.captured(3) == QStringLiteral(" > ") ? JournalRecord::Kind::Sent : JournalRecord::Kind::Event;
    r.text = r.kind == JournalRecord::Kind::Sent ? JournalEntry::masked(m.captured(4)) : m.captured(4);
    *kept = m.captured(1) + u' ' + m.captured(2) + m.captured(3) + r.text;
    return r;
}

// A hand-written unquoted "a,b" comes back from QSettings as a list.
QString textOf(const QVariant& value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// QSettings reads past lines it cannot make sense of; a book that has any
// (or text that is not UTF-8) is damaged, not empty.
QString malformation(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QStringLiteral("It is not UTF-8 text.");
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const bool fits = line.isEmpty() || line.startsWith(QLatin1Char(';'))
            || line.startsWith(QLatin1Char('#'))
            || (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            || line.contains(QLatin1Char('='));
        if (!fits)
            return QStringLiteral("Line %1 is neither a [site] nor a key=value line.").arg(i + 1);
    }
    return QString();
}

Site siteOf(const QSettings& settings)
{
    Site site;
    site.name = textOf(settings.value(QStringLiteral("name"))).trimmed();
    bool isNumber = false;
    site.port = textOf(settings.value(QStringLiteral("port"))).toInt(&isNumber);
    site.port = isNumber ? site.port : 0;
    site.phone = textOf(settings.value(QStringLiteral("phone")));
    site.setup = textOf(settings.value(QStringLiteral("setup")));
    site.notes = textOf(settings.value(QStringLiteral("notes")));
    site.lastUsed =
        QDateTime::fromString(textOf(settings.value(QStringLiteral("lastused"))), Qt::ISODateWithMs);
    return site;
}

// Holds the folder for this copy of the program while it keeps a file:
// another copy starting at the same time waits, then finds the file kept.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);   // lets the lock go
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

}   // namespace

LegacyImport::LegacyImport(Store& store, QString journalFolder, QString sitesPath)
    : m_store(store), m_journalFolder(std::move(journalFolder)), m_sitesPath(std::move(sitesPath))
{}

LegacyImport::Result LegacyImport::run()
{
    Result result;
    const QStringList logs =
        QDir(m_journalFolder).entryList({QStringLiteral("\?\?\?\?-\?\?.log")}, QDir::Files, QDir::Name);
    for (const QString& name : logs)
        importLog(QDir(m_journalFolder).filePath(name), result);
    if (!m_sitesPath.isEmpty() && QFileInfo::exists(m_sitesPath))
        importSites(result);
    return result;
}

void LegacyImport::importLog(const QString& path, Result& result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(path))   // else another copy has just kept it
            result.problems << QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QList<JournalRecord> entries;
    QByteArray kept;
    qint64 previous = QDateTime::fromString(QFileInfo(path).baseName() + QStringLiteral("-01"), Qt::ISODate)
                          .toMSecsSinceEpoch();
    for (QStringView line : QStringTokenizer(text, u'\n', Qt::SkipEmptyParts)) {
        QString keptLine;
        entries << entryOf(line.toString(), previous, &keptLine);
        previous = entries.back().utcMs;
        kept += keptLine.toUtf8() + '\n';
    }
    QList<Site> noSites;
    const Store::Import outcome =
        m_store.importOnce(QStringLiteral("journal/") + QFileInfo(path).fileName(), entries, noSites);
    if (outcome == Store::Import::Failed) {
        result.problems << QDir::toNativeSeparators(path) + QStringLiteral(": ") + m_store.lastError();
        return;
    }
    if (outcome == Store::Import::Done)
        result.entries += int(entries.size());
    // Also when brought in before: a copy stopped before it could keep the file.
    keep(path, kept, result);
}

void LegacyImport::importSites(Result& result)
{
    QFile file(m_sitesPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(m_sitesPath)) {   // else another copy has just kept it
            result.problems << QDir::toNativeSeparators(m_sitesPath) + QStringLiteral(": ")
                    + file.errorString();
        }
        return;
    }
    const QByteArray content = file.readAll();
    file.close();
    QSettings settings(m_sitesPath, QSettings::IniFormat);
    QString problem = malformation(content);
    if (problem.isEmpty() && settings.status() != QSettings::NoError)
        problem = QStringLiteral("It is not a list of sites in the INI format.");
    if (!problem.isEmpty()) {
        result.problems << QDir::toNativeSeparators(m_sitesPath) + QStringLiteral(": ") + problem;
        return;
    }
    QList<Site> accepted;
    QStringList refused;
    SiteBook rules(m_store);
    rules.reload();
    for (const QString& group : settings.childGroups()) {
        settings.beginGroup(group);
        Site site = siteOf(settings);
        settings.endGroup();
        const bool twice = std::any_of(accepted.begin(), accepted.end(), [&](const Site& s) {
            return s.name.compare(site.name, Qt::CaseInsensitive) == 0;
        });
        const QString problem = twice ? QStringLiteral("the name is there twice.") : rules.problemWith(site);
        if (problem.isEmpty())
            accepted << site;
        else
            refused << QStringLiteral("Site [%1] of %2 not brought in: %3")
                           .arg(group, QDir::toNativeSeparators(m_sitesPath), problem);
    }
    QList<JournalRecord> noEntries;
    const Store::Import outcome = m_store.importOnce(QStringLiteral("sites.ini"), noEntries, accepted);
    if (outcome == Store::Import::Failed) {
        result.problems << QDir::toNativeSeparators(m_sitesPath) + QStringLiteral(": ") + m_store.lastError();
        return;
    }
    // Told by the copy that brought the book in; later, the names are the book's own.
    if (outcome == Store::Import::Done) {
        result.sites += int(accepted.size());
        result.problems << refused;
    }
    keep(m_sitesPath, content, result);
}

// Masked in place, the user's alone, then under its new name beside, one
// copy of the program at a time; a file another copy kept is not there any
// more. The new name is always a free one.
void LegacyImport::keep(const QString& path, const QByteArray& masked, Result& result)
{
    const FolderLock lock(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(path))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(masked) != masked.size() || !file.commit()) {
        if (QFileInfo::exists(path))
            result.problems << QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
        return;
    }
    PrivateFiles::correct({path});
    const QString aside = PrivateFiles::freeAsideName(path, kImportedMark, {QString()});
    if (aside.isEmpty() || !QFile::rename(path, aside)) {
        if (QFileInfo::exists(path))
            result.problems << QStringLiteral("%1 could not be renamed.").arg(QDir::toNativeSeparators(path));
    }
}
