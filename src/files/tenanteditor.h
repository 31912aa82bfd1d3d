// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/tenanteditorui.h"

#include <QDialog>

class AppSettings;
class PendingTenantFile;
struct Platform;
struct TenantRecord;

// The tenant editor (tntform, tntform1, tntform2 for directory numbers of 2,
// 3 and 4 digits): the operator adds tenant records to a list, edits it
// freely, saves it to a tenant file and prints it. The list and the name it
// was saved under live as long as the window.
class TenantEditor : public QDialog {
    Q_OBJECT
public:
    static const QString kSendTitle;   // the printed title line

    TenantEditor(int digits, Platform& platform, const AppSettings& settings, PendingTenantFile& pending,
                 QWidget* parent = nullptr);

    static QString windowName(int digits);
    static QString incompleteDirectoryPrompt(int digits);

    int digits() const { return m_digits; }
    TenantEditorUi& ui() { return m_ui; }
    // The name Save writes to without asking; empty until a save succeeds.
    const QString& saveName() const { return m_saveName; }

    void Form_Load();
    void ent_Click();
    void tntsave_Click();
    void tntsaveas_Click();
    void Command1_Click();
    void qui_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class SaveDialog { WhenUnnamed, Always };

    void wire();
    void wireKeyboardFlow();
    TenantRecord typedRecord() const;
    void clearFields();
    void save(SaveDialog when);
    QString chooseSaveName(SaveDialog when);

    const int m_digits;
    Platform& m_platform;
    const AppSettings& m_settings;
    PendingTenantFile& m_pending;
    TenantEditorUi m_ui;
    QString m_saveName;
};
