// SPDX-License-Identifier: GPL-3.0-or-later
#include "journalmodel.h"

#include "link/journalentry.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <numeric>

void JournalModel::load(const QString& folder)
{
    beginResetModel();
    m_lines.clear();
    m_lineSites.clear();
    m_errors.clear();
    // "YYYY-MM.log" sorts as the months follow each other.
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("\?\?\?\?-\?\?.log")}, QDir::Files, QDir::Name);
    for (const QString& name : files)
        readFile(QDir(folder).filePath(name));
    QSet<QStringView> sites;
    m_lineSites.reserve(m_lines.size());
    for (const QString& line : std::as_const(m_lines)) {
        m_lineSites.append(JournalEntry::siteOf(line));
        if (!m_lineSites.back().isEmpty())
            sites.insert(m_lineSites.back());
    }
    m_sites.clear();
    for (QStringView site : std::as_const(sites))
        m_sites.append(site.toString());
    m_sites.sort();
    endResetModel();
    setFilter(m_site, m_search);
}

void JournalModel::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors.append(QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString());
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringTokenizer(text, u'\n', Qt::SkipEmptyParts))
        m_lines.append(line.toString());
}

void JournalModel::setFilter(const QString& site, const QString& search)
{
    beginResetModel();
    m_site = site;
    m_search = search;
    m_shown.clear();
    if (site.isEmpty() && search.isEmpty()) {
        m_shown.resize(m_lines.size());
        std::iota(m_shown.begin(), m_shown.end(), 0);
    } else {
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            if (passes(i))
                m_shown.append(i);
        }
    }
    endResetModel();
}

bool JournalModel::passes(qsizetype line) const
{
    return (m_site.isEmpty() || m_lineSites[line] == m_site)
        && (m_search.isEmpty() || m_lines[line].contains(m_search, Qt::CaseInsensitive));
}

int JournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant JournalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_shown.size())
        return {};
    return m_lines[m_shown[index.row()]];
}
