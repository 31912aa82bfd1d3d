// SPDX-License-Identifier: GPL-3.0-or-later
#include "setformhost.h"

#include "app/setform.h"
#include "core/appsettings.h"

#include <QComboBox>
#include <QLineEdit>

SetFormHost::SetFormHost(AppSettings& settings, QWidget* parent) : m_settings(settings), m_parent(parent) {}

SetFormHost::~SetFormHost()
{
    delete m_form.data();
}

SetForm& SetFormHost::ensureLoaded()
{
    if (!m_form) {
        m_form = new SetForm(m_settings, m_parent);
        SetForm* form = m_form;
        QObject::connect(form, &SetForm::unloaded, form, [this, form] {
            if (m_form == form)
                m_form = nullptr;
            form->deleteLater();
        });
        form->Form_Load();
    }
    return *m_form;
}

void SetFormHost::showModal()
{
    ensureLoaded().exec();
}

QString SetFormHost::setupString()
{
    return ensureLoaded().Text1->text();
}

const QLineEdit* SetFormHost::setupStringField()
{
    return ensureLoaded().Text1;
}

QString SetFormHost::byteCycle()
{
    return ensureLoaded().Combo1->currentText();
}

// A dialog that is not loaded would read the stored ByteCycle value and OK
// would store it again unchanged: storing the setup string is all its OK does.
void SetFormHost::storeSetupString(const QString& setup)
{
    if (!m_form) {
        m_settings.storeSetupString(setup);
        return;
    }
    m_form->Text1->setText(setup);
    m_form->Command1_Click();
}
