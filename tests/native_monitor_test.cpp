// Monitor.exe on the Native Wi-Fi library with Wine's own wlanapi.dll. That
// one lists no adapter, and most of its other functions end the process when
// called: the library must touch none of them without an adapter. The
// monitor starts, its tooltip says there is no adapter, and its tray menu
// works, checked from outside as a user would see it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kTitle[] = "Wavelume";
const char kProfiles[] = "SOFTWARE\\DoDizir\\Wavelume\\Profiles";

HWND Tray() { return ::FindWindowA("__winex11_standalone_tray", nullptr); }
bool TrayShowsIcons() {
    HWND tray = Tray();
    return tray && ::IsWindowVisible(tray);
}

DWORD WindowProcess(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

// The first visible top-level window of a class that passes `accept`.
template <typename Accept>
HWND FindShown(const char* className, Accept accept) {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, className, nullptr); window;
         window = ::FindWindowExA(nullptr, window, className, nullptr))
        if (::IsWindowVisible(window) && accept(window)) return window;
    return nullptr;
}

// The tray icon's tooltip, as the notification area shows it while the
// pointer rests on the icon.
std::string TooltipText() {
    HWND icon = ::GetWindow(Tray(), GW_CHILD);
    if (!icon) return "<no icon>";
    RECT rc;
    ::GetWindowRect(icon, &rc);
    // Off the icon first: a tooltip shows again only for a pointer that
    // comes back. Then onto it, once a second (a moving pointer keeps
    // putting the tooltip off).
    const POINT away = {rc.right + 300, rc.bottom + 300};
    const POINT on = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    std::string text;
    for (int attempt = 0; attempt < 5 && text.empty(); ++attempt) {
        ::SetCursorPos(away.x, away.y);
        ::Sleep(200);
        ::SetCursorPos(on.x, on.y + attempt % 2);
        WaitFor(
            [&] {
                HWND tip = FindShown("tooltips_class32", [](HWND) { return true; });
                if (!tip) return false;
                // The tooltip answers WM_GETTEXT with the tip it shows (the
                // window's own caption, which GetWindowText would give from
                // another process, is empty).
                char buffer[256] = {};
                DWORD_PTR copied = 0;
                ::SendMessageTimeoutA(tip, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                                      SMTO_ABORTIFHUNG, 2000, &copied);
                text = buffer;
                return !text.empty();
            },
            1500);
    }
    return text.empty() ? "<no tooltip>" : text;
}

class NativeMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "another monitor is running";
        ASSERT_FALSE(TrayShowsIcons()) << "another program has a tray icon";
        // The tray menu then holds only its four commands.
        DeleteTree(HKEY_LOCAL_MACHINE, kProfiles);
        ASSERT_TRUE(dir.CopyIn(BinDir() + "Monitor.exe", "Monitor.exe"));
        ASSERT_TRUE(dir.CopyIn(BinDir() + "native\\nicport.dll", "nicport.dll"));
        // Wine's own wlanapi.dll, whatever lies beside the test programs.
        char overrides[512] = {};
        ::GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof(overrides));
        saved = overrides;
        ::SetEnvironmentVariableA("WINEDLLOVERRIDES", (saved.empty() ? "" : saved + ";") .append("wlanapi=b").c_str());
        const bool started = monitor.Start("\"" + dir.Path() + "Monitor.exe\"", dir.Path());
        ::SetEnvironmentVariableA("WINEDLLOVERRIDES", saved.empty() ? nullptr : saved.c_str());
        ASSERT_TRUE(started);
        ASSERT_TRUE(WaitFor([&] { return (window = FindProcessWindow(monitor.Id(), kTitle)) != nullptr; }, 10000));
        callback = ::RegisterWindowMessageA("WLAN_Monitor_regMsg");
    }
    void TearDown() override {
        if (monitor.Running()) {
            ::PostMessageA(window, WM_COMMAND, 32774, 0);  // Exit
            monitor.Wait(5000);
        }
    }

    // Opens the tray menu with a right click on the icon and picks an entry
    // with the keyboard; false when no menu of the monitor's showed up.
    bool ChooseFromTrayMenu(UINT key) {
        ::PostMessageA(window, callback, 0, WM_RBUTTONUP);
        HWND menu = nullptr;
        const bool shown = WaitFor(
            [&] {
                menu = FindShown("#32768", [&](HWND w) { return WindowProcess(w) == monitor.Id(); });
                return menu != nullptr;
            },
            5000);
        if (!shown) return false;
        ::PostMessageA(menu, WM_KEYDOWN, key, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        return WaitFor([&] { return !::IsWindowVisible(menu); }, 5000);
    }

    TempDir dir;
    std::string saved;
    ChildProcess monitor;
    HWND window = nullptr;
    UINT callback = 0;
};

TEST_F(NativeMonitor, WithoutAnAdapterItSaysSoAndItsTrayMenuWorks) {
    ASSERT_TRUE(WaitFor(TrayShowsIcons, 5000));
    EXPECT_EQ(TooltipText(), "Network disable");

    // Some ticks: every one of them asks the library for the adapter again.
    ::Sleep(3000);
    ASSERT_TRUE(monitor.Running());

    // "Radio On/Off", the first entry, has no adapter to switch.
    ASSERT_TRUE(ChooseFromTrayMenu(VK_DOWN));
    ::Sleep(1500);
    ASSERT_TRUE(monitor.Running());
    EXPECT_EQ(TooltipText(), "Network disable");

    // "Exit", the last entry, ends the monitor as usual.
    ASSERT_TRUE(ChooseFromTrayMenu(VK_UP));
    EXPECT_EQ(monitor.Wait(10000), 0);
    EXPECT_TRUE(WaitFor([] { return !TrayShowsIcons(); }, 3000));
}

}  // namespace
