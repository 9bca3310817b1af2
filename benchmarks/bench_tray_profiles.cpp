// How many registry reads the main window makes while it handles ordinary
// messages, with the profile store full (30 profiles).
//
// The window builds the tray menu's profile names only when a right click on
// the icon is about to open the menu. This program sends a burst of the
// messages a running monitor sees all the time (mouse moves over the icon and
// the window, hit tests, cursor queries, idle WM_NULLs), counts the calls the
// program makes into the registry (through its own import table, so the
// simulated adapter's reads are not counted), and compares them with the
// cost of reading the names for every message.
//
// Run: build/wine-run build/bin/bench_tray_profiles.exe [burst]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "mainwnd/MonitorDlg.h"
#include "resource.h"
#include "support/Stopwatch.h"
#include "support/TestProcess.h"

namespace {

// ---- Counting the program's registry calls -----------------------------------
long g_opens = 0, g_enums = 0, g_queries = 0;
using OpenFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
using EnumFn = LONG(WINAPI*)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPSTR, LPDWORD, PFILETIME);
using QueryFn = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
OpenFn g_realOpen = nullptr;
EnumFn g_realEnum = nullptr;
QueryFn g_realQuery = nullptr;

LONG WINAPI CountedOpen(HKEY k, LPCSTR s, DWORD o, REGSAM sam, PHKEY r) {
    ++g_opens;
    return g_realOpen(k, s, o, sam, r);
}
LONG WINAPI CountedEnum(HKEY k, DWORD i, LPSTR n, LPDWORD nl, LPDWORD r, LPSTR c, LPDWORD cl, PFILETIME t) {
    ++g_enums;
    return g_realEnum(k, i, n, nl, r, c, cl, t);
}
LONG WINAPI CountedQuery(HKEY k, LPCSTR n, LPDWORD r, LPDWORD t, LPBYTE d, LPDWORD l) {
    ++g_queries;
    return g_realQuery(k, n, r, t, d, l);
}

// Points this program's import of `function` at `hook`.
bool PatchImport(const char* function, void* hook, void** original) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD old = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            return true;
        }
    }
    return false;
}

long Reads() { return g_opens + g_enums + g_queries; }
void ResetCounts() { g_opens = g_enums = g_queries = 0; }

// ---- A full store ----------------------------------------------------------------
void WriteFullProfile(const std::string& profiles, int n) {
    char name[32];
    std::snprintf(name, sizeof(name), "Profile %02d", n);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (profiles + "\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const char* texts[] = {"ssid", "wep.passphrase", "wep.keyperuser", "wep.key1", "wep.key2",
                           "wep.key3", "wep.key4", "wpapsk.password"};
    for (const char* value : texts)
        ::RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(name), std::strlen(name) + 1);
    const char* numbers[] = {"operatingmode", "txrate", "channel", "power", "authype", "wep.level",
                             "wep.auth", "wep.keytype", "wep.defkey", "wep.ispassphrase", "adv.txpower",
                             "adv.qos", "adv.preamble", "adv.scantype", "adv.rtsthreshold",
                             "adv.fragmentthreshold", "nettype"};
    const DWORD one = 1;
    for (const char* value : numbers)
        ::RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    ::RegCloseKey(key);
}


BOOL WINAPI QuietShell(DWORD, PNOTIFYICONDATAA) { return TRUE; }
BOOL WINAPI QuietMenu(HMENU, UINT, int, int, HWND, LPTPMPARAMS) { return TRUE; }

}  // namespace

int main(int argc, char** argv) {
    const int burst = argc > 1 ? std::atoi(argv[1]) : 20000;
    const std::string profiles = fw::res::String(IDS_APP_KEY) + "\\Profiles";
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, profiles);
    for (int n = 0; n < 30; ++n) WriteFullProfile(profiles, n);

    g_pfnShellNotifyIcon = &QuietShell;
    g_pfnTrackPopupMenuEx = &QuietMenu;
    if (!PatchImport("RegOpenKeyExA", reinterpret_cast<void*>(&CountedOpen), reinterpret_cast<void**>(&g_realOpen)) ||
        !PatchImport("RegEnumKeyExA", reinterpret_cast<void*>(&CountedEnum), reinterpret_cast<void**>(&g_realEnum)) ||
        !PatchImport("RegQueryValueExA", reinterpret_cast<void*>(&CountedQuery), reinterpret_cast<void**>(&g_realQuery))) {
        std::printf("could not hook the registry imports\n");
        return 1;
    }

    CMonitorDlg dlg;
    theApp.m_pMainWnd = &dlg;
    if (!dlg.Create(nullptr)) {
        std::printf("the main window did not open\n");
        return 1;
    }
    HWND hwnd = dlg.GetSafeHwnd();
    const UINT callback = dlg.Tray()->CallbackMessage();

    // One walk over the names: what every message cost when the names were
    // read for each message that reached default processing.
    ResetCounts();
    const int walks = 50;
    testsupport::Stopwatch walkWatch;
    size_t names = 0;
    for (int i = 0; i < walks; ++i) names = dlg.ProfileNames().size();
    const double walkSeconds = (walkWatch.Ms() / 1000) / walks;
    const long readsPerWalk = Reads() / walks;

    // The burst: messages that cannot open the menu.
    const UINT ordinary[][3] = {
        {callback, 0, WM_MOUSEMOVE}, {WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)}, {WM_NCHITTEST, 0, MAKELPARAM(10, 10)},
        {WM_SETCURSOR, 0, HTCLIENT}, {WM_NULL, 0, 0}, {callback, 0, WM_LBUTTONDOWN}, {callback, 0, WM_LBUTTONUP},
    };
    const int kinds = sizeof(ordinary) / sizeof(ordinary[0]);
    ResetCounts();
    testsupport::Stopwatch burstWatch;
    for (int i = 0; i < burst; ++i) {
        const UINT* m = ordinary[i % kinds];
        ::SendMessageA(hwnd, m[0], m[1], m[2]);
    }
    const double burstSeconds = burstWatch.Ms() / 1000;
    const long burstReads = Reads();

    // Right clicks on the icon: each opens the menu and reads the names.
    const int menus = 20;
    ResetCounts();
    testsupport::Stopwatch menuWatch;
    for (int i = 0; i < menus; ++i) ::SendMessageA(hwnd, callback, 0, WM_RBUTTONUP);
    const double menuSeconds = (menuWatch.Ms() / 1000) / menus;
    const long readsPerMenu = Reads() / menus;
    const size_t menuNames = dlg.Tray()->ProfileNames().size();

    dlg.DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, profiles);

    std::printf("profiles stored                        %d (names read: %u, in the menu: %u)\n", 30,
                static_cast<unsigned>(names), static_cast<unsigned>(menuNames));
    std::printf("registry reads for one walk of names   %ld (%.3f ms)\n", readsPerWalk, walkSeconds * 1000);
    std::printf("burst of ordinary messages             %d\n", burst);
    std::printf("  registry reads during the burst      %ld\n", burstReads);
    std::printf("  time per message                     %.2f us\n", burstSeconds * 1e6 / burst);
    std::printf("  reads if names were read per message %ld (about %.0f ms of reading)\n",
                readsPerWalk * static_cast<long>(burst), walkSeconds * burst * 1000);
    std::printf("right clicks opening the menu          %d\n", menus);
    std::printf("  registry reads per menu opening      %ld (%.3f ms)\n", readsPerMenu, menuSeconds * 1000);
    return burstReads == 0 && menuNames == 30 ? 0 : 2;
}
