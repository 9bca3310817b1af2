// Monitor.exe as a whole, under Wine's real service control manager and
// window manager: the zero-configuration service around a run, the single
// instance rule and the choice of the resource module.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resource.h"
#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kTitle[] = "Wavelume";
const char kService[] = "WZCSVC";
const UINT kExitCommand = 32774;
const char kCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kInterface[] = "Software\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\nicsim0";

DWORD ServiceState() { return testsupport::ServiceState(kService); }

void ControlTestService(bool run) {
    ASSERT_TRUE(testsupport::DriveService(kService, run, 10000)) << "test service did not reach the state asked for";
}

// Registers the stand-in service as "WZCSVC" in the test prefix.
void InstallTestService() {
    ASSERT_TRUE(testsupport::RegisterService(kService, "\"" + BinDir() + "fake_wzcsvc.exe\"")) << ::GetLastError();
}

// Polls `condition` like WaitFor, dispatching the test thread's messages in
// between: a window of the test's own hears of losing the foreground only so.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD ms) {
    return WaitFor(
        [&] {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            return condition();
        },
        ms);
}

// A visible window of the test's own put in the foreground, so that whatever
// takes the foreground afterwards is a program's doing and not what Wine made
// of an empty desktop. It notes when it loses the activation.
class ForegroundWindow {
public:
    ForegroundWindow() {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = &Proc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = kClass;
        ::RegisterClassA(&cls);  // fails harmlessly once registered
        m_hwnd = ::CreateWindowExA(0, kClass, "startup test", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                                   cls.hInstance, this);
    }
    ~ForegroundWindow() {
        if (m_hwnd) ::DestroyWindow(m_hwnd);
    }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    bool Take() {
        m_lost = false;
        ::SetForegroundWindow(m_hwnd);
        return PumpUntil([&] { return ::GetForegroundWindow() == m_hwnd; }, 3000);
    }
    bool Lost() const { return m_lost; }

private:
    static constexpr const char* kClass = "StartupTestForeground";
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
        if (message == WM_NCCREATE) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        } else if (message == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) {
            if (auto* self = reinterpret_cast<ForegroundWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
                self->m_lost = true;
        }
        return ::DefWindowProcA(hwnd, message, wp, lp);
    }

    HWND m_hwnd = nullptr;
    bool m_lost = false;
};

// One running Monitor.exe, ended through the tray menu's "Exit".
class MonitorRun {
public:
    // Returns once the program has settled in the tray. Its window carries the
    // title before the dialog manager first shows it (activated, taking the
    // foreground from the test's window) and the program hides it again, so a
    // window of that title alone does not say start-up is over: a second start
    // in between would find a window that is yet to be shown and activated.
    bool Start(const std::string& exe = BinDir() + "Monitor.exe", const std::string& cwd = BinDir(),
               const std::string& title = kTitle) {
        if (!m_front.Take() || !m_process.Start("\"" + exe + "\"", cwd)) return false;
        return PumpUntil(
            [&] {
                if (!m_window) m_window = FindProcessWindow(m_process.Id(), title);
                return m_window && m_front.Lost() && !::IsWindowVisible(m_window);
            },
            20000);
    }
    HWND Window() const { return m_window; }
    long Exit() {
        ::PostMessageA(m_window, WM_COMMAND, kExitCommand, 0);
        return m_process.Wait(15000);
    }
    ChildProcess& Process() { return m_process; }
    // The test's own window, in front before the program started.
    ForegroundWindow& Front() { return m_front; }

private:
    ForegroundWindow m_front;
    ChildProcess m_process;
    HWND m_window = nullptr;
};

class Startup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallTestService(); }
    void SetUp() override {
        DeleteTree(HKEY_LOCAL_MACHINE, kCards);
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\7", "Description", "Wireless Card"));
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\7", "ServiceName", "nicsim0"));
        ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kInterface, "ControlFlags", 0x0001C001));
    }
    void TearDown() override { DeleteTree(HKEY_LOCAL_MACHINE, kCards); }
    static DWORD Flags() {
        DWORD flags = 0;
        ReadDword(HKEY_LOCAL_MACHINE, kInterface, "ControlFlags", flags);
        return flags;
    }
};

TEST_F(Startup, RunningServiceIsStoppedForTheRunAndRunningAfterExit) {
    ControlTestService(true);
    MonitorRun run;
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceState());
    EXPECT_EQ(0x00014001u, Flags()) << "only the adapter's enabled bit is cleared";
    EXPECT_FALSE(::IsWindowVisible(run.Window())) << "the program settles in the tray";

    ::PostMessageA(run.Window(), WM_CLOSE, 0, 0);  // only hides
    ::Sleep(300);
    EXPECT_TRUE(run.Process().Running());

    EXPECT_EQ(0, run.Exit());
    EXPECT_TRUE(WaitFor([] { return ServiceState() == SERVICE_RUNNING; }, 10000));
    EXPECT_EQ(0x00014001u, Flags()) << "the flag is not restored at exit";
}

TEST_F(Startup, StoppedServiceIsStartedAtExit) {
    ControlTestService(true);
    ControlTestService(false);
    MonitorRun run;
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceState());
    EXPECT_EQ(0, run.Exit());
    EXPECT_TRUE(WaitFor([] { return ServiceState() == SERVICE_RUNNING; }, 10000));
}

TEST_F(Startup, SecondInstanceShowsTheFirstAndLeavesTheServiceAlone) {
    ControlTestService(true);
    MonitorRun first;
    ASSERT_TRUE(first.Start());
    ASSERT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceState());
    ASSERT_FALSE(::IsWindowVisible(first.Window()));

    // With the test's window in front, the foreground moves to the monitor's
    // window only if the program activates it.
    ASSERT_TRUE(first.Front().Take());
    ChildProcess second;
    ASSERT_TRUE(second.Start("\"" + BinDir() + "Monitor.exe\"", BinDir()));
    EXPECT_EQ(0, second.Wait(20000));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(first.Window()) != FALSE; }, 3000));
    EXPECT_NE(first.Window(), ::GetForegroundWindow()) << "shown without activation";
    // Had the second run gone through start-up and shut-down, it would have
    // started the service again on its way out.
    ::Sleep(500);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ServiceState());
    EXPECT_TRUE(first.Process().Running());

    EXPECT_EQ(0, first.Exit());
    EXPECT_TRUE(WaitFor([] { return ServiceState() == SERVICE_RUNNING; }, 10000));
}

// The program and the two test resource modules copied into a scratch folder.
class ResourceModules : public Startup {
protected:
    void SetUp() override {
        Startup::SetUp();
        ASSERT_TRUE(m_dir.CopyIn(BinDir() + "Monitor.exe", "Monitor.exe"));
        ASSERT_TRUE(m_dir.CopyIn(BinDir() + "nicport.dll", "nicport.dll"));
        ASSERT_TRUE(m_dir.CopyIn(BinDir() + "testres.dll", "moda.dll"));
        ASSERT_TRUE(m_dir.CopyIn(BinDir() + "resmod_b.dll", "modb.dll"));
        ASSERT_TRUE(m_dir.WriteFile("res.conf", "modb.dll\r\n"));
    }
    TempDir m_dir;
};

TEST_F(ResourceModules, ResDllBesideTheProgramWinsOverResConf) {
    ASSERT_TRUE(m_dir.CopyIn(BinDir() + "testres.dll", "res.dll"));
    MonitorRun run;
    ASSERT_TRUE(run.Start(m_dir.Path() + "Monitor.exe", m_dir.Path(), "Testres Monitor"));
    EXPECT_EQ(0, run.Exit());
}

TEST_F(ResourceModules, ResConfNamesTheModuleWhenThereIsNoResDll) {
    MonitorRun run;
    ASSERT_TRUE(run.Start(m_dir.Path() + "Monitor.exe", m_dir.Path(), "Module B Monitor"));
    EXPECT_EQ(0, run.Exit());
}

struct ControlSearch {
    int id, sibling;
    HWND found;
};
BOOL CALLBACK FindControl(HWND child, LPARAM lp) {
    auto* search = reinterpret_cast<ControlSearch*>(lp);
    if (::GetDlgCtrlID(child) != search->id || !::GetDlgItem(::GetParent(child), search->sibling)) return TRUE;
    search->found = child;
    return FALSE;
}
// The text of the control `id` below `window` whose parent also has the
// control `sibling` (numbers repeat between pages).
std::wstring ControlText(HWND window, int id, int sibling) {
    ControlSearch search = {id, sibling, nullptr};
    ::EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&search));
    wchar_t text[128] = {};
    if (search.found) ::GetWindowTextW(search.found, text, 128);
    return text;
}

// The German module, named in res.conf by its full path: the program's
// windows carry its texts.
TEST_F(ResourceModules, GermanModuleNamedByItsFullPath) {
    ASSERT_TRUE(m_dir.WriteFile("res.conf", BinDir() + "Monitor_de.dll\r\n"));
    MonitorRun run;
    ASSERT_TRUE(run.Start(m_dir.Path() + "Monitor.exe", m_dir.Path(), kTitle));
    auto text = [&](int id, int sibling) { return ControlText(run.Window(), id, sibling); };
    EXPECT_EQ(text(IDC_EXIT, IDC_TAB), L"Beenden");
    EXPECT_EQ(text(IDC_CFG_SAVE, IDC_CFG_DELETE), L"Speichern");
    EXPECT_EQ(text(IDC_CFG_APPLY, IDC_CFG_DELETE), L"\u00dcbernehmen");
    EXPECT_EQ(text(IDC_LINK_SSID_LABEL, IDC_LINK_SSID), L"Netzwerkname");
    EXPECT_EQ(0, run.Exit());
}

// A module that does not load, and one that loads but has no resources of
// the program (the device library): the program's own serve instead.
TEST_F(ResourceModules, UnloadableOrUnfitModuleFallsBackToTheProgramsOwn) {
    for (const char* module : {"missing.dll", "nicport.dll"}) {
        ASSERT_TRUE(m_dir.WriteFile("res.conf", std::string(module) + "\n"));
        MonitorRun run;
        ASSERT_TRUE(run.Start(m_dir.Path() + "Monitor.exe", m_dir.Path(), kTitle)) << module;
        EXPECT_EQ(0, run.Exit()) << module;
    }
}

}  // namespace
