#include "controls/IconButton.h"

BEGIN_MESSAGE_TABLE(CIconButton, fw::CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_REFLECT(WM_DRAWITEM, OnDrawItemReflect)
END_MESSAGE_TABLE()

namespace {
const COLORREF kDisabledGrey = RGB(150, 150, 150);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF color) {
    ::SetBkColor(dc, color);
    RECT rc = {x, y, x + cx, y + cy};
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

// A one-pixel frame: top and left edge in one colour, right and bottom edge
// in the other (the bottom-right corner pixels belong to the second).
void Draw3dFrame(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight) {
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    FillSolid(dc, rc.left, rc.top, cx - 1, 1, topLeft);
    FillSolid(dc, rc.left, rc.top, 1, cy - 1, topLeft);
    FillSolid(dc, rc.right - 1, rc.top, 1, cy, bottomRight);
    FillSolid(dc, rc.left, rc.bottom - 1, cx, 1, bottomRight);
}
}  // namespace

void CIconButton::SetUp(const std::string& caption0, const std::string& caption1, HICON icon0, HICON icon1,
                        bool toggles) {
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    SetButtonStyle((static_cast<UINT>(style) & ~static_cast<UINT>(BS_TYPEMASK)) | BS_OWNERDRAW, TRUE);
    m_strCaption[0] = caption0;
    m_strCaption[1] = caption1;
    m_hIcon[0] = icon0;
    m_hIcon[1] = icon1;
    m_bToggles = toggles;
    SetWindowText(m_strCaption[m_nState]);
}

void CIconButton::SetState(int index) {
    // The main window sets the radio state every second: only a change
    // costs a repaint.
    if (!m_bToggles || index < 0 || index > 1 || index == m_nState) return;
    m_nState = static_cast<unsigned char>(index);
    SetWindowText(m_strCaption[m_nState]);
    Invalidate(TRUE);
}

void CIconButton::OnClicked() {
    if (m_bToggles) {
        m_nState = static_cast<unsigned char>(1 - m_nState);
        SetWindowText(m_strCaption[m_nState]);
        Invalidate(TRUE);
    }
    // A plain command, as a menu would send it: no notification code and no
    // control handle, so it follows the command route past the parent.
    ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
}

LRESULT CIconButton::OnDrawItemReflect(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlType != ODT_BUTTON) return FALSE;
    DrawItem(*item);
    return TRUE;
}

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    const int saved = ::SaveDC(dc);
    HFONT font = GetFont();
    if (font) ::SelectObject(dc, font);
    ::SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    ::SetBkMode(dc, TRANSPARENT);
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));

    const std::string caption = GetWindowText();
    if (item.itemState & ODS_DISABLED) {
        Draw3dFrame(dc, rc, kDisabledGrey, kDisabledGrey);
        ::SetTextColor(dc, kDisabledGrey);
        ::TextOutA(dc, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 + kBaselineDrop, caption.c_str(),
                   static_cast<int>(caption.size()));
    } else {
        ::SetTextColor(dc, kBlack);
        // State 1 of a toggling button stays drawn pressed in.
        const bool sunken = (item.itemState & (ODS_SELECTED | ODS_CHECKED)) != 0 || m_nState == 1;
        const int shift = sunken ? 1 : 0;
        if (sunken) Draw3dFrame(dc, rc, kBlack, kWhite);
        else Draw3dFrame(dc, rc, kWhite, kBlack);
        const int iconAt = (rc.bottom - rc.top - kIconSize) / 2;
        if (m_hIcon[m_nState])
            ::DrawIconEx(dc, iconAt + shift, iconAt + shift, m_hIcon[m_nState], kIconSize, kIconSize, 0, nullptr,
                         DI_NORMAL);
        ::TextOutA(dc, (rc.right - rc.left + kIconSize) / 2 + shift, (rc.top + rc.bottom) / 2 + kBaselineDrop + shift,
                   caption.c_str(), static_cast<int>(caption.size()));
    }
    ::RestoreDC(dc, saved);
}
