// Radio facts in the monitor's terms: channel numbers from centre
// frequencies, the a/b/g type of a PHY, the supported-modes mask, the
// information elements of a beacon (Country, RSN) and the allowed channels.
// Pure functions over plain numbers and bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nicport {

// PHY types as the Native Wi-Fi API numbers them (DOT11_PHY_TYPE); the
// headers this project builds with stop at 7.
enum PhyType : uint32_t {
    kPhyDsss = 2,
    kPhyOfdm = 4,
    kPhyHrDsss = 5,
    kPhyErp = 6,
    kPhyHt = 7,
    kPhyVht = 8,
    kPhyHe = 10,
    kPhyEht = 11,
};

// The monitor's wireless type indexes (0 a, 2 b, 3 none, 4 g).
enum : unsigned short { kTypeA = 0, kTypeB = 2, kTypeNone = 3, kTypeG = 4 };

constexpr int kChannelTableSize = 100;

// Channel number of a centre frequency in kHz: 2412-2472 MHz in 5 MHz steps
// (1-13), 2484 MHz (14) and 5160-5885 MHz (32-177); 0 for anything else.
int ChannelFromFrequencyKhz(unsigned long khz);

// 2.4 GHz channels are 1-14; every higher number is 5 GHz.
inline bool IsFiveGhzChannel(int channel) { return channel > 14; }

// The wireless type of an association: OFDM is 802.11a; DSSS and HR-DSSS
// 802.11b; ERP 802.11g; the later PHYs (n, ac, ax, be) count as a on a 5 GHz
// channel and as g otherwise; any other PHY has no a/b/g type.
unsigned short WirelessTypeFromPhy(uint32_t phy, int channel);

// The bands of an adapter and the NET_MASK bits it supports, from its list
// of PHY types. The later PHYs name no band of their own (an 802.11n PHY
// may be 2.4 GHz, 5 GHz or both): they add g only where the adapter lists
// neither an OFDM nor an ERP PHY, and 802.11ac, which is 5 GHz only, adds a.
struct RadioBands {
    bool ghz24 = false;
    bool ghz5 = false;
};
unsigned long NetMaskFromPhys(const uint32_t* phys, size_t count);
RadioBands BandsFromNetMask(unsigned long netMask);

// Information elements: id, length, body, one after another. Returns the
// body of the first element `id` that lies wholly inside the blob, or null.
const uint8_t* FindIe(const uint8_t* ies, size_t size, uint8_t id, size_t& length);

constexpr uint8_t kIeCountry = 7;
constexpr uint8_t kIeRsn = 48;

// The Country element: the two-letter code and the sub-bands (first channel,
// number of channels) it allows. Triplets from 201 up describe regulatory
// classes, not channels, and are skipped.
struct CountryInfo {
    char code[3] = {};  // two upper-case letters, or empty
    static constexpr size_t kMaxSubbands = 32;
    uint8_t firstChannel[kMaxSubbands] = {};
    uint8_t channelCount[kMaxSubbands] = {};
    size_t subbands = 0;
};
bool ParseCountryIe(const uint8_t* ies, size_t size, CountryInfo& country);

// The channels of the monitor's 100-entry table that the adapter may use:
// entry i-1 = i for an allowed channel i, 0 otherwise (all 100 written).
// With a Country element, the sub-bands it lists within the adapter's bands;
// without one, the channels allowed nearly everywhere: 1-11 at 2.4 GHz and
// 36-48 at 5 GHz.
void AllowedChannels(const RadioBands& bands, const CountryInfo* country, unsigned long table[kChannelTableSize]);

}  // namespace nicport
