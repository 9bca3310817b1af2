#include "controls/GradientPainter.h"

#include <algorithm>

#include "framework/Resources.h"
#include "resource.h"

namespace {
// The strip's two ends when the resource module has no bitmap 174: the same
// blue-to-white run the program's own bitmap holds, so bars never show
// undefined colours.
constexpr int kBlueEnd[3] = {6, 4, 252};
constexpr int kWhiteEnd[3] = {254, 252, 252};

void FillDefaultStrip(HDC dc) {
    const int last = CGradientPainter::kStripWidth - 1;
    for (int x = 0; x <= last; ++x) {
        int c[3];
        for (int i = 0; i < 3; ++i) c[i] = kBlueEnd[i] + (kWhiteEnd[i] - kBlueEnd[i]) * x / last;
        ::SetPixelV(dc, x, 0, RGB(c[0], c[1], c[2]));
    }
}
}  // namespace

CGradientPainter::CGradientPainter() {
    fw::WindowDC screen(::GetDesktopWindow());
    if (!screen.get()) return;
    m_dc.reset(::CreateCompatibleDC(screen.get()));
    m_strip.reset(::CreateCompatibleBitmap(screen.get(), kStripWidth, 1));
    if (!m_dc || !m_strip) return;
    m_hOldBitmap = ::SelectObject(m_dc.get(), m_strip.get());

    fw::Gdi<HBITMAP> source(fw::res::LoadBitmapImage(IDB_GRADIENT));
    BITMAP info = {};
    fw::MemoryDC sourceDc(::CreateCompatibleDC(screen.get()));
    if (!source || !sourceDc || !::GetObjectA(source.get(), sizeof(info), &info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        FillDefaultStrip(m_dc.get());
        return;
    }
    fw::SelectObjectScope selected(sourceDc.get(), source.get());
    ::SetStretchBltMode(sourceDc.get(), HALFTONE);
    ::SetStretchBltMode(m_dc.get(), HALFTONE);
    ::SetBrushOrgEx(m_dc.get(), 0, 0, nullptr);
    ::StretchBlt(m_dc.get(), 0, 0, kStripWidth, 1, sourceDc.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

CGradientPainter::~CGradientPainter() {
    if (m_dc && m_hOldBitmap) ::SelectObject(m_dc.get(), m_hOldBitmap);
}

void CGradientPainter::PaintPart(HDC dc, const RECT& rect, int percent) const {
    percent = std::clamp(percent, 0, 100);
    const int width = (rect.right - rect.left) * percent / 100;
    const int sourceWidth = percent * kStripWidth / 100;
    if (!m_dc || width <= 0 || sourceWidth <= 0) return;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, rect.left, rect.top, width, rect.bottom - rect.top, m_dc.get(), 0, 0, sourceWidth, 1, SRCCOPY);
}
