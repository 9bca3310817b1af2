#include "mainwnd/MonitorDlg.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/AdapterText.h"
#include "app/Help.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

bool g_bDeviceSeenOpen = false;
bool g_bWindowShown = false;
bool g_bFirstShow = true;

namespace {
const UINT_PTR kPollTimer = 1;
const UINT kPollMs = 1000;
// The tray texts, unless the resource module has its own (older modules do not).
const char kNoAdapterTip[] = "Network disable";
const char kDisconnectedTip[] = "Disconnected";
const char kConnectedTipFormat[] = "Connection:%s\nSpeed:%lu Mbps\nSignal strength:%u%%";
// Link speed comes in units of 100 bit/s.
const unsigned long kLinkSpeedPerMbps = 10000;
// Longest network name taken from the device library (it owns the text and
// may not terminate it where it should).
const size_t kMaxSsidRead = 255;
const int kButtonIconSize = 18;

std::string TipText(UINT id, const char* fallback) {
    std::string text;
    return fw::res::TryLoadString(id, text) && !text.empty() ? text : fallback;
}

// A connected tip's format from a resource module is taken only when its
// conversions are the program's own in the same order: %s, %lu, %u (%% aside).
bool IsConnectedTipFormat(const std::string& format) {
    static const char* const kConversions[] = {"s", "lu", "u"};
    size_t seen = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (format.compare(i + 1, 1, "%") == 0) {
            ++i;
            continue;
        }
        if (seen == 3) return false;
        const std::string conversion = kConversions[seen++];
        if (format.compare(i + 1, conversion.size(), conversion) != 0) return false;
        i += conversion.size();
    }
    return seen == 3;
}

// Keyboard switching of the tabs. The tab controls are control parents, so
// Tab walks into the page in front and never stops on a tab row; instead
// Ctrl+Tab and Ctrl+Shift+Tab step through the main window's tabs and
// Ctrl+PgDn and Ctrl+PgUp through the configuration page's sub-tabs. The
// dialog manager offers every message to the thread's message filter before
// it handles it, modal loop or not.
HHOOK g_hTabKeysHook = nullptr;
HWND g_hTabKeysWindow = nullptr;

// Selects the neighbouring tab the way a click does (the parent hears the
// change) and puts the focus on the first control of the page now in
// front, or on the tab row when that page has none.
void StepTab(HWND dialog, HWND tabs, bool back) {
    const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (count < 2) return;
    const int current = static_cast<int>(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    ::SendMessageA(tabs, TCM_SETCURFOCUS, (current + (back ? count - 1 : 1)) % count, 0);
    HWND target = tabs;
    for (HWND page = ::GetWindow(tabs, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(page)) continue;
        HWND first = ::GetNextDlgTabItem(page, nullptr, FALSE);
        if (first && ::IsChild(page, first)) target = first;
        break;
    }
    ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

LRESULT CALLBACK TabKeysFilter(int code, WPARAM wp, LPARAM lp) {
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    const HWND dialog = g_hTabKeysWindow;
    if (code == MSGF_DIALOGBOX && msg && msg->message == WM_KEYDOWN && dialog && ::GetKeyState(VK_CONTROL) < 0 &&
        (msg->hwnd == dialog || ::IsChild(dialog, msg->hwnd))) {
        HWND tabs = nullptr;
        bool back = false;
        if (msg->wParam == VK_TAB) {
            tabs = ::GetDlgItem(dialog, IDC_TAB);
            back = ::GetKeyState(VK_SHIFT) < 0;
        } else if (msg->wParam == VK_NEXT || msg->wParam == VK_PRIOR) {
            for (HWND page = ::GetWindow(::GetDlgItem(dialog, IDC_TAB), GW_CHILD); page && !tabs;
                 page = ::GetWindow(page, GW_HWNDNEXT)) {
                if (::IsWindowVisible(page)) tabs = ::GetDlgItem(page, IDC_CFG_TAB);
            }
            back = msg->wParam == VK_PRIOR;
        }
        if (tabs) {
            StepTab(dialog, tabs, back);
            return 1;
        }
    }
    return ::CallNextHookEx(g_hTabKeysHook, code, wp, lp);
}

void SetMenuItemEnabled(HMENU menu, UINT command, bool enabled) {
    ::EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
}
}  // namespace

BEGIN_MESSAGE_TABLE(CMonitorDlg, fw::CDialog)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindowMessage)
    ON_MESSAGE(WM_SITES_UPDATED, OnSitesUpdated)
    ON_MESSAGE(WM_SITE_CHOSEN, OnSiteChosen)
    ON_MESSAGE(WM_PROFILE_APPLIED, OnProfileApplied)
    ON_MESSAGE(WM_DESTROY, OnDestroyMessage)
    ON_NOTIFY(TCN_SELCHANGING, IDC_TAB, OnTabChanging)
    ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, OnTabChange)
    ON_COMMAND(IDC_RADIO, OnToggleRadio)
    ON_COMMAND(ID_TRAY_RADIO, OnToggleRadio)
    ON_COMMAND(ID_TRAY_SHOW, OnShow)
    ON_COMMAND(ID_TRAY_HIDE, OnHide)
    ON_COMMAND(IDC_EXIT, OnHide)
    ON_COMMAND(ID_TRAY_EXIT, OnExit)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
    ON_COMMAND_RANGE(kFirstProfileCommand, kLastProfileCommand, OnProfileCommand)
END_MESSAGE_TABLE()

CMonitorDlg::CMonitorDlg() : fw::CDialog(IDD_MAIN), m_configPage(*this), m_windowIcon(fw::res::LoadIconImage(IDI_APP)) {}

CMonitorDlg::~CMonitorDlg() {
    // The pages and buttons are members: the window goes while they exist.
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CMonitorDlg::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_ADAPTER_LIST, m_adapterList);
    fw::DDX_Control(dx, IDC_TAB, m_tab);
    fw::DDX_Control(dx, IDC_RADIO, m_radioButton);
    fw::DDX_Control(dx, IDC_EXIT, m_exitButton);
    fw::DDX_Control(dx, IDC_HELP_BUTTON, m_helpButton);
}

BOOL CMonitorDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_windowIcon.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_windowIcon.get()));

    m_radioOffIcon.reset(fw::res::LoadIconImage(IDI_RADIO_OFF, kButtonIconSize, kButtonIconSize));
    m_radioOnIcon.reset(fw::res::LoadIconImage(IDI_RADIO_ON, kButtonIconSize, kButtonIconSize));
    m_helpIcon.reset(fw::res::LoadIconImage(IDI_HELP_BOOK, kButtonIconSize, kButtonIconSize));
    m_exitIcon.reset(fw::res::LoadIconImage(IDI_EXIT, kButtonIconSize, kButtonIconSize));
    m_radioButton.SetUp(fw::res::String(IDS_RADIO_OFF), fw::res::String(IDS_RADIO_ON), m_radioOffIcon.get(),
                        m_radioOnIcon.get(), true);
    const std::string help = fw::res::String(IDS_HELP);
    m_helpButton.SetUp(help, help, m_helpIcon.get(), nullptr, false);
    const std::string exit = fw::res::String(IDS_EXIT);
    m_exitButton.SetUp(exit, exit, m_exitIcon.get(), nullptr, false);

    const std::string title = fw::res::String(IDS_PRODUCT);
    SetWindowText(title);

    m_strAdapter = fw::res::String(IDS_ADAPTER);
    if (theDevice.Open(m_strAdapter.c_str(), m_nOpenValue)) ListOpenAdapter();

    CreatePages();
    if (!g_hTabKeysHook) {
        g_hTabKeysWindow = m_hWnd;
        g_hTabKeysHook = ::SetWindowsHookExA(WH_MSGFILTER, TabKeysFilter, nullptr, ::GetCurrentThreadId());
    }
    m_tab.SetCurSel(kTabConfig);
    ShowPage(kTabConfig, true);
    m_strProfile = m_configPage.SelectedProfileName();

    // Another instance's window carries the same title: hand over to it.
    // This window takes another title for the search, or it would find itself.
    SetWindowText("-");
    HWND other = ::FindWindowA(nullptr, title.c_str());
    SetWindowText(title);
    if (other) {
        ::ShowWindow(other, SW_SHOWNA);
        DestroyWindow();
        return TRUE;
    }

    m_pTray = std::make_unique<CTrayIconEx>();
    m_pTray->Create(m_hWnd, 0, 0, nullptr, nullptr);
    m_pTray->SetMenu(theApp.m_hResModule, IDR_TRAY_MENU);
    m_pTray->onLButtonDblClk = &CMonitorDlg::OnActivateTray;
    m_pTray->onPrepareMenu = &CMonitorDlg::OnPrepareTrayMenu;
    m_pTray->onMouseMove = &CMonitorDlg::OnTrayMouseMove;

    Tick();
    SetTimer(kPollTimer, kPollMs);
    return TRUE;
}

void CMonitorDlg::CreatePages() {
    HWND tab = m_tab.GetSafeHwnd();
    // The pages are children of the tab control. As a control parent the
    // dialog manager looks into it, so Tab and the arrow keys reach the
    // shown page's controls (hidden pages are skipped); the pages themselves
    // are DS_CONTROL templates and control parents already.
    ::SetWindowLongA(tab, GWL_EXSTYLE, ::GetWindowLongA(tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    // Created in this order; each loads its title while it initialises.
    m_configPage.Create(tab);
    m_linkPage.Create(tab);
    m_versionPage.Create(tab);
    m_ipPage.Create(tab);
    m_surveyPage.Create(tab);

    CPage* pages[kTabCount] = {&m_configPage, &m_linkPage, &m_ipPage, &m_surveyPage, &m_versionPage};
    for (int i = 0; i < kTabCount; ++i) {
        m_tab.InsertItem(i, pages[i]->Title());
        m_hPage[i] = pages[i]->GetSafeHwnd();
    }

    const RECT client = m_tab.GetClientRect();
    const RECT area = {5, 25, client.right - 5, client.bottom - 5};
    for (HWND page : m_hPage) {
        if (page) ::MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
}

void CMonitorDlg::ShowPage(int tab, bool show) {
    HWND page = PageWindow(tab);
    if (page) ::ShowWindow(page, show ? SW_SHOW : SW_HIDE);
}

void CMonitorDlg::SwitchToTab(int tab) {
    // Setting the selection sends no notification: hide and show by hand.
    ShowPage(m_tab.GetCurSel(), false);
    m_tab.SetCurSel(tab);
    ShowPage(tab, true);
}

void CMonitorDlg::ListOpenAdapter() {
    // The adapter's name, or the device library's description of the
    // adapter it opened.
    m_adapterList.AddString(AdapterText(m_strAdapter));
    m_adapterList.SetCurSel(0);
}

void CMonitorDlg::Tick() {
    m_radioButton.SetState(theDevice.CheckRadio() ? 1 : 0);
    theDevice.QueryConnectionStatus();
    if (!theDevice.IsOpen()) {
        m_adapterList.ResetContent();
        if (theDevice.Open(m_strAdapter.c_str(), m_nOpenValue)) {
            ListOpenAdapter();
            CCommonPage& common = m_configPage.CommonPage();
            common.UpdateNetworkTypeList();
            m_radioButton.EnableWindow(TRUE);
            common.FillChannelList();
        } else {
            m_radioButton.EnableWindow(FALSE);
        }
    }

    std::string tip;
    UINT icon = IDI_TRAY_DISCONNECTED;
    if (!theDevice.IsOpen()) {
        tip = TipText(IDS_TIP_NO_ADAPTER, kNoAdapterTip);
        if (g_bDeviceSeenOpen) {
            g_bDeviceSeenOpen = false;
            OnHide();
        }
    } else {
        if (!theDevice.CheckRadio()) {
            tip = fw::res::String(IDS_RADIO_OFF);
        } else if (!theDevice.QueryConnectionStatus()) {
            tip = TipText(IDS_TIP_DISCONNECTED, kDisconnectedTip);
        } else {
            const char* ssid = theDevice.GetSSID();
            const std::string name = ssid ? std::string(ssid, ::strnlen(ssid, kMaxSsidRead)) : std::string();
            const unsigned long mbps = theDevice.GetLinkSpeed() / kLinkSpeedPerMbps;
            const unsigned signal = theDevice.GetSignalStrength();
            char text[512];
            std::string format = TipText(IDS_TIP_CONNECTED, kConnectedTipFormat);
            if (!IsConnectedTipFormat(format)) format = kConnectedTipFormat;
            std::snprintf(text, sizeof(text), format.c_str(), name.c_str(), mbps, signal);
            tip = text;
            icon = IDI_TRAY_CONNECTED;
        }
        g_bDeviceSeenOpen = true;
    }
    // The shell hears of the icon only when the picture or the text changed
    // (or it has not taken the icon yet).
    if (m_pTray && (icon != m_nTrayIcon || tip != m_strTrayTip || !m_pTray->IsShown())) {
        if (m_pTray->SetIcon(theApp.m_hResModule, icon, tip.c_str())) {
            m_nTrayIcon = icon;
            m_strTrayTip = tip;
        }
    }
}

std::vector<std::string> CMonitorDlg::ProfileNames() {
    return m_configPage.Store().ProfileNames(kMaxProfileEntries);
}

LRESULT CMonitorDlg::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TRAY_SHOW) {
        OnShow();
        return 1;
    }
    if (m_pTray) {
        // Only a right click on the icon opens the menu; that is the moment
        // to read the profile store, so the menu shows what it holds now and
        // a chosen entry maps to the name that was shown.
        if (m_pTray->OpensMenu(m_hWnd, msg, wp, lp)) {
            m_pTray->SetProfileNames(ProfileNames());
            m_pTray->SetMarkedProfile(m_strProfile);
        }
        m_pTray->OnMessage(m_hWnd, msg, wp, lp);
    }
    if (msg == WM_POWERBROADCAST) OnPowerBroadcast(wp);
    return fw::CDialog::DefaultProc(msg, wp, lp);
}

void CMonitorDlg::OnPowerBroadcast(WPARAM event) {
    if (event == PBT_APMSUSPEND) {
        OnHide();
        if (theDevice.IsOpen()) theDevice.Close();
        KillTimer(kPollTimer);
    } else if (event == PBT_APMRESUMESUSPEND) {
        theDevice.Open(m_strAdapter.c_str(), m_nOpenValue);
        SetTimer(kPollTimer, kPollMs);
    }
}

LRESULT CMonitorDlg::OnTimer(WPARAM wp, LPARAM) {
    if (wp == kPollTimer) Tick();
    return 0;
}

LRESULT CMonitorDlg::OnShowWindowMessage(WPARAM wp, LPARAM lp) {
    // The dialog manager shows a modal dialog once it is idle; the program
    // lives in the tray, so that first showing closes (hides) it again.
    if (g_bFirstShow) {
        g_bFirstShow = false;
        SendMessage(WM_CLOSE);
    }
    return fw::CDialog::DefaultProc(WM_SHOWWINDOW, wp, lp);
}

LRESULT CMonitorDlg::OnSitesUpdated(WPARAM, LPARAM) {
    if (m_configPage.GetSafeHwnd()) m_configPage.SendMessage(WM_SITES_UPDATED, 0, 0);
    return 0;
}

LRESULT CMonitorDlg::OnSiteChosen(WPARAM wp, LPARAM lp) {
    SwitchToTab(kTabConfig);
    if (m_configPage.GetSafeHwnd()) m_configPage.SendMessage(WM_SITE_CHOSEN, wp, lp);
    return 0;
}

const SiteInfo* CMonitorDlg::SurveyedNetwork(unsigned index) { return theDevice.GetSiteInfo(index); }

void CMonitorDlg::ProfileApplied(const std::string& name) {
    m_strProfile = name;
    SendMessage(WM_PROFILE_APPLIED);
}

LRESULT CMonitorDlg::OnProfileApplied(WPARAM, LPARAM) {
    SwitchToTab(kTabLink);
    return 0;
}

LRESULT CMonitorDlg::OnDestroyMessage(WPARAM wp, LPARAM lp) {
    // However the window goes, its icon leaves the notification area with it.
    m_pTray.reset();
    if (g_hTabKeysWindow == m_hWnd) {
        ::UnhookWindowsHookEx(g_hTabKeysHook);
        g_hTabKeysHook = nullptr;
        g_hTabKeysWindow = nullptr;
    }
    return fw::CDialog::DefaultProc(WM_DESTROY, wp, lp);
}

LRESULT CMonitorDlg::OnTabChanging(NMHDR*) {
    ShowPage(m_tab.GetCurSel(), false);
    return 0;
}

LRESULT CMonitorDlg::OnTabChange(NMHDR*) {
    ShowPage(m_tab.GetCurSel(), true);
    m_tab.Invalidate(TRUE);
    return 0;
}

void CMonitorDlg::OnToggleRadio() { theDevice.SetRadio(!theDevice.CheckRadio()); }

void CMonitorDlg::OnShow() {
    ShowWindow(SW_SHOW);
    g_bWindowShown = true;
}

void CMonitorDlg::OnHide() {
    ShowWindow(SW_HIDE);
    g_bWindowShown = false;
}

void CMonitorDlg::OnExit() {
    m_pTray.reset();
    DestroyWindow();
}

void CMonitorDlg::OnHelpIndex() { OpenHelpFile(m_hWnd); }

void CMonitorDlg::OnProfileCommand(UINT id) {
    std::string name;
    if (!m_pTray || !m_pTray->ProfileNameForCommand(id, name)) return;
    // A profile deleted since the menu opened must not turn into applying
    // whatever the configuration page happens to have selected, nor be
    // marked as the one in use.
    if (m_configPage.SelectProfileByName(name) && m_configPage.ApplyProfile()) m_strProfile = name;
}

void CMonitorDlg::OnOK() {}

void CMonitorDlg::OnCancel() { OnHide(); }

void CMonitorDlg::OnActivateTray(HWND owner, WPARAM) {
    if (g_bDeviceSeenOpen) ::PostMessageA(owner, WM_TRAY_SHOW, 0, 0);
}

bool CMonitorDlg::OnPrepareTrayMenu(HWND, WPARAM, HMENU* menu, UINT*, int* subMenuIndex) {
    HMENU popup = ::GetSubMenu(*menu, *subMenuIndex);
    if (g_bWindowShown) {
        SetMenuItemEnabled(popup, ID_TRAY_SHOW, false);
        SetMenuItemEnabled(popup, ID_TRAY_HIDE, true);
    } else {
        SetMenuItemEnabled(popup, ID_TRAY_SHOW, g_bDeviceSeenOpen);
        SetMenuItemEnabled(popup, ID_TRAY_HIDE, false);
    }
    return true;
}

void CMonitorDlg::OnTrayMouseMove(HWND, WPARAM) {}
