// WEP keys from a passphrase. The monitor stores the passphrase as the user
// typed it and Windows takes only keys, so the library turns it into keys
// with the generators that access points and other clients commonly use, so
// that the same passphrase gives the same keys on both ends.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nicport {

constexpr size_t kWep40Bytes = 5;
constexpr size_t kWep104Bytes = 13;
constexpr size_t kWep40Keys = 4;

// 40/64-bit: the passphrase's bytes XOR-folded into a 32-bit seed (byte i
// into bits 8*(i%4)), then the sequence seed = seed * 0x343FD + 0x269EC3;
// bits 16-23 of each step are the key bytes, five per key, four keys.
void Wep40KeysFromPassphrase(const char* text, size_t length, uint8_t keys[kWep40Keys][kWep40Bytes]);

// 104/128-bit: the first 13 bytes of the MD5 digest of the passphrase
// repeated to fill 64 bytes. False (and no key) for an empty passphrase,
// which has nothing to repeat.
bool Wep104KeyFromPassphrase(const char* text, size_t length, uint8_t key[kWep104Bytes]);

}  // namespace nicport
