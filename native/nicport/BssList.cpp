#include "BssList.h"

#include <cstring>

#include "Channels.h"

namespace nicport {
namespace {
// The privacy bit of the capability information: every data frame is
// encrypted (WEP, WPA or WPA2).
constexpr USHORT kCapabilityPrivacy = 0x0010;
}  // namespace

CBssView::CBssView(const WLAN_BSS_LIST* list) : m_pList(list) {
    if (!list) return;
    constexpr size_t header = offsetof(WLAN_BSS_LIST, wlanBssEntries);
    const size_t total = list->dwTotalSize;
    if (total < header) return;
    const size_t room = (total - header) / sizeof(WLAN_BSS_ENTRY);
    m_nCount = list->dwNumberOfItems < room ? list->dwNumberOfItems : room;
}

bool CBssView::Ies(size_t index, const uint8_t*& ies, size_t& size) const {
    ies = nullptr;
    size = 0;
    if (index >= m_nCount) return false;
    const WLAN_BSS_ENTRY& entry = Entry(index);
    const size_t entryAt = reinterpret_cast<const uint8_t*>(&entry) - reinterpret_cast<const uint8_t*>(m_pList);
    const size_t left = m_pList->dwTotalSize - entryAt;
    if (entry.ulIeOffset > left || entry.ulIeSize > left - entry.ulIeOffset) return false;
    ies = reinterpret_cast<const uint8_t*>(&entry) + entry.ulIeOffset;
    size = entry.ulIeSize;
    return true;
}

bool CBssView::HasIe(size_t index, uint8_t id) const {
    const uint8_t* ies = nullptr;
    size_t size = 0;
    size_t length = 0;
    return Ies(index, ies, size) && FindIe(ies, size, id, length) != nullptr;
}

size_t EntrySsid(const WLAN_BSS_ENTRY& entry, const uint8_t*& ssid) {
    ssid = entry.dot11Ssid.ucSSID;
    return entry.dot11Ssid.uSSIDLength < DOT11_SSID_MAX_LENGTH ? entry.dot11Ssid.uSSIDLength : DOT11_SSID_MAX_LENGTH;
}

SiteInfo SiteFromEntry(const WLAN_BSS_ENTRY& entry) {
    SiteInfo site;
    std::memset(&site, 0, sizeof(site));
    site.channel = ChannelFromFrequencyKhz(entry.ulChCenterFrequency);
    site.encryption = (entry.usCapabilityInformation & kCapabilityPrivacy) ? 1 : 0;
    site.signal = static_cast<int32_t>(entry.uLinkQuality < 100 ? entry.uLinkQuality : 100);
    site.networkType = entry.dot11BssType == dot11_BSS_type_infrastructure ? 1 : 0;
    std::memcpy(site.bssid, entry.dot11Bssid, sizeof(site.bssid));
    const uint8_t* ssid = nullptr;
    const size_t length = EntrySsid(entry, ssid);
    std::memcpy(site.ssid, ssid, length);  // 32 bytes at most: the 33rd stays the terminator
    return site;
}

}  // namespace nicport
