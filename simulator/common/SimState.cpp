#include "SimState.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace sim {

// ---------------------------------------------------------------------------
// Registry handles

RegKey OpenKey(HKEY parent, const char* subkey, REGSAM access) {
    HKEY h = nullptr;
    if (!parent || RegOpenKeyExA(parent, subkey, 0, access, &h) != ERROR_SUCCESS) return RegKey();
    return RegKey(h);
}

RegKey CreateKey(HKEY parent, const char* subkey) {
    HKEY h = nullptr;
    if (!parent ||
        RegCreateKeyExA(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &h, nullptr) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(h);
}

bool DeleteKeyTree(HKEY parent, const char* subkey) {
    {
        HKEY raw = nullptr;
        LONG r = RegOpenKeyExA(parent, subkey, 0, KEY_READ | KEY_WRITE, &raw);
        if (r == ERROR_FILE_NOT_FOUND) return true;
        if (r != ERROR_SUCCESS) return false;
        RegKey key(raw);
        // Collect the names first: deleting while enumerating shifts the indices.
        std::vector<std::string> children;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof(name);
            r = RegEnumKeyExA(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr);
            if (r == ERROR_NO_MORE_ITEMS) break;
            if (r != ERROR_SUCCESS) return false;
            children.emplace_back(name, len);
        }
        for (const std::string& child : children)
            if (!DeleteKeyTree(key.get(), child.c_str())) return false;
    }
    LONG r = RegDeleteKeyA(parent, subkey);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

RegKey OpenStateKey(REGSAM access) { return OpenKey(HKEY_CURRENT_USER, kStateKeyPath, access); }
RegKey CreateStateKey() { return CreateKey(HKEY_CURRENT_USER, kStateKeyPath); }
bool DeleteStateKey() { return DeleteKeyTree(HKEY_CURRENT_USER, kStateKeyPath); }

// ---------------------------------------------------------------------------
// Readers

bool ReadRaw(HKEY key, const char* name, DWORD& type, std::vector<BYTE>& data, DWORD maxBytes) {
    if (!key) return false;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    // Another process may rewrite the value between the two queries: retry a
    // few times with the size the registry reports, never beyond maxBytes.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (size > maxBytes) return false;
        data.assign(size + 1, 0);  // +1 so that a zero-sized value still has storage
        DWORD got = size;
        LONG r = RegQueryValueExA(key, name, nullptr, &type, data.data(), &got);
        if (r == ERROR_SUCCESS) {
            data.resize(std::min(got, size));
            return true;
        }
        if (r != ERROR_MORE_DATA) return false;
        size = got;
    }
    return false;
}

bool ReadText(HKEY key, const char* name, std::string& out, size_t maxLen) {
    DWORD type = 0;
    std::vector<BYTE> data;
    // Room for the text, its terminator and one byte more, so that an overlong
    // value is seen as overlong rather than silently cut. The size query of
    // the ANSI API may report the stored UTF-16 size, hence twice that.
    if (!ReadRaw(key, name, type, data, static_cast<DWORD>(2 * (maxLen + 2)))) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    const char* p = reinterpret_cast<const char*>(data.data());
    size_t len = strnlen(p, data.size());
    if (len > maxLen) return false;
    out.assign(p, len);
    return true;
}

std::optional<uint32_t> ReadU32(HKEY key, const char* name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRaw(key, name, type, data, 64)) return std::nullopt;
    if (type == REG_DWORD && data.size() == 4) {
        uint32_t v;
        memcpy(&v, data.data(), 4);
        return v;
    }
    if (type == REG_QWORD && data.size() == 8) {
        uint64_t v;
        memcpy(&v, data.data(), 8);
        if (v > 0xFFFFFFFFull) return std::nullopt;
        return static_cast<uint32_t>(v);
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const char* p = reinterpret_cast<const char*>(data.data());
        int64_t v;
        if (!ParseInteger(std::string(p, strnlen(p, data.size())), v)) return std::nullopt;
        if (v < std::numeric_limits<int32_t>::min() || v > 0xFFFFFFFFll) return std::nullopt;
        return static_cast<uint32_t>(v);
    }
    return std::nullopt;
}

std::optional<uint64_t> ReadU64(HKEY key, const char* name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRaw(key, name, type, data, 64)) return std::nullopt;
    if (type == REG_QWORD && data.size() == 8) {
        uint64_t v;
        memcpy(&v, data.data(), 8);
        return v;
    }
    if (type == REG_DWORD && data.size() == 4) {
        uint32_t v;
        memcpy(&v, data.data(), 4);
        return v;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const char* p = reinterpret_cast<const char*>(data.data());
        uint64_t v;
        if (!ParseUnsigned64(std::string(p, strnlen(p, data.size())), v)) return std::nullopt;
        return v;
    }
    return std::nullopt;
}

bool WriteDword(HKEY key, const char* name, uint32_t value) {
    DWORD v = value;
    return key && RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4) ==
                      ERROR_SUCCESS;
}

bool WriteQword(HKEY key, const char* name, uint64_t value) {
    return key && RegSetValueExA(key, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value),
                                 8) == ERROR_SUCCESS;
}

bool WriteText(HKEY key, const char* name, const std::string& value) {
    return key && RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteBinary(HKEY key, const char* name, const void* data, size_t size) {
    return key && RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// Text forms

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseUnsigned64(const std::string& text, uint64_t& value) {
    size_t i = 0;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= text.size()) return false;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0 || static_cast<unsigned>(d) >= base) return false;
        if (v > (std::numeric_limits<uint64_t>::max() - d) / base) return false;
        v = v * base + d;
    }
    value = v;
    return true;
}

bool ParseInteger(const std::string& text, int64_t& value) {
    bool negative = !text.empty() && text[0] == '-';
    uint64_t magnitude;
    if (!ParseUnsigned64(negative ? text.substr(1) : text, magnitude)) return false;
    if (negative) {
        if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1) return false;
        value = magnitude == 0 ? 0 : -static_cast<int64_t>(magnitude - 1) - 1;
    } else {
        if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return false;
        value = static_cast<int64_t>(magnitude);
    }
    return true;
}

bool ParseBssid(const std::string& text, unsigned char out[6]) {
    if (text.size() != kMaxBssidText) return false;
    unsigned char bytes[6];
    for (int i = 0; i < 6; ++i) {
        int hi = HexDigit(text[i * 3]);
        int lo = HexDigit(text[i * 3 + 1]);
        if (hi < 0 || lo < 0) return false;
        if (i < 5 && text[i * 3 + 2] != ':' && text[i * 3 + 2] != '-') return false;
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    memcpy(out, bytes, 6);
    return true;
}

void FormatBssid(const unsigned char bssid[6], char out[18]) {
    snprintf(out, 18, "%02X:%02X:%02X:%02X:%02X:%02X", bssid[0], bssid[1], bssid[2], bssid[3],
             bssid[4], bssid[5]);
}

std::string FormatBssid(const unsigned char bssid[6]) {
    char text[18];
    FormatBssid(bssid, text);
    return text;
}

bool ParseChannels(const std::string& text, std::vector<int>& out) {
    std::vector<int> channels;
    size_t i = 0;
    auto number = [&](int& n) {
        size_t start = i;
        n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 4)
            n = n * 10 + (text[i++] - '0');
        return i > start && n >= 1 && n <= kChannelTableSize;
    };
    while (i < text.size()) {
        if (text[i] == ',' || text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        int first, last;
        if (!number(first)) return false;
        last = first;
        if (i < text.size() && text[i] == '-') {
            ++i;
            if (!number(last) || last < first) return false;
        }
        if (i < text.size() && text[i] != ',' && text[i] != ' ' && text[i] != '\t') return false;
        for (int c = first; c <= last; ++c) channels.push_back(c);
    }
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    out.swap(channels);
    return true;
}

void CopyBounded(char* dst, size_t size, const std::string& src) {
    if (!dst || size == 0) return;
    size_t n = std::min(src.size(), size - 1);
    memcpy(dst, src.data(), n);
    dst[n] = '\0';
}

// ---------------------------------------------------------------------------
// Networks in range

static Network MakeNetwork(const char* ssid, const unsigned char (&bssid)[6], int32_t channel,
                           int32_t encryption, int32_t signal, int32_t type, uint32_t jitter) {
    Network n;
    n.ssid = ssid;
    memcpy(n.bssid, bssid, 6);
    n.channel = channel;
    n.encryption = encryption;
    n.signal = signal;
    n.networkType = type;
    n.jitter = jitter;
    return n;
}

const std::vector<Network>& DefaultNetworks() {
    // Open, WEP and WPA networks, access points and ad hoc cells, 2.4 GHz and
    // 5 GHz channels, strong to weak.
    static const std::vector<Network> networks = [] {
        std::vector<Network> v;
        v.push_back(MakeNetwork("HomeNet", {0x00, 0x0E, 0x8E, 0x1A, 0x2B, 0x3C}, 6, 1, 78, 1, 4));
        v.push_back(MakeNetwork("CoffeeShop", {0x00, 0x14, 0xBF, 0x55, 0x66, 0x77}, 1, 0, 56, 1, 4));
        v.push_back(MakeNetwork("Office-5G", {0x00, 0x0F, 0x66, 0xA0, 0xB1, 0xC2}, 36, 1, 63, 1, 4));
        v.push_back(MakeNetwork("LabAdHoc", {0x02, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, 11, 0, 34, 0, 4));
        v.push_back(MakeNetwork("Library", {0x00, 0x90, 0x4C, 0x10, 0x20, 0x30}, 44, 0, 41, 1, 4));
        v.push_back(MakeNetwork("Neighbour", {0x00, 0x18, 0x39, 0xAB, 0xCD, 0xEF}, 3, 1, 21, 1, 4));
        return v;
    }();
    return networks;
}

Network GeneratedNetwork(uint32_t i) {
    static const int32_t channels[] = {1, 6, 11, 2, 9, 36, 48, 64};
    Network n;
    char ssid[32];
    snprintf(ssid, sizeof(ssid), "Net-%05u", static_cast<unsigned>(i + 1));
    n.ssid = ssid;
    const unsigned char bssid[6] = {0x02, 0x4E, 0x00, static_cast<unsigned char>(i >> 16),
                                    static_cast<unsigned char>(i >> 8),
                                    static_cast<unsigned char>(i)};
    memcpy(n.bssid, bssid, 6);
    n.channel = channels[i % 8];
    n.encryption = (i % 3 != 0) ? 1 : 0;
    n.signal = 5 + static_cast<int32_t>((i * 37u) % 91u);
    n.networkType = (i % 5 == 4) ? 0 : 1;
    n.jitter = 0;
    return n;
}

Network ReadNetwork(HKEY networkKey, const std::string& subkeyName) {
    Network n;
    n.channel = 6;
    n.signal = 50;
    RegKey key = OpenKey(networkKey, subkeyName.c_str());
    if (!key) return n;
    std::string text;
    if (ReadText(key.get(), netval::SSID, text, kMaxSurveySsid)) n.ssid = text;
    if (ReadText(key.get(), netval::BSSID, text, kMaxBssidText)) ParseBssid(text, n.bssid);
    // Odd numbers pass through untouched: the monitor must cope with them.
    if (auto v = ReadU32(key.get(), netval::Channel)) n.channel = static_cast<int32_t>(*v);
    if (auto v = ReadU32(key.get(), netval::Encryption)) n.encryption = static_cast<int32_t>(*v);
    if (auto v = ReadU32(key.get(), netval::Signal)) n.signal = static_cast<int32_t>(*v);
    if (auto v = ReadU32(key.get(), netval::NetworkType)) n.networkType = static_cast<int32_t>(*v);
    if (auto v = ReadU32(key.get(), netval::Jitter)) n.jitter = std::min(*v, kMaxJitter);
    return n;
}

void WriteNetwork(HKEY networkKey, const Network& net) {
    WriteText(networkKey, netval::SSID, net.ssid);
    WriteText(networkKey, netval::BSSID, FormatBssid(net.bssid));
    WriteDword(networkKey, netval::Channel, static_cast<uint32_t>(net.channel));
    WriteDword(networkKey, netval::Encryption, static_cast<uint32_t>(net.encryption));
    WriteDword(networkKey, netval::Signal, static_cast<uint32_t>(net.signal));
    WriteDword(networkKey, netval::NetworkType, static_cast<uint32_t>(net.networkType));
    WriteDword(networkKey, netval::Jitter, net.jitter);
}

bool HasNetworksKey(HKEY state) { return static_cast<bool>(OpenKey(state, kNetworksSubkey)); }

std::vector<std::string> NetworkSubkeyNames(HKEY networks) {
    std::vector<std::string> names;
    if (!networks) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(name);
        LONG r = RegEnumKeyExA(networks, i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_MORE_DATA) continue;  // an overlong name: skip it
        // No more, or the key was deleted under the handle (every index then
        // fails the same way): the list ends here.
        if (r != ERROR_SUCCESS) break;
        names.emplace_back(name, len);
    }
    // The registry enumerates "10" before "2"; a scan lists them as numbered.
    auto numeric = [](const std::string& s, uint64_t& v) {
        return !s.empty() && s.size() <= 9 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
               ParseUnsigned64(s, v);
    };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        uint64_t va = 0, vb = 0;
        bool na = numeric(a, va), nb = numeric(b, vb);
        if (na != nb) return na;
        if (na && va != vb) return va < vb;
        return a < b;
    });
    return names;
}

std::vector<Network> NetworksInRange(HKEY state) {
    std::vector<Network> networks;
    RegKey list = OpenKey(state, kNetworksSubkey);
    if (list) {
        for (const std::string& name : NetworkSubkeyNames(list.get()))
            networks.push_back(ReadNetwork(list.get(), name));
    } else {
        networks = DefaultNetworks();
    }
    uint32_t extra = ExtraNetworkCount(state);
    networks.reserve(networks.size() + extra);
    for (uint32_t i = 0; i < extra; ++i) networks.push_back(GeneratedNetwork(i));
    return networks;
}

// ---------------------------------------------------------------------------
// Effective readings

static uint32_t U32Or(HKEY state, const char* name, uint32_t fallback) {
    return ReadU32(state, name).value_or(fallback);
}

static uint16_t Percent(int64_t v) { return static_cast<uint16_t>(std::clamp<int64_t>(v, 0, 100)); }

bool IsPresent(HKEY state) { return U32Or(state, val::Present, 1) != 0; }
bool IsRadioOn(HKEY state) { return U32Or(state, val::Radio, 1) != 0; }
bool IsAssociated(HKEY state) { return U32Or(state, val::Associated, 1) != 0; }

std::string AdapterName(HKEY state) {
    std::string s;
    return ReadText(state, val::AdapterName, s, kMaxAdapterName) ? s : kDefaultAdapterName;
}

std::string CurrentSsid(HKEY state) {
    std::string s;
    return ReadText(state, val::SSID, s, kMaxSsid) ? s : DefaultNetworks()[0].ssid;
}

void CurrentBssid(HKEY state, unsigned char out[6]) {
    std::string s;
    if (ReadText(state, val::BSSID, s, kMaxBssidText) && ParseBssid(s, out)) return;
    memcpy(out, DefaultNetworks()[0].bssid, 6);
}

int32_t CurrentChannel(HKEY state) {
    return static_cast<int32_t>(
        U32Or(state, val::Channel, static_cast<uint32_t>(DefaultNetworks()[0].channel)));
}

uint16_t NetworkMode(HKEY state) {
    uint32_t fallback = DefaultNetworks()[0].networkType == 1 ? 1 : 0;
    uint32_t v = U32Or(state, val::NetworkMode, fallback);
    return static_cast<uint16_t>(v <= 1 ? v : fallback);
}

bool EncryptionOn(HKEY state) {
    return U32Or(state, val::Encryption, DefaultNetworks()[0].encryption != 0) != 0;
}

uint16_t WirelessType(HKEY state) {
    // 5 GHz channels mean 802.11a, the others 802.11g.
    uint32_t fallback = CurrentChannel(state) > 14 ? 0 : 4;
    uint32_t v = U32Or(state, val::WirelessType, fallback);
    return static_cast<uint16_t>(v <= 5 ? v : fallback);
}

uint32_t TxRateMbps(HKEY state) { return U32Or(state, val::TxRate, kDefaultTxRate); }
uint32_t RxRateMbps(HKEY state) {
    if (auto v = ReadU32(state, val::RxRate)) return *v;
    return TxRateMbps(state);
}

uint32_t LinkSpeed(HKEY state) {
    if (auto v = ReadU32(state, val::LinkSpeed)) return *v;
    uint64_t speed = static_cast<uint64_t>(TxRateMbps(state)) * 10000u;  // Mbps → 100 bit/s
    return static_cast<uint32_t>(std::min<uint64_t>(speed, 0xFFFFFFFFu));
}

int SignalWobble(DWORD now) {
    static const int steps[12] = {0, 1, 2, 3, 2, 1, 0, -1, -2, -3, -2, -1};
    return steps[(now / 1000) % 12];
}

uint16_t SignalPercent(HKEY state, DWORD now) {
    if (auto v = ReadU32(state, val::Signal)) return Percent(static_cast<int32_t>(*v));
    // The current network's signal as the last scan would see it, moving a little.
    int base = kSignalOutOfRange;
    unsigned char bssid[6];
    CurrentBssid(state, bssid);
    std::string ssid = CurrentSsid(state);
    const Network* bySsid = nullptr;
    const Network* byBssid = nullptr;
    std::vector<Network> networks = NetworksInRange(state);
    for (const Network& n : networks) {
        if (!byBssid && memcmp(n.bssid, bssid, 6) == 0) byBssid = &n;
        if (!bySsid && n.ssid == ssid) bySsid = &n;
    }
    if (const Network* n = byBssid ? byBssid : bySsid) base = Percent(n->signal);
    return Percent(base + SignalWobble(now));
}

uint16_t LinkQualityPercent(HKEY state, DWORD now) {
    if (auto v = ReadU32(state, val::LinkQuality)) return Percent(static_cast<int32_t>(*v));
    return Percent(SignalPercent(state, now) * 9 / 10 + 8);
}

std::string Country(HKEY state) {
    std::string s;
    return ReadText(state, val::Country, s, kMaxCountry) ? s : kDefaultCountry;
}

std::string DriverVersion(HKEY state) {
    std::string s;
    return ReadText(state, val::DriverVersion, s, kMaxDriverVersion) ? s : kDefaultDriverVersion;
}

uint32_t NetMask(HKEY state) {
    // Only the five defined mode bits mean anything.
    return U32Or(state, val::NetMask, kDefaultNetMask) & 0x1Fu;
}

std::vector<int> ChannelList(HKEY state) {
    std::vector<int> channels;
    std::string s;
    if (ReadText(state, val::Channels, s, kMaxChannelsText) && ParseChannels(s, channels))
        return channels;
    ParseChannels(kDefaultChannels, channels);
    return channels;
}

static uint16_t PacketSize(HKEY state, const char* name, uint16_t fallback) {
    uint32_t v = U32Or(state, name, fallback);
    return static_cast<uint16_t>(v <= 0xFFFF ? v : fallback);
}

uint16_t TxPacketSize(HKEY state) { return PacketSize(state, val::TxPacketSize, kDefaultTxPacketSize); }
uint16_t RxPacketSize(HKEY state) { return PacketSize(state, val::RxPacketSize, kDefaultRxPacketSize); }

uint32_t ScanDelayMs(HKEY state) { return std::min(U32Or(state, val::ScanDelayMs, 0), kMaxScanDelayMs); }
bool SurveyFails(HKEY state) { return U32Or(state, val::SurveyFails, 0) != 0; }
uint32_t ExtraNetworkCount(HKEY state) {
    return std::min(U32Or(state, val::ExtraNetworks, 0), kMaxExtraNetworks);
}

// ---------------------------------------------------------------------------
// Value list for nicsim

const std::vector<ValueDef>& StateValues() {
    static const std::vector<ValueDef> defs = {
        {val::Present, Kind::Flag, 0, "adapter present; 0 = removed (Open fails, IsOpen turns false)"},
        {val::AdapterName, Kind::Text, kMaxAdapterName, "the one adapter name Open accepts"},
        {val::Radio, Kind::Flag, 0, "radio transmitter on"},
        {val::Associated, Kind::Flag, 0, "associated with a network"},
        {val::SSID, Kind::Text, kMaxSsid, "current network name"},
        {val::BSSID, Kind::Bssid, kMaxBssidText, "current station address"},
        {val::Channel, Kind::Number, 0, "current channel"},
        {val::NetworkMode, Kind::Number, 0, "0 ad hoc, 1 infrastructure"},
        {val::Encryption, Kind::Flag, 0, "encryption in use"},
        {val::WirelessType, Kind::Number, 0, "0 a, 1 a Turbo, 2 b, 3 none, 4 g, 5 g Turbo"},
        {val::TxRate, Kind::Number, 0, "transmit rate, Mbps"},
        {val::RxRate, Kind::Number, 0, "receive rate, Mbps"},
        {val::LinkSpeed, Kind::Number, 0, "link speed, units of 100 bit/s"},
        {val::Signal, Kind::Number, 0, "signal strength, percent (unset: moves)"},
        {val::LinkQuality, Kind::Number, 0, "link quality, percent (unset: follows the signal)"},
        {val::Country, Kind::Text, kMaxCountry, "country text"},
        {val::DriverVersion, Kind::Text, kMaxDriverVersion, "driver version text"},
        {val::NetMask, Kind::Number, 0, "supported modes: 1 a, 2 a Turbo, 4 b, 8 g, 16 g Turbo"},
        {val::Channels, Kind::Channels, kMaxChannelsText, "allowed channels, e.g. 1-11,36,40"},
        {val::TxOK, Kind::Counter, 0, "frames sent (unset: grows while associated)"},
        {val::RxOK, Kind::Counter, 0, "frames received (unset: grows while associated)"},
        {val::TxFragment, Kind::Number, 0, "transmit fragments (unset: follows TxOK)"},
        {val::RxFragment, Kind::Number, 0, "receive fragments (unset: follows RxOK)"},
        {val::TxPacketSize, Kind::Number, 0, "bytes per sent frame"},
        {val::RxPacketSize, Kind::Number, 0, "bytes per received frame"},
        {val::ScanDelayMs, Kind::Number, 0, "ms from InitSiteSurvey until results are ready"},
        {val::SurveyFails, Kind::Flag, 0, "1 = QuerySiteSurvey reports false"},
        {val::ExtraNetworks, Kind::Number, 0, "generated networks appended to every scan"},
    };
    return defs;
}

const std::vector<ValueDef>& NetworkValues() {
    static const std::vector<ValueDef> defs = {
        {netval::SSID, Kind::Text, kMaxSurveySsid, "network name (33 or more: no terminator)"},
        {netval::BSSID, Kind::Bssid, kMaxBssidText, "station address"},
        {netval::Channel, Kind::Number, 0, "channel"},
        {netval::Encryption, Kind::Number, 0, "1 = encrypted (other values pass through)"},
        {netval::Signal, Kind::Number, 0, "signal, percent (passes through as given)"},
        {netval::NetworkType, Kind::Number, 0, "1 infrastructure, other ad hoc"},
        {netval::Jitter, Kind::Number, 0, "each scan moves the signal by up to this much"},
    };
    return defs;
}

const ValueDef* FindValueDef(const std::vector<ValueDef>& defs, const std::string& name) {
    for (const ValueDef& s : defs)
        if (_stricmp(s.name, name.c_str()) == 0) return &s;
    return nullptr;
}

bool EncodeValueText(const ValueDef& def, const std::string& text, DWORD& type,
                     std::vector<BYTE>& data, std::string& error) {
    auto bytesOf = [&](const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        data.assign(b, b + n);
    };
    switch (def.kind) {
    case Kind::Flag:
    case Kind::Number: {
        int64_t v;
        if (!ParseInteger(text, v) || v < std::numeric_limits<int32_t>::min() || v > 0xFFFFFFFFll) {
            error = "not a 32-bit number";
            return false;
        }
        uint32_t dw = static_cast<uint32_t>(v);
        type = REG_DWORD;
        bytesOf(&dw, 4);
        return true;
    }
    case Kind::Counter: {
        uint64_t v;
        if (!ParseUnsigned64(text, v)) {
            error = "not an unsigned 64-bit number";
            return false;
        }
        type = REG_QWORD;
        bytesOf(&v, 8);
        return true;
    }
    case Kind::Text:
        if (text.size() > def.maxLen) {
            error = "longer than " + std::to_string(def.maxLen) + " characters";
            return false;
        }
        type = REG_SZ;
        bytesOf(text.c_str(), text.size() + 1);
        return true;
    case Kind::Bssid: {
        unsigned char b[6];
        if (!ParseBssid(text, b)) {
            error = "not an address like 00:11:22:33:44:55";
            return false;
        }
        std::string canonical = FormatBssid(b);
        type = REG_SZ;
        bytesOf(canonical.c_str(), canonical.size() + 1);
        return true;
    }
    case Kind::Channels: {
        std::vector<int> channels;
        if (text.size() > def.maxLen || !ParseChannels(text, channels)) {
            error = "not a channel list like 1-11,36,40 (channels 1..100)";
            return false;
        }
        type = REG_SZ;
        bytesOf(text.c_str(), text.size() + 1);
        return true;
    }
    }
    error = "unknown kind of value";
    return false;
}

bool WriteValueText(HKEY key, const ValueDef& def, const std::string& text, std::string& error) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!EncodeValueText(def, text, type, data, error)) return false;
    if (!key || RegSetValueExA(key, def.name, 0, type, data.data(), static_cast<DWORD>(data.size())) !=
                    ERROR_SUCCESS) {
        error = "cannot write the registry value";
        return false;
    }
    return true;
}

}  // namespace sim
