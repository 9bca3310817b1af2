// The advanced settings sub-page of the configuration page (template 219):
// the radio settings of a profile. RTS and fragmentation thresholds on track
// bars, preamble type, site scan type, quality of service and transmit power.
// The string table may hide any block; a hidden block still carries its
// value from the record to the record, so a profile keeps settings that this
// product does not show.
#pragma once

#include "config/SubPage.h"
#include "controls/IconButton.h"
#include "framework/Controls.h"
#include "framework/Raii.h"

class CAdvancedPage : public CSubPage {
public:
    // The page's values after construction, and what "Set default" restores.
    // An RTS threshold at its maximum means RTS/CTS is never used.
    static constexpr int kDefaultTxPower = 0;
    static constexpr int kDefaultFragment = 2346;
    static constexpr int kDefaultRts = 2347;
    static constexpr int kDefaultScanType = 2;  // Auto
    static constexpr int kDefaultPreamble = 0;  // Short & Long
    static constexpr int kDefaultQos = 0;

    static constexpr int kMinThreshold = 256;
    static constexpr int kMaxRts = 2347;
    static constexpr int kMaxFragment = 2346;
    static constexpr int kMaxTxPower = 4;     // 0 is the top of the bar
    static constexpr int kScanTypeCount = 3;  // Active, Passive, Auto

    CAdvancedPage();

    void LoadFromProfile(const Profile& profile) override;
    bool StoreToProfile(Profile& profile) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    // Members to controls, then the value labels follow.
    void ShowValues();
    void OnSetDefault();
    LRESULT OnHScroll(WPARAM wp, LPARAM lp);

    CIconButton m_defaultButton;
    fw::Icon m_defaultIcon;
    fw::CSliderCtrl m_txPowerBar;
    fw::CSliderCtrl m_rtsBar;
    fw::CSliderCtrl m_fragmentBar;

    int m_nTxPower = kDefaultTxPower;
    int m_nFragment = kDefaultFragment;
    int m_nRts = kDefaultRts;
    int m_nScanType = kDefaultScanType;
    int m_nPreamble = kDefaultPreamble;
    int m_nQos = kDefaultQos;
};
