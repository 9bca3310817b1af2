// Monitor.exe on the Native Wi-Fi library with Wine's own wlanapi.dll. That
// one lists no adapter, and most of its other functions end the process when
// called: the library must touch none of them without an adapter. The
// monitor starts, its tooltip says there is no adapter, and its tray menu
// works, checked from outside as a user would see it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/MonitorDriver.h"
#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kTitle[] = "Wavelume";
const char kProfiles[] = "SOFTWARE\\DoDizir\\Wavelume\\Profiles";

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
    }
    void TearDown() override {
        if (monitor.Running()) {
            ::PostMessageA(window, WM_COMMAND, 32774, 0);  // Exit
            monitor.Wait(5000);
        }
    }

    TempDir dir;
    std::string saved;
    ChildProcess monitor;
    HWND window = nullptr;
};

TEST_F(NativeMonitor, WithoutAnAdapterItSaysSoAndItsTrayMenuWorks) {
    ASSERT_TRUE(WaitFor(TrayShowsIcons, 5000));
    EXPECT_EQ(TrayTooltip(), "Network disable");

    // Some ticks: every one of them asks the library for the adapter again.
    ::Sleep(3000);
    ASSERT_TRUE(monitor.Running());

    // "Radio On/Off", the first entry, has no adapter to switch.
    ASSERT_TRUE(ChooseFromTrayMenu(window, {VK_DOWN}));
    ::Sleep(1500);
    ASSERT_TRUE(monitor.Running());
    EXPECT_EQ(TrayTooltip(), "Network disable");

    // "Exit", the last entry, ends the monitor as usual.
    ASSERT_TRUE(ChooseFromTrayMenu(window, {VK_UP}));
    EXPECT_EQ(monitor.Wait(10000), 0);
    EXPECT_TRUE(WaitFor([] { return !TrayShowsIcons(); }, 3000));
}

}  // namespace
