#include "config/CommonPage.h"

#include <cstdio>
#include <cstring>

#include "app/ControlLabels.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const int kChannelTableSize = 100;
const int kMaxNetworkName = 32;
const int kFirstChannelShown = 5;
// A survey longer than this is no survey: an odd library must not keep the
// page filling its list for ever.
const unsigned long kMaxSurveyEntries = 4096;
const char* const kTypeNames[CNetTypeList::kTypeCount] = {"802.11a", "802.11a Turbo", "802.11b", "802.11g",
                                                          "802.11g Turbo"};
const unsigned long kTypesWithoutChannel = NET_MASK_A | NET_MASK_A_TURBO;

// Labels and the fields they stand for; a "none" label hides both.
const UINT kLabelStrings[] = {IDS_COMMON_SSID, IDS_COMMON_MODE,      IDS_COMMON_RATE,
                              IDS_COMMON_CHANNEL, IDS_COMMON_POWERSAVE, IDS_COMMON_NETTYPE};
const UINT kLabels[] = {IDC_COMMON_SSID_LABEL,    IDC_COMMON_MODE_LABEL,      IDC_COMMON_RATE_LABEL,
                        IDC_COMMON_CHANNEL_LABEL, IDC_COMMON_POWERSAVE_LABEL, IDC_COMMON_NETTYPE_LABEL};
const UINT kFields[] = {IDC_COMMON_SSID,    IDC_COMMON_MODE,      IDC_COMMON_RATE,
                        IDC_COMMON_CHANNEL, IDC_COMMON_POWERSAVE, IDC_COMMON_NETTYPE};

void FillFromStrings(const fw::CComboBox& combo, UINT first, UINT second) {
    combo.ResetContent();
    combo.AddString(fw::res::String(first));
    combo.AddString(fw::res::String(second));
}

std::string SsidOf(const SiteInfo& site) { return std::string(site.ssid, ::strnlen(site.ssid, sizeof(site.ssid))); }

// The first supported type of a preference list, for a choice that would
// otherwise be empty.
unsigned long Fallback(unsigned long supported) {
    if (supported & NET_MASK_B) return NET_MASK_B;
    if (supported & NET_MASK_G) return NET_MASK_G;
    return NET_MASK_A;
}
}  // namespace

const CCommonPage::Rate CCommonPage::kRates[15] = {
    {2, NET_MASK_B | NET_MASK_G},
    {4, NET_MASK_B | NET_MASK_G},
    {11, NET_MASK_B | NET_MASK_G},
    {12, NET_MASK_A | NET_MASK_G},
    {18, NET_MASK_A | NET_MASK_G},
    {22, NET_MASK_B | NET_MASK_G},
    {24, NET_MASK_A | NET_MASK_A_TURBO | NET_MASK_G | NET_MASK_G_TURBO},
    {36, NET_MASK_A | NET_MASK_A_TURBO | NET_MASK_G | NET_MASK_G_TURBO},
    {48, NET_MASK_A | NET_MASK_A_TURBO | NET_MASK_G | NET_MASK_G_TURBO},
    {72, NET_MASK_A | NET_MASK_A_TURBO | NET_MASK_G | NET_MASK_G_TURBO},
    {96, NET_MASK_A | NET_MASK_A_TURBO | NET_MASK_G | NET_MASK_G_TURBO},
    {108, NET_MASK_A | NET_MASK_G},
    {144, NET_MASK_A_TURBO | NET_MASK_G_TURBO},
    {192, NET_MASK_A_TURBO | NET_MASK_G_TURBO},
    {216, NET_MASK_A_TURBO | NET_MASK_G_TURBO},
};

std::string CCommonPage::RateText(int value) {
    char text[32];
    if (value % 2) std::snprintf(text, sizeof(text), "%.1f Mbps", value / 2.0);
    else std::snprintf(text, sizeof(text), "%d Mbps", value / 2);
    return text;
}

BEGIN_MESSAGE_TABLE(CCommonPage, CSubPage)
    ON_CONTROL(CBN_SELCHANGE, IDC_COMMON_MODE, OnModeChanged)
    ON_CONTROL(CBN_SELCHANGE, IDC_COMMON_SSID, OnNetworkChosen)
    ON_MESSAGE(WM_SITES_UPDATED, OnSitesUpdated)
    ON_MESSAGE(WM_SITE_CHOSEN, OnSiteChosen)
    ON_MESSAGE(WM_NETTYPES_CHANGED, OnNetTypesChanged)
END_MESSAGE_TABLE()

CCommonPage::CCommonPage() : CSubPage(kCommon, IDD_COMMON_PAGE, IDS_SUBTAB_COMMON) {}

void CCommonPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_COMMON_SSID, m_nameList);
    fw::DDX_Control(dx, IDC_COMMON_MODE, m_modeList);
    fw::DDX_Control(dx, IDC_COMMON_RATE, m_rateList);
    fw::DDX_Control(dx, IDC_COMMON_CHANNEL, m_channelList);
    fw::DDX_Control(dx, IDC_COMMON_POWERSAVE, m_powerList);
    fw::DDX_Control(dx, IDC_COMMON_NETTYPE, m_netTypes);
    fw::DDX_CBIndex(dx, IDC_COMMON_MODE, m_nMode);
    fw::DDX_CBIndex(dx, IDC_COMMON_POWERSAVE, m_nPowerSave);
}

BOOL CCommonPage::OnInitDialog() {
    CSubPage::OnInitDialog();
    FillChannelList();
    for (const char* name : kTypeNames) m_netTypes.AddString(name);
    m_channelList.SetCurSel(kFirstChannelShown);
    UpdateModeControls();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, kFields, static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])));
    std::string channelLabel;
    m_bChannelSuppressed = fw::res::TryLoadString(IDS_COMMON_CHANNEL, channelLabel) &&
                           channelLabel.compare(0, 4, "none") == 0;
    FillFromStrings(m_modeList, IDS_MODE_ADHOC, IDS_MODE_INFRASTRUCTURE);
    FillFromStrings(m_powerList, IDS_POWERSAVE_DISABLED, IDS_POWERSAVE_ENABLED);
    m_nameList.LimitText(kMaxNetworkName);
    return TRUE;
}

void CCommonPage::FillChannelList() {
    if (!m_channelList.GetSafeHwnd()) return;
    unsigned long table[kChannelTableSize] = {};
    theDevice.GetChannels(table);
    m_channelList.ResetContent();
    m_channelList.AddItem("auto", 0);
    for (int channel = 1; channel <= kChannelTableSize; ++channel) {
        if (table[channel - 1] == 0) continue;
        char label[8];
        std::snprintf(label, sizeof(label), "%d", channel);
        m_channelList.AddItem(label, table[channel - 1]);
    }
    m_channelList.SetCurSel(0);
}

void CCommonPage::UpdateNetworkTypeList() {
    if (!m_hWnd || !UpdateData(true)) return;
    const unsigned long supported = theDevice.GetNetMask();
    if (m_nMode != 0) {
        unsigned long chosen = m_netTypes.GetChosenTypes();
        m_netTypes.SetEnabledTypes(supported);
        chosen &= supported;
        if (chosen == 0) {
            if (supported & NET_MASK_G_TURBO) chosen = NET_MASK_G_TURBO;
            else if (supported & NET_MASK_G) chosen = NET_MASK_G;
            else if (supported & NET_MASK_B) chosen = NET_MASK_B;
            else chosen = supported & (NET_MASK_A | NET_MASK_A_TURBO);
        }
        m_netTypes.SetChosenTypes(chosen);
        m_netTypes.SetModeSlot(CNetTypeList::kInfrastructureSlot);
    } else {
        // 802.11g Turbo is never offered in ad hoc mode.
        m_netTypes.SetEnabledTypes(supported & ~static_cast<unsigned long>(NET_MASK_G_TURBO));
        m_netTypes.SetModeSlot(CNetTypeList::kAdHocSlot);
    }
}

void CCommonPage::UpdateModeControls() {
    UpdateNetworkTypeList();
    const int show = (m_nMode == 0 && !m_bChannelSuppressed) ? SW_SHOW : SW_HIDE;
    ::ShowWindow(GetDlgItem(IDC_COMMON_CHANNEL), show);
    ::ShowWindow(GetDlgItem(IDC_COMMON_CHANNEL_LABEL), show);
    if (Host()) Host()->OnModeControlsUpdated();
    ApplyChannelRule();
}

void CCommonPage::ApplyChannelRule() {
    // 802.11a picks its channel itself in ad hoc mode. While the list still
    // shows the infrastructure choice (half-way through a switch to ad hoc)
    // its types say nothing about the channel, and must not reset it.
    const bool automatic = m_nMode == 0 && m_netTypes.GetModeSlot() == CNetTypeList::kAdHocSlot &&
                           (m_netTypes.GetChosenTypes() & kTypesWithoutChannel);
    if (automatic) m_channelList.SetCurSel(0);
    m_channelList.EnableWindow(!automatic);
}

void CCommonPage::FillRateList(unsigned long typeMask) {
    const DWORD_PTR kept = m_rateList.GetSelectedItemData(0);
    m_rateList.ResetContent();
    m_rateList.AddItem("auto", 0);
    for (const Rate& rate : kRates) {
        if (rate.types & typeMask) m_rateList.AddItem(RateText(rate.value), static_cast<DWORD_PTR>(rate.value));
    }
    if (!m_rateList.SelectItemData(kept)) m_rateList.SetCurSel(0);
}

LRESULT CCommonPage::OnNetTypesChanged(WPARAM wp, LPARAM lp) {
    FillRateList(m_netTypes.GetChosenTypes());
    ApplyChannelRule();
    return DefaultProc(WM_NETTYPES_CHANGED, wp, lp);
}

void CCommonPage::OnModeChanged() { UpdateModeControls(); }

std::string CCommonPage::NetworkName() const {
    std::string name = m_nameList.GetWindowText();
    if (name.size() > static_cast<size_t>(kMaxNetworkName)) name.resize(kMaxNetworkName);
    return name;
}

void CCommonPage::SetNetworkName(const std::string& name) {
    m_nameList.SetWindowText(name.size() > static_cast<size_t>(kMaxNetworkName) ? name.substr(0, kMaxNetworkName)
                                                                                : name);
}

void CCommonPage::LoadFromProfile(const Profile& profile) {
    if (!m_hWnd) return;
    m_nMode = profile.operatingMode != 0 ? 1 : 0;
    SetNetworkName(std::string(profile.ssid, ::strnlen(profile.ssid, sizeof(profile.ssid))));
    m_channelList.SelectItemData(static_cast<DWORD_PTR>(static_cast<unsigned long>(profile.channel)));
    m_nPowerSave = profile.powerSave != 0 ? 1 : 0;
    UpdateData(false);
    UpdateModeControls();

    const unsigned long supported = theDevice.GetNetMask();
    const unsigned long stored = static_cast<unsigned long>(profile.netType);
    unsigned long chosen;
    if (stored != 0 && (stored & supported)) chosen = stored & supported;
    else if (stored != 0 || m_nMode == 0) chosen = Fallback(supported);
    else chosen = supported;
    m_netTypes.SetChosenTypes(chosen);
    m_rateList.SelectItemData(static_cast<DWORD_PTR>(static_cast<unsigned long>(profile.txRate)));
}

bool CCommonPage::StoreToProfile(Profile& profile) {
    if (!m_hWnd) return true;
    if (!UpdateData(true)) return false;
    profile.operatingMode = m_nMode;
    std::string name = NetworkName();
    if (name.empty()) name = "ANY";
    std::memset(profile.ssid, 0, sizeof(profile.ssid));
    std::memcpy(profile.ssid, name.c_str(), name.size());
    profile.channel = static_cast<int32_t>(m_channelList.GetSelectedItemData(0));
    profile.txRate = static_cast<int32_t>(m_rateList.GetSelectedItemData(0));
    profile.powerSave = m_nPowerSave;
    const unsigned long chosen = m_netTypes.GetChosenTypes();
    profile.netType = static_cast<int32_t>(chosen != 0 ? chosen : CNetTypeList::kAllTypes);
    return true;
}

LRESULT CCommonPage::OnSitesUpdated(WPARAM, LPARAM) {
    const int selected = m_nameList.GetCurSel();
    const std::string shown = selected >= 0 ? m_nameList.GetLBText(selected) : m_nameList.GetWindowText();
    m_nameList.ResetContent();
    for (unsigned long index = 0; index < kMaxSurveyEntries; ++index) {
        const SiteInfo* site = theDevice.GetSiteInfo(index);
        if (!site) break;
        m_nameList.AddItem(SsidOf(*site), index);
    }
    // An empty name begins every entry: the first network is shown.
    const int match = shown.empty() ? (m_nameList.GetCount() > 0 ? 0 : -1) : m_nameList.FindString(shown);
    if (match >= 0) m_nameList.SetCurSel(match);
    else SetNetworkName(shown);
    return 0;
}

void CCommonPage::OnNetworkChosen() {
    const int selected = m_nameList.GetCurSel();
    if (selected < 0) return;
    const SiteInfo* site = theDevice.GetSiteInfo(static_cast<unsigned long>(m_nameList.GetItemData(selected)));
    if (!site || !UpdateData(true)) return;
    m_nMode = site->networkType == 1 ? 1 : 0;
    m_netTypes.SetModeSlot(m_nMode ? CNetTypeList::kInfrastructureSlot : CNetTypeList::kAdHocSlot);
    UpdateData(false);
    UpdateModeControls();
}

LRESULT CCommonPage::OnSiteChosen(WPARAM wp, LPARAM) {
    const SiteInfo* site = theDevice.GetSiteInfo(static_cast<unsigned long>(wp));
    if (!site || !UpdateData(true)) return 0;
    m_nMode = site->networkType == 1 ? 1 : 0;
    const std::string ssid = SsidOf(*site);
    const int match = m_nameList.FindStringExact(ssid);
    if (match >= 0) m_nameList.SetCurSel(match);
    else SetNetworkName(ssid);
    char channel[16];
    std::snprintf(channel, sizeof(channel), "%d", static_cast<int>(site->channel));
    const int entry = m_channelList.FindString(channel);
    m_channelList.SetCurSel(entry >= 0 ? entry : 0);
    UpdateData(false);
    UpdateModeControls();
    return 0;
}
