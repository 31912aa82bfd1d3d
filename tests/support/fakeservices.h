// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/clipboard.h"
#include "desktop/desktopopener.h"
#include "desktop/printer.h"
#include "platform/clock.h"
#include "platform/settingsstore.h"

#include <QMap>
#include <QStringList>

// Settings held in memory, keys compared without regard to case.
class MemorySettingsStore : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& fallback) const override;
    void store(const QString& application, const QString& section, const QString& key,
               const QString& value) override;

    bool contains(const QString& application, const QString& section, const QString& key) const;
    int stores = 0;

private:
    static QString address(const QString& application, const QString& section, const QString& key);
    QMap<QString, QString> m_values;
};

class FixedClock : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time = QDateTime(QDate(2003, 1, 20), QTime(9, 5, 0));
};

class FakeClipboard : public Clipboard {
public:
    void clear() override { content.clear(), ++clears; }
    void setText(const QString& text) override { content = text; }
    QString text() const override { return content; }
    QString content;
    int clears = 0;
};

class FakeOpener : public DesktopOpener {
public:
    bool openFile(const QString& path) override
    {
        opened.append(path);
        return true;
    }
    QStringList opened;
};

// Records what would be printed, one line of text per call, pages counted.
class FakePrinter : public Printer {
public:
    bool showPrintDialog(int& copiesOut) override;
    int printableWidth() const override { return width; }
    int printableHeight() const override { return height; }
    int lineHeight() const override { return lineStep; }
    int textWidth(const QString& text) const override { return int(text.size()) * 120; }
    void setCurrentX(int twips) override { x = twips; }
    void setCurrentY(int twips) override { y = twips; }
    bool printLine(const QString& text) override;
    bool newPage() override
    {
        ++pages;
        return true;
    }
    bool endDoc() override
    {
        ++ended;
        return true;
    }

    bool cancel = false;
    int copies = 1;
    int width = 11000;
    int height = 15000;
    int lineStep = 240;
    int x = 0;
    int y = 0;
    QStringList lines;   // "x,y:text"
    int pages = 0;
    int ended = 0;
};
