// A bounded walk over a WLAN_BSS_LIST. The entries come from the radio
// (what access points and peers announce) and the service's buffer: every
// entry and every information-element blob is taken only where it lies
// wholly inside the size the list states.
#pragma once

#include <windows.h>
#include <wlanapi.h>

#include <cstddef>
#include <cstdint>

#include "WLANDevice.h"

namespace nicport {

class CBssView {
public:
    explicit CBssView(const WLAN_BSS_LIST* list);

    size_t Count() const { return m_nCount; }
    const WLAN_BSS_ENTRY& Entry(size_t index) const { return m_pList->wlanBssEntries[index]; }
    // The entry's information elements, or false when its blob does not lie
    // inside the list.
    bool Ies(size_t index, const uint8_t*& ies, size_t& size) const;
    // Whether the entry announces an element `id` (the RSN element of WPA2,
    // for one).
    bool HasIe(size_t index, uint8_t id) const;

private:
    const WLAN_BSS_LIST* m_pList;
    size_t m_nCount = 0;
};

// The network of an entry in the monitor's survey record: channel from the
// centre frequency, 1 for encryption when the privacy capability bit is set,
// the link quality as the signal, 1 for an infrastructure network, the BSSID
// and the SSID's bytes as they are (at most 32, always terminated).
SiteInfo SiteFromEntry(const WLAN_BSS_ENTRY& entry);

// The bytes of an entry's SSID, at most 32.
size_t EntrySsid(const WLAN_BSS_ENTRY& entry, const uint8_t*& ssid);

}  // namespace nicport
