// A class installer for the tests' own device class, which Regiopick reaches
// through Wine's real device installer. It notes each property change asked
// of it below HKCU\Software\RegiopickTest\Installer: "callN" is "device
// instance|radioEnable|InstallFinish", the last two read at that moment from
// the adapter instance that "Watch" names, and "tickN" the time.
#include <windows.h>
#include <setupapi.h>

#include <string>

#include "support/TestProcess.h"

namespace {

const char kLog[] = "Software\\RegiopickTest\\Installer";

std::string Read(HKEY root, const std::string& path, const char* name) {
    char data[300] = {};
    DWORD size = sizeof(data) - 1;
    return ::RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) ? "-" : data;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD CALLBACK
    RegiopickTestInstaller(DI_FUNCTION function, HDEVINFO devices, PSP_DEVINFO_DATA device) {
    if (function != DIF_PROPERTYCHANGE) return ERROR_DI_DO_DEFAULT;
    char instance[256] = "-";
    ::SetupDiGetDeviceInstanceIdA(devices, device, instance, sizeof(instance), nullptr);
    const std::string adapter = Read(HKEY_CURRENT_USER, kLog, "Watch");
    const std::string entry = std::string(instance) + "|" + Read(HKEY_LOCAL_MACHINE, adapter, "radioEnable") + "|" +
                              Read(HKEY_LOCAL_MACHINE, adapter, "InstallFinish");
    int n = 0;
    while (Read(HKEY_CURRENT_USER, kLog, ("call" + std::to_string(n)).c_str()) != "-") ++n;
    testsupport::WriteString(HKEY_CURRENT_USER, kLog, ("tick" + std::to_string(n)).c_str(),
                             std::to_string(::GetTickCount()));
    testsupport::WriteString(HKEY_CURRENT_USER, kLog, ("call" + std::to_string(n)).c_str(), entry);
    return NO_ERROR;
}
