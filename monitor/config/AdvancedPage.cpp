#include "config/AdvancedPage.h"

#include <algorithm>
#include <string>

#include "app/ControlLabels.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const int kButtonIconSize = 18;
const int kThresholdTickStep = 100;

// One string names a whole block: its group box or label, and every control
// of the block as partner, so that a "none" string hides the block entirely.
// The check box is its own label (partner 0 names no control).
const UINT kLabelStrings[] = {
    IDS_ADV_TXPOWER, IDS_ADV_TXPOWER, IDS_ADV_TXPOWER, IDS_ADV_TXPOWER,
    IDS_ADV_QOS,
    IDS_ADV_PREAMBLE,
    IDS_ADV_SCANTYPE,
    IDS_ADV_RTS,  IDS_ADV_RTS,  IDS_ADV_RTS,  IDS_ADV_RTS,
    IDS_ADV_FRAG, IDS_ADV_FRAG, IDS_ADV_FRAG, IDS_ADV_FRAG};
const UINT kLabels[] = {
    IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER_GROUP,
    IDC_ADV_QOS,
    IDC_ADV_PREAMBLE_LABEL,
    IDC_ADV_SCANTYPE_LABEL,
    IDC_ADV_RTS_GROUP,  IDC_ADV_RTS_GROUP,  IDC_ADV_RTS_GROUP,  IDC_ADV_RTS_GROUP,
    IDC_ADV_FRAG_GROUP, IDC_ADV_FRAG_GROUP, IDC_ADV_FRAG_GROUP, IDC_ADV_FRAG_GROUP};
const UINT kParts[] = {
    IDC_ADV_TXPOWER, IDC_ADV_TXPOWER_ICON_HIGH, IDC_ADV_TXPOWER_ICON_MEDIUM, IDC_ADV_TXPOWER_ICON_LOW,
    0,
    IDC_ADV_PREAMBLE,
    IDC_ADV_SCANTYPE,
    IDC_ADV_RTS,  IDC_ADV_RTS_VALUE,  IDC_ADV_RTS_MIN,  IDC_ADV_RTS_MAX,
    IDC_ADV_FRAG, IDC_ADV_FRAG_VALUE, IDC_ADV_FRAG_MIN, IDC_ADV_FRAG_MAX};
static_assert(sizeof(kLabelStrings) == sizeof(kLabels) && sizeof(kLabels) == sizeof(kParts),
              "one row per control");

int InRangeOr(int value, int low, int high, int fallback) { return value < low || value > high ? fallback : value; }
}  // namespace

BEGIN_MESSAGE_TABLE(CAdvancedPage, CSubPage)
    ON_MESSAGE(WM_HSCROLL, OnHScroll)
    ON_COMMAND(IDC_ADV_SET_DEFAULT, OnSetDefault)
END_MESSAGE_TABLE()

CAdvancedPage::CAdvancedPage() : CSubPage(kAdvanced, IDD_ADVANCED_PAGE, IDS_SUBTAB_ADVANCED) {}

void CAdvancedPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_ADV_SET_DEFAULT, m_defaultButton);
    fw::DDX_Control(dx, IDC_ADV_TXPOWER, m_txPowerBar);
    fw::DDX_Control(dx, IDC_ADV_RTS, m_rtsBar);
    fw::DDX_Control(dx, IDC_ADV_FRAG, m_fragmentBar);
    fw::DDX_Slider(dx, IDC_ADV_TXPOWER, m_nTxPower);
    fw::DDX_Slider(dx, IDC_ADV_FRAG, m_nFragment);
    fw::DDX_Slider(dx, IDC_ADV_RTS, m_nRts);
    fw::DDX_CBIndex(dx, IDC_ADV_SCANTYPE, m_nScanType);
    fw::DDX_CBIndex(dx, IDC_ADV_PREAMBLE, m_nPreamble);
    fw::DDX_Check(dx, IDC_ADV_QOS, m_nQos);
}

BOOL CAdvancedPage::OnInitDialog() {
    // The base exchange binds the controls; the bars still have their default
    // range then, so the values are shown again once the ranges are set.
    CSubPage::OnInitDialog();
    m_defaultIcon.reset(fw::res::LoadIconImage(IDI_SET_DEFAULT, kButtonIconSize, kButtonIconSize));
    const std::string caption = fw::res::String(IDS_SET_DEFAULT);
    m_defaultButton.SetUp(caption, caption, m_defaultIcon.get(), m_defaultIcon.get(), false);
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, kParts, static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])));
    m_txPowerBar.SetRange(0, kMaxTxPower);
    m_rtsBar.SetRange(kMinThreshold, kMaxRts);
    m_rtsBar.SetTicFreq(kThresholdTickStep);
    m_fragmentBar.SetRange(kMinThreshold, kMaxFragment);
    m_fragmentBar.SetTicFreq(kThresholdTickStep);
    ShowValues();
    return TRUE;
}

void CAdvancedPage::ShowValues() {
    UpdateData(false);
    SendMessage(WM_HSCROLL, 0, 0);
}

LRESULT CAdvancedPage::OnHScroll(WPARAM, LPARAM) {
    if (!UpdateData(true)) return 0;
    ::SetDlgItemTextA(m_hWnd, IDC_ADV_FRAG_VALUE, std::to_string(m_nFragment).c_str());
    const std::string rts = m_nRts == kMaxRts ? fw::res::String(IDS_RTS_DISABLED) : std::to_string(m_nRts);
    ::SetDlgItemTextA(m_hWnd, IDC_ADV_RTS_VALUE, rts.c_str());
    return 0;
}

void CAdvancedPage::OnSetDefault() {
    // Shown only: like any other edit, it reaches the profile on Save or Apply.
    m_nTxPower = kDefaultTxPower;
    m_nFragment = kDefaultFragment;
    m_nRts = kDefaultRts;
    m_nScanType = kDefaultScanType;
    m_nPreamble = kDefaultPreamble;
    m_nQos = kDefaultQos;
    ShowValues();
}

void CAdvancedPage::LoadFromProfile(const Profile& profile) {
    if (!m_hWnd) return;
    // Every value is made one that the controls can show: a list left without
    // a selection or a bar that limits the value silently would store
    // something other than what the page shows.
    m_nQos = profile.advQos != 0 ? 1 : 0;
    m_nTxPower = std::clamp(static_cast<int>(profile.advTxPower), 0, kMaxTxPower);
    m_nScanType = InRangeOr(profile.advScanType, 0, kScanTypeCount - 1, kDefaultScanType);
    m_nPreamble = profile.advPreamble != 0 ? 1 : 0;
    // Out-of-range thresholds (0 in a profile made by New) mean "not set".
    m_nRts = InRangeOr(profile.advRtsThreshold, kMinThreshold, kMaxRts, kDefaultRts);
    m_nFragment = InRangeOr(profile.advFragmentThreshold, kMinThreshold, kMaxFragment, kDefaultFragment);
    ShowValues();
}

bool CAdvancedPage::StoreToProfile(Profile& profile) {
    if (m_hWnd && !UpdateData(true)) return false;
    profile.advTxPower = m_nTxPower;
    profile.advFragmentThreshold = m_nFragment;
    profile.advRtsThreshold = m_nRts;
    // A list without a selection (a resource module whose template lacks
    // the entries) stores the default rather than -1.
    profile.advPreamble = m_nPreamble >= 0 ? m_nPreamble : kDefaultPreamble;
    profile.advScanType = m_nScanType >= 0 ? m_nScanType : kDefaultScanType;
    profile.advQos = m_nQos;
    return true;
}
