#include "WepKeys.h"

#include "Md5.h"

namespace nicport {

void Wep40KeysFromPassphrase(const char* text, size_t length, uint8_t keys[kWep40Keys][kWep40Bytes]) {
    uint32_t seed = 0;
    for (size_t i = 0; i < length; ++i) seed ^= uint32_t(static_cast<uint8_t>(text[i])) << (8 * (i % 4));
    for (size_t key = 0; key < kWep40Keys; ++key) {
        for (size_t byte = 0; byte < kWep40Bytes; ++byte) {
            seed = seed * 0x343FDu + 0x269EC3u;
            keys[key][byte] = static_cast<uint8_t>(seed >> 16);
        }
    }
}

bool Wep104KeyFromPassphrase(const char* text, size_t length, uint8_t key[kWep104Bytes]) {
    if (length == 0) return false;
    uint8_t repeated[64];
    for (size_t i = 0; i < sizeof(repeated); ++i) repeated[i] = static_cast<uint8_t>(text[i % length]);
    uint8_t digest[kMd5Bytes];
    Md5(repeated, sizeof(repeated), digest);
    for (size_t i = 0; i < kWep104Bytes; ++i) key[i] = digest[i];
    return true;
}

}  // namespace nicport
