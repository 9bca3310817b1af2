#include "controls/ThroughputGraph.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/App.h"

int64_t g_nGraphPrevTxOK = 0;
int64_t g_nGraphPrevRxOK = 0;

namespace {
constexpr UINT kSamplePeriodMs = 1000;

// The plot's margins inside the client area: the scale labels and the title
// sit left of it, the level bars right of it.
constexpr int kMarginLeft = 40;
constexpr int kMarginTop = 20;
constexpr int kMarginRight = 80;
constexpr int kMarginBottom = 5;
constexpr int kGridColumns = 10;
constexpr int kGridRows = 4;
constexpr COLORREF kGridColour = RGB(100, 100, 100);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The bars stand this far above the plot's bottom, below them their names.
constexpr int kBarLift = 18;
constexpr int kBarWidth = 22;
// A bar whose top would come this close to the plot's top is left empty, so
// that its value label stays clear of the frame.
constexpr int kBarHeadroom = 12;
constexpr int kLabelAbove = 15;

const float kScales[] = {0.1f, 1.0f, 5.0f, 10.0f, 20.0f, 50.0f, 100.0f};
const char* const kNames[CThroughputGraph::kDirections] = {"Rx", "Tx"};

// One second's frames as the percentage of the link's capacity they used.
// A difference that does not fit 32 bits is no second's traffic but a
// counter that was reset or set: it counts as nothing rather than as a
// wrapped-around number.
float Utilisation(unsigned frameBytes, int64_t frames, float divisor) {
    if (frames < INT32_MIN || frames > INT32_MAX) return 0.0f;
    const double bytes = static_cast<double>(frameBytes) * static_cast<double>(frames);
    if (!(divisor > 0.0f)) return bytes > 0.0 ? 100.0f : 0.0f;
    return static_cast<float>(bytes / divisor);
}

// later - earlier without signed overflow, whatever the library reported.
int64_t CounterDifference(int64_t later, int64_t earlier) {
    return static_cast<int64_t>(static_cast<uint64_t>(later) - static_cast<uint64_t>(earlier));
}

float Clamped(float percent) {
    if (!(percent >= 0.0f)) return 0.0f;  // negative or NaN
    return percent > 100.0f ? 100.0f : percent;
}

// A pixel count, truncated toward zero; bounded, so that an odd size can
// never overflow the conversion.
int Pixels(float value) {
    if (!(value > 0.0f)) return 0;
    return value < 1.0e6f ? static_cast<int>(value) : 1000000;
}

void Text(HDC dc, int x, int y, const char* text) { ::TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text))); }

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}
}  // namespace

BEGIN_MESSAGE_TABLE(CThroughputGraph, fw::CStatic)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
END_MESSAGE_TABLE()

CThroughputGraph::CThroughputGraph()
    : m_gridPen(::CreatePen(PS_SOLID, 1, kGridColour)),
      m_titleFont(::CreateFontA(14, 0, 900, 0, 300, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, FF_SWISS, "Arial")) {
    for (int d = 0; d < kDirections; ++d) {
        m_seriesPen[d].reset(::CreatePen(PS_SOLID, 1, m_crSeries[d]));
        m_seriesBrush[d].reset(::CreateSolidBrush(m_crSeries[d]));
    }
}

void CThroughputGraph::StartSampling() { SetTimer(kSampleTimer, kSamplePeriodMs); }

LRESULT CThroughputGraph::OnTimer(WPARAM, LPARAM) {
    TakeSample();
    Invalidate(TRUE);
    return 0;
}

void CThroughputGraph::TakeSample() {
    // The link speed is in units of 100 bit/s: an eighth of it is the bytes
    // a second can carry, divided by 100, so bytes / divisor is a percentage.
    const float divisor = static_cast<float>(theDevice.GetLinkSpeed() >> 3);
    const int64_t tx = theDevice.GetTxOK();
    const int64_t rx = theDevice.GetRxOK();
    const unsigned rxSize = theDevice.GetRxPacketSize();
    const unsigned txSize = theDevice.GetTxPacketSize();

    float rxPercent = 0.0f;
    float txPercent = 0.0f;
    if (g_nGraphPrevTxOK != 0 && g_nGraphPrevRxOK != 0) {
        rxPercent = Utilisation(rxSize, CounterDifference(rx, g_nGraphPrevRxOK), divisor);
        txPercent = Utilisation(txSize, CounterDifference(tx, g_nGraphPrevTxOK), divisor);
    }
    g_nGraphPrevTxOK = tx;
    g_nGraphPrevRxOK = rx;
    AddSample(rxPercent, txPercent);
}

void CThroughputGraph::AddSample(float rxPercent, float txPercent) {
    const float samples[kDirections] = {Clamped(rxPercent), Clamped(txPercent)};
    for (int d = 0; d < kDirections; ++d) {
        std::memmove(&m_fHistory[d][1], &m_fHistory[d][0], (kHistory - 1) * sizeof(float));
        m_fHistory[d][0] = samples[d];
    }

    // The grid scrolls with the curves, one pixel a sample, and starts over
    // after one column's width.
    const RECT client = GetClientRect();
    const int spacing = (client.right - client.left - kMarginLeft - kMarginRight) / kGridColumns;
    if (spacing <= 0) {
        m_nGridOffset = 0;  // no columns to scroll
        return;
    }
    ++m_nGridOffset;
    if (m_nGridOffset > spacing) m_nGridOffset -= spacing;
}

float CThroughputGraph::Sample(int direction, int age) const {
    if (direction < 0 || direction >= kDirections || age < 0 || age >= kHistory) return 0.0f;
    return m_fHistory[direction][age];
}

float CThroughputGraph::FullScale(int plotWidth) const {
    const int shown = plotWidth < kHistory ? plotWidth : kHistory;
    float largest = 0.0f;
    for (int d = 0; d < kDirections; ++d)
        for (int i = 0; i < shown; ++i)
            if (m_fHistory[d][i] > largest) largest = m_fHistory[d][i];
    for (float scale : kScales)
        if (largest <= scale) return scale;
    return kScales[sizeof(kScales) / sizeof(kScales[0]) - 1];
}

HFONT CThroughputGraph::LabelFont() const {
    // The labels use the main window's font, as the rest of the page does.
    fw::CAppBase* app = fw::CAppBase::Current();
    HWND main = (app && app->m_pMainWnd) ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    HFONT font = main ? reinterpret_cast<HFONT>(::SendMessageA(main, WM_GETFONT, 0, 0)) : nullptr;
    if (!font) font = GetFont();
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CThroughputGraph::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const RECT plot = {client.left + kMarginLeft, client.top + kMarginTop, client.right - kMarginRight,
                       client.bottom - kMarginBottom};
    const int width = plot.right - plot.left;
    const int height = plot.bottom - plot.top;

    const int saved = ::SaveDC(dc);
    ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
    ::SelectObject(dc, LabelFont());
    ::SetTextColor(dc, kWhite);
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    // White on black: the labels must not bring the DC's white background.
    ::SetBkMode(dc, TRANSPARENT);
    ::Rectangle(dc, plot.left, plot.top, plot.right, plot.bottom);

    ::SelectObject(dc, m_gridPen.get());
    for (int i = 1; i <= kGridColumns; ++i) {
        const int x = width * i / kGridColumns + plot.left - m_nGridOffset;
        if (plot.left < x && x < plot.right - 1) Line(dc, x, plot.top + 1, x, plot.bottom - 1);
    }
    for (int i = 1; i < kGridRows; ++i) {
        const int y = height * i / kGridRows + plot.top;
        Line(dc, plot.left + 1, y, plot.right - 1, y);
    }

    const float scale = FullScale(width);
    char label[32];
    std::snprintf(label, sizeof(label), "%.1f%%", static_cast<double>(scale));
    Text(dc, client.left + 20, client.top + 15, label);
    Text(dc, client.left + 20, client.bottom - 15, "0%");
    {
        fw::SelectObjectScope title(dc, m_titleFont.get());
        Text(dc, client.left + 17, client.bottom - 70, "Utilization");
    }

    const int points = width - 1 < kHistory ? width - 1 : kHistory;
    for (int d = 0; d < kDirections; ++d) {
        if ((m_nSeriesMask & (d + 1)) == 0) continue;
        const float* history = m_fHistory[d];

        // The newest sample 2 pixels left of the plot's right edge, each
        // older one a pixel further left.
        if (points > 1) {
            for (int j = 0; j < points; ++j) {
                int y = history[j] >= 0.0f ? plot.bottom - Pixels(height * history[j] / scale) - 2 : plot.bottom - 2;
                if (y < plot.top) y = plot.top;
                if (y > plot.bottom) y = plot.bottom;
                m_points[j] = {plot.right - j - 2, y};
            }
            fw::SelectObjectScope pen(dc, m_seriesPen[d].get());
            ::Polyline(dc, m_points, points);
        }

        const int left = plot.right + 3 * (d * kMarginRight / 7) + 11;
        const int right = left + kBarWidth;
        const int bottom = plot.bottom - kBarLift;
        const int filled = Pixels((height - kBarLift) * (history[0] / scale));
        const int top = filled == 0 ? bottom - 1 : plot.bottom - filled - kBarLift;
        if (bottom > top && top > plot.top + kBarHeadroom) {
            const RECT bar = {left, top, right, bottom};
            ::FillRect(dc, &bar, m_seriesBrush[d].get());
        }

        ::SetTextColor(dc, m_crSeries[d]);
        std::snprintf(label, sizeof(label), "%.1f%%", static_cast<double>(history[0]));
        Text(dc, (left + right) / 2, top - kLabelAbove, label);
        Text(dc, (left + right) / 2, client.bottom - kBarLift, kNames[d]);
    }
    ::RestoreDC(dc, saved);
}

bool CThroughputGraph::PrepareBackBuffer(HDC target, int width, int height) {
    if (m_backDC && m_backBitmap && m_backSize.cx == width && m_backSize.cy == height) return true;
    if (!m_backDC) m_backDC.reset(::CreateCompatibleDC(target));
    if (!m_backDC) return false;
    if (m_hOldBackBitmap) {
        ::SelectObject(m_backDC.get(), m_hOldBackBitmap);
        m_hOldBackBitmap = nullptr;
    }
    m_backBitmap.reset(::CreateCompatibleBitmap(target, width, height));
    m_backSize = {0, 0};
    if (!m_backBitmap) return false;
    m_hOldBackBitmap = ::SelectObject(m_backDC.get(), m_backBitmap.get());
    m_backSize = {width, height};
    return true;
}

LRESULT CThroughputGraph::OnPaint(WPARAM wp, LPARAM) {
    return fw::PaintInto(m_hWnd, wp, [this](HDC dc) {
        // Drawn off screen and copied in one piece: the black fill, grid and
        // curves never show half-done.
        const RECT client = GetClientRect();
        const int width = client.right - client.left;
        const int height = client.bottom - client.top;
        if (width <= 0 || height <= 0) return;
        if (!PrepareBackBuffer(dc, width, height)) {
            Paint(dc, client);
            return;
        }
        Paint(m_backDC.get(), client);
        ::BitBlt(dc, client.left, client.top, width, height, m_backDC.get(), client.left, client.top, SRCCOPY);
    });
}

LRESULT CThroughputGraph::OnEraseBackground(WPARAM, LPARAM) {
    return TRUE;  // the paint covers every pixel
}
