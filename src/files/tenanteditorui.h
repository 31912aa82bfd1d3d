// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QLineEdit;
class QPushButton;
class QStatusBar;
class MaskedField;
class TenantList;

// Every control of a tenant editor window, under its own name.
struct TenantEditorUi {
    MaskedField* dirtenant = nullptr;   // "TenantDir"
    MaskedField* teltenant = nullptr;   // "Tel.No"
    MaskedField* adtenant = nullptr;   // "Code"
    MaskedField* doortnt = nullptr;   // "Door"
    QLineEdit* Text2 = nullptr;   // " Name"
    QPushButton* ent = nullptr;
    QPushButton* tntsave = nullptr;
    QPushButton* tntsaveas = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* qui = nullptr;
    TenantList* Text1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
};

// Creates the controls of the editor for directory numbers of the given
// digit count, in their tab order.
void buildTenantEditor(QDialog* window, int digits, TenantEditorUi& ui);
