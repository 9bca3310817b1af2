#include "config/CommonPage.h"

#include <cstdio>

#include "app/ControlLabels.h"
#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const int kChannelTableSize = 100;
const int kMaxNetworkName = 32;

// Labels and the fields they stand for; a "none" label hides both.
const UINT kLabelStrings[] = {IDS_COMMON_SSID, IDS_COMMON_MODE,      IDS_COMMON_RATE,
                              IDS_COMMON_CHANNEL, IDS_COMMON_POWERSAVE, IDS_COMMON_NETTYPE};
const UINT kLabels[] = {IDC_COMMON_SSID_LABEL,    IDC_COMMON_MODE_LABEL,      IDC_COMMON_RATE_LABEL,
                        IDC_COMMON_CHANNEL_LABEL, IDC_COMMON_POWERSAVE_LABEL, IDC_COMMON_NETTYPE_LABEL};
const UINT kFields[] = {IDC_COMMON_SSID,    IDC_COMMON_MODE,      IDC_COMMON_RATE,
                        IDC_COMMON_CHANNEL, IDC_COMMON_POWERSAVE, IDC_COMMON_NETTYPE};

void FillFromStrings(HWND combo, UINT first, UINT second) {
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (UINT id : {first, second})
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fw::res::String(id).c_str()));
}
}  // namespace

BEGIN_MESSAGE_TABLE(CCommonPage, CPage)
    ON_MESSAGE(WM_SITES_UPDATED, OnSitesUpdated)
END_MESSAGE_TABLE()

CCommonPage::CCommonPage() : CPage(IDD_COMMON_PAGE, IDS_SUBTAB_COMMON) {}

void CCommonPage::DoDataExchange(fw::CDataExchange& dx) { fw::DDX_Control(dx, IDC_COMMON_CHANNEL, m_channelList); }

BOOL CCommonPage::OnInitDialog() {
    CPage::OnInitDialog();
    FillChannelList();
    LoadControlLabels(m_hWnd, kLabelStrings, kLabels, kFields, static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])));
    FillFromStrings(GetDlgItem(IDC_COMMON_MODE), IDS_MODE_ADHOC, IDS_MODE_INFRASTRUCTURE);
    FillFromStrings(GetDlgItem(IDC_COMMON_POWERSAVE), IDS_POWERSAVE_DISABLED, IDS_POWERSAVE_ENABLED);
    ::SendMessageA(GetDlgItem(IDC_COMMON_SSID), CB_LIMITTEXT, kMaxNetworkName, 0);
    return TRUE;
}

void CCommonPage::FillChannelList() {
    if (!m_channelList.GetSafeHwnd()) return;
    unsigned long table[kChannelTableSize] = {};
    theDevice.GetChannels(table);
    m_channelList.ResetContent();
    m_channelList.SetItemData(m_channelList.AddString("auto"), 0);
    for (int channel = 1; channel <= kChannelTableSize; ++channel) {
        if (table[channel - 1] == 0) continue;
        char label[8];
        std::snprintf(label, sizeof(label), "%d", channel);
        m_channelList.SetItemData(m_channelList.AddString(label), table[channel - 1]);
    }
    m_channelList.SetCurSel(0);
}

void CCommonPage::UpdateNetworkTypeList() {
    m_ulSupportedTypes = theDevice.GetNetMask();
    ++m_nNetworkTypeUpdates;
}

LRESULT CCommonPage::OnSitesUpdated(WPARAM, LPARAM) {
    ++m_nSiteUpdates;
    return 0;
}
