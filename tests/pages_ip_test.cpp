// The IP information page against Wine's own IP helper and the simulated
// adapter. The page finds its adapter by string 20: the tests write the
// description of an adapter Wine reports into a copy of a resource module,
// and name the simulated adapter the same.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>
#include <iphlpapi.h>
#include <tlhelp32.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/AdapterText.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "mainwnd_fixture.h"
#include "pages/IpInfoPage.h"
#include "pages_support.h"
#include "resource.h"
#include "support/TestProcess.h"

namespace {

struct WineAdapter {
    bool found = false;
    std::string description, address, netmask, gateway, listed;
    DWORD index = 0;
};

// The first adapter with an IPv4 address that is also the first whose
// description contains its own: the one the page must then find.
WineAdapter FindWineAdapter() {
    WineAdapter result;
    ULONG size = 0;
    if (::GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW) return result;
    std::vector<char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (::GetAdaptersInfo(list, &size) != ERROR_SUCCESS) return result;
    for (auto* a = list; a; a = a->Next) {
        result.listed += std::string("'") + a->Description + "' " + a->IpAddressList.IpAddress.String + "; ";
        const std::string description = a->Description;
        if (result.found || description.empty() || std::string(a->IpAddressList.IpAddress.String) == "0.0.0.0") continue;
        auto* first = list;
        while (std::string(first->Description).find(description) == std::string::npos) first = first->Next;
        if (first != a) continue;
        result = {true, description, a->IpAddressList.IpAddress.String, a->IpAddressList.IpMask.String,
                  a->GatewayList.IpAddress.String, result.listed, a->Index};
    }
    return result;
}

// The adapter Wine reports and a resource module whose string 20 names it.
struct IpEnvironment : ::testing::Environment {
    void SetUp() override {
        WSADATA wsa;
        ::WSAStartup(0x0101, &wsa);
        adapter = FindWineAdapter();
        if (!adapter.found) return;
        dir = std::make_unique<testsupport::TempDir>();
        const std::string file = dir->Path() + "ip_adapter.dll";
        if (dir->CopyIn(testsupport::BinDir() + "pages_ip_resmod.dll", "ip_adapter.dll") &&
            testsupport::ReplaceStringBlock(file, {{IDS_ADAPTER, adapter.description}}))
            module = ::LoadLibraryA(file.c_str());
    }
    void TearDown() override {
        if (module) ::FreeLibrary(module);
        dir.reset();
        ::WSACleanup();
    }
    WineAdapter adapter;
    std::unique_ptr<testsupport::TempDir> dir;
    HMODULE module = nullptr;
};
IpEnvironment* const g_env = static_cast<IpEnvironment*>(::testing::AddGlobalTestEnvironment(new IpEnvironment));

// The IP helper as Wine answers, but with every adapter static on request,
// and the lease calls counted.
std::atomic<bool> g_staticAdapters{false};
std::atomic<int> g_leaseCalls{0};
std::atomic<DWORD> g_leaseIndex{0};
DWORD WINAPI Adapters(PIP_ADAPTER_INFO list, PULONG size) {
    const DWORD result = ::GetAdaptersInfo(list, size);
    if (result == ERROR_SUCCESS && g_staticAdapters)
        for (auto* a = list; a; a = a->Next) a->DhcpEnabled = 0;
    return result;
}
template <IpLeaseFunction wine>
DWORD WINAPI Lease(PIP_ADAPTER_INDEX_MAP map) {
    g_leaseIndex = map->Index;
    ++g_leaseCalls;
    return wine(map);
}

// Writes to the page's fields and buttons: a write the worker sends from its
// own thread arrives as a message sent by another thread.
int g_foreignWrites = 0;
int g_hostWrites = 0;
std::vector<bool> g_releaseStates;
LRESULT CALLBACK Watch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT || msg == WM_ENABLE) {
        g_foreignWrites += ::InSendMessage() ? 1 : 0;
        g_hostWrites += msg == WM_SETTEXT && ::GetDlgCtrlID(hwnd) == IDC_IP_HOSTNAME;
        if (msg == WM_ENABLE && ::GetDlgCtrlID(hwnd) == IDC_IP_RELEASE) g_releaseStates.push_back(wp != 0);
    }
    return ::CallWindowProcA(reinterpret_cast<WNDPROC>(::GetPropA(hwnd, "test.proc")), hwnd, msg, wp, lp);
}

std::string HostName() {
    char name[100] = {};
    return ::gethostname(name, sizeof(name)) == 0 ? name : "";
}

#define NEED_ADAPTER()                                                                                     \
    if (!g_env->adapter.found || !g_env->module)                                                          \
    GTEST_SKIP() << "Wine's IP helper lists no adapter with an IPv4 address on this machine (it lists: " \
                 << g_env->adapter.listed << ")"

class IpInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        const std::string name = g_env->adapter.found ? g_env->adapter.description : "Wireless Card";
        mwtest::SetSimText("AdapterName", name);
        int handle = 0;
        ASSERT_TRUE(theDevice.Open(name.c_str(), handle));
        theApp.m_pMainWnd = &host;
        g_pfnGetAdaptersInfo = &Adapters;
        g_pfnIpReleaseAddress = &Lease<&::IpReleaseAddress>;
        g_pfnIpRenewAddress = &Lease<&::IpRenewAddress>;
        g_staticAdapters = false;
        g_leaseCalls = 0;
        g_foreignWrites = g_hostWrites = 0;
        g_releaseStates.clear();
    }
    void TearDown() override {
        page.DestroyWindow();
        EXPECT_EQ(g_foreignWrites, 0) << "the worker wrote a control from its own thread";
        g_pfnGetAdaptersInfo = &::GetAdaptersInfo;
        g_pfnAdapterDescription = nullptr;
        g_pfnIpReleaseAddress = &::IpReleaseAddress;
        g_pfnIpRenewAddress = &::IpRenewAddress;
        theApp.m_pMainWnd = nullptr;
        theDevice.Close();
        mwtest::ResetSim();
    }
    void Create(HMODULE module) {
        fw::res::SetModule(module);
        const bool created = page.Create(host);
        fw::res::SetModule(nullptr);
        ASSERT_TRUE(created);
        for (int id : {IDC_IP_ADDRESS, IDC_IP_NETMASK, IDC_IP_GATEWAY, IDC_IP_HOSTNAME, IDC_IP_RELEASE, IDC_IP_RENEW}) {
            ::SetPropA(Item(id), "test.proc",
                       reinterpret_cast<HANDLE>(::SetWindowLongPtrA(Item(id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Watch))));
        }
    }
    HWND Item(int id) const { return page.GetDlgItem(id); }
    std::string Text(int id) const { return pagetest::Text(Item(id)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Buttons(bool enabled) const { return Enabled(IDC_IP_RELEASE) == enabled && Enabled(IDC_IP_RENEW) == enabled; }
    void Tick() { page.SendMessage(WM_TIMER, CIpInfoPage::kTimerId); }
    // Pumps this thread's messages until `done` holds, for at most 5 s.
    template <typename Condition>
    bool Until(Condition done) {
        for (DWORD start = ::GetTickCount(); !done(); mwtest::Pump(10))
            if (::GetTickCount() - start > 5000) return false;
        return true;
    }
    // One tick's refresh, answered and written.
    bool Refresh() {
        // The page writes only what changed: an emptied host name is
        // written again by the next answer, which tells that it arrived.
        ::SetWindowTextA(Item(IDC_IP_HOSTNAME), "");
        const int writes = g_hostWrites;
        Tick();
        return Until([&] { return g_hostWrites > writes; });
    }
    // Ticks until the buttons are in that state (the page's own timer also
    // asks for refreshes, so "the next one" cannot be told apart).
    bool RefreshUntilButtons(bool enabled) {
        return Until([&] {
            Tick();
            mwtest::Pump(40);
            return Buttons(enabled);
        });
    }

    pagetest::Host host;
    CIpInfoPage page;
};

TEST_F(IpInfoPageTest, WhileAssociatedTheFieldsShowTheAdapterThatString20Names) {
    NEED_ADAPTER();
    Create(g_env->module);
    EXPECT_EQ(page.Title(), "Addresses");
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Text(IDC_IP_ADDRESS), g_env->adapter.address);
    EXPECT_EQ(Text(IDC_IP_NETMASK), g_env->adapter.netmask);
    EXPECT_EQ(Text(IDC_IP_GATEWAY), g_env->adapter.gateway);
    EXPECT_EQ(Text(IDC_IP_HOSTNAME), HostName());
    EXPECT_TRUE(Buttons(true));  // Wine's adapters all have DHCP

    // Answers that change nothing write nothing.
    const int writes = g_hostWrites;
    for (int tick = 0; tick < 3; ++tick) {
        Tick();
        mwtest::Pump(200);
    }
    EXPECT_EQ(g_hostWrites, writes);
}

// A device library that serves adapters of any name describes the one it
// opened: the worker looks for that description, from the tick that first
// sees it.
const char* g_description = nullptr;
const char* Described() { return g_description; }

TEST_F(IpInfoPageTest, WithTheLibrarysDescriptionTheFieldsShowTheAdapterItDescribes) {
    NEED_ADAPTER();
    g_description = nullptr;
    g_pfnAdapterDescription = &Described;
    Create(nullptr);  // the program's own string 20, which names none of Wine's adapters
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Text(IDC_IP_ADDRESS), "");

    g_description = g_env->adapter.description.c_str();
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Text(IDC_IP_ADDRESS), g_env->adapter.address);
    EXPECT_EQ(Text(IDC_IP_GATEWAY), g_env->adapter.gateway);
}

TEST_F(IpInfoPageTest, NotAssociatedBlanksTheAddressesAndKeepsTheHostName) {
    Create(g_env->module);
    ASSERT_TRUE(Refresh());
    ASSERT_EQ(Text(IDC_IP_HOSTNAME), HostName());
    for (int id : {IDC_IP_ADDRESS, IDC_IP_NETMASK, IDC_IP_GATEWAY}) ::SetDlgItemTextA(page, id, "10.0.0.1");
    // The link drops while a refresh is on its way: its answer comes late.
    Tick();
    mwtest::SetSim("Associated", 0);
    Tick();
    mwtest::Pump(500);
    for (int id : {IDC_IP_ADDRESS, IDC_IP_NETMASK, IDC_IP_GATEWAY}) EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(Text(IDC_IP_HOSTNAME), HostName());
    EXPECT_TRUE(Buttons(false));
}

TEST_F(IpInfoPageTest, OnTheNtFamilyTheButtonsFollowDhcp) {
    NEED_ADAPTER();
    ASSERT_FALSE(CIpLookup::IsWin9xFamily());
    Create(g_env->module);
    ASSERT_TRUE(Refresh());
    EXPECT_TRUE(Buttons(true));
    g_staticAdapters = true;
    EXPECT_TRUE(RefreshUntilButtons(false));
    EXPECT_EQ(Text(IDC_IP_ADDRESS), g_env->adapter.address);
    g_staticAdapters = false;
    EXPECT_TRUE(RefreshUntilButtons(true));
}

// Run by the next test in a copy of this program that Wine takes for one
// running on Windows 98.
class IpInfoPage9x : public IpInfoPageTest {};
TEST_F(IpInfoPage9x, DISABLED_AStaticAdapterKeepsTheButtons) {
    NEED_ADAPTER();
    ASSERT_TRUE(CIpLookup::IsWin9xFamily());
    g_staticAdapters = true;
    Create(g_env->module);
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(Refresh());
        EXPECT_TRUE(Buttons(true)) << pass;
        EXPECT_EQ(Text(IDC_IP_ADDRESS), g_env->adapter.address);
    }
}

TEST_F(IpInfoPageTest, OnThe9xFamilyTheButtonsAreAlwaysOffered) {
    NEED_ADAPTER();
    const std::string exe = "pages_ip_win98.exe";
    const std::string self = testsupport::BinDir() + "pages_ip_test.exe";
    testsupport::TempDir dir;
    ASSERT_TRUE(dir.CopyIn(self, exe) && dir.CopyIn(testsupport::BinDir() + "nicport.dll", "nicport.dll") &&
                dir.CopyIn(testsupport::BinDir() + "pages_ip_resmod.dll", "pages_ip_resmod.dll"));
    const std::string key = "Software\\Wine\\AppDefaults\\" + exe;
    ASSERT_TRUE(testsupport::WriteString(HKEY_CURRENT_USER, key, "Version", "win98"));
    testsupport::ChildProcess child;
    const bool started = child.Start("\"" + dir.Path() + exe + "\" --gtest_also_run_disabled_tests" +
                                     " --gtest_filter=IpInfoPage9x.* --gtest_output=xml:" + dir.Path() + "result.xml");
    const long code = started ? child.Wait(120000) : -1;
    testsupport::DeleteTree(HKEY_CURRENT_USER, key);
    std::ifstream file(dir.Path() + "result.xml");
    const std::string result((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(code, 0);
    EXPECT_NE(result.find("result=\"completed\""), std::string::npos) << result;
    EXPECT_EQ(result.find("<failure"), std::string::npos) << result;
}

TEST_F(IpInfoPageTest, ReleaseAndRenewDisableThenEnableTheButtons) {
    NEED_ADAPTER();
    Create(g_env->module);
    ASSERT_TRUE(Refresh());
    ASSERT_TRUE(Buttons(true));
    for (int button : {IDC_IP_RELEASE, IDC_IP_RENEW}) {
        g_releaseStates.clear();
        const int calls = g_leaseCalls;
        ::SendMessageA(Item(button), BM_CLICK, 0, 0);
        // Wine supports neither: the buttons come back all the same.
        ASSERT_TRUE(Until([&] { return g_releaseStates.size() == 2; })) << button;
        EXPECT_EQ(g_releaseStates, (std::vector<bool>{false, true}));
        EXPECT_EQ(g_leaseCalls.load(), calls + 1);
        EXPECT_EQ(g_leaseIndex.load(), g_env->adapter.index);
        EXPECT_TRUE(Buttons(true));
    }
}

TEST_F(IpInfoPageTest, TheComboChoosesTheCurvesFromTheGraphsNextTick) {
    Create(nullptr);  // the program's own "incoming|outgoing|both"
    fw::CComboBox& combo = *static_cast<fw::CComboBox*>(fw::CWnd::FromHandle(Item(IDC_IP_GRAPH_SERIES)));
    ASSERT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetLBText(1), "outgoing");
    EXPECT_EQ(combo.GetCurSel(), 2);
    combo.SetCurSel(1);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_IP_GRAPH_SERIES, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    page.Graph().SendMessage(WM_TIMER, CThroughputGraph::kSampleTimer);
    const RECT client = page.Graph().GetClientRect();
    pagetest::Canvas shot(client.right, client.bottom);
    page.Graph().SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.dc()), PRF_CLIENT);
    const RECT all = {0, 0, shot.width, shot.height};
    EXPECT_EQ(shot.Count(RGB(255, 0, 0), all), 0);
    EXPECT_GT(shot.Count(RGB(0, 255, 0), all), 0);
    page.DestroyWindow();

    // A module's own parts, and its labels.
    HMODULE module = ::LoadLibraryA((testsupport::BinDir() + "pages_ip_resmod.dll").c_str());
    Create(module);
    EXPECT_EQ(combo.GetCount(), 4);  // the page's own combo box, bound again
    EXPECT_EQ(combo.GetLBText(3), "none");
    EXPECT_EQ(Text(IDC_IP_GATEWAY_LABEL), "Router:");
    page.DestroyWindow();
    ::FreeLibrary(module);
}

int OwnHandles() {
    struct Entry {
        ULONG pid;
        BYTE type, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    // GetProcessHandleCount answers 0 under Wine; the system's handle list does not.
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    for (ULONG length = 0;; buffer.resize(buffer.size() * 2)) {
        if (!query || buffer.size() > (64u << 20)) return -1;
        const LONG status = query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &length);
        if (status == 0) break;
        if (status != static_cast<LONG>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */) return -1;
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    int count = 0;
    for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].pid == ::GetCurrentProcessId();
    return count;
}

int OwnThreads() {
    fw::Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    return count;
}

TEST_F(IpInfoPageTest, AThousandPagesComeAndGoWithoutLeavingHandlesOrThreads) {
    int threads = 0;
    int ended = 0;
    auto lifetimes = [&](int times) {
        for (int i = 0; i < times; ++i) {
            CIpInfoPage passing;
            fw::res::SetModule(g_env->module);
            ASSERT_TRUE(passing.Create(host));
            fw::res::SetModule(nullptr);
            ASSERT_TRUE(passing.WorkerRunning());
            // Torn down while the worker is busy with requests.
            passing.SendMessage(WM_TIMER, CIpInfoPage::kTimerId);
            if (i % 2) passing.SendMessage(WM_COMMAND, IDC_IP_RELEASE);
            if (i % 3 == 0) ::Sleep(1);
            passing.DestroyWindow();
            // The worker is gone when the page's window is.
            if (threads && i % 10 == 0) ended += OwnThreads() == threads;
            mwtest::Pump();
        }
    };
    lifetimes(3);
    const int handles = OwnHandles();
    threads = OwnThreads();
    ASSERT_GT(handles, 0);
    lifetimes(1000);
    EXPECT_EQ(ended, 100);
    EXPECT_EQ(OwnHandles(), handles);
    EXPECT_EQ(OwnThreads(), threads);
}

}  // namespace
