// Drives a running Monitor.exe for scripts/screenshots.sh: shows its window,
// brings a tab to the front, and reports where things are on the screen so
// that the script can cut them out of a capture of the display.
//
//   mainwnd_shotdriver.exe wait            waits for the main window (20 s)
//   mainwnd_shotdriver.exe show            shows it; prints "x y w h"
//   mainwnd_shotdriver.exe tab N           brings tab N to the front; prints "x y w h"
//   mainwnd_shotdriver.exe subtab N        brings the configuration page's sub-tab N to the
//                                          front; prints "x y w h" of the main window
//   mainwnd_shotdriver.exe tray            prints the notification area "x y w h"
//   mainwnd_shotdriver.exe exit            ends the monitor (its tray menu's "Exit")
//
// The monitor runs on a Wine virtual desktop of its own; windows are found
// per desktop, so the driver joins the desktop named by SHOT_DESKTOP first.
// Exit code 0 on success, 1 when the window (or the taskbar) is not there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kTitle[] = "Wavelume";
const UINT kShow = 32773;
const UINT kExit = 32774;
const int kTabControl = 1011;
const int kSubTabControl = 1016;

// The configuration page's sub-tab control: a control of a page of the main tab control.
HWND FindSubTab(HWND mainTab) {
    for (HWND page = ::GetWindow(mainTab, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT)) {
        HWND subTab = ::GetDlgItem(page, kSubTabControl);
        char cls[32] = {};
        if (subTab && ::GetClassNameA(subTab, cls, sizeof(cls)) && std::strcmp(cls, WC_TABCONTROLA) == 0) return subTab;
    }
    return nullptr;
}

HWND WaitForWindow(const char* className, const char* title, DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND hwnd = ::FindWindowA(className, title);
        if (hwnd) return hwnd;
        if (::GetTickCount() - start > ms) return nullptr;
        ::Sleep(100);
    }
}

void PrintRect(HWND hwnd) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

// Lets the window paint before the script captures the screen.
void Settle(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(700);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mainwnd_shotdriver wait|show|tab N|subtab N|tray|exit\n");
        return 2;
    }
    const char* command = argv[1];
    if (const char* desktopName = std::getenv("SHOT_DESKTOP")) {
        // The desktop appears a moment after its explorer starts.
        HDESK desktop = nullptr;
        for (int i = 0; i < 200 && !desktop; ++i) {
            desktop = ::OpenDesktopA(desktopName, 0, FALSE, GENERIC_ALL);
            if (!desktop) ::Sleep(100);
        }
        if (!desktop || !::SetThreadDesktop(desktop)) {
            std::fprintf(stderr, "cannot join desktop %s\n", desktopName);
            return 1;
        }
    }
    if (std::strcmp(command, "tray") == 0) {
        HWND tray = WaitForWindow("Shell_TrayWnd", nullptr, 5000);
        if (!tray) return 1;
        PrintRect(tray);
        return 0;
    }
    HWND main = WaitForWindow(nullptr, kTitle, std::strcmp(command, "wait") == 0 ? 20000 : 3000);
    if (!main) return 1;
    if (std::strcmp(command, "wait") == 0) return 0;
    if (std::strcmp(command, "exit") == 0) {
        ::PostMessageA(main, WM_COMMAND, kExit, 0);
        return 0;
    }
    if (std::strcmp(command, "show") == 0) {
        ::PostMessageA(main, WM_COMMAND, kShow, 0);
        for (int i = 0; i < 50 && !::IsWindowVisible(main); ++i) ::Sleep(100);
        ::SetForegroundWindow(main);
        Settle(main);
        PrintRect(main);
        return ::IsWindowVisible(main) ? 0 : 1;
    }
    if (std::strcmp(command, "tab") == 0 && argc > 2) {
        HWND tab = ::GetDlgItem(main, kTabControl);
        if (!tab) return 1;
        // Setting the focus item notifies the window as a click on the tab would.
        ::SendMessageA(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        Settle(main);
        PrintRect(main);
        return 0;
    }
    if (std::strcmp(command, "subtab") == 0 && argc > 2) {
        HWND subTab = FindSubTab(::GetDlgItem(main, kTabControl));
        if (!subTab) return 1;
        ::SendMessageA(subTab, TCM_SETCURFOCUS, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        Settle(main);
        PrintRect(main);
        return 0;
    }
    std::fprintf(stderr, "unknown command %s\n", command);
    return 2;
}
