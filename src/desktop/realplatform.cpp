// SPDX-License-Identifier: GPL-3.0-or-later
#include "realplatform.h"

RealPlatform::RealPlatform() : RealPlatform(IniSettingsStore::defaultRoot()) {}

RealPlatform::RealPlatform(const QString& settingsRoot)
    : m_store(settingsRoot), m_port(m_store), m_platform{m_port,      m_prompter, m_store, m_clock,
                                                         m_clipboard, m_printer,  m_opener}
{
    m_platform.configFolder = settingsRoot;
}

void RealPlatform::setDialogParent(QWidget* parent)
{
    m_prompter.setDialogParent(parent);
    m_printer.setDialogParent(parent);
}
