// The monitor's Profile record as a WLAN profile: which of its fields a
// profile can carry, the keys they come to, and the XML that WlanSetProfile
// takes. What a WLAN profile has no place for (transmit rate, the channel
// of an infrastructure network, power saving, the advanced radio settings)
// is left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Profile.h"

namespace nicport {

constexpr size_t kMaxSsid = 32;

// The network name of a record: the bytes of `ssid` up to its terminator,
// at most 32 of them.
size_t ProfileSsid(const Profile& profile, uint8_t ssid[kMaxSsid]);
// A record for "any network" (the name the configuration page stores when
// the user leaves it empty).
bool IsAnyNetwork(const Profile& profile);

// What the library knows of the network to join.
struct NetworkChoice {
    uint8_t ssid[kMaxSsid] = {};
    size_t ssidLength = 0;
    // A WPA-PSK record goes as WPA2-PSK (AES) rather than WPA-PSK (TKIP).
    bool wpa2 = false;
};

struct WlanProfile {
    std::string name;            // the profile's name, plain text
    uint8_t ssid[kMaxSsid] = {};
    size_t ssidLength = 0;
    bool adHoc = false;
    const char* authentication = "open";  // open, shared, WPAPSK, WPA2PSK
    const char* encryption = "none";      // none, WEP, TKIP, AES
    const char* keyType = nullptr;        // networkKey or passPhrase; null: no key
    std::string keyMaterial;
    int keyIndex = -1;                    // 0-3 with a WEP key, else -1
};

// The name under which the profile is stored: the network name where it is
// printable ASCII, else its hex form; "-adhoc" added for an ad hoc network,
// as Windows keeps those apart from access points of the same name.
std::string WlanProfileName(const uint8_t* ssid, size_t length, bool adHoc);

// Fills `out` from the record and the chosen network. False when the record
// cannot make a working profile: no network name, a WEP key that is not 5
// or 13 characters or 10 or 26 hex digits as its type says, a default key
// outside 1-4, a WPA-PSK key that is neither 8-63 printable characters nor
// 64 hex digits, WPA-PSK for an ad hoc network, or an unknown security type.
bool MakeWlanProfile(const Profile& profile, const NetworkChoice& network, WlanProfile& out);

// The profile as WLAN profile XML, every element in the schema's order and
// every text escaped.
std::string WlanProfileXml(const WlanProfile& profile);

}  // namespace nicport
