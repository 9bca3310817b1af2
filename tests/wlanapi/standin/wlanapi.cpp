// The scripted stand-in of wlanapi.dll: every export of the Native Wi-Fi
// client library, answering from the state in HKCU\Software\WlanSim (read on
// every call, so that wlansim.exe can change it under a running program) and
// notifying from a thread of its own, after a delay, as the service does.
//
// Test-only: it exists so that the Native Wi-Fi nicport.dll can be run and
// checked where no real adapter is (Wine's own wlanapi.dll reports none).

// MinGW declares this one without WINAPI; hide that declaration so that the
// export below can have the documented calling convention.
#define WlanSetProfileEapUserData WlanSetProfileEapUserData_MinGWDeclaration
#include "StandinState.h"
#undef WlanSetProfileEapUserData

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "ProfileXml.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

using namespace standin;

namespace {

constexpr DWORD kPollMs = 250;  // the state is also watched through change notifications
constexpr DWORD kValidConnectFlags = 0x7F;

// ---------------------------------------------------------------------------
// Buffers handed to callers, and the count a test reads back.

std::mutex g_allocMutex;
std::set<void*> g_allocations;
LONG g_totalAllocations = 0;
LONG g_badFrees = 0;

// Each process's counts also go to Processes\<pid>, for wlansim show.
void PublishAllocations(LONG live, LONG total, LONG bad) {
    RegKey root = CreateRoot();
    RegKey processes = sim::CreateKey(root.get(), kProcessesSubkey);
    RegKey mine = sim::CreateKey(processes.get(), std::to_string(GetCurrentProcessId()).c_str());
    if (!mine) return;
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string image(path, n);
    sim::WriteText(mine.get(), "Image", image.substr(image.find_last_of('\\') + 1));
    sim::WriteDword(mine.get(), "Live", static_cast<DWORD>(live));
    sim::WriteDword(mine.get(), "Total", static_cast<DWORD>(total));
    sim::WriteDword(mine.get(), "BadFrees", static_cast<DWORD>(bad));
}

void* Allocate(size_t size) {
    void* p = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!p) return nullptr;
    LONG live, total, bad;
    {
        std::lock_guard<std::mutex> lock(g_allocMutex);
        g_allocations.insert(p);
        live = static_cast<LONG>(g_allocations.size());
        total = ++g_totalAllocations;
        bad = g_badFrees;
    }
    PublishAllocations(live, total, bad);
    return p;
}

template <typename T>
T* AllocateAs(size_t size) {
    return static_cast<T*>(Allocate(size));
}

void Free(void* p) {
    if (!p) return;
    bool ours;
    LONG live, total, bad;
    {
        std::lock_guard<std::mutex> lock(g_allocMutex);
        ours = g_allocations.erase(p) != 0;
        if (!ours) ++g_badFrees;  // not ours, or freed twice: counted, never passed to the heap
        live = static_cast<LONG>(g_allocations.size());
        total = g_totalAllocations;
        bad = g_badFrees;
    }
    if (ours) HeapFree(GetProcessHeap(), 0, p);
    PublishAllocations(live, total, bad);
}

// ---------------------------------------------------------------------------
// Clients, notifications and the thread that delivers them.

struct Client {
    DWORD version = 2;
    DWORD sources = 0;
    WLAN_NOTIFICATION_CALLBACK callback = nullptr;
    void* context = nullptr;
    bool busy = false;  // its callback runs now
    bool closed = false;
};

struct ConnectRequest {
    GUID iface = {};
    DWORD mode = wlan_connection_mode_profile;
    std::wstring profile;  // a name, or the XML of a temporary profile
    bool hasSsid = false;
    std::string ssid;
    DWORD bssType = dot11_BSS_type_infrastructure;
    DWORD flags = 0;
};

struct Pending {
    DWORD due = 0;
    bool connect = false;  // a connection attempt to complete, else a notification
    DWORD source = 0, code = 0;
    GUID iface = {};
    std::vector<BYTE> data;
    ConnectRequest request;
};

// What the thread saw of an interface last, to notice what changed.
struct Seen {
    bool present = false;
    std::vector<DWORD> software, hardware;
    bool connected = false;
    Connection conn;
};

std::mutex g_mutex;              // everything below
std::condition_variable g_idle;  // a callback has returned
std::map<ULONG_PTR, std::shared_ptr<Client>> g_clients;
ULONG_PTR g_nextHandle = 0x5A00;
std::deque<Pending> g_queue;     // by due time
HANDLE g_thread = nullptr;
HANDLE g_wake = nullptr;
DWORD g_threadId = 0;
bool g_stop = false;
std::map<std::string, Seen> g_seen;  // by GUID; the thread's own

std::mutex g_lifeMutex;          // starting and stopping the thread

bool Due(DWORD due, DWORD now) { return static_cast<LONG>(now - due) >= 0; }

void Enqueue(Pending p) {  // with g_mutex held
    auto at = std::find_if(g_queue.begin(), g_queue.end(),
                           [&](const Pending& q) { return static_cast<LONG>(q.due - p.due) > 0; });
    g_queue.insert(at, std::move(p));
    if (g_wake) SetEvent(g_wake);
}

DWORD NotifyDelay() {
    RegKey root = OpenRoot();
    return ReadSettings(root.get()).notifyDelayMs;
}

void Notify(DWORD source, DWORD code, const GUID& iface, std::vector<BYTE> data = {}, DWORD delay = NotifyDelay()) {
    Pending p;
    p.due = GetTickCount() + delay;
    p.source = source;
    p.code = code;
    p.iface = iface;
    p.data = std::move(data);
    std::lock_guard<std::mutex> lock(g_mutex);
    Enqueue(std::move(p));
}

template <typename T>
std::vector<BYTE> Bytes(const T& value) {
    const BYTE* b = reinterpret_cast<const BYTE*>(&value);
    return std::vector<BYTE>(b, b + sizeof(T));
}

void CopySsid(DOT11_SSID& out, const std::string& ssid) {
    out.uSSIDLength = static_cast<ULONG>(std::min<size_t>(ssid.size(), DOT11_SSID_MAX_LENGTH));
    memcpy(out.ucSSID, ssid.data(), out.uSSIDLength);
}

void CopyName(WCHAR (&out)[WLAN_MAX_NAME_LENGTH], const std::wstring& name) {
    size_t n = std::min<size_t>(name.size(), WLAN_MAX_NAME_LENGTH - 1);
    memcpy(out, name.data(), n * sizeof(WCHAR));
    out[n] = 0;
}

std::vector<BYTE> ConnectionData(const Connection& c, DWORD reasonCode) {
    WLAN_CONNECTION_NOTIFICATION_DATA d = {};
    d.wlanConnectionMode = static_cast<WLAN_CONNECTION_MODE>(c.mode);
    CopyName(d.strProfileName, c.profile);
    CopySsid(d.dot11Ssid, c.ssid);
    d.dot11BssType = static_cast<DOT11_BSS_TYPE>(c.bssType);
    d.bSecurityEnabled = c.securityEnabled;
    d.wlanReasonCode = reasonCode;
    return Bytes(d);
}

// Calls the callback of every client that registered for the source, one at
// a time, and marks the client busy meanwhile so that unregistering waits.
void Deliver(const Pending& p) {
    std::vector<std::shared_ptr<Client>> targets;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        for (auto& entry : g_clients) targets.push_back(entry.second);
    }
    for (const std::shared_ptr<Client>& c : targets) {
        WLAN_NOTIFICATION_CALLBACK callback;
        void* context;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (c->closed || !c->callback || !(c->sources & p.source) || g_stop) continue;
            callback = c->callback;
            context = c->context;
            c->busy = true;
        }
        std::vector<BYTE> data = p.data;  // each client gets its own copy, valid during the call
        WLAN_NOTIFICATION_DATA n = {};
        n.NotificationSource = p.source;
        n.NotificationCode = p.code;
        n.InterfaceGuid = p.iface;
        n.dwDataSize = static_cast<DWORD>(data.size());
        n.pData = data.empty() ? nullptr : data.data();
        callback(&n, context);
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            c->busy = false;
        }
        g_idle.notify_all();
    }
}

// ---------------------------------------------------------------------------
// Connection attempts

bool IsHexText(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return isxdigit(static_cast<unsigned char>(c)) != 0; });
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

// A WEP key as hex digits: 10 or 26 digits as they are, 5 or 13 characters
// as the hex of their bytes.
std::string WepKeyHex(const std::string& key) {
    if ((key.size() == 10 || key.size() == 26) && IsHexText(key)) return Upper(key);
    if (key.size() == 5 || key.size() == 13) {
        std::string hex;
        char two[3];
        for (unsigned char c : key) {
            snprintf(two, sizeof(two), "%02X", c);
            hex += two;
        }
        return hex;
    }
    return "\x01";  // matches nothing
}

bool KeyMatches(const WlanProfile& p, const std::string& networkKey) {
    if (!p.hasKey || p.keyProtected) return false;
    const std::string key = Narrow(p.keyMaterial);
    if (p.encryption == L"WEP") return WepKeyHex(key) == WepKeyHex(networkKey);
    const bool networkHex = networkKey.size() == 64 && IsHexText(networkKey);
    if (p.keyType == L"passPhrase") return !networkHex && key == networkKey;
    return networkHex && Upper(key) == Upper(networkKey);
}

bool SecurityFits(const WlanProfile& p, Security s) {
    if (p.oneX || p.authentication == L"WPA" || p.authentication == L"WPA2") return false;  // no 802.1X here
    if (p.encryption == L"none") return s == Security::Open;
    if (p.encryption == L"WEP") return s == Security::Wep;
    if (p.authentication == L"WPAPSK") return s == Security::Wpa || s == Security::WpaWpa2;
    if (p.authentication == L"WPA2PSK") return s == Security::Wpa2 || s == Security::WpaWpa2;
    return false;
}

DWORD ConnectionCipher(const WlanProfile& p) {
    if (p.cipher != DOT11_CIPHER_ALGO_WEP) return p.cipher;
    const size_t n = p.keyMaterial.size();
    if (n == 5 || n == 10) return DOT11_CIPHER_ALGO_WEP40;
    if (n == 13 || n == 26) return DOT11_CIPHER_ALGO_WEP104;
    return DOT11_CIPHER_ALGO_WEP;
}

// The outcome of an attempt: a reason code and, on success, the connection.
DWORD Evaluate(HKEY ifKey, const Interface& ifc, const ConnectRequest& r, Connection& conn) {
    if (ifc.connectResult != 0) return ifc.connectResult;
    if (!ifc.RadioOn()) return reason::NetworkNotAvailable;
    std::wstring xml = r.profile;
    if (r.mode == wlan_connection_mode_profile && !ReadProfile(ifKey, r.profile, xml)) return reason::ProfileMissing;
    WlanProfile p;
    DWORD code = 0;
    std::string why;
    if (!ParseProfile(xml, p, code, why)) return code;
    const Bss* best = nullptr;
    bool inRange = false;
    for (const Bss& b : ifc.bss) {
        if (b.ssid != p.ssid || b.bssType != p.bssType || (r.hasSsid && b.ssid != r.ssid)) continue;
        inRange = true;
        if (SecurityFits(p, b.security) && (!best || b.rssi > best->rssi)) best = &b;
    }
    if (!inRange) return reason::NetworkNotAvailable;
    if (!best) return reason::NetworkNotCompatible;
    if (!best->key.empty() && !KeyMatches(p, best->key)) return reason::KeyMismatch;
    conn.connected = true;
    conn.mode = r.mode;
    conn.profile = p.name;
    conn.ssid = best->ssid;
    memcpy(conn.bssid, best->bssid, 6);
    conn.bssType = best->bssType;
    conn.phyType = EffectivePhyType(*best);
    conn.phyIndex = ifc.PhyIndexOf(conn.phyType);
    conn.channel = best->channel;
    conn.rssi = best->rssi;
    conn.signal = QualityFromRssi(best->rssi);
    conn.rxRate = conn.txRate = MaxRateKbps(conn.phyType, best->channel);
    conn.securityEnabled = p.cipher != DOT11_CIPHER_ALGO_NONE;
    conn.auth = p.auth;
    conn.cipher = ConnectionCipher(p);
    return reason::Success;
}

// On the thread, when the attempt's delay has passed: drops the previous
// association, makes the new one (or not) and tells the clients.
void CompleteConnect(const ConnectRequest& r) {
    RegKey root = CreateRoot();
    Interface ifc;
    bool found = false;
    for (Interface& i : ReadInterfaces(root.get(), true))
        if (i.present && IsEqualGUID(i.guid, r.iface)) {
            ifc = i;
            found = true;
        }
    if (!found) {  // gone meanwhile: its removal has been told, nothing more
        sim::WriteDword(root.get(), "LastConnectReason", reason::NetworkNotAvailable);
        return;
    }
    RegKey ifKey = CreateInterfaceKey(root.get(), ifc.subkey);
    Connection conn;
    const DWORD code = Evaluate(ifKey.get(), ifc, r, conn);
    if (code != reason::Success) {
        conn = Connection();
        conn.mode = r.mode;
        conn.profile = r.mode == wlan_connection_mode_profile ? r.profile : std::wstring();
        conn.ssid = r.ssid;
        conn.bssType = r.bssType;
    }
    Seen& seen = g_seen[FormatGuid(ifc.guid)];
    Pending n;
    n.source = WLAN_NOTIFICATION_SOURCE_ACM;
    n.iface = ifc.guid;
    if (seen.connected) {
        n.code = wlan_notification_acm_disconnected;
        n.data = ConnectionData(seen.conn, reason::Success);
        Deliver(n);
    }
    n.code = wlan_notification_acm_connection_start;
    n.data = ConnectionData(conn, reason::Success);
    Deliver(n);
    WriteConnection(ifKey.get(), code == reason::Success ? conn : Connection());
    sim::WriteDword(root.get(), "LastConnectReason", code);
    seen.connected = code == reason::Success;
    seen.conn = conn;
    if (code != reason::Success) {
        n.code = wlan_notification_acm_connection_attempt_fail;
        n.data = ConnectionData(conn, code);
        Deliver(n);
    }
    n.code = wlan_notification_acm_connection_complete;
    n.data = ConnectionData(conn, code);
    Deliver(n);
}

// ---------------------------------------------------------------------------
// Watching the state for changes made elsewhere (wlansim, another process,
// or this one's own calls) and telling them.

Seen SeenOf(const Interface& ifc) {
    Seen s;
    s.present = ifc.present;
    s.software = ifc.softwareRadio;
    s.hardware = ifc.hardwareRadio;
    s.connected = ifc.present && ifc.State() == wlan_interface_state_connected;
    s.conn = ifc.conn;
    return s;
}

void Watch(bool announce) {
    RegKey root = OpenRoot();
    const DWORD delay = ReadSettings(root.get()).notifyDelayMs;
    std::map<std::string, Seen> now;
    for (const Interface& ifc : ReadInterfaces(root.get(), false)) now[FormatGuid(ifc.guid)] = SeenOf(ifc);
    for (const auto& entry : g_seen)
        if (!now.count(entry.first)) now[entry.first] = Seen();  // its subkey was deleted
    if (announce) {
        for (const auto& entry : now) {
            GUID guid;
            ParseGuid(entry.first, guid);
            const Seen& after = entry.second;
            const Seen before = g_seen.count(entry.first) ? g_seen[entry.first] : Seen();
            if (before.present != after.present) {
                Notify(WLAN_NOTIFICATION_SOURCE_ACM,
                       after.present ? wlan_notification_acm_interface_arrival : wlan_notification_acm_interface_removal,
                       guid, {}, delay);
                continue;
            }
            if (!after.present) continue;
            for (size_t i = 0; i < after.software.size() && i < before.software.size(); ++i) {
                if (after.software[i] == before.software[i] && after.hardware[i] == before.hardware[i]) continue;
                WLAN_PHY_RADIO_STATE s = {static_cast<DWORD>(i), static_cast<DOT11_RADIO_STATE>(after.software[i]),
                                          static_cast<DOT11_RADIO_STATE>(after.hardware[i])};
                Notify(WLAN_NOTIFICATION_SOURCE_MSM, kMsmRadioStateChange, guid, Bytes(s), delay);
            }
            const bool same = before.connected && after.connected && before.conn.ssid == after.conn.ssid &&
                              memcmp(before.conn.bssid, after.conn.bssid, 6) == 0 &&
                              before.conn.profile == after.conn.profile;
            if (before.connected && !same)
                Notify(WLAN_NOTIFICATION_SOURCE_ACM, wlan_notification_acm_disconnected, guid,
                       ConnectionData(before.conn, reason::Success), delay);
            if (after.connected && !same)
                Notify(WLAN_NOTIFICATION_SOURCE_ACM, wlan_notification_acm_connection_complete, guid,
                       ConnectionData(after.conn, reason::Success), delay);
        }
    }
    g_seen = now;
}

DWORD WINAPI Worker(void*) {
    HANDLE changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    RegKey watched;
    auto arm = [&]() {
        // Only the interfaces matter here (the buffer counts that programs
        // write all the time do not); until their key exists, its creation.
        // Reopened each time: a key may have been deleted under the handle.
        RegKey root = CreateRoot();
        watched = sim::OpenKey(root.get(), kInterfacesSubkey);
        const bool tree = static_cast<bool>(watched);
        if (!tree) watched = std::move(root);
        if (watched)
            RegNotifyChangeKeyValue(watched.get(), tree,
                                    tree ? REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET : REG_NOTIFY_CHANGE_NAME,
                                    changed, TRUE);
    };
    arm();
    for (;;) {
        DWORD timeout = kPollMs;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (g_stop) break;
            if (!g_queue.empty()) {
                LONG left = static_cast<LONG>(g_queue.front().due - GetTickCount());
                timeout = std::min<DWORD>(timeout, left > 0 ? static_cast<DWORD>(left) : 0);
            }
        }
        HANDLE handles[2] = {g_wake, changed};
        if (WaitForMultipleObjects(2, handles, FALSE, timeout) == WAIT_OBJECT_0 + 1) arm();
        Watch(true);
        for (;;) {
            Pending p;
            {
                std::lock_guard<std::mutex> lock(g_mutex);
                if (g_stop || g_queue.empty() || !Due(g_queue.front().due, GetTickCount())) break;
                p = std::move(g_queue.front());
                g_queue.pop_front();
            }
            if (p.connect) CompleteConnect(p.request);
            else Deliver(p);
        }
    }
    watched.reset();
    CloseHandle(changed);
    return 0;
}

void StartWorker() {  // with g_lifeMutex held
    if (g_thread) return;
    // Pinned: a caller's FreeLibrary must not unmap the code the thread runs.
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&StartWorker), &self);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_stop = false;
        g_queue.clear();
        g_seen.clear();
        g_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    Watch(false);  // what the clients know already; only later changes are told
    g_thread = CreateThread(nullptr, 0, Worker, nullptr, 0, &g_threadId);
}

void StopWorker() {  // with g_lifeMutex held
    if (!g_thread) return;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_stop = true;
        g_queue.clear();  // outstanding notifications are discarded
        SetEvent(g_wake);
    }
    if (GetCurrentThreadId() != g_threadId) WaitForSingleObject(g_thread, INFINITE);
    CloseHandle(g_thread);
    g_thread = nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    CloseHandle(g_wake);
    g_wake = nullptr;
}

// Unregistering or closing from inside a callback never returns with the
// real service. Here it returns, and wlansim show counts it.
void CountCallbackMisuse() {
    RegKey root = CreateRoot();
    sim::WriteDword(root.get(), "CallbackMisuse", sim::ReadU32(root.get(), "CallbackMisuse").value_or(0) + 1);
}

// Waits until no callback of `c` runs (not from the callback's own thread).
void WaitIdle(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Client>& c) {
    if (GetCurrentThreadId() == g_threadId && c->busy) {
        lock.unlock();
        CountCallbackMisuse();
        lock.lock();
        return;
    }
    g_idle.wait(lock, [&] { return !c->busy; });
}

// ---------------------------------------------------------------------------
// Common checks

std::shared_ptr<Client> FindClient(HANDLE h) {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_clients.find(reinterpret_cast<ULONG_PTR>(h));
    return it == g_clients.end() ? nullptr : it->second;
}

// The first checks of every call on a session: the handle (null: invalid
// parameter; unknown: invalid handle), then an injected result.
struct Call {
    RegKey root = OpenRoot();
    std::shared_ptr<Client> client;
    DWORD result = ERROR_SUCCESS;
    bool wellFormed = false;  // handle and parameters passed; `result` may still be injected

    Call(HANDLE h, bool paramsOk, const char* function, const char* opcode = nullptr) {
        if (!h) result = ERROR_INVALID_PARAMETER;
        else if (!(client = FindClient(h))) result = ERROR_INVALID_HANDLE;
        else if (!paramsOk) result = ERROR_INVALID_PARAMETER;
        else {
            wellFormed = true;
            result = InjectedError(root.get(), function, opcode);
        }
    }
    bool Failed() const { return result != ERROR_SUCCESS; }
    bool V1() const { return client && client->version < 2; }

    // The present interface with that GUID.
    bool Find(const GUID* guid, Interface& out, bool withBss = false) {
        for (Interface& ifc : ReadInterfaces(root.get(), withBss))
            if (ifc.present && IsEqualGUID(ifc.guid, *guid)) {
                out = std::move(ifc);
                return true;
            }
        result = ERROR_NOT_FOUND;
        return false;
    }
};

const char* OpcodeName(WLAN_INTF_OPCODE op) {
    switch (op) {
    case wlan_intf_opcode_autoconf_enabled: return "autoconf_enabled";
    case wlan_intf_opcode_background_scan_enabled: return "background_scan_enabled";
    case wlan_intf_opcode_media_streaming_mode: return "media_streaming_mode";
    case wlan_intf_opcode_radio_state: return "radio_state";
    case wlan_intf_opcode_bss_type: return "bss_type";
    case wlan_intf_opcode_interface_state: return "interface_state";
    case wlan_intf_opcode_current_connection: return "current_connection";
    case wlan_intf_opcode_channel_number: return "channel_number";
    case wlan_intf_opcode_supported_infrastructure_auth_cipher_pairs:
        return "supported_infrastructure_auth_cipher_pairs";
    case wlan_intf_opcode_supported_adhoc_auth_cipher_pairs: return "supported_adhoc_auth_cipher_pairs";
    case wlan_intf_opcode_supported_country_or_region_string_list:
        return "supported_country_or_region_string_list";
    case wlan_intf_opcode_current_operation_mode: return "current_operation_mode";
    case wlan_intf_opcode_supported_safe_mode: return "supported_safe_mode";
    case wlan_intf_opcode_certified_safe_mode: return "certified_safe_mode";
    case wlan_intf_opcode_hosted_network_capable: return "hosted_network_capable";
    case wlan_intf_opcode_statistics: return "statistics";
    case wlan_intf_opcode_rssi: return "rssi";
    default: return nullptr;
    }
}

template <typename T>
DWORD Give(const T& value, PDWORD size, PVOID* data) {
    T* out = AllocateAs<T>(sizeof(T));
    if (!out) return ERROR_NOT_ENOUGH_MEMORY;
    *out = value;
    *size = sizeof(T);
    *data = out;
    return ERROR_SUCCESS;
}

DWORD GivePairs(const std::vector<AuthCipher>& pairs, PDWORD size, PVOID* data) {
    const size_t bytes = offsetof(WLAN_AUTH_CIPHER_PAIR_LIST, pAuthCipherPairList) +
                         std::max<size_t>(1, pairs.size()) * sizeof(DOT11_AUTH_CIPHER_PAIR);
    auto* list = AllocateAs<WLAN_AUTH_CIPHER_PAIR_LIST>(bytes);
    if (!list) return ERROR_NOT_ENOUGH_MEMORY;
    list->dwNumberOfItems = static_cast<DWORD>(pairs.size());
    DOT11_AUTH_CIPHER_PAIR* items = &list->pAuthCipherPairList;
    for (size_t i = 0; i < pairs.size(); ++i) {
        items[i].AuthAlgoId = static_cast<DOT11_AUTH_ALGORITHM>(pairs[i].auth);
        items[i].CipherAlgoId = static_cast<DOT11_CIPHER_ALGORITHM>(pairs[i].cipher);
    }
    *size = static_cast<DWORD>(bytes);
    *data = list;
    return ERROR_SUCCESS;
}

bool PairSupported(const std::vector<AuthCipher>& pairs, DWORD auth, DWORD cipher) {
    for (const AuthCipher& p : pairs) {
        if (p.auth != auth) continue;
        if (p.cipher == cipher) return true;
        const bool wepPair = p.cipher == DOT11_CIPHER_ALGO_WEP40 || p.cipher == DOT11_CIPHER_ALGO_WEP104 ||
                             p.cipher == DOT11_CIPHER_ALGO_WEP;
        if (cipher == DOT11_CIPHER_ALGO_WEP && wepPair) return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Exports with behaviour

STANDIN_EXPORT PVOID WINAPI WlanAllocateMemory(DWORD dwMemorySize) {
    if (dwMemorySize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* p = Allocate(dwMemorySize);
    if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

STANDIN_EXPORT VOID WINAPI WlanFreeMemory(PVOID pMemory) { Free(pMemory); }

// For in-process tests: buffers handed out and not yet freed, and frees of
// pointers that were not (or no longer) handed out.
STANDIN_EXPORT LONG WINAPI StandinLiveAllocations() {
    std::lock_guard<std::mutex> lock(g_allocMutex);
    return static_cast<LONG>(g_allocations.size());
}

STANDIN_EXPORT LONG WINAPI StandinBadFrees() {
    std::lock_guard<std::mutex> lock(g_allocMutex);
    return g_badFrees;
}

STANDIN_EXPORT DWORD WINAPI WlanOpenHandle(DWORD dwClientVersion, PVOID pReserved, PDWORD pdwNegotiatedVersion,
                                           PHANDLE phClientHandle) {
    if (pReserved || !pdwNegotiatedVersion || !phClientHandle) return ERROR_INVALID_PARAMETER;
    RegKey root = OpenRoot();
    if (DWORD injected = InjectedError(root.get(), "WlanOpenHandle")) return injected;
    if (dwClientVersion == 0) return ERROR_NOT_SUPPORTED;
    auto client = std::make_shared<Client>();
    client->version = std::min(dwClientVersion, ReadSettings(root.get()).apiVersion);
    std::lock_guard<std::mutex> life(g_lifeMutex);
    ULONG_PTR handle;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        handle = ++g_nextHandle;
        g_clients[handle] = client;
    }
    StartWorker();
    *pdwNegotiatedVersion = client->version;
    *phClientHandle = reinterpret_cast<HANDLE>(handle);
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanCloseHandle(HANDLE hClientHandle, PVOID pReserved) {
    Call call(hClientHandle, pReserved == nullptr, "WlanCloseHandle");
    if (call.Failed()) return call.result;
    std::lock_guard<std::mutex> life(g_lifeMutex);
    bool last;
    {
        std::unique_lock<std::mutex> lock(g_mutex);
        call.client->closed = true;
        call.client->sources = 0;
        g_clients.erase(reinterpret_cast<ULONG_PTR>(hClientHandle));
        WaitIdle(lock, call.client);
        last = g_clients.empty();
    }
    if (last) StopWorker();
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanRegisterNotification(HANDLE hClientHandle, DWORD dwNotifSource, WINBOOL,
                                                     WLAN_NOTIFICATION_CALLBACK funcCallback, PVOID pCallbackContext,
                                                     PVOID pReserved, PDWORD pdwPrevNotifSource) {
    const bool none = dwNotifSource == WLAN_NOTIFICATION_SOURCE_NONE;
    Call call(hClientHandle, !pReserved && (none || funcCallback), "WlanRegisterNotification");
    if (call.Failed()) return call.result;
    if (call.V1() && !none && dwNotifSource != WLAN_NOTIFICATION_SOURCE_ACM && dwNotifSource != kSourceAll)
        return ERROR_INVALID_PARAMETER;
    std::unique_lock<std::mutex> lock(g_mutex);
    if (pdwPrevNotifSource) *pdwPrevNotifSource = call.client->sources;
    if (none) {
        call.client->sources = 0;
        call.client->callback = nullptr;
        call.client->context = nullptr;
        WaitIdle(lock, call.client);
    } else {
        call.client->sources = dwNotifSource;
        call.client->callback = funcCallback;
        call.client->context = pCallbackContext;
    }
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanEnumInterfaces(HANDLE hClientHandle, PVOID pReserved,
                                               PWLAN_INTERFACE_INFO_LIST* ppInterfaceList) {
    Call call(hClientHandle, !pReserved && ppInterfaceList, "WlanEnumInterfaces");
    if (call.Failed()) return call.result;
    std::vector<Interface> present;
    for (Interface& ifc : ReadInterfaces(call.root.get(), false))
        if (ifc.present) present.push_back(std::move(ifc));
    const size_t bytes = offsetof(WLAN_INTERFACE_INFO_LIST, InterfaceInfo) +
                         std::max<size_t>(1, present.size()) * sizeof(WLAN_INTERFACE_INFO);
    auto* list = AllocateAs<WLAN_INTERFACE_INFO_LIST>(bytes);
    if (!list) return ERROR_NOT_ENOUGH_MEMORY;
    list->dwNumberOfItems = static_cast<DWORD>(present.size());
    for (size_t i = 0; i < present.size(); ++i) {
        WLAN_INTERFACE_INFO& info = list->InterfaceInfo[i];
        info.InterfaceGuid = present[i].guid;
        std::wstring d = Widen(present[i].description).substr(0, 255);
        memcpy(info.strInterfaceDescription, d.c_str(), (d.size() + 1) * sizeof(WCHAR));
        info.isState = static_cast<WLAN_INTERFACE_STATE>(present[i].State());
    }
    *ppInterfaceList = list;
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanQueryInterface(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                               WLAN_INTF_OPCODE OpCode, PVOID pReserved, PDWORD pdwDataSize,
                                               PVOID* ppData, PWLAN_OPCODE_VALUE_TYPE pWlanOpcodeValueType) {
    Call call(hClientHandle, pInterfaceGuid && !pReserved && pdwDataSize && ppData, "WlanQueryInterface",
              OpcodeName(OpCode));
    if (call.Failed()) return call.result;
    const bool v1Opcode = OpCode == wlan_intf_opcode_autoconf_enabled || OpCode == wlan_intf_opcode_bss_type ||
                          OpCode == wlan_intf_opcode_interface_state ||
                          OpCode == wlan_intf_opcode_current_connection;
    if (call.V1() && !v1Opcode) return ERROR_NOT_SUPPORTED;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return call.result;
    const bool connected = ifc.State() == wlan_interface_state_connected;
    if (pWlanOpcodeValueType) *pWlanOpcodeValueType = wlan_opcode_value_type_query_only;
    switch (OpCode) {
    case wlan_intf_opcode_autoconf_enabled:
    case wlan_intf_opcode_background_scan_enabled:
        if (pWlanOpcodeValueType) *pWlanOpcodeValueType = wlan_opcode_value_type_set_by_user;
        return Give<BOOL>(TRUE, pdwDataSize, ppData);
    case wlan_intf_opcode_media_streaming_mode:
    case wlan_intf_opcode_supported_safe_mode:
    case wlan_intf_opcode_certified_safe_mode:
    case wlan_intf_opcode_hosted_network_capable: return Give<BOOL>(FALSE, pdwDataSize, ppData);
    case wlan_intf_opcode_radio_state: {
        WLAN_RADIO_STATE s = {};
        s.dwNumberOfPhys = static_cast<DWORD>(ifc.phys.size());
        for (size_t i = 0; i < ifc.phys.size(); ++i)
            s.PhyRadioState[i] = {static_cast<DWORD>(i), static_cast<DOT11_RADIO_STATE>(ifc.softwareRadio[i]),
                                  static_cast<DOT11_RADIO_STATE>(ifc.hardwareRadio[i])};
        return Give(s, pdwDataSize, ppData);
    }
    case wlan_intf_opcode_bss_type:
        if (pWlanOpcodeValueType) *pWlanOpcodeValueType = wlan_opcode_value_type_set_by_user;
        return Give(static_cast<DOT11_BSS_TYPE>(ifc.bssTypeFilter), pdwDataSize, ppData);
    case wlan_intf_opcode_interface_state:
        return Give(static_cast<WLAN_INTERFACE_STATE>(ifc.State()), pdwDataSize, ppData);
    case wlan_intf_opcode_current_connection: {
        if (!connected) return ERROR_INVALID_STATE;
        const Connection& c = ifc.conn;
        WLAN_CONNECTION_ATTRIBUTES a = {};
        a.isState = wlan_interface_state_connected;
        a.wlanConnectionMode = static_cast<WLAN_CONNECTION_MODE>(c.mode);
        CopyName(a.strProfileName, c.profile);
        WLAN_ASSOCIATION_ATTRIBUTES& as = a.wlanAssociationAttributes;
        CopySsid(as.dot11Ssid, c.ssid);
        as.dot11BssType = static_cast<DOT11_BSS_TYPE>(c.bssType);
        memcpy(as.dot11Bssid, c.bssid, 6);
        as.dot11PhyType = static_cast<DOT11_PHY_TYPE>(c.phyType);
        as.uDot11PhyIndex = c.phyIndex;
        as.wlanSignalQuality = c.signal;
        as.ulRxRate = c.rxRate;
        as.ulTxRate = c.txRate;
        a.wlanSecurityAttributes.bSecurityEnabled = c.securityEnabled;
        a.wlanSecurityAttributes.bOneXEnabled = FALSE;
        a.wlanSecurityAttributes.dot11AuthAlgorithm = static_cast<DOT11_AUTH_ALGORITHM>(c.auth);
        a.wlanSecurityAttributes.dot11CipherAlgorithm = static_cast<DOT11_CIPHER_ALGORITHM>(c.cipher);
        return Give(a, pdwDataSize, ppData);
    }
    case wlan_intf_opcode_channel_number:
        if (!connected) return ERROR_INVALID_STATE;
        return Give<ULONG>(ifc.conn.channel, pdwDataSize, ppData);
    case wlan_intf_opcode_rssi:
        if (!connected) return ERROR_INVALID_STATE;
        return Give<LONG>(ifc.conn.rssi, pdwDataSize, ppData);
    case wlan_intf_opcode_supported_infrastructure_auth_cipher_pairs:
        return GivePairs(ifc.infraPairs, pdwDataSize, ppData);
    case wlan_intf_opcode_supported_adhoc_auth_cipher_pairs: return GivePairs(ifc.adhocPairs, pdwDataSize, ppData);
    case wlan_intf_opcode_supported_country_or_region_string_list: {
        const size_t bytes = offsetof(WLAN_COUNTRY_OR_REGION_STRING_LIST, pCountryOrRegionStringList) +
                             std::max<size_t>(1, ifc.countries.size()) * sizeof(DOT11_COUNTRY_OR_REGION_STRING);
        auto* list = AllocateAs<WLAN_COUNTRY_OR_REGION_STRING_LIST>(bytes);
        if (!list) return ERROR_NOT_ENOUGH_MEMORY;
        list->dwNumberOfItems = static_cast<DWORD>(ifc.countries.size());
        for (size_t i = 0; i < ifc.countries.size(); ++i)
            memcpy(list->pCountryOrRegionStringList[i], ifc.countries[i].data(), 3);
        *pdwDataSize = static_cast<DWORD>(bytes);
        *ppData = list;
        return ERROR_SUCCESS;
    }
    case wlan_intf_opcode_current_operation_mode:
        return Give<ULONG>(kExtensibleStation, pdwDataSize, ppData);
    case wlan_intf_opcode_statistics: {
        const size_t phys = ifc.phys.size();
        const size_t bytes = offsetof(WLAN_STATISTICS, PhyCounters) + phys * sizeof(WLAN_PHY_FRAME_STATISTICS);
        auto* st = AllocateAs<WLAN_STATISTICS>(bytes);
        if (!st) return ERROR_NOT_ENOUGH_MEMORY;
        const Statistics& s = ifc.stats;
        st->MacUcastCounters.ullTransmittedFrameCount = s.txFrames;
        st->MacUcastCounters.ullReceivedFrameCount = s.rxFrames;
        st->MacMcastCounters.ullTransmittedFrameCount = s.mcastTxFrames;
        st->MacMcastCounters.ullReceivedFrameCount = s.mcastRxFrames;
        st->dwNumberOfPhys = static_cast<DWORD>(phys);
        WLAN_PHY_FRAME_STATISTICS* phy = st->PhyCounters;
        phy[0].ullTransmittedFrameCount = s.txFrames + s.mcastTxFrames;
        phy[0].ullReceivedFrameCount = s.rxFrames + s.mcastRxFrames;
        phy[0].ullTransmittedFragmentCount = s.txFragments;
        phy[0].ullReceivedFragmentCount = s.rxFragments;
        *pdwDataSize = static_cast<DWORD>(bytes);
        *ppData = st;
        return ERROR_SUCCESS;
    }
    default: return ERROR_INVALID_PARAMETER;
    }
}

STANDIN_EXPORT DWORD WINAPI WlanSetInterface(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                             WLAN_INTF_OPCODE OpCode, DWORD dwDataSize, const PVOID pData,
                                             PVOID pReserved) {
    Call call(hClientHandle, pInterfaceGuid && pData && dwDataSize && !pReserved, "WlanSetInterface",
              OpcodeName(OpCode));
    if (call.Failed()) return call.result;
    if (call.V1() && OpCode != wlan_intf_opcode_autoconf_enabled && OpCode != wlan_intf_opcode_bss_type)
        return ERROR_NOT_SUPPORTED;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return call.result;
    RegKey root = CreateRoot();
    RegKey key = CreateInterfaceKey(root.get(), ifc.subkey);
    switch (OpCode) {
    case wlan_intf_opcode_radio_state: {
        if (dwDataSize < sizeof(WLAN_PHY_RADIO_STATE)) return ERROR_INVALID_PARAMETER;
        const auto* s = static_cast<const WLAN_PHY_RADIO_STATE*>(pData);
        if (s->dwPhyIndex >= ifc.phys.size()) return ERROR_INVALID_PARAMETER;
        if (s->dot11SoftwareRadioState != dot11_radio_state_on && s->dot11SoftwareRadioState != dot11_radio_state_off)
            return ERROR_INVALID_PARAMETER;
        ifc.softwareRadio[s->dwPhyIndex] = s->dot11SoftwareRadioState;  // the hardware state is not ours to set
        return WriteRadio(key.get(), ifc) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }
    case wlan_intf_opcode_bss_type: {
        if (dwDataSize < sizeof(DOT11_BSS_TYPE)) return ERROR_INVALID_PARAMETER;
        DWORD type = *static_cast<const DWORD*>(pData);
        if (type < 1 || type > 3) return ERROR_INVALID_PARAMETER;
        return sim::WriteDword(key.get(), "BssTypeFilter", type) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }
    case wlan_intf_opcode_autoconf_enabled:
    case wlan_intf_opcode_background_scan_enabled:
    case wlan_intf_opcode_media_streaming_mode:
        return dwDataSize >= sizeof(BOOL) ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;  // accepted, no effect
    case wlan_intf_opcode_current_operation_mode: return ERROR_NOT_SUPPORTED;
    default: return ERROR_INVALID_PARAMETER;
    }
}

STANDIN_EXPORT DWORD WINAPI WlanGetInterfaceCapability(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                                       PVOID pReserved, PWLAN_INTERFACE_CAPABILITY* ppCapability) {
    Call call(hClientHandle, pInterfaceGuid && !pReserved && ppCapability, "WlanGetInterfaceCapability");
    if (call.Failed()) return call.result;
    if (call.V1()) return ERROR_NOT_SUPPORTED;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return call.result;
    auto* cap = AllocateAs<WLAN_INTERFACE_CAPABILITY>(sizeof(WLAN_INTERFACE_CAPABILITY));
    if (!cap) return ERROR_NOT_ENOUGH_MEMORY;
    cap->interfaceType = wlan_interface_type_native_802_11;
    cap->bDot11DSupported = !ifc.countries.empty();
    cap->dwMaxDesiredSsidListSize = 1;
    cap->dwMaxDesiredBssidListSize = 1;
    cap->dwNumberOfSupportedPhys = static_cast<DWORD>(ifc.phys.size());
    for (size_t i = 0; i < ifc.phys.size(); ++i) cap->dot11PhyTypes[i] = static_cast<DOT11_PHY_TYPE>(ifc.phys[i]);
    *ppCapability = cap;
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanScan(HANDLE hClientHandle, const GUID* pInterfaceGuid, const PDOT11_SSID pDot11Ssid,
                                     const PWLAN_RAW_DATA pIeData, PVOID pReserved) {
    Call call(hClientHandle, pInterfaceGuid && !pReserved, "WlanScan");
    if (call.Failed()) return call.result;
    if (call.V1() && (pDot11Ssid || pIeData)) return ERROR_INVALID_PARAMETER;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return call.result;
    if (!ifc.RadioOn()) return kPowerStateInvalid;
    if (call.V1() || ifc.scanResult == kScanSilent) return ERROR_SUCCESS;  // no notification at all
    if (ifc.scanResult == 0) Notify(WLAN_NOTIFICATION_SOURCE_ACM, wlan_notification_acm_scan_complete, ifc.guid);
    else Notify(WLAN_NOTIFICATION_SOURCE_ACM, wlan_notification_acm_scan_fail, ifc.guid, Bytes(ifc.scanResult));
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanGetNetworkBssList(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                                  const PDOT11_SSID pDot11Ssid, DOT11_BSS_TYPE dot11BssType,
                                                  WINBOOL bSecurityEnabled, PVOID pReserved,
                                                  PWLAN_BSS_LIST* ppWlanBssList) {
    Call call(hClientHandle,
              pInterfaceGuid && !pReserved && ppWlanBssList &&
                  (!pDot11Ssid || pDot11Ssid->uSSIDLength <= DOT11_SSID_MAX_LENGTH) &&
                  dot11BssType >= dot11_BSS_type_infrastructure && dot11BssType <= dot11_BSS_type_any,
              "WlanGetNetworkBssList");
    if (call.Failed()) return call.result;
    if (call.V1()) return ERROR_NOT_SUPPORTED;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc, true)) return call.result;
    if (!ifc.RadioOn()) return kPowerStateInvalid;
    std::vector<const Bss*> chosen;
    for (const Bss& b : ifc.bss) {
        if (pDot11Ssid) {
            // With an SSID the list holds that network of that type and security
            // only; with "any" type, nothing.
            std::string wanted(reinterpret_cast<const char*>(pDot11Ssid->ucSSID), pDot11Ssid->uSSIDLength);
            if (dot11BssType == dot11_BSS_type_any || b.ssid != wanted || b.bssType != DWORD(dot11BssType) ||
                EffectivePrivacy(b) != (bSecurityEnabled != FALSE))
                continue;
        }
        chosen.push_back(&b);
    }
    std::vector<std::vector<BYTE>> ies;
    size_t bytes = offsetof(WLAN_BSS_LIST, wlanBssEntries) + std::max<size_t>(1, chosen.size()) * sizeof(WLAN_BSS_ENTRY);
    for (const Bss* b : chosen) {
        ies.push_back(InformationElements(*b));
        bytes += (ies.back().size() + 7) & ~size_t(7);
    }
    auto* list = AllocateAs<WLAN_BSS_LIST>(bytes);
    if (!list) return ERROR_NOT_ENOUGH_MEMORY;
    list->dwTotalSize = static_cast<DWORD>(bytes);
    list->dwNumberOfItems = static_cast<DWORD>(chosen.size());
    size_t blob = offsetof(WLAN_BSS_LIST, wlanBssEntries) + std::max<size_t>(1, chosen.size()) * sizeof(WLAN_BSS_ENTRY);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    for (size_t i = 0; i < chosen.size(); ++i) {
        const Bss& b = *chosen[i];
        WLAN_BSS_ENTRY& e = list->wlanBssEntries[i];
        CopySsid(e.dot11Ssid, b.ssid);
        e.dot11BssPhyType = static_cast<DOT11_PHY_TYPE>(EffectivePhyType(b));
        e.uPhyId = ifc.PhyIndexOf(e.dot11BssPhyType);
        memcpy(e.dot11Bssid, b.bssid, 6);
        e.dot11BssType = static_cast<DOT11_BSS_TYPE>(b.bssType);
        e.lRssi = b.rssi;
        e.uLinkQuality = static_cast<ULONG>(EffectiveLinkQuality(b));
        e.bInRegDomain = TRUE;
        e.usBeaconPeriod = 100;
        e.ullTimestamp = 0x1000000ull * (i + 1);
        e.ullHostTimestamp = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
        e.usCapabilityInformation = static_cast<USHORT>((b.bssType == dot11_BSS_type_independent ? 0x0002 : 0x0001) |
                                                        (EffectivePrivacy(b) ? 0x0010 : 0));
        e.ulChCenterFrequency = ChannelFrequencyKhz(b.channel);
        std::vector<USHORT> rates = RateSet(e.dot11BssPhyType, b.channel);
        e.wlanRateSet.uRateSetLength = static_cast<ULONG>(rates.size() * sizeof(USHORT));
        memcpy(e.wlanRateSet.usRateSet, rates.data(), rates.size() * sizeof(USHORT));
        BYTE* entry = reinterpret_cast<BYTE*>(&e);
        BYTE* ie = reinterpret_cast<BYTE*>(list) + blob;
        memcpy(ie, ies[i].data(), ies[i].size());
        e.ulIeOffset = static_cast<ULONG>(ie - entry);
        e.ulIeSize = static_cast<ULONG>(ies[i].size());
        blob += (ies[i].size() + 7) & ~size_t(7);
    }
    *ppWlanBssList = list;
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanGetAvailableNetworkList(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                                        DWORD dwFlags, PVOID pReserved,
                                                        PWLAN_AVAILABLE_NETWORK_LIST* ppAvailableNetworkList) {
    Call call(hClientHandle, pInterfaceGuid && !pReserved && ppAvailableNetworkList && (dwFlags & ~3u) == 0,
              "WlanGetAvailableNetworkList");
    if (call.Failed()) return call.result;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc, true)) return call.result;
    if (!ifc.RadioOn()) return kPowerStateInvalid;
    // One entry per network: SSID, BSS type and security.
    std::vector<WLAN_AVAILABLE_NETWORK> networks;
    std::vector<const Bss*> first;
    RegKey root = CreateRoot();
    RegKey ifKey = CreateInterfaceKey(root.get(), ifc.subkey);
    for (const Bss& b : ifc.bss) {
        size_t i = 0;
        while (i < first.size() && !(first[i]->ssid == b.ssid && first[i]->bssType == b.bssType &&
                                     first[i]->security == b.security))
            ++i;
        if (i == first.size()) {
            first.push_back(&b);
            WLAN_AVAILABLE_NETWORK n = {};
            CopySsid(n.dot11Ssid, b.ssid);
            n.dot11BssType = static_cast<DOT11_BSS_TYPE>(b.bssType);
            n.bNetworkConnectable = TRUE;
            n.bSecurityEnabled = EffectivePrivacy(b);
            AuthCipher ac = DefaultAuthCipher(b.security);
            n.dot11DefaultAuthAlgorithm = static_cast<DOT11_AUTH_ALGORITHM>(ac.auth);
            n.dot11DefaultCipherAlgorithm = static_cast<DOT11_CIPHER_ALGORITHM>(ac.cipher);
            for (const std::wstring& name : ProfileNames(ifKey.get())) {
                std::wstring xml;
                WlanProfile p;
                DWORD code;
                std::string why;
                if (ReadProfile(ifKey.get(), name, xml) && ParseProfile(xml, p, code, why) && p.ssid == b.ssid &&
                    p.bssType == b.bssType) {
                    CopyName(n.strProfileName, name);
                    n.dwFlags |= 2;  // WLAN_AVAILABLE_NETWORK_HAS_PROFILE
                    break;
                }
            }
            if (ifc.State() == wlan_interface_state_connected && ifc.conn.ssid == b.ssid &&
                ifc.conn.bssType == b.bssType)
                n.dwFlags |= 1;  // WLAN_AVAILABLE_NETWORK_CONNECTED
            networks.push_back(n);
        }
        WLAN_AVAILABLE_NETWORK& n = networks[i];
        ++n.uNumberOfBssids;
        n.wlanSignalQuality = std::max<ULONG>(n.wlanSignalQuality, static_cast<ULONG>(EffectiveLinkQuality(b)));
        DOT11_PHY_TYPE phy = static_cast<DOT11_PHY_TYPE>(EffectivePhyType(b));
        bool known = false;
        for (ULONG k = 0; k < n.uNumberOfPhyTypes; ++k) known = known || n.dot11PhyTypes[k] == phy;
        if (!known && n.uNumberOfPhyTypes < WLAN_MAX_PHY_TYPE_NUMBER) n.dot11PhyTypes[n.uNumberOfPhyTypes++] = phy;
        else if (!known) n.bMorePhyTypes = TRUE;
    }
    const size_t bytes = offsetof(WLAN_AVAILABLE_NETWORK_LIST, Network) +
                         std::max<size_t>(1, networks.size()) * sizeof(WLAN_AVAILABLE_NETWORK);
    auto* list = AllocateAs<WLAN_AVAILABLE_NETWORK_LIST>(bytes);
    if (!list) return ERROR_NOT_ENOUGH_MEMORY;
    list->dwNumberOfItems = static_cast<DWORD>(networks.size());
    for (size_t i = 0; i < networks.size(); ++i) list->Network[i] = networks[i];
    *ppAvailableNetworkList = list;
    return ERROR_SUCCESS;
}

STANDIN_EXPORT DWORD WINAPI WlanSetProfile(HANDLE hClientHandle, const GUID* pInterfaceGuid, DWORD dwFlags,
                                           LPCWSTR strProfileXml, LPCWSTR, WINBOOL bOverwrite, PVOID pReserved,
                                           DWORD* pdwReasonCode) {
    const bool flagsOk = (dwFlags == 0 || dwFlags == 1 || dwFlags == WLAN_PROFILE_USER) && !(dwFlags == 1 && !bOverwrite);
    Call call(hClientHandle, pInterfaceGuid && strProfileXml && !pReserved && pdwReasonCode && flagsOk,
              "WlanSetProfile");
    if (!call.wellFormed) return call.result;
    // What the caller sent is recorded whatever becomes of it.
    RegKey root = CreateRoot();
    WriteTextW(root.get(), "LastProfileXml", strProfileXml);
    sim::WriteDword(root.get(), "LastProfileFlags", dwFlags);
    sim::WriteDword(root.get(), "LastProfileOverwrite", bOverwrite ? 1 : 0);
    sim::WriteText(root.get(), "LastProfileInterface", FormatGuid(*pInterfaceGuid));
    DWORD code = reason::Success;
    std::string why;
    auto finish = [&](DWORD result) {
        *pdwReasonCode = code;
        sim::WriteDword(root.get(), "LastProfileResult", result);
        sim::WriteDword(root.get(), "LastProfileReason", code);
        sim::WriteText(root.get(), "LastProfileProblem", why);
        return result;
    };
    if (call.Failed()) return finish(call.result);
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return finish(call.result);
    WlanProfile p;
    if (!ParseProfile(strProfileXml, p, code, why)) return finish(ERROR_BAD_PROFILE);
    const auto& pairs = p.bssType == dot11_BSS_type_independent ? ifc.adhocPairs : ifc.infraPairs;
    if (!PairSupported(pairs, p.auth, p.cipher)) {
        code = reason::NetworkNotAvailable;
        why = "the interface does not offer " + Narrow(p.authentication) + "/" + Narrow(p.encryption);
        return finish(ERROR_NO_MATCH);
    }
    RegKey ifKey = CreateInterfaceKey(root.get(), ifc.subkey);
    std::wstring existing;
    if (!bOverwrite && ReadProfile(ifKey.get(), p.name, existing)) {
        why = "a profile of that name exists";
        return finish(ERROR_ALREADY_EXISTS);
    }
    if (!WriteProfile(ifKey.get(), p.name, strProfileXml)) return finish(ERROR_ACCESS_DENIED);
    return finish(ERROR_SUCCESS);
}

STANDIN_EXPORT DWORD WINAPI WlanConnect(HANDLE hClientHandle, const GUID* pInterfaceGuid,
                                        const PWLAN_CONNECTION_PARAMETERS pConnectionParameters, PVOID pReserved) {
    const WLAN_CONNECTION_PARAMETERS* cp = pConnectionParameters;
    bool ok = pInterfaceGuid && cp && !pReserved;
    if (ok) {
        const DWORD mode = cp->wlanConnectionMode, type = cp->dot11BssType, flags = cp->dwFlags;
        const bool byProfile = mode == wlan_connection_mode_profile || mode == wlan_connection_mode_temporary_profile;
        const bool discovery = mode == wlan_connection_mode_discovery_secure ||
                               mode == wlan_connection_mode_discovery_unsecure;
        const size_t length = cp->strProfile ? wcslen(cp->strProfile) : 0;
        ok = (byProfile || discovery) && (flags & ~kValidConnectFlags) == 0 && type >= 1 && type <= 3 &&
             !(byProfile && length == 0) &&
             !(mode == wlan_connection_mode_profile && length >= WLAN_MAX_NAME_LENGTH) &&
             !(discovery && (!cp->pDot11Ssid || type == dot11_BSS_type_any)) &&
             !(type == dot11_BSS_type_infrastructure && (flags & WLAN_CONNECTION_ADHOC_JOIN_ONLY)) &&
             !(type == dot11_BSS_type_independent && (flags & WLAN_CONNECTION_HIDDEN_NETWORK)) &&
             !((flags & WLAN_CONNECTION_IGNORE_PRIVACY_BIT) &&
               (mode != wlan_connection_mode_temporary_profile || type == dot11_BSS_type_independent)) &&
             !(cp->pDot11Ssid && cp->pDot11Ssid->uSSIDLength > DOT11_SSID_MAX_LENGTH);
    }
    Call call(hClientHandle, ok, "WlanConnect");
    if (!call.wellFormed) return call.result;
    if (call.V1() && (cp->wlanConnectionMode != wlan_connection_mode_profile || cp->dwFlags || cp->pDesiredBssidList))
        return ERROR_INVALID_PARAMETER;
    ConnectRequest r;
    r.iface = *pInterfaceGuid;
    r.mode = cp->wlanConnectionMode;
    r.profile = cp->strProfile ? cp->strProfile : L"";
    r.hasSsid = cp->pDot11Ssid != nullptr;
    if (r.hasSsid) r.ssid.assign(reinterpret_cast<const char*>(cp->pDot11Ssid->ucSSID), cp->pDot11Ssid->uSSIDLength);
    r.bssType = cp->dot11BssType;
    r.flags = cp->dwFlags;
    RegKey root = CreateRoot();
    static const char* const modes[] = {"profile", "temporary_profile", "discovery_secure", "discovery_unsecure"};
    sim::WriteText(root.get(), "LastConnectInterface", FormatGuid(r.iface));
    sim::WriteText(root.get(), "LastConnectMode", r.mode < 4 ? modes[r.mode] : "invalid");
    WriteTextW(root.get(), "LastConnectProfile", r.profile);
    if (r.hasSsid) sim::WriteBinary(root.get(), "LastConnectSsid", r.ssid.data(), r.ssid.size());
    else RegDeleteValueA(root.get(), "LastConnectSsid");
    sim::WriteDword(root.get(), "LastConnectBssType", r.bssType);
    sim::WriteDword(root.get(), "LastConnectFlags", r.flags);
    RegDeleteValueA(root.get(), "LastConnectReason");  // until the attempt completes
    auto finish = [&](DWORD result) {
        sim::WriteDword(root.get(), "LastConnectResult", result);
        return result;
    };
    if (call.Failed()) return finish(call.result);
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return finish(call.result);
    if (r.mode != wlan_connection_mode_profile && r.mode != wlan_connection_mode_temporary_profile)
        return finish(ERROR_NOT_SUPPORTED);  // discovery is not played here
    // The BSS type must be the profile's own.
    std::wstring xml = r.profile;
    RegKey ifKey = CreateInterfaceKey(root.get(), ifc.subkey);
    WlanProfile p;
    DWORD code;
    std::string why;
    if ((r.mode == wlan_connection_mode_temporary_profile || ReadProfile(ifKey.get(), r.profile, xml)) &&
        ParseProfile(xml, p, code, why) && p.bssType != r.bssType)
        return finish(ERROR_INVALID_PARAMETER);
    Pending job;
    job.connect = true;
    job.request = r;
    job.due = GetTickCount() + ReadSettings(call.root.get()).notifyDelayMs;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        Enqueue(std::move(job));
    }
    return finish(ERROR_SUCCESS);
}

STANDIN_EXPORT DWORD WINAPI WlanDisconnect(HANDLE hClientHandle, const GUID* pInterfaceGuid, PVOID pReserved) {
    Call call(hClientHandle, pInterfaceGuid && !pReserved, "WlanDisconnect");
    if (call.Failed()) return call.result;
    Interface ifc;
    if (!call.Find(pInterfaceGuid, ifc)) return call.result;
    {
        // An attempt still under way is given up.
        std::lock_guard<std::mutex> lock(g_mutex);
        g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(),
                                     [&](const Pending& p) { return p.connect && IsEqualGUID(p.request.iface, ifc.guid); }),
                      g_queue.end());
    }
    RegKey root = CreateRoot();
    RegKey key = CreateInterfaceKey(root.get(), ifc.subkey);
    return WriteConnection(key.get(), Connection()) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

STANDIN_EXPORT DWORD WINAPI WlanReasonCodeToString(DWORD dwReasonCode, DWORD dwBufferSize, PWCHAR pStringBuffer,
                                                   PVOID pReserved) {
    if (!pStringBuffer || dwBufferSize == 0 || pReserved) return ERROR_INVALID_PARAMETER;
    struct Text {
        DWORD code;
        const wchar_t* text;
    };
    static const Text kTexts[] = {
        {reason::Success, L"The operation was successful."},
        {reason::Unknown, L"The reason for the failure is unknown."},
        {reason::NetworkNotCompatible, L"The network is not compatible."},
        {reason::ProfileNotCompatible, L"The profile is not compatible."},
        {reason::NetworkNotAvailable, L"The network is not available."},
        {reason::KeyMismatch, L"The profile's key does not match the network's key."},
        {reason::InvalidKeyIndex, L"The key index is not valid."},
        {reason::PskPresent, L"A key is present where none is allowed."},
        {reason::KeyLength, L"The key length is not valid."},
        {reason::PskLength, L"The pass phrase or key length is not valid."},
        {reason::InvalidAuthCipher, L"The authentication and cipher pair is not valid."},
        {reason::KeyMaterialChar, L"The key material contains a character that is not allowed."},
        {reason::WrongKeyType, L"The key type is not valid for this network."},
        {reason::InvalidProfileSchema, L"The profile does not follow the profile schema."},
        {reason::ProfileMissing, L"The profile is missing."},
        {reason::ProfileSsidInvalid, L"The profile's SSID is not valid."},
    };
    wchar_t fallback[64];
    const wchar_t* text = nullptr;
    for (const Text& t : kTexts)
        if (t.code == dwReasonCode) text = t.text;
    if (!text) {
        swprintf(fallback, 64, L"Reason code 0x%08lX.", static_cast<unsigned long>(dwReasonCode));
        text = fallback;
    }
    size_t n = std::min<size_t>(wcslen(text), dwBufferSize - 1);
    memcpy(pStringBuffer, text, n * sizeof(WCHAR));
    pStringBuffer[n] = 0;
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// Exports without behaviour here: present, so that every import resolves,
// and refusing politely rather than ending the process.

STANDIN_EXPORT DWORD WINAPI WlanDeleteProfile(HANDLE, const GUID*, LPCWSTR, PVOID) { return ERROR_NOT_SUPPORTED; }
STANDIN_EXPORT DWORD WINAPI WlanExtractPsdIEDataList(HANDLE, DWORD, const PBYTE, LPCWSTR, PVOID, PWLAN_RAW_DATA_LIST*) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanGetFilterList(HANDLE, WLAN_FILTER_LIST_TYPE, PVOID, PDOT11_NETWORK_LIST*) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanGetProfile(HANDLE, const GUID*, LPCWSTR, PVOID, LPWSTR*, DWORD*, PDWORD) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanGetProfileCustomUserData(HANDLE, const GUID*, LPCWSTR, PVOID, DWORD*, PBYTE*) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanGetProfileList(HANDLE, const GUID*, PVOID, PWLAN_PROFILE_INFO_LIST*) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanGetSecuritySettings(HANDLE, WLAN_SECURABLE_OBJECT, PWLAN_OPCODE_VALUE_TYPE, LPWSTR*,
                                                    PDWORD) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanIhvControl(HANDLE, const GUID*, WLAN_IHV_CONTROL_TYPE, DWORD, PVOID, DWORD, PVOID,
                                           PDWORD) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanQueryAutoConfigParameter(HANDLE, WLAN_AUTOCONF_OPCODE, PVOID, PDWORD, PVOID,
                                                         PWLAN_OPCODE_VALUE_TYPE) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanRenameProfile(HANDLE, const GUID*, LPCWSTR, LPCWSTR, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSaveTemporaryProfile(HANDLE, const GUID*, LPCWSTR, LPCWSTR, DWORD, WINBOOL, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetAutoConfigParameter(HANDLE, WLAN_AUTOCONF_OPCODE, DWORD, const PVOID, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetFilterList(HANDLE, WLAN_FILTER_LIST_TYPE, const PDOT11_NETWORK_LIST, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetProfileCustomUserData(HANDLE, const GUID*, LPCWSTR, DWORD, const PBYTE, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetProfileEapUserData(HANDLE, const GUID*, LPCWSTR, EAP_METHOD_TYPE, DWORD, DWORD,
                                                      const LPBYTE, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetProfileEapXmlUserData(HANDLE, const GUID*, LPCWSTR, DWORD, LPCWSTR, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetProfileList(HANDLE, const GUID*, DWORD, LPCWSTR*, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetProfilePosition(HANDLE, const GUID*, LPCWSTR, DWORD, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetPsdIEDataList(HANDLE, LPCWSTR, const PWLAN_RAW_DATA_LIST, PVOID) {
    return ERROR_NOT_SUPPORTED;
}
STANDIN_EXPORT DWORD WINAPI WlanSetSecuritySettings(HANDLE, WLAN_SECURABLE_OBJECT, LPCWSTR) {
    return ERROR_NOT_SUPPORTED;
}
