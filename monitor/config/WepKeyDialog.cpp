#include "config/WepKeyDialog.h"

#include "app/ControlLabels.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
// Labels and the fields they stand for; a "none" label hides both. The Use
// Passphrase check box is its own label.
const UINT kLabelStrings[] = {IDS_WEP_AUTH, IDS_WEP_USE_PASSPHRASE, IDS_WEP_KEYTYPE, IDS_WEP_DEFKEY, IDS_WEP_KEY1,
                              IDS_WEP_KEY2, IDS_WEP_KEY3,           IDS_WEP_KEY4,    IDS_WEP_PERUSER};
const UINT kLabels[] = {IDC_WEP_AUTH_LABEL, IDC_WEP_USE_PASSPHRASE, IDC_WEP_KEYTYPE_LABEL,
                        IDC_WEP_DEFKEY_LABEL, IDC_WEP_KEY1_LABEL,   IDC_WEP_KEY2_LABEL,
                        IDC_WEP_KEY3_LABEL,   IDC_WEP_KEY4_LABEL,   IDC_WEP_PERUSER_LABEL};
const UINT kPartners[] = {IDC_WEP_AUTH, IDC_WEP_USE_PASSPHRASE, IDC_WEP_KEYTYPE, IDC_WEP_DEFKEY, IDC_WEP_KEY1,
                          IDC_WEP_KEY2, IDC_WEP_KEY3,           IDC_WEP_KEY4,    IDC_WEP_PERUSER};
const int kLabelCount = static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0]));

const int kKeyIds[CWepKeyDialog::kKeyCount] = {IDC_WEP_KEY1, IDC_WEP_KEY2, IDC_WEP_KEY3, IDC_WEP_KEY4};
const int kKeyTypeCount = 4;

bool IsSuppressed(const std::string& text) { return text.compare(0, 4, "none") == 0; }

// A record value as combo item data: negative values must not wrap onto an
// entry's small code.
DWORD_PTR AsItemData(int32_t value) { return static_cast<DWORD_PTR>(static_cast<uint32_t>(value)); }
}  // namespace

BEGIN_MESSAGE_TABLE(CWepKeyDialog, CKeyDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_WEP_KEYTYPE, OnKeyTypeChanged)
    ON_CONTROL(CBN_SELCHANGE, IDC_WEP_DEFKEY, OnDefaultKeyChanged)
    ON_COMMAND(IDC_WEP_USE_PASSPHRASE, OnUsePassphrase)
    ON_CONTROL(EN_CHANGE, IDC_WEP_PASSPHRASE, OnKeyTextChanged)
    ON_CONTROL(EN_CHANGE, IDC_WEP_KEY1, OnKeyTextChanged)
    ON_CONTROL(EN_CHANGE, IDC_WEP_KEY2, OnKeyTextChanged)
    ON_CONTROL(EN_CHANGE, IDC_WEP_KEY3, OnKeyTextChanged)
    ON_CONTROL(EN_CHANGE, IDC_WEP_KEY4, OnKeyTextChanged)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
END_MESSAGE_TABLE()

CWepKeyDialog::CWepKeyDialog() : CKeyDialog(IDD_WEP_KEY) {}

int CWepKeyDialog::KeyLength(int code) {
    const int bytes = (code & kLongKeyBit) ? 13 : 5;
    return (code & kAsciiBit) ? bytes : 2 * bytes;
}

int CWepKeyDialog::SelectedKeyType() const {
    return static_cast<int>(m_keyTypeList.GetSelectedItemData(0) & (kAsciiBit | kLongKeyBit));
}

void CWepKeyDialog::ExchangeChoices(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_WEP_PERUSER, m_perUserEdit);
    for (int i = 0; i < kKeyCount; ++i) fw::DDX_Control(dx, kKeyIds[i], m_keyEdit[i]);
    fw::DDX_Control(dx, IDC_WEP_AUTH, m_authList);
    fw::DDX_Control(dx, IDC_WEP_DEFKEY, m_defaultKeyList);
    fw::DDX_Control(dx, IDC_WEP_KEYTYPE, m_keyTypeList);
    fw::DDX_CBIndex(dx, IDC_WEP_AUTH, m_nAuth);
    fw::DDX_CBIndex(dx, IDC_WEP_DEFKEY, m_nDefaultKey);
    fw::DDX_Check(dx, IDC_WEP_USE_PASSPHRASE, m_bUsePassphrase);
    fw::DDX_CBIndex(dx, IDC_WEP_KEYTYPE, m_nKeyType);
}

void CWepKeyDialog::DoDataExchange(fw::CDataExchange& dx) {
    ExchangeChoices(dx);
    // The passphrase is taken only while it is in use: a text left behind in
    // the disabled edit is no part of the profile, and must not stop the
    // keys from being saved by a refusal the user could not mend there.
    if (!dx.Saving() || m_bUsePassphrase) fw::DDX_Text(dx, IDC_WEP_PASSPHRASE, m_strPassphrase, kMaxPassphrase);
}

void CWepKeyDialog::UpdateChoices(bool save) {
    fw::CDataExchange dx(m_hWnd, save);
    ExchangeChoices(dx);
}

BOOL CWepKeyDialog::OnInitDialog() {
    CKeyDialog::OnInitDialog();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, kPartners, kLabelCount);
    FillDefaultKeyList();
    FillKeyTypeList();
    OnKeyTypeChanged();
    return TRUE;
}

void CWepKeyDialog::FillDefaultKeyList() {
    m_defaultKeyList.ResetContent();
    for (UINT id = IDS_WEP_KEY1; id <= IDS_WEP_PERUSER; ++id) {
        std::string text;
        if (fw::res::TryLoadString(id, text) && !IsSuppressed(text)) m_defaultKeyList.AddString(text);
    }
    m_defaultKeyList.SetCurSel(0);
    m_nDefaultKey = 0;
}

void CWepKeyDialog::FillKeyTypeList() {
    m_keyTypeList.ResetContent();
    for (int code = 0; code < kKeyTypeCount; ++code) {
        std::string text;
        if (fw::res::TryLoadString(IDS_KEYTYPE_64_HEX + static_cast<UINT>(code), text) && !IsSuppressed(text))
            m_keyTypeList.AddItem(text, static_cast<DWORD_PTR>(code));
    }
    m_keyTypeList.SetCurSel(0);
    m_nKeyType = 0;
}

void CWepKeyDialog::SetKeyText(const std::string& perUser, const std::string* keys) {
    for (int i = 0; i < kKeyCount; ++i) m_keyEdit[i].SetWindowText(keys ? keys[i] : std::string());
    m_perUserEdit.SetWindowText(perUser);
}

void CWepKeyDialog::ApplyKeyTypeRules(int code) {
    const bool hexOnly = (code & kAsciiBit) == 0;
    const int length = KeyLength(code);
    for (CHexEdit* edit : {&m_keyEdit[0], &m_keyEdit[1], &m_keyEdit[2], &m_keyEdit[3], &m_perUserEdit}) {
        edit->SetHexOnly(hexOnly);
        edit->LimitText(length);
    }
}

void CWepKeyDialog::FixDefaultKeyForType(int code) {
    // A 104/128-bit key uses Key 1 alone.
    const bool longKey = (code & kLongKeyBit) != 0;
    if (longKey) {
        m_nDefaultKey = 0;
        m_defaultKeyList.SetCurSel(0);
    }
    m_defaultKeyList.EnableWindow(!longKey);
}

void CWepKeyDialog::OnKeyTypeChanged() {
    UpdateChoices(true);
    const int code = SelectedKeyType();
    {
        // One check once the type's rules are in place, not one per emptied edit.
        QuietScope quiet(*this);
        SetKeyText(std::string(), nullptr);
    }
    ApplyKeyTypeRules(code);
    if (!m_bUsePassphrase) {
        for (int i = 1; i < kKeyCount; ++i) m_keyEdit[i].EnableWindow((code & kLongKeyBit) == 0);
    }
    FixDefaultKeyForType(code);
    ValidateKeys();
}

void CWepKeyDialog::OnUsePassphrase() { UsePassphraseStep(); }

void CWepKeyDialog::UsePassphraseStep() {
    UpdateChoices(true);
    const int code = SelectedKeyType();
    const bool use = m_bUsePassphrase != 0;
    if (use) {
        {
            QuietScope quiet(*this);
            SetKeyText(std::string(), nullptr);
        }
        for (CHexEdit* edit : {&m_keyEdit[0], &m_keyEdit[1], &m_keyEdit[2], &m_keyEdit[3], &m_perUserEdit})
            edit->EnableWindow(FALSE);
    } else {
        // The passphrase keeps its text: switching back on brings it back.
        m_keyEdit[0].EnableWindow(TRUE);
        m_perUserEdit.EnableWindow(TRUE);
        for (int i = 1; i < kKeyCount; ++i) m_keyEdit[i].EnableWindow((code & kLongKeyBit) == 0);
    }
    ::EnableWindow(GetDlgItem(IDC_WEP_PASSPHRASE), use);
    {
        QuietScope quiet(*this);
        UpdateChoices(false);
    }
    ValidateKeys();
    // Only a dialog the user sees takes the focus: a hidden main window must
    // not be activated by a profile loaded behind it.
    if (IsWindowVisible()) ::SetFocus(use ? GetDlgItem(IDC_WEP_PASSPHRASE) : m_keyEdit[0].GetSafeHwnd());
}

bool CWepKeyDialog::ValidateKeys() {
    if (!m_hWnd) return false;
    bool valid = true;
    if (::IsDlgButtonChecked(m_hWnd, IDC_WEP_USE_PASSPHRASE) != BST_UNCHECKED) {
        valid = ::GetWindowTextLengthA(GetDlgItem(IDC_WEP_PASSPHRASE)) > 0;
    } else {
        const int length = KeyLength(SelectedKeyType());
        const int defaultKey = m_defaultKeyList.GetCurSel();
        for (int i = 0; i < kKeyCount && valid; ++i) {
            const int typed = ::GetWindowTextLengthA(m_keyEdit[i]);
            valid = typed == 0 ? i != defaultKey : typed == length;
        }
    }
    ReportKeys(valid);
    return valid;
}

void CWepKeyDialog::OnDefaultKeyChanged() {
    UpdateChoices(true);
    ValidateKeys();
}

void CWepKeyDialog::OnKeyTextChanged() { ValidateKeys(); }

LRESULT CWepKeyDialog::OnShowWindow(WPARAM wp, LPARAM lp) {
    if (wp) ValidateKeys();
    return DefaultProc(WM_SHOWWINDOW, wp, lp);
}

void CWepKeyDialog::LoadFromProfile(const Profile& profile) {
    if (!m_hWnd) return;
    // A stored type the list does not offer keeps the selection, and the
    // keys load with the selected type's rules: the stored code is never
    // used to look anything up.
    const int typeEntry = m_keyTypeList.FindItemData(AsItemData(profile.wepKeyType));
    if (typeEntry >= 0) m_keyTypeList.SetCurSel(typeEntry);
    m_nKeyType = m_keyTypeList.GetCurSel();
    const int code = SelectedKeyType();
    if (profile.wepAuth >= 0 && profile.wepAuth < m_authList.GetCount()) m_nAuth = profile.wepAuth;
    {
        // The Use Passphrase step below checks the result once.
        QuietScope quiet(*this);
        if (profile.wepLevel != 0) {
            const std::string passphrase = FieldText(profile.wepPassphrase);
            m_bUsePassphrase = passphrase.empty() ? 0 : 1;
            if (m_bUsePassphrase) {
                m_strPassphrase = passphrase;
                SetKeyText(std::string(), nullptr);
            } else {
                m_strPassphrase.clear();
                ApplyKeyTypeRules(code);
                const std::string keys[kKeyCount] = {FieldText(profile.wepKey[0]), FieldText(profile.wepKey[1]),
                                                     FieldText(profile.wepKey[2]), FieldText(profile.wepKey[3])};
                SetKeyText(FieldText(profile.wepKeyPerUser), keys);
            }
            if (profile.wepDefaultKey >= 0 && profile.wepDefaultKey < m_defaultKeyList.GetCount())
                m_nDefaultKey = profile.wepDefaultKey;
        } else {
            SetKeyText(m_perUserEdit.GetWindowText(), nullptr);
            m_nDefaultKey = 0;
        }
        UpdateData(false);
        FixDefaultKeyForType(code);
    }
    UsePassphraseStep();
}

bool CWepKeyDialog::StoreToProfile(Profile& profile) {
    if (!m_hWnd) return true;
    // A refused entry (the user has been told why) writes nothing.
    if (!UpdateData(true)) return false;
    profile.wepAuth = m_nAuth;
    const int code = SelectedKeyType();
    profile.wepLevel = (code & kLongKeyBit) ? 2 : 1;
    profile.wepDefaultKey = m_defaultKeyList.GetCurSel();
    profile.wepKeyType = code;
    if (m_bUsePassphrase) {
        SetField(profile.wepPassphrase, m_strPassphrase);
        return true;
    }
    const int32_t keyBytes = profile.wepLevel == 2 ? 13 : 5;
    for (int i = 0; i < kKeyCount; ++i) {
        const std::string key = m_keyEdit[i].GetWindowText();
        SetField(profile.wepKey[i], key);
        profile.wepKeyLength[i] = key.empty() ? 0 : keyBytes;
    }
    SetField(profile.wepKeyPerUser, m_perUserEdit.GetWindowText());
    return true;
}
