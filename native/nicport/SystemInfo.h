// What the Native Wi-Fi API does not tell about an adapter: its driver's
// version (device installer) and its traffic counters (IP helper), both
// found through the interface's GUID.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace nicport {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the form the registry and the
// IP helper name interfaces by.
void FormatGuid(const GUID& guid, char out[39]);

// The DriverVersion of the network adapter whose driver key's
// NetCfgInstanceId is the interface's GUID; false when there is none.
bool ReadDriverVersion(const GUID& iface, char* out, size_t size);

// The interface's octet and packet counters (32-bit, as the IP helper of
// every Windows version keeps them).
struct InterfaceTraffic {
    uint32_t inOctets = 0;
    uint32_t outOctets = 0;
    uint32_t inPackets = 0;
    uint32_t outPackets = 0;
};
// `index` caches the interface index between calls (0: not known yet).
bool ReadInterfaceTraffic(const GUID& iface, ULONG& index, InterfaceTraffic& traffic);

}  // namespace nicport
