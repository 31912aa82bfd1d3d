// SPDX-License-Identifier: GPL-3.0-or-later
#include "testplatform.h"

namespace {

std::unique_ptr<IniSettingsStore> iniStoreFor(const QString& folder)
{
    return folder.isEmpty() ? nullptr : std::make_unique<IniSettingsStore>(folder);
}

}   // namespace

TestPlatform::TestPlatform(int realMsPerSecond)
    : TestPlatform(Options{realMsPerSecond, false, QString(), QString()})
{}

TestPlatform::TestPlatform(const Options& options)
    : iniStore(iniStoreFor(options.settingsFolder)),
      realPort(options.realPort
                   ? std::make_unique<QtSerialPort>(iniStore ? static_cast<SettingsStore&>(*iniStore) : store)
                   : nullptr),
      platform{realPort ? static_cast<SerialPort&>(*realPort) : port,
               prompter,
               iniStore ? static_cast<SettingsStore&>(*iniStore) : store,
               clock,
               clipboard,
               printer,
               opener,
               options.tickMs,
               options.settingsFolder,
               options.dataFolder.isEmpty() ? dataDir.path() : options.dataFolder}
{}

TestPlatform::~TestPlatform()
{
    if (realPort)
        realPort->close();
}

void TestPlatform::mapPort(int number, const QString& device)
{
    platform.store.store(QLatin1String(QtSerialPort::kApplication), QLatin1String(QtSerialPort::kSection),
                         QString::number(number), device);
}
