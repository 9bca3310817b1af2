// Filling and painting a survey of 1,000 networks on the site survey page,
// against the simulated adapter. Prints timings; asserts nothing.
//
//   <build>/wine-run <build>/bin/survey_bench.exe [runs]
//
// Measured per run:
//   fill     the scan's last tick: rows deleted, 1,000 records read and
//            inserted, columns sized, WM_SITES_UPDATED sent; once with the
//            page in front (fill) and once behind another tab (fill-hid)
//   rows     every one of the 1,000 rows drawn once into a memory DC
//   repaint  one full repaint of the visible list (invalidate + update)
//   scroll   paging from the top to the bottom of the list, repainting
//            each page as it comes into view
//   plain    for comparison: a plain report-view list of the same size with
//            the same rows (texts only), filled and painted once; "plain+size"
//            also sizes its columns to their contents. The page's fill and
//            repaint are printed as a ratio to both.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "pages/SiteSurveyPage.h"
#include "mainwnd_fixture.h"
#include "pages_support.h"
#include "resource.h"
#include "support/Stopwatch.h"

namespace {

constexpr int kNetworks = 1000;
constexpr int kBuiltInNetworks = 6;  // the simulator's demo list comes first

using testsupport::Stopwatch;

struct Series {
    const char* name;
    std::vector<double> ms;
    void Print() const {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-8s median %8.2f ms   min %8.2f ms   max %8.2f ms\n", name, sorted[sorted.size() / 2],
                    sorted.front(), sorted.back());
    }
};

// A plain report-view list beside the page: the same columns and rows as
// texts, no drawing of its own. Returns the fill and paint time in ms.
double PlainList(HWND host, const RECT& area, int columns, bool sizeColumns) {
    HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, host, nullptr, nullptr, nullptr);
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = const_cast<char*>("Column");
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    Stopwatch watch;
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (unsigned long i = 0;; ++i) {
        const SiteInfo* site = theDevice.GetSiteInfo(i);
        if (!site) break;
        char texts[6][40];
        std::snprintf(texts[0], sizeof(texts[0]), "%.32s", site->ssid);
        std::snprintf(texts[1], sizeof(texts[1]), "%02X:%02X:%02X:%02X:%02X:%02X", site->bssid[0], site->bssid[1],
                      site->bssid[2], site->bssid[3], site->bssid[4], site->bssid[5]);
        std::snprintf(texts[2], sizeof(texts[2]), "%d", static_cast<int>(site->channel));
        std::snprintf(texts[3], sizeof(texts[3]), "%d", static_cast<int>(site->encryption));
        std::snprintf(texts[4], sizeof(texts[4]), "%d%%", static_cast<int>(site->signal));
        std::snprintf(texts[5], sizeof(texts[5]), "%d", static_cast<int>(site->networkType));
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = texts[0];
        const int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < columns && c < 6; ++c) {
            item.iSubItem = c;
            item.pszText = texts[c];
            ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
    }
    if (sizeColumns) {
        for (int c = 0; c < columns; ++c) ::SendMessageA(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    ::UpdateWindow(list);
    ::GdiFlush();
    const double ms = watch.Ms();
    ::DestroyWindow(list);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    mwtest::ResetSim();
    mwtest::SetSim("ExtraNetworks", kNetworks - kBuiltInNetworks);

    int handle = 0;
    if (!theDevice.Open("Wireless Card", handle)) {
        std::fprintf(stderr, "the simulated adapter did not open\n");
        return 1;
    }
    pagetest::Host host;
    theApp.m_pMainWnd = &host;
    g_bSurveyWasOpen = true;  // no automatic scan: every scan here is timed by hand
    CSiteSurveyPage page;
    if (!page.Create(host)) {
        std::fprintf(stderr, "the page could not be created\n");
        return 1;
    }
    ::SetWindowPos(host, nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(host, SW_SHOWNOACTIVATE);
    page.ShowWindow(SW_SHOW);
    ::UpdateWindow(host);
    const HWND list = page.GetDlgItem(IDC_SURVEY_LIST);
    RECT client = {};
    ::GetClientRect(list, &client);
    pagetest::Canvas canvas(client.right, client.bottom);

    auto timedScan = [&page] {
        page.SendMessage(WM_COMMAND, IDC_SURVEY_SCAN);
        for (int tick = 0; tick < 100; ++tick) page.SendMessage(WM_TIMER, CSiteSurveyPage::kScanTimer);
        Stopwatch watch;
        page.SendMessage(WM_TIMER, CSiteSurveyPage::kScanTimer);
        return watch.Ms();
    };

    Series fill{"fill", {}}, fillHidden{"fill-hid", {}}, rows{"rows", {}}, repaint{"repaint", {}}, scroll{"scroll", {}};
    Series plain{"plain", {}}, plainSized{"plain+size", {}}, pageTotal{"page", {}};
    RECT listArea = {};
    ::GetWindowRect(list, &listArea);
    ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&listArea), 2);
    const int columns = static_cast<int>(
        ::SendMessageA(reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    for (int run = 0; run < runs; ++run) {
        page.ShowWindow(SW_HIDE);
        fillHidden.ms.push_back(timedScan());
        page.ShowWindow(SW_SHOW);
        ::UpdateWindow(host);
        fill.ms.push_back(timedScan());
        const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        if (count != kNetworks) {
            std::fprintf(stderr, "expected %d rows, found %d\n", kNetworks, count);
            return 1;
        }
        {
            Stopwatch watch;
            for (int row = 0; row < count; ++row) {
                DRAWITEMSTRUCT dis = {};
                dis.CtlType = ODT_LISTVIEW;
                dis.CtlID = IDC_SURVEY_LIST;
                dis.itemID = static_cast<UINT>(row);
                dis.itemAction = ODA_DRAWENTIRE;
                dis.hwndItem = list;
                dis.hDC = canvas.dc();
                dis.rcItem = {LVIR_BOUNDS, 0, 0, 0};
                ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&dis.rcItem));
                page.SendMessage(WM_DRAWITEM, IDC_SURVEY_LIST, reinterpret_cast<LPARAM>(&dis));
            }
            ::GdiFlush();
            rows.ms.push_back(watch.Ms());
        }
        {
            Stopwatch watch;
            ::InvalidateRect(list, nullptr, TRUE);
            ::UpdateWindow(list);
            ::GdiFlush();
            repaint.ms.push_back(watch.Ms());
        }
        pageTotal.ms.push_back(fill.ms.back() + repaint.ms.back());
        page.ShowWindow(SW_HIDE);
        plain.ms.push_back(PlainList(host, listArea, columns, false));
        plainSized.ms.push_back(PlainList(host, listArea, columns, true));
        page.ShowWindow(SW_SHOW);
        {
            Stopwatch watch;
            const int perPage = std::max(1, static_cast<int>(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0)));
            for (int top = 0; top < count; top += perPage) {
                ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(count - 1, top + perPage - 1)), FALSE);
                ::UpdateWindow(list);
            }
            ::GdiFlush();
            scroll.ms.push_back(watch.Ms());
            ::SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
        }
    }

    std::printf("Site survey page, %d networks, %d runs\n", kNetworks, runs);
    fill.Print();
    fillHidden.Print();
    rows.Print();
    repaint.Print();
    scroll.Print();
    plain.Print();
    plainSized.Print();
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("survey fill and paint: %.2fx the plain list, %.2fx the plain list that sizes its columns\n",
                median(pageTotal.ms) / median(plain.ms), median(pageTotal.ms) / median(plainSized.ms));
    page.DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    theDevice.Close();
    mwtest::ResetSim();
    return 0;
}
