// MD5 (RFC 1321), for the 104/128-bit WEP passphrase generator only: the
// digest is what the widely used generator takes, not a security measure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nicport {

constexpr size_t kMd5Bytes = 16;

void Md5(const void* data, size_t size, uint8_t digest[kMd5Bytes]);

}  // namespace nicport
