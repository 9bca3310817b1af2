// Small text helpers of the library: printable BSSIDs, hex forms and XML
// escaping of text that comes from outside (network names, keys).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nicport {

// "XX:XX:XX:XX:XX:XX", the form the simulated library prints too.
void FormatBssid(const uint8_t bssid[6], char out[18]);

// Upper-case hex digits of `size` bytes, appended to `out`.
void AppendHex(std::string& out, const uint8_t* bytes, size_t size);

// Parses exactly `size` bytes from 2*size hex digits; false on anything else.
bool ParseHex(const char* text, size_t textLength, uint8_t* bytes, size_t size);

// Every byte a printable ASCII character (32-126).
bool IsPrintableAscii(const uint8_t* bytes, size_t size);

// Appends `text` with the five characters XML reserves as entities.
void AppendXmlEscaped(std::string& out, const char* text, size_t length);

}  // namespace nicport
