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

namespace {

constexpr int kNetworks = 1000;
constexpr int kBuiltInNetworks = 6;  // the simulator's demo list comes first

class Stopwatch {
public:
    Stopwatch() {
        ::QueryPerformanceFrequency(&m_frequency);
        ::QueryPerformanceCounter(&m_start);
    }
    double Ms() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency;
    LARGE_INTEGER m_start;
};

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
    page.DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    theDevice.Close();
    mwtest::ResetSim();
    return 0;
}
