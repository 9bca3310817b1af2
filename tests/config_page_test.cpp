// The configuration page with its sub-pages against the simulated adapter
// and Wine's registry: what the buttons and the survey's choice store,
// commit and report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/ConfigPage.h"
#include "config_support.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "mainwnd_fixture.h"
#include "resource.h"
#include "support/TestProcess.h"

namespace {

using cfgtest::ModalScript;

const char kPrompt[] = "Enter name of the new profile";

Profile LastCommit() {
    Profile record = {};
    DWORD size = sizeof(record);
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\NicportSim", 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        ::RegQueryValueExA(key.get(), "LastCommit", nullptr, nullptr, reinterpret_cast<BYTE*>(&record), &size);
    return record;
}

class ConfigPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        mwtest::DeleteProfiles();
        testsupport::DeleteTree(HKEY_LOCAL_MACHINE, page.Store().SetupKeyPath());
        int handle = 0;
        ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    }
    void TearDown() override {
        page.DestroyWindow();
        theDevice.Close();
        mwtest::DeleteProfiles();
        testsupport::DeleteTree(HKEY_LOCAL_MACHINE, page.Store().SetupKeyPath());
        mwtest::ResetSim();
    }
    void Create() { ASSERT_TRUE(page.Create(host)); }
    void Scan() {
        theDevice.InitSiteSurvey();
        ASSERT_TRUE(testsupport::WaitFor([] { return theDevice.QuerySiteSurvey(); }, 2000));
    }
    HWND Item(int id) const { return page.GetDlgItem(id); }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    HWND Common(int id) { return ::GetDlgItem(page.CommonPage(), id); }
    std::string Selected() const { return page.SelectedProfileName(); }
    std::string Stored(const std::string& name, const char* value) const {
        char text[128] = {};
        DWORD size = sizeof(text) - 1;
        fw::RegKey key;
        const std::string path = mwtest::ProfilesKey() + "\\" + name;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return "<none>";
        DWORD type = 0;
        if (::RegQueryValueExA(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
            return "<missing>";
        if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(text));
        return text;
    }
    void SelectMode(int index) {
        ::SendMessageA(Common(IDC_COMMON_MODE), CB_SETCURSEL, index, 0);
        ::SendMessageA(page.CommonPage(), WM_COMMAND, MAKEWPARAM(IDC_COMMON_MODE, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Common(IDC_COMMON_MODE)));
    }
    // Clicks New and answers the prompt as the steps say.
    std::vector<std::string> New(std::vector<ModalScript::Step> steps) {
        ModalScript script(std::move(steps));
        Click(IDC_CFG_NEW);
        EXPECT_TRUE(script.Done());
        return script.messages;
    }
    static ModalScript::Step Type(const std::string& name, int button = IDOK) {
        return {kPrompt, [name, button](HWND dlg) {
                    ::SetDlgItemTextA(dlg, IDC_PROFILE_NAME, name.c_str());
                    ModalScript::Press(dlg, button);
                }};
    }
    // The profile as the store reads it back, to see that nothing changed.
    Profile Loaded(const char* name) {
        const Profile* stored = page.Store().LoadProfile(name);
        return stored ? *stored : Profile{};
    }
    HWND Security(int id) { return page.SecurityPage().GetDlgItem(id); }
    HWND Wep(int id) { return page.SecurityPage().WepDialog().GetDlgItem(id); }
    HWND Psk() { return page.SecurityPage().WpaPskDialog().GetDlgItem(IDC_WPA_PSK); }
    // Wine's buttons act on BM_CLICK even when disabled: only an enabled one is clicked.
    void ClickEnabled(HWND button) {
        ASSERT_TRUE(::IsWindowEnabled(button)) << ::GetDlgCtrlID(button);
        ::SendMessageA(button, BM_CLICK, 0, 0);
    }
    static void Type(HWND edit, const std::string& text) {
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static ModalScript::Step Dismiss() {
        char exe[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string caption = exe;
        caption = caption.substr(caption.find_last_of("\\/") + 1);
        caption = caption.substr(0, caption.rfind('.'));
        return {caption, [](HWND box) { ModalScript::Press(box, IDOK); }};
    }

    cfgtest::TestHost host;
    CConfigPage page{host};
};

TEST_F(ConfigPageTest, FirstStartAppliesAnArmedSetupToTheSelectedProfileOnce) {
    mwtest::AddProfile("DEFAULT", "old");
    const std::string setup = page.Store().SetupKeyPath();
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, setup, "FirstStartup", 1);
    testsupport::WriteString(HKEY_LOCAL_MACHINE, setup, "Mode", "AdHoc");
    testsupport::WriteString(HKEY_LOCAL_MACHINE, setup, "DSChannel", "11");
    Create();
    EXPECT_EQ(Stored("DEFAULT", "ssid"), "ANY");
    EXPECT_EQ(Stored("DEFAULT", "operatingmode"), "0");
    EXPECT_EQ(Stored("DEFAULT", "channel"), "11");
    EXPECT_EQ(Stored("DEFAULT", "nettype"), "4");
    EXPECT_STREQ(LastCommit().name, "DEFAULT");
    EXPECT_EQ(host.applied, std::vector<std::string>{"DEFAULT"});

    // The next start finds the key disarmed and changes nothing.
    page.DestroyWindow();
    mwtest::SetSim("LastCommit", 0);
    Create();
    EXPECT_EQ(host.applied.size(), 1u);
}

TEST_F(ConfigPageTest, WithoutSetupOrProfilesThePagesShowDefaultsAndNothingIsWritten) {
    Create();
    EXPECT_EQ(pagetest::Text(Common(IDC_COMMON_SSID)), "ANY");
    EXPECT_EQ(::SendMessageA(Common(IDC_COMMON_MODE), CB_GETCURSEL, 0, 0), 1);
    HWND channels = Common(IDC_COMMON_CHANNEL);
    EXPECT_EQ(::SendMessageA(channels, CB_GETITEMDATA, ::SendMessageA(channels, CB_GETCURSEL, 0, 0), 0), 6);
    // Nothing selected: Apply and Save write nothing and commit nothing.
    Click(IDC_CFG_APPLY);
    Click(IDC_CFG_SAVE);
    EXPECT_TRUE(mwtest::StoredProfileNames().empty());
    EXPECT_EQ(mwtest::LastCommittedProfile(), "");
    EXPECT_TRUE(host.applied.empty());
}

TEST_F(ConfigPageTest, SaveStoresApplyAlsoRemembersCommitsAndReports) {
    mwtest::AddProfile("DEFAULT", "any");
    mwtest::AddProfile("Home", "home-net");
    Create();
    EXPECT_EQ(Selected(), "DEFAULT");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CFG_DELETE)));
    Click(IDC_CFG_DELETE);
    EXPECT_EQ(mwtest::StoredProfileNames().size(), 2u);

    ASSERT_TRUE(page.SelectProfileByName("Home"));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CFG_DELETE)));
    EXPECT_EQ(pagetest::Text(Common(IDC_COMMON_SSID)), "home-net");
    ::SetWindowTextA(Common(IDC_COMMON_SSID), "changed");
    Click(IDC_CFG_SAVE);
    EXPECT_EQ(Stored("Home", "ssid"), "changed");
    EXPECT_EQ(mwtest::LastCommittedProfile(), "");

    SelectMode(0);
    Click(IDC_CFG_APPLY);
    EXPECT_EQ(Stored("Home", "operatingmode"), "0");
    std::string remembered;
    ASSERT_TRUE(page.Store().ReadLastProfile(remembered));
    EXPECT_EQ(remembered, "Home");
    const Profile committed = LastCommit();
    const Profile* stored = page.Store().LoadProfile("Home");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(std::memcmp(&committed, stored, sizeof(Profile)), 0);
    EXPECT_EQ(host.applied, std::vector<std::string>{"Home"});

    Click(IDC_CFG_DELETE);
    EXPECT_EQ(mwtest::StoredProfileNames(), std::vector<std::string>{"DEFAULT"});
    EXPECT_EQ(Selected(), "DEFAULT");
}

TEST_F(ConfigPageTest, NewRefusesWhatWouldLoseOrMisplaceData) {
    mwtest::AddProfile("DEFAULT", "any");
    mwtest::AddProfile("Home", "home-net");
    Create();
    const auto before = mwtest::StoredProfileNames();
    EXPECT_TRUE(New({Type("DEFAULT")}).empty());
    EXPECT_TRUE(New({Type("")}).empty());
    EXPECT_TRUE(New({Type("Cancelled", IDCANCEL)}).empty());
    EXPECT_EQ(New({Type(std::string(33, 'x')), Dismiss(), Type("", IDCANCEL)}),
              std::vector<std::string>{"Please enter no more than 32 characters."});
    auto taken = New({Type("home"), Dismiss(), Type("", IDCANCEL)});
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_NE(taken[0].find("\"home\""), std::string::npos) << taken[0];
    EXPECT_EQ(New({Type("a\\b"), Dismiss(), Type("", IDCANCEL)}).size(), 1u);
    EXPECT_EQ(mwtest::StoredProfileNames(), before);
    EXPECT_EQ(Stored("Home", "ssid"), "home-net");
}

TEST_F(ConfigPageTest, NewStoresTheShownSettingsUnderTheNameUpToTheLimit) {
    for (int i = 0; i < 28; ++i) mwtest::AddProfile("P" + std::to_string(i), "p");
    mwtest::AddProfile("DEFAULT", "any");
    Create();
    ::SetWindowTextA(Common(IDC_COMMON_SSID), "lab-net");
    const std::string name32(32, 'N');
    EXPECT_TRUE(New({Type(name32)}).empty());
    EXPECT_EQ(Selected(), name32);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CFG_DELETE)));
    EXPECT_EQ(Stored(name32, "ssid"), "lab-net");
    EXPECT_EQ(Stored(name32, "adv.rtsthreshold"), "0");

    // Thirty profiles: the limit message, and no prompt.
    const std::string limit = fw::res::String(IDS_PROFILE_LIMIT);
    char expected[256];
    std::snprintf(expected, sizeof(expected), limit.c_str(), 30);
    EXPECT_EQ(New({Dismiss()}), std::vector<std::string>{expected});
    EXPECT_EQ(mwtest::StoredProfileNames().size(), 30u);
}

TEST_F(ConfigPageTest, ASurveyedNetworkIsStoredCommittedOrSentToTheSecurityTab) {
    mwtest::AddProfile("DEFAULT", "any");
    Create();
    Scan();
    // 3: "LabAdHoc", open, ad hoc on channel 11.
    page.SendMessage(WM_SITE_CHOSEN, 3);
    EXPECT_EQ(Stored("DEFAULT", "ssid"), "LabAdHoc");
    EXPECT_EQ(Stored("DEFAULT", "operatingmode"), "0");
    EXPECT_EQ(Stored("DEFAULT", "channel"), "11");
    EXPECT_EQ(mwtest::LastCommittedProfile(), "DEFAULT");
    EXPECT_EQ(host.tabs, std::vector<int>{IPageHost::kTabLink});

    // 0: "HomeNet", encrypted: the security tab comes forward, nothing stored.
    mwtest::SetSim("LastCommit", 0);
    page.SendMessage(WM_SITE_CHOSEN, 0);
    EXPECT_EQ(Stored("DEFAULT", "ssid"), "LabAdHoc");
    EXPECT_EQ(mwtest::LastCommittedProfile(), "");
    ASSERT_NE(page.FrontSubPage(), nullptr);
    EXPECT_EQ(page.FrontSubPage()->GetKind(), CSubPage::kSecurity);
    EXPECT_TRUE(pagetest::Shown(page.SecurityPage()));
    EXPECT_FALSE(pagetest::Shown(page.CommonPage()));

    // 1: "CoffeeShop" has a profile of its own: it is selected and committed
    // as stored, and the profile selected before keeps its settings.
    mwtest::AddProfile("Cafe", "CoffeeShop");
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, mwtest::ProfilesKey() + "\\Cafe", "txrate", 22);
    page.SendMessage(WM_SITE_CHOSEN, 1);
    EXPECT_EQ(Selected(), "Cafe");
    EXPECT_STREQ(LastCommit().ssid, "CoffeeShop");
    EXPECT_EQ(LastCommit().txRate, 22);
    EXPECT_EQ(Stored("DEFAULT", "ssid"), "LabAdHoc");
}

TEST_F(ConfigPageTest, ASuppressedSubPageLeavesEveryTabWithItsOwnPage) {
    mwtest::AddProfile("DEFAULT", "any");
    HMODULE module = ::LoadLibraryA("config_resmod.dll");
    ASSERT_NE(module, nullptr);
    fw::res::SetModule(module);
    Create();
    HWND tabs = Item(IDC_CFG_TAB);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(page.CommonPage().GetSafeHwnd(), nullptr);
    ASSERT_NE(page.FrontSubPage(), nullptr);
    EXPECT_EQ(page.FrontSubPage()->GetKind(), CSubPage::kSecurity);
    EXPECT_TRUE(pagetest::Shown(page.SecurityPage()));

    ::SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0);
    EXPECT_TRUE(pagetest::Shown(page.AdvancedPage()));
    EXPECT_FALSE(pagetest::Shown(page.SecurityPage()));
    page.BringSubPageToFront(CSubPage::kSecurity);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(pagetest::Shown(page.SecurityPage()));
    EXPECT_FALSE(pagetest::Shown(page.AdvancedPage()));
    page.BringSubPageToFront(CSubPage::kCommon);  // no such tab: nothing changes
    EXPECT_TRUE(pagetest::Shown(page.SecurityPage()));
    page.DestroyWindow();
    fw::res::SetModule(nullptr);
    ::FreeLibrary(module);
}

TEST_F(ConfigPageTest, KeysTravelFromTheRegistryThroughThePagesToTheAdapter) {
    // A WEP profile: the key reaches the adapter with its length; the
    // pre-shared key stays empty.
    const std::string home = mwtest::ProfilesKey() + "\\Home";
    mwtest::AddProfile("DEFAULT", "any");
    mwtest::AddProfile("Home", "home-net");
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, home, "authype", 1);
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, home, "wep.level", 1);
    testsupport::WriteString(HKEY_LOCAL_MACHINE, home, "wep.key1", "0A1B2C3D4E");
    testsupport::WriteString(HKEY_LOCAL_MACHINE, home, "wpapsk.password", "left over");
    Create();
    ASSERT_TRUE(page.SelectProfileByName("Home"));
    Click(IDC_CFG_APPLY);
    Profile committed = LastCommit();
    EXPECT_EQ(committed.authType, 1);
    EXPECT_EQ(committed.wepLevel, 1);
    EXPECT_STREQ(committed.wepKey[0], "0A1B2C3D4E");
    EXPECT_EQ(committed.wepKeyLength[0], 5);
    EXPECT_EQ(committed.wepKeyLength[1], 0);
    EXPECT_STREQ(committed.wpaPskPassword, "");
    EXPECT_EQ(Stored("Home", "wep.key1"), "0A1B2C3D4E");
    EXPECT_EQ(Stored("Home", "wpapsk.password"), "");

    // WPA-PSK: the WEP fields go, wepLevel is 0.
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, home, "authype", 7);
    testsupport::WriteString(HKEY_LOCAL_MACHINE, home, "wpapsk.password", "pre-shared key");
    ASSERT_TRUE(page.SelectProfileByName("Home"));
    Click(IDC_CFG_APPLY);
    committed = LastCommit();
    EXPECT_EQ(committed.authType, 7);
    EXPECT_EQ(committed.wepLevel, 0);
    EXPECT_STREQ(committed.wpaPskPassword, "pre-shared key");
    EXPECT_STREQ(committed.wepKey[0], "");
    EXPECT_EQ(Stored("Home", "wep.key1"), "");
    EXPECT_EQ(Stored("Home", "wep.level"), "0");
}

// Another program fills a key field past what it holds (WM_SETTEXT passes the
// edit's limit): Save and Apply are refused at that field, and the stored
// profile, the remembered name and the adapter's record stay as they were.
TEST_F(ConfigPageTest, ARefusedKeyLeavesTheRegistryAndTheAdapterAsTheyWere) {
    const std::string profiles = mwtest::ProfilesKey();
    mwtest::AddProfile("DEFAULT", "any");
    mwtest::AddProfile("Home", "home-net");
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, profiles + "\\Home", "authype", 1);
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, profiles + "\\Home", "wep.level", 1);
    testsupport::WriteString(HKEY_LOCAL_MACHINE, profiles + "\\Home", "wep.key1", "0123456789");
    mwtest::AddProfile("Office", "office-net");
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, profiles + "\\Office", "authype", 7);
    testsupport::WriteString(HKEY_LOCAL_MACHINE, profiles + "\\Office", "wpapsk.password", "password1");
    Create();
    const struct {
        const char* profile;
        bool passphrase;
        size_t length;
        const char* told;
    } cases[] = {{"Home", true, 100, "Please enter no more than 99 characters."},
                 {"Office", false, 64, "Please enter no more than 63 characters."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        ASSERT_TRUE(page.SelectProfileByName("DEFAULT"));
        ClickEnabled(Item(IDC_CFG_APPLY));
        const Profile committed = LastCommit();
        ASSERT_STREQ(committed.name, "DEFAULT");
        const size_t applied = host.applied.size();

        ASSERT_TRUE(page.SelectProfileByName(c.profile));
        const Profile stored = Loaded(c.profile);
        if (c.passphrase) ClickEnabled(Wep(IDC_WEP_USE_PASSPHRASE));
        HWND edit = c.passphrase ? Wep(IDC_WEP_PASSPHRASE) : Psk();
        Type(edit, std::string(c.length, 'x'));
        for (int button : {IDC_CFG_SAVE, IDC_CFG_APPLY}) {
            page.BringSubPageToFront(CSubPage::kCommon);
            ModalScript script({Dismiss()});
            ClickEnabled(Item(button));
            ASSERT_TRUE(script.Done());
            EXPECT_EQ(script.messages, std::vector<std::string>{c.told});
            const Profile now = Loaded(c.profile), adapter = LastCommit();
            EXPECT_EQ(std::memcmp(&now, &stored, sizeof(Profile)), 0) << button;
            EXPECT_EQ(std::memcmp(&adapter, &committed, sizeof(Profile)), 0) << button;
            std::string remembered;
            EXPECT_TRUE(page.Store().ReadLastProfile(remembered) && remembered == "DEFAULT") << button;
            EXPECT_EQ(host.applied.size(), applied) << button;
            // The user is left at the field, its text selected, on its page.
            EXPECT_EQ(::GetFocus(), edit) << button;
            DWORD start = 1, end = 0;
            ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, c.length);
            ASSERT_NE(page.FrontSubPage(), nullptr);
            EXPECT_EQ(page.FrontSubPage()->GetKind(), CSubPage::kSecurity) << button;
        }
        if (!c.passphrase) continue;
        // Back to typed keys: the text left in the disabled passphrase edit is
        // no part of the profile and refuses nothing.
        ModalScript script({Dismiss(), Dismiss()});
        ClickEnabled(Wep(IDC_WEP_USE_PASSPHRASE));
        Type(Wep(IDC_WEP_KEY1), "0A1B2C3D4E");
        ClickEnabled(Item(IDC_CFG_SAVE));
        EXPECT_TRUE(script.messages.empty());
        EXPECT_EQ(Stored(c.profile, "wep.key1"), "0A1B2C3D4E");
    }
}

// The longest pass phrase the edit takes is stored, and comes back whole when
// the profile is selected again: no key is lost by the next save.
TEST_F(ConfigPageTest, TheLongestPassphraseComesBackWhenReselected) {
    mwtest::AddProfile("DEFAULT", "any");
    mwtest::AddProfile("Home", "home-net");
    Create();
    ASSERT_TRUE(page.SelectProfileByName("Home"));
    ClickEnabled(Security(IDC_SEC_TOGGLE));
    ClickEnabled(Wep(IDC_WEP_USE_PASSPHRASE));
    const std::string passphrase(99, 'p');
    Type(Wep(IDC_WEP_PASSPHRASE), passphrase);
    ClickEnabled(Item(IDC_CFG_SAVE));
    ASSERT_TRUE(page.SelectProfileByName("DEFAULT"));
    ASSERT_TRUE(page.SelectProfileByName("Home"));
    EXPECT_EQ(::SendMessageA(Wep(IDC_WEP_USE_PASSPHRASE), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(pagetest::Text(Wep(IDC_WEP_PASSPHRASE)), passphrase);
    ClickEnabled(Item(IDC_CFG_APPLY));
    EXPECT_EQ(std::string(LastCommit().wepPassphrase), passphrase);
}

}  // namespace
