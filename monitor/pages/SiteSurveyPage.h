// The site survey page (tab 3): scans for networks (by its Scan button and
// whenever the adapter becomes open), lists them with drawn rows and hands
// a double-clicked network to the main window.
#pragma once

#include <string>
#include <vector>

#include "controls/GradientPainter.h"
#include "controls/IconButton.h"
#include "controls/PercentBar.h"
#include "framework/Controls.h"
#include "framework/Raii.h"
#include "pages/Page.h"

// Whether the adapter was open at the page's previous 2-second check; a
// change from closed to open starts a scan. False at program start.
extern bool g_bSurveyWasOpen;

class CSiteSurveyPage : public CPage {
public:
    CSiteSurveyPage();
    ~CSiteSurveyPage() override;

    enum Column { kColSsid, kColBssid, kColChannel, kColEncryption, kColSignal, kColNetworkType, kColumnCount };
    // A scan's results are read up to this many networks, so that a library
    // that never ends its list cannot hold the page forever.
    static constexpr unsigned long kMaxNetworks = 4096;
    // Timer 1 advances the progress bar, timer 2 checks the adapter.
    static constexpr UINT_PTR kScanTimer = 1;
    static constexpr UINT_PTR kOpenCheckTimer = 2;

    // Column titles from string 21 ("a|b|c..."): the parts it has replace the
    // defaults in order; a seventh or later part is dropped.
    static std::vector<std::string> ColumnTitles(const std::string& fromResource);

    void StartScan();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnMeasureItem(WPARAM wp, LPARAM lp);
    LRESULT OnDrawItem(WPARAM wp, LPARAM lp);
    LRESULT OnListDoubleClick(NMHDR* nm);
    void AdvanceScan();
    void CheckAdapter();
    void FillSiteList();
    void ReadSurvey();
    void SizeColumnsToFit();
    void DrawRow(const DRAWITEMSTRUCT& dis) const;

    // One network of the last scan as the list shows it.
    struct Row {
        std::string text[kColumnCount];
    };
    // The last scan, by survey index (the list's item data).
    std::vector<Row> m_rows;
    fw::Gdi<HBRUSH> m_selectedBrush;

    CGradientPainter m_painter;
    fw::CListCtrl m_list;
    CPercentBar m_progress;
    CIconButton m_scan;
    fw::Icon m_scanIcon;
    fw::Icon m_keyIcon;
    fw::Icon m_accessPointIcon;
    fw::Icon m_computerIcon;
};
