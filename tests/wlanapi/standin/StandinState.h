// The scripted Native Wi-Fi stand-in's state: the registry key
// HKCU\Software\WlanSim, its value names, defaults and readers, shared by the
// stand-in wlanapi.dll (which reads it on every call) and wlansim.exe (which
// changes it while programs run).
//
// As with the simulated adapter's key, every value is optional: a missing or
// malformed value reads as its default, so no key at all is one interface
// with its radio on, not connected, and no networks in range.
#pragma once

#include <windows.h>
#include <wlanapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SimState.h"  // RegKey, bounded readers, BSSID and number parsing

namespace standin {

using sim::RegKey;

constexpr char kKeyPath[] = "Software\\WlanSim";
constexpr char kInterfacesSubkey[] = "Interfaces";
constexpr char kBssSubkey[] = "Bss";
constexpr char kProfilesSubkey[] = "Profiles";
constexpr char kErrorsSubkey[] = "Errors";
constexpr char kProcessesSubkey[] = "Processes";

// Values that MinGW's headers lack (the constants are those of the API's
// documentation).
constexpr DWORD kPowerStateInvalid = 0x80342002;  // ERROR_NDIS_DOT11_POWER_STATE_INVALID
constexpr DWORD kPhyVht = 8;                        // dot11_phy_type_vht
constexpr DWORD kMsmRadioStateChange = 7;           // wlan_notification_msm_radio_state_change
constexpr DWORD kSourceAll = 0xFFFF;                // WLAN_NOTIFICATION_SOURCE_ALL
constexpr DWORD kExtensibleStation = 0x00000004;    // DOT11_OPERATION_MODE_EXTENSIBLE_STATION (Vista headers only)

namespace reason {
constexpr DWORD Success = 0;
constexpr DWORD Unknown = 0x10001;
constexpr DWORD NetworkNotCompatible = 0x20001;
constexpr DWORD ProfileNotCompatible = 0x20002;
constexpr DWORD NetworkNotAvailable = 0x2800B;
constexpr DWORD KeyMismatch = 0x2800D;
constexpr DWORD InvalidKeyIndex = 0x40001;
constexpr DWORD PskPresent = 0x40002;
constexpr DWORD KeyLength = 0x40003;
constexpr DWORD PskLength = 0x40004;
constexpr DWORD InvalidAuthCipher = 0x40009;
constexpr DWORD KeyMaterialChar = 0x40017;
constexpr DWORD WrongKeyType = 0x40018;
constexpr DWORD InvalidProfileSchema = 0x80001;
constexpr DWORD ProfileMissing = 0x80002;
constexpr DWORD ProfileSsidInvalid = 0x80013;
}  // namespace reason

constexpr DWORD kDefaultNotifyDelayMs = 300;
constexpr DWORD kMaxNotifyDelayMs = 60000;
constexpr size_t kMaxDescription = 255;
constexpr size_t kMaxPhys = 64;
constexpr size_t kMaxItems = 1000;  // BSS entries, pairs, countries per interface
// ScanResult value: WlanScan is answered by no notification at all.
constexpr DWORD kScanSilent = 0xFFFFFFFF;

enum class Security { Open, Wep, Wpa, Wpa2, WpaWpa2 };

// One network in range of an interface: Interfaces\<n>\Bss\<m>.
struct Bss {
    std::string ssid;                  // raw bytes, at most 32
    unsigned char bssid[6] = {};
    DWORD channel = 6;
    LONG rssi = -60;                   // dBm
    LONG linkQuality = -1;             // percent; -1: from the RSSI
    LONG privacy = -1;                 // capability privacy bit; -1: from the security
    DWORD bssType = 1;                 // 1 infrastructure, 2 independent
    DWORD phyType = 0;                 // 0: OFDM above channel 14, ERP below
    Security security = Security::Open;
    std::string country;               // "" (no Country element), "DE" or "DEI"
    std::string triplets;              // "first,count,power;..."; "" = from the band
    std::string key;                   // "" accepts any key
    std::string subkey;                // registry subkey name (for show)
};

struct AuthCipher {
    DWORD auth;
    DWORD cipher;
};

struct Statistics {
    ULONGLONG txFrames = 0, rxFrames = 0;          // unicast MAC counters
    ULONGLONG mcastTxFrames = 0, mcastRxFrames = 0;  // multicast MAC counters
    ULONGLONG txFragments = 0, rxFragments = 0;    // reported on the first PHY
};

// The current association: values Conn* of the interface.
struct Connection {
    bool connected = false;
    DWORD mode = 0;                    // WLAN_CONNECTION_MODE
    std::wstring profile;
    std::string ssid;
    unsigned char bssid[6] = {};
    DWORD bssType = 1;
    DWORD phyType = 6;
    DWORD phyIndex = 0;
    DWORD channel = 6;
    LONG rssi = -60;
    DWORD signal = 80;                 // wlanSignalQuality, percent
    DWORD rxRate = 54000, txRate = 54000;  // kbit/s
    bool securityEnabled = false;
    DWORD auth = 1;                    // DOT11_AUTH_ALGORITHM
    DWORD cipher = 0;                  // DOT11_CIPHER_ALGORITHM
};

struct Interface {
    std::string subkey;                // "0", "1", ...
    GUID guid = {};
    std::string description;
    bool present = true;
    std::vector<DWORD> phys;           // DOT11_PHY_TYPE of each PHY index
    std::vector<DWORD> softwareRadio;  // DOT11_RADIO_STATE per PHY (1 on, 2 off)
    std::vector<DWORD> hardwareRadio;
    std::vector<AuthCipher> infraPairs, adhocPairs;
    std::vector<std::string> countries;  // supported country strings (3 chars each)
    DWORD bssTypeFilter = 3;           // wlan_intf_opcode_bss_type
    DWORD scanResult = 0;              // 0 complete, kScanSilent, else scan_fail reason
    DWORD connectResult = 0;           // non-zero: every connection attempt fails so
    Statistics stats;
    Connection conn;
    std::vector<Bss> bss;              // filled only when asked for

    // A PHY is on when both of its states are on; the radio is on when one is.
    bool RadioOn() const;
    DWORD State() const;               // WLAN_INTERFACE_STATE
    DWORD PhyIndexOf(DWORD phyType) const;
};

struct Settings {
    DWORD notifyDelayMs = kDefaultNotifyDelayMs;
    DWORD apiVersion = 2;              // the highest version WlanOpenHandle grants
};

// ---------------------------------------------------------------------------
// Registry

RegKey OpenRoot(REGSAM access = KEY_READ);  // empty when there is no key
RegKey CreateRoot();
// Removes every value and subkey (the default state); the key itself stays,
// so that programs watching it keep their handle.
bool ClearRoot();

Settings ReadSettings(HKEY root);
// Every interface (present or not), in numeric order of their subkeys. With
// no Interfaces subkey (or an empty one): the default interface "0".
// `withBss` also reads the networks in range.
std::vector<Interface> ReadInterfaces(HKEY root, bool withBss);
// The defaults of interface subkey `name` (its GUID follows from the number).
Interface DefaultInterface(const std::string& name);
// Creates Interfaces\<subkey> (and the Interfaces key with the default
// interface "0" in it when the key was missing, so that naming an interface
// never loses the default one).
RegKey CreateInterfaceKey(HKEY root, const std::string& subkey);

// Writers of one interface's groups of values.
bool WriteInterfaceConfig(HKEY ifKey, const Interface& ifc);  // all but Conn*, stats, Bss
bool WriteRadio(HKEY ifKey, const Interface& ifc);  // and drops the connection when all is off
bool WriteStatistics(HKEY ifKey, const Statistics& stats);
bool WriteConnection(HKEY ifKey, const Connection& conn);
bool WriteBss(HKEY bssKey, const Bss& bss);

// The injected result of `function` ("WlanScan") or of one of its opcodes
// ("WlanQueryInterface.current_connection"): 0 when none.
DWORD InjectedError(HKEY root, const char* function, const char* opcode = nullptr);

// Stored profiles of an interface: value name = profile name, data = XML.
bool ReadProfile(HKEY ifKey, const std::wstring& name, std::wstring& xml);
bool WriteProfile(HKEY ifKey, const std::wstring& name, const std::wstring& xml);
std::vector<std::wstring> ProfileNames(HKEY ifKey);

bool ReadTextW(HKEY key, const char* name, std::wstring& out, size_t maxLen);
bool WriteTextW(HKEY key, const char* name, const std::wstring& value);

// ---------------------------------------------------------------------------
// Text forms and radio facts

std::string FormatGuid(const GUID& guid);
bool ParseGuid(const std::string& text, GUID& guid);
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// "ofdm", "a", "hrdsss", "b", "erp", "g", "ht", "n", "vht", "ac", "dsss",
// "fhss", "irbaseband" or a number.
bool ParsePhyType(const std::string& text, DWORD& phy);
std::string PhyTypeName(DWORD phy);
// "a,b,g" (1 to 64 PHYs) and back.
bool ParsePhyList(const std::string& text, std::vector<DWORD>& phys);
std::string PhyListText(const std::vector<DWORD>& phys);
std::string RadioListText(const std::vector<DWORD>& states);  // "on,off,on"
// "US,DE,JPI": two letters (the environment ' ' added) or three; and back
// (without the ' ').
bool ParseCountries(const std::string& text, std::vector<std::string>& countries);
std::string CountriesText(const std::vector<std::string>& countries);
bool ParseSecurity(const std::string& text, Security& security);
const char* SecurityName(Security security);
// "open/none,shared/wep,rsnapsk/ccmp" (names or numbers).
bool ParsePairs(const std::string& text, std::vector<AuthCipher>& pairs);
std::string FormatPairs(const std::vector<AuthCipher>& pairs);
const char* AuthName(DWORD auth);
const char* CipherName(DWORD cipher);
bool ParseBssType(const std::string& text, DWORD& type);  // infrastructure/independent/any, 1/2/3
const char* BssTypeName(DWORD type);
const char* InterfaceStateName(DWORD state);

// Centre frequency in kHz: 2407 + 5 ch MHz below channel 14, 2484 MHz for 14,
// 5000 + 5 ch MHz above.
ULONG ChannelFrequencyKhz(DWORD channel);
DWORD EffectivePhyType(const Bss& bss);
LONG EffectiveLinkQuality(const Bss& bss);
bool EffectivePrivacy(const Bss& bss);
// 0 at -100 dBm, 100 at -50 dBm, linear in between.
DWORD QualityFromRssi(LONG rssi);
// The rates a PHY type offers, in 500 kbit/s units (bit 15 marks a basic rate).
std::vector<USHORT> RateSet(DWORD phyType, DWORD channel);
DWORD MaxRateKbps(DWORD phyType, DWORD channel);
// The information elements of a beacon: SSID, rates, DS parameter set,
// Country, RSN, extended rates and the WPA vendor element.
std::vector<BYTE> InformationElements(const Bss& bss);
// The authentication and cipher a connection to `bss` reports when nothing
// else says otherwise.
AuthCipher DefaultAuthCipher(Security security);

}  // namespace standin
