// A static text drawn underlined in a link colour, with the hand cursor,
// that opens its address when clicked. The template's static needs
// SS_NOTIFY so that the click arrives.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Controls.h"

// The shell's ShellExecuteA; tests replace it so that a click opens no browser.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT show);
extern ShellExecuteFunction g_pfnShellExecute;

class CHyperlinkLabel : public fw::CStatic {
public:
    CHyperlinkLabel();

    void SetLink(const std::string& url, COLORREF textColour);
    const std::string& Url() const { return m_strUrl; }

    // Draws the window text into `dc` (WM_PAINT, WM_PRINTCLIENT).
    void Paint(HDC dc) const;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnPaint(WPARAM wp, LPARAM lp);
    LRESULT OnSetCursor(WPARAM wp, LPARAM lp);
    void OnClicked();

    HCURSOR m_hCursor;
    std::string m_strUrl;
    COLORREF m_crText = RGB(0, 0, 255);
};
