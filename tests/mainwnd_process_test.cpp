// Monitor.exe as a whole: it lives in the tray, shows and hides from the
// tray's commands, hides when the adapter is pulled out, and ends on "Exit".
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/MonitorDriver.h"
#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kTitle[] = "Wavelume";
const UINT kShow = 32773;
const UINT kExit = 32774;
const UINT kHelpIndex = 32651;

bool Nicsim(const std::string& args) {
    ChildProcess nicsim;
    return nicsim.Start("\"" + BinDir() + "nicsim.exe\" " + args, BinDir()) && nicsim.Wait(10000) == 0;
}

class MonitorProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Nicsim("reset"));
        ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "another monitor is running";
        ASSERT_FALSE(TrayShowsIcons()) << "another program has a tray icon";
        ASSERT_TRUE(monitor.Start("\"" + BinDir() + "Monitor.exe\"", BinDir()));
        ASSERT_TRUE(WaitFor([&] { return (window = FindProcessWindow(monitor.Id(), kTitle)) != nullptr; }, 10000));
    }
    void TearDown() override {
        if (monitor.Running()) {
            ::PostMessageA(window, WM_COMMAND, kExit, 0);
            monitor.Wait(5000);
        }
        Nicsim("reset");
    }
    bool Visible() const { return ::IsWindowVisible(window) != FALSE; }

    ChildProcess monitor;
    HWND window = nullptr;
};

TEST_F(MonitorProcess, LivesInTheTrayShowsHidesAndEndsOnExit) {
    // Only the tray icon: the dialog manager's first showing hides the
    // window again at once.
    EXPECT_TRUE(WaitFor(TrayShowsIcons, 5000));
    ::Sleep(1000);
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(monitor.Running());

    ::PostMessageA(window, WM_COMMAND, kShow, 0);
    EXPECT_TRUE(WaitFor([&] { return Visible(); }, 3000));
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 3000));
    EXPECT_TRUE(monitor.Running());

    ::PostMessageA(window, WM_COMMAND, kExit, 0);
    EXPECT_EQ(monitor.Wait(10000), 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(WaitFor([] { return !TrayShowsIcons(); }, 3000)) << "the icon outlived the program";
}

TEST_F(MonitorProcess, PullingTheAdapterOutHidesAShownWindowWithinASecond) {
    ::PostMessageA(window, WM_COMMAND, kShow, 0);
    ASSERT_TRUE(WaitFor([&] { return Visible(); }, 5000));
    ASSERT_TRUE(Nicsim("set Present=0"));
    const DWORD pulled = ::GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return !Visible(); }, 3000));
    // One poll period plus a little for the scheduler.
    EXPECT_LE(::GetTickCount() - pulled, 1600u);
    EXPECT_TRUE(monitor.Running());
}

TEST_F(MonitorProcess, HelpOpensTheCompiledHelpFileWithoutBlocking) {
    // The viewer shows the title compiled into Monitor.chm beside the program.
    ::PostMessageA(window, WM_COMMAND, kHelpIndex, 0);
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(monitor.Id(), "Wavelume Help") != nullptr; }, 10000));
    DWORD_PTR result = 0;
    EXPECT_NE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result), 0);
    ::PostMessageA(window, WM_COMMAND, kExit, 0);
    EXPECT_EQ(monitor.Wait(10000), 0);
}

}  // namespace
