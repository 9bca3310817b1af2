// Regiopick.exe run as a whole and driven from outside as a user drives it,
// under Wine's real registry, version settings and device installer.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kNtClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char k9xClass[] = "System\\CurrentControlSet\\Services\\Class\\Net";
const char kList[] = "\\Ndi\\Params\\SelectedChannel\\enum";
const char kModel[] = "Trellon Wireless a/b/g PC Card (TRW-AG410)";
const char kOtherCase[] = "trellon wireless a/b/g pc card (trw-ag410)";
const std::string kUnreadable(30, 'x');  // more than a 20-byte buffer holds
enum { kCzechRepublic = 22, kGermany = 31, kGuatemala = 33, kJapan = 43 };
using Values = std::map<std::string, std::string>;

Values ReadValues(const std::string& path, HKEY root = HKEY_LOCAL_MACHINE) {
    Values values;
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key)) return values;
    char name[256], data[1024];
    for (DWORD i = 0, n = sizeof(name), d = sizeof(data);
         !::RegEnumValueA(key, i, name, &n, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &d);
         ++i, n = sizeof(name), d = sizeof(data))
        values[name] = std::string(data, d ? d - 1 : 0);
    ::RegCloseKey(key);
    return values;
}

// The channel list a run leaves: its channels as two digits, and the
// unreadable "3" every adapter starts with where 3 is not among them.
Values Channels(int first, int last) {
    Values values;
    if (first > 3 || last < 3) values["3"] = kUnreadable;
    for (int c = first; c <= last; ++c) values[std::to_string(c)] = (c < 10 ? "0" : "") + std::to_string(c);
    return values;
}

// An adapter instance "%04d" whose channel list holds "1" ... "14" of an
// earlier installation, "3" too long to read. It goes with every key of its
// path that it had to create.
struct Adapter {
    Adapter(const char* classKey, int n, const std::string& description = kModel) {
        char name[16];
        std::snprintf(name, sizeof(name), "\\%04d", n);
        path = classKey + std::string(name);
        DeleteTree(HKEY_LOCAL_MACHINE, path);
        for (size_t end = 0; created.empty() && end != std::string::npos;) {
            end = path.find('\\', end + 1);
            HKEY key;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, end).c_str(), 0, KEY_READ, &key))
                created = path.substr(0, end);
            else
                ::RegCloseKey(key);
        }
        WriteString(HKEY_LOCAL_MACHINE, path, "DriverDesc", description);
        for (int c = 1; c <= 14; ++c)
            WriteString(HKEY_LOCAL_MACHINE, path + kList, std::to_string(c).c_str(), c == 3 ? kUnreadable : "old");
    }
    ~Adapter() { DeleteTree(HKEY_LOCAL_MACHINE, created); }
    std::string operator[](const char* name) const { return ReadValues(path)[name]; }
    Values Channels() const { return ReadValues(path + kList); }
    bool Untouched() const { return ReadValues(path).size() == 1 && Channels()["1"] == "old"; }
    std::string path, created;
};

// Devices ROOT\RGPTEST\0000, 0001... in a setup class of the tests' own, whose
// class installer (regiopick_installer.dll) notes every property change.
struct TestDevices {
    TestDevices(std::initializer_list<const char*> descriptions, const std::string& watched = "") {
        Remove();
        WriteString(HKEY_LOCAL_MACHINE, kClassKey, "Installer32",
                    BinDir() + "regiopick_installer.dll,RegiopickTestInstaller");
        WriteString(HKEY_CURRENT_USER, kLog, "Watch", watched);
        HDEVINFO set = ::SetupDiCreateDeviceInfoList(&kClass, nullptr);
        SP_DEVINFO_DATA device = {sizeof(device), {}, 0, 0};
        int n = 0;
        for (const char* description : descriptions)
            if (::SetupDiCreateDeviceInfoA(set, Id(n++).c_str(), &kClass, description, nullptr, 0, &device))
                ::SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
        ::SetupDiDestroyDeviceInfoList(set);
    }
    ~TestDevices() { Remove(); }
    static std::string Id(int n) { return "ROOT\\RGPTEST\\000" + std::to_string(n); }
    // "callN": "device|radioEnable|InstallFinish" at the Nth call; "tickN": its time.
    Values Log() const { return ReadValues(kLog, HKEY_CURRENT_USER); }
    static void Remove() {
        HDEVINFO set = ::SetupDiGetClassDevsA(&kClass, nullptr, nullptr, 0);
        SP_DEVINFO_DATA device = {sizeof(device), {}, 0, 0};
        for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &device); ++i) ::SetupDiRemoveDevice(set, &device);
        ::SetupDiDestroyDeviceInfoList(set);
        DeleteTree(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Enum\\ROOT\\RGPTEST");
        DeleteTree(HKEY_LOCAL_MACHINE, kClassKey);
        DeleteTree(HKEY_CURRENT_USER, "Software\\RegiopickTest");
    }
    static constexpr GUID kClass = {0xa3c1e57b, 0x2d1b, 0x4c7e, {0x9f, 0x10, 0x52, 0x65, 0x67, 0x69, 0xf0, 0xa1}};
    static constexpr const char* kClassKey =
        "System\\CurrentControlSet\\Control\\Class\\{A3C1E57B-2D1B-4C7E-9F10-52656769F0A1}";
    static constexpr const char* kLog = "Software\\RegiopickTest\\Installer";
};

// The Windows version Wine reports to Regiopick.exe alone ("win95"...).
struct WineVersion {
    explicit WineVersion(const char* name) {
        if (name) WriteString(HKEY_CURRENT_USER, kKey, "Version", name);
    }
    ~WineVersion() { DeleteTree(HKEY_CURRENT_USER, kKey); }
    const char* kKey = "Software\\Wine\\AppDefaults\\Regiopick.exe";
};

// A value below HKLM replaced (null: removed) for a test and put back after.
struct ValueOverride {
    ValueOverride(const char* path, const char* name, const char* data) : name(name) {
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key);
        had = !::RegQueryValueExA(key, name, nullptr, &type, saved, &(size = sizeof(saved)));
        if (data)
            ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), std::strlen(data) + 1);
        else
            ::RegDeleteValueA(key, name);
    }
    ~ValueOverride() {
        if (had)
            ::RegSetValueExA(key, name, 0, type, saved, size);
        else
            ::RegDeleteValueA(key, name);
        ::RegCloseKey(key);
    }
    HKEY key = nullptr;
    const char* name;
    bool had = false;
    DWORD type = 0, size = 0;
    BYTE saved[256] = {};
};

// One run of Regiopick.exe, from its dialog to its end.
struct ProgramRun {
    enum Close { Button, Escape, CloseBox };
    explicit ProgramRun(const std::string& program = BinDir() + "Regiopick.exe") {
        process.Start("\"" + program + "\"", BinDir());
    }
    bool Shown() {
        return WaitFor([&] { return ::IsWindowVisible(dialog = FindProcessWindow(process.Id(), "Country Select")); },
                       15000);
    }
    HWND List() const { return ::GetDlgItem(dialog, 3003); }
    void Choose(int position) { ::SendMessageA(List(), CB_SETCURSEL, position, 0); }
    // Dispatches the test thread's messages meanwhile: a window of the test's
    // own answers the program only so.
    long Finish(Close how = Button) {
        if (how == Button) ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        if (how == Escape) ::PostMessageA(List(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        if (how == CloseBox) ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitFor(
            [&] {
                for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
                return !process.Running();
            },
            20000);
        return process.Wait(0);
    }
    // The text of the error box shown instead of the dialog, which is then
    // dismissed, and the exit code.
    std::pair<std::string, long> Refusal() {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindProcessWindow(process.Id(), "Error")) != nullptr; }, 15000);
        char text[512] = {};
        ::SendDlgItemMessageA(box, 0xFFFF, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return {text, process.Wait(15000)};
    }
    ChildProcess process;
    HWND dialog = nullptr;
};

// Each way out of the dialog applies the current choice.
TEST(Regiopick, EachCountryLeavesItsCodeAndExactlyItsChannels) {
    struct {
        int position;
        const char* code;
        int first, last;
        ProgramRun::Close how;
    } cases[] = {{kGermany, "DE", 5, 7, ProgramRun::Button},
                 {kJapan, "JP", 1, 11, ProgramRun::Escape},
                 {kGuatemala, "GT", 1, 14, ProgramRun::CloseBox},
                 {kCzechRepublic, "CZ", 10, 13, ProgramRun::Button}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Adapter adapter(kNtClass, 421);
        ProgramRun run;
        ASSERT_TRUE(run.Shown());
        run.Choose(c.position);
        EXPECT_EQ(0, run.Finish(c.how));
        EXPECT_EQ(c.code, adapter["ccode"]);
        EXPECT_EQ(Channels(c.first, c.last), adapter.Channels());
        EXPECT_EQ("1", adapter["radioEnable"]);
        EXPECT_EQ("1", adapter["InstallFinish"]);
    }
}

TEST(Regiopick, OffersTheCountriesWithUnitedStatesChosenAndAnAboutBox) {
    Adapter adapter(kNtClass, 421);
    ProgramRun run;
    ASSERT_TRUE(run.Shown());
    EXPECT_EQ(93, ::SendMessageA(run.List(), CB_GETCOUNT, 0, 0));
    wchar_t name[64] = {};  // Wine passes another process only the first letter of an ANSI item
    ::SendMessageW(run.List(), CB_GETLBTEXT, ::SendMessageA(run.List(), CB_GETCURSEL, 0, 0),
                   reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(L"UNITED STATES", name);
    ::PostMessageA(run.dialog, WM_SYSCOMMAND, 0x0010, 0);
    HWND about = nullptr;
    EXPECT_TRUE(
        WaitFor([&] { return (about = FindProcessWindow(run.process.Id(), "About Wavelume Country Select")); }, 10000));
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0, run.Finish(ProgramRun::Escape));
    EXPECT_EQ("US", adapter["ccode"]);
    EXPECT_EQ(Channels(1, 13), adapter.Channels());
}

TEST(Regiopick, EveryAdapterOfTheModelIsWrittenAndNoOther) {
    Adapter first(kNtClass, 7), otherCase(kNtClass, 8, kOtherCase),
        tooLong(kNtClass, 9, kModel + std::string(300, ' '));
    Adapter last(kNtClass, 9321);
    ProgramRun run;
    ASSERT_TRUE(run.Shown());
    run.Choose(kGuatemala);
    EXPECT_EQ(0, run.Finish());
    for (const Adapter* adapter : {&first, &last}) {
        EXPECT_EQ("GT", (*adapter)["ccode"]);
        EXPECT_EQ(Channels(1, 14), adapter->Channels());
        EXPECT_EQ("1", (*adapter)["radioEnable"]);
        EXPECT_EQ("1", (*adapter)["InstallFinish"]);
    }
    EXPECT_TRUE(otherCase.Untouched());
    EXPECT_TRUE(tooLong.Untouched());
}

TEST(Regiopick, WithoutAnAdapterOfTheModelNothingIsWrittenAndTheProgramEnds) {
    Adapter otherCase(kNtClass, 421, kOtherCase);
    ProgramRun run;
    ASSERT_TRUE(run.Shown());
    EXPECT_EQ(0, run.Finish());
    EXPECT_TRUE(otherCase.Untouched());
}

// The card manager's window, which Regiopick finds by its title. It notes the
// adapter's country when WM_CLOSE comes and again as it answers, late, so
// that a program that did not wait for the answer is caught writing.
const Adapter* g_managed = nullptr;
std::vector<std::string> g_managerSaw;

LRESULT CALLBACK ManagerProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message != WM_CLOSE) return ::DefWindowProcA(window, message, wp, lp);
    g_managerSaw.push_back((*g_managed)["ccode"]);
    ::Sleep(1200);
    g_managerSaw.push_back((*g_managed)["ccode"]);
    return 0;
}

TEST(Regiopick, TheCardManagerIsClosedAndAnsweredBeforeAnythingIsWritten) {
    Adapter adapter(kNtClass, 421);
    g_managed = &adapter;
    WNDCLASSA cls = {};
    cls.lpszClassName = "RegiopickTestManager";
    cls.lpfnWndProc = &ManagerProc;
    ::RegisterClassA(&cls);
    HWND manager = ::CreateWindowA(cls.lpszClassName, "Trellon Wireless Card Manager", WS_OVERLAPPED, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    ProgramRun run;
    ASSERT_TRUE(run.Shown());
    EXPECT_EQ(0, run.Finish());
    ::DestroyWindow(manager);
    EXPECT_EQ(std::vector<std::string>({"", ""}), g_managerSaw) << "one WM_CLOSE, answered before anything is written";
    EXPECT_EQ("US", adapter["ccode"]);
}

// A country table's string of `count` pieces: N0, N1... or C0, C1...
std::string Pieces(char first, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += first + std::to_string(i) + ",";
    return text;
}

// A copy of the program whose string table holds another country table.
struct ProgramWithTable {
    ProgramWithTable(const std::string& names, const std::string& codes) {
        copied = dir.CopyIn(BinDir() + "Regiopick.exe", "Regiopick.exe") &&
                 ReplaceStringBlock(Path(), {{108, names}, {109, codes}});
    }
    std::string Path() const { return dir.Path() + "Regiopick.exe"; }
    TempDir dir;
    bool copied = false;
};

// A table the program cannot apply is refused before anything is offered:
// no country, and no installation marked finished without one.
TEST(Regiopick, AnUnusableCountryTableIsRefusedAndNothingIsWritten) {
    const std::string names = Pieces('N', 93), codes = Pieces('C', 93);
    std::string noCommas = names, emptyPiece = names;
    for (char& c : noCommas) c = c == ',' ? ' ' : c;
    emptyPiece.insert(names.find(',') + 1, ",");
    const std::pair<std::string, std::string> tables[] = {
        {"", codes}, {names, ""}, {noCommas, codes}, {emptyPiece, codes}, {names, Pieces('C', 92)}};
    for (const auto& table : tables) {
        SCOPED_TRACE(table.first.substr(0, 12) + " | " + table.second.substr(0, 12));
        Adapter adapter(kNtClass, 421);
        ProgramWithTable program(table.first, table.second);
        ASSERT_TRUE(program.copied);
        EXPECT_EQ(std::make_pair(std::string("Unable to read the list of countries."), 0L),
                  ProgramRun(program.Path()).Refusal());
        EXPECT_TRUE(adapter.Untouched());
    }
}

TEST(Regiopick, Windows95And98FirstEditionAreRefused) {
    const std::pair<std::string, long> refused = {
        "This software does not support Windows 95 or Windows 98 First Edition.\n Please upgrade your operating "
        "system to install.",
        0};
    Adapter nt(kNtClass, 421), win9x(k9xClass, 421);
    {
        WineVersion version("win95");
        EXPECT_EQ(refused, ProgramRun().Refusal());
    }
    {
        // Wine's "win98" is the second edition; the first comes from the
        // registry's 9x version, which Wine reads when there is no NT one.
        const char nt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion",
                   win9x[] = "Software\\Microsoft\\Windows\\CurrentVersion";
        ValueOverride major(nt, "CurrentMajorVersionNumber", nullptr), current(nt, "CurrentVersion", nullptr);
        ValueOverride number(win9x, "VersionNumber", "4.10.1998"), service(win9x, "SubVersionNumber", "");
        EXPECT_EQ(refused, ProgramRun().Refusal());
    }
    EXPECT_TRUE(nt.Untouched());
    EXPECT_TRUE(win9x.Untouched());
}

TEST(Regiopick, EachWindowsWritesBelowItsClassKeyAndRestartsUnless98OrMe) {
    struct {
        const char* version;
        const char* classKey;
        bool restart;
    } cases[] = {{nullptr, kNtClass, true},  {"win10", kNtClass, true},  {"winxp", kNtClass, true},
                 {"win98", k9xClass, false}, {"winme", k9xClass, false}, {"nt40", nullptr, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "Wine's default, NT 6.1");
        Adapter nt(kNtClass, 421), win9x(k9xClass, 421);
        TestDevices devices({kModel});
        WineVersion version(c.version);
        ProgramRun run;
        ASSERT_TRUE(run.Shown());
        EXPECT_EQ(0, run.Finish());
        EXPECT_EQ(c.classKey == kNtClass ? "US" : "", nt["ccode"]);
        EXPECT_EQ(c.classKey == k9xClass ? "US" : "", win9x["ccode"]);
        EXPECT_EQ(c.restart ? 5u : 1u, devices.Log().size()) << "two calls and their times beside \"Watch\"";
    }
}

// Wine's SetupDiSetClassInstallParamsA keeps nothing (and the Get function is
// missing), so the class installer sees the two calls of the restart but not
// which state each one asks for.
TEST(Regiopick, TheFirstDeviceOfTheModelIsRestartedBetweenTheRadioSwitchAndTheFinish) {
    Adapter adapter(kNtClass, 421);
    TestDevices devices({kOtherCase, kModel, kModel}, adapter.path);
    ProgramRun run;
    ASSERT_TRUE(run.Shown());
    EXPECT_EQ(0, run.Finish());
    Values log = devices.Log();
    EXPECT_EQ(5u, log.size()) << "a disable and an enable";
    EXPECT_EQ(TestDevices::Id(1) + "|1|-", log["call0"]) << "the first device with the exact description";
    EXPECT_EQ(log["call0"], log["call1"]);
    const unsigned long pause = std::stoul("0" + log["tick1"]) - std::stoul("0" + log["tick0"]);
    EXPECT_TRUE(pause >= 1900 && pause <= 4000) << pause;
    EXPECT_EQ("1", adapter["InstallFinish"]);
}

}  // namespace
