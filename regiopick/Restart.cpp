#include "Restart.h"

#include <setupapi.h>

#include "Adapters.h"
#include "Handles.h"

namespace regiopick {

namespace {

// Long enough for the driver to have let go of the card before it starts again.
constexpr DWORD kDisabledMs = 2000;

void ChangeState(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD state) {
    SP_PROPCHANGE_PARAMS params = {};
    params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
    params.StateChange = state;
    params.Scope = DICS_FLAG_CONFIGSPECIFIC;
    params.HwProfile = 0;  // the current hardware profile
    // Each call goes ahead whatever the one before answered: the restart is
    // a best effort that reports nothing.
    ::SetupDiSetClassInstallParamsA(devices, &device, &params.ClassInstallHeader, sizeof(params));
    ::SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, devices, &device);
}

}  // namespace

bool RestartAdapter(HWND parent) {
    DeviceInfoList devices(::SetupDiGetClassDevsA(nullptr, nullptr, parent, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!devices.Valid()) return false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        // One byte more than is read, so that whatever the property holds ends.
        char description[501] = {};
        if (!::SetupDiGetDeviceRegistryPropertyA(devices.Get(), &device, SPDRP_DEVICEDESC, nullptr,
                                                 reinterpret_cast<BYTE*>(description), sizeof(description) - 1,
                                                 nullptr) ||
            ::lstrcmpA(description, kAdapterDescription) != 0)
            continue;
        ChangeState(devices.Get(), device, DICS_DISABLE);
        ::Sleep(kDisabledMs);
        ChangeState(devices.Get(), device, DICS_ENABLE);
        return true;
    }
    return false;
}

}  // namespace regiopick
