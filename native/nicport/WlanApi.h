// The Native Wi-Fi API as this library reaches it: wlanapi.dll loaded at
// run time, so that nicport.dll loads on every system and an operation
// simply fails where the API or one of its functions is missing, plus owners
// for what the API hands out.
#pragma once

#include <windows.h>
#include <wlanapi.h>

#include <utility>

// What the MinGW headers of this generation leave out.
#ifndef WLAN_API_VERSION_2_0
#define WLAN_API_VERSION_2_0 2
#endif
#ifndef ERROR_NDIS_DOT11_POWER_STATE_INVALID
#define ERROR_NDIS_DOT11_POWER_STATE_INVALID 0x80342002L
#endif

namespace nicport {

// Notification codes of the media-specific module (WLAN_NOTIFICATION_MSM),
// which the headers lack.
enum : DWORD {
    kMsmConnected = 4,
    kMsmRadioStateChange = 7,
    kMsmSignalQualityChange = 8,
    kMsmDisconnected = 10,
    kMsmAdapterRemoval = 13,
};

// The entry points of wlanapi.dll this library calls. A member is null
// when the DLL lacks the function.
struct WlanFunctions {
    decltype(&::WlanOpenHandle) OpenHandle = nullptr;
    decltype(&::WlanCloseHandle) CloseHandle = nullptr;
    decltype(&::WlanFreeMemory) FreeMemory = nullptr;
    decltype(&::WlanEnumInterfaces) EnumInterfaces = nullptr;
    decltype(&::WlanRegisterNotification) RegisterNotification = nullptr;
    decltype(&::WlanQueryInterface) QueryInterface = nullptr;
    decltype(&::WlanSetInterface) SetInterface = nullptr;
    decltype(&::WlanGetInterfaceCapability) GetInterfaceCapability = nullptr;
    decltype(&::WlanScan) Scan = nullptr;
    decltype(&::WlanGetNetworkBssList) GetNetworkBssList = nullptr;
    decltype(&::WlanSetProfile) SetProfile = nullptr;
    decltype(&::WlanConnect) Connect = nullptr;
};

// Owns the loaded wlanapi.dll and its function table.
class CWlanApi {
public:
    CWlanApi() = default;
    ~CWlanApi();
    CWlanApi(const CWlanApi&) = delete;
    CWlanApi& operator=(const CWlanApi&) = delete;

    // Loads the DLL and looks its functions up; false when the DLL is
    // missing or lacks what every session needs (open, close, enumerate,
    // free).
    bool Load();
    const WlanFunctions& Fn() const { return m_fn; }

private:
    HMODULE m_hModule = nullptr;
    WlanFunctions m_fn;
};

// One buffer the API returned, freed with WlanFreeMemory.
template <typename T>
class WlanMemory {
public:
    explicit WlanMemory(const WlanFunctions& fn) : m_fn(&fn) {}
    ~WlanMemory() { reset(); }
    WlanMemory(const WlanMemory&) = delete;
    WlanMemory& operator=(const WlanMemory&) = delete;
    WlanMemory(WlanMemory&& other) noexcept : m_fn(other.m_fn), m_p(std::exchange(other.m_p, nullptr)) {}

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void reset() {
        if (m_p && m_fn->FreeMemory) m_fn->FreeMemory(m_p);
        m_p = nullptr;
    }
    // For the API's out parameter; whatever was held is freed first.
    T** put() {
        reset();
        return &m_p;
    }
    PVOID* put_void() { return reinterpret_cast<PVOID*>(put()); }

private:
    const WlanFunctions* m_fn;
    T* m_p = nullptr;
};

}  // namespace nicport
