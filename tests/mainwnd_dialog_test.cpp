// The main window in this process, against the simulated adapter, with the
// shell and the menu loop replaced by recorders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/AdapterText.h"
#include "app/Help.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "mainwnd/MonitorDlg.h"
#include "mainwnd_fixture.h"
#include "resource.h"
#include "support/TestProcess.h"

using mwtest::MenuRecorder;
using mwtest::ShellRecorder;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        mwtest::DeleteProfiles();
        theDevice.Close();
        g_bDeviceSeenOpen = false;
        g_bWindowShown = false;
        g_bFirstShow = true;
    }

    void TearDown() override {
        dlg.reset();
        theApp.m_pMainWnd = nullptr;
        g_pfnHtmlHelpOverride = nullptr;
        g_pfnAdapterDescription = nullptr;
        mwtest::DeleteProfiles();
        mwtest::ResetSim();
        theDevice.Close();
    }

    // Creates the window and lets the dialog manager's first showing happen,
    // as a modal run would: it settles hidden in the tray.
    void Start() {
        dlg = std::make_unique<CMonitorDlg>();
        theApp.m_pMainWnd = dlg.get();
        ASSERT_TRUE(dlg->Create(nullptr));
        dlg->ShowWindow(SW_SHOW);
        mwtest::Pump();
    }

    HWND Hwnd() const { return dlg->GetSafeHwnd(); }
    bool Visible() const { return ::IsWindowVisible(Hwnd()) != FALSE; }
    void Tick() { ::SendMessageA(Hwnd(), WM_TIMER, 1, 0); }
    void Command(UINT id) {
        ::SendMessageA(Hwnd(), WM_COMMAND, id, 0);
        mwtest::Pump();
    }
    void TrayEvent(UINT mouseMessage) {
        ::SendMessageA(Hwnd(), dlg->Tray()->CallbackMessage(), 0, mouseMessage);
        mwtest::Pump();
    }
    void OpenTrayMenu(UINT choose = 0) {
        MenuRecorder::choose = choose;
        TrayEvent(WM_RBUTTONUP);
    }
    std::string Tip() const {
        const mwtest::ShellCall* call = ShellRecorder::LastShown();
        return call ? std::string(call->data.szTip) : std::string("<no icon>");
    }
    bool TrayIconIs(UINT id) const {
        const mwtest::ShellCall* call = ShellRecorder::LastShown();
        return call && mwtest::IconMatches(call->data.hIcon, id);
    }
    static bool PageShown(HWND page) { return page && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0; }
    int ShownPage() const {
        int shown = -1;
        for (int tab = 0; tab < CMonitorDlg::kTabCount; ++tab) {
            if (PageShown(dlg->PageWindow(tab))) {
                if (shown != -1) return -2;  // more than one page in front
                shown = tab;
            }
        }
        return shown;
    }
    void Associate(const std::string& ssid, DWORD linkSpeed, DWORD signal) {
        mwtest::SetSim("Present", 1);
        mwtest::SetSim("Radio", 1);
        mwtest::SetSim("Associated", 1);
        mwtest::SetSimText("SSID", ssid);
        mwtest::SetSim("LinkSpeed", linkSpeed);
        mwtest::SetSim("Signal", signal);
    }

    mwtest::ShellSeams seams;
    std::unique_ptr<CMonitorDlg> dlg;
};

TEST_F(MainWindow, StartsHiddenWithTitleTabsAndOneTrayIcon) {
    Start();
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(g_bWindowShown);
    EXPECT_EQ(dlg->GetWindowText(), fw::res::String(IDS_PRODUCT));

    // The icon was added once, for this window, with the registered callback.
    ASSERT_EQ(ShellRecorder::Count(NIM_ADD), 1);
    const NOTIFYICONDATAA& added = ShellRecorder::calls.front().data;
    EXPECT_EQ(ShellRecorder::calls.front().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.cbSize, sizeof(void*) == 4 ? 488u : static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(added.hWnd, Hwnd());
    EXPECT_EQ(added.uID, 0u);
    EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.uCallbackMessage, ::RegisterWindowMessageA("WLAN_Monitor_regMsg"));

    // Five tabs in order, titled from the string table, pages in one place.
    const UINT titles[] = {IDS_TAB_CONFIG, IDS_TAB_LINK, IDS_TAB_IP, IDS_TAB_SURVEY, IDS_TAB_VERSION};
    ASSERT_EQ(dlg->TabCtrl().GetItemCount(), 5);
    const RECT client = dlg->TabCtrl().GetClientRect();
    for (int tab = 0; tab < 5; ++tab) {
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        dlg->TabCtrl().SendMessage(TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::string(text), fw::res::String(titles[tab])) << "tab " << tab;
        HWND page = dlg->PageWindow(tab);
        ASSERT_TRUE(page) << "tab " << tab;
        EXPECT_EQ(::GetParent(page), dlg->TabCtrl().GetSafeHwnd());
        RECT rc;
        ::GetWindowRect(page, &rc);
        ::MapWindowPoints(nullptr, dlg->TabCtrl().GetSafeHwnd(), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.left, 5);
        EXPECT_EQ(rc.top, 25);
        EXPECT_EQ(rc.right, client.right - 5);
        EXPECT_EQ(rc.bottom, client.bottom - 5);
    }
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabConfig);
}

TEST_F(MainWindow, TooltipAndIconFollowTheAdapterState) {
    mwtest::SetSim("Present", 0);
    Start();
    EXPECT_EQ(Tip(), "Network disable");
    EXPECT_TRUE(TrayIconIs(IDI_TRAY_DISCONNECTED));
    EXPECT_FALSE(dlg->RadioButton().IsWindowEnabled());
    EXPECT_EQ(dlg->AdapterList().GetCount(), 0);

    mwtest::SetSim("Present", 1);
    mwtest::SetSim("Radio", 0);
    Tick();
    EXPECT_EQ(Tip(), fw::res::String(IDS_RADIO_OFF));
    EXPECT_TRUE(TrayIconIs(IDI_TRAY_DISCONNECTED));
    EXPECT_EQ(dlg->RadioButton().GetState(), 0);
    EXPECT_EQ(dlg->RadioButton().GetWindowText(), fw::res::String(IDS_RADIO_OFF));

    mwtest::SetSim("Radio", 1);
    mwtest::SetSim("Associated", 0);
    Tick();
    EXPECT_EQ(Tip(), "Disconnected");
    EXPECT_TRUE(TrayIconIs(IDI_TRAY_DISCONNECTED));
    EXPECT_EQ(dlg->RadioButton().GetState(), 1);
    EXPECT_EQ(dlg->RadioButton().GetWindowText(), fw::res::String(IDS_RADIO_ON));

    Associate("Lab", 540000, 80);
    Tick();
    EXPECT_EQ(Tip(), "Connection:Lab\nSpeed:54 Mbps\nSignal strength:80%");
    EXPECT_TRUE(TrayIconIs(IDI_TRAY_CONNECTED));
    // Every change after the first tick modifies the icon it added.
    EXPECT_EQ(ShellRecorder::Count(NIM_ADD), 1);
    EXPECT_EQ(ShellRecorder::calls.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(ShellRecorder::calls.back().data.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP));

    // Ticks that change nothing leave the shell alone; the next change
    // reaches it within one tick.
    const int modifies = ShellRecorder::Count(NIM_MODIFY);
    Tick();
    Tick();
    EXPECT_EQ(ShellRecorder::Count(NIM_MODIFY), modifies);
    Associate("Lab", 540000, 81);
    Tick();
    EXPECT_EQ(Tip(), "Connection:Lab\nSpeed:54 Mbps\nSignal strength:81%");
    mwtest::SetSim("Associated", 0);
    Tick();
    EXPECT_EQ(Tip(), "Disconnected");
    EXPECT_TRUE(TrayIconIs(IDI_TRAY_DISCONNECTED));
    EXPECT_EQ(ShellRecorder::Count(NIM_MODIFY), modifies + 2);
}

TEST_F(MainWindow, SpeedIsWholeMbpsRoundedDownAndTheTooltipIsCut) {
    Associate("Lab", 19999, 5);
    Start();
    EXPECT_EQ(Tip(), "Connection:Lab\nSpeed:1 Mbps\nSignal strength:5%");
    mwtest::SetSim("LinkSpeed", 9999);
    Tick();
    EXPECT_EQ(Tip(), "Connection:Lab\nSpeed:0 Mbps\nSignal strength:5%");

    // A long network name: the shell gets the first 63 characters.
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    Associate(longName, 540000, 80);
    Tick();
    const std::string full = "Connection:" + longName + "\nSpeed:54 Mbps\nSignal strength:80%";
    ASSERT_GT(full.size(), 63u);
    EXPECT_EQ(Tip(), full.substr(0, 63));
    EXPECT_EQ(dlg->Tray()->Tip(), full);
}

TEST_F(MainWindow, RadioButtonAndMenuToggleTheRadioAndFollowIt) {
    Associate("Lab", 540000, 80);
    Start();
    Command(ID_TRAY_SHOW);
    ASSERT_EQ(dlg->RadioButton().GetState(), 1);

    // A click flips the button at once; the radio follows.
    dlg->RadioButton().SendMessage(BM_CLICK);
    mwtest::Pump();
    EXPECT_EQ(dlg->RadioButton().GetState(), 0);
    EXPECT_FALSE(theDevice.CheckRadio());
    Tick();
    EXPECT_EQ(dlg->RadioButton().GetState(), 0);
    EXPECT_EQ(Tip(), fw::res::String(IDS_RADIO_OFF));

    Command(ID_TRAY_RADIO);
    EXPECT_TRUE(theDevice.CheckRadio());
    Tick();
    EXPECT_EQ(dlg->RadioButton().GetState(), 1);

    // Another program switches it off: the next tick shows it.
    mwtest::SetSim("Radio", 0);
    Tick();
    EXPECT_EQ(dlg->RadioButton().GetState(), 0);
    EXPECT_EQ(dlg->RadioButton().GetWindowText(), fw::res::String(IDS_RADIO_OFF));
}

TEST_F(MainWindow, AdapterRemovedWhileShownHidesTheWindow) {
    Associate("Lab", 540000, 80);
    Start();
    Command(ID_TRAY_SHOW);
    ASSERT_TRUE(Visible());
    mwtest::SetSim("Present", 0);
    Tick();
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(g_bWindowShown);
    EXPECT_FALSE(g_bDeviceSeenOpen);
    EXPECT_EQ(Tip(), "Network disable");
    EXPECT_EQ(dlg->AdapterList().GetCount(), 0);
    EXPECT_FALSE(dlg->RadioButton().IsWindowEnabled());
}

TEST_F(MainWindow, AdapterInsertedLaterIsPickedUpByTheNextTick) {
    mwtest::SetSim("Present", 0);
    Start();
    CCommonPage& common = dlg->ConfigPage().CommonPage();
    HWND channels = ::GetDlgItem(common.GetSafeHwnd(), IDC_COMMON_CHANNEL);
    ASSERT_TRUE(channels);
    auto channelCount = [&] { return ::SendMessageA(channels, CB_GETCOUNT, 0, 0); };
    EXPECT_EQ(channelCount(), 1);  // "auto" only: no adapter, no channels
    EXPECT_EQ(common.NetTypeList().GetEnabledTypes(), 0u);

    mwtest::SetSim("Present", 1);
    mwtest::SetSimText("Channels", "1,6,11");
    mwtest::SetSim("NetMask", 0x0C);
    Tick();
    ASSERT_EQ(dlg->AdapterList().GetCount(), 1);
    EXPECT_EQ(dlg->AdapterList().GetLBText(0), fw::res::String(IDS_ADAPTER));
    EXPECT_EQ(dlg->AdapterList().GetCurSel(), 0);
    EXPECT_TRUE(dlg->RadioButton().IsWindowEnabled());
    // Ad hoc: the adapter's types less 802.11g Turbo.
    EXPECT_EQ(common.NetTypeList().GetEnabledTypes(), 0x0Cu);
    ASSERT_EQ(channelCount(), 4);
    char text[16] = {};
    ::SendMessageA(channels, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "11");
    EXPECT_EQ(::SendMessageA(channels, CB_GETITEMDATA, 3, 0), 11);
    EXPECT_NE(Tip(), "Network disable");

    // Now the tray can open the window.
    TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(g_bWindowShown);
}

// A device library that serves adapters of any name describes the one it
// opened; the adapter list shows that description, opened now or later.
const char* LabAdapter() { return theDevice.IsOpen() ? "Lab Wireless Adapter 11n" : nullptr; }

TEST_F(MainWindow, TheAdapterListShowsTheLibrarysDescriptionOfTheOpenedAdapter) {
    g_pfnAdapterDescription = &LabAdapter;
    Start();
    ASSERT_EQ(dlg->AdapterList().GetCount(), 1);
    EXPECT_EQ(dlg->AdapterList().GetLBText(0), "Lab Wireless Adapter 11n");

    mwtest::SetSim("Present", 0);
    Tick();
    EXPECT_EQ(dlg->AdapterList().GetCount(), 0);
    mwtest::SetSim("Present", 1);
    Tick();
    ASSERT_EQ(dlg->AdapterList().GetCount(), 1);
    EXPECT_EQ(dlg->AdapterList().GetLBText(0), "Lab Wireless Adapter 11n");
}

TEST_F(MainWindow, DoubleClickDoesNothingWhileTheAdapterWasNeverSeen) {
    mwtest::SetSim("Present", 0);
    Start();
    TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(Visible());
    TrayEvent(WM_MOUSEMOVE);  // the installed do-nothing handler
    EXPECT_FALSE(Visible());
}

TEST_F(MainWindow, EnterKeepsTheWindowAndEveryWayOfClosingOnlyHidesIt) {
    Start();
    Command(ID_TRAY_SHOW);
    ASSERT_TRUE(Visible());

    MSG enter = {Hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    ::IsDialogMessageA(Hwnd(), &enter);
    mwtest::Pump();
    EXPECT_TRUE(Visible());

    MSG escape = {Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    ::IsDialogMessageA(Hwnd(), &escape);
    mwtest::Pump();
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(g_bWindowShown);

    Command(ID_TRAY_SHOW);
    ::SendMessageA(Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    mwtest::Pump();
    EXPECT_FALSE(Visible());

    Command(ID_TRAY_SHOW);
    ::SendMessageA(Hwnd(), WM_CLOSE, 0, 0);  // what another program sends
    mwtest::Pump();
    EXPECT_FALSE(Visible());

    Command(ID_TRAY_SHOW);
    ::SendMessageA(::GetDlgItem(Hwnd(), IDC_EXIT), BM_CLICK, 0, 0);
    mwtest::Pump();
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(g_bWindowShown);
    EXPECT_TRUE(::IsWindow(Hwnd()));
    EXPECT_EQ(ShellRecorder::Count(NIM_DELETE), 0);
}

TEST_F(MainWindow, TrayMenuEnablesShowAndHideByWindowAndAdapter) {
    struct Expect {
        bool show, hide;
    };
    auto check = [&](Expect expected, const char* when) {
        OpenTrayMenu();
        ASSERT_EQ(MenuRecorder::items.size(), 4u) << when;
        EXPECT_EQ(MenuRecorder::Find(ID_TRAY_SHOW)->enabled, expected.show) << when;
        EXPECT_EQ(MenuRecorder::Find(ID_TRAY_HIDE)->enabled, expected.hide) << when;
        EXPECT_TRUE(MenuRecorder::Find(ID_TRAY_RADIO)->enabled) << when;
        EXPECT_TRUE(MenuRecorder::Find(ID_TRAY_EXIT)->enabled) << when;
    };
    Start();  // adapter present (the simulator's default)
    check({true, false}, "hidden, adapter seen");
    Command(ID_TRAY_SHOW);
    check({false, true}, "shown, adapter seen");
    mwtest::SetSim("Present", 0);
    Tick();
    check({false, false}, "hidden, adapter gone");
    Command(ID_TRAY_SHOW);
    check({false, true}, "shown, adapter gone");
    EXPECT_EQ(MenuRecorder::flags, static_cast<UINT>(TPM_BOTTOMALIGN | TPM_CENTERALIGN));
}

TEST_F(MainWindow, TrayMenuListsTheStoredProfilesAndAppliesTheChosenOne) {
    mwtest::AddProfile("Home", "home-net");
    mwtest::AddProfile("Office 100%", "office-net");
    mwtest::AddProfile("Cafe", "cafe-net");
    testsupport::WriteString(HKEY_LOCAL_MACHINE, mwtest::ProfilesKey(), "profile", "Home");
    Start();
    EXPECT_EQ(dlg->m_strProfile, "Home");

    const std::vector<std::string> stored = mwtest::StoredProfileNames();
    ASSERT_EQ(stored.size(), 3u);
    OpenTrayMenu();
    ASSERT_EQ(MenuRecorder::items.size(), 7u);
    UINT officeId = 0;
    for (size_t i = 0; i < stored.size(); ++i) {
        // The store's order, top down; the last one has the lowest id.
        const mwtest::MenuItem& item = MenuRecorder::items[i];
        EXPECT_EQ(item.text, stored[i]);
        EXPECT_EQ(item.id, ID_TRAY_PROFILE_FIRST + stored.size() - 1 - i);
        EXPECT_TRUE(item.enabled);
        EXPECT_EQ(item.marked, stored[i] == "Home") << stored[i];
        if (stored[i] == "Office 100%") officeId = item.id;
    }
    EXPECT_EQ(MenuRecorder::items[3].id, static_cast<UINT>(ID_TRAY_RADIO));
    EXPECT_EQ(MenuRecorder::items[6].id, static_cast<UINT>(ID_TRAY_EXIT));

    // Choosing a profile applies it by its literal name.
    OpenTrayMenu(officeId);
    EXPECT_EQ(mwtest::LastCommittedProfile(), "Office 100%");
    EXPECT_EQ(dlg->m_strProfile, "Office 100%");
    EXPECT_EQ(dlg->ConfigPage().SelectedProfileName(), "Office 100%");
    EXPECT_EQ(dlg->TabCtrl().GetCurSel(), CMonitorDlg::kTabLink);
    std::string remembered;
    CProfileStore store;
    ASSERT_TRUE(store.ReadLastProfile(remembered));
    EXPECT_EQ(remembered, "Office 100%");

    OpenTrayMenu();
    EXPECT_TRUE(MenuRecorder::Find(officeId)->marked);
}

TEST_F(MainWindow, TrayMenuFollowsTheStoreAndNeverAppliesAVanishedProfile) {
    mwtest::AddProfile("Home", "home-net");
    Start();
    // Added after start: the next menu has it, and choosing it works.
    mwtest::AddProfile("Later", "later-net");
    OpenTrayMenu();
    UINT laterId = 0, homeId = 0;
    for (const mwtest::MenuItem& item : MenuRecorder::items) {
        if (item.text == "Later") laterId = item.id;
        if (item.text == "Home") homeId = item.id;
    }
    ASSERT_NE(laterId, 0u);
    ASSERT_NE(homeId, 0u);
    Command(laterId);
    EXPECT_EQ(mwtest::LastCommittedProfile(), "Later");

    // Renamed behind the program's back: the next menu has the new name.
    mwtest::DeleteProfile("Later");
    mwtest::AddProfile("Renamed", "later-net");
    OpenTrayMenu();
    bool renamed = false, old = false;
    for (const mwtest::MenuItem& item : MenuRecorder::items) {
        renamed = renamed || item.text == "Renamed";
        old = old || item.text == "Later";
    }
    EXPECT_TRUE(renamed);
    EXPECT_FALSE(old);

    // Deleted between the menu and the command: nothing is applied.
    OpenTrayMenu();
    mwtest::DeleteProfile("Home");
    Command(homeId);
    EXPECT_EQ(mwtest::LastCommittedProfile(), "Later");
    EXPECT_EQ(dlg->m_strProfile, "Later");
}

TEST_F(MainWindow, EveryProfileTheStoreCanHoldGetsAWorkingEntry) {
    char name[16];
    for (int i = 0; i < 32; ++i) {
        std::snprintf(name, sizeof(name), "P%02d", i);
        mwtest::AddProfile(name, name);
    }
    Start();
    OpenTrayMenu();
    ASSERT_EQ(MenuRecorder::items.size(), 30u + 4u);
    const std::vector<std::string> stored = mwtest::StoredProfileNames();
    // The first 30 in the store's order, with ids 32812 down to 32783.
    EXPECT_EQ(MenuRecorder::items.front().id, 32812u);
    EXPECT_EQ(MenuRecorder::items.front().text, stored[0]);
    EXPECT_EQ(MenuRecorder::items[29].id, 32783u);
    EXPECT_EQ(MenuRecorder::items[29].text, stored[29]);
    for (size_t i = 0; i < 30; ++i) EXPECT_EQ(MenuRecorder::items[i].id, 32812u - i);

    OpenTrayMenu(32812);
    EXPECT_EQ(mwtest::LastCommittedProfile(), stored[0]);
}

TEST_F(MainWindow, SuspendHidesAndStopsPollingResumeStartsAgain) {
    Start();
    Command(ID_TRAY_SHOW);
    ASSERT_TRUE(theDevice.IsOpen());
    ::SendMessageA(Hwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(g_bWindowShown);
    EXPECT_FALSE(theDevice.IsOpen());
    // The tray shows only changes: a change while suspended must not show.
    ShellRecorder::calls.clear();
    mwtest::SetSim("Associated", 0);
    mwtest::Pump(1300);
    EXPECT_TRUE(ShellRecorder::calls.empty()) << "the poll timer still runs";

    ::SendMessageA(Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(theDevice.IsOpen());
    mwtest::Pump(1300);
    EXPECT_GE(ShellRecorder::Count(NIM_MODIFY), 1);
    EXPECT_EQ(Tip(), "Disconnected");
}

TEST_F(MainWindow, AnEncryptedSurveyedNetworkConnectsOnceItsKeyIsEntered) {
    mwtest::AddProfile("DEFAULT", "ANY");
    Start();
    theDevice.InitSiteSurvey();
    ASSERT_TRUE(testsupport::WaitFor([] { return theDevice.QuerySiteSurvey(); }, 2000));
    Command(ID_TRAY_SHOW);

    // The survey's double click on 0, "HomeNet" (encrypted, infrastructure).
    ::SendMessageA(Hwnd(), WM_SITE_CHOSEN, 0, 0);
    CConfigPage& config = dlg->ConfigPage();
    CSecurityPage& security = config.SecurityPage();
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabConfig);
    ASSERT_NE(config.FrontSubPage(), nullptr);
    EXPECT_EQ(config.FrontSubPage()->GetKind(), CSubPage::kSecurity);
    EXPECT_TRUE(security.IsSecurityOn());
    EXPECT_EQ(mwtest::LastCommittedProfile(), "");

    // WPA-PSK, a key too short and then long enough, Apply.
    HWND types = security.GetDlgItem(IDC_SEC_AUTH);
    ::SendMessageA(types, CB_SETCURSEL, 1, 0);
    ::SendMessageA(security, WM_COMMAND, MAKEWPARAM(IDC_SEC_AUTH, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    HWND psk = security.WpaPskDialog().GetDlgItem(IDC_WPA_PSK);
    ASSERT_TRUE(PageShown(security.WpaPskDialog()));
    ::SetWindowTextA(psk, "short");
    EXPECT_FALSE(::IsWindowEnabled(config.GetDlgItem(IDC_CFG_APPLY)));
    ::SetWindowTextA(psk, "long enough key");
    ASSERT_TRUE(::IsWindowEnabled(config.GetDlgItem(IDC_CFG_APPLY)));
    ::SendMessageA(config.GetDlgItem(IDC_CFG_APPLY), BM_CLICK, 0, 0);
    mwtest::Pump();

    EXPECT_EQ(mwtest::LastCommittedProfile(), "DEFAULT");
    DWORD associated = 0;
    ASSERT_TRUE(testsupport::ReadDword(HKEY_CURRENT_USER, "Software\\NicportSim", "Associated", associated));
    EXPECT_EQ(associated, 1u);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabLink);
    ::SendMessageA(dlg->PageWindow(CMonitorDlg::kTabLink), WM_TIMER, 1, 0);
    char ssid[64] = {};
    ::GetDlgItemTextA(dlg->PageWindow(CMonitorDlg::kTabLink), IDC_LINK_SSID, ssid, sizeof(ssid));
    EXPECT_STREQ(ssid, "HomeNet");
    Tick();
    EXPECT_EQ(Tip().rfind("Connection:HomeNet", 0), 0u) << Tip();
}

TEST_F(MainWindow, PagesAreSwitchedByTabsAndByThePagesMessages) {
    Start();
    Command(ID_TRAY_SHOW);
    dlg->TabCtrl().SendMessage(TCM_SETCURFOCUS, CMonitorDlg::kTabSurvey);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabSurvey);

    // An index the survey does not have: the configuration tab comes
    // forward and nothing is applied.
    ::SendMessageA(Hwnd(), WM_SITE_CHOSEN, 999, 0);
    EXPECT_EQ(dlg->TabCtrl().GetCurSel(), CMonitorDlg::kTabConfig);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabConfig);

    ::SendMessageA(Hwnd(), WM_PROFILE_APPLIED, 0, 0);
    EXPECT_EQ(dlg->TabCtrl().GetCurSel(), CMonitorDlg::kTabLink);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabLink);

    // The survey's networks reach the common page's name list.
    HWND names = ::GetDlgItem(dlg->ConfigPage().CommonPage(), IDC_COMMON_SSID);
    ::SendMessageA(names, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(Hwnd(), WM_SITES_UPDATED, 0, 0);
    EXPECT_GT(::SendMessageA(names, CB_GETCOUNT, 0, 0), 0);
}

// The control that has the keyboard focus (a drop-down combo box's edit
// stands for its combo box).
HWND FocusedControl() {
    HWND focus = ::GetFocus();
    char cls[32] = "";
    HWND parent = focus ? ::GetParent(focus) : nullptr;
    if (parent && ::GetClassNameA(parent, cls, sizeof cls) && lstrcmpiA(cls, "ComboBox") == 0) return parent;
    return focus;
}

// Presses Tab in the main window the way the dialog manager sees it until
// the focus is back where it started (at most `limit` times); the controls
// it visited, in order.
std::vector<HWND> TabWalk(HWND main, int limit = 60) {
    const HWND start = FocusedControl();
    std::vector<HWND> walk;
    for (int i = 0; i < limit; ++i) {
        MSG tab = {::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        ::IsDialogMessageA(main, &tab);
        walk.push_back(FocusedControl());
        if (walk.back() == start) break;
    }
    return walk;
}

// Every one of `ids` on `page` that a user can see and use is among `walk`
// (the channel, for one, shows only in ad hoc mode).
void ExpectReached(const std::vector<HWND>& walk, HWND page, std::initializer_list<int> ids) {
    for (int id : ids) {
        HWND control = ::GetDlgItem(page, id);
        ASSERT_NE(control, nullptr) << id;
        if (!::IsWindowEnabled(control) || !::IsWindowVisible(control)) continue;
        EXPECT_NE(std::find(walk.begin(), walk.end(), control), walk.end()) << "control " << id << " never had the focus";
    }
}

TEST_F(MainWindow, TabWalksThroughTheShownPageAndTheFrontSubPage) {
    Start();
    Command(ID_TRAY_SHOW);
    ASSERT_EQ(ShownPage(), CMonitorDlg::kTabConfig);
    const HWND config = dlg->PageWindow(CMonitorDlg::kTabConfig);
    const HWND profiles = ::GetDlgItem(config, IDC_CFG_PROFILE_LIST);
    ::SetFocus(profiles);

    // Round the page, the common sub-page inside its tabs, the main window's
    // buttons, and back into the page through the main window's tabs.
    std::vector<HWND> walk = TabWalk(Hwnd());
    ASSERT_FALSE(walk.empty());
    EXPECT_EQ(walk.back(), profiles);
    ExpectReached(walk, config, {IDC_CFG_NEW, IDC_CFG_SAVE, IDC_CFG_DELETE, IDC_CFG_APPLY});
    ExpectReached(walk, dlg->ConfigPage().CommonPage(),
                  {IDC_COMMON_SSID, IDC_COMMON_MODE, IDC_COMMON_RATE, IDC_COMMON_CHANNEL, IDC_COMMON_POWERSAVE});
    ExpectReached(walk, Hwnd(), {IDC_RADIO, IDC_EXIT});
    // Only what the user can see: no hidden page, sub-page or field.
    for (HWND control : walk) EXPECT_TRUE(::IsWindowVisible(control)) << ::GetDlgCtrlID(control);

    // Another sub-page in front: its controls are the ones reached.
    HWND subTabs = ::GetDlgItem(config, IDC_CFG_TAB);
    ::SendMessageA(subTabs, TCM_SETCURFOCUS, 2, 0);
    ASSERT_EQ(dlg->ConfigPage().FrontSubPage(), &dlg->ConfigPage().AdvancedPage());
    ::SetFocus(profiles);
    walk = TabWalk(Hwnd());
    EXPECT_EQ(walk.back(), profiles);
    ExpectReached(walk, dlg->ConfigPage().AdvancedPage(),
                  {IDC_ADV_RTS, IDC_ADV_FRAG, IDC_ADV_PREAMBLE, IDC_ADV_SET_DEFAULT});
    const HWND ssid = ::GetDlgItem(dlg->ConfigPage().CommonPage(), IDC_COMMON_SSID);
    EXPECT_EQ(std::find(walk.begin(), walk.end(), ssid), walk.end());

    // Shift+Tab walks back from the page's first control to the main
    // window's last one.
    ::SetFocus(profiles);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    MSG back = {profiles, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    ::IsDialogMessageA(Hwnd(), &back);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(FocusedControl(), ::GetDlgItem(Hwnd(), IDC_ADAPTER_LIST));
}

// Presses `key` with the given modifiers held, as the dialog manager sees it.
void PressWith(HWND main, WPARAM key, bool control, bool shift) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG press = {::GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
    ::IsDialogMessageA(main, &press);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
}

// The tab rows are not Tab stops: Ctrl+Tab steps through the pages and
// Ctrl+PgDn/PgUp through the configuration sub-pages, the focus following
// into the page brought forward.
TEST_F(MainWindow, CtrlTabSwitchesPagesAndCtrlPageKeysTheSubPages) {
    Start();
    Command(ID_TRAY_SHOW);
    const HWND config = dlg->PageWindow(CMonitorDlg::kTabConfig);
    ::SetFocus(::GetDlgItem(config, IDC_CFG_PROFILE_LIST));

    PressWith(Hwnd(), VK_TAB, true, false);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabLink);
    EXPECT_TRUE(::IsChild(dlg->PageWindow(CMonitorDlg::kTabLink), ::GetFocus()));
    PressWith(Hwnd(), VK_TAB, true, true);
    PressWith(Hwnd(), VK_TAB, true, true);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabVersion);
    PressWith(Hwnd(), VK_TAB, true, false);
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabConfig);
    EXPECT_EQ(FocusedControl(), ::GetDlgItem(config, IDC_CFG_PROFILE_LIST));

    PressWith(Hwnd(), VK_NEXT, true, false);
    EXPECT_EQ(dlg->ConfigPage().FrontSubPage(), &dlg->ConfigPage().SecurityPage());
    PressWith(Hwnd(), VK_PRIOR, true, false);
    PressWith(Hwnd(), VK_PRIOR, true, false);
    EXPECT_EQ(dlg->ConfigPage().FrontSubPage(), &dlg->ConfigPage().AdvancedPage());
    EXPECT_EQ(ShownPage(), CMonitorDlg::kTabConfig);

    // Without Ctrl the keys are the dialog manager's as ever.
    PressWith(Hwnd(), VK_NEXT, false, false);
    EXPECT_EQ(dlg->ConfigPage().FrontSubPage(), &dlg->ConfigPage().AdvancedPage());
}

// `text` in the code page the A functions use.
std::string Ansi(const wchar_t* text) {
    char buf[512] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

std::string TabTitle(HWND tabs, int tab) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string TextOf(HWND page, int id) {
    char text[128] = {};
    ::GetWindowTextA(::GetDlgItem(page, id), text, sizeof text);
    return text;
}

// Monitor_de.dll as the resource module: the window, its tabs, the pages'
// labels, the tray tooltips and the tray menu in German; hidden fields stay
// hidden and the tooltip's numbers are filled in as in English.
TEST_F(MainWindow, GermanModuleSpeaksGermanEverywhere) {
    HMODULE german = ::LoadLibraryExA("Monitor_de.dll", nullptr, 0);
    ASSERT_NE(german, nullptr);
    fw::res::SetModule(german);
    theApp.m_hResModule = german;
    struct Restore {
        HMODULE module;
        ~Restore() {
            fw::res::SetModule(nullptr);
            theApp.m_hResModule = nullptr;
            ::FreeLibrary(module);
        }
    } restore{german};

    mwtest::SetSim("Present", 0);
    Start();
    EXPECT_EQ(dlg->GetWindowText(), "Wavelume");
    EXPECT_EQ(Tip(), "Netzwerk deaktiviert");
    mwtest::SetSim("Present", 1);
    mwtest::SetSim("Radio", 0);
    Tick();
    EXPECT_EQ(Tip(), "Funk aus");
    mwtest::SetSim("Radio", 1);
    mwtest::SetSim("Associated", 0);
    Tick();
    EXPECT_EQ(Tip(), "Nicht verbunden");
    Associate("Lab", 540000, 80);
    Tick();
    EXPECT_EQ(Tip(), Ansi(L"Verbindung:Lab\nGeschwindigkeit:54 Mbit/s\nSignalst\u00e4rke:80%"));

    const char* const titles[] = {"Konfiguration", "Verbindung", "IP-Daten", "Netzsuche", "Version"};
    for (int tab = 0; tab < CMonitorDlg::kTabCount; ++tab)
        EXPECT_EQ(TabTitle(dlg->TabCtrl().GetSafeHwnd(), tab), titles[tab]) << tab;
    const HWND config = dlg->PageWindow(CMonitorDlg::kTabConfig);
    const HWND subTabs = ::GetDlgItem(config, IDC_CFG_TAB);
    EXPECT_EQ(TabTitle(subTabs, 0), "Allgemein");
    EXPECT_EQ(TabTitle(subTabs, 1), "Sicherheit");
    EXPECT_EQ(TabTitle(subTabs, 2), "Erweitert");
    EXPECT_EQ(TextOf(dlg->ConfigPage().CommonPage(), IDC_COMMON_RATE_LABEL), Ansi(L"\u00dcbertragungsrate:"));
    const HWND link = dlg->PageWindow(CMonitorDlg::kTabLink);
    EXPECT_EQ(TextOf(link, IDC_LINK_SSID_LABEL), "Netzwerkname");
    EXPECT_EQ(TextOf(Hwnd(), IDC_EXIT), "Beenden");
    EXPECT_EQ(TextOf(dlg->ConfigPage().SecurityPage().WepDialog(), IDC_WEP_AUTH_LABEL), "Authentifizierung:");
    // "none" texts keep their fields hidden, as the program's own table does.
    EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(link, IDC_LINK_RXRATE), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(dlg->ConfigPage().CommonPage(), IDC_COMMON_NETTYPE), GWL_STYLE) &
                 WS_VISIBLE);

    OpenTrayMenu();
    ASSERT_NE(MenuRecorder::Find(ID_TRAY_EXIT), nullptr);
    EXPECT_EQ(MenuRecorder::Find(ID_TRAY_RADIO)->text, "Funk ein/aus");
    EXPECT_EQ(MenuRecorder::Find(ID_TRAY_SHOW)->text, "Anzeigen");
    EXPECT_EQ(MenuRecorder::Find(ID_TRAY_HIDE)->text, "Ausblenden");
    EXPECT_EQ(MenuRecorder::Find(ID_TRAY_EXIT)->text, "Beenden");
}

struct HelpCall {
    int calls = 0;
    HWND owner = nullptr;
    std::string file;
    UINT command = 0;
    DWORD_PTR data = 1;
};
HelpCall g_help;

HWND WINAPI RecordHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
    ++g_help.calls;
    g_help.owner = owner;
    g_help.file = file;
    g_help.command = command;
    g_help.data = data;
    return nullptr;
}

TEST_F(MainWindow, HelpOpensTheChmBesideTheProgramAtItsIndex) {
    g_help = HelpCall();
    g_pfnHtmlHelpOverride = &RecordHelp;
    Start();
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string expected = path;
    std::transform(expected.begin(), expected.end(), expected.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    expected.replace(expected.rfind(".exe"), 4, ".chm");

    Command(ID_HELP_INDEX);
    EXPECT_EQ(g_help.calls, 1);
    EXPECT_EQ(g_help.file, expected);
    EXPECT_EQ(g_help.command, 0x0002u);  // HH_DISPLAY_INDEX
    EXPECT_EQ(g_help.data, 0u);
    EXPECT_EQ(g_help.owner, Hwnd());

    // The Help button's command is not the window's: it reaches the
    // application, which opens the same file.
    Command(ID_TRAY_SHOW);
    ::SendMessageA(::GetDlgItem(Hwnd(), IDC_HELP_BUTTON), BM_CLICK, 0, 0);
    mwtest::Pump();
    EXPECT_EQ(g_help.calls, 2);
    EXPECT_EQ(g_help.file, expected);
}

TEST_F(MainWindow, ShellRestartAddsTheIconAgainAndExitRemovesIt) {
    Start();
    const int adds = ShellRecorder::Count(NIM_ADD);
    ::SendMessageA(Hwnd(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(ShellRecorder::Count(NIM_ADD), adds + 1);

    const HWND hwnd = Hwnd();
    Command(ID_TRAY_EXIT);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(dlg->Tray(), nullptr);
    ASSERT_EQ(ShellRecorder::Count(NIM_DELETE), 1);
    EXPECT_EQ(ShellRecorder::calls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(ShellRecorder::calls.back().data.hWnd, hwnd);
    EXPECT_EQ(ShellRecorder::calls.back().data.uID, 0u);
}

TEST_F(MainWindow, SecondWindowOfTheSameTitleHandsOverAndGoes) {
    Start();
    CMonitorDlg second;
    EXPECT_FALSE(second.Create(nullptr) && ::IsWindow(second.GetSafeHwnd()));
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));  // shown, not activated
    EXPECT_FALSE(g_bWindowShown);
    EXPECT_EQ(second.Tray(), nullptr);
}

}  // namespace
