// The monitor's icon in the taskbar notification area and its pop-up menu.
//
// CTrayIcon keeps one icon with its tooltip in the notification area, adds it
// again when the shell restarts ("TaskbarCreated") and shows the right-click
// menu: the profile names above the fixed items of the menu resource.
// CTrayIconEx adds the mouse callbacks. Every menu choice reaches the owner
// window as an ordinary WM_COMMAND.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "framework/Raii.h"
#include "resource.h"

// The shell entry points the tray uses, replaceable so that tests can watch
// the requests without a shell (and without a blocking menu loop).
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
using TrackPopupMenuExFunction = BOOL(WINAPI*)(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
extern ShellNotifyIconFunction g_pfnShellNotifyIcon;
extern TrackPopupMenuExFunction g_pfnTrackPopupMenuEx;

// The size of the record handed to the shell: the layout every shell since
// the 5.0 common controls understands (tooltip buffer of 128, balloon
// fields), 488 bytes in a 32-bit program.
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(sizeof(void*) != 4 || kNotifyIconDataSize == 488, "NOTIFYICONDATAA version 2 layout");
// The tooltip is cut to this many bytes, terminator included.
constexpr size_t kTrayTipLimit = 64;
// Profile entries use the command ids kFirstProfileCommand upwards, one per
// name; the menu never carries more than kMaxProfileEntries of them, so the
// ids stay clear of the fixed commands (the lowest of those above is 32820).
constexpr UINT kFirstProfileCommand = ID_TRAY_PROFILE_FIRST;
constexpr UINT kLastProfileCommand = ID_TRAY_PROFILE_LAST;
constexpr UINT kMaxProfileEntries = kLastProfileCommand - kFirstProfileCommand + 1;
static_assert(kMaxProfileEntries == 30 && kLastProfileCommand < ID_TRAY_RADIO, "one entry per storable profile");
// The mark drawn beside the profile applied last.
constexpr UINT kProfileMarkBitmap = 151;

class CTrayIcon {
public:
    using MouseCallback = void (*)(HWND owner, WPARAM iconId);
    using PrepareMenuCallback = bool (*)(HWND owner, WPARAM iconId, HMENU* menu, UINT* flags, int* subMenuIndex);

    CTrayIcon() = default;
    // Removes the icon from the notification area.
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Handles the notification area's messages that reach the owner: the
    // shell restart and the right click on the icon.
    virtual void OnMessage(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);

    // callbackMessage 0 means the registered "WLAN_Monitor_regMsg"; module
    // null means the program itself; tip null means string `iconId` of the
    // module. Adds the icon `iconId` when one loads.
    bool Create(HWND owner, UINT iconId, UINT callbackMessage, HMODULE module, const char* tip);
    void SetMenu(HMODULE module, UINT menuId);
    // Replaces the icon (and the tooltip); adds the icon when the shell does
    // not show it yet. false when the icon does not load.
    bool SetIcon(HMODULE module, UINT iconResourceId, const char* tip);

    // The names the next menu shows, in the configuration page's order; only
    // the first kMaxProfileEntries get an entry. Each is put at the head of
    // the stored list, so the stored order is the reverse.
    void SetProfileNames(const std::vector<std::string>& names);
    const std::deque<std::string>& ProfileNames() const { return m_profileNames; }
    // The name of the profile applied last, marked in the menu.
    void SetMarkedProfile(const std::string& name) { m_strMarked = name; }
    // The profile name behind a profile command id, or false when that id
    // names no entry of the list the menu was built from.
    bool ProfileNameForCommand(UINT id, std::string& name) const;

    // True when this message, passed to OnMessage, would open the menu: the
    // owner sets the profile names just for those.
    bool OpensMenu(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) const;

    UINT CallbackMessage() const { return m_uCallbackMessage; }
    HWND Owner() const { return m_hOwner; }
    bool IsShown() const { return m_bShown; }
    const char* Tip() const { return m_pTip ? m_pTip.get() : ""; }

    MouseCallback onRButtonUp = nullptr;  // replaces the built-in menu
    PrepareMenuCallback onPrepareMenu = nullptr;  // false cancels the menu
    MouseCallback onMouseMove = nullptr;
    MouseCallback onLButtonDown = nullptr;
    MouseCallback onLButtonUp = nullptr;
    MouseCallback onLButtonDblClk = nullptr;
    MouseCallback onRButtonDown = nullptr;
    MouseCallback onRButtonDblClk = nullptr;

protected:
    // The callback message from this icon to its owner.
    bool IsIconEvent(HWND hwnd, UINT message, WPARAM wp) const {
        return hwnd == m_hOwner && message == m_uCallbackMessage && wp == m_uIconId;
    }

private:
    bool Add();
    bool Modify();
    void Remove();
    void FillRecord(NOTIFYICONDATAA& data, UINT flags) const;
    void ShowMenu();
    void CopyTip(const char* tip);

    HWND m_hOwner = nullptr;
    UINT m_uIconId = 0;
    UINT m_uCallbackMessage = 0;
    HMODULE m_hModule = nullptr;
    WORD m_wMenuId = 0;
    fw::Icon m_icon;
    // Which resource m_icon was loaded from.
    UINT m_uLoadedIconId = 0;
    HMODULE m_hLoadedIconModule = nullptr;
    std::unique_ptr<char[]> m_pTip;  // 256 bytes once a tip was given
    bool m_bShown = false;
    std::deque<std::string> m_profileNames;
    std::string m_strMarked;
    UINT m_uTaskbarCreated = 0;
};

// The tray icon with the mouse callbacks of the icon dispatched.
class CTrayIconEx : public CTrayIcon {
public:
    void OnMessage(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) override;
};
