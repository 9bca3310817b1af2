// The Native Wi-Fi library's own pieces, in process: the WEP key generators
// against published vectors, the WLAN profile it writes (parsed back by the
// system's XML reader), the channel and information-element rules, and the
// bounded walk over scan results.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "BssList.h"
#include "Channels.h"
#include "Md5.h"
#include "ProfileXml.h"
#include "Text.h"
#include "WepKeys.h"
#include "support/ParsedXml.h"

using namespace nicport;
using testsupport::ParsedXml;
using testsupport::ParseXml;

namespace {

std::string Hex(const uint8_t* bytes, size_t size) {
    std::string text;
    AppendHex(text, bytes, size);
    return text;
}

// ---- Key generators ---------------------------------------------------------

TEST(Md5, MatchesTheTestSuiteOfRfc1321) {
    const std::pair<const char*, const char*> suite[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [message, digest] : suite) {
        uint8_t out[kMd5Bytes];
        Md5(message, std::strlen(message), out);
        EXPECT_EQ(Hex(out, sizeof(out)), digest) << '"' << message << '"';
    }
}

TEST(WepPassphrase, FortyBitKeysMatchAPublishedExample) {
    // security.stackexchange.com question 110887, "Standard for Generating
    // Multiple WEP Keys From a Passphrase": an access point and a web
    // generator agree on these four keys for "badpw".
    uint8_t keys[kWep40Keys][kWep40Bytes];
    Wep40KeysFromPassphrase("badpw", 5, keys);
    EXPECT_EQ(Hex(keys[0], kWep40Bytes), "02CB778981");
    EXPECT_EQ(Hex(keys[1], kWep40Bytes), "C27236DFB1");
    EXPECT_EQ(Hex(keys[2], kWep40Bytes), "C90C104FA2");
    EXPECT_EQ(Hex(keys[3], kWep40Bytes), "A804571CC0");
}

TEST(WepPassphrase, HundredFourBitKeysMatchPublishedExamples) {
    uint8_t key[kWep104Bytes];
    // sthu.org "WepPassphrase": "abc" gives EFEF-EEDA-E197-ED61-4B58-2E14-90.
    ASSERT_TRUE(Wep104KeyFromPassphrase("abc", 3, key));
    EXPECT_EQ(Hex(key, sizeof(key)), "EFEFEEDAE197ED614B582E1490");
    // A router's own generator, quoted in the microsoft.public.windows.
    // networking.wireless thread "encryption" (tomshardware archive): the
    // passphrase "Openthedoor" gives 1c1f9289ba0a0a0eaa111785ab.
    ASSERT_TRUE(Wep104KeyFromPassphrase("Openthedoor", 11, key));
    EXPECT_EQ(Hex(key, sizeof(key)), "1C1F9289BA0A0A0EAA111785AB");
    EXPECT_FALSE(Wep104KeyFromPassphrase("", 0, key)) << "nothing to repeat";
}

// ---- The WLAN profile -------------------------------------------------------

Profile Record(const char* ssid, int32_t authType) {
    Profile profile;
    std::memset(&profile, 0, sizeof(profile));
    std::strcpy(profile.name, "DEFAULT");
    std::strcpy(profile.ssid, ssid);
    profile.operatingMode = 1;
    profile.authType = authType;
    return profile;
}

NetworkChoice Network(const std::string& ssid, bool wpa2 = false) {
    NetworkChoice network;
    std::memcpy(network.ssid, ssid.data(), ssid.size());
    network.ssidLength = ssid.size();
    network.wpa2 = wpa2;
    return network;
}

ParsedXml Written(const Profile& profile, const NetworkChoice& network) {
    WlanProfile wlan;
    if (!MakeWlanProfile(profile, network, wlan)) return ParsedXml();
    return ParseXml(WlanProfileXml(wlan));
}

const char kRoot[] = "WLANProfile";
const char kSecurity[] = "WLANProfile/MSM/security";

TEST(WlanProfile, AWepPassphraseBecomesTheDefaultKeyInSchemaOrder) {
    Profile profile = Record("Lab", AUTH_WEP);
    profile.wepLevel = 1;
    profile.wepAuth = 1;
    profile.wepDefaultKey = 2;
    std::strcpy(profile.wepPassphrase, "badpw");
    const ParsedXml xml = Written(profile, Network("Lab"));
    ASSERT_TRUE(xml.wellFormed);
    EXPECT_EQ(xml.rootNamespace, "http://www.microsoft.com/networking/WLAN/profile/v1");

    std::vector<std::string> order;
    for (const auto& element : xml.elements) order.push_back(element.first);
    const std::string s = kSecurity;
    const std::vector<std::string> expected = {
        kRoot, "WLANProfile/name", "WLANProfile/SSIDConfig", "WLANProfile/SSIDConfig/SSID",
        "WLANProfile/SSIDConfig/SSID/hex", "WLANProfile/SSIDConfig/SSID/name", "WLANProfile/connectionType",
        "WLANProfile/connectionMode", "WLANProfile/MSM", s, s + "/authEncryption", s + "/authEncryption/authentication",
        s + "/authEncryption/encryption", s + "/authEncryption/useOneX", s + "/sharedKey", s + "/sharedKey/keyType",
        s + "/sharedKey/protected", s + "/sharedKey/keyMaterial", s + "/keyIndex"};
    EXPECT_EQ(order, expected);

    EXPECT_EQ(xml.Text("WLANProfile/name"), "Lab");
    EXPECT_EQ(xml.Text("WLANProfile/SSIDConfig/SSID/hex"), "4C6162");
    EXPECT_EQ(xml.Text("WLANProfile/connectionType"), "ESS");
    EXPECT_EQ(xml.Text(s + "/authEncryption/authentication"), "shared");
    EXPECT_EQ(xml.Text(s + "/authEncryption/encryption"), "WEP");
    EXPECT_EQ(xml.Text(s + "/sharedKey/keyType"), "networkKey");
    EXPECT_EQ(xml.Text(s + "/sharedKey/keyMaterial"), "C90C104FA2") << "the third key of \"badpw\"";
    EXPECT_EQ(xml.Text(s + "/keyIndex"), "2");
}

TEST(WlanProfile, WepKeysGoAsHexOfTheirType) {
    Profile profile = Record("Lab", AUTH_WEP);
    profile.wepLevel = 2;
    profile.wepKeyType = 3;  // a 13-character text key
    std::strcpy(profile.wepKey[0], "abc&<>\"'defgh");
    ParsedXml xml = Written(profile, Network("Lab"));
    ASSERT_TRUE(xml.wellFormed);
    EXPECT_EQ(xml.Text(std::string(kSecurity) + "/sharedKey/keyMaterial"), "616263263C3E22276465666768");

    profile.wepKeyType = 2;  // 26 hex digits
    std::strcpy(profile.wepKey[0], "0123456789abcdef0123456789");
    xml = Written(profile, Network("Lab"));
    EXPECT_EQ(xml.Text(std::string(kSecurity) + "/sharedKey/keyMaterial"), "0123456789ABCDEF0123456789");
    EXPECT_EQ(xml.Text(std::string(kSecurity) + "/authEncryption/authentication"), "open");
    EXPECT_EQ(xml.Text(std::string(kSecurity) + "/keyIndex"), "0");
}

TEST(WlanProfile, WpaPskTakesWpa2WhereChosenAndHostileTextStaysText) {
    const std::string hostile = "<a&b>\"c'</name>";
    Profile profile = Record(hostile.c_str(), AUTH_WPA_PSK);
    std::strcpy(profile.wpaPskPassword, "p&ss<word>");
    ParsedXml xml = Written(profile, Network(hostile, true));
    ASSERT_TRUE(xml.wellFormed);
    EXPECT_EQ(xml.Text("WLANProfile/name"), hostile);
    EXPECT_EQ(xml.Text("WLANProfile/SSIDConfig/SSID/name"), hostile);
    const std::string s = kSecurity;
    EXPECT_EQ(xml.Text(s + "/authEncryption/authentication"), "WPA2PSK");
    EXPECT_EQ(xml.Text(s + "/authEncryption/encryption"), "AES");
    EXPECT_EQ(xml.Text(s + "/sharedKey/keyType"), "passPhrase");
    EXPECT_EQ(xml.Text(s + "/sharedKey/keyMaterial"), "p&ss<word>");
    EXPECT_FALSE(xml.Has(s + "/keyIndex")) << "a key index belongs to WEP keys only";

    // Without WPA2 on both ends: WPA with TKIP; 64 hex digits are the raw key.
    std::strcpy(profile.wpaPskPassword, std::string(64, 'a').c_str());
    xml = Written(profile, Network(hostile, false));
    EXPECT_EQ(xml.Text(s + "/authEncryption/authentication"), "WPAPSK");
    EXPECT_EQ(xml.Text(s + "/authEncryption/encryption"), "TKIP");
    EXPECT_EQ(xml.Text(s + "/sharedKey/keyType"), "networkKey");
}

TEST(WlanProfile, ANonAsciiAdHocNetworkGoesByHexAndConnectsByHand) {
    const std::string name = "Caf\xC3\xA9\x01";
    Profile profile = Record(name.c_str(), AUTH_NONE);
    profile.operatingMode = 0;
    const ParsedXml xml = Written(profile, Network(name));
    ASSERT_TRUE(xml.wellFormed);
    EXPECT_EQ(xml.Text("WLANProfile/SSIDConfig/SSID/hex"), "436166C3A901");
    EXPECT_FALSE(xml.Has("WLANProfile/SSIDConfig/SSID/name"));
    EXPECT_EQ(xml.Text("WLANProfile/name"), "436166C3A901-adhoc");
    EXPECT_EQ(xml.Text("WLANProfile/connectionType"), "IBSS");
    EXPECT_EQ(xml.Text("WLANProfile/connectionMode"), "manual");
    EXPECT_EQ(xml.Text(std::string(kSecurity) + "/authEncryption/encryption"), "none");
    EXPECT_FALSE(xml.Has(std::string(kSecurity) + "/sharedKey"));
}

TEST(WlanProfile, RecordsThatCannotMakeAWorkingProfileAreRefused) {
    WlanProfile out;
    Profile wep = Record("Lab", AUTH_WEP);
    wep.wepLevel = 1;
    std::strcpy(wep.wepKey[0], "012345678");  // 9 hex digits
    EXPECT_FALSE(MakeWlanProfile(wep, Network("Lab"), out));
    std::strcpy(wep.wepKey[0], "012345678g");
    EXPECT_FALSE(MakeWlanProfile(wep, Network("Lab"), out));
    std::strcpy(wep.wepKey[0], "0123456789");
    wep.wepDefaultKey = 4;
    EXPECT_FALSE(MakeWlanProfile(wep, Network("Lab"), out)) << "default key outside 1-4";
    wep.wepDefaultKey = 1;
    EXPECT_FALSE(MakeWlanProfile(wep, Network("Lab"), out)) << "the default key is empty";

    Profile wpa = Record("Lab", AUTH_WPA_PSK);
    std::strcpy(wpa.wpaPskPassword, "7chars!");
    EXPECT_FALSE(MakeWlanProfile(wpa, Network("Lab"), out));
    std::memset(wpa.wpaPskPassword, 'x', sizeof(wpa.wpaPskPassword));  // no terminator, 100 characters
    EXPECT_FALSE(MakeWlanProfile(wpa, Network("Lab"), out));
    std::strcpy(wpa.wpaPskPassword, "long enough");
    wpa.operatingMode = 0;
    EXPECT_FALSE(MakeWlanProfile(wpa, Network("Lab"), out)) << "WPA-PSK is offered for access points only";

    EXPECT_FALSE(MakeWlanProfile(Record("Lab", 3), Network("Lab"), out)) << "unknown security type";
    EXPECT_FALSE(MakeWlanProfile(Record("", AUTH_NONE), Network(""), out)) << "no network name";
}

// ---- Channels and information elements --------------------------------------

TEST(Radio, FrequenciesPhysAndModesInTheMonitorsTerms) {
    EXPECT_EQ(ChannelFromFrequencyKhz(2412000), 1);
    EXPECT_EQ(ChannelFromFrequencyKhz(2472000), 13);
    EXPECT_EQ(ChannelFromFrequencyKhz(2484000), 14);
    EXPECT_EQ(ChannelFromFrequencyKhz(5180000), 36);
    EXPECT_EQ(ChannelFromFrequencyKhz(5825000), 165);
    EXPECT_EQ(ChannelFromFrequencyKhz(2413000), 0) << "between channels";
    EXPECT_EQ(ChannelFromFrequencyKhz(5955000), 0) << "6 GHz numbers would clash with 2.4 GHz ones";
    EXPECT_EQ(ChannelFromFrequencyKhz(0), 0);

    EXPECT_EQ(WirelessTypeFromPhy(kPhyOfdm, 36), kTypeA);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyHrDsss, 6), kTypeB);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyDsss, 6), kTypeB);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyErp, 6), kTypeG);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyHt, 6), kTypeG);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyVht, 149), kTypeA);
    EXPECT_EQ(WirelessTypeFromPhy(kPhyHe, 36), kTypeA);
    EXPECT_EQ(WirelessTypeFromPhy(0x80000001u, 6), kTypeNone) << "a vendor's own PHY";

    const uint32_t dualBand[] = {kPhyHrDsss, kPhyOfdm, kPhyErp, kPhyHt, kPhyVht};
    EXPECT_EQ(NetMaskFromPhys(dualBand, 5), static_cast<unsigned long>(NET_MASK_A | NET_MASK_B | NET_MASK_G));
    const uint32_t nOnly[] = {kPhyHt};
    EXPECT_EQ(NetMaskFromPhys(nOnly, 1), static_cast<unsigned long>(NET_MASK_G));
    const uint32_t acOnly[] = {kPhyVht};
    EXPECT_EQ(NetMaskFromPhys(acOnly, 1), static_cast<unsigned long>(NET_MASK_A));
}

std::vector<int> Allowed(const RadioBands& bands, const CountryInfo* country) {
    unsigned long table[kChannelTableSize];
    std::memset(table, 0xAB, sizeof(table));  // every entry is written
    AllowedChannels(bands, country, table);
    std::vector<int> channels;
    for (int i = 0; i < kChannelTableSize; ++i) {
        if (table[i] == 0) continue;
        EXPECT_EQ(table[i], static_cast<unsigned long>(i + 1));
        channels.push_back(i + 1);
    }
    return channels;
}

TEST(Radio, TheCountryElementNamesTheAllowedChannelsWithinTheAdaptersBands) {
    // SSID "x", then Country "DE " with 2.4 GHz 1-13, a regulatory-class
    // triplet (201+) to skip, 5 GHz 36-48 and 100-140, and a pad byte.
    const uint8_t ies[] = {0, 1, 'x', 7, 16, 'D', 'E', ' ', 1, 13, 20, 201, 1, 0, 36, 4, 23, 100, 11, 30, 0};
    CountryInfo country;
    ASSERT_TRUE(ParseCountryIe(ies, sizeof(ies), country));
    EXPECT_STREQ(country.code, "DE");
    ASSERT_EQ(country.subbands, 3u);

    std::vector<int> expected;
    for (int c = 1; c <= 13; ++c) expected.push_back(c);
    for (int c : {36, 40, 44, 48, 100}) expected.push_back(c);
    EXPECT_EQ(Allowed(RadioBands{true, true}, &country), expected) << "table ends at 100";
    EXPECT_EQ(Allowed(RadioBands{false, true}, &country), (std::vector<int>{36, 40, 44, 48, 100}));

    // Without a Country element: what nearly every country allows.
    EXPECT_EQ(Allowed(RadioBands{true, true}, nullptr), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 36, 40, 44, 48}));
    EXPECT_TRUE(Allowed(RadioBands{false, false}, nullptr).empty());
}

TEST(Radio, ElementsThatRunPastTheirBlobAreNotRead) {
    // The Country element claims 40 bytes where 5 are left.
    const uint8_t cut[] = {0, 1, 'x', 7, 40, 'U', 'S', ' ', 1, 11};
    CountryInfo country;
    EXPECT_FALSE(ParseCountryIe(cut, sizeof(cut), country));
    size_t length = 0;
    EXPECT_EQ(FindIe(cut, sizeof(cut), 7, length), nullptr);
    EXPECT_NE(FindIe(cut, sizeof(cut), 0, length), nullptr);
    EXPECT_EQ(length, 1u);
    // Lower-case or odd letters make no country code.
    const uint8_t odd[] = {7, 6, 'u', 's', ' ', 1, 11, 20};
    ASSERT_TRUE(ParseCountryIe(odd, sizeof(odd), country));
    EXPECT_STREQ(country.code, "");
}

// ---- Scan results -----------------------------------------------------------

// A list of two entries as the service lays it out, IEs behind them.
struct TwoEntries {
    WLAN_BSS_LIST list;  // holds the first entry
    WLAN_BSS_ENTRY second;
    uint8_t ies[8];
};

TEST(ScanResults, EntriesAndElementsAreReadOnlyInsideTheListsSize) {
    TwoEntries buffer;
    std::memset(&buffer, 0, sizeof(buffer));
    buffer.list.dwTotalSize = sizeof(buffer);
    buffer.list.dwNumberOfItems = 1000;  // more than the buffer holds
    WLAN_BSS_ENTRY& first = buffer.list.wlanBssEntries[0];
    first.dot11Ssid.uSSIDLength = 200;   // longer than an SSID can be
    std::memset(first.dot11Ssid.ucSSID, 'N', sizeof(first.dot11Ssid.ucSSID));
    first.ulChCenterFrequency = 2437000;
    first.usCapabilityInformation = 0x0011;
    first.uLinkQuality = 250;
    first.dot11BssType = dot11_BSS_type_infrastructure;
    first.ulIeOffset = 0x7FFFFFF0;  // far outside
    first.ulIeSize = 32;
    WLAN_BSS_ENTRY& second = buffer.second;
    second.dot11BssType = dot11_BSS_type_independent;
    second.ulIeOffset = static_cast<ULONG>(offsetof(TwoEntries, ies) - offsetof(TwoEntries, second));
    second.ulIeSize = 4;
    const uint8_t rsn[] = {48, 2, 1, 0};
    std::memcpy(buffer.ies, rsn, sizeof(rsn));

    const CBssView view(&buffer.list);
    ASSERT_EQ(view.Count(), 2u);
    const uint8_t* ies = nullptr;
    size_t size = 0;
    EXPECT_FALSE(view.Ies(0, ies, size));
    EXPECT_FALSE(view.HasIe(0, kIeRsn));
    EXPECT_TRUE(view.HasIe(1, kIeRsn));
    second.ulIeSize = sizeof(buffer.ies) + 1;  // one byte past the list
    EXPECT_FALSE(view.Ies(1, ies, size));

    const SiteInfo site = SiteFromEntry(first);
    EXPECT_EQ(site.channel, 6);
    EXPECT_EQ(site.encryption, 1);
    EXPECT_EQ(site.signal, 100);
    EXPECT_EQ(site.networkType, 1);
    EXPECT_EQ(std::string(site.ssid), std::string(32, 'N')) << "32 bytes and the terminator";
    EXPECT_EQ(SiteFromEntry(second).networkType, 0);
    EXPECT_EQ(SiteFromEntry(second).encryption, 0);
}

}  // namespace
