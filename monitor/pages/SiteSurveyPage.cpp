#include "pages/SiteSurveyPage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/App.h"
#include "framework/Resources.h"
#include "resource.h"

bool g_bSurveyWasOpen = false;

namespace {
constexpr UINT kScanTickMs = 10;
constexpr UINT kOpenCheckMs = 2000;
constexpr int kLastProgress = 100;
// Every row goes in at this position: while the list is shorter it appends.
constexpr int kInsertPosition = 100;
constexpr int kDefaultColumnWidth = 100;
constexpr int kSignalColumnWidth = 100;
constexpr DWORD kListExStyles = LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT | LVS_EX_FLATSB;
constexpr COLORREF kSelectedBack = RGB(0, 0, 255);
constexpr COLORREF kSelectedText = RGB(255, 255, 255);
constexpr SIZE kKeyIconSize = {23, 14};
constexpr SIZE kTypeIconSize = {60, 14};
// Rows fit the 14-pixel icons and the signal cell's frame around them.
constexpr UINT kMinRowHeight = 16;

const char* const kDefaultTitles[CSiteSurveyPage::kColumnCount] = {"SSID",       "BSSID",  "Channel",
                                                                    "Encryption", "Signal", "Network type"};

// Icons at the size their resource has (the list's are not square).
HICON LoadOwnSizeIcon(UINT id) {
    return static_cast<HICON>(::LoadImageA(fw::res::Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
}

std::string Decimal(long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%ld", value);
    return text;
}

// The signal cell's number: 0 when the text is not a number; the bar is
// drawn for 0..100 only, whatever the library reported.
int SignalPercent(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno != 0) return 0;
    return static_cast<int>(std::clamp(value, 0L, 100L));
}

HWND MainWindow() {
    fw::CAppBase* app = fw::CAppBase::Current();
    return (app && app->m_pMainWnd) ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

// Clips drawing to one cell for a scope: icons are drawn at their own size
// and must not spill into the next column when a column is narrow.
class CellClip {
public:
    CellClip(HDC dc, const RECT& cell) : m_dc(dc), m_saved(::SaveDC(dc)) {
        ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
    }
    ~CellClip() {
        if (m_saved) ::RestoreDC(m_dc, m_saved);
    }
    CellClip(const CellClip&) = delete;
    CellClip& operator=(const CellClip&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

class ListRedrawOff {
public:
    explicit ListRedrawOff(const fw::CWnd& list) : m_list(list) { m_list.SendMessage(WM_SETREDRAW, FALSE); }
    ~ListRedrawOff() {
        m_list.SendMessage(WM_SETREDRAW, TRUE);
        m_list.Invalidate(TRUE);
    }
    ListRedrawOff(const ListRedrawOff&) = delete;
    ListRedrawOff& operator=(const ListRedrawOff&) = delete;

private:
    const fw::CWnd& m_list;
};
}  // namespace

BEGIN_MESSAGE_TABLE(CSiteSurveyPage, CPage)
    ON_COMMAND(IDC_SURVEY_SCAN, StartScan)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_MEASUREITEM, OnMeasureItem)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
    ON_NOTIFY(NM_DBLCLK, IDC_SURVEY_LIST, OnListDoubleClick)
END_MESSAGE_TABLE()

CSiteSurveyPage::CSiteSurveyPage()
    : CPage(IDD_SURVEY_PAGE, IDS_TAB_SURVEY), m_selectedBrush(::CreateSolidBrush(kSelectedBack)) {}

CSiteSurveyPage::~CSiteSurveyPage() {
    // The rows are drawn with the page's icons and painter: the window goes first.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void CSiteSurveyPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_SURVEY_SCAN, m_scan);
    fw::DDX_Control(dx, IDC_SURVEY_LIST, m_list);
    fw::DDX_Control(dx, IDC_SURVEY_PROGRESS, m_progress);
}

std::vector<std::string> CSiteSurveyPage::ColumnTitles(const std::string& fromResource) {
    std::vector<std::string> titles(kDefaultTitles, kDefaultTitles + kColumnCount);
    if (fromResource.empty()) return titles;
    size_t start = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        const size_t bar = fromResource.find('|', start);
        titles[static_cast<size_t>(column)] = fromResource.substr(start, bar == std::string::npos ? bar : bar - start);
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return titles;
}

BOOL CSiteSurveyPage::OnInitDialog() {
    CPage::OnInitDialog();

    m_scanIcon.reset(LoadOwnSizeIcon(IDI_SCAN));
    m_scan.SetUp(fw::res::String(IDS_SCAN), fw::res::String(IDS_SCANNING), m_scanIcon.get(), m_scanIcon.get(), true);
    m_progress.SetStyle(false, false, RGB(0, 0, 0), RGB(200, 200, 200));

    const std::vector<std::string> titles = ColumnTitles(fw::res::String(IDS_SURVEY_COLUMNS));
    for (int column = 0; column < kColumnCount; ++column)
        m_list.InsertColumn(column, titles[static_cast<size_t>(column)], kDefaultColumnWidth, LVCFMT_LEFT);
    m_list.SetExtendedStyle(kListExStyles);

    m_keyIcon.reset(LoadOwnSizeIcon(IDI_KEY));
    m_computerIcon.reset(LoadOwnSizeIcon(IDI_COMPUTER));
    m_accessPointIcon.reset(LoadOwnSizeIcon(IDI_ACCESS_POINT));

    // The first scan comes from this check once it sees the adapter open.
    SetTimer(kOpenCheckTimer, kOpenCheckMs);
    return TRUE;
}

void CSiteSurveyPage::StartScan() {
    m_scan.SetState(1);
    m_scan.EnableWindow(FALSE);
    SetTimer(kScanTimer, kScanTickMs);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    // Not asked whether it is done: the results are read after the progress
    // bar's run, and a failed start simply finds nothing then.
    theDevice.InitSiteSurvey();
}

LRESULT CSiteSurveyPage::OnTimer(WPARAM wp, LPARAM) {
    if (wp == kScanTimer) AdvanceScan();
    else if (wp == kOpenCheckTimer) CheckAdapter();
    return 0;
}

void CSiteSurveyPage::AdvanceScan() {
    const int pos = m_progress.GetPos();
    if (pos < kLastProgress) {
        m_progress.SetPos(pos + 1);
        return;
    }
    m_progress.ShowWindow(SW_HIDE);
    m_scan.EnableWindow(TRUE);
    m_scan.SetState(0);
    KillTimer(kScanTimer);
    {
        // One repaint for the whole refill: with redraw on, every insertion
        // re-lays out and invalidates the visible list.
        ListRedrawOff quiet(m_list);
        m_list.DeleteAllItems();
        FillSiteList();
    }
}

void CSiteSurveyPage::CheckAdapter() {
    const bool open = theDevice.IsOpen();
    const bool was = g_bSurveyWasOpen;
    g_bSurveyWasOpen = open;
    if (open && !was) StartScan();
    // After the scan start, so an automatic scan leaves the button usable.
    m_scan.EnableWindow(open);
}

void CSiteSurveyPage::ReadSurvey() {
    m_rows.clear();
    for (unsigned long index = 0; index < kMaxNetworks; ++index) {
        const SiteInfo* found = theDevice.GetSiteInfo(index);
        if (!found) break;
        // The record belongs to the library: copy it, and never trust its
        // name to be terminated.
        SiteInfo site;
        std::memcpy(&site, found, sizeof(site));
        Row row;
        row.text[kColSsid].assign(site.ssid, strnlen(site.ssid, sizeof(site.ssid)));
        char bssid[sizeof(site.bssid)];
        std::memcpy(bssid, site.bssid, sizeof(bssid));
        const char* mac = GetMac(bssid);
        if (mac) row.text[kColBssid].assign(mac, strnlen(mac, 64));
        row.text[kColChannel] = Decimal(site.channel);
        row.text[kColEncryption] = Decimal(site.encryption);
        row.text[kColSignal] = Decimal(site.signal);
        row.text[kColNetworkType] = Decimal(site.networkType);
        m_rows.push_back(std::move(row));
    }
}

void CSiteSurveyPage::SizeColumnsToFit() {
    // A column sized to its contents is as wide as its widest text: the
    // list is given one row of the widest texts to measure instead of all
    // of them (sizing over a thousand rows cost more than filling them).
    // The last column fills what is left and so waits for the full list.
    Row widest;
    {
        fw::WindowDC dc(m_list);
        fw::SelectObjectScope font(dc.get(), m_list.GetFont());
        LONG widestCx[kColumnCount] = {};
        for (const Row& row : m_rows) {
            for (int column = 0; column < kColNetworkType; ++column) {
                const std::string& text = row.text[column];
                SIZE size = {};
                ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
                if (size.cx > widestCx[column] || widest.text[column].empty()) {
                    widestCx[column] = size.cx;
                    widest.text[column] = text;
                }
            }
        }
    }
    const int probe = m_list.InsertItem(0, widest.text[kColSsid], 0);
    for (int column = 1; column < kColNetworkType; ++column) m_list.SetItemText(probe, column, widest.text[column]);
    for (int column = 0; column < kColNetworkType; ++column) m_list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    m_list.SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(probe));
}

void CSiteSurveyPage::FillSiteList() {
    if (!theDevice.QuerySiteSurvey()) return;
    ReadSurvey();
    SizeColumnsToFit();
    for (size_t index = 0; index < m_rows.size(); ++index) {
        const Row& site = m_rows[index];
        const int row = m_list.InsertItem(kInsertPosition, site.text[kColSsid], static_cast<LPARAM>(index));
        if (row < 0) continue;
        for (int column = kColBssid; column < kColumnCount; ++column) m_list.SetItemText(row, column, site.text[column]);
    }
    m_list.SetColumnWidth(kColNetworkType, LVSCW_AUTOSIZE_USEHEADER);
    m_list.SetColumnWidth(kColSignal, kSignalColumnWidth);

    if (HWND main = MainWindow()) ::SendMessageA(main, WM_SITES_UPDATED, 0, 0);
}

LRESULT CSiteSurveyPage::OnListDoubleClick(NMHDR*) {
    const int row = m_list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0) return 0;
    // The item data is the survey index: rows past the hundredth are not in
    // scan order.
    const LPARAM index = m_list.GetItemData(row);
    if (HWND main = MainWindow()) ::SendMessageA(main, WM_SITE_CHOSEN, static_cast<WPARAM>(index), 0);
    return 0;
}

LRESULT CSiteSurveyPage::OnMeasureItem(WPARAM, LPARAM lp) {
    // Asked by the list while the dialog creates it, with the font's height
    // filled in.
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (!mis || mis->CtlID != IDC_SURVEY_LIST) return FALSE;
    mis->itemHeight = std::max(mis->itemHeight, kMinRowHeight);
    return TRUE;
}

LRESULT CSiteSurveyPage::OnDrawItem(WPARAM, LPARAM lp) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!dis || dis->CtlID != IDC_SURVEY_LIST || dis->CtlType != ODT_LISTVIEW) return FALSE;
    DrawRow(*dis);
    return TRUE;
}

void CSiteSurveyPage::DrawRow(const DRAWITEMSTRUCT& dis) const {
    const int row = static_cast<int>(dis.itemID);
    HDC dc = dis.hDC;
    // The texts come from the page's copy of the survey (the row's item
    // data is the survey index), not from a query per cell.
    const size_t index = static_cast<size_t>(m_list.GetItemData(row));
    if (index >= m_rows.size()) return;
    const std::string* text = m_rows[index].text;
    RECT cell[kColumnCount];
    for (int column = 0; column < kColumnCount; ++column) {
        cell[column] = {};
        m_list.GetSubItemRect(row, column, LVIR_BOUNDS, cell[column]);
        cell[column].left += 2;
    }
    // The bounds of sub-item 0 span the whole row.
    cell[kColSsid].left += 3;
    cell[kColSsid].right = cell[kColSsid].left + m_list.GetColumnWidth(kColSsid) - 6;
    cell[kColBssid].left += 6;
    cell[kColChannel].left += 6;

    const bool selected = (dis.itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    const COLORREF fore = selected ? kSelectedText : RGB(0, 0, 0);
    ::FillRect(dc, &dis.rcItem, selected ? m_selectedBrush.get() : ::GetSysColorBrush(COLOR_WINDOW));
    const COLORREF oldText = ::SetTextColor(dc, fore);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);

    // Names may hold '&' and odd characters: shown as they are, on one line.
    for (int column : {kColSsid, kColBssid, kColChannel})
        ::DrawTextA(dc, text[column].c_str(), static_cast<int>(text[column].size()), &cell[column],
                    DT_NOPREFIX | DT_SINGLELINE);

    if (text[kColEncryption] == "1" && m_keyIcon) {
        CellClip clip(dc, cell[kColEncryption]);
        ::DrawIconEx(dc, cell[kColEncryption].left, cell[kColEncryption].top, m_keyIcon.get(), kKeyIconSize.cx,
                     kKeyIconSize.cy, 0, nullptr, DI_NORMAL);
    }

    const int signal = SignalPercent(text[kColSignal]);
    RECT bar = cell[kColSignal];
    bar.bottom -= 1;
    ::Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
    ::InflateRect(&bar, -1, -1);
    m_painter.PaintPart(dc, bar, signal);
    char percent[16];
    std::snprintf(percent, sizeof(percent), "%d%%", signal);
    ::SetTextColor(dc, RGB(0, 0, 0));
    bar.top -= 1;
    ::DrawTextA(dc, percent, -1, &bar, DT_CENTER | DT_VCENTER);
    ::SetTextColor(dc, fore);

    const HICON typeIcon = (text[kColNetworkType] == "1") ? m_accessPointIcon.get() : m_computerIcon.get();
    if (typeIcon) {
        CellClip clip(dc, cell[kColNetworkType]);
        ::DrawIconEx(dc, cell[kColNetworkType].left, cell[kColNetworkType].top, typeIcon, kTypeIconSize.cx,
                     kTypeIconSize.cy, 0, nullptr, DI_NORMAL);
    }

    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
}
