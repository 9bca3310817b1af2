// The throughput graph: its samples from the simulated adapter's counters,
// its history, and what it paints (read back from a memory canvas).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "app/MonitorApp.h"
#include "controls/ThroughputGraph.h"
#include "device/WLANDevice.h"
#include "mainwnd_fixture.h"
#include "pages_support.h"

using pagetest::Canvas;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kGrey = RGB(100, 100, 100);
// A 300 x 150 graph: plot (40, 20)-(220, 145), 125 pixels high; the receive
// bar spans x 231..252, the transmit bar 264..285, both ending at y 127.
constexpr RECT kPlot = {40, 20, 220, 145};

class ThroughputGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        int handle = 0;
        ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
        ::SendMessageA(host, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        theApp.m_pMainWnd = &host;
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        theDevice.Close();
        mwtest::ResetSim();
    }
    void Make(int w = 300, int h = 150) { host.Add(graph, "STATIC", SS_BLACKFRAME, w, h); }
    // What the control paints, through its own off-screen path.
    std::unique_ptr<Canvas> Shot() {
        const RECT client = graph.GetClientRect();
        auto canvas = std::make_unique<Canvas>(client.right, client.bottom, RGB(1, 2, 3));
        graph.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }
    // Whether `box` of the shot shows exactly `text` drawn centred at
    // (x, y) in `colour` on black with the labels' font, and nothing else.
    static bool Label(const Canvas& shot, const char* text, int x, int y, COLORREF colour, const RECT& box) {
        Canvas expected(shot.width, shot.height, RGB(0, 0, 0));
        fw::SelectObjectScope font(expected.dc(), ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetTextAlign(expected.dc(), TA_CENTER | TA_TOP);
        ::SetBkMode(expected.dc(), TRANSPARENT);
        ::SetTextColor(expected.dc(), colour);
        ::TextOutA(expected.dc(), x, y, text, lstrlenA(text));
        for (int py = box.top; py < box.bottom; ++py)
            for (int px = box.left; px < box.right; ++px)
                if (shot.Pixel(px, py) != expected.Pixel(px, py)) return false;
        return true;
    }
    static bool TopLabel(const Canvas& shot, const char* text) { return Label(shot, text, 20, 15, RGB(255, 255, 255), {0, 0, 39, 45}); }
    static int Count(const Canvas& shot, COLORREF colour) { return shot.Count(colour, {0, 0, shot.width, shot.height}); }
    void Tick() { graph.SendMessage(WM_TIMER, CThroughputGraph::kSampleTimer); }

    pagetest::Host host;
    CThroughputGraph graph;
};

TEST_F(ThroughputGraphTest, SamplesAreTheLinkShareOfEachSecondsFrames) {
    Make();
    // 8 Mbit/s carries 1,000,000 bytes a second: 10,000 bytes are 1%.
    for (auto [name, value] : {std::pair{"LinkSpeed", 80000}, {"RxPacketSize", 1000}, {"TxPacketSize", 500},
                               {"RxOK", 9000}, {"TxOK", 4000}})
        mwtest::SetSim(name, static_cast<DWORD>(value));
    g_nGraphPrevTxOK = g_nGraphPrevRxOK = 0;
    Tick();  // the first sample of the process is always 0, 0
    EXPECT_EQ(graph.Sample(0, 0), 0.0f);
    EXPECT_EQ(graph.Sample(1, 0), 0.0f);
    EXPECT_TRUE(TopLabel(*Shot(), "0.1%"));

    mwtest::SetSim("RxOK", 9100);
    mwtest::SetSim("TxOK", 4060);
    Tick();
    EXPECT_FLOAT_EQ(graph.Sample(0, 0), 10.0f);
    EXPECT_FLOAT_EQ(graph.Sample(1, 0), 3.0f);
    EXPECT_EQ(graph.Sample(0, 1), 0.0f);

    // Counters that leap past 32 bits or fall back are no second's traffic;
    // taken as 32 bits, 2^32 + 10 frames would read as 10 (1%).
    mwtest::SetSimText("RxOK", "4294976406");
    mwtest::SetSim("TxOK", 3000);
    Tick();
    EXPECT_EQ(graph.Sample(0, 0), 0.0f);
    EXPECT_EQ(graph.Sample(1, 0), 0.0f);

    // No link speed: any traffic is a full link, none is nothing.
    mwtest::SetSim("LinkSpeed", 7);
    mwtest::SetSimText("RxOK", "4294976407");
    Tick();
    EXPECT_EQ(graph.Sample(0, 0), 100.0f);
    EXPECT_EQ(graph.Sample(1, 0), 0.0f);
}

TEST_F(ThroughputGraphTest, OutOfRangeSamplesAreClampedAndTheScaleFollows) {
    Make();
    const float inf = std::numeric_limits<float>::infinity();
    graph.AddSample(std::numeric_limits<float>::quiet_NaN(), -5.0f);
    graph.AddSample(inf, -inf);
    EXPECT_EQ(graph.Sample(0, 1), 0.0f);
    EXPECT_EQ(graph.Sample(1, 1), 0.0f);
    EXPECT_EQ(graph.Sample(0, 0), 100.0f);
    EXPECT_EQ(graph.Sample(1, 0), 0.0f);
    graph.AddSample(130.0f, 0.0f);
    EXPECT_EQ(graph.Sample(0, 0), 100.0f);
    EXPECT_TRUE(TopLabel(*Shot(), "100.0%"));
    EXPECT_EQ(graph.FullScale(0), 0.1f);

    CThroughputGraph fresh;
    host.Add(fresh, "STATIC", SS_BLACKFRAME, 300, 150);
    fresh.AddSample(0.5f, 0.2f);
    Canvas shot(300, 150);
    fresh.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.dc()), PRF_CLIENT);
    EXPECT_TRUE(TopLabel(shot, "1.0%"));
    // 0.5 of 1.0 on a plot 125 high: 62 pixels up, 2 above the bottom line.
    EXPECT_EQ(shot.Pixel(kPlot.right - 2, kPlot.bottom - 62 - 2), kRed);
    EXPECT_EQ(shot.Pixel(kPlot.right - 2, kPlot.bottom - 25 - 2), kGreen);

    // A control too small for a plot still samples and paints.
    CThroughputGraph tiny;
    host.Add(tiny, "STATIC", 0, 50, 10);
    tiny.AddSample(50.0f, 50.0f);
    EXPECT_EQ(tiny.GridOffset(), 0);
    Canvas small(50, 10);
    tiny.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(small.dc()), PRF_CLIENT);
}

TEST_F(ThroughputGraphTest, IncomingOnlyDrawsTheReceiveSideButScalesByBoth) {
    Make();
    graph.m_nSeriesMask = CThroughputGraph::kSeriesReceive;
    graph.AddSample(0.5f, 30.0f);
    const auto held = Shot();
    const Canvas& shot = *held;
    EXPECT_TRUE(TopLabel(shot, "50.0%"));
    EXPECT_EQ(Count(shot, kGreen), 0);
    EXPECT_EQ(shot.Pixel(kPlot.right - 2, kPlot.bottom - 1 - 2), kRed);
    // The bar: 107 pixels high in full, 1% of 50 fills one row.
    EXPECT_EQ(shot.Count(kRed, {231, 126, 253, 127}), 22);
    EXPECT_EQ(shot.Count(kRed, {231, 21, 253, 105}), 0);
    EXPECT_TRUE(Label(shot, "Rx", 242, 132, kRed, {224, 128, 260, 150}));
    EXPECT_EQ(shot.Count(RGB(0, 0, 0), {261, 0, 300, 150}), 39 * 150);
}

TEST_F(ThroughputGraphTest, AWidePlotDrawsFiveHundredPoints) {
    Make(700, 150);  // plot 40..620
    for (int i = 0; i < 600; ++i) graph.AddSample(0.5f, 0.5f);
    graph.m_nSeriesMask = CThroughputGraph::kSeriesReceive;
    const auto held = Shot();
    const Canvas& shot = *held;
    const int row = kPlot.bottom - 62 - 2;
    EXPECT_EQ(shot.Pixel(618, row), kRed);
    // Points from x 618 down to 119; a line leaves out its last pixel.
    EXPECT_EQ(shot.Pixel(120, row), kRed);
    EXPECT_EQ(shot.Count(kRed, {41, 0, 120, 150}), 0);
}

TEST_F(ThroughputGraphTest, ANewestValueAtFullScaleLeavesItsBarEmptyWithItsLabel) {
    Make();
    graph.AddSample(1.0f, 0.5f);
    const auto held = Shot();
    const Canvas& shot = *held;
    EXPECT_EQ(shot.Count(kRed, {231, 21, 253, 127}), 0);
    EXPECT_TRUE(Label(shot, "1.0%", 242, 5, kRed, {224, 0, 260, 20}));
    // Half the scale fills 53 of 107 rows.
    EXPECT_EQ(shot.Count(kGreen, {264, 74, 286, 127}), 22 * 53);
    EXPECT_EQ(shot.Count(kGreen, {264, 21, 286, 55}), 0);
    EXPECT_TRUE(Label(shot, "0.5%", 275, 74 - 15, kGreen, {261, 40, 300, 73}));
}

TEST_F(ThroughputGraphTest, TheGridScrollsWithTheSamples) {
    Make();  // columns every 18 pixels: 58, 76, ... while not scrolled
    const int row = kPlot.top + 5;
    EXPECT_EQ(Shot()->Pixel(58, row), kGrey);
    graph.AddSample(0.0f, 0.0f);
    const auto shot = Shot();
    EXPECT_EQ(shot->Pixel(57, row), kGrey);
    EXPECT_NE(shot->Pixel(58, row), kGrey);
    for (int i = 0; i < 17; ++i) graph.AddSample(0.0f, 0.0f);
    EXPECT_EQ(graph.GridOffset(), 18);
    graph.AddSample(0.0f, 0.0f);
    EXPECT_EQ(graph.GridOffset(), 1);
    EXPECT_EQ(Shot()->Pixel(57, row), kGrey);
}

}  // namespace
