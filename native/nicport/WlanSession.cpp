#include "WlanSession.h"

#include <cstring>
#include <cwchar>

namespace nicport {
namespace {
// More interfaces than this in one list are not believed.
constexpr DWORD kMaxInterfaces = 64;
constexpr size_t kDescriptionChars = 256;

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// An interface's description (a fixed field, not always terminated) in the
// ANSI code page, as the IP helper and the registry give adapter names.
void Describe(const WLAN_INTERFACE_INFO& info, char* out, size_t size) {
    const WCHAR* text = info.strInterfaceDescription;
    const int length = static_cast<int>(wcsnlen(text, kDescriptionChars));
    const int written =
        ::WideCharToMultiByte(CP_ACP, 0, text, length, out, static_cast<int>(size - 1), nullptr, nullptr);
    out[written > 0 ? written : 0] = '\0';
}
}  // namespace

CWlanSession::~CWlanSession() { CloseClient(); }

void CWlanSession::CloseClient() {
    Unregister();
    if (m_hClient) Fn().CloseHandle(m_hClient, nullptr);
    m_hClient = nullptr;
}

bool CWlanSession::Start() {
    if (m_hClient) return true;
    if (!m_api.Load()) return false;
    DWORD negotiated = 0;
    HANDLE client = nullptr;
    if (Fn().OpenHandle(WLAN_API_VERSION_2_0, nullptr, &negotiated, &client) != ERROR_SUCCESS || !client) return false;
    m_hClient = client;
    return true;
}

bool CWlanSession::ChooseInterface(const char* name) {
    m_bHaveInterface = false;
    m_bLost = false;
    m_szDescription[0] = '\0';
    if (!m_hClient) return false;

    WlanMemory<WLAN_INTERFACE_INFO_LIST> list(Fn());
    if (Note(Fn().EnumInterfaces(m_hClient, nullptr, list.put())) != ERROR_SUCCESS || !list) return false;
    const DWORD count = list->dwNumberOfItems < kMaxInterfaces ? list->dwNumberOfItems : kMaxInterfaces;
    if (count == 0) return false;

    DWORD chosen = 0;
    char description[sizeof(m_szDescription)];
    for (DWORD i = 0; name && i < count; ++i) {
        Describe(list->InterfaceInfo[i], description, sizeof(description));
        if (std::strstr(description, name)) {
            chosen = i;
            break;
        }
    }
    Describe(list->InterfaceInfo[chosen], m_szDescription, sizeof(m_szDescription));

    const GUID& guid = list->InterfaceInfo[chosen].InterfaceGuid;
    if (!SameGuid(guid, m_events.iface)) {
        // The callback compares against the interface: change it only while
        // no callback can run.
        Unregister();
        m_events.iface = guid;
    }
    m_events.gone = false;
    Register();
    m_bHaveInterface = true;
    return true;
}

bool CWlanSession::Usable() const { return m_bHaveInterface && !m_bLost && !m_bStale && !m_events.gone.load(); }

DWORD CWlanSession::Note(DWORD result) {
    switch (result) {
    case ERROR_NOT_FOUND:
        m_bLost = true;
        break;
    case ERROR_INVALID_HANDLE:
    case RPC_S_SERVER_UNAVAILABLE:
    case RPC_S_CALL_FAILED:
    case RPC_S_INVALID_BINDING:
        m_bStale = true;
        break;
    default:
        break;
    }
    return result;
}

DWORD CWlanSession::Query(WLAN_INTF_OPCODE opcode, DWORD& size, PVOID* data) {
    size = 0;
    if (!Usable() || !Fn().QueryInterface) return ERROR_INVALID_FUNCTION;
    return Note(Fn().QueryInterface(m_hClient, &m_events.iface, opcode, nullptr, &size, data, nullptr));
}

void CWlanSession::Register() {
    if (m_bRegistered || !m_hClient || !Fn().RegisterNotification) return;
    // Every notification counts (no duplicates dropped): two scans that end
    // alike are still two scans.
    const DWORD sources[] = {WLAN_NOTIFICATION_SOURCE_ACM | WLAN_NOTIFICATION_SOURCE_MSM,
                             WLAN_NOTIFICATION_SOURCE_ACM};
    for (DWORD source : sources) {
        if (Fn().RegisterNotification(m_hClient, source, FALSE, &CWlanSession::OnNotification, &m_events, nullptr,
                                      nullptr) == ERROR_SUCCESS) {
            m_bRegistered = true;
            return;
        }
    }
}

void CWlanSession::Unregister() {
    if (!m_bRegistered) return;
    // Returns only once a callback that is running has finished.
    Fn().RegisterNotification(m_hClient, WLAN_NOTIFICATION_SOURCE_NONE, FALSE, nullptr, nullptr, nullptr, nullptr);
    m_bRegistered = false;
}

void WINAPI CWlanSession::OnNotification(PWLAN_NOTIFICATION_DATA data, PVOID context) {
    auto* events = static_cast<Events*>(context);
    if (!data || !events || !SameGuid(data->InterfaceGuid, events->iface)) return;
    if (data->NotificationSource == WLAN_NOTIFICATION_SOURCE_ACM) {
        switch (data->NotificationCode) {
        case wlan_notification_acm_scan_complete:
        case wlan_notification_acm_scan_fail:
            ++events->scans;
            break;
        case wlan_notification_acm_interface_removal:
            events->gone = true;
            break;
        case wlan_notification_acm_connection_complete:
        case wlan_notification_acm_disconnected:
            ++events->changes;
            break;
        default:
            break;
        }
    } else if (data->NotificationSource == WLAN_NOTIFICATION_SOURCE_MSM) {
        switch (data->NotificationCode) {
        case kMsmConnected:
        case kMsmDisconnected:
        case kMsmRadioStateChange:
        case kMsmSignalQualityChange:
            ++events->changes;
            break;
        case kMsmAdapterRemoval:
            events->gone = true;
            break;
        default:
            break;
        }
    }
}

}  // namespace nicport
