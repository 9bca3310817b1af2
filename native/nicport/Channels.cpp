#include "Channels.h"

#include <algorithm>

#include "WLANDevice.h"

namespace nicport {

int ChannelFromFrequencyKhz(unsigned long khz) {
    const unsigned long mhz = (khz + 500) / 1000;
    if (mhz == 2484) return 14;
    if (mhz >= 2412 && mhz <= 2472 && (mhz - 2407) % 5 == 0) return static_cast<int>((mhz - 2407) / 5);
    if (mhz >= 5160 && mhz <= 5885 && mhz % 5 == 0) return static_cast<int>((mhz - 5000) / 5);
    return 0;
}

unsigned short WirelessTypeFromPhy(uint32_t phy, int channel) {
    switch (phy) {
    case kPhyOfdm: return kTypeA;
    case kPhyDsss:
    case kPhyHrDsss: return kTypeB;
    case kPhyErp: return kTypeG;
    case kPhyHt:
    case kPhyVht:
    case kPhyHe:
    case kPhyEht: return IsFiveGhzChannel(channel) ? kTypeA : kTypeG;
    default: return kTypeNone;
    }
}

unsigned long NetMaskFromPhys(const uint32_t* phys, size_t count) {
    unsigned long mask = 0;
    bool later = false;
    for (size_t i = 0; i < count; ++i) {
        switch (phys[i]) {
        case kPhyOfdm: mask |= NET_MASK_A; break;
        case kPhyDsss:
        case kPhyHrDsss: mask |= NET_MASK_B; break;
        case kPhyErp: mask |= NET_MASK_G; break;
        case kPhyVht: mask |= NET_MASK_A; later = true; break;
        case kPhyHt:
        case kPhyHe:
        case kPhyEht: later = true; break;
        default: break;
        }
    }
    if (later && !(mask & (NET_MASK_A | NET_MASK_G))) mask |= NET_MASK_G;
    return mask;
}

RadioBands BandsFromNetMask(unsigned long netMask) {
    RadioBands bands;
    bands.ghz24 = (netMask & (NET_MASK_B | NET_MASK_G | NET_MASK_G_TURBO)) != 0;
    bands.ghz5 = (netMask & (NET_MASK_A | NET_MASK_A_TURBO)) != 0;
    return bands;
}

const uint8_t* FindIe(const uint8_t* ies, size_t size, uint8_t id, size_t& length) {
    length = 0;
    if (!ies) return nullptr;
    size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t elementId = ies[at];
        const size_t bodyLength = ies[at + 1];
        if (bodyLength > size - at - 2) return nullptr;  // runs past the blob: nothing after it is trusted
        if (elementId == id) {
            length = bodyLength;
            return ies + at + 2;
        }
        at += 2 + bodyLength;
    }
    return nullptr;
}

bool ParseCountryIe(const uint8_t* ies, size_t size, CountryInfo& country) {
    country = CountryInfo();
    size_t length = 0;
    const uint8_t* body = FindIe(ies, size, kIeCountry, length);
    if (!body || length < 3) return false;
    const auto letter = [](uint8_t c) { return c >= 'A' && c <= 'Z'; };
    if (letter(body[0]) && letter(body[1])) {
        country.code[0] = static_cast<char>(body[0]);
        country.code[1] = static_cast<char>(body[1]);
    }
    // A trailing pad byte keeps the element's length even; it is no triplet.
    for (size_t at = 3; length - at >= 3 && country.subbands < CountryInfo::kMaxSubbands; at += 3) {
        const uint8_t first = body[at];
        const uint8_t count = body[at + 1];
        if (first >= 201 || first == 0 || count == 0) continue;
        country.firstChannel[country.subbands] = first;
        country.channelCount[country.subbands] = count;
        ++country.subbands;
    }
    return true;
}

namespace {
void Allow(unsigned long table[kChannelTableSize], int channel, const RadioBands& bands) {
    if (channel < 1 || channel > kChannelTableSize) return;
    const bool ok = channel <= 14 ? bands.ghz24 : (bands.ghz5 && channel >= 32);
    if (ok) table[channel - 1] = static_cast<unsigned long>(channel);
}
}  // namespace

void AllowedChannels(const RadioBands& bands, const CountryInfo* country, unsigned long table[kChannelTableSize]) {
    std::fill(table, table + kChannelTableSize, 0ul);
    if (country && country->subbands > 0) {
        for (size_t i = 0; i < country->subbands; ++i) {
            // 2.4 GHz channels are numbered in steps of one, 5 GHz ones in
            // steps of four (20 MHz apart).
            const int first = country->firstChannel[i];
            const int step = first <= 14 ? 1 : 4;
            for (int n = 0, channel = first; n < country->channelCount[i] && channel <= kChannelTableSize;
                 ++n, channel += step)
                Allow(table, channel, bands);
        }
        return;
    }
    for (int channel = 1; channel <= 11; ++channel) Allow(table, channel, bands);
    for (int channel = 36; channel <= 48; channel += 4) Allow(table, channel, bands);
}

}  // namespace nicport
