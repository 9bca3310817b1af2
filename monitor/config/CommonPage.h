// The common settings sub-page of the configuration page (template 215):
// network name, operating mode, transmit rate, channel, power saving and
// the allowed network types of a profile. Its lists come from what the
// adapter reports (channels, supported types) and from the last survey
// (network names); the network-type choice decides which rates are offered.
#pragma once

#include <string>

#include "config/NetTypeList.h"
#include "config/SubPage.h"
#include "framework/Controls.h"

class CCommonPage : public CSubPage {
public:
    CCommonPage();

    void LoadFromProfile(const Profile& profile) override;
    bool StoreToProfile(Profile& profile) override;

    // Rebuilds the channel list from CWLANDevice::GetChannels: "auto", then
    // every offered channel with its table entry as item data.
    void FillChannelList();
    // Fits the network-type choices to the operating mode and to what
    // CWLANDevice::GetNetMask reports.
    void UpdateNetworkTypeList();
    // Rebuilds the rate list for a network-type mask, keeping the selected
    // rate when the mask still offers it.
    void FillRateList(unsigned long typeMask);

    // The operating-mode entry shown: 0 ad hoc, 1 infrastructure.
    int ModeIndex() const { return m_nMode; }
    bool IsInfrastructure() const { return m_nMode != 0; }
    CNetTypeList& NetTypeList() { return m_netTypes; }

    // The rate table: values in 500 kbit/s units and the network types
    // (NET_MASK_* bits) that offer each.
    struct Rate {
        int value;
        unsigned long types;
    };
    static const Rate kRates[15];
    static std::string RateText(int value);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    void UpdateModeControls();
    void ApplyChannelRule();
    std::string NetworkName() const;
    void SetNetworkName(const std::string& name);

    void OnModeChanged();
    void OnNetworkChosen();
    LRESULT OnSitesUpdated(WPARAM wp, LPARAM lp);
    LRESULT OnSiteChosen(WPARAM wp, LPARAM lp);
    LRESULT OnNetTypesChanged(WPARAM wp, LPARAM lp);

    CNetTypeList m_netTypes;
    fw::CComboBox m_nameList;
    fw::CComboBox m_modeList;
    fw::CComboBox m_rateList;
    fw::CComboBox m_channelList;
    fw::CComboBox m_powerList;
    int m_nMode = 0;
    int m_nPowerSave = -1;
    // The channel row is hidden by the string table: a mode change must not
    // bring it back.
    bool m_bChannelSuppressed = false;
};
