// The do-nothing program the monitor's costs are measured against: one
// hidden dialog, the same timers the monitor runs (doing nothing), a tray
// icon, nothing else. Built with the monitor's flags; "Exit" in the sense
// of the monitor is WM_COMMAND 32774 or WM_CLOSE.
#include <windows.h>
#include <shellapi.h>

namespace {

const char kTitle[] = "Idle Baseline";
const UINT kTrayCallback = WM_APP + 1;
const UINT kExit = 32774;
bool g_firstShow = true;

// The monitor's timers: main window, link, IP page, graph (1 s), the
// configuration page and the survey's open check (2 s), the version page (5 s).
const UINT kTimerPeriods[] = {1000, 1000, 1000, 1000, 2000, 2000, 5000};

// A dialog template in memory: a hidden popup with a caption and no controls.
struct Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
};

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowTextA(hwnd, kTitle);
        for (UINT i = 0; i < sizeof(kTimerPeriods) / sizeof(kTimerPeriods[0]); ++i)
            ::SetTimer(hwnd, i + 1, kTimerPeriods[i], nullptr);
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
        icon.hWnd = hwnd;
        icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        icon.uCallbackMessage = kTrayCallback;
        icon.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        ::lstrcpynA(icon.szTip, kTitle, sizeof(icon.szTip));
        ::Shell_NotifyIconA(NIM_ADD, &icon);
        return TRUE;
    }
    case WM_SHOWWINDOW:
        // The dialog manager shows a modal dialog once; like the monitor,
        // the first showing hides it again.
        if (wp && g_firstShow) {
            g_firstShow = false;
            ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL + 100, 0);
        }
        return FALSE;
    case WM_TIMER:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL + 100) ::ShowWindow(hwnd, SW_HIDE);
        if (LOWORD(wp) == kExit) ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_CLOSE: {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
        icon.hWnd = hwnd;
        ::Shell_NotifyIconA(NIM_DELETE, &icon);
        ::EndDialog(hwnd, 0);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Template tmpl = {};
    tmpl.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    tmpl.dialog.cx = 200;
    tmpl.dialog.cy = 100;
    // Like the monitor, it lives hidden: the dialog is never shown.
    return static_cast<int>(::DialogBoxIndirectParamA(instance, &tmpl.dialog, nullptr, &DialogProc, 0));
}
