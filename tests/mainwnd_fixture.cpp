#include "mainwnd_fixture.h"

#include <cstring>

#include "device/Profile.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "mainwnd/TrayIcon.h"
#include "resource.h"
#include "support/Canvas.h"
#include "support/TestProcess.h"

namespace mwtest {

namespace {
const char kSimKey[] = "Software\\NicportSim";
}

// ---- Shell ---------------------------------------------------------------------
std::vector<ShellCall> ShellRecorder::calls;
bool ShellRecorder::refuse = false;

void ShellRecorder::Reset() {
    calls.clear();
    refuse = false;
}

BOOL WINAPI ShellRecorder::Fake(DWORD message, PNOTIFYICONDATAA data) {
    ShellCall call = {message, {}};
    std::memcpy(&call.data, data, sizeof(NOTIFYICONDATAA));
    calls.push_back(call);
    return refuse ? FALSE : TRUE;
}

const ShellCall* ShellRecorder::LastShown() {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
        if (it->message == NIM_ADD || it->message == NIM_MODIFY) return &*it;
    }
    return nullptr;
}

int ShellRecorder::Count(DWORD message) {
    int n = 0;
    for (const ShellCall& call : calls) n += call.message == message ? 1 : 0;
    return n;
}

// ---- Menu ----------------------------------------------------------------------
std::vector<MenuItem> MenuRecorder::items;
int MenuRecorder::shownCount = 0;
UINT MenuRecorder::choose = 0;
UINT MenuRecorder::flags = 0;

void MenuRecorder::Reset() {
    items.clear();
    shownCount = 0;
    choose = 0;
    flags = 0;
}

BOOL WINAPI MenuRecorder::Fake(HMENU menu, UINT trackFlags, int, int, HWND owner, LPTPMPARAMS) {
    ++shownCount;
    flags = trackFlags;
    items.clear();
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_CHECKMARKS;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        items.push_back({info.wID, text, (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0, info.hbmpChecked != nullptr});
    }
    if (choose) ::PostMessageA(owner, WM_COMMAND, choose, 0);
    return TRUE;
}

const MenuItem* MenuRecorder::Find(UINT id) {
    for (const MenuItem& item : items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

ShellSeams::ShellSeams() {
    ShellRecorder::Reset();
    MenuRecorder::Reset();
    g_pfnShellNotifyIcon = &ShellRecorder::Fake;
    g_pfnTrackPopupMenuEx = &MenuRecorder::Fake;
}

ShellSeams::~ShellSeams() {
    g_pfnShellNotifyIcon = &::Shell_NotifyIconA;
    g_pfnTrackPopupMenuEx = &::TrackPopupMenuEx;
}

// ---- Simulated adapter -----------------------------------------------------------
void ResetSim() { testsupport::DeleteTree(HKEY_CURRENT_USER, kSimKey); }

void SetSim(const char* name, DWORD value) { testsupport::WriteDword(HKEY_CURRENT_USER, kSimKey, name, value); }

void SetSimText(const char* name, const std::string& value) {
    testsupport::WriteString(HKEY_CURRENT_USER, kSimKey, name, value);
}

std::string LastCommittedProfile() {
    Profile record = {};
    DWORD size = sizeof(record);
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSimKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
        ::RegQueryValueExA(key.get(), "LastCommit", nullptr, nullptr, reinterpret_cast<BYTE*>(&record), &size) !=
            ERROR_SUCCESS ||
        size != sizeof(record))
        return std::string();
    return std::string(record.name, ::strnlen(record.name, sizeof(record.name)));
}

// ---- Profile store ------------------------------------------------------------------
std::string ProfilesKey() { return fw::res::String(IDS_APP_KEY) + "\\Profiles"; }

void DeleteProfiles() { testsupport::DeleteTree(HKEY_LOCAL_MACHINE, ProfilesKey()); }

void AddProfile(const std::string& name, const std::string& ssid) {
    const std::string path = ProfilesKey() + "\\" + name;
    testsupport::WriteString(HKEY_LOCAL_MACHINE, path, "ssid", ssid);
    testsupport::WriteDword(HKEY_LOCAL_MACHINE, path, "operatingmode", 1);
}

void DeleteProfile(const std::string& name) { testsupport::DeleteTree(HKEY_LOCAL_MACHINE, ProfilesKey() + "\\" + name); }

std::vector<std::string> StoredProfileNames() {
    std::vector<std::string> names;
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKey().c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof(name);
        if (::RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// ---- Windows ---------------------------------------------------------------------------
void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (ms) ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

namespace {
// The icon drawn over a fixed background, as 32-bit pixels.
std::vector<DWORD> Render(HICON icon, int cx, int cy) {
    testsupport::Canvas canvas(cx, cy, RGB(255, 0, 255));
    std::vector<DWORD> pixels;
    if (!canvas.Valid()) return pixels;
    ::DrawIconEx(canvas.dc(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) pixels.push_back(canvas.Raw(x, y));
    return pixels;
}
}  // namespace

bool IconMatches(HICON shown, UINT id) {
    if (!shown) return false;
    const int cx = ::GetSystemMetrics(SM_CXSMICON);
    const int cy = ::GetSystemMetrics(SM_CYSMICON);
    fw::Icon reference(fw::res::LoadIconImage(id, cx, cy));
    if (!reference) return false;
    const std::vector<DWORD> a = Render(shown, cx, cy);
    return !a.empty() && a == Render(reference.get(), cx, cy);
}

}  // namespace mwtest
