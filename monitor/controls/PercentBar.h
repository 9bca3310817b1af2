// A progress bar that draws its own face: the gradient up to the current
// position, the back colour beyond it and, optionally, a centred percent
// text with a quality word ("Good (62%)").
#pragma once

#include <windows.h>

#include <string>

#include "controls/GradientPainter.h"
#include "framework/Controls.h"
#include "framework/Raii.h"

class CPercentBar : public fw::CProgressCtrl {
public:
    // Builds the gradient and loads the quality words (strings 26-29).
    CPercentBar();

    // Stored for the next paint; does not repaint by itself.
    void SetStyle(bool showText, bool showWord, COLORREF textColour, COLORREF backColour);

    // The text the bar shows at `pos` (also when pos is 0, where nothing is
    // drawn): "62%", or "Good (62%)" with the quality word.
    std::string Caption(int pos) const;
    // Draws the whole face into `dc` (WM_PAINT, WM_PRINTCLIENT).
    void Paint(HDC dc) const;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnPaint(WPARAM wp, LPARAM lp);
    LRESULT OnSetPos(WPARAM wp, LPARAM lp) { return ForwardPositionChange(PBM_SETPOS, wp, lp); }
    LRESULT OnDeltaPos(WPARAM wp, LPARAM lp) { return ForwardPositionChange(PBM_DELTAPOS, wp, lp); }
    LRESULT OnStepIt(WPARAM wp, LPARAM lp) { return ForwardPositionChange(PBM_STEPIT, wp, lp); }
    LRESULT ForwardPositionChange(UINT msg, WPARAM wp, LPARAM lp);

    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crBack = RGB(192, 192, 192);
    // Made once (and again when the colour changes), not on every paint.
    mutable fw::Gdi<HBRUSH> m_backBrush;
    bool m_bShowText = true;
    CGradientPainter m_painter;
    std::string m_strWords[4];
    bool m_bShowWord = false;
};
