// Owners of the system handles Regiopick opens, released on every path.
#pragma once

#include <windows.h>
#include <setupapi.h>

namespace regiopick {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool Open(HKEY parent, const char* path, REGSAM access) {
        Close();
        if (::RegOpenKeyExA(parent, path, 0, access, &m_key) != ERROR_SUCCESS) m_key = nullptr;
        return m_key != nullptr;
    }
    HKEY Get() const { return m_key; }

private:
    void Close() {
        if (m_key) ::RegCloseKey(m_key);
        m_key = nullptr;
    }
    HKEY m_key = nullptr;
};

class DeviceInfoList {
public:
    explicit DeviceInfoList(HDEVINFO list) : m_list(list) {}
    ~DeviceInfoList() {
        if (Valid()) ::SetupDiDestroyDeviceInfoList(m_list);
    }
    DeviceInfoList(const DeviceInfoList&) = delete;
    DeviceInfoList& operator=(const DeviceInfoList&) = delete;

    bool Valid() const { return m_list && m_list != INVALID_HANDLE_VALUE; }
    HDEVINFO Get() const { return m_list; }

private:
    HDEVINFO m_list;
};

}  // namespace regiopick
