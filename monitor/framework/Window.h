// CWnd: a window object that owns (or has subclassed) one HWND and
// dispatches its messages through the class's static message table.
#pragma once

#include <windows.h>

#include <string>

#include "MessageTable.h"

namespace fw {

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    static const MessageTable* StaticMessageTable();
    // The object attached to a window by this framework, or null.
    static CWnd* FromHandle(HWND hwnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Takes over an existing window (a dialog's control): its messages reach
    // this object's table first, then the window's own procedure.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, HWND parent);
    HWND UnsubclassWindow();

    // Thin helpers over the API.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageA(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageA(m_hWnd, msg, wp, lp); }
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms) const { return ::SetTimer(m_hWnd, id, ms, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    RECT GetClientRect() const;
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void ModifyStyle(DWORD remove, DWORD add) const;

protected:
    virtual const MessageTable* GetMessageTable() const { return StaticMessageTable(); }

    // The window's message handling: reflection, the message table, command
    // routing, then default processing.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // What runs for every message no table entry handles; windows that must
    // see those messages first (the main window) override and chain.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after WM_NCDESTROY, once the window is gone.
    virtual void OnWindowGone() {}

    // Looks the message up in this object's table chain.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Offers a control's notification to the control's own object first.
    static bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, HWND parent, LRESULT& result);
    // A command nobody in the window handled goes on to the application.
    static bool RouteCommandToApp(UINT msg, WPARAM wp, LPARAM lp);

    void Attach(HWND hwnd);
    void Detach();

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    WNDPROC m_pfnSuper = nullptr;
};

// Paints a self-drawn control: into the DC a message hands over (wParam of
// WM_PRINTCLIENT, or of WM_PAINT as the platform's own controls allow), else
// between BeginPaint and EndPaint.
template <typename PaintFn>
LRESULT PaintInto(HWND hwnd, WPARAM givenDc, PaintFn paint) {
    if (givenDc) {
        paint(reinterpret_cast<HDC>(givenDc));
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    if (dc) paint(dc);
    ::EndPaint(hwnd, &ps);
    return 0;
}

}  // namespace fw
