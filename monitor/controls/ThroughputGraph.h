// The scrolling chart of the IP information page: once a second it turns the
// adapter's frame counters into the share of the link's capacity used for
// receiving and for transmitting, keeps the last 500 samples of each, and
// draws them as two curves on a black plot with a moving grid, a scale that
// follows the largest visible sample, and a level bar per direction.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Raii.h"

// The frame counters the previous sample read. They belong to the process,
// as the adapter's counters they follow do (there is one graph); while
// either is 0 the next sample is 0, 0.
extern int64_t g_nGraphPrevTxOK;
extern int64_t g_nGraphPrevRxOK;

class CThroughputGraph : public fw::CStatic {
public:
    enum Direction { kReceive = 0, kTransmit = 1, kDirections = 2 };
    // Bits of m_nSeriesMask.
    enum Series { kSeriesReceive = 1, kSeriesTransmit = 2, kSeriesBoth = 3 };
    static constexpr int kHistory = 500;
    static constexpr UINT_PTR kSampleTimer = 1;

    CThroughputGraph();

    // Which curves and bars are drawn (the scale counts both directions
    // whatever it says). The owner writes it; it shows at the next tick.
    int m_nSeriesMask = kSeriesBoth;

    // Starts the one-second sampling; once, after the control is bound.
    void StartSampling();
    // One sample from the adapter's counters: what each tick does before
    // the control is redrawn.
    void TakeSample();
    // Stores one sample per direction (clamped to 0..100, NaN as 0) and
    // scrolls the grid with them.
    void AddSample(float rxPercent, float txPercent);

    // Sample `age` of a direction (0 = newest); 0 outside the history.
    float Sample(int direction, int age) const;
    // The full-scale value of a plot `plotWidth` pixels wide: the smallest
    // of 0.1, 1, 5, 10, 20, 50, 100 that the samples it shows do not exceed.
    float FullScale(int plotWidth) const;
    int GridOffset() const { return m_nGridOffset; }

    // Draws the whole graph for a client area `client` into `dc`.
    void Paint(HDC dc, const RECT& client);

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnPaint(WPARAM wp, LPARAM lp);
    LRESULT OnEraseBackground(WPARAM wp, LPARAM lp);
    // The off-screen bitmap, made again only when the control's size changed.
    bool PrepareBackBuffer(HDC target, int width, int height);
    HFONT LabelFont() const;

    float m_fHistory[kDirections][kHistory] = {};
    COLORREF m_crSeries[kDirections] = {RGB(255, 0, 0), RGB(0, 255, 0)};
    int m_nGridOffset = 0;

    // Made once for the life of the control: painting creates nothing.
    fw::Gdi<HPEN> m_gridPen;
    fw::Gdi<HPEN> m_seriesPen[kDirections];
    fw::Gdi<HBRUSH> m_seriesBrush[kDirections];
    fw::Gdi<HFONT> m_titleFont;
    // A curve's vertices, filled afresh by each paint.
    POINT m_points[kHistory] = {};

    // Declared before the DC, so that the DC (which holds it selected) goes first.
    fw::Gdi<HBITMAP> m_backBitmap;
    fw::MemoryDC m_backDC;
    HGDIOBJ m_hOldBackBitmap = nullptr;
    SIZE m_backSize = {0, 0};
};
