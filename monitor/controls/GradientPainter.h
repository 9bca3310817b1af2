// The gradient strip behind every percent bar and the survey's signal
// column: a 256 x 1 bitmap kept in a memory DC, of which a bar shows the
// part up to its percentage, always starting at the blue end.
#pragma once

#include <windows.h>

#include "framework/Raii.h"

class CGradientPainter {
public:
    // Builds the strip from bitmap 174 of the current resource module.
    CGradientPainter();
    ~CGradientPainter();
    CGradientPainter(const CGradientPainter&) = delete;
    CGradientPainter& operator=(const CGradientPainter&) = delete;

    // Paints the filled part of a bar at `percent` (0..100; values outside
    // are clamped) into `rect` of `dc`.
    void PaintPart(HDC dc, const RECT& rect, int percent) const;

    static constexpr int kStripWidth = 256;

private:
    // Declared before the DC so that the DC (which holds the strip selected)
    // goes first and the strip can then be deleted.
    fw::Gdi<HBITMAP> m_strip;
    fw::MemoryDC m_dc;
    HGDIOBJ m_hOldBitmap = nullptr;
};
