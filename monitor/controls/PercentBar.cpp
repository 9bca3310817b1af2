#include "controls/PercentBar.h"

#include <algorithm>
#include <cstdio>

#include "framework/Resources.h"
#include "resource.h"

BEGIN_MESSAGE_TABLE(CPercentBar, fw::CProgressCtrl)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPaint)
    ON_MESSAGE(PBM_SETPOS, OnSetPos)
    ON_MESSAGE(PBM_DELTAPOS, OnDeltaPos)
    ON_MESSAGE(PBM_STEPIT, OnStepIt)
END_MESSAGE_TABLE()

CPercentBar::CPercentBar() {
    static const UINT words[4] = {IDS_QUALITY_POOR, IDS_QUALITY_FAIR, IDS_QUALITY_GOOD, IDS_QUALITY_EXCELLENT};
    for (int i = 0; i < 4; ++i) m_strWords[i] = fw::res::String(words[i]);
}

void CPercentBar::SetStyle(bool showText, bool showWord, COLORREF textColour, COLORREF backColour) {
    m_bShowText = showText;
    m_bShowWord = showWord;
    m_crText = textColour;
    m_crBack = backColour;
    m_backBrush.reset(::CreateSolidBrush(backColour));
}

std::string CPercentBar::Caption(int pos) const {
    char text[128];
    if (m_bShowWord) {
        const int index = std::clamp(pos / 25, 0, 3);
        std::snprintf(text, sizeof(text), "%.100s (%d%%)", m_strWords[index].c_str(), pos);
    } else {
        std::snprintf(text, sizeof(text), "%d%%", pos);
    }
    return text;
}

void CPercentBar::Paint(HDC dc) const {
    const int pos = GetPos();
    RECT rect = GetClientRect();
    const int filled = (rect.right - rect.left) * std::clamp(pos, 0, 100) / 100;

    RECT back = {filled, 0, rect.right, rect.bottom - rect.top};
    if (!m_backBrush) m_backBrush.reset(::CreateSolidBrush(m_crBack));
    ::FillRect(dc, &back, m_backBrush.get());
    m_painter.PaintPart(dc, rect, pos);

    if (!m_bShowText || pos == 0) return;
    rect.top -= 1;
    fw::SelectObjectScope font(dc, GetFont());
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);
    const UINT oldAlign = ::SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const std::string text = Caption(pos);
    ::TextOutA(dc, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 + 5, text.c_str(),
               static_cast<int>(text.size()));
    ::SetTextAlign(dc, oldAlign);
}

LRESULT CPercentBar::OnPaint(WPARAM wp, LPARAM) {
    return fw::PaintInto(m_hWnd, wp, [this](HDC dc) { Paint(dc); });
}

LRESULT CPercentBar::ForwardPositionChange(UINT msg, WPARAM wp, LPARAM lp) {
    // The platform bar invalidates only the strip between the old and the
    // new position; the centred text spans the whole face, so it all goes.
    const int before = GetPos();
    const LRESULT result = DefaultProc(msg, wp, lp);
    if (GetPos() != before) Invalidate(FALSE);
    return result;
}
