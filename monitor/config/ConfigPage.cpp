#include "config/ConfigPage.h"

#include <cstdio>
#include <cstring>

#include "app/ControlLabels.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "config/ProfileNameDlg.h"
#include "device/WLANDevice.h"
#include "framework/App.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const char kDefaultProfile[] = "DEFAULT";
const UINT kIdleTimer = 1;
const UINT kIdleTimerMs = 2000;
const int kMaxNameChars = 99;
const int kButtonIconSize = 18;

bool IsSuppressed(const std::string& title) { return title.compare(0, 4, "none") == 0; }

const UINT kLabelStrings[] = {IDS_CFG_SELECT_PROFILE, IDS_CFG_PROFILE_NAME, IDS_CFG_NEW,
                              IDS_CFG_SAVE,           IDS_CFG_DELETE,       IDS_CFG_APPLY};
const UINT kLabels[] = {IDC_CFG_PROFILE_LABEL, IDC_PROFILE_NAME, IDC_CFG_NEW,
                        IDC_CFG_SAVE,          IDC_CFG_DELETE,   IDC_CFG_APPLY};

void ZeroNamed(Profile& profile, const std::string& name) {
    std::memset(&profile, 0, sizeof(profile));
    std::strncpy(profile.name, name.c_str(), sizeof(profile.name) - 1);
}
}  // namespace

BEGIN_MESSAGE_TABLE(CConfigPage, CPage)
    ON_CONTROL(CBN_SELCHANGE, IDC_CFG_PROFILE_LIST, OnProfileSelected)
    ON_COMMAND(IDC_CFG_NEW, OnNew)
    ON_COMMAND(IDC_CFG_SAVE, OnSave)
    ON_COMMAND(IDC_CFG_DELETE, OnDelete)
    ON_COMMAND(IDC_CFG_APPLY, OnApply)
    ON_NOTIFY(TCN_SELCHANGING, IDC_CFG_TAB, OnSubTabChanging)
    ON_NOTIFY(TCN_SELCHANGE, IDC_CFG_TAB, OnSubTabChange)
    ON_MESSAGE(WM_SITES_UPDATED, OnSitesUpdated)
    ON_MESSAGE(WM_SITE_CHOSEN, OnSiteChosen)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()

CConfigPage::CConfigPage(IPageHost& host) : CPage(IDD_CONFIG_PAGE, IDS_TAB_CONFIG), m_host(host) {
    m_commonPage.AttachHost(this);
    m_securityPage.AttachHost(this);
    m_advancedPage.AttachHost(this);
}

void CConfigPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_CFG_PROFILE_LIST, m_profileList);
    fw::DDX_Control(dx, IDC_CFG_TAB, m_subTab);
    fw::DDX_Control(dx, IDC_CFG_SAVE, m_saveButton);
    fw::DDX_Control(dx, IDC_CFG_NEW, m_newButton);
    fw::DDX_Control(dx, IDC_CFG_DELETE, m_deleteButton);
    fw::DDX_Control(dx, IDC_CFG_APPLY, m_applyButton);
}

BOOL CConfigPage::OnInitDialog() {
    CPage::OnInitDialog();
    SetUpButtons();
    CreateSubPages();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, nullptr, static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])));
    FillProfileList();
    SelectRemembered();
    OnProfileSelected();
    RunFirstStart();
    SetTimer(kIdleTimer, kIdleTimerMs);
    return TRUE;
}

void CConfigPage::SetUpButtons() {
    // Each keeps the caption its template gives it, with one icon for both states.
    struct Setup {
        CIconButton& button;
        fw::Icon& icon;
        UINT iconId;
    };
    const Setup buttons[] = {{m_saveButton, m_saveIcon, IDI_SAVE},
                             {m_newButton, m_newIcon, IDI_NEW},
                             {m_deleteButton, m_deleteIcon, IDI_DELETE},
                             {m_applyButton, m_applyIcon, IDI_APPLY}};
    for (const Setup& b : buttons) {
        b.icon.reset(fw::res::LoadIconImage(b.iconId, kButtonIconSize, kButtonIconSize));
        const std::string caption = b.button.GetWindowText();
        b.button.SetUp(caption, caption, b.icon.get(), b.icon.get(), false);
    }
}

void CConfigPage::CreateSubPages() {
    // The sub-page area: the sub-tab's client rectangle less the tab row at
    // the top and a margin of 5 on the other sides.
    const RECT client = m_subTab.GetClientRect();
    const RECT area = {client.left + 5, client.top + 25, client.right - 5, client.bottom - 5};
    CSubPage* const pages[] = {&m_commonPage, &m_securityPage, &m_advancedPage};
    // As for the main window's tabs: the keyboard reaches the front sub-page
    // through its tab control only when that is a control parent.
    HWND subTab = m_subTab.GetSafeHwnd();
    ::SetWindowLongA(subTab, GWL_EXSTYLE, ::GetWindowLongA(subTab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    for (CSubPage* page : pages) {
        if (!page->Create(m_subTab.GetSafeHwnd())) continue;
        if (IsSuppressed(page->Title())) {
            page->DestroyWindow();
            continue;
        }
        // Each tab carries what its page is, so the tabs keep finding their
        // own pages when one of them is suppressed.
        m_subTab.InsertItem(m_subTab.GetItemCount(), page->Title(), page->GetKind());
    }
    for (CSubPage* page : pages) {
        if (page->GetSafeHwnd())
            ::MoveWindow(*page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    m_subTab.SetCurSel(0);
    if (CSubPage* front = SubPageOfTab(0)) front->ShowWindow(SW_SHOW);
}

CSubPage* CConfigPage::SubPage(CSubPage::Kind kind) const {
    CSubPage* page = nullptr;
    switch (kind) {
    case CSubPage::kCommon: page = const_cast<CCommonPage*>(&m_commonPage); break;
    case CSubPage::kSecurity: page = const_cast<CSecurityPage*>(&m_securityPage); break;
    case CSubPage::kAdvanced: page = const_cast<CAdvancedPage*>(&m_advancedPage); break;
    default: break;
    }
    return page && page->GetSafeHwnd() ? page : nullptr;
}

CSubPage* CConfigPage::SubPageOfTab(int tab) const {
    LPARAM kind = 0;
    if (tab < 0 || !m_subTab.GetItemParam(tab, kind)) return nullptr;
    return SubPage(static_cast<CSubPage::Kind>(kind));
}

CSubPage* CConfigPage::FrontSubPage() const { return SubPageOfTab(m_subTab.GetCurSel()); }

void CConfigPage::BringSubPageToFront(CSubPage::Kind kind) {
    const int count = m_subTab.GetItemCount();
    for (int tab = 0; tab < count; ++tab) {
        LPARAM param = 0;
        if (!m_subTab.GetItemParam(tab, param) || param != kind) continue;
        if (CSubPage* front = FrontSubPage()) front->ShowWindow(SW_HIDE);
        m_subTab.SetCurSel(tab);
        if (CSubPage* page = SubPage(kind)) page->ShowWindow(SW_SHOW);
        return;
    }
}

LRESULT CConfigPage::OnSubTabChanging(NMHDR*) {
    if (CSubPage* page = FrontSubPage()) page->ShowWindow(SW_HIDE);
    return 0;
}

LRESULT CConfigPage::OnSubTabChange(NMHDR*) {
    if (CSubPage* page = FrontSubPage()) page->ShowWindow(SW_SHOW);
    return 0;
}

void CConfigPage::RecordToPages(const Profile& profile) {
    for (auto kind : {CSubPage::kCommon, CSubPage::kSecurity, CSubPage::kAdvanced}) {
        if (CSubPage* page = SubPage(kind)) page->LoadFromProfile(profile);
    }
}

bool CConfigPage::PagesToRecord(Profile& profile, bool withAdvanced) {
    for (auto kind : {CSubPage::kCommon, CSubPage::kSecurity, CSubPage::kAdvanced}) {
        if (kind == CSubPage::kAdvanced && !withAdvanced) break;
        CSubPage* page = SubPage(kind);
        if (!page || page->StoreToProfile(profile)) continue;
        // The refused field has the focus; its page comes forward so that
        // the user sees it.
        BringSubPageToFront(kind);
        return false;
    }
    return true;
}

void CConfigPage::FillProfileList() {
    // The names only: loading every profile to list it would read all its
    // values, thirty times over, for nothing.
    m_profileList.ResetContent();
    for (const std::string& name : m_store.ProfileNames(0xFFFF)) m_profileList.AddString(name);
}

void CConfigPage::SelectRemembered() {
    std::string remembered;
    if (!m_store.ReadLastProfile(remembered) || remembered.empty()) remembered = kDefaultProfile;
    // The first entry that begins with the remembered name, in any case, as
    // the list's own search finds it; no match leaves no selection.
    m_profileList.SetCurSel(m_profileList.FindString(remembered));
}

void CConfigPage::SelectExact(const std::string& name) { m_profileList.SetCurSel(m_profileList.FindStringExact(name)); }

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

bool CConfigPage::IsListed(const std::string& name) const { return m_profileList.FindStringExact(name) >= 0; }

bool CConfigPage::SelectProfileByName(const std::string& name) {
    int index = FindExact(name);
    if (index < 0 || !m_store.LoadProfile(name)) {
        // The list may be older than the store: a profile added since it
        // was filled is found, and one deleted since is not, after reading
        // the store again.
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
    const Profile* profile = m_store.LoadProfile(name);
    m_deleteButton.EnableWindow(name != kDefaultProfile);
    if (profile) RecordToPages(*profile);
}

void CConfigPage::RunFirstStart() {
    Profile seed;
    switch (m_store.SeedFromSetup(seed)) {
    case CProfileStore::Seed::kDefaults:
        RecordToPages(seed);
        break;
    case CProfileStore::Seed::kFromSetup:
        RecordToPages(seed);
        ApplyProfile();
        break;
    case CProfileStore::Seed::kNothing:
        break;
    }
}

void CConfigPage::OnNew() {
    const int count = m_store.CountProfiles();
    if (count < 0) return;
    if (count >= CProfileStore::kMaxProfiles) {
        char text[512];
        std::string format = fw::res::String(IDS_PROFILE_LIMIT);
        // A foreign format must not read arguments that are not there.
        if (format.find('%') != format.rfind('%') || (format.find('%') != std::string::npos && format.find("%d") == std::string::npos))
            format = "Error: Cannot create new profile.\n%d profiles maximum allow.";
        std::snprintf(text, sizeof(text), format.c_str(), CProfileStore::kMaxProfiles);
        fw::AppMessageBox(::GetAncestor(m_hWnd, GA_ROOT), text, MB_OK);
        return;
    }
    CProfileNameDlg prompt([this](const std::string& name) { return IsListed(name); });
    if (prompt.DoModal(::GetAncestor(m_hWnd, GA_ROOT)) != IDOK) return;
    const std::string& name = prompt.Name();
    if (name.empty() || name == kDefaultProfile) return;

    // The advanced page is not asked: a new profile starts with its radio
    // settings at zero.
    Profile profile;
    ZeroNamed(profile, name);
    if (!PagesToRecord(profile, false)) return;
    m_store.SaveProfile(profile);
    FillProfileList();
    SelectExact(name);
    m_deleteButton.EnableWindow(TRUE);
}

void CConfigPage::OnSave() {
    const std::string name = SelectedProfileName();
    if (name.empty()) return;
    Profile profile;
    ZeroNamed(profile, name);
    if (PagesToRecord(profile)) m_store.SaveProfile(profile);
}

void CConfigPage::OnDelete() {
    const std::string name = SelectedProfileName();
    if (name.empty() || name == kDefaultProfile) return;
    m_store.DeleteProfile(name);
    FillProfileList();
    m_profileList.SetCurSel(0);
    OnProfileSelected();
}

void CConfigPage::OnApply() { ApplyProfile(); }

bool CConfigPage::ApplyProfile() {
    // Without a selection there is no profile to apply: nothing may be
    // written under an empty name, nor the remembered name emptied.
    const std::string name = SelectedProfileName();
    if (name.empty()) return false;
    Profile profile;
    ZeroNamed(profile, name);
    // A value a page refused stops everything: the stored profile, the
    // remembered name and the adapter stay as they were.
    if (!PagesToRecord(profile)) return false;
    m_store.SaveProfile(profile);
    m_store.WriteLastProfile(name);
    theDevice.CommitProfile(profile);
    FillProfileList();
    SelectExact(name);
    m_host.ProfileApplied(name);
    return true;
}

LRESULT CConfigPage::OnSitesUpdated(WPARAM wp, LPARAM lp) {
    if (CSubPage* page = SubPage(CSubPage::kCommon)) page->SendMessage(WM_SITES_UPDATED, wp, lp);
    return 0;
}

LRESULT CConfigPage::OnSiteChosen(WPARAM wp, LPARAM lp) {
    const SiteInfo* site = m_host.SurveyedNetwork(static_cast<unsigned>(wp));
    if (!site) return 0;
    // The record belongs to the library: keep what is needed across the
    // store and adapter calls below.
    const std::string ssid(site->ssid, ::strnlen(site->ssid, sizeof(site->ssid)));
    const bool encrypted = site->encryption != 0;

    bool matched = false;
    for (unsigned short index = 0;; ++index) {
        const Profile* profile = EnumProfile(index);
        if (!profile) break;
        if (std::string(profile->ssid, ::strnlen(profile->ssid, sizeof(profile->ssid))) == ssid) {
            matched = true;
            const std::string name(profile->name, ::strnlen(profile->name, sizeof(profile->name)));
            const bool hasKey = profile->wepLevel != 0;
            SelectProfileByName(name);
            if (encrypted && !hasKey) {
                BringSubPageToFront(CSubPage::kSecurity);
            } else if (ApplyProfile()) {
                m_host.ShowTab(IPageHost::kTabLink);
            }
        }
        if (index == 0xFFFF) break;
    }
    if (matched) return 0;

    for (auto kind : {CSubPage::kCommon, CSubPage::kSecurity, CSubPage::kAdvanced}) {
        if (CSubPage* page = SubPage(kind)) page->SendMessage(WM_SITE_CHOSEN, wp, lp);
    }
    if (!encrypted) {
        // A refused apply leaves the user on this page, at the field.
        if (ApplyProfile()) m_host.ShowTab(IPageHost::kTabLink);
    } else {
        BringSubPageToFront(CSubPage::kSecurity);
    }
    return 0;
}

LRESULT CConfigPage::OnTimer(WPARAM, LPARAM) { return 0; }

void CConfigPage::EnableSaveApply(bool enable) {
    m_saveButton.EnableWindow(enable);
    m_applyButton.EnableWindow(enable);
}

bool CConfigPage::IsInfrastructureMode() const { return m_commonPage.IsInfrastructure(); }

void CConfigPage::OnModeControlsUpdated() {
    m_securityPage.RebuildAuthList();
    m_securityPage.ShowKeyDialog();
}
