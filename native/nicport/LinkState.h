// The readings of the chosen interface, taken from the service in a few
// snapshots that serve every reading of the same moment: the monitor asks
// for a dozen values within a tick, from several timers, and each must not
// cost a round trip to the service and an allocation of its own.
//
// A snapshot part holds for half a second (the current BSS entry, a larger
// query, for two) and not past a change the service reported (connection,
// radio, signal) or one this library made. What depends on the interface
// alone (capabilities, driver version) is read once per chosen interface.
#pragma once

#include <windows.h>
#include <wlanapi.h>

#include <cstdint>

#include "Channels.h"
#include "SystemInfo.h"
#include "WlanSession.h"

namespace nicport {

class CLinkState {
public:
    explicit CLinkState(CWlanSession& session) : m_session(session) {}

    // Everything read so far is forgotten: another interface was chosen.
    void Reset();
    // The readings are taken anew on their next use.
    void Invalidate();

    bool RadioOn();
    // Sets the software radio state of every PHY.
    bool SetRadio(bool on);

    // Associated with an access point, or part of an ad hoc network.
    bool Associated();
    // The association's attributes, or null while not associated or when
    // the service withholds them (Windows 11 without location consent).
    const WLAN_ASSOCIATION_ATTRIBUTES* Association();
    bool SecurityEnabled();
    // The channel number (0 unknown): the driver's, else from the centre
    // frequency of the current BSS.
    int Channel();

    // The current BSS as the last scan results describe it.
    struct CurrentBss {
        bool found = false;
        unsigned linkQuality = 0;
        unsigned long frequencyKhz = 0;
        CountryInfo country;
    };
    const CurrentBss& Bss();

    // Fragment and frame counters: the driver's statistics, the IP helper's
    // packet counts where the driver reports none; packet sizes from the IP
    // helper's octets per packet.
    struct Traffic {
        uint64_t txFragments = 0;
        uint64_t rxFragments = 0;
        uint64_t txFrames = 0;
        uint64_t rxFrames = 0;
        unsigned txPacketSize = 0;
        unsigned rxPacketSize = 0;
    };
    const Traffic& Counters();

    unsigned long NetMask();
    // The adapter offers WPA2-PSK with AES to access points.
    bool Wpa2Capable();
    const char* DriverVersion();

private:
    struct Stamp {
        bool taken = false;
        DWORD at = 0;
        uint32_t changes = 0;
    };
    bool Fresh(const Stamp& stamp, DWORD validMs) const;
    void Take(Stamp& stamp) const;
    void ReadRadio();
    void ReadConnection();

    CWlanSession& m_session;

    // Everything the readings keep, reset as one when another interface is chosen.
    struct Data {
        Stamp radioStamp;
        bool bRadioOn = false;
        DWORD nPhys = 0;
        DWORD phyIndex[WLAN_MAX_PHY_INDEX] = {};

        Stamp connectionStamp;
        bool bAssociated = false;
        bool bHaveAttributes = false;
        WLAN_ASSOCIATION_ATTRIBUTES association = {};
        bool bSecurity = false;

        Stamp channelStamp;
        int nChannel = 0;

        Stamp bssStamp;
        CurrentBss bss;

        Stamp trafficStamp;
        Traffic traffic;
        ULONG nIfIndex = 0;

        // Per interface.
        bool bHaveNetMask = false;
        unsigned long nNetMask = 0;
        bool bHaveWpa2 = false;
        bool bWpa2 = false;
        bool bHaveDriver = false;
        char szDriver[64] = {};
    };
    Data m;
};

}  // namespace nicport
