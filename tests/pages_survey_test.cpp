// The site survey page against the simulated adapter: when scans start and
// end, what the list holds, how rows are drawn, what the main window hears.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "mainwnd_fixture.h"
#include "pages/SiteSurveyPage.h"
#include "pages_support.h"
#include "resource.h"
#include "support/TestProcess.h"

using pagetest::Canvas;
using pagetest::Shown;
using Titles = std::vector<std::string>;

namespace {

void AddNetwork(const char* subkey, const std::string& ssid, DWORD encryption, DWORD signal, DWORD type) {
    const std::string path = std::string("Software\\NicportSim\\Networks\\") + subkey;
    testsupport::WriteString(HKEY_CURRENT_USER, path, "SSID", ssid);
    for (auto [name, value] : {std::pair{"Encryption", encryption}, {"Signal", signal}, {"NetworkType", type}})
        testsupport::WriteDword(HKEY_CURRENT_USER, path, name, value);
}

class SiteSurveyPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        g_bSurveyWasOpen = false;
        theApp.m_pMainWnd = &host;
        int handle = 0;
        ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    }
    void TearDown() override {
        page.DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        theDevice.Close();
        mwtest::ResetSim();
    }
    void Create() {
        ASSERT_TRUE(page.Create(host));
        list = static_cast<fw::CListCtrl*>(fw::CWnd::FromHandle(page.GetDlgItem(IDC_SURVEY_LIST)));
    }
    HWND Scan() const { return page.GetDlgItem(IDC_SURVEY_SCAN); }
    bool Scanning() const { return pagetest::Text(Scan()) == "Scanning"; }
    HWND Progress() const { return page.GetDlgItem(IDC_SURVEY_PROGRESS); }
    void Timer(UINT_PTR id, int times = 1) {
        while (times-- > 0) page.SendMessage(WM_TIMER, id);
    }
    void ScanNow() {
        page.SendMessage(WM_COMMAND, IDC_SURVEY_SCAN);
        Timer(CSiteSurveyPage::kScanTimer, 101);
    }
    long Count(UINT message) const {
        return std::count_if(host.received.begin(), host.received.end(), [&](const MSG& m) { return m.message == message; });
    }
    void DoubleClick() {
        NMITEMACTIVATE nm = {};
        nm.hdr = {list->GetSafeHwnd(), IDC_SURVEY_LIST, static_cast<UINT>(NM_DBLCLK)};
        page.SendMessage(WM_NOTIFY, IDC_SURVEY_LIST, reinterpret_cast<LPARAM>(&nm));
    }

    pagetest::Host host;
    CSiteSurveyPage page;
    fw::CListCtrl* list = nullptr;
};

TEST_F(SiteSurveyPageTest, FirstScanStartsFromTheOpenCheckWhileHidden) {
    const DWORD created = ::GetTickCount();
    Create();
    ASSERT_FALSE(::IsWindowVisible(page));
    ASSERT_TRUE(testsupport::WaitFor([&] { return mwtest::Pump(), Scanning(); }, 6000));
    EXPECT_GE(::GetTickCount() - created, 1800u);
    EXPECT_TRUE(::IsWindowEnabled(Scan()));  // the check enables it again after starting
    EXPECT_TRUE(Shown(Progress()));
}

TEST_F(SiteSurveyPageTest, ScanButtonAcrossInsertionAndAScan) {
    theDevice.Close();
    mwtest::SetSim("Present", 0);
    Create();
    Timer(CSiteSurveyPage::kOpenCheckTimer);
    EXPECT_FALSE(Scanning() || ::IsWindowEnabled(Scan()));

    mwtest::SetSim("Present", 1);  // inserted later
    int handle = 0;
    ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    Timer(CSiteSurveyPage::kOpenCheckTimer);
    EXPECT_TRUE(Scanning() && ::IsWindowEnabled(Scan()));
    Timer(CSiteSurveyPage::kScanTimer, 40);
    Timer(CSiteSurveyPage::kOpenCheckTimer);  // still open: no new scan
    EXPECT_EQ(::SendMessageA(Progress(), PBM_GETPOS, 0, 0), 40);

    page.SendMessage(WM_COMMAND, IDC_SURVEY_SCAN);  // a click starts over
    EXPECT_TRUE(Scanning() && !::IsWindowEnabled(Scan()));
    EXPECT_EQ(::SendMessageA(Progress(), PBM_GETPOS, 0, 0), 0);
    Timer(CSiteSurveyPage::kScanTimer, 100);
    EXPECT_TRUE(Scanning());
    Timer(CSiteSurveyPage::kScanTimer);  // the 101st tick ends it
    EXPECT_EQ(pagetest::Text(Scan()), "Scan");
    EXPECT_TRUE(::IsWindowEnabled(Scan()) && !Shown(Progress()));
    EXPECT_EQ(list->GetItemCount(), 6);  // the simulator's demo networks
    EXPECT_EQ(list->GetItemText(0, 0), "HomeNet");
    EXPECT_EQ(Count(WM_SITES_UPDATED), 1);
}

TEST_F(SiteSurveyPageTest, UnreadableSurveyLeavesTheListEmptyAndSendsNothing) {
    Create();
    ScanNow();
    ASSERT_EQ(list->GetItemCount(), 6);
    host.received.clear();
    mwtest::SetSim("SurveyFails", 1);
    ScanNow();
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_TRUE(host.received.empty());
}

TEST_F(SiteSurveyPageTest, ManyAndHostileNetworksKeepTheirSurveyIndex) {
    AddNetwork("0", std::string(40, 'N'), 7, 250, 0xFFFFFFFF);  // no terminator, odd numbers
    mwtest::SetSim("ExtraNetworks", 120);
    Create();
    ScanNow();
    ASSERT_EQ(list->GetItemCount(), 121);
    EXPECT_EQ(list->GetItemText(0, 0), std::string(33, 'N'));
    EXPECT_EQ(list->GetItemText(0, 3) + list->GetItemText(0, 4) + list->GetItemText(0, 5), "7250-1");
    EXPECT_EQ(list->GetItemText(99, 0), "Net-00099");
    EXPECT_EQ(list->GetItemText(100, 0), "Net-00120");  // each inserted at 100: reverse order
    EXPECT_EQ(list->GetItemText(120, 0), "Net-00100");

    host.received.clear();
    DoubleClick();  // nothing selected: nothing sent
    EXPECT_TRUE(host.received.empty());
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    list->SendMessage(LVM_SETITEMSTATE, 100, reinterpret_cast<LPARAM>(&item));
    DoubleClick();
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].message, WM_SITE_CHOSEN);
    EXPECT_EQ(host.received[0].wParam, 120u);
}

TEST_F(SiteSurveyPageTest, ColumnsAreAsWideAsWhenSizedOverEveryRow) {
    // One wide name among many ordinary rows: the columns must come out as
    // the list's own sizing over every row makes them.
    mwtest::SetSim("ExtraNetworks", 150);
    AddNetwork("0", "ordinary", 0, 40, 1);
    AddNetwork("1", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 1, 99, 0);
    Create();
    ScanNow();
    ASSERT_EQ(list->GetItemCount(), 152);
    int widths[CSiteSurveyPage::kColumnCount];
    for (int c = 0; c < CSiteSurveyPage::kColumnCount; ++c) widths[c] = list->GetColumnWidth(c);
    // What the list itself makes of every row, in the same order.
    for (int c = 0; c < CSiteSurveyPage::kColumnCount; ++c) list->SetColumnWidth(c, LVSCW_AUTOSIZE_USEHEADER);
    list->SetColumnWidth(CSiteSurveyPage::kColSignal, 100);
    for (int c = 0; c < CSiteSurveyPage::kColumnCount; ++c) EXPECT_EQ(widths[c], list->GetColumnWidth(c)) << c;
    EXPECT_GT(widths[CSiteSurveyPage::kColSsid], 150);
}

TEST(SiteSurveyTitlesTest, StringPartsReplaceTheDefaultsInOrder) {
    EXPECT_EQ(CSiteSurveyPage::ColumnTitles(""), (Titles{"SSID", "BSSID", "Channel", "Encryption", "Signal", "Network type"}));
    EXPECT_EQ(CSiteSurveyPage::ColumnTitles("Name|Address"),
              (Titles{"Name", "Address", "Channel", "Encryption", "Signal", "Network type"}));
    EXPECT_EQ(CSiteSurveyPage::ColumnTitles("1|2|3|4|5|6|7"), (Titles{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(SiteSurveyPageTest, RowDrawing) {
    AddNetwork("0", "Encrypted", 1, 50, 1);
    AddNetwork("1", "Other", 2, 0, 0);
    AddNetwork("2", "Third", 0, 100, 2);
    Create();
    ScanNow();
    const RECT client = list->GetClientRect();
    Canvas canvas(client.right, client.bottom);
    auto cell = [&](int row, int column) {
        RECT r = {};
        list->GetSubItemRect(row, column, LVIR_BOUNDS, r);
        return r;
    };
    auto draw = [&](int row, UINT state) {
        DRAWITEMSTRUCT dis = {ODT_LISTVIEW, IDC_SURVEY_LIST, static_cast<UINT>(row), ODA_DRAWENTIRE, state,
                              list->GetSafeHwnd(), canvas.dc(), cell(row, 0), 0};
        page.SendMessage(WM_DRAWITEM, IDC_SURVEY_LIST, reinterpret_cast<LPARAM>(&dis));
    };
    auto pixels = [&](const RECT& r) {
        std::vector<COLORREF> v;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < std::min<LONG>(r.right, canvas.width); ++x) v.push_back(canvas.Pixel(x, y));
        return v;
    };
    auto blank = [&](const RECT& r, COLORREF c) { return canvas.Count(c, r) == (r.right - r.left) * (r.bottom - r.top); };
    for (int row = 0; row < 3; ++row) draw(row, 0);

    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    EXPECT_GE(cell(0, 0).bottom - cell(0, 0).top, 14);  // rows fit the icons
    EXPECT_FALSE(blank(cell(0, 3), window));            // the key for exactly 1 only
    EXPECT_TRUE(blank(cell(1, 3), window) && blank(cell(2, 3), window));
    EXPECT_NE(pixels(cell(0, 5)), pixels(cell(1, 5)));  // access point for exactly 1,
    EXPECT_EQ(pixels(cell(1, 5)), pixels(cell(2, 5)));  // the computer for 0 and 2
    EXPECT_FALSE(blank(cell(1, 5), window));

    // The signal cell: a frame in the DC's pen, the gradient from its blue
    // end up to the percentage, the DC's brush beyond.
    const RECT half = cell(0, 4), full = cell(2, 4);
    EXPECT_EQ(canvas.Pixel(half.left + 2, (half.top + half.bottom) / 2), RGB(0, 0, 0));
    EXPECT_TRUE(pagetest::IsBlue(canvas.Pixel(half.left + 3, half.top + 1)));
    EXPECT_EQ(canvas.Pixel(half.right - 3, half.top + 1), RGB(255, 255, 255));
    EXPECT_GT(GetRValue(canvas.Pixel(full.right - 3, full.top + 1)), 200);

    // Selected: blue with white text; otherwise black text.
    RECT name = cell(0, 0);
    name.right = list->GetColumnWidth(0);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), name), 10);
    draw(0, ODS_SELECTED);
    EXPECT_EQ(canvas.Pixel(name.left, name.top), RGB(0, 0, 255));
    EXPECT_GT(canvas.Count(RGB(255, 255, 255), name), 10);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), name), 0);
}

}  // namespace
