// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

// The journal's entries for reading: every month file of the folder, oldest
// first, one row per entry, narrowed to one site and to entries that hold a
// search text.
class JournalModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Reads every month file ("YYYY-MM.log") of the folder. A file that
    // cannot be read is named in errors(); the others are still shown.
    void load(const QString& folder);
    QStringList errors() const { return m_errors; }

    // The sites that occur, sorted, each once.
    QStringList sites() const { return m_sites; }
    int entryCount() const { return int(m_lines.size()); }

    // site empty: every site; search empty: every entry. The search ignores case.
    void setFilter(const QString& site, const QString& search);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void readFile(const QString& path);
    bool passes(qsizetype line) const;

    QStringList m_lines;
    QList<QStringView> m_lineSites;   // views into m_lines
    QStringList m_sites;
    QList<qsizetype> m_shown;   // rows: indexes into m_lines
    QStringList m_errors;
    QString m_site;
    QString m_search;
};
