// nicport.dll over the Native Wi-Fi API (work in progress: every operation
// still reports a closed adapter).
#include "WLANDevice.h"

CWLANDevice::CWLANDevice() : m_bOpen(false), m_nHandle(0) {
    m_szSSID[0] = m_szMAC[0] = m_szCountry[0] = m_szDriverVersion[0] = '\0';
}
CWLANDevice::~CWLANDevice() {}
bool CWLANDevice::Open(const char*, int&) { return false; }
bool CWLANDevice::IsOpen() { return false; }
void CWLANDevice::Close() {}
bool CWLANDevice::CheckRadio() { return false; }
bool CWLANDevice::SetRadio(bool) { return false; }
bool CWLANDevice::QueryConnectionStatus() { return false; }
char* CWLANDevice::GetSSID() { return m_szSSID; }
char* CWLANDevice::GetMAC() { return m_szMAC; }
int CWLANDevice::GetChannel() { return 0; }
unsigned long CWLANDevice::GetLinkSpeed() { return 0; }
unsigned long CWLANDevice::GetTxRate() { return 0; }
unsigned long CWLANDevice::GetRxRate() { return 0; }
unsigned short CWLANDevice::GetSignalStrength() { return 0; }
unsigned short CWLANDevice::GetLinkQuality() { return 0; }
unsigned short CWLANDevice::GetNetworkMode() { return 0; }
bool CWLANDevice::GetEncryption() { return false; }
unsigned short CWLANDevice::GetWirelessType() { return 3; }
char* CWLANDevice::GetCountry() { return m_szCountry; }
unsigned long CWLANDevice::GetTxFragment() { return 0; }
unsigned long CWLANDevice::GetRxFragment() { return 0; }
__int64 CWLANDevice::GetTxOK() { return 0; }
__int64 CWLANDevice::GetRxOK() { return 0; }
unsigned short CWLANDevice::GetTxPacketSize() { return 0; }
unsigned short CWLANDevice::GetRxPacketSize() { return 0; }
unsigned long CWLANDevice::GetNetMask() { return 0; }
bool CWLANDevice::GetChannels(unsigned long*) { return false; }
bool CWLANDevice::InitSiteSurvey() { return false; }
bool CWLANDevice::QuerySiteSurvey() { return false; }
SiteInfo* CWLANDevice::GetSiteInfo(unsigned long) { return nullptr; }
const char* CWLANDevice::GetDriverVersion() { return m_szDriverVersion; }
bool CWLANDevice::CommitProfile(Profile&) { return false; }

char* GetMac(char*) {
    static char text[18];
    return text;
}

extern "C" NICPORT_API const char* NicportAdapterDescription() { return nullptr; }
