// The common settings sub-page of the configuration page (template 215).
//
// This part holds what the main window relies on: the channel list rebuilt
// from the adapter and the network-type choices fitted to what the adapter
// supports, both refreshed when the adapter has been opened again. The
// profile fields, the rate list and the network-type list's drawing come
// with the configuration page's own change.
#pragma once

#include <string>

#include "framework/Controls.h"
#include "pages/Page.h"

class CCommonPage : public CPage {
public:
    CCommonPage();

    // Rebuilds the channel list from CWLANDevice::GetChannels: "auto", then
    // every offered channel with its table entry as item data.
    void FillChannelList();
    // Fits the network-type choices to what CWLANDevice::GetNetMask reports.
    void UpdateNetworkTypeList();

    // The network types the adapter reported at the last update.
    unsigned long SupportedTypes() const { return m_ulSupportedTypes; }
    // How often the network-type list was fitted (once per reopening).
    int NetworkTypeUpdates() const { return m_nNetworkTypeUpdates; }
    // How often the survey told this page that its results changed.
    int SiteUpdates() const { return m_nSiteUpdates; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnSitesUpdated(WPARAM wp, LPARAM lp);

    fw::CComboBox m_channelList;
    unsigned long m_ulSupportedTypes = 0;
    int m_nNetworkTypeUpdates = 0;
    int m_nSiteUpdates = 0;
};
