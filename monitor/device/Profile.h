// The fixed-layout record of one connection profile. It is at the same time
// the unit the configuration pages load and store, the record the profile
// store reads and writes value by value, and what CWLANDevice::CommitProfile
// receives whole: a binary interface, 920 bytes, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

enum : int32_t {
    AUTH_NONE = 0,
    AUTH_WEP = 1,
    AUTH_WPA_PSK = 7,
};

struct Profile {
    char name[100];
    char ssid[36];
    int32_t operatingMode;        // 0 ad hoc, 1 infrastructure
    int32_t txRate;               // 0 automatic, else units of 500 kbit/s
    int32_t channel;              // 0 automatic
    int32_t powerSave;
    int32_t netType;              // NET_MASK_* bits, 0 = not set
    int32_t wepLevel;             // 0 none, 1 40/64-bit, 2 104/128-bit
    int32_t wepDefaultKey;        // 0..3
    char wepPassphrase[100];
    char wepKey[4][100];
    int32_t wepKeyLength[4];      // not stored in the registry
    char wepKeyPerUser[100];
    unsigned char reserved[4];
    int32_t wepKeyType;           // bit 0 text key, bit 1 104/128-bit
    int32_t wepAuth;              // 0 open, 1 shared
    int32_t authType;             // AUTH_*
    char wpaPskPassword[100];
    int32_t advQos;
    int32_t advTxPower;           // 0..4
    int32_t advPreamble;          // 0 short & long, 1 long
    int32_t advRtsThreshold;
    int32_t advFragmentThreshold;
    int32_t advScanType;          // 0 active, 1 passive, 2 auto
};

static_assert(sizeof(Profile) == 920, "Profile is a binary interface");
static_assert(offsetof(Profile, ssid) == 100, "Profile layout");
static_assert(offsetof(Profile, operatingMode) == 136, "Profile layout");
static_assert(offsetof(Profile, wepPassphrase) == 164, "Profile layout");
static_assert(offsetof(Profile, wepKey) == 264, "Profile layout");
static_assert(offsetof(Profile, wepKeyLength) == 664, "Profile layout");
static_assert(offsetof(Profile, wepKeyPerUser) == 680, "Profile layout");
static_assert(offsetof(Profile, wepKeyType) == 784, "Profile layout");
static_assert(offsetof(Profile, authType) == 792, "Profile layout");
static_assert(offsetof(Profile, wpaPskPassword) == 796, "Profile layout");
static_assert(offsetof(Profile, advQos) == 896, "Profile layout");
static_assert(offsetof(Profile, advScanType) == 916, "Profile layout");
