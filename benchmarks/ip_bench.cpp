// Painting the throughput graph and one pass of the IP page's worker, under
// Wine against its own IP helper and the simulated adapter. Prints timings;
// asserts nothing.
//
//   <build>/wine-run <build>/bin/ip_bench.exe [runs]
//
// Measured:
//   paint     one full repaint of the page's graph with 500 samples in
//             each curve: WM_PAINT, drawn off screen and copied in
//   paint500  the same for a graph 680 pixels wide, which draws all 500
//   print     the page's graph drawn into a memory DC (WM_PRINTCLIENT)
//   tick      one sample from the adapter's counters (five calls into the
//             simulated adapter, which reads the registry) and the invalidation
//   lookup    the worker's adapter lookup (GetAdaptersInfo, GetInterfaceInfo)
//   report    the lookup and the report of a refresh (gethostname, fields)
//   refresh   the page's round trip: a tick's request until the worker's
//             answer is written into the fields on the GUI thread
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MonitorApp.h"
#include "controls/ThroughputGraph.h"
#include "device/WLANDevice.h"
#include "mainwnd_fixture.h"
#include "pages/IpInfoPage.h"
#include "pages_support.h"
#include "resource.h"
#include "support/Stopwatch.h"

namespace {

using testsupport::Stopwatch;

struct Series {
    const char* name;
    std::vector<double> ms;
    void Print() const {
        if (ms.empty()) return;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-9s median %8.3f ms   min %8.3f ms   max %8.3f ms   (%zu)\n", name, sorted[sorted.size() / 2],
                    sorted.front(), sorted.back(), sorted.size());
    }
};

// The description of the first adapter Wine lists with an IPv4 address.
std::string WineAdapter() {
    ULONG size = 0;
    if (::GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW) return std::string();
    std::vector<char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (::GetAdaptersInfo(list, &size) != ERROR_SUCCESS) return std::string();
    for (auto* a = list; a; a = a->Next)
        if (std::string(a->IpAddressList.IpAddress.String) != "0.0.0.0") return a->Description;
    return std::string();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    WSADATA wsa;
    ::WSAStartup(0x0101, &wsa);
    mwtest::ResetSim();
    int handle = 0;
    pagetest::Host host;
    theApp.m_pMainWnd = &host;
    ::SendMessageA(host, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SetWindowPos(host, nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(host, SW_SHOWNOACTIVATE);

    const std::string adapter = WineAdapter();
    const std::string name = adapter.empty() ? "Wireless Card" : adapter;
    mwtest::SetSimText("AdapterName", name);
    if (!theDevice.Open(name.c_str(), handle)) {
        std::fprintf(stderr, "the simulated adapter did not open as '%s'\n", name.c_str());
        return 1;
    }
    // The page with string 20 set to Wine's adapter is what the monitor
    // shows; here the program's own strings serve, so the worker's lookup
    // is timed on its own below with the adapter's name.
    CIpInfoPage page;
    if (!page.Create(host)) {
        std::fprintf(stderr, "the page could not be created\n");
        return 1;
    }
    ::SetWindowPos(page, nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    page.ShowWindow(SW_SHOW);
    ::KillTimer(page, CIpInfoPage::kTimerId);
    CThroughputGraph& graph = page.Graph();
    ::KillTimer(graph, CThroughputGraph::kSampleTimer);
    const RECT client = graph.GetClientRect();
    for (int i = 0; i < CThroughputGraph::kHistory; ++i)
        graph.AddSample(static_cast<float>(i % 37), static_cast<float>((i * 7) % 23));
    ::UpdateWindow(host);

    // A graph wide enough to draw all 500 points of each curve.
    CThroughputGraph wide;
    const HWND wideWindow = host.Add(wide, "STATIC", SS_BLACKFRAME, 680, 200);
    ::SetWindowPos(wideWindow, HWND_TOP, 0, 200, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < CThroughputGraph::kHistory; ++i)
        wide.AddSample(static_cast<float>(i % 37), static_cast<float>((i * 7) % 23));
    ::UpdateWindow(host);

    Series paint{"paint", {}}, wide500{"paint500", {}}, print{"print", {}}, tick{"tick", {}};
    pagetest::Canvas canvas(client.right, client.bottom);
    for (int run = 0; run < runs; ++run) {
        {
            Stopwatch watch;
            wide.Invalidate(TRUE);
            ::UpdateWindow(wideWindow);
            ::GdiFlush();
            wide500.ms.push_back(watch.Ms());
        }
        {
            Stopwatch watch;
            graph.Invalidate(TRUE);
            ::UpdateWindow(graph);
            ::GdiFlush();
            paint.ms.push_back(watch.Ms());
        }
        {
            Stopwatch watch;
            graph.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
            ::GdiFlush();
            print.ms.push_back(watch.Ms());
        }
        {
            Stopwatch watch;
            graph.SendMessage(WM_TIMER, CThroughputGraph::kSampleTimer);
            tick.ms.push_back(watch.Ms());
            ::ValidateRect(graph, nullptr);
        }
    }
    std::printf("Throughput graph on the page, %ld x %ld (%ld points a curve), and 680 x 200 (500), %d runs\n",
                client.right, client.bottom, client.right - 121, runs);
    paint.Print();
    wide500.Print();
    print.Print();
    tick.Print();
    std::printf("IP worker against Wine's IP helper, adapter '%s'%s\n", adapter.c_str(),
                adapter.empty() ? " (none with an address: the lookup finds nothing)" : "");

    Series lookupTimes{"lookup", {}}, reportTimes{"report", {}}, refresh{"refresh", {}};
    CIpLookup lookup(adapter, CIpLookup::IsWin9xFamily());
    IpReport report;
    for (int run = 0; run < runs; ++run) {
        {
            Stopwatch watch;
            lookup.Find();
            lookupTimes.ms.push_back(watch.Ms());
        }
        {
            Stopwatch watch;
            lookup.Find();
            lookup.Report(report);
            reportTimes.ms.push_back(watch.Ms());
        }
    }

    // The page's round trip, with its own timer stopped: every request
    // measured is the only one, and the worker is free to take it.
    const HWND hostName = page.GetDlgItem(IDC_IP_HOSTNAME);
    for (int run = 0; run < std::min(runs, 100); ++run) {
        ::SetWindowTextA(hostName, "");
        mwtest::Pump(5);
        Stopwatch watch;
        page.SendMessage(WM_TIMER, CIpInfoPage::kTimerId);
        while (::GetWindowTextLengthA(hostName) == 0 && watch.Ms() < 2000) {
            MSG msg;
            if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            else ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        refresh.ms.push_back(watch.Ms());
    }
    page.DestroyWindow();
    lookupTimes.Print();
    reportTimes.Print();
    refresh.Print();

    theApp.m_pMainWnd = nullptr;
    theDevice.Close();
    mwtest::ResetSim();
    ::WSACleanup();
    return 0;
}
