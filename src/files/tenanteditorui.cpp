// SPDX-License-Identifier: GPL-3.0-or-later
#include "tenanteditorui.h"

#include "desktop/maskedfield.h"
#include "desktop/tabchain.h"
#include "desktop/windowfit.h"
#include "files/eightbitvalidator.h"
#include "files/tenantlist.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int kNameLength = 17;
constexpr int kTwipsPerPixel = 15;
constexpr int kDigitWidthTwips = 150;

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

MaskedField* masked(const char* name, const QString& mask, QWidget* parent)
{
    auto* field = named(new MaskedField(mask, parent), name);
    field->setMaximumWidth((mask.size() + 3) * kDigitWidthTwips / kTwipsPerPixel);
    return field;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    return named(new QPushButton(caption, parent), name);
}

void addLabelled(QGridLayout* grid, int column, const QString& label, QWidget* field)
{
    auto* caption = new QLabel(label, field->parentWidget());
    caption->setBuddy(field);
    field->setAccessibleName(label.trimmed());
    grid->addWidget(caption, 0, column);
    grid->addWidget(field, 1, column);
}

void buildFields(QDialog* window, int digits, QVBoxLayout* column, TenantEditorUi& ui)
{
    ui.dirtenant = masked("dirtenant", QString(digits, u'#'), window);
    ui.teltenant = masked("teltenant", QStringLiteral("###########"), window);
    ui.adtenant = masked("adtenant", QStringLiteral("####"), window);
    ui.doortnt = masked("doortnt", QStringLiteral("#"), window);
    ui.Text2 = named(new QLineEdit(window), "Text2");
    ui.Text2->setMaxLength(kNameLength);
    ui.Text2->setValidator(new EightBitValidator(ui.Text2));
    ui.Text2->setText(QStringLiteral(" "));

    auto* grid = new QGridLayout;
    addLabelled(grid, 0, QStringLiteral("TenantDir"), ui.dirtenant);
    addLabelled(grid, 1, QStringLiteral("Tel.No"), ui.teltenant);
    addLabelled(grid, 2, QStringLiteral("Code"), ui.adtenant);
    addLabelled(grid, 3, QStringLiteral("Door"), ui.doortnt);
    addLabelled(grid, 4, QStringLiteral(" Name"), ui.Text2);
    grid->setColumnStretch(5, 1);   // the width gained goes past the fields
    column->addLayout(grid);
}

void buildButtons(QDialog* window, QVBoxLayout* column, TenantEditorUi& ui)
{
    ui.ent = button("ent", QString(), window);
    ui.tntsave = button("tntsave", QStringLiteral("Save"), window);
    ui.tntsaveas = button("tntsaveas", QStringLiteral("Save As"), window);
    ui.Command1 = button("Command1", QStringLiteral("Print"), window);
    ui.qui = button("qui", QStringLiteral("Quit"), window);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {ui.ent, ui.tntsave, ui.tntsaveas, ui.Command1, ui.qui})
        row->addWidget(b);
    row->addStretch(1);
    column->addLayout(row);
}

void setTabOrder(const TenantEditorUi& ui)
{
    setTabChain({ui.dirtenant, ui.teltenant, ui.adtenant, ui.doortnt, ui.Text2, ui.ent, ui.tntsave,
                 ui.tntsaveas, ui.Command1, ui.qui, ui.Text1});
}

}   // namespace

void buildTenantEditor(QDialog* window, int digits, TenantEditorUi& ui)
{
    window->setWindowTitle(QStringLiteral("Velno 6100 Management System"));
    auto* column = new QVBoxLayout(window);
    buildFields(window, digits, column, ui);
    buildButtons(window, column, ui);

    ui.Text1 = named(new TenantList(window), "Text1");
    ui.Text1->setAccessibleName(QStringLiteral("Tenant list"));
    ui.Text1->setTabChangesFocus(true);   // Tab leaves the list, as in every field
    column->addWidget(ui.Text1, 1);

    ui.StatusBar1 = named(new QStatusBar(window), "StatusBar1");
    ui.StatusBar1->setSizeGripEnabled(false);
    column->addWidget(ui.StatusBar1);
    setTabOrder(ui);
    // The list takes every pixel the window gains.
    openAtFirstSize(window, QSize(8000 / kTwipsPerPixel, 5000 / kTwipsPerPixel));
}
