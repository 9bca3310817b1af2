// The simulated adapter's state: the registry key HKCU\Software\NicportSim,
// the names of its values, their defaults and the bounded, type-checked
// readers that nicport.dll and nicsim.exe share.
//
// Every value is optional. A value that is missing, has the wrong type or
// the wrong size, or holds text that is too long or does not parse reads as
// its default, so "no key at all" is the lively built-in demo and a key that
// holds a single value changes only that one reading.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// ---------------------------------------------------------------------------
// Names

constexpr char kStateKeyPath[] = "Software\\NicportSim";
constexpr char kNetworksSubkey[] = "Networks";

namespace val {
// Adapter
constexpr char Present[] = "Present";
constexpr char AdapterName[] = "AdapterName";
constexpr char Radio[] = "Radio";
constexpr char DriverVersion[] = "DriverVersion";
constexpr char Country[] = "Country";
constexpr char NetMask[] = "NetMask";
constexpr char Channels[] = "Channels";
// Current association
constexpr char Associated[] = "Associated";
constexpr char SSID[] = "SSID";
constexpr char BSSID[] = "BSSID";
constexpr char Channel[] = "Channel";
constexpr char NetworkMode[] = "NetworkMode";
constexpr char Encryption[] = "Encryption";
constexpr char WirelessType[] = "WirelessType";
constexpr char TxRate[] = "TxRate";
constexpr char RxRate[] = "RxRate";
constexpr char LinkSpeed[] = "LinkSpeed";
constexpr char Signal[] = "Signal";
constexpr char LinkQuality[] = "LinkQuality";
// Traffic
constexpr char TxOK[] = "TxOK";
constexpr char RxOK[] = "RxOK";
constexpr char TxFragment[] = "TxFragment";
constexpr char RxFragment[] = "RxFragment";
constexpr char TxPacketSize[] = "TxPacketSize";
constexpr char RxPacketSize[] = "RxPacketSize";
// Site survey
constexpr char ScanDelayMs[] = "ScanDelayMs";
constexpr char SurveyFails[] = "SurveyFails";
constexpr char ExtraNetworks[] = "ExtraNetworks";
// Written by CommitProfile
constexpr char LastCommit[] = "LastCommit";
}  // namespace val

// Values of one subkey Networks\<n>.
namespace netval {
constexpr char SSID[] = "SSID";
constexpr char BSSID[] = "BSSID";
constexpr char Channel[] = "Channel";
constexpr char Encryption[] = "Encryption";
constexpr char Signal[] = "Signal";
constexpr char NetworkType[] = "NetworkType";
constexpr char Jitter[] = "Jitter";
}  // namespace netval

// ---------------------------------------------------------------------------
// Limits and defaults

constexpr size_t kMaxSsid = 32;             // the current network's name
constexpr size_t kMaxSurveySsid = 255;      // a surveyed name; cut to 33 bytes later
constexpr size_t kMaxCountry = 32;
constexpr size_t kMaxDriverVersion = 63;
constexpr size_t kMaxAdapterName = 99;
constexpr size_t kMaxChannelsText = 1023;
constexpr size_t kMaxBssidText = 17;
constexpr uint32_t kMaxExtraNetworks = 10000;
constexpr uint32_t kMaxScanDelayMs = 60000;
constexpr uint32_t kMaxJitter = 50;
constexpr int kChannelTableSize = 100;
constexpr size_t kProfileSize = 920;

constexpr char kDefaultAdapterName[] = "Wireless Card";
constexpr char kDefaultDriverVersion[] = "5.0.1.46";
constexpr char kDefaultCountry[] = "US";
constexpr char kDefaultChannels[] = "1-11,36,40,44,48,52,56,60,64";
constexpr uint32_t kDefaultNetMask = 0x1D;  // a, b, g, g Turbo
constexpr uint32_t kDefaultTxRate = 54;     // Mbps
constexpr uint16_t kDefaultTxPacketSize = 1024;
constexpr uint16_t kDefaultRxPacketSize = 1460;
constexpr int kSignalOutOfRange = 60;       // when the current network is not surveyed

// ---------------------------------------------------------------------------
// Registry handles

// Owns one HKEY; an empty object stands for "key not there", and every reader
// below accepts it and then returns the default.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY h) : m_h(h) {}
    ~RegKey() { reset(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : m_h(other.release()) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    HKEY get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    HKEY release() {
        HKEY h = m_h;
        m_h = nullptr;
        return h;
    }
    void reset(HKEY h = nullptr) {
        if (m_h) RegCloseKey(m_h);
        m_h = h;
    }

private:
    HKEY m_h = nullptr;
};

RegKey OpenKey(HKEY parent, const char* subkey, REGSAM access = KEY_READ);
RegKey CreateKey(HKEY parent, const char* subkey);  // read and write access
// Deletes a key with everything below it. true also when it was not there.
bool DeleteKeyTree(HKEY parent, const char* subkey);

RegKey OpenStateKey(REGSAM access = KEY_READ);  // empty when there is no state key
RegKey CreateStateKey();
bool DeleteStateKey();

// ---------------------------------------------------------------------------
// Typed, bounded readers. Each returns nothing (or false) when the value is
// missing or malformed; the callers then use the default.

// The raw bytes of a value, refused when larger than maxBytes.
bool ReadRaw(HKEY key, const char* name, DWORD& type, std::vector<BYTE>& data, DWORD maxBytes);
// REG_SZ / REG_EXPAND_SZ up to the first NUL (a missing terminator is fine);
// refused when the text is longer than maxLen characters.
bool ReadText(HKEY key, const char* name, std::string& out, size_t maxLen);
// A 32-bit value: REG_DWORD of exactly 4 bytes, REG_QWORD of 8 bytes whose
// value fits, or decimal / 0x-hex text (a leading '-' gives two's complement).
std::optional<uint32_t> ReadU32(HKEY key, const char* name);
// A counter: REG_QWORD (8 bytes), REG_DWORD (4 bytes) or decimal text.
std::optional<uint64_t> ReadU64(HKEY key, const char* name);

bool WriteDword(HKEY key, const char* name, uint32_t value);
bool WriteQword(HKEY key, const char* name, uint64_t value);
bool WriteText(HKEY key, const char* name, const std::string& value);
bool WriteBinary(HKEY key, const char* name, const void* data, size_t size);

// ---------------------------------------------------------------------------
// Text forms

// "-12", "42", "0x1D" → value; false on anything else or out of int64 range.
bool ParseInteger(const std::string& text, int64_t& value);
bool ParseUnsigned64(const std::string& text, uint64_t& value);
// "00:11:22:33:44:55" (or with '-'), hex digits of either case.
bool ParseBssid(const std::string& text, unsigned char out[6]);
// Upper-case "XX:XX:XX:XX:XX:XX" into a buffer of at least 18 bytes.
void FormatBssid(const unsigned char bssid[6], char out[18]);
std::string FormatBssid(const unsigned char bssid[6]);
// "1-11,36,40": channels 1..100, separated by commas or blanks, with ranges.
// false when a part does not parse or lies outside 1..100.
bool ParseChannels(const std::string& text, std::vector<int>& out);
// Copies at most size-1 bytes and always terminates (size > 0).
void CopyBounded(char* dst, size_t size, const std::string& src);

// ---------------------------------------------------------------------------
// Networks in range

struct Network {
    std::string ssid;          // up to kMaxSurveySsid characters
    unsigned char bssid[6] = {};
    int32_t channel = 0;
    int32_t encryption = 0;
    int32_t signal = 0;
    int32_t networkType = 1;
    uint32_t jitter = 0;       // a scan moves the signal by up to this much
};

// The built-in demo networks; the first one is the default association.
const std::vector<Network>& DefaultNetworks();
// Network number i of the ExtraNetworks generator.
Network GeneratedNetwork(uint32_t i);
// Reads Networks\<n> (numeric subkey names sort numerically, others after
// them by name); missing values get the defaults of a `nicsim network add`.
Network ReadNetwork(HKEY networkKey, const std::string& subkeyName);
void WriteNetwork(HKEY networkKey, const Network& net);
bool HasNetworksKey(HKEY state);
// The networks a scan finds now: the Networks subkeys (or the built-in list
// when there is no Networks subkey), then ExtraNetworks generated ones.
std::vector<Network> NetworksInRange(HKEY state);
// The subkey names below Networks in scan order.
std::vector<std::string> NetworkSubkeyNames(HKEY networks);

// ---------------------------------------------------------------------------
// Effective readings. `state` may be null (no key): then every reading is its
// default. `now` is a GetTickCount value for the readings that move by
// themselves.

bool IsPresent(HKEY state);
std::string AdapterName(HKEY state);
bool IsRadioOn(HKEY state);
bool IsAssociated(HKEY state);
std::string CurrentSsid(HKEY state);
void CurrentBssid(HKEY state, unsigned char out[6]);
int32_t CurrentChannel(HKEY state);
uint16_t NetworkMode(HKEY state);        // 0 ad hoc, 1 infrastructure
bool EncryptionOn(HKEY state);
uint16_t WirelessType(HKEY state);       // 0..5
uint32_t TxRateMbps(HKEY state);
uint32_t RxRateMbps(HKEY state);
uint32_t LinkSpeed(HKEY state);          // units of 100 bit/s
uint16_t SignalPercent(HKEY state, DWORD now);
uint16_t LinkQualityPercent(HKEY state, DWORD now);
std::string Country(HKEY state);
std::string DriverVersion(HKEY state);
uint32_t NetMask(HKEY state);
std::vector<int> ChannelList(HKEY state);
uint16_t TxPacketSize(HKEY state);
uint16_t RxPacketSize(HKEY state);
uint32_t ScanDelayMs(HKEY state);
bool SurveyFails(HKEY state);
uint32_t ExtraNetworkCount(HKEY state);

// A gentle wobble of -3..+3 that repeats every 12 s: the demo's signal moves.
int SignalWobble(DWORD now);

// ---------------------------------------------------------------------------
// The list of state values, for nicsim's set / unset / show.

enum class Kind { Flag, Number, Counter, Text, Bssid, Channels };

struct ValueDef {
    const char* name;
    Kind kind;
    size_t maxLen;          // text kinds only
    const char* meaning;
};

const std::vector<ValueDef>& StateValues();
const std::vector<ValueDef>& NetworkValues();
// Case-insensitive lookup; null when unknown.
const ValueDef* FindValueDef(const std::vector<ValueDef>& defs, const std::string& name);
// Checks `text` against the kind and turns it into registry type and bytes.
// On failure `error` says why.
bool EncodeValueText(const ValueDef& def, const std::string& text, DWORD& type,
                     std::vector<BYTE>& data, std::string& error);
// EncodeValueText, then writes it; on failure nothing is written.
bool WriteValueText(HKEY key, const ValueDef& def, const std::string& text, std::string& error);

}  // namespace sim
