// Taking the adapter away from the operating system's wireless
// zero-configuration service for the time of the run.
#include <windows.h>
#include <winsvc.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/AdapterText.h"
#include "app/MonitorApp.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const char kZeroConfigService[] = "WZCSVC";
const char kNetworkCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kInterfaceKeyFormat[] = "Software\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\%s";
const DWORD kStopTimeoutMs = 5000;
const DWORD kZeroConfigEnabledBit = 0x00008000;

char g_adapterServiceName[100];

// Reads a text value into `buffer` of `size` bytes, always terminated.
bool ReadText(HKEY key, const char* name, char* buffer, DWORD size) {
    DWORD read = size;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &read) != ERROR_SUCCESS)
        return false;
    buffer[read < size ? read : size - 1] = '\0';
    return true;
}
}  // namespace

void ControlZeroConfigService(bool start) {
    fw::ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return;
    fw::ServiceHandle service(::OpenServiceA(manager.get(), kZeroConfigService, SERVICE_ALL_ACCESS));
    if (!service) return;

    SERVICE_STATUS status = {};
    if (!::QueryServiceStatus(service.get(), &status)) return;

    if (status.dwCurrentState == SERVICE_RUNNING && !start) {
        const DWORD started = ::GetTickCount();
        ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
        while (status.dwCurrentState != SERVICE_STOPPED) {
            ::Sleep(status.dwWaitHint);
            if (!::QueryServiceStatus(service.get(), &status)) break;
            if (::GetTickCount() - started > kStopTimeoutMs) break;
        }
    } else if (status.dwCurrentState == SERVICE_STOPPED && start) {
        ::StartServiceA(service.get(), 0, nullptr);
    }
}

const char* FindAdapterServiceName(const char* description) {
    g_adapterServiceName[0] = '\0';
    if (!description) return nullptr;
    fw::RegKey cards;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNetworkCards, 0, KEY_READ, cards.put()) != ERROR_SUCCESS) return nullptr;

    char subkeyName[100];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof(subkeyName);
        if (::RegEnumKeyExA(cards.get(), index, subkeyName, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        fw::RegKey card;
        if (::RegOpenKeyExA(cards.get(), subkeyName, 0, KEY_READ, card.put()) != ERROR_SUCCESS) continue;
        char text[100];
        if (!ReadText(card.get(), "Description", text, sizeof(text)) || std::strcmp(text, description) != 0) continue;
        if (ReadText(card.get(), "ServiceName", text, sizeof(text))) {
            std::memcpy(g_adapterServiceName, text, sizeof(g_adapterServiceName));
            return g_adapterServiceName;
        }
    }
    return nullptr;
}

void ReleaseAdapterFromZeroConfig() {
    // The main window has not opened the adapter yet: a library that names
    // its adapter is asked which one it will open.
    const std::string description = AdapterTextBeforeOpen(theDevice, fw::res::String(IDS_ADAPTER));
    const char* serviceName = FindAdapterServiceName(description.c_str());
    if (!serviceName) return;

    char path[256];
    std::snprintf(path, sizeof(path), kInterfaceKeyFormat, serviceName);
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;

    // The value belongs to the service: only a 4-byte REG_DWORD is the flags
    // word this program knows. Anything else is left as it is, type and all.
    DWORD type = REG_NONE;
    DWORD flags = 0;
    DWORD size = sizeof(flags);
    if (::RegQueryValueExA(key.get(), "ControlFlags", nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(flags))
        return;
    flags &= ~kZeroConfigEnabledBit;
    ::RegSetValueExA(key.get(), "ControlFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags));
}
