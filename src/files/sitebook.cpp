// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitebook.h"

#include "link/typedtextcheck.h"
#include "platform/oneline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString kName = QStringLiteral("name");
const QString kPort = QStringLiteral("port");
const QString kPhone = QStringLiteral("phone");
const QString kSetup = QStringLiteral("setup");
const QString kNotes = QStringLiteral("notes");
const QString kLastUsed = QStringLiteral("lastused");
constexpr int kMaxSetAside = 99;

bool nameBefore(const Site& a, const Site& b)
{
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
}

// A hand-written unquoted "a,b" comes back from QSettings as a list.
QString textOf(const QVariant& value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// The site of the current group, or why it cannot be one.
QString readSite(const QSettings& settings, Site& site)
{
    bool portIsNumber = false;
    site.name = textOf(settings.value(kName));
    site.port = textOf(settings.value(kPort)).toInt(&portIsNumber);
    site.phone = textOf(settings.value(kPhone));
    site.setup = textOf(settings.value(kSetup));
    site.notes = textOf(settings.value(kNotes));
    const QString lastUsed = textOf(settings.value(kLastUsed));
    if (!lastUsed.isEmpty()) {
        site.lastUsed = QDateTime::fromString(lastUsed, Qt::ISODateWithMs);
        if (!site.lastUsed.isValid())
            return QStringLiteral("\"%1\" is not a date and time.").arg(lastUsed);
    }
    if (!portIsNumber)
        site.port = 0;
    return QString();
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

void writeSite(QSettings& settings, const Site& site)
{
    settings.setValue(kName, site.name);
    settings.setValue(kPort, QString::number(site.port));
    settings.setValue(kPhone, site.phone);
    settings.setValue(kSetup, site.setup);
    settings.setValue(kNotes, site.notes);
    if (site.lastUsed.isValid())
        settings.setValue(kLastUsed, site.lastUsed.toString(Qt::ISODateWithMs));
}

}   // namespace

bool Site::operator==(const Site& other) const
{
    return name == other.name && port == other.port && phone == other.phone && setup == other.setup
        && notes == other.notes && lastUsed == other.lastUsed;
}

SiteBook::SiteBook(QString path) : m_path(std::move(path)) {}

QString SiteBook::filePathUnder(const QString& configFolder)
{
    return QDir(configFolder).filePath(QStringLiteral("Velno/sites.ini"));
}

SiteBook::LoadResult SiteBook::load()
{
    m_sites.clear();
    m_fileDamagedInPlace = false;
    LoadResult result;
    if (m_path.isEmpty() || !QFileInfo::exists(m_path))
        return result;

    QFile file(m_path);
    QString reason = file.open(QIODevice::ReadOnly) ? malformation(file.readAll()) : file.errorString();
    file.close();
    QSettings settings(m_path, QSettings::IniFormat);
    if (reason.isEmpty() && (settings.status() != QSettings::NoError || !settings.childKeys().isEmpty()))
        reason = QStringLiteral("It is not a list of sites in the INI format.");
    const QStringList groups = settings.childGroups();
    for (int i = 0; reason.isEmpty() && i < groups.size(); ++i) {
        Site site;
        settings.beginGroup(groups.at(i));
        reason = readSite(settings, site);
        settings.endGroup();
        if (reason.isEmpty())
            reason = problemWith(site);
        if (reason.isEmpty())
            insertSorted(site);
        else
            reason = QStringLiteral("Site [%1]: %2").arg(groups.at(i), reason);
    }
    if (reason.isEmpty()) {
        result.outcome = LoadResult::Outcome::Loaded;
        return result;
    }
    m_sites.clear();
    result.outcome = LoadResult::Outcome::Damaged;
    result.reason = reason;
    result.keptAs = setAside();
    m_fileDamagedInPlace = result.keptAs.isEmpty();
    return result;
}

QString SiteBook::setAside() const
{
    for (int n = 1; n <= kMaxSetAside; ++n) {
        const QString candidate =
            m_path + QStringLiteral(".bad") + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
        if (QFileInfo::exists(candidate))
            continue;
        return QFile::rename(m_path, candidate) ? candidate : QString();
    }
    return QString();
}

// QSettings writes the groups into a file of its own beside the book; the
// book is then replaced by that text in one step.
bool SiteBook::save(QString* error)
{
    if (m_path.isEmpty())
        return true;
    if (m_fileDamagedInPlace) {
        *error = QStringLiteral("The damaged file %1 could not be set aside, and is not overwritten.")
                     .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QTemporaryFile written(QDir(folder).filePath(QStringLiteral("sites-XXXXXX.tmp")));
    if (!written.open()) {
        *error = written.errorString();
        return false;
    }
    written.close();
    {
        QSettings settings(written.fileName(), QSettings::IniFormat);
        for (int i = 0; i < m_sites.size(); ++i) {
            settings.beginGroup(QStringLiteral("site%1").arg(i + 1));
            writeSite(settings, m_sites.at(i));
            settings.endGroup();
        }
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            *error =
                QStringLiteral("The sites could not be written in %1.").arg(QDir::toNativeSeparators(folder));
            return false;
        }
    }
    QFile text(written.fileName());
    QSaveFile book(m_path);
    if (!text.open(QIODevice::ReadOnly) || !book.open(QIODevice::WriteOnly) || book.write(text.readAll()) < 0
        || !book.commit()) {
        *error = text.error() != QFileDevice::NoError ? text.errorString() : book.errorString();
        return false;
    }
    return true;
}

int SiteBook::indexOf(const QString& name) const
{
    for (int i = 0; i < m_sites.size(); ++i) {
        if (m_sites.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString SiteBook::problemWith(const Site& site, int index) const
{
    if (site.name.trimmed().isEmpty())
        return QStringLiteral("Please give the site a name.");
    const int same = indexOf(site.name);
    if (same >= 0 && same != index)
        return QStringLiteral("There is already a site named \"%1\".").arg(m_sites.at(same).name);
    if (site.port < 1 || site.port > 4)
        return QStringLiteral("The port must be 1, 2, 3 or 4.");
    if (OneLine::holdsControl(site.name))
        return QStringLiteral("The name must be one line.");
    if (!textFitsTheLine(site.phone) || !textFitsTheLine(site.setup))
        return QStringLiteral("The phone number and the modem setting must each be one line of "
                              "characters that can be sent to the panel.");
    return QString();
}

int SiteBook::insertSorted(const Site& site)
{
    const auto at = std::upper_bound(m_sites.begin(), m_sites.end(), site, nameBefore);
    const int index = int(at - m_sites.begin());
    m_sites.insert(index, site);
    return index;
}

int SiteBook::add(const Site& site)
{
    return insertSorted(site);
}

int SiteBook::replace(int index, const Site& site)
{
    m_sites.removeAt(index);
    return insertSorted(site);
}

void SiteBook::remove(int index)
{
    m_sites.removeAt(index);
}

void SiteBook::markUsed(int index, const QDateTime& when)
{
    m_sites[index].lastUsed = when;
}

QList<Site> SiteBook::recent() const
{
    QList<Site> used;
    std::copy_if(m_sites.begin(), m_sites.end(), std::back_inserter(used),
                 [](const Site& s) { return s.lastUsed.isValid(); });
    std::stable_sort(used.begin(), used.end(),
                     [](const Site& a, const Site& b) { return a.lastUsed > b.lastUsed; });
    return used.mid(0, kRecentCount);
}
