// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/parameterfile.h"

#include <QObject>

struct Form1Context;

// Save Parameter and Open Parameter: the seven parameter fields of the main
// window to and from a parameter file. Nothing is sent to the panel.
class ParameterMenu : public QObject {
    Q_OBJECT
public:
    static const QString kSaveFilter;
    static const QString kOpenFilter;

    explicit ParameterMenu(Form1Context& ctx, QObject* parent = nullptr);

    void mnuopenpar_Click();
    void OpenPar_Click();

    ParameterValues currentValues() const;
    void apply(const ParameterAssignment& assignment);

private:
    QString chooseSaveTarget();
    bool replaceAllowed(const QString& path);

    Form1Context& m_ctx;
};
