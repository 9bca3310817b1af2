#include "StandinState.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace standin {

namespace {

// Value names of an interface subkey.
namespace iv {
constexpr char Guid[] = "Guid";
constexpr char Description[] = "Description";
constexpr char Present[] = "Present";
constexpr char Phys[] = "Phys";
constexpr char SoftwareRadio[] = "SoftwareRadio";
constexpr char HardwareRadio[] = "HardwareRadio";
constexpr char InfraPairs[] = "InfraPairs";
constexpr char AdhocPairs[] = "AdhocPairs";
constexpr char Countries[] = "Countries";
constexpr char BssTypeFilter[] = "BssTypeFilter";
constexpr char ScanResult[] = "ScanResult";
constexpr char ConnectResult[] = "ConnectResult";
constexpr char TxFrames[] = "TxFrames";
constexpr char RxFrames[] = "RxFrames";
constexpr char McastTxFrames[] = "McastTxFrames";
constexpr char McastRxFrames[] = "McastRxFrames";
constexpr char TxFragments[] = "TxFragments";
constexpr char RxFragments[] = "RxFragments";
constexpr char Connected[] = "Connected";
constexpr char ConnMode[] = "ConnMode";
constexpr char ConnProfile[] = "ConnProfile";
constexpr char ConnSsid[] = "ConnSsid";
constexpr char ConnBssid[] = "ConnBssid";
constexpr char ConnBssType[] = "ConnBssType";
constexpr char ConnPhyType[] = "ConnPhyType";
constexpr char ConnPhyIndex[] = "ConnPhyIndex";
constexpr char ConnChannel[] = "ConnChannel";
constexpr char ConnRssi[] = "ConnRssi";
constexpr char ConnSignal[] = "ConnSignal";
constexpr char ConnRxRate[] = "ConnRxRate";
constexpr char ConnTxRate[] = "ConnTxRate";
constexpr char ConnSecurity[] = "ConnSecurity";
constexpr char ConnAuth[] = "ConnAuth";
constexpr char ConnCipher[] = "ConnCipher";
}  // namespace iv

// Value names of a BSS subkey.
namespace bv {
constexpr char Ssid[] = "Ssid";
constexpr char Bssid[] = "Bssid";
constexpr char Channel[] = "Channel";
constexpr char Rssi[] = "Rssi";
constexpr char LinkQuality[] = "LinkQuality";
constexpr char Privacy[] = "Privacy";
constexpr char BssType[] = "BssType";
constexpr char PhyType[] = "PhyType";
constexpr char Security[] = "Security";
constexpr char Country[] = "Country";
constexpr char Triplets[] = "Triplets";
constexpr char Key[] = "Key";
}  // namespace bv

constexpr size_t kMaxListText = 16 * 1024;

DWORD U32Or(HKEY key, const char* name, DWORD fallback) {
    auto v = sim::ReadU32(key, name);
    return v ? *v : fallback;
}

ULONGLONG U64Or(HKEY key, const char* name, ULONGLONG fallback) {
    auto v = sim::ReadU64(key, name);
    return v ? *v : fallback;
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        while (!part.empty() && part.front() == ' ') part.erase(part.begin());
        while (!part.empty() && part.back() == ' ') part.pop_back();
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool ReadBinary(HKEY key, const char* name, std::string& out, size_t maxBytes) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!sim::ReadRaw(key, name, type, data, static_cast<DWORD>(maxBytes)) || type != REG_BINARY) return false;
    out.assign(data.begin(), data.end());
    return true;
}

// "on,off,on" → radio states, one per PHY; missing or unreadable: on.
std::vector<DWORD> ReadRadioList(HKEY key, const char* name, size_t phys) {
    std::vector<DWORD> states(phys, dot11_radio_state_on);
    std::string text;
    if (!sim::ReadText(key, name, text, kMaxListText)) return states;
    std::vector<std::string> parts = SplitList(text, ',');
    for (size_t i = 0; i < parts.size() && i < phys; ++i) {
        std::string p = Lower(parts[i]);
        if (p == "off" || p == "2") states[i] = dot11_radio_state_off;
    }
    return states;
}

// Open and shared-key WEP: what every adapter offers, in both modes.
std::vector<AuthCipher> WepPairs() {
    return {{DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_NONE},
            {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_WEP40},
            {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_WEP104},
            {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_WEP},
            {DOT11_AUTH_ALGO_80211_SHARED_KEY, DOT11_CIPHER_ALGO_WEP40},
            {DOT11_AUTH_ALGO_80211_SHARED_KEY, DOT11_CIPHER_ALGO_WEP104},
            {DOT11_AUTH_ALGO_80211_SHARED_KEY, DOT11_CIPHER_ALGO_WEP}};
}

std::vector<AuthCipher> DefaultInfraPairs() {
    std::vector<AuthCipher> pairs = WepPairs();
    pairs.insert(pairs.end(), {{DOT11_AUTH_ALGO_WPA_PSK, DOT11_CIPHER_ALGO_TKIP},
                               {DOT11_AUTH_ALGO_WPA_PSK, DOT11_CIPHER_ALGO_CCMP},
                               {DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_TKIP},
                               {DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_CCMP}});
    return pairs;
}

std::vector<AuthCipher> DefaultAdhocPairs() {
    std::vector<AuthCipher> pairs = WepPairs();
    pairs.push_back({DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_CCMP});
    return pairs;
}

std::vector<AuthCipher> ReadPairs(HKEY key, const char* name, std::vector<AuthCipher> fallback) {
    std::string text;
    std::vector<AuthCipher> pairs;
    if (sim::ReadText(key, name, text, kMaxListText) && ParsePairs(text, pairs)) return pairs;
    return fallback;
}

Connection ReadConnection(HKEY key) {
    Connection c;
    c.connected = U32Or(key, iv::Connected, 0) != 0;
    c.mode = U32Or(key, iv::ConnMode, wlan_connection_mode_profile);
    ReadTextW(key, iv::ConnProfile, c.profile, WLAN_MAX_NAME_LENGTH - 1);
    if (!ReadBinary(key, iv::ConnSsid, c.ssid, DOT11_SSID_MAX_LENGTH)) c.ssid.clear();
    std::string text;
    if (sim::ReadText(key, iv::ConnBssid, text, sim::kMaxBssidText)) sim::ParseBssid(text, c.bssid);
    c.bssType = U32Or(key, iv::ConnBssType, dot11_BSS_type_infrastructure);
    c.phyType = U32Or(key, iv::ConnPhyType, dot11_phy_type_erp);
    c.phyIndex = U32Or(key, iv::ConnPhyIndex, 0);
    c.channel = U32Or(key, iv::ConnChannel, 6);
    c.rssi = static_cast<LONG>(U32Or(key, iv::ConnRssi, static_cast<DWORD>(-60)));
    c.signal = std::min<DWORD>(U32Or(key, iv::ConnSignal, QualityFromRssi(c.rssi)), 100);
    c.rxRate = U32Or(key, iv::ConnRxRate, MaxRateKbps(c.phyType, c.channel));
    c.txRate = U32Or(key, iv::ConnTxRate, c.rxRate);
    c.securityEnabled = U32Or(key, iv::ConnSecurity, 0) != 0;
    c.auth = U32Or(key, iv::ConnAuth, DOT11_AUTH_ALGO_80211_OPEN);
    c.cipher = U32Or(key, iv::ConnCipher, DOT11_CIPHER_ALGO_NONE);
    return c;
}

Bss ReadBss(HKEY key, const std::string& subkey) {
    Bss b;
    b.subkey = subkey;
    if (!ReadBinary(key, bv::Ssid, b.ssid, DOT11_SSID_MAX_LENGTH)) b.ssid.clear();
    std::string text;
    if (sim::ReadText(key, bv::Bssid, text, sim::kMaxBssidText)) sim::ParseBssid(text, b.bssid);
    b.channel = U32Or(key, bv::Channel, 6);
    b.rssi = static_cast<LONG>(U32Or(key, bv::Rssi, static_cast<DWORD>(-60)));
    b.linkQuality = static_cast<LONG>(U32Or(key, bv::LinkQuality, static_cast<DWORD>(-1)));
    b.privacy = static_cast<LONG>(U32Or(key, bv::Privacy, static_cast<DWORD>(-1)));
    b.bssType = U32Or(key, bv::BssType, dot11_BSS_type_infrastructure);
    b.phyType = U32Or(key, bv::PhyType, 0);
    if (sim::ReadText(key, bv::Security, text, 16)) ParseSecurity(text, b.security);
    if (!sim::ReadText(key, bv::Country, b.country, 3)) b.country.clear();
    if (!sim::ReadText(key, bv::Triplets, b.triplets, 1024)) b.triplets.clear();
    if (!sim::ReadText(key, bv::Key, b.key, 64)) b.key.clear();
    return b;
}

bool WriteSigned(HKEY key, const char* name, LONG value) {
    return sim::WriteDword(key, name, static_cast<DWORD>(value));
}

}  // namespace

// ---------------------------------------------------------------------------
// Interface facts

bool Interface::RadioOn() const {
    for (size_t i = 0; i < phys.size(); ++i)
        if (softwareRadio[i] == dot11_radio_state_on && hardwareRadio[i] == dot11_radio_state_on) return true;
    return false;
}

DWORD Interface::State() const {
    return conn.connected && RadioOn() ? wlan_interface_state_connected : wlan_interface_state_disconnected;
}

DWORD Interface::PhyIndexOf(DWORD phyType) const {
    for (size_t i = 0; i < phys.size(); ++i)
        if (phys[i] == phyType) return static_cast<DWORD>(i);
    return 0;
}

// ---------------------------------------------------------------------------
// Registry

RegKey OpenRoot(REGSAM access) { return sim::OpenKey(HKEY_CURRENT_USER, kKeyPath, access); }
RegKey CreateRoot() { return sim::CreateKey(HKEY_CURRENT_USER, kKeyPath); }
bool ClearRoot() {
    RegKey root = OpenRoot(KEY_READ | KEY_WRITE);
    if (!root) return true;
    // A program using the stand-in writes its buffer counts at any moment, so
    // a subkey may come back between listing and deleting: try again then.
    // The key itself stays; empty, it reads as the default state.
    for (int attempt = 0; attempt < 20; ++attempt) {
        bool clean = true;
        for (const std::string& name : sim::NetworkSubkeyNames(root.get()))
            clean = sim::DeleteKeyTree(root.get(), name.c_str()) && clean;
        std::vector<std::string> values;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof(name);
            if (RegEnumValueA(root.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            values.emplace_back(name, len);
        }
        for (const std::string& v : values) {
            LONG r = RegDeleteValueA(root.get(), v.c_str());
            clean = clean && (r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND);
        }
        if (clean) return true;
        Sleep(20);
    }
    return false;
}

Settings ReadSettings(HKEY root) {
    Settings s;
    s.notifyDelayMs = std::min(U32Or(root, "NotifyDelayMs", kDefaultNotifyDelayMs), kMaxNotifyDelayMs);
    DWORD version = U32Or(root, "ApiVersion", 2);
    s.apiVersion = version == 1 ? 1 : 2;
    return s;
}

Interface DefaultInterface(const std::string& name) {
    Interface ifc;
    ifc.subkey = name;
    uint64_t number = 0;
    sim::ParseUnsigned64(name, number);
    // {57534E44-0000-4000-8000-0000000000nn}: a fixed GUID per subkey number.
    ifc.guid = {0x57534E44, 0x0000, 0x4000, {0x80, 0x00, 0, 0, static_cast<BYTE>(number >> 24),
                                            static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 8),
                                            static_cast<BYTE>(number + 1)}};
    ifc.description = "Stand-in Wireless LAN Adapter";
    if (number > 0) ifc.description += " #" + std::to_string(number + 1);
    ifc.phys = {dot11_phy_type_ofdm, dot11_phy_type_hrdsss, dot11_phy_type_erp};
    ifc.softwareRadio.assign(ifc.phys.size(), dot11_radio_state_on);
    ifc.hardwareRadio.assign(ifc.phys.size(), dot11_radio_state_on);
    ifc.infraPairs = DefaultInfraPairs();
    ifc.adhocPairs = DefaultAdhocPairs();
    return ifc;
}

static Interface ReadInterface(HKEY key, const std::string& subkey, bool withBss) {
    Interface ifc = DefaultInterface(subkey);
    std::string text;
    GUID guid;
    if (sim::ReadText(key, iv::Guid, text, 38) && ParseGuid(text, guid)) ifc.guid = guid;
    if (sim::ReadText(key, iv::Description, text, kMaxDescription)) ifc.description = text;
    ifc.present = U32Or(key, iv::Present, 1) != 0;
    if (sim::ReadText(key, iv::Phys, text, kMaxListText)) ParsePhyList(text, ifc.phys);
    ifc.softwareRadio = ReadRadioList(key, iv::SoftwareRadio, ifc.phys.size());
    ifc.hardwareRadio = ReadRadioList(key, iv::HardwareRadio, ifc.phys.size());
    ifc.infraPairs = ReadPairs(key, iv::InfraPairs, ifc.infraPairs);
    ifc.adhocPairs = ReadPairs(key, iv::AdhocPairs, ifc.adhocPairs);
    if (sim::ReadText(key, iv::Countries, text, kMaxListText)) ParseCountries(text, ifc.countries);
    DWORD filter = U32Or(key, iv::BssTypeFilter, 3);
    ifc.bssTypeFilter = filter >= 1 && filter <= 3 ? filter : 3;
    ifc.scanResult = U32Or(key, iv::ScanResult, 0);
    ifc.connectResult = U32Or(key, iv::ConnectResult, 0);
    Statistics& st = ifc.stats;
    st.txFrames = U64Or(key, iv::TxFrames, 0);
    st.rxFrames = U64Or(key, iv::RxFrames, 0);
    st.mcastTxFrames = U64Or(key, iv::McastTxFrames, 0);
    st.mcastRxFrames = U64Or(key, iv::McastRxFrames, 0);
    st.txFragments = U64Or(key, iv::TxFragments, 0);
    st.rxFragments = U64Or(key, iv::RxFragments, 0);
    ifc.conn = ReadConnection(key);
    if (withBss) {
        RegKey list = sim::OpenKey(key, kBssSubkey);
        for (const std::string& name : sim::NetworkSubkeyNames(list.get())) {
            if (ifc.bss.size() >= kMaxItems) break;
            RegKey sub = sim::OpenKey(list.get(), name.c_str());
            if (sub) ifc.bss.push_back(ReadBss(sub.get(), name));
        }
    }
    return ifc;
}

std::vector<Interface> ReadInterfaces(HKEY root, bool withBss) {
    std::vector<Interface> result;
    RegKey list = sim::OpenKey(root, kInterfacesSubkey);
    for (const std::string& name : sim::NetworkSubkeyNames(list.get())) {
        if (result.size() >= kMaxItems) break;
        RegKey sub = sim::OpenKey(list.get(), name.c_str());
        if (sub) result.push_back(ReadInterface(sub.get(), name, withBss));
    }
    // An Interfaces key without subkeys reads as none at all: it is there for
    // a moment while wlansim creates it and interface 0 in it, and a reader
    // in that moment must not see the default interface go and come back.
    if (result.empty()) result.push_back(DefaultInterface("0"));
    return result;
}

RegKey CreateInterfaceKey(HKEY root, const std::string& subkey) {
    RegKey list = sim::OpenKey(root, kInterfacesSubkey, KEY_READ | KEY_WRITE);
    if (!list) {
        list = sim::CreateKey(root, kInterfacesSubkey);
        if (!list || !sim::CreateKey(list.get(), "0")) return RegKey();
    }
    return sim::CreateKey(list.get(), subkey.c_str());
}

bool WriteInterfaceConfig(HKEY key, const Interface& ifc) {
    return sim::WriteText(key, iv::Guid, FormatGuid(ifc.guid)) &&
           sim::WriteText(key, iv::Description, ifc.description) &&
           sim::WriteDword(key, iv::Present, ifc.present ? 1 : 0) &&
           sim::WriteText(key, iv::Phys, PhyListText(ifc.phys)) &&
           WriteRadio(key, ifc) && sim::WriteText(key, iv::InfraPairs, FormatPairs(ifc.infraPairs)) &&
           sim::WriteText(key, iv::AdhocPairs, FormatPairs(ifc.adhocPairs)) &&
           sim::WriteText(key, iv::Countries, CountriesText(ifc.countries)) &&
           sim::WriteDword(key, iv::BssTypeFilter, ifc.bssTypeFilter) &&
           sim::WriteDword(key, iv::ScanResult, ifc.scanResult) &&
           sim::WriteDword(key, iv::ConnectResult, ifc.connectResult);
}

bool WriteRadio(HKEY key, const Interface& ifc) {
    // A radio that goes off takes the association with it.
    return sim::WriteText(key, iv::SoftwareRadio, RadioListText(ifc.softwareRadio)) &&
           sim::WriteText(key, iv::HardwareRadio, RadioListText(ifc.hardwareRadio)) &&
           (ifc.RadioOn() || sim::WriteDword(key, iv::Connected, 0));
}

bool WriteStatistics(HKEY key, const Statistics& st) {
    return sim::WriteQword(key, iv::TxFrames, st.txFrames) && sim::WriteQword(key, iv::RxFrames, st.rxFrames) &&
           sim::WriteQword(key, iv::McastTxFrames, st.mcastTxFrames) &&
           sim::WriteQword(key, iv::McastRxFrames, st.mcastRxFrames) &&
           sim::WriteQword(key, iv::TxFragments, st.txFragments) &&
           sim::WriteQword(key, iv::RxFragments, st.rxFragments);
}

bool WriteConnection(HKEY key, const Connection& c) {
    if (!c.connected) return sim::WriteDword(key, iv::Connected, 0);
    // The attributes first, the flag last: a reader in another process never
    // sees a connection with the previous one's attributes.
    return sim::WriteDword(key, iv::ConnMode, c.mode) && WriteTextW(key, iv::ConnProfile, c.profile) &&
           sim::WriteBinary(key, iv::ConnSsid, c.ssid.data(), c.ssid.size()) &&
           sim::WriteText(key, iv::ConnBssid, sim::FormatBssid(c.bssid)) &&
           sim::WriteDword(key, iv::ConnBssType, c.bssType) && sim::WriteDword(key, iv::ConnPhyType, c.phyType) &&
           sim::WriteDword(key, iv::ConnPhyIndex, c.phyIndex) && sim::WriteDword(key, iv::ConnChannel, c.channel) &&
           WriteSigned(key, iv::ConnRssi, c.rssi) && sim::WriteDword(key, iv::ConnSignal, c.signal) &&
           sim::WriteDword(key, iv::ConnRxRate, c.rxRate) && sim::WriteDword(key, iv::ConnTxRate, c.txRate) &&
           sim::WriteDword(key, iv::ConnSecurity, c.securityEnabled ? 1 : 0) &&
           sim::WriteDword(key, iv::ConnAuth, c.auth) && sim::WriteDword(key, iv::ConnCipher, c.cipher) &&
           sim::WriteDword(key, iv::Connected, 1);
}

bool WriteBss(HKEY key, const Bss& b) {
    bool ok = sim::WriteBinary(key, bv::Ssid, b.ssid.data(), b.ssid.size()) &&
              sim::WriteText(key, bv::Bssid, sim::FormatBssid(b.bssid)) &&
              sim::WriteDword(key, bv::Channel, b.channel) && WriteSigned(key, bv::Rssi, b.rssi) &&
              sim::WriteDword(key, bv::BssType, b.bssType) &&
              sim::WriteText(key, bv::Security, SecurityName(b.security));
    if (b.linkQuality >= 0) ok = ok && WriteSigned(key, bv::LinkQuality, b.linkQuality);
    if (b.privacy >= 0) ok = ok && WriteSigned(key, bv::Privacy, b.privacy);
    if (b.phyType != 0) ok = ok && sim::WriteDword(key, bv::PhyType, b.phyType);
    if (!b.country.empty()) ok = ok && sim::WriteText(key, bv::Country, b.country);
    if (!b.triplets.empty()) ok = ok && sim::WriteText(key, bv::Triplets, b.triplets);
    if (!b.key.empty()) ok = ok && sim::WriteText(key, bv::Key, b.key);
    return ok;
}

DWORD InjectedError(HKEY root, const char* function, const char* opcode) {
    RegKey errors = sim::OpenKey(root, kErrorsSubkey);
    if (!errors) return 0;
    if (opcode) {
        std::string name = std::string(function) + "." + opcode;
        if (auto v = sim::ReadU32(errors.get(), name.c_str())) return *v;
    }
    return U32Or(errors.get(), function, 0);
}

bool ReadTextW(HKEY key, const char* name, std::wstring& out, size_t maxLen) {
    if (!key) return false;
    std::wstring wname = Widen(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ || size > (maxLen + 1) * sizeof(WCHAR)) return false;
    std::vector<WCHAR> buffer(size / sizeof(WCHAR) + 1, 0);
    DWORD got = size;
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS)
        return false;
    size_t chars = std::min<size_t>(got, size) / sizeof(WCHAR);
    out.assign(buffer.data(), wcsnlen(buffer.data(), chars));
    return true;
}

bool WriteTextW(HKEY key, const char* name, const std::wstring& value) {
    return key && RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

bool ReadProfile(HKEY ifKey, const std::wstring& name, std::wstring& xml) {
    RegKey profiles = sim::OpenKey(ifKey, kProfilesSubkey);
    return profiles && ReadTextW(profiles.get(), Narrow(name).c_str(), xml, 1 << 20);
}

bool WriteProfile(HKEY ifKey, const std::wstring& name, const std::wstring& xml) {
    RegKey profiles = sim::CreateKey(ifKey, kProfilesSubkey);
    return profiles && RegSetValueExW(profiles.get(), name.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(xml.c_str()),
                                      static_cast<DWORD>((xml.size() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

std::vector<std::wstring> ProfileNames(HKEY ifKey) {
    std::vector<std::wstring> names;
    RegKey profiles = sim::OpenKey(ifKey, kProfilesSubkey);
    WCHAR name[WLAN_MAX_NAME_LENGTH + 1];
    for (DWORD i = 0; profiles && names.size() < kMaxItems; ++i) {
        DWORD len = WLAN_MAX_NAME_LENGTH + 1;
        LONG r = RegEnumValueW(profiles.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_MORE_DATA) continue;  // no profile has so long a name
        if (r != ERROR_SUCCESS) break;       // the end, or the key deleted meanwhile
        names.emplace_back(name, len);
    }
    return names;
}

// ---------------------------------------------------------------------------
// Text forms

std::string FormatGuid(const GUID& g) {
    char text[40];
    snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
             static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
             g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

bool ParseGuid(const std::string& text, GUID& guid) {
    std::string t = text;
    if (t.size() == 38 && t.front() == '{' && t.back() == '}') t = t.substr(1, 36);
    if (t.size() != 36) return false;
    std::string hex;
    for (size_t i = 0; i < t.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (t[i] != '-') return false;
        } else {
            hex += t[i];
        }
    }
    uint64_t parts[11];
    const size_t widths[11] = {8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2};
    size_t at = 0;
    for (int i = 0; i < 11; ++i) {
        if (!sim::ParseUnsigned64("0x" + hex.substr(at, widths[i]), parts[i])) return false;
        at += widths[i];
    }
    guid.Data1 = static_cast<unsigned long>(parts[0]);
    guid.Data2 = static_cast<unsigned short>(parts[1]);
    guid.Data3 = static_cast<unsigned short>(parts[2]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<unsigned char>(parts[3 + i]);
    return true;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

namespace {
struct Named {
    const char* name;
    DWORD value;
};
const Named kPhyNames[] = {{"fhss", 1}, {"dsss", 2},   {"irbaseband", 3}, {"ofdm", 4}, {"hrdsss", 5},
                           {"erp", 6},  {"ht", 7},     {"vht", kPhyVht},  {"a", 4},    {"b", 5},
                           {"g", 6},    {"n", 7},      {"ac", kPhyVht}};
const Named kAuthNames[] = {{"open", 1}, {"shared", 2}, {"wpa", 3},  {"wpapsk", 4},
                            {"wpanone", 5}, {"rsna", 6}, {"rsnapsk", 7}};
const Named kCipherNames[] = {{"none", 0}, {"wep40", 1}, {"tkip", 2}, {"ccmp", 4}, {"wep104", 5}, {"wep", 0x101}};
const Named kBssTypeNames[] = {{"infrastructure", 1}, {"independent", 2}, {"any", 3}};

template <size_t N>
bool LookUp(const Named (&table)[N], const std::string& text, DWORD& value) {
    const std::string t = Lower(text);
    for (const Named& n : table)
        if (t == n.name) {
            value = n.value;
            return true;
        }
    uint64_t v;
    if (!sim::ParseUnsigned64(t, v) || v > 0xFFFFFFFFull) return false;
    value = static_cast<DWORD>(v);
    return true;
}

template <size_t N>
const char* NameOf(const Named (&table)[N], DWORD value) {
    for (const Named& n : table)
        if (n.value == value) return n.name;
    return nullptr;
}
}  // namespace

bool ParsePhyType(const std::string& text, DWORD& phy) { return LookUp(kPhyNames, text, phy); }

std::string PhyTypeName(DWORD phy) {
    const char* name = NameOf(kPhyNames, phy);
    return name ? name : std::to_string(phy);
}

bool ParsePhyList(const std::string& text, std::vector<DWORD>& phys) {
    std::vector<DWORD> parsed;
    for (const std::string& part : SplitList(text, ',')) {
        DWORD phy;
        if (!ParsePhyType(part, phy)) return false;
        parsed.push_back(phy);
    }
    if (parsed.empty() || parsed.size() > kMaxPhys) return false;
    phys = parsed;
    return true;
}

std::string PhyListText(const std::vector<DWORD>& phys) {
    std::string text;
    for (DWORD p : phys) text += (text.empty() ? "" : ",") + PhyTypeName(p);
    return text;
}

std::string RadioListText(const std::vector<DWORD>& states) {
    std::string text;
    for (DWORD s : states) text += std::string(text.empty() ? "" : ",") + (s == dot11_radio_state_off ? "off" : "on");
    return text;
}

bool ParseCountries(const std::string& text, std::vector<std::string>& countries) {
    std::vector<std::string> parsed;
    for (const std::string& c : SplitList(text, ',')) {
        if (c.size() != 2 && c.size() != 3) return false;
        parsed.push_back(c.size() == 2 ? c + " " : c);
    }
    if (parsed.size() > kMaxItems) return false;
    countries = parsed;
    return true;
}

std::string CountriesText(const std::vector<std::string>& countries) {
    std::string text;
    for (const std::string& c : countries) text += (text.empty() ? "" : ",") + c.substr(0, c.find(' '));
    return text;
}

bool ParseSecurity(const std::string& text, Security& security) {
    const std::string t = Lower(text);
    if (t == "open") security = Security::Open;
    else if (t == "wep") security = Security::Wep;
    else if (t == "wpa") security = Security::Wpa;
    else if (t == "wpa2") security = Security::Wpa2;
    else if (t == "wpa-wpa2") security = Security::WpaWpa2;
    else return false;
    return true;
}

const char* SecurityName(Security security) {
    switch (security) {
    case Security::Open: return "open";
    case Security::Wep: return "wep";
    case Security::Wpa: return "wpa";
    case Security::Wpa2: return "wpa2";
    case Security::WpaWpa2: return "wpa-wpa2";
    }
    return "open";
}

bool ParsePairs(const std::string& text, std::vector<AuthCipher>& pairs) {
    std::vector<AuthCipher> parsed;
    for (const std::string& part : SplitList(text, ',')) {
        size_t slash = part.find('/');
        if (slash == std::string::npos) return false;
        AuthCipher p;
        if (!LookUp(kAuthNames, part.substr(0, slash), p.auth) ||
            !LookUp(kCipherNames, part.substr(slash + 1), p.cipher))
            return false;
        parsed.push_back(p);
    }
    if (parsed.size() > kMaxItems) return false;
    pairs = parsed;
    return true;
}

std::string FormatPairs(const std::vector<AuthCipher>& pairs) {
    std::string text;
    for (const AuthCipher& p : pairs) {
        const char* a = NameOf(kAuthNames, p.auth);
        const char* c = NameOf(kCipherNames, p.cipher);
        text += (text.empty() ? "" : ",") + (a ? std::string(a) : std::to_string(p.auth)) + "/" +
                (c ? std::string(c) : std::to_string(p.cipher));
    }
    return text;
}

const char* AuthName(DWORD auth) {
    const char* name = NameOf(kAuthNames, auth);
    return name ? name : "other";
}

const char* CipherName(DWORD cipher) {
    const char* name = NameOf(kCipherNames, cipher);
    return name ? name : "other";
}

bool ParseBssType(const std::string& text, DWORD& type) {
    const std::string t = Lower(text);
    if (t == "infra" || t == "ess") {
        type = 1;
        return true;
    }
    if (t == "adhoc" || t == "ibss") {
        type = 2;
        return true;
    }
    return LookUp(kBssTypeNames, t, type) && type >= 1 && type <= 3;
}

const char* BssTypeName(DWORD type) {
    const char* name = NameOf(kBssTypeNames, type);
    return name ? name : "invalid";
}

const char* InterfaceStateName(DWORD state) {
    static const char* const names[] = {"not_ready",    "connected",   "ad_hoc_network_formed",
                                        "disconnecting", "disconnected", "associating",
                                        "discovering",  "authenticating"};
    return state < 8 ? names[state] : "invalid";
}

// ---------------------------------------------------------------------------
// Radio facts

ULONG ChannelFrequencyKhz(DWORD channel) {
    if (channel == 14) return 2484000;
    if (channel >= 1 && channel < 14) return (2407 + 5 * channel) * 1000;
    return (5000 + 5 * channel) * 1000;
}

DWORD EffectivePhyType(const Bss& bss) {
    if (bss.phyType != 0) return bss.phyType;
    return bss.channel > 14 ? dot11_phy_type_ofdm : dot11_phy_type_erp;
}

DWORD QualityFromRssi(LONG rssi) {
    LONG q = 2 * (rssi + 100);
    return static_cast<DWORD>(std::max<LONG>(0, std::min<LONG>(100, q)));
}

LONG EffectiveLinkQuality(const Bss& bss) {
    return bss.linkQuality >= 0 ? std::min<LONG>(bss.linkQuality, 100) : static_cast<LONG>(QualityFromRssi(bss.rssi));
}

bool EffectivePrivacy(const Bss& bss) {
    return bss.privacy >= 0 ? bss.privacy != 0 : bss.security != Security::Open;
}

std::vector<USHORT> RateSet(DWORD phyType, DWORD channel) {
    const USHORT B = 0x8000;
    const std::vector<USHORT> erp = {USHORT(2 | B), USHORT(4 | B), USHORT(11 | B), USHORT(22 | B), 12, 18, 24,
                                     36, 48, 72, 96, 108};
    const std::vector<USHORT> ofdm = {USHORT(12 | B), 18, USHORT(24 | B), 36, USHORT(48 | B), 72, 96, 108};
    switch (phyType) {
    case dot11_phy_type_hrdsss: return {USHORT(2 | B), USHORT(4 | B), USHORT(11 | B), USHORT(22 | B)};
    case dot11_phy_type_erp: return erp;
    case dot11_phy_type_ofdm: return ofdm;
    case dot11_phy_type_ht:
    case kPhyVht: return channel > 14 ? ofdm : erp;
    default: return {USHORT(2 | B), USHORT(4 | B)};
    }
}

DWORD MaxRateKbps(DWORD phyType, DWORD channel) {
    if (phyType == dot11_phy_type_ht) return 144400;
    if (phyType == kPhyVht) return 433300;
    DWORD best = 0;
    for (USHORT r : RateSet(phyType, channel)) best = std::max<DWORD>(best, (r & 0x7FFF) * 500u);
    return best;
}

std::vector<BYTE> InformationElements(const Bss& bss) {
    std::vector<BYTE> ie;
    auto element = [&](BYTE id, const std::vector<BYTE>& body) {
        ie.push_back(id);
        ie.push_back(static_cast<BYTE>(body.size()));
        ie.insert(ie.end(), body.begin(), body.end());
    };
    element(0, std::vector<BYTE>(bss.ssid.begin(), bss.ssid.end()));
    std::vector<BYTE> rates;
    for (USHORT r : RateSet(EffectivePhyType(bss), bss.channel))
        rates.push_back(static_cast<BYTE>((r & 0x7F) | (r & 0x8000 ? 0x80 : 0)));
    element(1, std::vector<BYTE>(rates.begin(), rates.begin() + std::min<size_t>(8, rates.size())));
    if (bss.channel >= 1 && bss.channel <= 14) element(3, {static_cast<BYTE>(bss.channel)});
    if (bss.country.size() >= 2) {
        std::vector<BYTE> body = {static_cast<BYTE>(bss.country[0]), static_cast<BYTE>(bss.country[1]),
                                  static_cast<BYTE>(bss.country.size() > 2 ? bss.country[2] : ' ')};
        std::string triplets = bss.triplets;
        if (triplets.empty()) {
            if (bss.channel > 14) triplets = "36,8,23";
            else if (bss.country.compare(0, 2, "US") == 0 || bss.country.compare(0, 2, "CA") == 0) triplets = "1,11,30";
            else if (bss.country.compare(0, 2, "JP") == 0) triplets = "1,14,20";
            else triplets = "1,13,20";
        }
        for (const std::string& t : SplitList(triplets, ';')) {
            std::vector<std::string> v = SplitList(t, ',');
            uint64_t n[3];
            if (v.size() != 3 || body.size() + 3 > 255) continue;
            bool ok = true;
            for (int i = 0; i < 3; ++i) ok = ok && sim::ParseUnsigned64(v[i], n[i]) && n[i] <= 255;
            if (ok)
                for (int i = 0; i < 3; ++i) body.push_back(static_cast<BYTE>(n[i]));
        }
        if (body.size() % 2 && body.size() < 255) body.push_back(0);  // the element's length is even
        element(7, body);
    }
    // RSN element: version 1, group cipher, pairwise ciphers, one AKM (PSK).
    const BYTE rsnTkip[] = {0x00, 0x0F, 0xAC, 0x02}, rsnCcmp[] = {0x00, 0x0F, 0xAC, 0x04};
    const BYTE rsnPsk[] = {0x00, 0x0F, 0xAC, 0x02};
    if (bss.security == Security::Wpa2 || bss.security == Security::WpaWpa2) {
        const bool mixed = bss.security == Security::WpaWpa2;
        std::vector<BYTE> body = {0x01, 0x00};
        body.insert(body.end(), mixed ? rsnTkip : rsnCcmp, (mixed ? rsnTkip : rsnCcmp) + 4);
        body.push_back(mixed ? 2 : 1);
        body.push_back(0);
        body.insert(body.end(), rsnCcmp, rsnCcmp + 4);
        if (mixed) body.insert(body.end(), rsnTkip, rsnTkip + 4);
        body.push_back(1);
        body.push_back(0);
        body.insert(body.end(), rsnPsk, rsnPsk + 4);
        body.push_back(0);
        body.push_back(0);
        element(48, body);
    }
    if (rates.size() > 8) element(50, std::vector<BYTE>(rates.begin() + 8, rates.end()));
    // WPA vendor element: OUI 00:50:F2 type 1, TKIP group and pairwise, PSK.
    if (bss.security == Security::Wpa || bss.security == Security::WpaWpa2) {
        element(221, {0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50, 0xF2,
                      0x02, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02});
    }
    return ie;
}

AuthCipher DefaultAuthCipher(Security security) {
    switch (security) {
    case Security::Open: return {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_NONE};
    case Security::Wep: return {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_WEP};
    case Security::Wpa: return {DOT11_AUTH_ALGO_WPA_PSK, DOT11_CIPHER_ALGO_TKIP};
    case Security::Wpa2:
    case Security::WpaWpa2: return {DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_CCMP};
    }
    return {DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_NONE};
}

}  // namespace standin
