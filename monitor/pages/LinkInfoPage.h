// The link information page (tab 1): the adapter's current association,
// read once a second, also while another tab is in front.
#pragma once

#include <string>

#include "controls/PercentBar.h"
#include "framework/Controls.h"
#include "framework/Raii.h"
#include "pages/Page.h"

class CLinkInfoPage : public CPage {
public:
    CLinkInfoPage();
    ~CLinkInfoPage() override;

    // Network pictures, indexed by the number GetNetworkMode gives, plus
    // the page's own "not connected".
    enum Picture { kPictureAdHoc = 0, kPictureInfrastructure = 1, kPictureNotConnected = 2, kPictureCount = 3 };

    // Reads the adapter and fills every field, the two bars and the picture.
    void UpdateLinkInfo();

    // "802.11" followed by the suffix of wireless type 0..5 ("a", "a Turbo",
    // "b", none, "g", "g Turbo"); an unknown type has no suffix.
    static std::string WirelessTypeText(unsigned type);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    void ShowPicture(int picture);

    CPercentBar m_qualityBar;
    CPercentBar m_signalBar;
    fw::CStatic m_picture;
    fw::Gdi<HBITMAP> m_bitmaps[kPictureCount];
    // The picture last put into the control: sent again only when it changes.
    int m_nPicture = -1;
};
