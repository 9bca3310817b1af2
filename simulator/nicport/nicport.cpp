// nicport.dll: a simulated wireless adapter behind the CWLANDevice contract.
//
// The adapter's state lives in HKCU\Software\NicportSim (see SimState.h) and
// is read again on every call that needs it, so that nicsim.exe or a test can
// change the adapter under a running monitor. Only what a real driver keeps on
// the host side lives here: the last scan's results and the frame counters.
#include "WLANDevice.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "SimState.h"

namespace {

// ---------------------------------------------------------------------------
// Site survey. The results belong to the library (the object layout is part
// of the contract), and stay put until the next scan so that the same index
// keeps meaning the same network.

std::vector<SiteInfo> g_scan;
bool g_scanStarted = false;
DWORD g_scanStart = 0;
DWORD g_scanDelay = 0;
uint32_t g_scanCount = 0;

uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// A scan sees each signal a little differently: up to ±jitter, within 0..100.
// Signals outside 0..100 are hostile test data and pass through untouched.
int32_t ScannedSignal(const sim::Network& n, uint32_t seed, uint32_t index) {
    if (n.jitter == 0 || n.signal < 0 || n.signal > 100) return n.signal;
    int32_t span = static_cast<int32_t>(n.jitter) * 2 + 1;
    int32_t delta = static_cast<int32_t>(Mix(seed ^ (index * 0x9E3779B9u)) % span) - static_cast<int32_t>(n.jitter);
    return std::clamp<int32_t>(n.signal + delta, 0, 100);
}

SiteInfo ToSiteInfo(const sim::Network& n, int32_t signal) {
    SiteInfo si;
    memset(&si, 0, sizeof(si));
    si.channel = n.channel;
    si.encryption = n.encryption;
    si.signal = signal;
    si.networkType = n.networkType;
    memcpy(si.bssid, n.bssid, sizeof(si.bssid));
    // A name of 33 characters or more fills the field without a terminator,
    // as a careless driver would; never more than the field holds.
    memcpy(si.ssid, n.ssid.data(), std::min(n.ssid.size(), sizeof(si.ssid)));
    return si;
}

bool ScanFinished(DWORD now) { return g_scanStarted && now - g_scanStart >= g_scanDelay; }

// ---------------------------------------------------------------------------
// Traffic. Unless the state fixes the counters, frames flow while the adapter
// is associated with its radio on, at a rate that swells and ebbs so that the
// throughput graph has something to show.

const DWORD g_loadTick = GetTickCount();

struct Traffic {
    DWORD last = g_loadTick;
    uint64_t txMilli = 4000ull * 1000;   // frames × 1000, so slow rates add up
    uint64_t rxMilli = 9000ull * 1000;
} g_traffic;

// 0..1000 and back over `period` ms.
uint32_t Triangle(DWORD now, DWORD period) {
    DWORD phase = now % period;
    DWORD half = period / 2;
    return phase < half ? phase * 1000 / half : (period - phase) * 1000 / half;
}

void AdvanceTraffic(HKEY state) {
    DWORD now = GetTickCount();
    DWORD elapsed = now - g_traffic.last;
    g_traffic.last = now;
    if (!sim::IsRadioOn(state) || !sim::IsAssociated(state)) return;
    uint64_t rxPerSec = 120 + 200 * Triangle(now, 30000) / 1000;
    uint64_t txPerSec = 40 + 90 * Triangle(now + 7000, 17000) / 1000;
    g_traffic.rxMilli += rxPerSec * elapsed;
    g_traffic.txMilli += txPerSec * elapsed;
}

int g_nextHandle = 0;
char g_macText[18];

// Opens the state key for a call on an open adapter. false (and the object
// is closed for good) when the adapter has gone away.
bool LiveState(bool& open, sim::RegKey& state) {
    if (!open) return false;
    state = sim::OpenStateKey();
    if (!sim::IsPresent(state.get())) {
        open = false;
        return false;
    }
    return true;
}

}  // namespace

CWLANDevice::CWLANDevice() : m_bOpen(false), m_nHandle(0) {
    m_szSSID[0] = '\0';
    m_szMAC[0] = '\0';
    m_szCountry[0] = '\0';
    m_szDriverVersion[0] = '\0';
}

CWLANDevice::~CWLANDevice() { m_bOpen = false; }

bool CWLANDevice::Open(const char* name, int& handle) {
    m_bOpen = false;
    if (!name) return false;
    sim::RegKey state = sim::OpenStateKey();
    if (!sim::IsPresent(state.get())) return false;
    if (sim::AdapterName(state.get()) != name) return false;
    m_bOpen = true;
    if (++g_nextHandle <= 0) g_nextHandle = 1;
    m_nHandle = g_nextHandle;
    handle = m_nHandle;
    return true;
}

bool CWLANDevice::IsOpen() {
    sim::RegKey state;
    return LiveState(m_bOpen, state);
}

void CWLANDevice::Close() { m_bOpen = false; }

bool CWLANDevice::CheckRadio() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) && sim::IsRadioOn(state.get());
}

bool CWLANDevice::SetRadio(bool on) {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return false;
    sim::RegKey writable = sim::CreateStateKey();
    return sim::WriteDword(writable.get(), sim::val::Radio, on ? 1 : 0);
}

bool CWLANDevice::QueryConnectionStatus() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) && sim::IsRadioOn(state.get()) && sim::IsAssociated(state.get());
}

char* CWLANDevice::GetSSID() {
    sim::RegKey state;
    m_szSSID[0] = '\0';
    if (LiveState(m_bOpen, state)) sim::CopyBounded(m_szSSID, sizeof(m_szSSID), sim::CurrentSsid(state.get()));
    return m_szSSID;
}

char* CWLANDevice::GetMAC() {
    sim::RegKey state;
    m_szMAC[0] = '\0';
    if (LiveState(m_bOpen, state)) {
        unsigned char bssid[6];
        sim::CurrentBssid(state.get(), bssid);
        sim::FormatBssid(bssid, m_szMAC);
    }
    return m_szMAC;
}

int CWLANDevice::GetChannel() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::CurrentChannel(state.get()) : 0;
}

unsigned long CWLANDevice::GetLinkSpeed() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::LinkSpeed(state.get()) : 0;
}

unsigned long CWLANDevice::GetTxRate() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::TxRateMbps(state.get()) : 0;
}

unsigned long CWLANDevice::GetRxRate() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::RxRateMbps(state.get()) : 0;
}

unsigned short CWLANDevice::GetSignalStrength() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::SignalPercent(state.get(), GetTickCount()) : 0;
}

unsigned short CWLANDevice::GetLinkQuality() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::LinkQualityPercent(state.get(), GetTickCount()) : 0;
}

unsigned short CWLANDevice::GetNetworkMode() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::NetworkMode(state.get()) : 0;
}

bool CWLANDevice::GetEncryption() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) && sim::EncryptionOn(state.get());
}

unsigned short CWLANDevice::GetWirelessType() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::WirelessType(state.get()) : 3;
}

char* CWLANDevice::GetCountry() {
    sim::RegKey state;
    m_szCountry[0] = '\0';
    if (LiveState(m_bOpen, state))
        sim::CopyBounded(m_szCountry, sizeof(m_szCountry), sim::Country(state.get()));
    return m_szCountry;
}

unsigned long CWLANDevice::GetTxFragment() {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return 0;
    if (auto v = sim::ReadU32(state.get(), sim::val::TxFragment)) return *v;
    AdvanceTraffic(state.get());
    return static_cast<unsigned long>(g_traffic.txMilli / 1000 / 16);
}

unsigned long CWLANDevice::GetRxFragment() {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return 0;
    if (auto v = sim::ReadU32(state.get(), sim::val::RxFragment)) return *v;
    AdvanceTraffic(state.get());
    return static_cast<unsigned long>(g_traffic.rxMilli / 1000 / 12);
}

__int64 CWLANDevice::GetTxOK() {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return 0;
    if (auto v = sim::ReadU64(state.get(), sim::val::TxOK)) return static_cast<__int64>(*v);
    AdvanceTraffic(state.get());
    return static_cast<__int64>(g_traffic.txMilli / 1000);
}

__int64 CWLANDevice::GetRxOK() {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return 0;
    if (auto v = sim::ReadU64(state.get(), sim::val::RxOK)) return static_cast<__int64>(*v);
    AdvanceTraffic(state.get());
    return static_cast<__int64>(g_traffic.rxMilli / 1000);
}

unsigned short CWLANDevice::GetTxPacketSize() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::TxPacketSize(state.get()) : 0;
}

unsigned short CWLANDevice::GetRxPacketSize() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::RxPacketSize(state.get()) : 0;
}

unsigned long CWLANDevice::GetNetMask() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) ? sim::NetMask(state.get()) : 0;
}

bool CWLANDevice::GetChannels(unsigned long* table) {
    sim::RegKey state;
    if (!table || !LiveState(m_bOpen, state)) return false;
    // All 100 entries are written, so a caller that forgot to zero the table
    // still gets exactly the allowed channels.
    std::fill(table, table + sim::kChannelTableSize, 0ul);
    for (int c : sim::ChannelList(state.get())) table[c - 1] = static_cast<unsigned long>(c);
    return true;
}

bool CWLANDevice::InitSiteSurvey() {
    g_scan.clear();
    g_scanStarted = false;
    sim::RegKey state;
    if (!LiveState(m_bOpen, state) || !sim::IsRadioOn(state.get())) return false;
    ++g_scanCount;
    g_scanStarted = true;
    g_scanStart = GetTickCount();
    g_scanDelay = sim::ScanDelayMs(state.get());
    if (sim::SurveyFails(state.get())) return true;  // the scan runs but finds nothing readable
    std::vector<sim::Network> networks = sim::NetworksInRange(state.get());
    uint32_t seed = Mix(g_scanCount ^ (g_scanStart * 0x85EBCA6Bu));
    g_scan.reserve(networks.size());
    for (size_t i = 0; i < networks.size(); ++i)
        g_scan.push_back(ToSiteInfo(networks[i], ScannedSignal(networks[i], seed, static_cast<uint32_t>(i))));
    return true;
}

bool CWLANDevice::QuerySiteSurvey() {
    sim::RegKey state;
    return LiveState(m_bOpen, state) && ScanFinished(GetTickCount()) && !sim::SurveyFails(state.get());
}

SiteInfo* CWLANDevice::GetSiteInfo(unsigned long index) {
    if (!ScanFinished(GetTickCount()) || index >= g_scan.size()) return nullptr;
    return &g_scan[index];
}

const char* CWLANDevice::GetDriverVersion() {
    sim::RegKey state;
    m_szDriverVersion[0] = '\0';
    if (LiveState(m_bOpen, state))
        sim::CopyBounded(m_szDriverVersion, sizeof(m_szDriverVersion), sim::DriverVersion(state.get()));
    return m_szDriverVersion;
}

bool CWLANDevice::CommitProfile(Profile& profile) {
    sim::RegKey state;
    if (!LiveState(m_bOpen, state)) return false;
    sim::RegKey writable = sim::CreateStateKey();
    if (!sim::WriteBinary(writable.get(), sim::val::LastCommit, &profile, sizeof(Profile))) return false;

    // Join the strongest network in range with that name whose security
    // matches the profile ("ANY": the strongest whose security matches).
    // Committing always drops the old association first, so a profile for a
    // network that is not there leaves the adapter unassociated.
    std::string ssid(profile.ssid, strnlen(profile.ssid, sizeof(profile.ssid)));
    bool any = ssid == "ANY";
    bool secured = profile.authType != AUTH_NONE;
    std::vector<sim::Network> networks = sim::NetworksInRange(state.get());
    const sim::Network* best = nullptr;
    for (const sim::Network& n : networks) {
        if ((n.encryption != 0) != secured) continue;
        if (n.ssid.empty() || n.ssid.size() > sim::kMaxSsid) continue;  // not a name one can join
        if (!any && n.ssid != ssid) continue;
        if (!best || n.signal > best->signal) best = &n;
    }
    HKEY w = writable.get();
    if (!best) return sim::WriteDword(w, sim::val::Associated, 0);
    bool ok = sim::WriteText(w, sim::val::SSID, best->ssid);
    ok = sim::WriteText(w, sim::val::BSSID, sim::FormatBssid(best->bssid)) && ok;
    ok = sim::WriteDword(w, sim::val::Channel, static_cast<uint32_t>(best->channel)) && ok;
    ok = sim::WriteDword(w, sim::val::NetworkMode, best->networkType == 1 ? 1 : 0) && ok;
    ok = sim::WriteDword(w, sim::val::Encryption, best->encryption != 0 ? 1 : 0) && ok;
    ok = sim::WriteDword(w, sim::val::Associated, 1) && ok;
    return ok;
}

char* GetMac(char* bssid) {
    g_macText[0] = '\0';
    if (bssid) sim::FormatBssid(reinterpret_cast<const unsigned char*>(bssid), g_macText);
    return g_macText;
}
