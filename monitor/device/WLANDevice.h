// The device-access contract of the monitor: what nicport.dll exports.
//
// Every call comes from the GUI thread. Strings returned as char* belong to
// the library and stay valid until the next call of the same operation on the
// same object; callers copy them at once.
#pragma once

#include <cstdint>

#include "Profile.h"

#ifdef NICPORT_BUILD
#define NICPORT_API __declspec(dllexport)
#else
#define NICPORT_API __declspec(dllimport)
#endif

#pragma pack(push, 1)
// One network of the last scan, owned by the library. Binary layout:
// four 32-bit integers, the 6 raw BSSID bytes, then the NUL-terminated SSID.
struct SiteInfo {
    int32_t channel;
    int32_t encryption;      // 1 = encrypted; other values are possible
    int32_t signal;          // percent 0..100
    int32_t networkType;     // 1 = infrastructure, anything else ad hoc
    unsigned char bssid[6];
    char ssid[33];           // a hostile library may fill it without a NUL
};
#pragma pack(pop)
static_assert(sizeof(SiteInfo) == 22 + 33, "SiteInfo layout");

// Supported wireless modes, as GetNetMask reports them.
enum : unsigned long {
    NET_MASK_A = 0x01,
    NET_MASK_A_TURBO = 0x02,
    NET_MASK_B = 0x04,
    NET_MASK_G = 0x08,
    NET_MASK_G_TURBO = 0x10,
};

// Members are exported one by one (not the whole class) so that the implicit
// copy-assignment stays an inline function of every module that uses it.
class CWLANDevice {
public:
    NICPORT_API CWLANDevice();
    NICPORT_API ~CWLANDevice();

    NICPORT_API bool Open(const char* name, int& handle);
    NICPORT_API bool IsOpen();
    NICPORT_API void Close();

    NICPORT_API bool CheckRadio();
    NICPORT_API bool SetRadio(bool on);
    NICPORT_API bool QueryConnectionStatus();

    NICPORT_API char* GetSSID();
    NICPORT_API char* GetMAC();
    NICPORT_API int GetChannel();
    NICPORT_API unsigned long GetLinkSpeed();          // units of 100 bit/s
    NICPORT_API unsigned long GetTxRate();             // Mbps
    NICPORT_API unsigned long GetRxRate();             // Mbps
    NICPORT_API unsigned short GetSignalStrength();    // percent
    NICPORT_API unsigned short GetLinkQuality();       // percent
    NICPORT_API unsigned short GetNetworkMode();       // 0 ad hoc, 1 infrastructure
    NICPORT_API bool GetEncryption();
    NICPORT_API unsigned short GetWirelessType();      // 0..5: a, a Turbo, b, -, g, g Turbo
    NICPORT_API char* GetCountry();
    NICPORT_API unsigned long GetTxFragment();
    NICPORT_API unsigned long GetRxFragment();
    NICPORT_API __int64 GetTxOK();
    NICPORT_API __int64 GetRxOK();
    NICPORT_API unsigned short GetTxPacketSize();
    NICPORT_API unsigned short GetRxPacketSize();
    NICPORT_API unsigned long GetNetMask();
    NICPORT_API bool GetChannels(unsigned long* table);  // 100 entries
    NICPORT_API bool InitSiteSurvey();
    NICPORT_API bool QuerySiteSurvey();
    NICPORT_API SiteInfo* GetSiteInfo(unsigned long index);
    NICPORT_API const char* GetDriverVersion();
    NICPORT_API bool CommitProfile(Profile& profile);

private:
    // Per-object text buffers behind the char* results.
    bool m_bOpen;
    int m_nHandle;
    char m_szSSID[33];
    char m_szMAC[18];
    char m_szCountry[33];
    char m_szDriverVersion[64];
};

// Printable form "XX:XX:XX:XX:XX:XX" of 6 raw BSSID bytes; a static buffer.
NICPORT_API char* GetMac(char* bssid);

// Optional export, looked up by name with GetProcAddress (a library may lack
// it): the description of the adapter that Open chose, or null while the
// adapter is closed. A library that serves adapters whose description is not
// the monitor's adapter name exports it, so that the monitor finds the same
// adapter in the IP helper's and the network cards' lists.
#define NICPORT_ADAPTER_DESCRIPTION_EXPORT "NicportAdapterDescription"
extern "C" {
typedef const char* (*NicportAdapterDescriptionFn)();
}
