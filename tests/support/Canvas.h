// A 32-bit top-down DIB selected into a memory DC: what drawing tests draw
// into and read pixels back from.
#pragma once

#include <windows.h>

#include "framework/Raii.h"

namespace testsupport {

class Canvas {
public:
    Canvas(int w, int h, COLORREF fill = RGB(255, 255, 255))
        : width(w), height(h), m_dc(::CreateCompatibleDC(nullptr)), m_bitmap(Dib(w, h, &m_bits)),
          m_select(m_dc.get(), m_bitmap.get()) {
        RECT all = {0, 0, w, h};
        fw::Gdi<HBRUSH> brush(::CreateSolidBrush(fill));
        ::FillRect(dc(), &all, brush.get());
    }
    HDC dc() const { return m_dc.get(); }
    bool Valid() const { return m_bits != nullptr; }
    // The pixel as a COLORREF; CLR_INVALID outside the canvas.
    COLORREF Pixel(int x, int y) const {
        if (!Inside(x, y)) return CLR_INVALID;
        const DWORD p = Raw(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The pixel as stored (0xAARRGGBB); 0 outside the canvas.
    DWORD Raw(int x, int y) const {
        ::GdiFlush();
        return Inside(x, y) ? m_bits[y * width + x] : 0;
    }
    bool Inside(int x, int y) const { return m_bits && x >= 0 && y >= 0 && x < width && y < height; }
    int Count(COLORREF colour, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Pixel(x, y) == colour;
        return n;
    }

    const int width;
    const int height;

private:
    static HBITMAP Dib(int w, int h, DWORD** bits) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
    }
    DWORD* m_bits = nullptr;
    fw::MemoryDC m_dc;
    fw::Gdi<HBITMAP> m_bitmap;
    fw::SelectObjectScope m_select;
};

}  // namespace testsupport
