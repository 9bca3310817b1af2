// Owners of the system handles this library opens besides the API's own.
#pragma once

#include <windows.h>
#include <setupapi.h>

namespace nicport {

class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : m_key(key) {}
    ~RegKey() {
        if (m_key && m_key != INVALID_HANDLE_VALUE) ::RegCloseKey(m_key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return m_key; }
    explicit operator bool() const { return m_key && m_key != INVALID_HANDLE_VALUE; }

private:
    HKEY m_key = nullptr;
};

class DeviceInfoList {
public:
    explicit DeviceInfoList(HDEVINFO list) : m_list(list) {}
    ~DeviceInfoList() {
        if (m_list != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(m_list);
    }
    DeviceInfoList(const DeviceInfoList&) = delete;
    DeviceInfoList& operator=(const DeviceInfoList&) = delete;
    HDEVINFO get() const { return m_list; }
    explicit operator bool() const { return m_list != INVALID_HANDLE_VALUE; }

private:
    HDEVINFO m_list;
};

}  // namespace nicport
