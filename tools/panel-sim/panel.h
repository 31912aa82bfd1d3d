// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panelstate.h"

#include <QByteArray>
#include <QStringList>

// The panel's command interpreter: takes one received line (without its
// line end) and gives the answer lines. State changes need programming
// mode, entered with PGM and the master code.
class Panel {
public:
    explicit Panel(PanelState state = PanelState());

    QStringList handleLine(const QByteArray& line);

    // The connection ended (hang-up, client closed the line).
    void endSession() { m_programming = false; }

    bool isProgramming() const { return m_programming; }
    const PanelState& state() const { return m_state; }

    // Goes up with every change of the state, so callers know when to save.
    int revision() const { return m_revision; }

private:
    using Handler = QStringList (Panel::*)(const QString& word, const QString& value);
    static Handler handlerFor(const QString& word);

    QStringList enterProgramming(const QString& code);
    QStringList storeTenant(const QString& line);
    QStringList setParameter(const QString& word, const QString& value);
    QStringList setMessage(const QString& word, const QString& value);
    QStringList store(const QString& word, const QString& value);
    QStringList changeMasterCode(const QString& word, const QString& value);
    QStringList openDoor(const QString& word, const QString& value);
    QStringList clearEvents(const QString& word, const QString& value);
    QStringList clearTenants(const QString& word, const QString& value);
    QStringList print(const QString& word, const QString& value);

    QStringList parameterLines() const;
    QStringList tenantLines() const;
    QStringList eventLines() const;
    void changed() { ++m_revision; }

    PanelState m_state;
    bool m_programming = false;
    int m_revision = 0;
};
