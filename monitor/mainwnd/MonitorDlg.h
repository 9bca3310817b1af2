// The monitor's one top-level window: a modal dialog (template 102) that
// lives hidden in the tray for the whole run. It holds the five pages on its
// tab control, the adapter list and the Radio, Help and Exit buttons; it
// owns the tray icon and drives it from a one-second poll of the adapter.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/ConfigPage.h"
#include "controls/IconButton.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Raii.h"
#include "mainwnd/TrayIcon.h"
#include "pages/IpInfoPage.h"
#include "pages/LinkInfoPage.h"
#include "pages/PageHost.h"
#include "pages/SiteSurveyPage.h"
#include "pages/VersionInfoPage.h"

// Process-wide state of the main window, touched on the GUI thread only.
// The adapter was open at the last tick (cleared, with the window hidden, by
// a tick that finds it gone).
extern bool g_bDeviceSeenOpen;
// The window was shown by the Show command and not hidden since.
extern bool g_bWindowShown;
// No WM_SHOWWINDOW has arrived yet: the first one hides the window again.
extern bool g_bFirstShow;

class CMonitorDlg : public fw::CDialog, private IPageHost {
public:
    CMonitorDlg();
    ~CMonitorDlg() override;

    // The profile applied last; the configuration page writes it on apply
    // and the tray marks it in its menu.
    std::string m_strProfile;

    // Tab positions.
    enum Tab { kTabConfig = 0, kTabLink, kTabIp, kTabSurvey, kTabVersion, kTabCount };

    CConfigPage& ConfigPage() { return m_configPage; }
    CTrayIconEx* Tray() const { return m_pTray.get(); }
    CIconButton& RadioButton() { return m_radioButton; }
    fw::CComboBox& AdapterList() { return m_adapterList; }
    fw::CTabCtrl& TabCtrl() { return m_tab; }
    HWND PageWindow(int tab) const { return (tab >= 0 && tab < kTabCount) ? m_hPage[tab] : nullptr; }

    // The names of every stored profile in the configuration page's order
    // (at most as many as the tray menu can carry).
    std::vector<std::string> ProfileNames();

    // The tray's hooks.
    static void OnActivateTray(HWND owner, WPARAM iconId);
    static bool OnPrepareTrayMenu(HWND owner, WPARAM iconId, HMENU* menu, UINT* flags, int* subMenuIndex);
    static void OnTrayMouseMove(HWND owner, WPARAM iconId);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;
    // Sees every message no table entry handles: the tray's notifications,
    // the shell restart, WM_TRAY_SHOW and the power notifications.
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    DECLARE_MESSAGE_TABLE()

    // IPageHost: what the pages may ask of this window.
    void ShowTab(int tab) override { SwitchToTab(tab); }
    const SiteInfo* SurveyedNetwork(unsigned index) override;
    void ProfileApplied(const std::string& name) override;

    void Tick();
    // The only entry of the adapter list, after a successful Open.
    void ListOpenAdapter();
    void CreatePages();
    void SwitchToTab(int tab);
    void ShowPage(int tab, bool show);
    void OnPowerBroadcast(WPARAM event);

    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnShowWindowMessage(WPARAM wp, LPARAM lp);
    LRESULT OnSitesUpdated(WPARAM wp, LPARAM lp);
    LRESULT OnSiteChosen(WPARAM wp, LPARAM lp);
    LRESULT OnProfileApplied(WPARAM wp, LPARAM lp);
    LRESULT OnDestroyMessage(WPARAM wp, LPARAM lp);
    LRESULT OnTabChanging(NMHDR* nm);
    LRESULT OnTabChange(NMHDR* nm);
    void OnToggleRadio();
    void OnShow();
    void OnHide();
    void OnExit();
    void OnHelpIndex();
    void OnProfileCommand(UINT id);

    std::unique_ptr<CTrayIconEx> m_pTray;
    // What the tray shows now.
    UINT m_nTrayIcon = 0;
    std::string m_strTrayTip;
    CConfigPage m_configPage;
    fw::CComboBox m_adapterList;
    fw::CTabCtrl m_tab;
    CIconButton m_radioButton;
    CIconButton m_exitButton;
    CIconButton m_helpButton;
    std::string m_strAdapter;
    fw::Icon m_windowIcon;
    HWND m_hPage[kTabCount] = {};
    int m_nOpenValue = 0;
    CVersionInfoPage m_versionPage;
    CIpInfoPage m_ipPage;
    CLinkInfoPage m_linkPage;
    CSiteSurveyPage m_surveyPage;
    // The buttons borrow their icons; the window keeps them.
    fw::Icon m_radioOffIcon;
    fw::Icon m_radioOnIcon;
    fw::Icon m_helpIcon;
    fw::Icon m_exitIcon;
};
