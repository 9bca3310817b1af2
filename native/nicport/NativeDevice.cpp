// nicport.dll over the Windows Native Wi-Fi API: the CWLANDevice contract
// served from wlanapi.dll (Windows Vista and later).
//
// The monitor allocates the CWLANDevice object and its layout is fixed, so
// the library keeps its own state beside it: one CDevice (a service session,
// the readings, the survey) per object, in a small table keyed by the
// object's address. A copy of an object is thus never mistaken for its
// original. The table is plain data: what is left in it when the DLL is
// unloaded is not torn down from DllMain, where the API must not be called.
#include "WLANDevice.h"

#include <cstring>
#include <new>

#include "Commit.h"
#include "LinkState.h"
#include "SiteSurvey.h"
#include "Text.h"
#include "WlanSession.h"

namespace {

using namespace nicport;

struct CDevice {
    CWlanSession session;
    CLinkState link{session};
    CSiteSurvey survey;
};

struct Slot {
    const CWLANDevice* owner;
    CDevice* device;
};
// The monitor has one object; tests a few more.
Slot g_slots[8];
// The device whose interface NicportAdapterDescription describes: the one
// opened last.
const CDevice* g_described = nullptr;
int g_nextHandle = 0;
char g_macText[18];

CDevice* Find(const CWLANDevice* owner) {
    for (Slot& slot : g_slots)
        if (slot.owner == owner && slot.device) return slot.device;
    return nullptr;
}

CDevice* Attach(const CWLANDevice* owner) {
    for (Slot& slot : g_slots) {
        if (slot.device) continue;
        slot.device = new (std::nothrow) CDevice;
        slot.owner = slot.device ? owner : nullptr;
        return slot.device;
    }
    return nullptr;
}

void Release(const CWLANDevice* owner) {
    for (Slot& slot : g_slots) {
        if (slot.owner != owner || !slot.device) continue;
        if (g_described == slot.device) g_described = nullptr;
        delete slot.device;
        slot = Slot{nullptr, nullptr};
    }
}

// The object's device while its interface is there, else null.
CDevice* Live(const CWLANDevice* owner) {
    CDevice* device = Find(owner);
    return device && device->session.Usable() ? device : nullptr;
}

template <size_t N>
void CopyText(char (&to)[N], const char* from, size_t length) {
    if (length > N - 1) length = N - 1;
    std::memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

CWLANDevice::CWLANDevice() : m_bOpen(false), m_nHandle(0) {
    m_szSSID[0] = m_szMAC[0] = m_szCountry[0] = m_szDriverVersion[0] = '\0';
}

CWLANDevice::~CWLANDevice() {
    Release(this);
    m_bOpen = false;
}

bool CWLANDevice::Open(const char* name, int& handle) {
    m_bOpen = false;
    CDevice* device = Find(this);
    // A session whose service connection broke is started anew.
    if (device && device->session.Stale()) {
        Release(this);
        device = nullptr;
    }
    if (!device) {
        device = Attach(this);
        if (!device) return false;
        if (!device->session.Start()) {
            Release(this);
            return false;
        }
    }
    // Opening again starts from nothing: another interface may be chosen.
    // The client handle stays, so that a monitor retrying every second
    // while no adapter is there costs one enumeration a try.
    device->link.Reset();
    device->survey.Clear();
    if (g_described == device) g_described = nullptr;
    if (!device->session.ChooseInterface(name)) return false;

    m_bOpen = true;
    if (++g_nextHandle <= 0) g_nextHandle = 1;
    m_nHandle = g_nextHandle;
    handle = m_nHandle;
    g_described = device;
    return true;
}

bool CWLANDevice::IsOpen() {
    m_bOpen = Live(this) != nullptr;
    return m_bOpen;
}

void CWLANDevice::Close() {
    Release(this);
    m_bOpen = false;
}

bool CWLANDevice::CheckRadio() {
    CDevice* device = Live(this);
    return device && device->link.RadioOn();
}

bool CWLANDevice::SetRadio(bool on) {
    CDevice* device = Live(this);
    return device && device->link.SetRadio(on);
}

bool CWLANDevice::QueryConnectionStatus() {
    CDevice* device = Live(this);
    return device && device->link.Associated();
}

char* CWLANDevice::GetSSID() {
    m_szSSID[0] = '\0';
    CDevice* device = Live(this);
    if (const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr) {
        const DOT11_SSID& ssid = association->dot11Ssid;
        CopyText(m_szSSID, reinterpret_cast<const char*>(ssid.ucSSID),
                 ssid.uSSIDLength < DOT11_SSID_MAX_LENGTH ? ssid.uSSIDLength : DOT11_SSID_MAX_LENGTH);
    }
    return m_szSSID;
}

char* CWLANDevice::GetMAC() {
    m_szMAC[0] = '\0';
    CDevice* device = Live(this);
    if (const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr)
        FormatBssid(association->dot11Bssid, m_szMAC);
    return m_szMAC;
}

int CWLANDevice::GetChannel() {
    CDevice* device = Live(this);
    return device ? device->link.Channel() : 0;
}

unsigned long CWLANDevice::GetLinkSpeed() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    if (!association) return 0;
    // kbit/s to units of 100 bit/s.
    const unsigned long rate = association->ulTxRate;
    return rate < 0xFFFFFFFFul / 10 ? rate * 10 : 0xFFFFFFFFul;
}

unsigned long CWLANDevice::GetTxRate() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    return association ? association->ulTxRate / 1000 : 0;
}

unsigned long CWLANDevice::GetRxRate() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    return association ? association->ulRxRate / 1000 : 0;
}

unsigned short CWLANDevice::GetSignalStrength() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    if (!association) return 0;
    return static_cast<unsigned short>(association->wlanSignalQuality < 100 ? association->wlanSignalQuality : 100);
}

unsigned short CWLANDevice::GetLinkQuality() {
    CDevice* device = Live(this);
    if (!device || !device->link.Association()) return 0;
    // The driver's link quality of the current BSS; where the scan results
    // do not have it, the signal quality of the association.
    const CLinkState::CurrentBss& bss = device->link.Bss();
    return bss.found ? static_cast<unsigned short>(bss.linkQuality) : GetSignalStrength();
}

unsigned short CWLANDevice::GetNetworkMode() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    return association && association->dot11BssType == dot11_BSS_type_infrastructure ? 1 : 0;
}

bool CWLANDevice::GetEncryption() {
    CDevice* device = Live(this);
    return device && device->link.SecurityEnabled();
}

unsigned short CWLANDevice::GetWirelessType() {
    CDevice* device = Live(this);
    const WLAN_ASSOCIATION_ATTRIBUTES* association = device ? device->link.Association() : nullptr;
    if (!association) return kTypeNone;
    const uint32_t phy = static_cast<uint32_t>(association->dot11PhyType);
    // Only the later PHYs need the band, and so the channel.
    const bool byBand = phy == kPhyHt || phy == kPhyVht || phy == kPhyHe || phy == kPhyEht;
    return WirelessTypeFromPhy(phy, byBand ? device->link.Channel() : 0);
}

char* CWLANDevice::GetCountry() {
    m_szCountry[0] = '\0';
    CDevice* device = Live(this);
    if (device && device->link.Association()) {
        const char* code = device->link.Bss().country.code;
        CopyText(m_szCountry, code, strnlen(code, sizeof(CountryInfo().code)));
    }
    return m_szCountry;
}

unsigned long CWLANDevice::GetTxFragment() {
    CDevice* device = Live(this);
    return device ? static_cast<unsigned long>(device->link.Counters().txFragments) : 0;
}

unsigned long CWLANDevice::GetRxFragment() {
    CDevice* device = Live(this);
    return device ? static_cast<unsigned long>(device->link.Counters().rxFragments) : 0;
}

__int64 CWLANDevice::GetTxOK() {
    CDevice* device = Live(this);
    return device ? static_cast<__int64>(device->link.Counters().txFrames) : 0;
}

__int64 CWLANDevice::GetRxOK() {
    CDevice* device = Live(this);
    return device ? static_cast<__int64>(device->link.Counters().rxFrames) : 0;
}

unsigned short CWLANDevice::GetTxPacketSize() {
    CDevice* device = Live(this);
    return device ? static_cast<unsigned short>(device->link.Counters().txPacketSize) : 0;
}

unsigned short CWLANDevice::GetRxPacketSize() {
    CDevice* device = Live(this);
    return device ? static_cast<unsigned short>(device->link.Counters().rxPacketSize) : 0;
}

unsigned long CWLANDevice::GetNetMask() {
    CDevice* device = Live(this);
    return device ? device->link.NetMask() : 0;
}

bool CWLANDevice::GetChannels(unsigned long* table) {
    CDevice* device = Live(this);
    if (!table || !device) return false;
    const RadioBands bands = BandsFromNetMask(device->link.NetMask());
    const CountryInfo* country = nullptr;
    if (device->link.Association() && device->link.Bss().country.subbands > 0) country = &device->link.Bss().country;
    AllowedChannels(bands, country, table);
    return true;
}

bool CWLANDevice::InitSiteSurvey() {
    CDevice* device = Find(this);
    if (!device) return false;
    if (!device->session.Usable()) {
        device->survey.Clear();
        return false;
    }
    return device->survey.Start(device->session);
}

bool CWLANDevice::QuerySiteSurvey() {
    CDevice* device = Live(this);
    return device && device->survey.Ready(device->session);
}

SiteInfo* CWLANDevice::GetSiteInfo(unsigned long index) {
    // The results of a finished survey stay readable until the next scan.
    CDevice* device = Find(this);
    return device ? device->survey.Site(index) : nullptr;
}

const char* CWLANDevice::GetDriverVersion() {
    m_szDriverVersion[0] = '\0';
    CDevice* device = Live(this);
    if (device) {
        const char* version = device->link.DriverVersion();
        CopyText(m_szDriverVersion, version, strnlen(version, sizeof(m_szDriverVersion)));
    }
    return m_szDriverVersion;
}

bool CWLANDevice::CommitProfile(Profile& profile) {
    CDevice* device = Live(this);
    return device && nicport::CommitProfile(device->session, device->link, profile);
}

char* GetMac(char* bssid) {
    g_macText[0] = '\0';
    if (bssid) FormatBssid(reinterpret_cast<const uint8_t*>(bssid), g_macText);
    return g_macText;
}

extern "C" NICPORT_API const char* NicportAdapterDescription() {
    return g_described && g_described->session.Usable() ? g_described->session.Description() : nullptr;
}
