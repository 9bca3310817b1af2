#include "config/WpaPskDialog.h"

#include "app/ControlLabels.h"
#include "resource.h"

namespace {
const UINT kLabelStrings[] = {IDS_WPA_PSK};
const UINT kLabels[] = {IDC_WPA_PSK_LABEL};
const UINT kPartners[] = {IDC_WPA_PSK};
}  // namespace

BEGIN_MESSAGE_TABLE(CWpaPskDialog, CKeyDialog)
    ON_CONTROL(EN_CHANGE, IDC_WPA_PSK, OnKeyChanged)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
END_MESSAGE_TABLE()

CWpaPskDialog::CWpaPskDialog() : CKeyDialog(IDD_WPA_PSK) {}

void CWpaPskDialog::DoDataExchange(fw::CDataExchange& dx) { fw::DDX_Text(dx, IDC_WPA_PSK, m_strPsk, kMaxKey); }

BOOL CWpaPskDialog::OnInitDialog() {
    CKeyDialog::OnInitDialog();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, kPartners, 1);
    ::SendMessageA(GetDlgItem(IDC_WPA_PSK), EM_LIMITTEXT, kMaxKey, 0);
    return TRUE;
}

void CWpaPskDialog::LoadFromProfile(const Profile& profile) {
    if (!m_hWnd) return;
    m_strPsk = FieldText(profile.wpaPskPassword);
    UpdateData(false);
}

bool CWpaPskDialog::StoreToProfile(Profile& profile) {
    if (!m_hWnd) return true;
    // A refused entry (the user has been told why) writes nothing.
    if (!UpdateData(true)) return false;
    SetField(profile.wpaPskPassword, m_strPsk);
    return true;
}

bool CWpaPskDialog::ValidateKeys() {
    if (!m_hWnd) return false;
    const bool valid = ::GetWindowTextLengthA(GetDlgItem(IDC_WPA_PSK)) >= kMinKey;
    ReportKeys(valid);
    return valid;
}

void CWpaPskDialog::OnKeyChanged() { ValidateKeys(); }

LRESULT CWpaPskDialog::OnShowWindow(WPARAM wp, LPARAM lp) {
    if (wp) ValidateKeys();
    return DefaultProc(WM_SHOWWINDOW, wp, lp);
}
