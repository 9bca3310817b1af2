// The security sub-page and its WEP and WPA-PSK key dialogs, created as real
// windows and driven with the messages a user's typing and clicking send.
// Save and Apply are seen through the page's host, as the configuration
// page would see them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "config/SecurityPage.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "mainwnd_fixture.h"
#include "pages_support.h"
#include "resource.h"

using pagetest::Shown;

namespace {

class RecordingHost : public ISubPageHost {
public:
    void EnableSaveApply(bool enable) override { saveApply.push_back(enable); }
    bool IsInfrastructureMode() const override { return infrastructure; }
    void OnModeControlsUpdated() override {}
    bool SaveApplyEnabled() const { return !saveApply.empty() && saveApply.back(); }

    bool infrastructure = true;
    std::vector<bool> saveApply;
};

const char kTenHex[] = "0123456789";
const char kTwentySixHex[] = "0123456789abcdef0123456789";

class SecurityPageTest : public ::testing::Test {
protected:
    void SetUp() override { page.AttachHost(&host); }
    void TearDown() override {
        page.DestroyWindow();
        if (module) ::FreeLibrary(module);
    }
    // A resource module, when given, stands in for res.dll while the page is built.
    void Create(const char* moduleName = nullptr) {
        module = moduleName ? ::LoadLibraryA(moduleName) : nullptr;
        ASSERT_TRUE(!moduleName || module);
        fw::res::SetModule(module);
        const bool created = page.Create(parent);
        fw::res::SetModule(nullptr);
        ASSERT_TRUE(created);
    }

    HWND Item(int id) const { return page.GetDlgItem(id); }
    HWND Wep(int id) { return page.WepDialog().GetDlgItem(id); }
    HWND Psk() { return page.WpaPskDialog().GetDlgItem(IDC_WPA_PSK); }
    static std::string Text(HWND edit) { return pagetest::Text(edit); }
    static void Type(HWND edit, const std::string& text) {
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static void Press(HWND edit, char ch) { ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1); }
    static void Choose(HWND combo, int index) {
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    }
    static void Click(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }
    static LRESULT Selected(HWND combo) { return ::SendMessageA(combo, CB_GETCURSEL, 0, 0); }
    static LRESULT Count(HWND combo) { return ::SendMessageA(combo, CB_GETCOUNT, 0, 0); }
    static LRESULT Limit(HWND edit) { return ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0); }
    static bool Enabled(HWND control) { return ::IsWindowEnabled(control) != FALSE; }

    void SecurityOn(int type = 0) {
        if (!page.IsSecurityOn()) Click(Item(IDC_SEC_TOGGLE));
        Choose(Item(IDC_SEC_AUTH), type);
    }
    Profile Stored() {
        Profile profile = {};
        page.StoreToProfile(profile);
        return profile;
    }
    static Profile Record(int32_t authType, int level = 0, int type = 0, const char* key1 = "") {
        Profile profile = {};
        profile.authType = authType;
        profile.wepLevel = level;
        profile.wepKeyType = type;
        std::strcpy(profile.wepKey[0], key1);
        return profile;
    }

    pagetest::Host parent;
    RecordingHost host;
    CSecurityPage page;
    HMODULE module = nullptr;
};

TEST_F(SecurityPageTest, StartsOffAndSwitchingOffAllowsSaving) {
    Create();
    EXPECT_EQ(Text(Item(IDC_SEC_TOGGLE)), "Security OFF");
    EXPECT_FALSE(Shown(Item(IDC_SEC_AUTH)) || Shown(Item(IDC_SEC_AUTH_LABEL)));
    EXPECT_FALSE(Shown(page.WepDialog()) || Shown(page.WpaPskDialog()));
    EXPECT_TRUE(host.SaveApplyEnabled());
    SecurityOn();  // WEP with no keys: Key 1, the default, is missing
    EXPECT_EQ(Text(Item(IDC_SEC_TOGGLE)), "Security ON");
    EXPECT_TRUE(Shown(page.WepDialog()) && Shown(Item(IDC_SEC_AUTH)));
    EXPECT_FALSE(host.SaveApplyEnabled());
    Click(Item(IDC_SEC_TOGGLE));
    EXPECT_TRUE(host.SaveApplyEnabled());
    EXPECT_EQ(Stored().authType, AUTH_NONE);
}

TEST_F(SecurityPageTest, WepKeysPassAtTheirLengthAndAnEmptyKeyUnlessItIsTheDefault) {
    Create();
    SecurityOn();
    EXPECT_EQ(Count(Wep(IDC_WEP_KEYTYPE)), 2) << "the program's strings hide the ASCII types";
    EXPECT_FALSE(Shown(Wep(IDC_WEP_PERUSER)));
    for (const char* key : {"012345678", "0123456789a"}) {
        Type(Wep(IDC_WEP_KEY1), key);
        EXPECT_FALSE(host.SaveApplyEnabled()) << key;
    }
    Type(Wep(IDC_WEP_KEY1), kTenHex);
    EXPECT_TRUE(host.SaveApplyEnabled());
    Choose(Wep(IDC_WEP_DEFKEY), 2);
    EXPECT_FALSE(host.SaveApplyEnabled()) << "an empty Key 3 as the default";
    Press(Wep(IDC_WEP_KEY3), 'g');
    Press(Wep(IDC_WEP_KEY3), 'F');
    EXPECT_EQ(Text(Wep(IDC_WEP_KEY3)), "F");
    Type(Wep(IDC_WEP_KEY3), "abcdefABCD");
    EXPECT_TRUE(host.SaveApplyEnabled());

    const Profile stored = Stored();
    EXPECT_EQ(stored.wepDefaultKey, 2);
    EXPECT_EQ(stored.wepKeyLength[0], 5);
    EXPECT_EQ(stored.wepKeyLength[1], 0);
    EXPECT_EQ(stored.wpaPskPassword[0], '\0');

    // 104/128-bit: Key 1 alone, everything typed so far gone.
    Choose(Wep(IDC_WEP_KEYTYPE), 1);
    for (int id : {IDC_WEP_KEY1, IDC_WEP_KEY3}) EXPECT_EQ(Text(Wep(id)), "") << id;
    EXPECT_EQ(Selected(Wep(IDC_WEP_DEFKEY)), 0);
    EXPECT_FALSE(Enabled(Wep(IDC_WEP_DEFKEY)));
    EXPECT_TRUE(Enabled(Wep(IDC_WEP_KEY1)));
    for (int id : {IDC_WEP_KEY2, IDC_WEP_KEY3, IDC_WEP_KEY4}) EXPECT_FALSE(Enabled(Wep(id))) << id;
    EXPECT_EQ(Limit(Wep(IDC_WEP_KEY1)), 26);
    EXPECT_FALSE(host.SaveApplyEnabled());
    Type(Wep(IDC_WEP_KEY1), kTwentySixHex);
    EXPECT_TRUE(host.SaveApplyEnabled());
    EXPECT_EQ(Stored().wepKeyLength[0], 13);
}

TEST_F(SecurityPageTest, PassphraseReplacesTheKeysAndIsStoredWhole) {
    Create();
    SecurityOn();
    Type(Wep(IDC_WEP_KEY1), kTenHex);
    Click(Wep(IDC_WEP_USE_PASSPHRASE));
    EXPECT_EQ(Text(Wep(IDC_WEP_KEY1)), "");
    EXPECT_FALSE(Enabled(Wep(IDC_WEP_KEY1)));
    EXPECT_TRUE(Enabled(Wep(IDC_WEP_PASSPHRASE)));
    EXPECT_FALSE(host.SaveApplyEnabled());
    Type(Wep(IDC_WEP_PASSPHRASE), "x");
    EXPECT_TRUE(host.SaveApplyEnabled());

    // The edit takes what the profile's field holds: 99 characters.
    const std::string longest(99, 'p');
    Type(Wep(IDC_WEP_PASSPHRASE), longest);
    Press(Wep(IDC_WEP_PASSPHRASE), 'q');
    EXPECT_EQ(Text(Wep(IDC_WEP_PASSPHRASE)), longest);
    const Profile stored = Stored();
    EXPECT_EQ(std::string(stored.wepPassphrase), longest);
    EXPECT_EQ(stored.wepLevel, 1);
    EXPECT_EQ(stored.wepKey[0][0], '\0');

    Click(Wep(IDC_WEP_USE_PASSPHRASE));
    EXPECT_FALSE(Enabled(Wep(IDC_WEP_PASSPHRASE)));
    EXPECT_EQ(Text(Wep(IDC_WEP_PASSPHRASE)), longest);
    EXPECT_FALSE(host.SaveApplyEnabled());
}

TEST_F(SecurityPageTest, WpaPskNeedsEightToSixtyThreeCharacters) {
    Create();
    SecurityOn();
    Type(Wep(IDC_WEP_KEY1), kTenHex);
    ASSERT_TRUE(host.SaveApplyEnabled());
    Choose(Item(IDC_SEC_AUTH), 1);
    EXPECT_TRUE(Shown(page.WpaPskDialog()));
    EXPECT_FALSE(Shown(page.WepDialog()));
    EXPECT_FALSE(host.SaveApplyEnabled()) << "checked as soon as it is shown";
    Type(Psk(), "1234567");
    EXPECT_FALSE(host.SaveApplyEnabled());
    Type(Psk(), "12345678");
    EXPECT_TRUE(host.SaveApplyEnabled());
    const std::string longest(63, 'k');
    Type(Psk(), longest);
    Press(Psk(), 'x');
    EXPECT_EQ(Text(Psk()), longest);
    const Profile stored = Stored();
    EXPECT_EQ(stored.authType, AUTH_WPA_PSK);
    EXPECT_EQ(std::string(stored.wpaPskPassword), longest);
    EXPECT_EQ(stored.wepLevel, 0);
    EXPECT_EQ(stored.wepKey[0][0], '\0');

    Type(Wep(IDC_WEP_KEY1), "012345678");
    Type(Psk(), "12345678");
    Choose(Item(IDC_SEC_AUTH), 0);
    EXPECT_FALSE(host.SaveApplyEnabled()) << "the WEP keys are checked when shown";
}

TEST_F(SecurityPageTest, LoadShowsTheRecordsTypeAndKeys) {
    Create();
    Profile wep = Record(AUTH_WEP, 2, 2, kTwentySixHex);
    wep.wepAuth = 1;
    wep.wepDefaultKey = 3;  // a long key has Key 1 alone
    page.LoadFromProfile(wep);
    EXPECT_TRUE(page.IsSecurityOn() && Shown(page.WepDialog()));
    EXPECT_EQ(Selected(Wep(IDC_WEP_KEYTYPE)), 1);
    EXPECT_EQ(Selected(Wep(IDC_WEP_AUTH)), 1);
    EXPECT_EQ(Selected(Wep(IDC_WEP_DEFKEY)), 0);
    EXPECT_EQ(Text(Wep(IDC_WEP_KEY1)), kTwentySixHex);
    EXPECT_TRUE(host.SaveApplyEnabled());
    // A stored key type the list does not offer: the selected type and its rules stay.
    for (int type : {4, -1, 0x7FFFFFFF}) {
        page.LoadFromProfile(Record(AUTH_WEP, 1, type, kTwentySixHex));
        EXPECT_EQ(Selected(Wep(IDC_WEP_KEYTYPE)), 1) << type;
        EXPECT_EQ(Limit(Wep(IDC_WEP_KEY1)), 26) << type;
        EXPECT_TRUE(host.SaveApplyEnabled()) << type;
        EXPECT_EQ(Stored().wepKeyType, 2) << type;
    }

    Profile psk = Record(AUTH_WPA_PSK);
    std::strcpy(psk.wpaPskPassword, "seven77");
    page.LoadFromProfile(psk);
    EXPECT_TRUE(Shown(page.WpaPskDialog()));
    EXPECT_FALSE(Shown(page.WepDialog()));
    EXPECT_EQ(Text(Psk()), "seven77");
    EXPECT_FALSE(host.SaveApplyEnabled());
    page.LoadFromProfile(Record(AUTH_NONE));
    EXPECT_FALSE(page.IsSecurityOn() || Shown(page.WpaPskDialog()) || Shown(Item(IDC_SEC_AUTH)));
    EXPECT_TRUE(host.SaveApplyEnabled());
}

TEST_F(SecurityPageTest, AdHocOffersOnlyWep) {
    Create();
    SecurityOn(1);
    host.infrastructure = false;  // what the common page's mode switch then asks for
    page.RebuildAuthList();
    page.ShowKeyDialog();
    EXPECT_EQ(Count(Item(IDC_SEC_AUTH)), 1);
    EXPECT_TRUE(Shown(page.WepDialog()));
    EXPECT_FALSE(Shown(page.WpaPskDialog()));
    EXPECT_EQ(Stored().authType, AUTH_WEP);
    page.LoadFromProfile(Record(AUTH_WPA_PSK));
    EXPECT_TRUE(page.IsSecurityOn() && Shown(Item(IDC_SEC_AUTH)));
    EXPECT_FALSE(Shown(page.WepDialog()) || Shown(page.WpaPskDialog()));
    EXPECT_EQ(Stored().wepLevel, 0) << "no hidden dialog's keys are stored";
}

TEST_F(SecurityPageTest, ChosenNetworkSwitchesSecurityByItsEncryption) {
    mwtest::ResetSim();
    int handle = 0;
    ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    ASSERT_TRUE(theDevice.InitSiteSurvey());
    Create();
    page.SendMessage(WM_SITE_CHOSEN, 0);  // HomeNet, encrypted
    EXPECT_TRUE(page.IsSecurityOn() && Shown(page.WepDialog()));
    page.SendMessage(WM_SITE_CHOSEN, 999);
    EXPECT_TRUE(page.IsSecurityOn());
    page.SendMessage(WM_SITE_CHOSEN, 1);  // CoffeeShop, open
    EXPECT_FALSE(page.IsSecurityOn() || Shown(page.WepDialog()));
    theDevice.Close();
}

TEST_F(SecurityPageTest, AsciiKeyTypesExistWhenTheResourceModuleOffersThem) {
    Create("testres.dll");
    SecurityOn();
    ASSERT_EQ(Count(Wep(IDC_WEP_KEYTYPE)), 4);
    EXPECT_TRUE(Shown(Wep(IDC_WEP_PERUSER)));
    Choose(Wep(IDC_WEP_KEYTYPE), 1);  // 40/64-bit ASCII: five characters of any kind
    Press(Wep(IDC_WEP_KEY1), 'g');
    EXPECT_EQ(Text(Wep(IDC_WEP_KEY1)), "g");
    for (const char* key : {"abcd", "abcdef"}) {
        Type(Wep(IDC_WEP_KEY1), key);
        EXPECT_FALSE(host.SaveApplyEnabled()) << key;
    }
    Type(Wep(IDC_WEP_KEY1), "a-b c");
    EXPECT_TRUE(host.SaveApplyEnabled());
    EXPECT_EQ(Stored().wepKeyType, 1);
}

}  // namespace
