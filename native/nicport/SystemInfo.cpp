#include "SystemInfo.h"

#include <iphlpapi.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>

#include "Handles.h"

namespace nicport {
namespace {
// The network adapter setup class, {4D36E972-E325-11CE-BFC1-08002BE10318}.
const GUID kNetClass = {0x4D36E972, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// More devices than this in the network class are not walked.
constexpr DWORD kMaxDevices = 512;

bool ReadText(HKEY key, const char* name, char* out, size_t size) {
    if (size == 0) return false;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size - 1);
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    out[bytes < size ? bytes : size - 1] = '\0';
    return true;
}
}  // namespace

void FormatGuid(const GUID& g, char out[39]) {
    std::snprintf(out, 39, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned long>(g.Data1),
                  g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                  g.Data4[6], g.Data4[7]);
}

bool ReadDriverVersion(const GUID& iface, char* out, size_t size) {
    if (size == 0) return false;
    out[0] = '\0';
    char wanted[39];
    FormatGuid(iface, wanted);
    DeviceInfoList devices(::SetupDiGetClassDevsA(&kNetClass, nullptr, nullptr, DIGCF_PRESENT));
    if (!devices) return false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; i < kMaxDevices && ::SetupDiEnumDeviceInfo(devices.get(), i, &device); ++i) {
        RegKey driver(::SetupDiOpenDevRegKey(devices.get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ));
        if (!driver) continue;
        char id[64];
        if (!ReadText(driver.get(), "NetCfgInstanceId", id, sizeof(id)) || ::lstrcmpiA(id, wanted) != 0) continue;
        return ReadText(driver.get(), "DriverVersion", out, size);
    }
    return false;
}

bool ReadInterfaceTraffic(const GUID& iface, ULONG& index, InterfaceTraffic& traffic) {
    traffic = InterfaceTraffic();
    if (index == 0) {
        char guid[39];
        FormatGuid(iface, guid);
        // The IP helper's adapter name: the TCP/IP device of the interface.
        wchar_t name[64] = L"\\DEVICE\\TCPIP_";
        size_t at = wcslen(name);
        for (size_t i = 0; guid[i] && at + 1 < sizeof(name) / sizeof(name[0]); ++i) name[at++] = guid[i];
        name[at] = L'\0';
        if (::GetAdapterIndex(name, &index) != NO_ERROR) {
            index = 0;
            return false;
        }
    }
    MIB_IFROW row = {};
    row.dwIndex = index;
    if (::GetIfEntry(&row) != NO_ERROR) {
        index = 0;  // looked up again next time: the index may have changed
        return false;
    }
    traffic.inOctets = row.dwInOctets;
    traffic.outOctets = row.dwOutOctets;
    traffic.inPackets = row.dwInUcastPkts + row.dwInNUcastPkts;
    traffic.outPackets = row.dwOutUcastPkts + row.dwOutNUcastPkts;
    return true;
}

}  // namespace nicport
