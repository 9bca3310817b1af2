// Helpers of the drawn-control and page tests: a memory canvas to read
// pixels from, and a hidden host window that is the parent of the controls
// under test and the application's main window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Raii.h"
#include "framework/Window.h"
#include "support/Canvas.h"

namespace pagetest {

inline std::string Text(HWND hwnd) {
    char text[512] = {};
    ::GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

inline bool Shown(HWND hwnd) { return (::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

inline bool IsBlue(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 100 && GetGValue(c) < 100; }

using testsupport::Canvas;

// Framework-run, so that a control's notifications are reflected to it as
// in a dialog; records the user messages that reach it.
class Host : public fw::CWnd {
public:
    Host() {
        static const bool controls = [] {
            INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
            return ::InitCommonControlsEx(&icc) != FALSE;
        }();
        (void)controls;
        SubclassWindow(::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 700, 500, nullptr, nullptr,
                                         nullptr, nullptr));
    }
    ~Host() override {
        if (HWND hwnd = UnsubclassWindow()) ::DestroyWindow(hwnd);
    }
    HWND Add(fw::CWnd& control, const char* cls, DWORD style, int w, int h, const char* text = "") {
        HWND hwnd = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, m_hWnd,
                                      reinterpret_cast<HMENU>(1000), nullptr, nullptr);
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        control.SubclassWindow(hwnd);
        return hwnd;
    }

    std::vector<MSG> received;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg >= WM_USER && msg < 0x8000) received.push_back({m_hWnd, msg, wp, lp, 0, {0, 0}});
        return fw::CWnd::WindowProc(msg, wp, lp);
    }
};

}  // namespace pagetest
