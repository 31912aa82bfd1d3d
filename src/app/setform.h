// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class AppSettings;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The modem comm setting dialog: the modem setup string and the ByteCycle value.
class SetForm : public QDialog {
    Q_OBJECT
public:
    SetForm(AppSettings& settings, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;   // "OK"
    QPushButton* Command2 = nullptr;   // "Cancel"

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Combo1_KeyPress(int& charCode);

    // The close box and Escape unload the dialog like Cancel.
    void reject() override;

signals:
    void unloaded();

private:
    void build();
    void unload();

    AppSettings& m_settings;
};
