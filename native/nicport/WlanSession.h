// One client of the Native Wi-Fi service: the loaded API, the client
// handle, the interface that Open chose and the notifications about it.
//
// The service calls the notification callback on a thread of its own. The
// callback only counts what it hears in atomics that the GUI thread reads;
// it never calls the API or a window. The interface it compares against
// changes only while no callback is registered.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "WlanApi.h"

namespace nicport {

class CWlanSession {
public:
    CWlanSession() = default;
    // Unregisters the notifications, then closes the handle; the module
    // goes last.
    ~CWlanSession();
    CWlanSession(const CWlanSession&) = delete;
    CWlanSession& operator=(const CWlanSession&) = delete;

    // Loads the API and opens a client handle (client version 2).
    bool Start();
    // Takes the interface whose description contains `name`, else the first
    // one; false when the service lists none.
    bool ChooseInterface(const char* name);
    // An interface is chosen and has not gone away since.
    bool Usable() const;
    // The handle no longer works (the service went away): only a new
    // session helps.
    bool Stale() const { return m_bStale; }

    const WlanFunctions& Fn() const { return m_api.Fn(); }
    HANDLE Client() const { return m_hClient; }
    const GUID& Interface() const { return m_events.iface; }
    // The chosen interface's description in the ANSI code page.
    const char* Description() const { return m_szDescription; }

    // Takes note of a call's result on the interface: ERROR_NOT_FOUND means
    // the interface is gone; a broken handle or connection to the service
    // makes the session stale.
    DWORD Note(DWORD result);
    // WlanQueryInterface on the chosen interface, its result noted.
    DWORD Query(WLAN_INTF_OPCODE opcode, DWORD& size, PVOID* data);

    // Counters the notifications advance: changes of the connection, the
    // radio or the signal, and finished (or failed) scans.
    uint32_t Changes() const { return m_events.changes.load(); }
    uint32_t ScansFinished() const { return m_events.scans.load(); }

private:
    struct Events {
        GUID iface = {};
        std::atomic<bool> gone{false};
        std::atomic<uint32_t> changes{0};
        std::atomic<uint32_t> scans{0};
    };
    static void WINAPI OnNotification(PWLAN_NOTIFICATION_DATA data, PVOID context);
    void Register();
    void Unregister();
    void CloseClient();

    CWlanApi m_api;
    HANDLE m_hClient = nullptr;
    Events m_events;
    bool m_bRegistered = false;
    bool m_bHaveInterface = false;
    bool m_bLost = false;
    bool m_bStale = false;
    char m_szDescription[512] = {};
};

}  // namespace nicport
