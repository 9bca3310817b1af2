// The stand-in wlanapi.dll (bin/wlantest/) against the documented contract of
// the Native Wi-Fi client functions, with its state changed by wlansim.exe in
// a process of its own, as the end-to-end tests and a person at the keyboard
// change it under a running monitor.
#include <windows.h>
#include <wlanapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "StandinState.h"
#include "support/TestProcess.h"

namespace {

using standin::kPowerStateInvalid;
namespace reason = standin::reason;

constexpr DWORD kAcm = WLAN_NOTIFICATION_SOURCE_ACM;
constexpr DWORD kMsm = WLAN_NOTIFICATION_SOURCE_MSM;
constexpr DWORD kArrival = wlan_notification_acm_interface_arrival;
constexpr DWORD kRemoval = wlan_notification_acm_interface_removal;

using testsupport::WlanTestDir;
using testsupport::Wlansim;

// The stand-in's exports, looked up as the Native Wi-Fi library looks them up.
struct Api {
    HMODULE module = LoadLibraryA((WlanTestDir() + "wlanapi.dll").c_str());
#define STANDIN_FUNCTION(name) decltype(&::name) name = reinterpret_cast<decltype(&::name)>(Find(#name))
    // Through void(*)(): the generic function pointer type that casts to any other without a warning.
    void (*Find(const char* name) const)() {
        return module ? reinterpret_cast<void (*)()>(GetProcAddress(module, name)) : nullptr;
    }
    STANDIN_FUNCTION(WlanOpenHandle);
    STANDIN_FUNCTION(WlanCloseHandle);
    STANDIN_FUNCTION(WlanEnumInterfaces);
    STANDIN_FUNCTION(WlanRegisterNotification);
    STANDIN_FUNCTION(WlanQueryInterface);
    STANDIN_FUNCTION(WlanSetInterface);
    STANDIN_FUNCTION(WlanScan);
    STANDIN_FUNCTION(WlanGetNetworkBssList);
    STANDIN_FUNCTION(WlanGetAvailableNetworkList);
    STANDIN_FUNCTION(WlanSetProfile);
    STANDIN_FUNCTION(WlanConnect);
    STANDIN_FUNCTION(WlanFreeMemory);
#undef STANDIN_FUNCTION
    LONG(WINAPI* LiveAllocations)() = reinterpret_cast<LONG(WINAPI*)()>(Find("StandinLiveAllocations"));
    LONG(WINAPI* BadFrees)() = reinterpret_cast<LONG(WINAPI*)()>(Find("StandinBadFrees"));
};

const Api& Wlan() {
    static const Api api;
    return api;
}

// A buffer from the stand-in, given back with WlanFreeMemory.
template <typename T>
struct Buffer {
    T* p = nullptr;
    ~Buffer() {
        if (p) Wlan().WlanFreeMemory(p);
    }
    T** out() { return &p; }
    PVOID* any() { return reinterpret_cast<PVOID*>(&p); }
    T* operator->() const { return p; }
};

struct Note {
    DWORD source = 0, code = 0;
    GUID iface = {};
    DWORD thread = 0;
    bool duringCall = false;
    std::vector<BYTE> data;
};

// Collects notifications; can hold the first one in its callback until told.
class Recorder {
public:
    static VOID WINAPI Callback(PWLAN_NOTIFICATION_DATA d, PVOID context) {
        static_cast<Recorder*>(context)->Add(*d);
    }
    // Waits for a notification of that source and code (at most 10 s).
    bool WaitFor(DWORD source, DWORD code, Note* found = nullptr, size_t nth = 1) {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto count = [&] {
            size_t n = 0;
            for (const Note& note : m_notes)
                if (note.source == source && note.code == code && ++n == nth) {
                    if (found) *found = note;
                    return true;
                }
            return false;
        };
        return m_changed.wait_for(lock, std::chrono::seconds(10), count);
    }
    size_t Count(DWORD source, DWORD code = ~0u) {
        std::lock_guard<std::mutex> lock(m_mutex);
        size_t n = 0;
        for (const Note& note : m_notes) n += note.source == source && (code == ~0u || note.code == code);
        return n;
    }
    // Every notification so far, for failure messages.
    std::string Describe() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::string text;
        for (const Note& n : m_notes)
            text += "source " + std::to_string(n.source) + " code " + std::to_string(n.code) + " " +
                    standin::FormatGuid(n.iface) + "\n";
        return text;
    }
    void HoldFirst() { m_hold = true; }
    // Runs `action` inside the callback of the next notification.
    void OnNote(std::function<void()> action) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_action = std::move(action);
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = false;
        m_changed.notify_all();
    }
    volatile bool inCall = false;  // set by a test around an API call

private:
    void Add(const WLAN_NOTIFICATION_DATA& d) {
        Note n;
        n.source = d.NotificationSource;
        n.code = d.NotificationCode;
        n.iface = d.InterfaceGuid;
        n.thread = GetCurrentThreadId();
        n.duringCall = inCall;
        const BYTE* bytes = static_cast<const BYTE*>(d.pData);
        if (bytes) n.data.assign(bytes, bytes + d.dwDataSize);
        std::function<void()> action;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            action.swap(m_action);
        }
        if (action) action();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notes.push_back(n);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_hold; });
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Note> m_notes;
    bool m_hold = false;
    std::function<void()> m_action;
};

template <typename T>
T As(const Note& n) {
    T value = {};
    if (n.data.size() >= sizeof(T)) memcpy(&value, n.data.data(), sizeof(T));
    return value;
}

std::string Ssid(const DOT11_SSID& s) {
    return std::string(reinterpret_cast<const char*>(s.ucSSID), std::min<ULONG>(s.uSSIDLength, 32));
}

// The information elements of a BSS entry, checked to lie inside the list.
std::vector<std::pair<BYTE, std::vector<BYTE>>> Elements(const WLAN_BSS_LIST* list, const WLAN_BSS_ENTRY& e) {
    std::vector<std::pair<BYTE, std::vector<BYTE>>> out;
    const BYTE* base = reinterpret_cast<const BYTE*>(list);
    const BYTE* ie = reinterpret_cast<const BYTE*>(&e) + e.ulIeOffset;
    EXPECT_LE(ie + e.ulIeSize, base + list->dwTotalSize);
    for (ULONG at = 0; at + 2 <= e.ulIeSize;) {
        BYTE id = ie[at], length = ie[at + 1];
        EXPECT_LE(at + 2 + length, e.ulIeSize);
        out.emplace_back(id, std::vector<BYTE>(ie + at + 2, ie + at + 2 + length));
        at += 2 + length;
    }
    return out;
}

const std::vector<BYTE>* Element(const std::vector<std::pair<BYTE, std::vector<BYTE>>>& all, BYTE id) {
    for (const auto& e : all)
        if (e.first == id) return &e.second;
    return nullptr;
}

std::wstring Profile(const std::wstring& ssidAndType, const std::wstring& security) {
    return L"<?xml version=\"1.0\"?>\r\n<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">" +
           ssidAndType + L"<MSM><security>" + security + L"</security></MSM></WLANProfile>";
}

std::wstring Ess(const std::wstring& name) {
    return L"<name>" + name + L"</name><SSIDConfig><SSID><name>" + name +
           L"</name></SSID></SSIDConfig><connectionType>ESS</connectionType><connectionMode>manual</connectionMode>";
}

std::wstring Psk(const wchar_t* auth, const wchar_t* enc, const std::wstring& keyType, const std::wstring& key) {
    return std::wstring(L"<authEncryption><authentication>") + auth + L"</authentication><encryption>" + enc +
           L"</encryption><useOneX>false</useOneX></authEncryption><sharedKey><keyType>" + keyType +
           L"</keyType><protected>false</protected><keyMaterial>" + key + L"</keyMaterial></sharedKey>";
}

class Standin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Wlan().module) << "bin/wlantest/wlanapi.dll did not load";
        ASSERT_TRUE(Wlan().LiveAllocations && Wlan().WlanConnect);
        std::string out;
        ASSERT_EQ(0, Wlansim("reset", &out)) << out;
        ASSERT_EQ(0, Wlansim("set NotifyDelayMs=100", &out)) << out;
    }
    void TearDown() override {
        for (HANDLE h : m_handles) Wlan().WlanCloseHandle(h, nullptr);
        EXPECT_EQ(0, Wlan().LiveAllocations()) << "a buffer from the stand-in was not freed";
        Wlansim("reset");
    }

    HANDLE Open() {
        DWORD negotiated = 0;
        HANDLE h = nullptr;
        EXPECT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanOpenHandle(2, nullptr, &negotiated, &h));
        EXPECT_EQ(2u, negotiated);
        m_handles.push_back(h);
        return h;
    }
    void Listen(HANDLE h, Recorder& r, DWORD sources) {
        ASSERT_EQ(DWORD(ERROR_SUCCESS),
                  Wlan().WlanRegisterNotification(h, sources, FALSE, &Recorder::Callback, &r, nullptr, nullptr));
    }
    DWORD Query(HANDLE h, WLAN_INTF_OPCODE op, DWORD* value = nullptr) {
        Buffer<DWORD> data;
        DWORD size = 0;
        DWORD rc = Wlan().WlanQueryInterface(h, &m_guid, op, nullptr, &size, data.any(), nullptr);
        if (rc == ERROR_SUCCESS && value) *value = *data.p;
        return rc;
    }
    DWORD SetProfile(HANDLE h, const std::wstring& xml, DWORD* why) {
        return Wlan().WlanSetProfile(h, &m_guid, 0, xml.c_str(), nullptr, TRUE, nullptr, why);
    }
    DWORD Connect(HANDLE h, const wchar_t* profile) {
        WLAN_CONNECTION_PARAMETERS p = {wlan_connection_mode_profile, profile, nullptr, nullptr,
                                        dot11_BSS_type_infrastructure, 0};
        return Wlan().WlanConnect(h, &m_guid, &p, nullptr);
    }

    // The default interface's GUID, as wlansim and the stand-in derive it.
    GUID m_guid = {0x57534E44, 0x0000, 0x4000, {0x80, 0x00, 0, 0, 0, 0, 0, 1}};
    std::vector<HANDLE> m_handles;
};

TEST_F(Standin, AnswersFromTheStateOfTheMomentWithTheDocumentedLayouts) {
    std::string which;
    ASSERT_EQ(0, Wlansim("which", &which));
    EXPECT_EQ(0u, which.find("wlanapi stand-in ")) << "a program in bin/wlantest gets " << which;
    ASSERT_EQ(0, Wlansim("bss add Ssid=HomeNet Bssid=00:11:22:33:44:55 Channel=11 Rssi=-40 Security=wpa2 Country=DE"));
    ASSERT_EQ(0, Wlansim("bss add Ssid=LabAdHoc Channel=36 Rssi=-75 Type=independent Security=wep"));
    ASSERT_EQ(0, Wlansim("connect Ssid=HomeNet"));
    HANDLE h = Open();

    Buffer<WLAN_INTERFACE_INFO_LIST> list;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanEnumInterfaces(h, nullptr, list.out()));
    ASSERT_EQ(1u, list->dwNumberOfItems);
    EXPECT_TRUE(IsEqualGUID(m_guid, list->InterfaceInfo[0].InterfaceGuid));
    EXPECT_STREQ(L"Stand-in Wireless LAN Adapter", list->InterfaceInfo[0].strInterfaceDescription);
    EXPECT_EQ(wlan_interface_state_connected, list->InterfaceInfo[0].isState);

    Buffer<WLAN_CONNECTION_ATTRIBUTES> conn;
    DWORD size = 0;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanQueryInterface(h, &m_guid, wlan_intf_opcode_current_connection,
                                                              nullptr, &size, conn.any(), nullptr));
    EXPECT_EQ(sizeof(WLAN_CONNECTION_ATTRIBUTES), size);
    const WLAN_ASSOCIATION_ATTRIBUTES& a = conn->wlanAssociationAttributes;
    EXPECT_EQ("HomeNet", Ssid(a.dot11Ssid));
    const BYTE bssid[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    EXPECT_EQ(0, memcmp(bssid, a.dot11Bssid, 6));
    EXPECT_EQ(dot11_BSS_type_infrastructure, a.dot11BssType);
    EXPECT_EQ(dot11_phy_type_erp, a.dot11PhyType);
    EXPECT_EQ(100u, a.wlanSignalQuality);  // -40 dBm is above -50
    EXPECT_EQ(54000u, a.ulTxRate);
    EXPECT_TRUE(conn->wlanSecurityAttributes.bSecurityEnabled);
    EXPECT_EQ(DOT11_AUTH_ALGO_RSNA_PSK, conn->wlanSecurityAttributes.dot11AuthAlgorithm);
    EXPECT_EQ(DOT11_CIPHER_ALGO_CCMP, conn->wlanSecurityAttributes.dot11CipherAlgorithm);
    DWORD channel = 0;
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Query(h, wlan_intf_opcode_channel_number, &channel));
    EXPECT_EQ(11u, channel);

    Buffer<WLAN_BSS_LIST> bss;
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              Wlan().WlanGetNetworkBssList(h, &m_guid, nullptr, dot11_BSS_type_any, FALSE, nullptr, bss.out()));
    ASSERT_EQ(2u, bss->dwNumberOfItems);
    const WLAN_BSS_ENTRY& home = bss->wlanBssEntries[0];
    EXPECT_EQ(2462000u, home.ulChCenterFrequency);
    EXPECT_EQ(-40, home.lRssi);
    EXPECT_EQ(0x0011, home.usCapabilityInformation & 0x0013);  // ESS, privacy
    auto homeIe = Elements(bss.p, home);
    ASSERT_TRUE(Element(homeIe, 0));
    EXPECT_EQ("HomeNet", std::string(Element(homeIe, 0)->begin(), Element(homeIe, 0)->end()));
    const std::vector<BYTE>* country = Element(homeIe, 7);
    ASSERT_TRUE(country);
    EXPECT_EQ((std::vector<BYTE>{'D', 'E', ' ', 1, 13, 20}), *country);
    EXPECT_TRUE(Element(homeIe, 48));    // RSN
    EXPECT_FALSE(Element(homeIe, 221));  // no WPA element for WPA2 only
    const WLAN_BSS_ENTRY& adhoc = bss->wlanBssEntries[1];
    EXPECT_EQ(5180000u, adhoc.ulChCenterFrequency);
    EXPECT_EQ(0x0012, adhoc.usCapabilityInformation & 0x0013);  // IBSS, privacy
    EXPECT_EQ(dot11_BSS_type_independent, adhoc.dot11BssType);
    EXPECT_FALSE(Element(Elements(bss.p, adhoc), 48));

    // A change in another process shows on the very next call.
    ASSERT_EQ(0, Wlansim("disconnect"));
    EXPECT_EQ(DWORD(ERROR_INVALID_STATE), Query(h, wlan_intf_opcode_current_connection));
    DWORD state = 0;
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Query(h, wlan_intf_opcode_interface_state, &state));
    EXPECT_EQ(DWORD(wlan_interface_state_disconnected), state);

    // A buffer freed twice is counted, not handed to the heap again.
    const LONG bad = Wlan().BadFrees();
    Buffer<WLAN_INTERFACE_INFO_LIST> twice;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanEnumInterfaces(h, nullptr, twice.out()));
    Wlan().WlanFreeMemory(twice.p);
    EXPECT_EQ(bad, Wlan().BadFrees());
    Wlan().WlanFreeMemory(twice.p);
    twice.p = nullptr;
    EXPECT_EQ(bad + 1, Wlan().BadFrees());
}

TEST_F(Standin, NotifiesRegisteredSourcesFromItsOwnThreadAfterTheCall) {
    ASSERT_EQ(0, Wlansim("bss add Ssid=HomeNet Channel=6"));
    ASSERT_EQ(0, Wlansim("connect Ssid=HomeNet"));
    HANDLE h = Open();
    Recorder msmOnly;
    Listen(h, msmOnly, kMsm);
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    ASSERT_EQ(0, Wlansim("radio Phy=1 Hardware=off"));
    Note radio;
    ASSERT_TRUE(msmOnly.WaitFor(kMsm, standin::kMsmRadioStateChange, &radio));
    const auto phy = As<WLAN_PHY_RADIO_STATE>(radio);
    EXPECT_EQ(1u, phy.dwPhyIndex);
    EXPECT_EQ(dot11_radio_state_on, phy.dot11SoftwareRadioState);
    EXPECT_EQ(dot11_radio_state_off, phy.dot11HardwareRadioState);
    // The scan's completion was due before the radio change: it was held back
    // because this client did not ask for the ACM source.
    EXPECT_EQ(0u, msmOnly.Count(kAcm));

    Recorder all;
    Listen(h, all, kAcm | kMsm);
    all.inCall = true;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    all.inCall = false;
    Note scan;
    ASSERT_TRUE(all.WaitFor(kAcm, wlan_notification_acm_scan_complete, &scan));
    EXPECT_TRUE(IsEqualGUID(m_guid, scan.iface));
    EXPECT_NE(GetCurrentThreadId(), scan.thread);
    EXPECT_FALSE(scan.duringCall);

    ASSERT_EQ(0, Wlansim("interface set ScanResult=fail"));
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    Note failed;
    ASSERT_TRUE(all.WaitFor(kAcm, wlan_notification_acm_scan_fail, &failed));
    EXPECT_EQ(reason::Unknown, As<DWORD>(failed));

    // Switching every PHY's software radio off takes the association away.
    for (DWORD i = 0; i < 3; ++i) {
        WLAN_PHY_RADIO_STATE off = {i, dot11_radio_state_off, dot11_radio_state_on};
        ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanSetInterface(h, &m_guid, wlan_intf_opcode_radio_state,
                                                                sizeof(off), &off, nullptr));
    }
    Note gone;
    ASSERT_TRUE(all.WaitFor(kAcm, wlan_notification_acm_disconnected, &gone));
    EXPECT_EQ("HomeNet", Ssid(As<WLAN_CONNECTION_NOTIFICATION_DATA>(gone).dot11Ssid));
    EXPECT_TRUE(all.WaitFor(kMsm, standin::kMsmRadioStateChange, nullptr, 3));
    Buffer<WLAN_RADIO_STATE> states;
    DWORD size = 0;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanQueryInterface(h, &m_guid, wlan_intf_opcode_radio_state, nullptr,
                                                              &size, states.any(), nullptr));
    ASSERT_EQ(3u, states->dwNumberOfPhys);
    EXPECT_EQ(dot11_radio_state_off, states->PhyRadioState[2].dot11SoftwareRadioState);
    Buffer<WLAN_BSS_LIST> bss;
    EXPECT_EQ(kPowerStateInvalid,
              Wlan().WlanGetNetworkBssList(h, &m_guid, nullptr, dot11_BSS_type_any, FALSE, nullptr, bss.out()));
    EXPECT_EQ(kPowerStateInvalid, Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
}

TEST_F(Standin, ConnectsOnlyWhenProfileNetworkAndKeyFit) {
    ASSERT_EQ(0, Wlansim("bss add Ssid=HomeNet Channel=6 Rssi=-70 Security=wpa-wpa2 Key=correct-horse"));
    HANDLE h = Open();
    Recorder r;
    Listen(h, r, kAcm);
    const std::wstring good = Profile(Ess(L"HomeNet"), Psk(L"WPA2PSK", L"AES", L"passPhrase", L"correct-horse"));
    DWORD why = 1;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), SetProfile(h, good, &why));
    EXPECT_EQ(0u, why);
    std::string xml;
    ASSERT_EQ(0, Wlansim("lastprofile", &xml));
    EXPECT_EQ(standin::Narrow(good), xml);

    ASSERT_EQ(DWORD(ERROR_SUCCESS), Connect(h, L"HomeNet"));
    Note done;
    ASSERT_TRUE(r.WaitFor(kAcm, wlan_notification_acm_connection_complete, &done));
    EXPECT_EQ(reason::Success, As<WLAN_CONNECTION_NOTIFICATION_DATA>(done).wlanReasonCode);
    Buffer<WLAN_CONNECTION_ATTRIBUTES> conn;
    DWORD size = 0;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanQueryInterface(h, &m_guid, wlan_intf_opcode_current_connection,
                                                              nullptr, &size, conn.any(), nullptr));
    EXPECT_STREQ(L"HomeNet", conn->strProfileName);
    EXPECT_EQ(DOT11_AUTH_ALGO_RSNA_PSK, conn->wlanSecurityAttributes.dot11AuthAlgorithm);
    EXPECT_EQ(60u, conn->wlanAssociationAttributes.wlanSignalQuality);  // -70 dBm
    std::string shown;
    ASSERT_EQ(0, Wlansim("show", &shown));
    EXPECT_NE(std::string::npos, shown.find("lastconnect profile HomeNet"));
    EXPECT_NE(std::string::npos, shown.find("lastconnect reason 0x00000000"));

    // The wrong pass phrase: the old association goes, the new one fails.
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              SetProfile(h, Profile(Ess(L"HomeNet"), Psk(L"WPAPSK", L"TKIP", L"passPhrase", L"wrong-horse")), &why));
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Connect(h, L"HomeNet"));
    ASSERT_TRUE(r.WaitFor(kAcm, wlan_notification_acm_connection_complete, &done, 2));
    EXPECT_EQ(reason::KeyMismatch, As<WLAN_CONNECTION_NOTIFICATION_DATA>(done).wlanReasonCode);
    EXPECT_TRUE(r.WaitFor(kAcm, wlan_notification_acm_disconnected));
    EXPECT_EQ(DWORD(ERROR_INVALID_STATE), Query(h, wlan_intf_opcode_current_connection));

    // WEP keys match as hex digits, whichever form each side is written in.
    ASSERT_EQ(0, Wlansim("bss add Ssid=Attic Channel=3 Security=wep Key=4142434445"));
    const std::wstring wep = L"<authEncryption><authentication>shared</authentication><encryption>WEP"
                             L"</encryption></authEncryption><sharedKey><keyType>networkKey</keyType>"
                             L"<protected>false</protected><keyMaterial>";
    const std::pair<const wchar_t*, DWORD> keys[] = {
        {L"ABCDE", reason::Success}, {L"41424344ff", reason::KeyMismatch}, {L"4142434445", reason::Success}};
    size_t completed = 2;
    for (const auto& key : keys) {
        ASSERT_EQ(DWORD(ERROR_SUCCESS),
                  SetProfile(h, Profile(Ess(L"Attic"), wep + key.first + L"</keyMaterial></sharedKey>"), &why));
        ASSERT_EQ(DWORD(ERROR_SUCCESS), Connect(h, L"Attic"));
        ASSERT_TRUE(r.WaitFor(kAcm, wlan_notification_acm_connection_complete, &done, ++completed));
        EXPECT_EQ(key.second, As<WLAN_CONNECTION_NOTIFICATION_DATA>(done).wlanReasonCode)
            << standin::Narrow(key.first);
    }

    // A profile name the interface does not know.
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Connect(h, L"Elsewhere"));
    ASSERT_TRUE(r.WaitFor(kAcm, wlan_notification_acm_connection_complete, &done, ++completed));
    EXPECT_EQ(reason::ProfileMissing, As<WLAN_CONNECTION_NOTIFICATION_DATA>(done).wlanReasonCode);
}

TEST_F(Standin, RefusesTheProfilesTheServiceRefuses) {
    ASSERT_EQ(0, Wlansim("interface set InfraPairs=open/none,open/wep,shared/wep,wpapsk/tkip"));
    HANDLE h = Open();
    const std::wstring ess = Ess(L"Lab");
    const std::wstring wepOpen = L"<authEncryption><authentication>open</authentication><encryption>WEP</encryption>"
                                 L"</authEncryption>";
    struct Case {
        const char* what;
        std::wstring xml;
        DWORD result;
        DWORD reason;
    };
    const Case cases[] = {
        {"WEP with a hex key and its index",
         Profile(ess, wepOpen + L"<sharedKey><keyType>networkKey</keyType><protected>false</protected>"
                                L"<keyMaterial>0a1B2c3D4e</keyMaterial></sharedKey><keyIndex>2</keyIndex>"),
         ERROR_SUCCESS, reason::Success},
        {"not well-formed", Profile(ess, L"<authEncryption><authentication>open</authentication>"), ERROR_BAD_PROFILE,
         reason::InvalidProfileSchema},
        {"elements out of order",
         L"<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\"><name>Lab</name>"
         L"<connectionType>ESS</connectionType><SSIDConfig><SSID><name>Lab</name></SSID></SSIDConfig></WLANProfile>",
         ERROR_BAD_PROFILE, reason::InvalidProfileSchema},
        {"a WEP key of seven characters", Profile(ess, Psk(L"open", L"WEP", L"networkKey", L"abcdefg")),
         ERROR_BAD_PROFILE, reason::KeyLength},
        {"a WEP key given as a pass phrase", Profile(ess, Psk(L"shared", L"WEP", L"passPhrase", L"abcde")),
         ERROR_BAD_PROFILE, reason::WrongKeyType},
        {"a pass phrase of seven characters", Profile(ess, Psk(L"WPAPSK", L"TKIP", L"passPhrase", L"1234567")),
         ERROR_BAD_PROFILE, reason::PskLength},
        {"an ad hoc profile that connects by itself",
         Profile(L"<name>Lab</name><SSIDConfig><SSID><hex>4C6162</hex></SSID></SSIDConfig>"
                 L"<connectionType>IBSS</connectionType><connectionMode>auto</connectionMode>",
                 L"<authEncryption><authentication>open</authentication><encryption>none</encryption>"
                 L"</authEncryption>"),
         ERROR_BAD_PROFILE, reason::InvalidProfileSchema},
        {"WPA2 where the interface offers only WPA",
         Profile(ess, Psk(L"WPA2PSK", L"AES", L"passPhrase", L"long enough")), ERROR_NO_MATCH,
         reason::NetworkNotAvailable},
    };
    for (const Case& c : cases) {
        DWORD why = 12345;
        EXPECT_EQ(c.result, SetProfile(h, c.xml, &why)) << c.what;
        EXPECT_EQ(c.reason, why) << c.what;
        std::string xml;
        EXPECT_EQ(0, Wlansim("lastprofile", &xml)) << c.what;
        EXPECT_EQ(standin::Narrow(c.xml), xml) << "recorded as sent: " << c.what;
    }
}

TEST_F(Standin, UnregisteringWaitsForARunningCallbackAndEndsDelivery) {
    HANDLE first = Open(), second = Open();
    Recorder held, witness;
    held.HoldFirst();
    Listen(first, held, kAcm);
    Listen(second, witness, kAcm);
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(first, &m_guid, nullptr, nullptr, nullptr));
    ASSERT_TRUE(held.WaitFor(kAcm, wlan_notification_acm_scan_complete));  // now inside the callback

    struct Unregister {
        HANDLE client;
        HANDLE returned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        static DWORD WINAPI Run(void* self) {
            auto* u = static_cast<Unregister*>(self);
            Wlan().WlanRegisterNotification(u->client, WLAN_NOTIFICATION_SOURCE_NONE, FALSE, nullptr, nullptr, nullptr,
                                            nullptr);
            SetEvent(u->returned);
            return 0;
        }
    } unregister{first};
    HANDLE thread = CreateThread(nullptr, 0, &Unregister::Run, &unregister, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(unregister.returned, 300)) << "returned during the callback";
    held.Release();
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(unregister.returned, 10000));
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(unregister.returned);

    // The other client hears the next scan after the first one would have.
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(first, &m_guid, nullptr, nullptr, nullptr));
    ASSERT_TRUE(witness.WaitFor(kAcm, wlan_notification_acm_scan_complete, nullptr, 2));
    EXPECT_EQ(1u, held.Count(kAcm));

    // Unregistering from inside its own callback never returns with the
    // service; the stand-in returns and counts it, so that a test sees it.
    witness.OnNote([&] {
        Wlan().WlanRegisterNotification(second, WLAN_NOTIFICATION_SOURCE_NONE, FALSE, nullptr, nullptr, nullptr,
                                        nullptr);
    });
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(second, &m_guid, nullptr, nullptr, nullptr));
    ASSERT_TRUE(witness.WaitFor(kAcm, wlan_notification_acm_scan_complete, nullptr, 3));
    std::string shown;
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return Wlansim("show", &shown) == 0 && shown.find("callbackmisuse 1") != std::string::npos; }, 10000))
        << shown;
}

TEST_F(Standin, PlaysWindowsXpWhereTheSurveyComesFromTheAvailableNetworks) {
    ASSERT_EQ(0, Wlansim("bss add Ssid=Cafe Channel=1 Rssi=-80"));
    ASSERT_EQ(0, Wlansim("bss add Ssid=Cafe Channel=11 Rssi=-55 Phy=b"));
    ASSERT_EQ(0, Wlansim("bss add Ssid=Home Channel=6 Security=wpa"));
    ASSERT_EQ(0, Wlansim("set ApiVersion=1"));
    DWORD negotiated = 0;
    HANDLE h = nullptr;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanOpenHandle(2, nullptr, &negotiated, &h));
    m_handles.push_back(h);
    EXPECT_EQ(1u, negotiated);
    Buffer<WLAN_BSS_LIST> bss;
    EXPECT_EQ(DWORD(ERROR_NOT_SUPPORTED),
              Wlan().WlanGetNetworkBssList(h, &m_guid, nullptr, dot11_BSS_type_any, FALSE, nullptr, bss.out()));
    EXPECT_EQ(DWORD(ERROR_NOT_SUPPORTED), Query(h, wlan_intf_opcode_radio_state));
    DWORD why = 0;
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              SetProfile(h, Profile(Ess(L"Cafe"), L"<authEncryption><authentication>open</authentication>"
                                                  L"<encryption>none</encryption></authEncryption>"),
                         &why));

    Buffer<WLAN_AVAILABLE_NETWORK_LIST> networks;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanGetAvailableNetworkList(h, &m_guid, 0, nullptr, networks.out()));
    ASSERT_EQ(2u, networks->dwNumberOfItems);
    const WLAN_AVAILABLE_NETWORK& cafe = networks->Network[0];
    EXPECT_EQ("Cafe", Ssid(cafe.dot11Ssid));
    EXPECT_EQ(2u, cafe.uNumberOfBssids);
    EXPECT_EQ(90u, cafe.wlanSignalQuality);  // the stronger of the two
    EXPECT_EQ(2u, cafe.uNumberOfPhyTypes);
    EXPECT_FALSE(cafe.bSecurityEnabled);
    EXPECT_STREQ(L"Cafe", cafe.strProfileName);
    EXPECT_EQ(2u, cafe.dwFlags & 2);  // has a profile
    const WLAN_AVAILABLE_NETWORK& home = networks->Network[1];
    EXPECT_TRUE(home.bSecurityEnabled);
    EXPECT_EQ(DOT11_AUTH_ALGO_WPA_PSK, home.dot11DefaultAuthAlgorithm);
    EXPECT_EQ(0u, home.dwFlags);
}

TEST_F(Standin, InterfacesComeAndGoAndErrorsCanBeInjected) {
    HANDLE h = Open();
    Recorder r;
    Listen(h, r, kAcm);
    // wlansim creates the Interfaces key a moment before interface 0 in it;
    // read in that moment, the interface must not seem to go and come back.
    ASSERT_TRUE(testsupport::WriteString(HKEY_CURRENT_USER, "Software\\WlanSim\\Interfaces", "Moment", "empty"));
    ASSERT_EQ(0, Wlansim("interface remove"));
    Note removal;
    ASSERT_TRUE(r.WaitFor(kAcm, kRemoval, &removal));
    EXPECT_TRUE(IsEqualGUID(m_guid, removal.iface));
    EXPECT_EQ(DWORD(ERROR_NOT_FOUND), Query(h, wlan_intf_opcode_interface_state));
    EXPECT_EQ(DWORD(ERROR_NOT_FOUND), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    Buffer<WLAN_INTERFACE_INFO_LIST> none;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanEnumInterfaces(h, nullptr, none.out()));
    EXPECT_EQ(0u, none->dwNumberOfItems);
    ASSERT_EQ(0, Wlansim("interface restore"));
    ASSERT_TRUE(r.WaitFor(kAcm, kArrival));
    EXPECT_EQ(1u, r.Count(kAcm, kRemoval)) << r.Describe();
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Query(h, wlan_intf_opcode_interface_state));
    ASSERT_EQ(0, Wlansim("interface add \"Description=USB stick\""));
    Note second;
    ASSERT_TRUE(r.WaitFor(kAcm, kArrival, &second, 2));
    Buffer<WLAN_INTERFACE_INFO_LIST> two;
    ASSERT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanEnumInterfaces(h, nullptr, two.out()));
    ASSERT_EQ(2u, two->dwNumberOfItems);
    EXPECT_EQ(standin::FormatGuid(two->InterfaceInfo[1].InterfaceGuid), standin::FormatGuid(second.iface))
        << r.Describe();
    EXPECT_STREQ(L"USB stick", two->InterfaceInfo[1].strInterfaceDescription);

    ASSERT_EQ(0, Wlansim("error set WlanScan=access_denied WlanQueryInterface.current_connection=5 "
                     "WlanGetNetworkBssList=power_state_invalid"));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), Query(h, wlan_intf_opcode_current_connection));
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Query(h, wlan_intf_opcode_interface_state));  // only that opcode
    Buffer<WLAN_BSS_LIST> bss;
    EXPECT_EQ(kPowerStateInvalid,
              Wlan().WlanGetNetworkBssList(h, &m_guid, nullptr, dot11_BSS_type_any, FALSE, nullptr, bss.out()));
    ASSERT_EQ(0, Wlansim("error clear WlanScan"));
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Wlan().WlanScan(h, &m_guid, nullptr, nullptr, nullptr));
    EXPECT_EQ(kPowerStateInvalid,
              Wlan().WlanGetNetworkBssList(h, &m_guid, nullptr, dot11_BSS_type_any, FALSE, nullptr, bss.out()));

    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE),
              Wlan().WlanScan(reinterpret_cast<HANDLE>(0x1234), &m_guid, nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), Wlan().WlanScan(nullptr, &m_guid, nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), Wlan().WlanScan(h, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(Standin, WlansimResetsWhileAProgramUsesTheStandIn) {
    // A program's calls keep writing its buffer counts under the key.
    HANDLE h = Open();
    volatile bool stop = false;
    struct Busy {
        HANDLE client;
        volatile bool* stop;
        static DWORD WINAPI Run(void* self) {
            auto* b = static_cast<Busy*>(self);
            while (!*b->stop) {
                Buffer<WLAN_INTERFACE_INFO_LIST> list;
                Wlan().WlanEnumInterfaces(b->client, nullptr, list.out());
            }
            return 0;
        }
    } busy{h, &stop};
    HANDLE thread = CreateThread(nullptr, 0, &Busy::Run, &busy, 0, nullptr);
    ASSERT_TRUE(thread);
    for (int i = 0; i < 4; ++i) {
        std::string out;
        EXPECT_EQ(0, Wlansim("bss add Ssid=Passing", &out)) << out;
        EXPECT_EQ(0, Wlansim("reset", &out)) << out;
    }
    stop = true;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    std::string shown;
    ASSERT_EQ(0, Wlansim("show", &shown));
    EXPECT_EQ(std::string::npos, shown.find("Passing")) << shown;
}

TEST_F(Standin, WlansimRefusesBadInputAndChangesNothing) {
    const char* const bad[] = {"bss add Ssid=A Channel=300", "bss add Ssid=A Colour=red", "radio Software=maybe",
                               "error set WlanScn=5",        "interface set If=7 Description=x",
                               "connect Ssid=Nowhere Rssi=9"};
    for (const char* args : bad) {
        std::string out;
        EXPECT_EQ(2, Wlansim(args, &out)) << args;
        EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << "one line for: " << args << "\n" << out;
    }
    std::string shown;
    ASSERT_EQ(0, Wlansim("show", &shown));
    EXPECT_EQ(std::string::npos, shown.find(" bss ")) << shown;
    EXPECT_EQ(std::string::npos, shown.find("error ")) << shown;
    EXPECT_NE(std::string::npos, shown.find("interface 0 software on,on,on"));
    EXPECT_NE(std::string::npos, shown.find("interface 0 connection none"));
}

}  // namespace
