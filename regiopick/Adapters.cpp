#include "Adapters.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Handles.h"

namespace regiopick {

const char kAdapterDescription[] = "Trellon Wireless a/b/g PC Card (TRW-AG410)";

namespace {

constexpr int kLastInstance = 9998;

std::string InstancePath(const char* classKey, int instance) {
    char name[16];
    std::snprintf(name, sizeof(name), "\\%04d", instance);
    return classKey + std::string(name);
}

void SetString(HKEY key, const char* name, const char* value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(std::strlen(value) + 1));
}

}  // namespace

int FindAdapter(const char* classKey, int from) {
    RegKey adapters;
    if (!classKey || !adapters.Open(HKEY_LOCAL_MACHINE, classKey, KEY_READ)) return -1;
    for (int n = from < 0 ? 0 : from; n <= kLastInstance; ++n) {
        char name[16];
        std::snprintf(name, sizeof(name), "%04d", n);
        RegKey instance;
        if (!instance.Open(adapters.Get(), name, KEY_QUERY_VALUE)) continue;
        // One byte more than is read, so that whatever the value holds ends.
        char description[256] = {};
        DWORD size = sizeof(description) - 1;
        if (::RegQueryValueExA(instance.Get(), "DriverDesc", nullptr, nullptr, reinterpret_cast<BYTE*>(description),
                               &size) == ERROR_SUCCESS &&
            ::lstrcmpA(description, kAdapterDescription) == 0)
            return n;
    }
    return -1;
}

void WriteCountry(const char* classKey, int instance, const char* code, ChannelRange channels) {
    const std::string path = InstancePath(classKey, instance);
    RegKey adapter;
    if (adapter.Open(HKEY_LOCAL_MACHINE, path.c_str(), KEY_ALL_ACCESS)) SetString(adapter.Get(), "ccode", code);

    RegKey list;
    if (!list.Open(HKEY_LOCAL_MACHINE, (path + "\\Ndi\\Params\\SelectedChannel\\enum").c_str(), KEY_ALL_ACCESS)) return;
    for (int channel = kFirstChannel; channel <= kLastChannel; ++channel) {
        char name[16];
        std::snprintf(name, sizeof(name), "%d", channel);
        // A channel entry is two digits; a value too long for this buffer is
        // none of ours and is left alone.
        BYTE data[20];
        DWORD size = sizeof(data);
        if (::RegQueryValueExA(list.Get(), name, nullptr, nullptr, data, &size) == ERROR_SUCCESS)
            ::RegDeleteValueA(list.Get(), name);
    }
    for (int channel = channels.first; channel <= channels.last; ++channel) {
        char name[16];
        char digits[16];
        std::snprintf(name, sizeof(name), "%d", channel);
        std::snprintf(digits, sizeof(digits), "%02d", channel);
        SetString(list.Get(), name, digits);
    }
}

void WriteSwitch(const char* classKey, int instance, const char* name) {
    RegKey adapter;
    if (adapter.Open(HKEY_LOCAL_MACHINE, InstancePath(classKey, instance).c_str(), KEY_ALL_ACCESS))
        SetString(adapter.Get(), name, "1");
}

}  // namespace regiopick
