#include "config/SecurityPage.h"

#include "app/ControlLabels.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const int kButtonIconSize = 18;
// The type list and its label sit in a row above the key dialogs.
const int kKeyAreaTop = 30;

const UINT kLabelStrings[] = {IDS_SEC_AUTH_TYPE};
const UINT kLabels[] = {IDC_SEC_AUTH_LABEL};

// A record value as combo item data: negative values must not wrap onto an
// entry's small value.
DWORD_PTR AsItemData(int32_t value) { return static_cast<DWORD_PTR>(static_cast<uint32_t>(value)); }
}  // namespace

BEGIN_MESSAGE_TABLE(CSecurityPage, CSubPage)
    ON_COMMAND(IDC_SEC_TOGGLE, OnSecurityClicked)
    ON_CONTROL(CBN_SELCHANGE, IDC_SEC_AUTH, OnTypeChanged)
    ON_MESSAGE(WM_SITE_CHOSEN, OnSiteChosen)
END_MESSAGE_TABLE()

CSecurityPage::CSecurityPage() : CSubPage(kSecurity, IDD_SECURITY_PAGE, IDS_SUBTAB_SECURITY) {}

void CSecurityPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_SEC_TOGGLE, m_securityButton);
    fw::DDX_Control(dx, IDC_SEC_AUTH, m_typeList);
    fw::DDX_CBIndex(dx, IDC_SEC_AUTH, m_nTypeIndex);
}

BOOL CSecurityPage::OnInitDialog() {
    m_pCurrent = nullptr;
    CSubPage::OnInitDialog();
    SetUpSecurityButton();
    RebuildAuthList();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, nullptr, 1);
    CreateKeyDialogs();
    SecuritySwitched();
    return TRUE;
}

void CSecurityPage::SetUpSecurityButton() {
    m_offIcon.reset(fw::res::LoadIconImage(IDI_SECURITY_OFF, kButtonIconSize, kButtonIconSize));
    m_onIcon.reset(fw::res::LoadIconImage(IDI_SECURITY_ON, kButtonIconSize, kButtonIconSize));
    m_securityButton.SetUp(fw::res::String(IDS_SECURITY_OFF), fw::res::String(IDS_SECURITY_ON), m_offIcon.get(),
                           m_onIcon.get(), true);
}

void CSecurityPage::CreateKeyDialogs() {
    RECT area = GetClientRect();
    area.top += kKeyAreaTop;
    m_keyDialogs[0] = {&m_wepDialog, AUTH_WEP};
    m_keyDialogs[1] = {&m_wpaDialog, AUTH_WPA_PSK};
    for (const KeyDialogRow& row : m_keyDialogs) {
        row.dialog->AttachHost(this);
        if (row.dialog->Create(m_hWnd))
            ::MoveWindow(*row.dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    }
}

void CSecurityPage::RebuildAuthList() {
    if (!m_hWnd) return;
    m_typeList.ResetContent();
    m_typeList.AddItem("WEP", AUTH_WEP);
    if (Host() && Host()->IsInfrastructureMode()) m_typeList.AddItem("WPA-PSK", AUTH_WPA_PSK);
    m_typeList.SetCurSel(0);
    // The index follows what the list shows: a WPA-PSK index kept from
    // infrastructure mode would select nothing once shown again in ad hoc
    // mode, and no key dialog would come up.
    m_nTypeIndex = 0;
}

void CSecurityPage::ShowTypeList(bool show) {
    const int cmd = show ? SW_SHOW : SW_HIDE;
    m_typeList.ShowWindow(cmd);
    ::ShowWindow(GetDlgItem(IDC_SEC_AUTH_LABEL), cmd);
}

void CSecurityPage::HideCurrentKeyDialog() {
    if (m_pCurrent && m_pCurrent->GetSafeHwnd()) m_pCurrent->ShowWindow(SW_HIDE);
}

CKeyDialog* CSecurityPage::KeyDialogFor(DWORD_PTR authType) const {
    for (const KeyDialogRow& row : m_keyDialogs) {
        if (row.dialog && AsItemData(row.authType) == authType) return row.dialog;
    }
    return nullptr;
}

void CSecurityPage::ShowKeyDialog() {
    if (!m_hWnd) return;
    HideCurrentKeyDialog();
    if (IsSecurityOn()) {
        const int selected = m_typeList.GetCurSel();
        m_pCurrent = selected >= 0 ? KeyDialogFor(m_typeList.GetItemData(selected)) : nullptr;
        // Showing it runs its check, which settles Save and Apply.
        if (m_pCurrent && m_pCurrent->GetSafeHwnd()) m_pCurrent->ShowWindow(SW_SHOW);
    } else {
        EnableSaveApply(true);
    }
}

void CSecurityPage::SecuritySwitched() {
    UpdateData(false);
    ShowTypeList(IsSecurityOn());
    ShowKeyDialog();
}

void CSecurityPage::EnableSaveApply(bool keyValid) {
    if (Host()) Host()->EnableSaveApply(!(IsSecurityOn() && !keyValid));
}

void CSecurityPage::OnSecurityClicked() { SecuritySwitched(); }

void CSecurityPage::OnTypeChanged() {
    if (!UpdateData(true)) return;
    ShowKeyDialog();
}

LRESULT CSecurityPage::OnSiteChosen(WPARAM wp, LPARAM) {
    const SiteInfo* site = theDevice.GetSiteInfo(static_cast<unsigned long>(wp));
    if (!site) return 0;
    m_securityButton.SetState(site->encryption != 0 ? 1 : 0);
    SecuritySwitched();
    return 0;
}

void CSecurityPage::LoadFromProfile(const Profile& profile) {
    if (!m_hWnd) return;
    if (profile.authType == AUTH_NONE) {
        if (!IsSecurityOn()) return;
        m_securityButton.SetState(0);
        ShowTypeList(false);
        ShowKeyDialog();
        return;
    }
    m_securityButton.SetState(1);
    ShowTypeList(true);
    HideCurrentKeyDialog();
    // A type this mode does not offer (WPA-PSK in ad hoc mode) or an unknown
    // one: security stays on with no key dialog, so that keys a hidden dialog
    // kept from another profile are never stored with this one.
    const int entry = m_typeList.FindItemData(AsItemData(profile.authType));
    m_pCurrent = nullptr;
    if (entry < 0) return;
    m_typeList.SetCurSel(entry);
    m_nTypeIndex = entry;
    m_pCurrent = KeyDialogFor(m_typeList.GetItemData(entry));
    if (!m_pCurrent || !m_pCurrent->GetSafeHwnd()) return;
    m_pCurrent->LoadFromProfile(profile);
    m_pCurrent->ValidateKeys();
    m_pCurrent->ShowWindow(SW_SHOW);
}

bool CSecurityPage::StoreToProfile(Profile& profile) {
    if (!m_hWnd) return true;
    if (!UpdateData(true)) return false;
    if (!IsSecurityOn() || m_nTypeIndex < 0) {
        profile.authType = AUTH_NONE;
        return true;
    }
    profile.authType = static_cast<int32_t>(m_typeList.GetItemData(m_nTypeIndex));
    profile.wepLevel = 0;
    // A key the dialog refused refuses the whole page: saving without it
    // would erase the stored key.
    if (m_pCurrent && m_pCurrent->GetSafeHwnd()) return m_pCurrent->StoreToProfile(profile);
    return true;
}
