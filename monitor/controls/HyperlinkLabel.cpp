#include "controls/HyperlinkLabel.h"

#include <shellapi.h>

#include "framework/Raii.h"

ShellExecuteFunction g_pfnShellExecute = &::ShellExecuteA;

BEGIN_MESSAGE_TABLE(CHyperlinkLabel, fw::CStatic)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPaint)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_TABLE()

// The system's shared hand cursor: not owned, never destroyed.
CHyperlinkLabel::CHyperlinkLabel() : m_hCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))) {}

void CHyperlinkLabel::SetLink(const std::string& url, COLORREF textColour) {
    m_strUrl = url;
    m_crText = textColour;
}

void CHyperlinkLabel::Paint(HDC dc) const {
    const std::string text = GetWindowText();
    RECT rect = GetClientRect();
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);

    HFONT base = GetFont();
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf = {};
    ::GetObjectA(base, sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    fw::Gdi<HFONT> underlined(::CreateFontIndirectA(&lf));
    fw::SelectObjectScope font(dc, underlined.get());
    // Without DT_SINGLELINE, DT_BOTTOM has no effect: the text sits at the
    // top left, where the dialog's label text would be.
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_BOTTOM);
}

LRESULT CHyperlinkLabel::OnPaint(WPARAM wp, LPARAM) {
    return fw::PaintInto(m_hWnd, wp, [this](HDC dc) { Paint(dc); });
}

LRESULT CHyperlinkLabel::OnSetCursor(WPARAM wp, LPARAM lp) {
    if (LOWORD(lp) == HTCLIENT && m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return DefaultProc(WM_SETCURSOR, wp, lp);
}

void CHyperlinkLabel::OnClicked() {
    // An empty address would make the shell open the current folder.
    if (m_strUrl.empty()) return;
    g_pfnShellExecute(nullptr, "open", m_strUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
