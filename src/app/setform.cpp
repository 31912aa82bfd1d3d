// SPDX-License-Identifier: GPL-3.0-or-later
#include "setform.h"

#include "core/appsettings.h"
#include "desktop/controlevents.h"
#include "desktop/onelinefield.h"
#include "desktop/tabchain.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Client area 4092 x 2100 twips at 15 twips a pixel.
constexpr int kWidth = 4092 / 15;
constexpr int kHeight = 2100 / 15;
}   // namespace

SetForm::SetForm(AppSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings)
{
    build();
}

void SetForm::build()
{
    setObjectName(QStringLiteral("setform"));
    setWindowTitle(QStringLiteral("Velno 6100 Management System"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Modem Comm Setting"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Modem Comm Setting"));
    OneLineField::keep(Text1);   // the setup string goes to the modem as one line
    Label1->setBuddy(Text1);
    Label2 = new QLabel(QStringLiteral("ByteCycle( ms )"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("ByteCycle( ms )"));
    // Editable so that a stored value outside the list still shows, read-only
    // so that a value can only be chosen from the list.
    Combo1->setEditable(true);
    Combo1->lineEdit()->setReadOnly(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Label2->setBuddy(Combo1);
    ControlEvents::of(Combo1->lineEdit()).keyPress = [this](int& ch) { Combo1_KeyPress(ch); };

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &SetForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SetForm::Command2_Click);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Text1, 1, 0);
    grid->addWidget(Combo1, 1, 1);
    grid->addWidget(Command1, 2, 0, Qt::AlignLeft);
    grid->addWidget(Command2, 2, 1, Qt::AlignRight);
    setTabChain({Text1, Combo1, Command1, Command2});
    setMinimumSize(kWidth, kHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void SetForm::Form_Load()
{
    Combo1->addItems({QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("15")});
    m_settings.setTitle(AppSettings::kSettingTitle);
    const QString byteCycle = m_settings.byteCycle();
    const QString setup = m_settings.setupString();
    Text1->setText(setup);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(byteCycle);
    Combo1->update();
}

void SetForm::Command1_Click()
{
    m_settings.storeSetupString(Text1->text());
    if (!Text1->text().isEmpty())
        m_settings.storeByteCycle(Combo1->currentText());
    unload();
}

void SetForm::Command2_Click()
{
    unload();
}

void SetForm::Combo1_KeyPress(int& charCode)
{
    charCode = 0;
}

void SetForm::reject()
{
    Command2_Click();
}

void SetForm::unload()
{
    QDialog::done(QDialog::Accepted);   // ends a modal showing; hides an invisible one
    emit unloaded();
}
