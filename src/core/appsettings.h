// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class SettingsStore;

// The values kept between runs and the application title that names them.
// "Port" and "ph" always live under the main title, whatever the current
// title is, so a port or phone number chosen after a visit to the Setting
// dialog is still the one the next start-up reads. "sett" and "savea" live
// under the Setting dialog's title. The main window's place and size live
// beside "Port" and "ph", in a section of their own, and so does the team
// database that the window, --journal and velno-batch share.
class AppSettings {
public:
    static const QString kMainTitle;   // "Velno 6100 Management System"
    static const QString kSettingTitle;   // "Velno 6300 Managemant System"
    static const QString kSection;   // "Properties"
    static const QString kWindowSection;   // "Window"
    static const QString kTeamSection;   // "Team"

    explicit AppSettings(SettingsStore& store);

    // The current application title: the title of boxes that give none.
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    QString port() const;
    void storePort(const QString& value);
    QString phone() const;
    void storePhone(const QString& value);
    QString setupString() const;
    void storeSetupString(const QString& value);
    QString byteCycle() const;
    void storeByteCycle(const QString& value);
    // As QWidget::saveGeometry gives it; empty when none is stored or the
    // stored text is not base64.
    QByteArray windowGeometry() const;
    void storeWindowGeometry(const QByteArray& geometry);
    // The team database's URI, under the main title whatever the current
    // title is, without blanks around it (it also keys the shipping marks
    // and the copy of the team's book); empty while working alone.
    QString teamDatabase() const;
    void storeTeamDatabase(const QString& uri);

private:
    QString read(const QString& application, const QString& key) const;
    void store(const QString& application, const QString& key, const QString& value);

    SettingsStore& m_store;
    QString m_title = kMainTitle;
};
