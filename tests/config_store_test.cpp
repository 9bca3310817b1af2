// The profile store against Wine's registry: what a save writes, what a load
// reads back, the names it refuses, and the first start.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/MonitorApp.h"
#include "config/ProfileStore.h"
#include "device/WLANDevice.h"
#include "framework/Raii.h"
#include "mainwnd_fixture.h"
#include "support/TestProcess.h"

namespace {

const HKEY HKLM = HKEY_LOCAL_MACHINE;

struct Value {
    DWORD type = 0;
    std::string bytes;
};

Value Read(const std::string& path, const char* name) {
    Value v;
    fw::RegKey key;
    if (::RegOpenKeyExA(HKLM, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return v;
    char data[512] = {};
    DWORD size = sizeof(data);
    if (::RegQueryValueExA(key.get(), name, nullptr, &v.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
        v.bytes.assign(data, size);
    return v;
}

void WriteRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
    fw::RegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKLM, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

bool KeyExists(const std::string& path) {
    fw::RegKey key;
    return ::RegOpenKeyExA(HKLM, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        mwtest::DeleteProfiles();
        testsupport::DeleteTree(HKLM, store.SetupKeyPath());
    }
    void TearDown() override {
        mwtest::DeleteProfiles();
        testsupport::DeleteTree(HKLM, store.SetupKeyPath());
    }
    std::string PathOf(const std::string& name) const { return store.ProfilesKeyPath() + "\\" + name; }

    CProfileStore store;
};

TEST_F(ProfileStoreTest, EveryFieldRoundTripsWithItsRegistryTypeAndSize) {
    Profile p = {};
    std::strcpy(p.name, "Lab");
    std::strcpy(p.ssid, "lab-net");
    int32_t* numbers[] = {&p.operatingMode, &p.txRate,   &p.channel, &p.powerSave,  &p.netType,
                          &p.wepLevel,      &p.wepDefaultKey, &p.wepKeyType, &p.wepAuth, &p.authType,
                          &p.advQos,        &p.advTxPower, &p.advPreamble, &p.advRtsThreshold,
                          &p.advFragmentThreshold, &p.advScanType};
    int32_t next = 1;
    for (int32_t* n : numbers) *n = next++;
    std::strcpy(p.wepPassphrase, "secret phrase");
    for (int i = 0; i < 4; ++i) std::snprintf(p.wepKey[i], sizeof(p.wepKey[i]), "%010d", i);
    std::strcpy(p.wepKeyPerUser, "per-user");
    std::strcpy(p.wpaPskPassword, "0123456789");
    p.wepKeyLength[0] = 5;  // not a stored value: comes back 0
    ASSERT_TRUE(store.SaveProfile(p));

    const std::string path = PathOf("Lab");
    const Value ssid = Read(path, "ssid");
    EXPECT_EQ(ssid.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ssid.bytes, std::string("lab-net", 8));  // the terminator is written
    const Value power = Read(path, "power");
    EXPECT_EQ(power.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(power.bytes.size(), 4u);
    EXPECT_EQ(Read(path, "wep.ispassphrase").bytes, std::string("\1\0\0\0", 4));
    EXPECT_EQ(Read(path, "authype").type, static_cast<DWORD>(REG_DWORD));

    const Profile* loaded = store.LoadProfile("Lab");
    ASSERT_NE(loaded, nullptr);
    Profile expected = p;
    expected.wepKeyLength[0] = 0;
    EXPECT_EQ(std::memcmp(loaded, &expected, sizeof(Profile)), 0);

    // Every text as long as its field holds comes back whole: 35 characters
    // of network name, 99 of every key and pass phrase.
    for (char* field : {p.ssid, p.wepPassphrase, p.wepKey[0], p.wepKey[1], p.wepKey[2], p.wepKey[3],
                        p.wepKeyPerUser, p.wpaPskPassword}) {
        const size_t size = field == p.ssid ? sizeof(p.ssid) : sizeof(p.wepPassphrase);
        std::memset(field, 'f', size - 1);
        field[size - 1] = '\0';
    }
    p.wepKeyLength[0] = 0;
    ASSERT_TRUE(store.SaveProfile(p));
    loaded = store.LoadProfile("Lab");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(std::memcmp(loaded, &p, sizeof(Profile)), 0);
    EXPECT_EQ(std::string(loaded->wepPassphrase), std::string(99, 'f'));

    // Without a pass phrase the marker reads 0.
    p.wepPassphrase[0] = '\0';
    ASSERT_TRUE(store.SaveProfile(p));
    EXPECT_EQ(Read(path, "wep.ispassphrase").bytes, std::string("\0\0\0\0", 4));
}

TEST_F(ProfileStoreTest, OversizedAndMistypedValuesNeverOverflowAField) {
    const std::string path = PathOf("Odd");
    const std::string ssid36(36, 'S');
    WriteRaw(path, "ssid", REG_SZ, ssid36.c_str(), 36);                 // fills the field, no terminator
    const std::string text99(99, 'k');
    WriteRaw(path, "wep.key1", REG_SZ, text99.c_str(), 100);            // the whole field: fits
    WriteRaw(path, "wep.key2", REG_SZ, (text99 + "k").c_str(), 101);    // 101 bytes: does not fit
    WriteRaw(path, "wep.keyperuser", REG_BINARY, (text99 + "k").c_str(), 100);  // no room for a terminator
    const std::string raw99(99, 'r');
    WriteRaw(path, "wep.key3", REG_BINARY, raw99.c_str(), 99);          // no terminator of its own
    const unsigned char twoBytes[] = {0x34, 0x12};
    WriteRaw(path, "txrate", REG_BINARY, twoBytes, 2);
    const unsigned char eightBytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw(path, "channel", REG_BINARY, eightBytes, 8);
    WriteRaw(path, "wpapsk.password", REG_DWORD, "\x41\x42\x43\x44", 4);

    const Profile* p = store.LoadProfile("Odd");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->ssid, "");
    EXPECT_EQ(std::string(p->wepKey[0]), text99);
    EXPECT_STREQ(p->wepKey[1], "");
    EXPECT_STREQ(p->wepKeyPerUser, "");
    EXPECT_EQ(std::string(p->wepKey[2]), raw99);  // terminated by the field's last byte
    EXPECT_EQ(p->txRate, 0x1234);
    EXPECT_EQ(p->channel, 0);
    EXPECT_STREQ(p->wpaPskPassword, "ABCD");

    // A key holding only "ssid": every other field is zero.
    mwtest::DeleteProfiles();
    testsupport::WriteString(HKLM, PathOf("Bare"), "ssid", "bare");
    p = store.LoadProfile("Bare");
    ASSERT_NE(p, nullptr);
    Profile expected = {};
    std::strcpy(expected.name, "Bare");
    std::strcpy(expected.ssid, "bare");
    EXPECT_EQ(std::memcmp(p, &expected, sizeof(Profile)), 0);
}

TEST_F(ProfileStoreTest, NamesThatAreNoProfileNamesNeverBecomeKeyPaths) {
    Profile p = {};
    std::strcpy(p.name, "outer\\inner");
    EXPECT_FALSE(store.SaveProfile(p));
    EXPECT_FALSE(KeyExists(PathOf("outer")));
    mwtest::AddProfile("outer", "o");
    testsupport::WriteString(HKLM, PathOf("outer") + "\\inner", "ssid", "nested");
    EXPECT_EQ(store.LoadProfile("outer\\inner"), nullptr);
    EXPECT_FALSE(store.DeleteProfile("outer\\inner"));
    EXPECT_TRUE(KeyExists(PathOf("outer") + "\\inner"));

    // A key whose name does not fit the name field is passed over; the
    // profiles behind it are still listed, and it still counts.
    mwtest::DeleteProfiles();
    mwtest::AddProfile("A", "a");
    mwtest::AddProfile(std::string(120, 'L'), "long");
    mwtest::AddProfile("Z", "z");
    std::vector<std::string> listed;
    for (unsigned short i = 0; const Profile* q = store.EnumProfile(i); ++i) listed.push_back(q->name);
    EXPECT_EQ(listed, (std::vector<std::string>{"A", "Z"}));
    EXPECT_EQ(store.CountProfiles(), 3);

    mwtest::DeleteProfiles();
    EXPECT_EQ(store.CountProfiles(), -1);
    EXPECT_EQ(store.EnumProfile(0), nullptr);
}

TEST_F(ProfileStoreTest, TheRememberedNameHoldsThirtyOneCharacters) {
    mwtest::AddProfile("DEFAULT", "any");
    std::string name;
    store.WriteLastProfile(std::string(31, 'n'));
    ASSERT_TRUE(store.ReadLastProfile(name));
    EXPECT_EQ(name, std::string(31, 'n'));
    store.WriteLastProfile(std::string(32, 'n'));
    EXPECT_FALSE(store.ReadLastProfile(name));
}

TEST_F(ProfileStoreTest, FirstStartSeedsOnceFromAnArmedSetupKey) {
    const std::string setup = store.SetupKeyPath();
    testsupport::WriteDword(HKLM, setup, "FirstStartup", 1);
    testsupport::WriteString(HKLM, setup, "Mode", "AdHoc");
    testsupport::WriteString(HKLM, setup, "DSChannel", "11");
    Profile seed;
    ASSERT_EQ(store.SeedFromSetup(seed), CProfileStore::Seed::kFromSetup);
    EXPECT_STREQ(seed.name, "DEFAULT");
    EXPECT_STREQ(seed.ssid, "ANY");
    EXPECT_EQ(seed.operatingMode, 0);
    EXPECT_EQ(seed.channel, 11);
    EXPECT_EQ(seed.netType, 4);
    DWORD armed = 1;
    ASSERT_TRUE(testsupport::ReadDword(HKLM, setup, "FirstStartup", armed));
    EXPECT_EQ(armed, 0u);
    EXPECT_EQ(store.SeedFromSetup(seed), CProfileStore::Seed::kNothing);

    // Infrastructure takes every type the adapter offers; a long network
    // name is cut to 32 characters.
    testsupport::WriteDword(HKLM, setup, "FirstStartup", 1);
    testsupport::WriteString(HKLM, setup, "Mode", "Infrastructure");
    testsupport::WriteString(HKLM, setup, "SSID", std::string(40, 'x'));
    mwtest::SetSim("NetMask", 0x0C);
    int handle = 0;
    ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    ASSERT_EQ(store.SeedFromSetup(seed), CProfileStore::Seed::kFromSetup);
    theDevice.Close();
    EXPECT_EQ(std::string(seed.ssid), std::string(32, 'x'));
    EXPECT_EQ(seed.operatingMode, 1);
    EXPECT_EQ(seed.netType, 0x0C);
}

TEST_F(ProfileStoreTest, WithoutSetupTheDefaultsAreOfferedOnlyWhenThereIsNoDefaultProfile) {
    Profile seed;
    ASSERT_EQ(store.SeedFromSetup(seed), CProfileStore::Seed::kDefaults);
    EXPECT_STREQ(seed.ssid, "ANY");
    EXPECT_EQ(seed.operatingMode, 1);
    EXPECT_EQ(seed.channel, 6);
    EXPECT_FALSE(KeyExists(store.ProfilesKeyPath()));
    mwtest::AddProfile("DEFAULT", "home");
    EXPECT_EQ(store.SeedFromSetup(seed), CProfileStore::Seed::kNothing);
}

}  // namespace
