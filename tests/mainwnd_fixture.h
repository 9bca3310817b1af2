// Shared helpers of the tray, icon button and main window tests: the shell
// and menu seams turned into recorders, the simulated adapter's state, the
// profile store's keys, and a message pump.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace mwtest {

// ---- Shell_NotifyIconA ------------------------------------------------------
struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA data;
};
// Every request the tray made since the last Reset; `refuse` makes the fake
// shell answer FALSE.
struct ShellRecorder {
    static std::vector<ShellCall> calls;
    static bool refuse;
    static void Reset();
    static BOOL WINAPI Fake(DWORD message, PNOTIFYICONDATAA data);
    // The last NIM_ADD / NIM_MODIFY, or null.
    static const ShellCall* LastShown();
    static int Count(DWORD message);
};

// ---- TrackPopupMenuEx ---------------------------------------------------------
struct MenuItem {
    UINT id;
    std::string text;
    bool enabled;
    bool marked;  // carries a check-mark bitmap
};
// Captures the menu the tray pops up instead of running a menu loop, and
// picks `choose` (0: nothing) the way a click would: a posted WM_COMMAND.
struct MenuRecorder {
    static std::vector<MenuItem> items;
    static int shownCount;
    static UINT choose;
    static UINT flags;
    static void Reset();
    static BOOL WINAPI Fake(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
    static const MenuItem* Find(UINT id);
};

// Installs both fakes for a scope.
class ShellSeams {
public:
    ShellSeams();
    ~ShellSeams();
};

// ---- The simulated adapter (HKCU\Software\NicportSim) ----------------------
void ResetSim();
void SetSim(const char* name, DWORD value);
void SetSimText(const char* name, const std::string& value);
// The name in the profile record the adapter was last given, or "".
std::string LastCommittedProfile();

// ---- The profile store (HKLM\<app key>\Profiles) -----------------------------
std::string ProfilesKey();
void DeleteProfiles();
void AddProfile(const std::string& name, const std::string& ssid);
void DeleteProfile(const std::string& name);
// The profile names in the registry's enumeration order.
std::vector<std::string> StoredProfileNames();

// ---- Windows ------------------------------------------------------------------
// Dispatches this thread's messages for `ms` milliseconds (at least once).
void Pump(DWORD ms = 0);
// True when `shown` looks like icon resource `id` at the small icon size.
bool IconMatches(HICON shown, UINT id);

}  // namespace mwtest
