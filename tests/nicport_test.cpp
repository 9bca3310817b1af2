// nicport.dll and nicsim.exe against the state key HKCU\Software\NicportSim.
// The tests write the key with plain registry calls and read the adapter
// only through CWLANDevice, as the monitor does.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimState.h"
#include "WLANDevice.h"
#include "support/TestProcess.h"

namespace {

const char kKey[] = "Software\\NicportSim";
const char kAdapter[] = "Wireless Card";

struct Key {
    HKEY h = nullptr;
    explicit Key(const char* sub = kKey, bool create = true) {
        if (create)
            RegCreateKeyExA(HKEY_CURRENT_USER, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
        else
            RegOpenKeyExA(HKEY_CURRENT_USER, sub, 0, KEY_ALL_ACCESS, &h);
    }
    ~Key() {
        if (h) RegCloseKey(h);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
};

void SetRaw(const char* sub, const char* name, DWORD type, const void* data, DWORD size) {
    Key k(sub);
    ASSERT_TRUE(k.h);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(k.h, name, 0, type, static_cast<const BYTE*>(data), size));
}
void SetDword(const char* name, DWORD v, const char* sub = kKey) { SetRaw(sub, name, REG_DWORD, &v, 4); }
void SetText(const char* name, const std::string& v, const char* sub = kKey) {
    SetRaw(sub, name, REG_SZ, v.c_str(), static_cast<DWORD>(v.size() + 1));
}

void AddNetwork(int n, const std::string& ssid, const char* bssid, int channel, int enc, int signal, int type) {
    std::string sub = std::string(kKey) + "\\Networks\\" + std::to_string(n);
    SetText("SSID", ssid, sub.c_str());
    SetText("BSSID", bssid, sub.c_str());
    SetDword("Channel", channel, sub.c_str());
    SetDword("Encryption", enc, sub.c_str());
    SetDword("Signal", signal, sub.c_str());
    SetDword("NetworkType", type, sub.c_str());
}

void NoNetworks() { Key k((std::string(kKey) + "\\Networks").c_str()); }

bool KeyExists() {
    Key k(kKey, false);
    return k.h != nullptr;
}

bool ReadValue(const char* name, DWORD& type, std::vector<BYTE>& data) {
    Key k(kKey, false);
    DWORD size = 0;
    if (!k.h || RegQueryValueExA(k.h, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    data.resize(size);
    return RegQueryValueExA(k.h, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
}

DWORD ReadDword(const char* name) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(name, type, data) || type != REG_DWORD || data.size() != 4) return 0xDEADBEEF;
    DWORD v;
    memcpy(&v, data.data(), 4);
    return v;
}

std::vector<SiteInfo> Scan(CWLANDevice& dev) {
    std::vector<SiteInfo> found;
    EXPECT_TRUE(dev.InitSiteSurvey());
    EXPECT_TRUE(dev.QuerySiteSurvey());
    for (unsigned long i = 0; i < 20000; ++i) {
        SiteInfo* si = dev.GetSiteInfo(i);
        if (!si) break;
        found.push_back(*si);
    }
    return found;
}

std::string Ssid(const SiteInfo& si) { return std::string(si.ssid, strnlen(si.ssid, sizeof(si.ssid))); }

// Runs bin/nicsim.exe (the working directory of the test) and collects its output.
int RunNicsim(const std::string& args, std::string* output = nullptr) {
    return testsupport::RunCaptured("nicsim.exe " + args, output);
}

class Nicport : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kKey); }

    void OpenDevice() {
        int handle = 0;
        ASSERT_TRUE(dev.Open(kAdapter, handle));
    }

    CWLANDevice dev;
};

// ---------------------------------------------------------------------------

TEST_F(Nicport, WithoutAKeyTheDefaultsAreALivelyDemo) {
    int handle = 0;
    EXPECT_FALSE(dev.Open("Other Card", handle));
    EXPECT_FALSE(dev.IsOpen());
    ASSERT_TRUE(dev.Open(kAdapter, handle));
    EXPECT_TRUE(dev.IsOpen());
    EXPECT_TRUE(dev.CheckRadio());
    EXPECT_TRUE(dev.QueryConnectionStatus());

    EXPECT_STREQ("HomeNet", dev.GetSSID());
    EXPECT_STREQ("00:0E:8E:1A:2B:3C", dev.GetMAC());
    EXPECT_EQ(6, dev.GetChannel());
    EXPECT_EQ(54ul, dev.GetTxRate());
    EXPECT_EQ(540000ul, dev.GetLinkSpeed());
    EXPECT_EQ(1, dev.GetNetworkMode());
    EXPECT_TRUE(dev.GetEncryption());
    EXPECT_EQ(4, dev.GetWirelessType());
    EXPECT_STREQ("US", dev.GetCountry());
    EXPECT_STREQ("5.0.1.46", dev.GetDriverVersion());
    EXPECT_EQ(0x1Dul, dev.GetNetMask());
    unsigned short signal = dev.GetSignalStrength();
    EXPECT_GE(signal, 75);  // HomeNet's 78, moving by up to 3
    EXPECT_LE(signal, 81);
    EXPECT_LE(dev.GetLinkQuality(), 100);

    unsigned long table[100];
    std::fill(table, table + 100, 0xFFFFul);  // every entry is written, not just the allowed ones
    ASSERT_TRUE(dev.GetChannels(table));
    for (unsigned long c = 1; c <= 100; ++c) {
        bool allowed = c <= 11 || (c >= 36 && c <= 64 && c % 4 == 0);
        EXPECT_EQ(allowed ? c : 0ul, table[c - 1]) << "channel " << c;
    }

    __int64 tx = dev.GetTxOK(), rx = dev.GetRxOK();
    unsigned long rxFrag = dev.GetRxFragment();
    Sleep(300);
    EXPECT_GT(tx, 0);
    EXPECT_GT(dev.GetTxOK(), tx);
    EXPECT_GT(dev.GetRxOK(), rx);
    EXPECT_GE(dev.GetRxFragment(), rxFrag);
    EXPECT_GT(dev.GetRxPacketSize(), 0);

    std::vector<SiteInfo> sites = Scan(dev);
    ASSERT_EQ(6u, sites.size());
    bool open = false, encrypted = false, infra = false, adhoc = false, low = false, high = false;
    for (const SiteInfo& s : sites) {
        EXPECT_LT(strnlen(s.ssid, sizeof(s.ssid)), sizeof(s.ssid));
        EXPECT_GE(s.signal, 0);
        EXPECT_LE(s.signal, 100);
        (s.encryption ? encrypted : open) = true;
        (s.networkType == 1 ? infra : adhoc) = true;
        (s.channel <= 11 ? low : high) = true;
    }
    EXPECT_TRUE(open && encrypted && infra && adhoc && low && high);
    EXPECT_FALSE(KeyExists()) << "reading must not create the state key";
}

TEST_F(Nicport, DemoSignalsMoveFromScanToScan) {
    OpenDevice();
    const int base[6] = {78, 56, 63, 34, 41, 21};
    bool moved = false;
    std::vector<SiteInfo> first = Scan(dev);
    ASSERT_EQ(6u, first.size());
    for (int round = 0; round < 8; ++round) {
        std::vector<SiteInfo> again = Scan(dev);
        ASSERT_EQ(6u, again.size());
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(Ssid(first[i]), Ssid(again[i]));
            EXPECT_LE(std::abs(again[i].signal - base[i]), 4);
            moved = moved || again[i].signal != first[i].signal;
        }
    }
    EXPECT_TRUE(moved);
}

TEST_F(Nicport, EveryReadingFollowsTheStateKeyAtRunTime) {
    OpenDevice();
    SetText("SSID", "Cafe");
    SetText("BSSID", "0a:1b:2c:3d:4e:5f");
    SetDword("Channel", 149);
    SetDword("TxRate", 11);
    SetDword("Signal", 150);                   // clamped to the percent range
    SetDword("LinkQuality", DWORD(-5));
    SetDword("NetworkMode", 0);
    SetDword("Encryption", 0);
    SetDword("WirelessType", 9);               // out of range: derived from the channel
    SetText("Country", "DE");
    SetText("DriverVersion", "6.2.0.7");
    SetDword("NetMask", 0xFF);
    SetText("Channels", "1-3, 14 100");
    ULONGLONG tx = 0x100000005ull;
    SetRaw(kKey, "TxOK", REG_QWORD, &tx, 8);
    SetText("RxOK", "123456789012");
    SetDword("TxFragment", 77);
    SetDword("RxFragment", 88);
    SetDword("TxPacketSize", 512);
    SetDword("RxPacketSize", 70000);           // does not fit 16 bits: default

    EXPECT_STREQ("Cafe", dev.GetSSID());
    EXPECT_STREQ("0A:1B:2C:3D:4E:5F", dev.GetMAC());
    EXPECT_EQ(149, dev.GetChannel());
    EXPECT_EQ(11ul, dev.GetTxRate());
    EXPECT_EQ(11ul, dev.GetRxRate());          // follows TxRate unless set
    EXPECT_EQ(110000ul, dev.GetLinkSpeed());   // follows TxRate unless set
    EXPECT_EQ(100, dev.GetSignalStrength());
    EXPECT_EQ(0, dev.GetLinkQuality());
    EXPECT_EQ(0, dev.GetNetworkMode());
    EXPECT_FALSE(dev.GetEncryption());
    EXPECT_EQ(0, dev.GetWirelessType());       // channel 149: 802.11a
    EXPECT_STREQ("DE", dev.GetCountry());
    EXPECT_STREQ("6.2.0.7", dev.GetDriverVersion());
    EXPECT_EQ(0x1Ful, dev.GetNetMask());
    EXPECT_EQ(0x100000005ll, dev.GetTxOK());
    EXPECT_EQ(123456789012ll, dev.GetRxOK());
    EXPECT_EQ(77ul, dev.GetTxFragment());
    EXPECT_EQ(88ul, dev.GetRxFragment());
    EXPECT_EQ(512, dev.GetTxPacketSize());
    EXPECT_EQ(1460, dev.GetRxPacketSize());
    unsigned long table[100] = {};
    ASSERT_TRUE(dev.GetChannels(table));
    std::vector<unsigned long> offered;
    for (int i = 0; i < 100; ++i)
        if (table[i]) offered.push_back(table[i]);
    EXPECT_EQ((std::vector<unsigned long>{1, 2, 3, 14, 100}), offered);

    SetDword("RxRate", 2);
    SetDword("LinkSpeed", 20000);
    SetDword("WirelessType", 2);
    SetDword("Associated", 0);
    EXPECT_EQ(2ul, dev.GetRxRate());
    EXPECT_EQ(20000ul, dev.GetLinkSpeed());
    EXPECT_EQ(2, dev.GetWirelessType());
    EXPECT_FALSE(dev.QueryConnectionStatus());
    EXPECT_TRUE(dev.CheckRadio());
}

TEST_F(Nicport, ClosedOrRemovedAdapterAnswersFalse) {
    EXPECT_FALSE(dev.CheckRadio());
    EXPECT_FALSE(dev.QueryConnectionStatus());
    EXPECT_STREQ("", dev.GetSSID());
    EXPECT_EQ(0ul, dev.GetLinkSpeed());

    OpenDevice();
    dev.Close();
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_FALSE(dev.CheckRadio());
    EXPECT_FALSE(dev.QueryConnectionStatus());

    OpenDevice();
    SetDword("Present", 0);                    // the card is pulled while open
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_FALSE(dev.CheckRadio());
    EXPECT_FALSE(dev.QueryConnectionStatus());
    EXPECT_STREQ("", dev.GetDriverVersion());
    int handle = 0;
    EXPECT_FALSE(dev.Open(kAdapter, handle));
    SetDword("Present", 1);                    // back in: the old handle stays dead
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_TRUE(dev.Open(kAdapter, handle));
    EXPECT_TRUE(dev.IsOpen());

    SetText("AdapterName", "PCI Card");
    EXPECT_FALSE(dev.Open(kAdapter, handle));
    EXPECT_TRUE(dev.Open("PCI Card", handle));
}

TEST_F(Nicport, SetRadioPersistsInTheKey) {
    EXPECT_FALSE(dev.SetRadio(false)) << "a closed adapter takes no orders";
    EXPECT_FALSE(KeyExists());

    OpenDevice();
    EXPECT_TRUE(dev.SetRadio(false));
    EXPECT_EQ(0u, ReadDword("Radio"));
    EXPECT_FALSE(dev.CheckRadio());
    EXPECT_FALSE(dev.QueryConnectionStatus());
    EXPECT_FALSE(dev.InitSiteSurvey()) << "no scan with the radio off";
    EXPECT_FALSE(dev.QuerySiteSurvey());
    EXPECT_EQ(nullptr, dev.GetSiteInfo(0));

    CWLANDevice other;
    int handle = 0;
    ASSERT_TRUE(other.Open(kAdapter, handle));
    EXPECT_FALSE(other.CheckRadio());
    EXPECT_TRUE(other.SetRadio(true));
    EXPECT_EQ(1u, ReadDword("Radio"));
    EXPECT_TRUE(dev.CheckRadio());
    EXPECT_TRUE(dev.QueryConnectionStatus());
}

TEST_F(Nicport, SurveyListsTheNetworksInRangeAsGiven) {
    AddNetwork(0, "Alpha", "00:11:22:33:44:55", 1, 0, 90, 1);
    AddNetwork(1, "Beta", "AA:BB:CC:DD:EE:FF", 40, 1, 10, 0);
    AddNetwork(2, "Odd", "01:02:03:04:05:06", -1, 2, 250, 7);  // hostile values pass through
    AddNetwork(10, "Tenth", "10:10:10:10:10:10", 11, 1, 0, 1);  // listed after 2, not after 1
    OpenDevice();
    std::vector<SiteInfo> s = Scan(dev);
    ASSERT_EQ(4u, s.size());
    EXPECT_EQ("Alpha", Ssid(s[0]));
    EXPECT_EQ("Beta", Ssid(s[1]));
    EXPECT_EQ("Odd", Ssid(s[2]));
    EXPECT_EQ("Tenth", Ssid(s[3]));
    EXPECT_EQ(1, s[0].channel);
    EXPECT_EQ(90, s[0].signal);
    const unsigned char beta[6] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(0, memcmp(beta, s[1].bssid, 6));
    EXPECT_STREQ("AA:BB:CC:DD:EE:FF", GetMac(reinterpret_cast<char*>(s[1].bssid)));
    EXPECT_EQ(40, s[1].channel);
    EXPECT_EQ(1, s[1].encryption);
    EXPECT_EQ(0, s[1].networkType);
    EXPECT_EQ(-1, s[2].channel);
    EXPECT_EQ(2, s[2].encryption);
    EXPECT_EQ(250, s[2].signal);
    EXPECT_EQ(7, s[2].networkType);

    // The results stay as scanned until the next scan.
    AddNetwork(3, "Late", "00:00:00:00:00:03", 6, 0, 50, 1);
    SiteInfo* first = dev.GetSiteInfo(0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("Alpha", Ssid(*first));
    EXPECT_EQ(nullptr, dev.GetSiteInfo(4));
    EXPECT_EQ(nullptr, dev.GetSiteInfo(0xFFFFFFFFul));
    EXPECT_EQ(5u, Scan(dev).size());
}

TEST_F(Nicport, LongSsidFillsTheFieldWithoutTerminator) {
    const std::string s32(32, 'b'), s33 = std::string(32, 'c') + "d", s100(100, 'e');
    AddNetwork(0, s32, "00:00:00:00:00:01", 1, 0, 50, 1);
    AddNetwork(1, s33, "00:00:00:00:00:02", 1, 0, 50, 1);
    AddNetwork(2, s100, "00:00:00:00:00:03", 1, 0, 50, 1);
    OpenDevice();
    ASSERT_TRUE(dev.InitSiteSurvey());
    ASSERT_TRUE(dev.QuerySiteSurvey());
    SiteInfo* a = dev.GetSiteInfo(0);
    SiteInfo* b = dev.GetSiteInfo(1);
    SiteInfo* c = dev.GetSiteInfo(2);
    ASSERT_TRUE(a && b && c);
    EXPECT_STREQ(s32.c_str(), a->ssid);
    EXPECT_EQ(0, memcmp(b->ssid, s33.data(), 33));  // all 33 bytes, no NUL
    EXPECT_EQ(0, memcmp(c->ssid, s100.data(), 33));
    EXPECT_EQ('e', c->ssid[32]);
}

TEST_F(Nicport, SurveyReadinessDelayFailureAndEmptyRange) {
    OpenDevice();
    SetDword("ScanDelayMs", 400);
    ASSERT_TRUE(dev.InitSiteSurvey());
    EXPECT_FALSE(dev.QuerySiteSurvey());
    EXPECT_EQ(nullptr, dev.GetSiteInfo(0));
    Sleep(450);
    EXPECT_TRUE(dev.QuerySiteSurvey());
    EXPECT_NE(nullptr, dev.GetSiteInfo(0));

    SetDword("ScanDelayMs", 0);
    SetDword("SurveyFails", 1);
    dev.InitSiteSurvey();
    EXPECT_FALSE(dev.QuerySiteSurvey());
    EXPECT_EQ(nullptr, dev.GetSiteInfo(0));

    SetDword("SurveyFails", 0);
    NoNetworks();
    EXPECT_TRUE(Scan(dev).empty());

    dev.Close();
    EXPECT_FALSE(dev.InitSiteSurvey());
    EXPECT_FALSE(dev.QuerySiteSurvey());
}

TEST_F(Nicport, AThousandNetworksScanQuickly) {
    NoNetworks();
    SetDword("ExtraNetworks", 1000);
    OpenDevice();
    DWORD start = GetTickCount();
    std::vector<SiteInfo> s = Scan(dev);
    EXPECT_LT(GetTickCount() - start, 5000u);
    ASSERT_EQ(1000u, s.size());
    for (const SiteInfo& si : s) EXPECT_LT(strnlen(si.ssid, sizeof(si.ssid)), sizeof(si.ssid));
    EXPECT_NE(0, memcmp(s[0].bssid, s[999].bssid, 6));
}

TEST_F(Nicport, MalformedValuesFallBackToDefaults) {
    DWORD seven = 7;
    SetRaw(kKey, "SSID", REG_DWORD, &seven, 4);             // wrong type
    SetText("BSSID", "zz:11:22:33:44:55");                  // does not parse
    SetRaw(kKey, "Channel", REG_DWORD, &seven, 2);          // a DWORD of 2 bytes
    SetRaw(kKey, "TxRate", REG_BINARY, "\x05\x00\x00\x00", 4);
    SetText("Country", std::string(5000, 'X'));             // oversized text
    std::vector<char> huge(1 << 20, 'Y');
    SetRaw(kKey, "DriverVersion", REG_SZ, huge.data(), static_cast<DWORD>(huge.size()));
    SetText("Channels", "1,2,300");
    SetText("Present", "maybe");
    SetRaw(kKey, "TxOK", REG_QWORD, "\x01\x02\x03", 3);
    SetRaw(kKey, "AdapterName", REG_SZ, "Wireless Card", 13);  // no terminator: still usable
    std::string net = std::string(kKey) + "\\Networks\\0";
    SetRaw(net.c_str(), "SSID", REG_BINARY, "abc", 3);
    SetRaw(net.c_str(), "Signal", REG_DWORD, &seven, 2);
    SetText("Encryption", "many", net.c_str());

    OpenDevice();
    EXPECT_STREQ("HomeNet", dev.GetSSID());
    EXPECT_STREQ("00:0E:8E:1A:2B:3C", dev.GetMAC());
    EXPECT_EQ(6, dev.GetChannel());
    EXPECT_EQ(54ul, dev.GetTxRate());
    EXPECT_STREQ("US", dev.GetCountry());
    EXPECT_STREQ("5.0.1.46", dev.GetDriverVersion());
    unsigned long table[100] = {};
    ASSERT_TRUE(dev.GetChannels(table));
    EXPECT_EQ(11ul, table[10]);
    EXPECT_EQ(0ul, table[11]);
    EXPECT_GT(dev.GetTxOK(), 0);
    std::vector<SiteInfo> s = Scan(dev);
    ASSERT_EQ(1u, s.size());
    EXPECT_EQ("", Ssid(s[0]));
    EXPECT_EQ(50, s[0].signal);
    EXPECT_EQ(0, s[0].encryption);
}

TEST_F(Nicport, CommitProfileStoresTheRecordAndJoinsAMatchingNetwork) {
    AddNetwork(0, "Open1", "00:00:00:00:01:01", 3, 0, 40, 0);
    AddNetwork(1, "Secure", "00:00:00:00:02:02", 40, 1, 70, 1);
    AddNetwork(2, "Open2", "00:00:00:00:03:03", 11, 0, 80, 1);
    SetDword("Associated", 0);

    Profile p;
    memset(&p, 0, sizeof(p));
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&p);
    for (size_t i = 0; i < sizeof(p); ++i) bytes[i] = static_cast<unsigned char>(i % 251);
    strcpy(p.name, "Office");
    strcpy(p.ssid, "Secure");
    p.authType = AUTH_WPA_PSK;
    EXPECT_FALSE(dev.CommitProfile(p)) << "closed adapter";
    DWORD type = 0;
    std::vector<BYTE> stored;
    EXPECT_FALSE(ReadValue("LastCommit", type, stored));

    OpenDevice();
    dev.CommitProfile(p);
    ASSERT_TRUE(ReadValue("LastCommit", type, stored));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    ASSERT_EQ(920u, stored.size());
    EXPECT_EQ(0, memcmp(stored.data(), &p, 920));
    EXPECT_TRUE(dev.QueryConnectionStatus());
    EXPECT_STREQ("Secure", dev.GetSSID());
    EXPECT_STREQ("00:00:00:00:02:02", dev.GetMAC());
    EXPECT_EQ(40, dev.GetChannel());
    EXPECT_EQ(1, dev.GetNetworkMode());
    EXPECT_TRUE(dev.GetEncryption());
    EXPECT_EQ(0, dev.GetWirelessType());
    EXPECT_GE(dev.GetSignalStrength(), 67);  // the joined network's signal, moving a little
    EXPECT_LE(dev.GetSignalStrength(), 73);

    memset(&p, 0, sizeof(p));
    strcpy(p.ssid, "Open1");
    dev.CommitProfile(p);
    EXPECT_TRUE(dev.QueryConnectionStatus());
    EXPECT_STREQ("Open1", dev.GetSSID());
    EXPECT_EQ(0, dev.GetNetworkMode());
    EXPECT_FALSE(dev.GetEncryption());

    struct { const char* ssid; int32_t auth; } misses[] = {
        {"Secure", AUTH_NONE}, {"Open2", AUTH_WEP}, {"Missing", AUTH_NONE}, {"open1", AUTH_NONE}};
    for (const auto& m : misses) {
        SetDword("Associated", 1);
        strcpy(p.ssid, m.ssid);
        p.authType = m.auth;
        dev.CommitProfile(p);
        EXPECT_FALSE(dev.QueryConnectionStatus()) << m.ssid << " auth " << m.auth;
    }

    strcpy(p.ssid, "ANY");
    p.authType = AUTH_NONE;
    dev.CommitProfile(p);
    EXPECT_TRUE(dev.QueryConnectionStatus());
    EXPECT_STREQ("Open2", dev.GetSSID());  // the strongest open network

    memset(p.ssid, 'Z', sizeof(p.ssid));   // no terminator in the record
    dev.CommitProfile(p);
    EXPECT_FALSE(dev.QueryConnectionStatus());
}

TEST_F(Nicport, NicsimChangesAndShowsTheState) {
    std::string out;
    EXPECT_EQ(2, RunNicsim("", &out));
    EXPECT_NE(std::string::npos, out.find("usage"));
    EXPECT_EQ(2, RunNicsim("set Bogus=1"));
    EXPECT_EQ(2, RunNicsim("set Radio=0 TxRate=fast"));
    EXPECT_FALSE(KeyExists()) << "a rejected command changes nothing";

    ASSERT_EQ(0, RunNicsim("set Radio=0 TxRate=11 SSID=Cafe"));
    EXPECT_EQ(0u, ReadDword("Radio"));
    EXPECT_EQ(11u, ReadDword("TxRate"));
    OpenDevice();
    EXPECT_FALSE(dev.CheckRadio());
    EXPECT_STREQ("Cafe", dev.GetSSID());
    EXPECT_EQ(110000ul, dev.GetLinkSpeed());
    EXPECT_EQ(6, dev.GetChannel()) << "values not set keep their defaults";
    ASSERT_EQ(0, RunNicsim("unset Radio"));
    EXPECT_TRUE(dev.CheckRadio());

    ASSERT_EQ(0, RunNicsim("network add SSID=Added BSSID=00:aa:bb:cc:dd:ee Channel=9 Signal=44 NetworkType=0"));
    std::vector<SiteInfo> s = Scan(dev);
    ASSERT_EQ(7u, s.size()) << "the demo's six stay in range";
    EXPECT_EQ("HomeNet", Ssid(s[0]));
    EXPECT_EQ("Added", Ssid(s[6]));
    EXPECT_STREQ("00:AA:BB:CC:DD:EE", GetMac(reinterpret_cast<char*>(s[6].bssid)));
    EXPECT_EQ(9, s[6].channel);
    EXPECT_EQ(44, s[6].signal);
    EXPECT_EQ(0, s[6].encryption);
    EXPECT_EQ(0, s[6].networkType);

    ASSERT_EQ(0, RunNicsim("network clear"));
    EXPECT_TRUE(Scan(dev).empty());
    ASSERT_EQ(0, RunNicsim("network fill 1000"));
    EXPECT_EQ(1000u, Scan(dev).size());
    EXPECT_EQ(2, RunNicsim("network fill lots"));

    Profile p;
    memset(&p, 0, sizeof(p));
    strcpy(p.name, "Road Warrior");
    strcpy(p.ssid, "Net-00002");
    p.authType = AUTH_WPA_PSK;
    strcpy(p.wpaPskPassword, "correct horse");
    dev.CommitProfile(p);
    ASSERT_EQ(0, RunNicsim("show", &out));
    EXPECT_NE(std::string::npos, out.find("Road Warrior"));
    EXPECT_NE(std::string::npos, out.find("WPA-PSK"));
    EXPECT_NE(std::string::npos, out.find("correct horse"));
    EXPECT_NE(std::string::npos, out.find("Net-00002")) << "joined by the commit";

    ASSERT_EQ(0, RunNicsim("reset"));
    EXPECT_FALSE(KeyExists());
}

// A reader may hold a key that another process deletes (nicsim network clear,
// a reset): listing it must end, with nothing in it.
TEST(SimState, AKeyDeletedUnderAnOpenHandleListsNothingAndReturns) {
    const std::string path = std::string(kKey) + "\\Networks";
    { Key created((path + "\\0").c_str()); }
    Key open(path.c_str(), false);
    ASSERT_TRUE(open.h);
    ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str()));
    struct Listing {
        HKEY key;
        std::vector<std::string> names{"not listed"};
        static DWORD WINAPI Run(void* self) {
            auto* l = static_cast<Listing*>(self);
            l->names = sim::NetworkSubkeyNames(l->key);
            return 0;
        }
    } listing{open.h};
    HANDLE thread = CreateThread(nullptr, 0, &Listing::Run, &listing, 0, nullptr);
    ASSERT_TRUE(thread);
    ASSERT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(thread, 10000)) << "the listing does not end";
    CloseHandle(thread);
    EXPECT_TRUE(listing.names.empty());
    SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

}  // namespace
