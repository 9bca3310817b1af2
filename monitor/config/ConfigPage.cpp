#include "config/ConfigPage.h"

#include "app/ControlLabels.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "mainwnd/MonitorDlg.h"
#include "resource.h"

namespace {
const char kDefaultProfile[] = "DEFAULT";
const UINT kIdleTimer = 1;
const UINT kIdleTimerMs = 2000;
const int kMaxNameChars = 99;

bool IsSuppressed(const std::string& title) { return title.compare(0, 4, "none") == 0; }

const UINT kLabelStrings[] = {IDS_CFG_SELECT_PROFILE, IDS_CFG_PROFILE_NAME, IDS_CFG_NEW,
                              IDS_CFG_SAVE,           IDS_CFG_DELETE,       IDS_CFG_APPLY};
const UINT kLabels[] = {IDC_CFG_PROFILE_LABEL, IDC_PROFILE_NAME, IDC_CFG_NEW,
                        IDC_CFG_SAVE,          IDC_CFG_DELETE,   IDC_CFG_APPLY};
}  // namespace

BEGIN_MESSAGE_TABLE(CConfigPage, CPage)
    ON_CONTROL(CBN_SELCHANGE, IDC_CFG_PROFILE_LIST, OnProfileSelected)
    ON_COMMAND(IDC_CFG_APPLY, OnApply)
    ON_NOTIFY(TCN_SELCHANGING, IDC_CFG_TAB, OnSubTabChanging)
    ON_NOTIFY(TCN_SELCHANGE, IDC_CFG_TAB, OnSubTabChange)
    ON_MESSAGE(WM_SITES_UPDATED, OnSitesUpdated)
    ON_MESSAGE(WM_SITE_CHOSEN, OnSiteChosen)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()

CConfigPage::CConfigPage() : CPage(IDD_CONFIG_PAGE, IDS_TAB_CONFIG) {}

void CConfigPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_CFG_PROFILE_LIST, m_profileList);
    fw::DDX_Control(dx, IDC_CFG_TAB, m_subTab);
}

BOOL CConfigPage::OnInitDialog() {
    CPage::OnInitDialog();
    CreateSubPages();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, nullptr, static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])));
    FillProfileList();
    std::string remembered;
    if (!m_store.ReadLastProfile(remembered) || remembered.empty()) remembered = kDefaultProfile;
    // The remembered name selects the first entry that begins with it, in
    // any case, as the list box's own search does.
    m_profileList.SetCurSel(static_cast<int>(
        m_profileList.SendMessage(CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remembered.c_str()))));
    OnProfileSelected();
    SetTimer(kIdleTimer, kIdleTimerMs);
    return TRUE;
}

void CConfigPage::CreateSubPages() {
    if (!m_commonPage.Create(m_subTab.GetSafeHwnd())) return;
    if (IsSuppressed(m_commonPage.Title())) {
        m_commonPage.DestroyWindow();
        return;
    }
    m_subTab.InsertItem(0, m_commonPage.Title());
    m_hSubPage[0] = m_commonPage.GetSafeHwnd();
    // The sub-page area: the sub-tab's client rectangle less the tab row at
    // the top and a margin of 5 on the other sides.
    RECT area = m_subTab.GetClientRect();
    ::MoveWindow(m_hSubPage[0], area.left + 5, area.top + 25, area.right - area.left - 10, area.bottom - area.top - 30,
                 TRUE);
    m_subTab.SetCurSel(0);
    ::ShowWindow(m_hSubPage[0], SW_SHOW);
}

void CConfigPage::FillProfileList() {
    m_profileList.ResetContent();
    for (unsigned short index = 0;; ++index) {
        const Profile* profile = EnumProfile(index);
        if (!profile) break;
        m_profileList.AddString(profile->name);
        if (index == 0xFFFF) break;
    }
}

std::string CConfigPage::SelectedProfileName() const {
    const int selected = m_profileList.GetCurSel();
    if (selected < 0) return std::string();
    std::string name = m_profileList.GetLBText(selected);
    if (name.size() > static_cast<size_t>(kMaxNameChars)) name.resize(kMaxNameChars);
    return name;
}

int CConfigPage::FindExact(const std::string& name) const {
    const int count = m_profileList.GetCount();
    for (int i = 0; i < count; ++i) {
        if (m_profileList.GetLBText(i) == name) return i;
    }
    return -1;
}

bool CConfigPage::SelectProfileByName(const std::string& name) {
    int index = FindExact(name);
    if (index < 0) {
        // The list is read at start and after each apply; a profile added
        // since then is found after reading the store again.
        const std::string selected = SelectedProfileName();
        FillProfileList();
        m_profileList.SetCurSel(FindExact(selected));
        index = FindExact(name);
    }
    if (index >= 0) m_profileList.SetCurSel(index);
    OnProfileSelected();
    return index >= 0;
}

void CConfigPage::OnProfileSelected() {
    const std::string name = SelectedProfileName();
    if (name.empty()) return;
    ::EnableWindow(GetDlgItem(IDC_CFG_DELETE), name != kDefaultProfile);
}

void CConfigPage::OnApply() { ApplyProfile(); }

bool CConfigPage::ApplyProfile() {
    // Without a selection there is no profile to apply; the stored values
    // must not be committed under an empty name.
    const std::string name = SelectedProfileName();
    if (name.empty()) return false;
    Profile* profile = m_store.LoadProfile(name);
    if (!profile) return false;
    m_store.WriteLastProfile(name);
    theDevice.CommitProfile(*profile);
    FillProfileList();
    m_profileList.SetCurSel(m_profileList.FindStringExact(name));
    auto* mainWindow = dynamic_cast<CMonitorDlg*>(theApp.m_pMainWnd);
    if (mainWindow) {
        mainWindow->m_strProfile = name;
        mainWindow->SendMessage(WM_PROFILE_APPLIED);
    }
    return true;
}

LRESULT CConfigPage::OnSitesUpdated(WPARAM wp, LPARAM lp) {
    if (m_commonPage.GetSafeHwnd()) m_commonPage.SendMessage(WM_SITES_UPDATED, wp, lp);
    return 0;
}

LRESULT CConfigPage::OnSiteChosen(WPARAM wp, LPARAM) {
    m_nLastChosenSite = static_cast<int>(wp);
    return 0;
}

LRESULT CConfigPage::OnTimer(WPARAM, LPARAM) { return 0; }

LRESULT CConfigPage::OnSubTabChanging(NMHDR*) {
    const int current = m_subTab.GetCurSel();
    if (current >= 0 && current < 3 && m_hSubPage[current]) ::ShowWindow(m_hSubPage[current], SW_HIDE);
    return 0;
}

LRESULT CConfigPage::OnSubTabChange(NMHDR*) {
    const int current = m_subTab.GetCurSel();
    if (current >= 0 && current < 3 && m_hSubPage[current]) ::ShowWindow(m_hSubPage[current], SW_SHOW);
    return 0;
}
