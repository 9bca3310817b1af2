// The installer, run silently in the test prefix as an unattended roll-out
// would run it: the files, shortcuts and registry entries it puts down, the
// adapter library chosen, the start at logon on older and newer Windows, the
// first-start settings, an upgrade over a running monitor, and the
// uninstaller with the command it registered.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <taskschd.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "support/TestProcess.h"

using namespace testsupport;

namespace {

#ifdef INSTALLER_NAME

const char kTitle[] = "Wavelume";
const UINT kExit = 32774;
const char kService[] = "WZCSVC";
const char kAppKey[] = "SOFTWARE\\DoDizir\\Wavelume";
const char kProfiles[] = "SOFTWARE\\DoDizir\\Wavelume\\Profiles";
const char kSetup[] = "SOFTWARE\\DoDizir\\Wavelume\\SETUP";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wavelume";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kInterface[] = "Software\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\nicsim0";
const char* const kShipped[] = {"Monitor.exe", "nicport.dll", "Monitor.chm", "Regiopick.exe"};
// The Windows version Wine reports to the installer alone.
const char kReportedVersion[] = "Software\\Wine\\AppDefaults\\" INSTALLER_NAME;
const wchar_t kTask[] = L"Wavelume";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::string InstallDir() { return Folder(CSIDL_PROGRAM_FILES) + "\\Wavelume\\"; }
std::string MenuDir() { return Folder(CSIDL_COMMON_PROGRAMS) + "\\Wavelume\\"; }

std::string SetupProgram() {
    char path[MAX_PATH] = {};
    std::string bin(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return bin.substr(0, bin.find_last_of('\\') + 1) + "..\\dist\\" INSTALLER_NAME;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// A REG_SZ value, or "<none>" when there is no such string.
std::string ReadString(const std::string& path, const char* name) {
    char text[512] = {};
    DWORD size = sizeof(text) - 1, type = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    const LONG result = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? text : "<none>";
}

DWORD Dword(const std::string& path, const char* name) {
    DWORD value = 0xDEADBEEF;
    ReadDword(HKEY_LOCAL_MACHINE, path, name, value);
    return value;
}

// A version block's string value of a file, under its first translation.
std::string VersionValue(const std::string& file, const char* name) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (!size) return "<no version block>";
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return "<no version block>";
    WORD* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length))
        return "<no translation>";
    char query[128];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
    char* value = nullptr;
    return ::VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) && value ? value : "<none>";
}

// The description in a library's version block tells the two nicport.dll apart.
std::string Description(const std::string& file) { return VersionValue(file, "FileDescription"); }
std::string NativeLibrary() { return Description(BinDir() + "native\\nicport.dll"); }
std::string SimulatedLibrary() { return Description(BinDir() + "nicport.dll"); }

// A UTF-16 text file with its byte-order mark, as UTF-8.
std::string ReadUtf16File(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<no file>";
    std::wstring text(::GetFileSize(file, nullptr) / 2, L'\0');
    DWORD read = 0;
    ::ReadFile(file, &text[0], static_cast<DWORD>(text.size() * 2), &read, nullptr);
    ::CloseHandle(file);
    if (text.empty() || text[0] != 0xFEFF) return "<not UTF-16 with a byte-order mark>";
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(::WideCharToMultiByte(CP_UTF8, 0, text.c_str() + 1, static_cast<int>(text.size() - 1), &utf8[0],
                                      static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}

// The text of the first element `name` in `xml`, or "<none>".
std::string Element(const std::string& xml, const std::string& name) {
    const size_t open = xml.find("<" + name + ">");
    const size_t close = xml.find("</" + name + ">");
    if (open == std::string::npos || close == std::string::npos || close < open) return "<none>";
    return xml.substr(open + name.size() + 2, close - open - name.size() - 2);
}

template <typename T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

// Whether the logon task is registered, through the Task Scheduler's API;
// with `remove`, it is deleted if it is. (Wine's Task Scheduler keeps a
// task's settings but drops its trigger, principal and action: the tests
// read those from the definition the installer keeps.)
bool TaskRegistered(bool remove = false) {
    ComRef<ITaskService> service;
    ComRef<ITaskFolder> root;
    ComRef<IRegisteredTask> task;
    VARIANT none;
    ::VariantInit(&none);
    BSTR folder = ::SysAllocString(L"\\"), name = ::SysAllocString(kTask);
    const bool found = SUCCEEDED(::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_ITaskService, reinterpret_cast<void**>(&service.p))) &&
                       SUCCEEDED(service->Connect(none, none, none, none)) &&
                       SUCCEEDED(service->GetFolder(folder, &root.p)) && SUCCEEDED(root->GetTask(name, &task.p));
    if (found && remove) root->DeleteTask(name, 0);
    ::SysFreeString(folder);
    ::SysFreeString(name);
    return found;
}

// The file a shell link points to.
std::string LinkTarget(const std::string& link) {
    std::string target = "<unreadable link>";
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// Wine shows the notification area's icons in a window of its own while
// there are any.
bool TrayShowsIcons() {
    HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    return tray && ::IsWindowVisible(tray);
}

DWORD WindowProcess(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

// The monitor's main window, of whichever process.
HWND MonitorWindow() { return ::FindWindowA("#32770", kTitle); }

// Ends whatever monitor runs, through its tray menu's "Exit".
void EndMonitor() {
    for (int i = 0; i < 3; ++i) {
        HWND window = MonitorWindow();
        if (!window) return;
        ::PostMessageA(window, WM_COMMAND, kExit, 0);
        WaitFor([&] { return !::IsWindow(window); }, 10000);
    }
}

// The uninstaller runs on as a copy of itself in a temporary folder
// ("Un.exe", "Au_.exe" from older NSIS) after the registered command has
// returned.
bool UninstallerRunning() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = ::Process32First(snapshot, &entry); more && !found; more = ::Process32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szExeFile, "Un.exe") == 0 || lstrcmpiA(entry.szExeFile, "Au_.exe") == 0;
    ::CloseHandle(snapshot);
    return found;
}

DWORD ServiceState() { return testsupport::ServiceState(kService); }

// The stand-in for the zero-configuration service, registered as "WZCSVC"
// as the start-up tests register it, and brought to the state asked for.
void ServiceShouldRun(bool run) {
    ASSERT_TRUE(testsupport::RegisterService(kService, "\"" + BinDir() + "fake_wzcsvc.exe\"")) << ::GetLastError();
    ASSERT_TRUE(testsupport::DriveService(kService, run, 10000)) << "service did not reach the state asked for";
}

void DeleteFolder(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteFolder(dir + name + "\\");
            else ::DeleteFileA((dir + name).c_str());
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::CoInitialize(nullptr); }
    static void TearDownTestSuite() { ::CoUninitialize(); }

    void SetUp() override {
        ASSERT_TRUE(Exists(SetupProgram())) << SetupProgram();
        ASSERT_EQ(nullptr, MonitorWindow()) << "a monitor is running";
        ASSERT_FALSE(TrayShowsIcons()) << "another program has a tray icon";
        RemoveEverything();
        DeleteTree(HKEY_CURRENT_USER, "Software\\NicportSim");  // the simulator's lively demo
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\7", "Description", "Wireless Card"));
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\7", "ServiceName", "nicsim0"));
        ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kInterface, "ControlFlags", 0x0001C001));
        ServiceShouldRun(true);
    }
    void TearDown() override {
        EndMonitor();
        if (KeyExists(kUninstall)) Uninstall();
        RemoveEverything();
    }

    static void RemoveEverything() {
        DeleteFolder(InstallDir());
        DeleteFolder(MenuDir());
        HKEY run = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            ::RegDeleteValueA(run, "Wavelume");
            ::RegCloseKey(run);
        }
        DeleteTree(HKEY_LOCAL_MACHINE, kUninstall);
        DeleteTree(HKEY_LOCAL_MACHINE, kAppKey);
        DeleteTree(HKEY_LOCAL_MACHINE, kCards);
        DeleteTree(HKEY_LOCAL_MACHINE, kInterface);
        DeleteTree(HKEY_CURRENT_USER, kReportedVersion);
        TaskRegistered(true);
    }

    // The Windows version the installer sees ("winxp", "win7"...).
    static void ReportWindows(const char* version) {
        ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kReportedVersion, "Version", version));
    }

    static long Install(const std::string& options) {
        ChildProcess setup;
        if (!setup.Start("\"" + SetupProgram() + "\" " + options)) return -2;
        return setup.Wait(60000);
    }
    // The registered quiet command, until the uninstaller's copy has ended.
    static long Uninstall() {
        ChildProcess uninstall;
        if (!uninstall.Start(ReadString(kUninstall, "QuietUninstallString"))) return -2;
        const long code = uninstall.Wait(30000);
        if (!WaitFor([] { return !UninstallerRunning(); }, 30000)) return -1;
        return code;
    }
    // The monitor as the start at logon starts it, settled in the tray.
    void StartMonitor() {
        const std::string command = "\"" + InstallDir() + "Monitor.exe\"";
        ASSERT_TRUE(monitor.Start(command, InstallDir())) << command;
        ASSERT_TRUE(WaitFor([&] { return (window = FindProcessWindow(monitor.Id(), kTitle)) != nullptr; }, 15000));
        ASSERT_TRUE(WaitFor(TrayShowsIcons, 10000)) << "no tray icon";
    }

    ChildProcess monitor;
    HWND window = nullptr;
};

TEST_F(Installer, SilentInstallPutsDownTheProgramsEntriesAndFirstStartSettings) {
    ASSERT_EQ(0, Install("/S /SSID=lab /CHANNEL=11 /MODE=AdHoc"));
    const std::string dir = InstallDir();

    ULONGLONG bytes = 0;
    for (const char* name : kShipped) {
        ASSERT_TRUE(Exists(dir + name)) << name;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ::GetFileAttributesExA((dir + name).c_str(), GetFileExInfoStandard, &data);
        bytes += data.nFileSizeLow;
        if (std::string(name) != "Monitor.chm") {
            EXPECT_EQ(PRODUCT_VERSION, VersionValue(dir + name, "FileVersion")) << name;
            EXPECT_EQ(PRODUCT_VERSION, VersionValue(dir + name, "ProductVersion")) << name;
        }
    }
    EXPECT_EQ(PRODUCT_DATE, VersionValue(dir + "Monitor.exe", "ProductDate"));
    EXPECT_FALSE(Exists(dir + "nicsim.exe")) << "the simulator is chosen, not installed by default";
    EXPECT_FALSE(Exists(dir + "res.dll"));
    EXPECT_EQ(NativeLibrary(), Description(dir + "nicport.dll")) << "the Windows wireless library by default";
    EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "Country Select")) << "a silent install runs no dialog";

    EXPECT_EQ(dir + "Monitor.exe", LinkTarget(MenuDir() + "Wavelume.lnk"));
    EXPECT_EQ(dir + "Monitor.chm", LinkTarget(MenuDir() + "Wavelume Help.lnk"));

    EXPECT_EQ("Wavelume", ReadString(kUninstall, "DisplayName"));
    EXPECT_EQ(PRODUCT_VERSION, ReadString(kUninstall, "DisplayVersion"));
    EXPECT_EQ("DoDizir", ReadString(kUninstall, "Publisher"));
    EXPECT_EQ(dir + "Monitor.exe,0", ReadString(kUninstall, "DisplayIcon"));
    EXPECT_EQ("\"" + dir + "uninstall.exe\"", ReadString(kUninstall, "UninstallString"));
    EXPECT_EQ("\"" + dir + "uninstall.exe\" /S", ReadString(kUninstall, "QuietUninstallString"));
    EXPECT_GE(Dword(kUninstall, "EstimatedSize"), bytes / 1024) << "kilobytes of at least the shipped files";
    EXPECT_LT(Dword(kUninstall, "EstimatedSize"), bytes / 1024 + 1024);

    EXPECT_EQ(1u, Dword(kSetup, "FirstStartup"));
    EXPECT_EQ("lab", ReadString(kSetup, "SSID"));
    EXPECT_EQ("11", ReadString(kSetup, "DSChannel"));
    EXPECT_EQ("AdHoc", ReadString(kSetup, "Mode"));
    const std::string standard = std::string(kProfiles) + "\\DEFAULT";
    EXPECT_EQ("ANY", ReadString(standard, "ssid"));
    EXPECT_EQ(1u, Dword(standard, "operatingmode"));
    EXPECT_EQ(2347u, Dword(standard, "adv.rtsthreshold"));
}

TEST_F(Installer, RefusesOptionValuesTheMonitorCannotUse) {
    EXPECT_EQ(2, Install("/S /MODE=Bridge"));
    EXPECT_EQ(2, Install("/S /CHANNEL=six"));
    EXPECT_EQ(2, Install("/S /SSID=" + std::string(33, 'n')));
    EXPECT_EQ(2, Install("/S /ADAPTER=wireless"));
    EXPECT_FALSE(KeyExists(kUninstall));
    EXPECT_FALSE(KeyExists(kAppKey));
}

TEST_F(Installer, UpgradeOverARunningMonitorKeepsProfilesAndStartsTheNewOne) {
    ASSERT_NE(NativeLibrary(), SimulatedLibrary());
    ASSERT_EQ(0, Install("/S /ADAPTER=simulated"));
    EXPECT_EQ(SimulatedLibrary(), Description(InstallDir() + "nicport.dll"));
    EXPECT_EQ("ANY", ReadString(kSetup, "SSID"));
    EXPECT_EQ("6", ReadString(kSetup, "DSChannel"));
    EXPECT_EQ("Infrastructure", ReadString(kSetup, "Mode"));
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    // The first start takes the settings once.
    ASSERT_TRUE(WaitFor([] { return Dword(kSetup, "FirstStartup") == 0; }, 10000));
    // The user's own profiles, one of them remembered.
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kProfiles) + "\\DEFAULT", "ssid", "mine"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kProfiles) + "\\home", "ssid", "homenet"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kProfiles, "profile", "home"));

    // The other library over the one the running monitor has loaded.
    ASSERT_EQ(0, Install("/S /SSID=other /MODE=AdHoc /ADAPTER=native"));
    EXPECT_EQ(0, monitor.Wait(0)) << "the old monitor was ended through its Exit command";
    EXPECT_EQ(NativeLibrary(), Description(InstallDir() + "nicport.dll"));
    HWND next = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (next = MonitorWindow()) != nullptr; }, 15000)) << "no monitor after the upgrade";
    EXPECT_NE(monitor.Id(), WindowProcess(next));
    EXPECT_TRUE(WaitFor(TrayShowsIcons, 10000));

    EXPECT_EQ("mine", ReadString(std::string(kProfiles) + "\\DEFAULT", "ssid"));
    EXPECT_EQ("homenet", ReadString(std::string(kProfiles) + "\\home", "ssid"));
    EXPECT_EQ("home", ReadString(kProfiles, "profile"));
    EXPECT_EQ(0u, Dword(kSetup, "FirstStartup")) << "armed again, it would overwrite the selected profile";
    EXPECT_EQ("ANY", ReadString(kSetup, "SSID"));
}

TEST_F(Installer, QuietUninstallEndsTheMonitorAndRemovesAllButTheProfiles) {
    ASSERT_EQ(0, Install("/S"));
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    // Running, the monitor has taken the adapter from the service.
    ASSERT_TRUE(WaitFor([] { return Dword(kInterface, "ControlFlags") == 0x00014001; }, 10000));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kProfiles) + "\\home", "ssid", "homenet"));

    EXPECT_EQ(0, Uninstall());
    EXPECT_EQ(0, monitor.Wait(5000)) << "ended through its Exit command";
    EXPECT_FALSE(Exists(InstallDir()));
    EXPECT_FALSE(Exists(MenuDir()));
    EXPECT_EQ("<none>", ReadString(kRun, "Wavelume"));
    EXPECT_FALSE(KeyExists(kUninstall));
    EXPECT_FALSE(KeyExists(kSetup));
    EXPECT_EQ("homenet", ReadString(std::string(kProfiles) + "\\home", "ssid"));
    EXPECT_TRUE(KeyExists(std::string(kProfiles) + "\\DEFAULT"));
    EXPECT_EQ(0x0001C001u, Dword(kInterface, "ControlFlags")) << "the adapter is the service's again";
}

TEST_F(Installer, UninstallGivesTheAdapterBackToAStoppedService) {
    ASSERT_EQ(0, Install("/S /ADAPTER=simulated"));
    // A card of another description listed first, with a flags value of its own.
    const std::string other = "Software\\Microsoft\\WZCSVC\\Parameters\\Interfaces\\other0";
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\1", "Description", "Wireless Card 2"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, std::string(kCards) + "\\1", "ServiceName", "other0"));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, other, "ControlFlags", 0x00004001));
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, kInterface, "ControlFlags", 0x00014001));
    ASSERT_NO_FATAL_FAILURE(ServiceShouldRun(false));

    EXPECT_EQ(0, Uninstall());
    EXPECT_FALSE(Exists(InstallDir() + "nicport.dll"));
    EXPECT_EQ(0x0001C001u, Dword(kInterface, "ControlFlags"));
    EXPECT_EQ(0x00004001u, Dword(other, "ControlFlags"));
    EXPECT_TRUE(WaitFor([] { return ServiceState() == SERVICE_RUNNING; }, 10000));
    DeleteTree(HKEY_LOCAL_MACHINE, other);
}

// Windows Vista and later skip a program that asks for administrator rights
// in the Run key at logon: there a logon task starts the monitor. The
// folder's name holds a character that XML reserves.
TEST_F(Installer, StartsAtLogonByRunValueBeforeVistaAndByTaskFromVistaOn) {
    const std::string dir = Folder(CSIDL_PROGRAM_FILES) + "\\R&D Wavelume\\";
    const std::string folderOption = " /D=" + dir.substr(0, dir.size() - 1);
    struct Cleanup {
        std::string dir;
        ~Cleanup() { DeleteFolder(dir); }
    } cleanup{dir};

    ASSERT_NO_FATAL_FAILURE(ReportWindows("winxp"));
    ASSERT_EQ(0, Install("/S" + folderOption));
    EXPECT_EQ("\"" + dir + "Monitor.exe\"", ReadString(kRun, "Wavelume"));
    EXPECT_FALSE(TaskRegistered());

    // The same folder again, on a later Windows: the task instead, not both.
    ASSERT_NO_FATAL_FAILURE(ReportWindows("win7"));
    ASSERT_EQ(0, Install("/S" + folderOption));
    EXPECT_EQ("<none>", ReadString(kRun, "Wavelume"));
    EXPECT_TRUE(TaskRegistered());
    const std::string xml = ReadUtf16File(dir + "autostart.xml");
    const std::string trigger = Element(xml, "LogonTrigger");
    EXPECT_NE("<none>", trigger) << xml;
    EXPECT_EQ("<none>", Element(trigger, "UserId")) << "any user's logon";
    EXPECT_EQ("S-1-5-32-545", Element(xml, "GroupId")) << "the Users group";
    EXPECT_EQ("HighestAvailable", Element(xml, "RunLevel"));
    EXPECT_EQ(Folder(CSIDL_PROGRAM_FILES) + "\\R&amp;D Wavelume\\Monitor.exe", Element(xml, "Command"));
    EXPECT_EQ("PT0S", Element(xml, "ExecutionTimeLimit")) << "a task is ended after 72 hours by default";
    EXPECT_EQ("false", Element(xml, "DisallowStartIfOnBatteries"));
    EXPECT_EQ("false", Element(xml, "StopIfGoingOnBatteries"));

    EXPECT_EQ(0, Uninstall());
    EXPECT_FALSE(TaskRegistered());
    EXPECT_EQ("<none>", ReadString(kRun, "Wavelume"));
    EXPECT_FALSE(Exists(dir));
}

#else

TEST(Installer, IsMadeByThisTree) {
    GTEST_SKIP() << "this tree makes no installer (BUILD_INSTALLER off, or no makensis when it was configured)";
}

#endif

}  // namespace
