#include "LinkState.h"

#include <cstring>

#include "BssList.h"

namespace nicport {
namespace {
constexpr DWORD kSnapshotMs = 500;
constexpr DWORD kBssSnapshotMs = 2000;

// An answer smaller than the structure asked for is not read.
template <typename T>
bool Holds(const WlanMemory<T>& data, DWORD size, size_t needed) {
    return data && size >= needed;
}

unsigned PacketSize(uint32_t octets, uint32_t packets) {
    if (packets == 0) return 0;
    const uint32_t size = octets / packets;
    return size < 0xFFFF ? size : 0xFFFF;
}
}  // namespace

void CLinkState::Reset() { m = Data(); }

void CLinkState::Invalidate() {
    m.radioStamp.taken = m.connectionStamp.taken = m.channelStamp.taken = false;
    m.bssStamp.taken = m.trafficStamp.taken = false;
}

bool CLinkState::Fresh(const Stamp& stamp, DWORD validMs) const {
    return stamp.taken && ::GetTickCount() - stamp.at < validMs && stamp.changes == m_session.Changes();
}

void CLinkState::Take(Stamp& stamp) const {
    stamp.taken = true;
    stamp.at = ::GetTickCount();
    stamp.changes = m_session.Changes();
}

// ---- Radio ------------------------------------------------------------------

void CLinkState::ReadRadio() {
    Take(m.radioStamp);
    m.bRadioOn = false;
    m.nPhys = 0;
    WlanMemory<WLAN_RADIO_STATE> radio(m_session.Fn());
    DWORD size = 0;
    if (m_session.Query(wlan_intf_opcode_radio_state, size, radio.put_void()) != ERROR_SUCCESS ||
        !Holds(radio, size, offsetof(WLAN_RADIO_STATE, PhyRadioState)))
        return;
    const size_t room = (size - offsetof(WLAN_RADIO_STATE, PhyRadioState)) / sizeof(WLAN_PHY_RADIO_STATE);
    DWORD count = radio->dwNumberOfPhys;
    if (count > room) count = static_cast<DWORD>(room);
    if (count > WLAN_MAX_PHY_INDEX) count = WLAN_MAX_PHY_INDEX;
    for (DWORD i = 0; i < count; ++i) {
        const WLAN_PHY_RADIO_STATE& phy = radio->PhyRadioState[i];
        m.phyIndex[i] = phy.dwPhyIndex;
        // A PHY transmits only with both switches on.
        if (phy.dot11SoftwareRadioState == dot11_radio_state_on && phy.dot11HardwareRadioState == dot11_radio_state_on)
            m.bRadioOn = true;
    }
    m.nPhys = count;
}

bool CLinkState::RadioOn() {
    if (!Fresh(m.radioStamp, kSnapshotMs)) ReadRadio();
    return m.bRadioOn;
}

bool CLinkState::SetRadio(bool on) {
    if (!m_session.Usable() || !m_session.Fn().SetInterface) return false;
    ReadRadio();
    // Without a radio state to go by, PHY 0 is the one every adapter has.
    const DWORD count = m.nPhys > 0 ? m.nPhys : 1;
    bool all = true;
    for (DWORD i = 0; i < count && m_session.Usable(); ++i) {
        WLAN_PHY_RADIO_STATE state = {};
        state.dwPhyIndex = m.nPhys > 0 ? m.phyIndex[i] : 0;
        state.dot11SoftwareRadioState = on ? dot11_radio_state_on : dot11_radio_state_off;
        // The hardware switch is not ours to set: the service ignores that field.
        state.dot11HardwareRadioState = dot11_radio_state_unknown;
        const DWORD result = m_session.Note(m_session.Fn().SetInterface(
            m_session.Client(), &m_session.Interface(), wlan_intf_opcode_radio_state, sizeof(state), &state, nullptr));
        all = all && result == ERROR_SUCCESS;
    }
    Invalidate();
    return all;
}

// ---- Connection -------------------------------------------------------------

void CLinkState::ReadConnection() {
    Take(m.connectionStamp);
    m.bAssociated = false;
    m.bHaveAttributes = false;
    m.bSecurity = false;
    WlanMemory<WLAN_CONNECTION_ATTRIBUTES> connection(m_session.Fn());
    DWORD size = 0;
    const DWORD result = m_session.Query(wlan_intf_opcode_current_connection, size, connection.put_void());
    if (result == ERROR_SUCCESS && Holds(connection, size, sizeof(WLAN_CONNECTION_ATTRIBUTES))) {
        const WLAN_INTERFACE_STATE state = connection->isState;
        m.bAssociated = state == wlan_interface_state_connected || state == wlan_interface_state_ad_hoc_network_formed;
        if (m.bAssociated) {
            m.association = connection->wlanAssociationAttributes;
            m.bSecurity = connection->wlanSecurityAttributes.bSecurityEnabled != FALSE;
            m.bHaveAttributes = true;
        }
        return;
    }
    // ERROR_INVALID_STATE: not connected. Anything else (access denied
    // without location consent): the interface state alone still tells.
    if (result == ERROR_INVALID_STATE || !m_session.Usable()) return;
    WlanMemory<WLAN_INTERFACE_STATE> state(m_session.Fn());
    if (m_session.Query(wlan_intf_opcode_interface_state, size, state.put_void()) == ERROR_SUCCESS &&
        Holds(state, size, sizeof(WLAN_INTERFACE_STATE)))
        m.bAssociated = *state == wlan_interface_state_connected || *state == wlan_interface_state_ad_hoc_network_formed;
}

bool CLinkState::Associated() {
    if (!Fresh(m.connectionStamp, kSnapshotMs)) ReadConnection();
    return m.bAssociated;
}

const WLAN_ASSOCIATION_ATTRIBUTES* CLinkState::Association() {
    return Associated() && m.bHaveAttributes ? &m.association : nullptr;
}

bool CLinkState::SecurityEnabled() { return Association() && m.bSecurity; }

int CLinkState::Channel() {
    if (!Associated()) return 0;
    if (!Fresh(m.channelStamp, kSnapshotMs)) {
        Take(m.channelStamp);
        m.nChannel = 0;
        WlanMemory<ULONG> channel(m_session.Fn());
        DWORD size = 0;
        if (m_session.Query(wlan_intf_opcode_channel_number, size, channel.put_void()) == ERROR_SUCCESS &&
            Holds(channel, size, sizeof(ULONG)) && *channel > 0 && *channel < 256)
            m.nChannel = static_cast<int>(*channel);
    }
    if (m.nChannel == 0 && Bss().found) return ChannelFromFrequencyKhz(m.bss.frequencyKhz);
    return m.nChannel;
}

// ---- The current BSS ------------------------------------------------------

const CLinkState::CurrentBss& CLinkState::Bss() {
    const WLAN_ASSOCIATION_ATTRIBUTES* association = Association();
    if (!association) {
        m.bss = CurrentBss();
        return m.bss;
    }
    if (Fresh(m.bssStamp, kBssSnapshotMs)) return m.bss;
    Take(m.bssStamp);
    m.bss = CurrentBss();
    if (!m_session.Fn().GetNetworkBssList) return m.bss;

    // Only the entries of the current network's name: a short list.
    DOT11_SSID ssid = association->dot11Ssid;
    const bool named = association->dot11BssType == dot11_BSS_type_infrastructure ||
                       association->dot11BssType == dot11_BSS_type_independent;
    WlanMemory<WLAN_BSS_LIST> list(m_session.Fn());
    const DWORD result = m_session.Note(m_session.Fn().GetNetworkBssList(
        m_session.Client(), &m_session.Interface(), named ? &ssid : nullptr,
        named ? association->dot11BssType : dot11_BSS_type_any, m.bSecurity ? TRUE : FALSE, nullptr, list.put()));
    if (result != ERROR_SUCCESS || !list) return m.bss;
    const CBssView view(list.get());
    for (size_t i = 0; i < view.Count(); ++i) {
        const WLAN_BSS_ENTRY& entry = view.Entry(i);
        if (std::memcmp(entry.dot11Bssid, association->dot11Bssid, sizeof(entry.dot11Bssid)) != 0) continue;
        m.bss.found = true;
        m.bss.linkQuality = entry.uLinkQuality < 100 ? entry.uLinkQuality : 100;
        m.bss.frequencyKhz = entry.ulChCenterFrequency;
        const uint8_t* ies = nullptr;
        size_t iesSize = 0;
        if (view.Ies(i, ies, iesSize)) ParseCountryIe(ies, iesSize, m.bss.country);
        break;
    }
    return m.bss;
}

// ---- Counters ---------------------------------------------------------------

const CLinkState::Traffic& CLinkState::Counters() {
    if (Fresh(m.trafficStamp, kSnapshotMs)) return m.traffic;
    Take(m.trafficStamp);
    m.traffic = Traffic();
    if (!m_session.Usable()) return m.traffic;

    WlanMemory<WLAN_STATISTICS> stats(m_session.Fn());
    DWORD size = 0;
    if (m_session.Query(wlan_intf_opcode_statistics, size, stats.put_void()) == ERROR_SUCCESS &&
        Holds(stats, size, offsetof(WLAN_STATISTICS, PhyCounters))) {
        const size_t room = (size - offsetof(WLAN_STATISTICS, PhyCounters)) / sizeof(WLAN_PHY_FRAME_STATISTICS);
        const size_t phys = stats->dwNumberOfPhys < room ? stats->dwNumberOfPhys : room;
        for (size_t i = 0; i < phys; ++i) {
            m.traffic.txFragments += stats->PhyCounters[i].ullTransmittedFragmentCount;
            m.traffic.rxFragments += stats->PhyCounters[i].ullReceivedFragmentCount;
        }
        m.traffic.txFrames = stats->MacUcastCounters.ullTransmittedFrameCount +
                             stats->MacMcastCounters.ullTransmittedFrameCount;
        m.traffic.rxFrames = stats->MacUcastCounters.ullReceivedFrameCount +
                             stats->MacMcastCounters.ullReceivedFrameCount;
    }

    InterfaceTraffic ip;
    if (ReadInterfaceTraffic(m_session.Interface(), m.nIfIndex, ip)) {
        m.traffic.txPacketSize = PacketSize(ip.outOctets, ip.outPackets);
        m.traffic.rxPacketSize = PacketSize(ip.inOctets, ip.inPackets);
        // A driver without statistics reports zeros: the packets that the
        // interface carried stand in for its frames (and, unfragmented, for
        // its fragments).
        if (m.traffic.txFrames == 0 && m.traffic.rxFrames == 0) {
            m.traffic.txFrames = ip.outPackets;
            m.traffic.rxFrames = ip.inPackets;
        }
        if (m.traffic.txFragments == 0 && m.traffic.rxFragments == 0) {
            m.traffic.txFragments = ip.outPackets;
            m.traffic.rxFragments = ip.inPackets;
        }
    }
    return m.traffic;
}

// ---- Per interface ----------------------------------------------------------

unsigned long CLinkState::NetMask() {
    if (m.bHaveNetMask || !m_session.Usable() || !m_session.Fn().GetInterfaceCapability) return m.nNetMask;
    WlanMemory<WLAN_INTERFACE_CAPABILITY> capability(m_session.Fn());
    const DWORD result = m_session.Note(m_session.Fn().GetInterfaceCapability(
        m_session.Client(), &m_session.Interface(), nullptr, capability.put()));
    m.bHaveNetMask = true;
    if (result != ERROR_SUCCESS || !capability) return m.nNetMask;
    DWORD count = capability->dwNumberOfSupportedPhys;
    if (count > WLAN_MAX_PHY_INDEX) count = WLAN_MAX_PHY_INDEX;
    uint32_t phys[WLAN_MAX_PHY_INDEX];
    for (DWORD i = 0; i < count; ++i) phys[i] = static_cast<uint32_t>(capability->dot11PhyTypes[i]);
    m.nNetMask = NetMaskFromPhys(phys, count);
    return m.nNetMask;
}

bool CLinkState::Wpa2Capable() {
    if (m.bHaveWpa2 || !m_session.Usable()) return m.bWpa2;
    WlanMemory<WLAN_AUTH_CIPHER_PAIR_LIST> pairs(m_session.Fn());
    DWORD size = 0;
    const DWORD result =
        m_session.Query(wlan_intf_opcode_supported_infrastructure_auth_cipher_pairs, size, pairs.put_void());
    m.bHaveWpa2 = true;
    if (result != ERROR_SUCCESS || !Holds(pairs, size, offsetof(WLAN_AUTH_CIPHER_PAIR_LIST, pAuthCipherPairList)))
        return m.bWpa2;
    const size_t room = (size - offsetof(WLAN_AUTH_CIPHER_PAIR_LIST, pAuthCipherPairList)) /
                        sizeof(DOT11_AUTH_CIPHER_PAIR);
    const size_t count = pairs->dwNumberOfItems < room ? pairs->dwNumberOfItems : room;
    // The headers declare the list as one element; it is an array.
    const DOT11_AUTH_CIPHER_PAIR* pair = &pairs->pAuthCipherPairList;
    for (size_t i = 0; i < count; ++i)
        if (pair[i].AuthAlgoId == DOT11_AUTH_ALGO_RSNA_PSK && pair[i].CipherAlgoId == DOT11_CIPHER_ALGO_CCMP)
            m.bWpa2 = true;
    return m.bWpa2;
}

const char* CLinkState::DriverVersion() {
    if (!m.bHaveDriver && m_session.Usable()) {
        m.bHaveDriver = true;
        ReadDriverVersion(m_session.Interface(), m.szDriver, sizeof(m.szDriver));
    }
    return m.szDriver;
}

}  // namespace nicport
