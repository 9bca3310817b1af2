#include "mainwnd/TrayIcon.h"

#include <cstring>

#include "framework/Resources.h"

ShellNotifyIconFunction g_pfnShellNotifyIcon = &::Shell_NotifyIconA;
TrackPopupMenuExFunction g_pfnTrackPopupMenuEx = &::TrackPopupMenuEx;

namespace {
const char kCallbackMessageName[] = "WLAN_Monitor_regMsg";
const char kTaskbarCreatedName[] = "TaskbarCreated";
const size_t kTipBufferSize = 256;

// Menu texts treat '&' as the mnemonic marker; a profile name shows as typed.
std::string MenuText(const std::string& name) {
    std::string text;
    text.reserve(name.size());
    for (char c : name) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

// The mark beside the profile applied last: loaded on first use and kept
// for the rest of the run, as menus only borrow their item bitmaps.
HBITMAP ProfileMark(HMODULE module) {
    static fw::Gdi<HBITMAP> mark;
    if (!mark) mark.reset(fw::res::LoadBitmapImage(kProfileMarkBitmap, module));
    return mark.get();
}
}  // namespace

CTrayIcon::~CTrayIcon() { Remove(); }

bool CTrayIcon::Create(HWND owner, UINT iconId, UINT callbackMessage, HMODULE module, const char* tip) {
    m_hOwner = owner;
    m_uIconId = iconId;
    m_uCallbackMessage = callbackMessage ? callbackMessage : ::RegisterWindowMessageA(kCallbackMessageName);
    m_hModule = module ? module : ::GetModuleHandleA(nullptr);
    if (tip) {
        CopyTip(tip);
    } else {
        std::string text;
        if (fw::res::TryLoadString(iconId, text, m_hModule)) CopyTip(text.c_str());
    }
    if (iconId != 0) {
        HICON icon = fw::res::LoadIconImage(iconId, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                            m_hModule);
        if (icon) {
            m_icon.reset(icon);
            m_bShown = Add();
        }
    }
    return ::IsWindow(owner) != FALSE;
}

void CTrayIcon::SetMenu(HMODULE module, UINT menuId) {
    m_hModule = module ? module : ::GetModuleHandleA(nullptr);
    m_wMenuId = static_cast<WORD>(menuId);
}

bool CTrayIcon::SetIcon(HMODULE module, UINT iconResourceId, const char* tip) {
    // The picture is loaded only when it is another one than shown: a new
    // tooltip alone (the signal moves every second) keeps the icon.
    if (!m_icon || iconResourceId != m_uLoadedIconId || module != m_hLoadedIconModule) {
        // The new icon is loaded before the old one goes, so that a failed load
        // leaves the shown icon (and the one a shell restart re-adds) intact.
        HICON icon = fw::res::LoadIconImage(iconResourceId, ::GetSystemMetrics(SM_CXSMICON),
                                            ::GetSystemMetrics(SM_CYSMICON), module);
        if (!icon) return false;
        m_icon.reset(icon);
        m_uLoadedIconId = iconResourceId;
        m_hLoadedIconModule = module;
    }
    if (tip) CopyTip(tip);
    m_bShown = m_bShown ? Modify() : Add();
    return m_bShown;
}

void CTrayIcon::CopyTip(const char* tip) {
    if (!m_pTip) m_pTip.reset(new char[kTipBufferSize]());
    std::strncpy(m_pTip.get(), tip, kTipBufferSize - 1);
    m_pTip[kTipBufferSize - 1] = '\0';
}

void CTrayIcon::FillRecord(NOTIFYICONDATAA& data, UINT flags) const {
    std::memset(&data, 0, sizeof(data));
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = m_hOwner;
    data.uID = m_uIconId;
    data.uFlags = flags;
    data.uCallbackMessage = m_uCallbackMessage;
    data.hIcon = m_icon.get();
    // At most 63 characters reach the shell, whatever the buffer could hold.
    if (m_pTip) ::lstrcpynA(data.szTip, m_pTip.get(), static_cast<int>(kTrayTipLimit));
}

bool CTrayIcon::Add() {
    if (!::IsWindow(m_hOwner)) return false;
    UINT flags = NIF_MESSAGE;
    if (m_icon) flags |= NIF_ICON;
    if (m_pTip) flags |= NIF_TIP;
    NOTIFYICONDATAA data;
    FillRecord(data, flags);
    return g_pfnShellNotifyIcon(NIM_ADD, &data) != FALSE;
}

bool CTrayIcon::Modify() {
    UINT flags = 0;
    if (m_icon) flags |= NIF_ICON;
    if (m_pTip) flags |= NIF_TIP;
    NOTIFYICONDATAA data;
    FillRecord(data, flags);
    return g_pfnShellNotifyIcon(NIM_MODIFY, &data) != FALSE;
}

void CTrayIcon::Remove() {
    if (!m_hOwner) return;
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof(data));
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = m_hOwner;
    data.uID = m_uIconId;
    g_pfnShellNotifyIcon(NIM_DELETE, &data);
    m_bShown = false;
}

void CTrayIcon::SetProfileNames(const std::vector<std::string>& names) {
    m_profileNames.clear();
    const size_t count = names.size() < kMaxProfileEntries ? names.size() : kMaxProfileEntries;
    for (size_t i = 0; i < count; ++i) m_profileNames.push_front(names[i]);
}

bool CTrayIcon::ProfileNameForCommand(UINT id, std::string& name) const {
    if (id < kFirstProfileCommand || id > kLastProfileCommand) return false;
    const size_t index = id - kFirstProfileCommand;
    if (index >= m_profileNames.size()) return false;
    name = m_profileNames[index];
    return true;
}

bool CTrayIcon::OpensMenu(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) const {
    return IsIconEvent(hwnd, message, wp) && lp == WM_RBUTTONUP && !onRButtonUp && m_wMenuId != 0;
}

void CTrayIcon::OnMessage(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (!m_uTaskbarCreated) m_uTaskbarCreated = ::RegisterWindowMessageA(kTaskbarCreatedName);
    // A restarted shell has forgotten every icon: add ours again.
    if (message == m_uTaskbarCreated && m_bShown) m_bShown = Add();
    if (IsIconEvent(hwnd, message, wp) && lp == WM_RBUTTONUP) {
        if (onRButtonUp) onRButtonUp(m_hOwner, wp);
        else ShowMenu();
    }
}

void CTrayIcon::ShowMenu() {
    if (m_wMenuId == 0) return;
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    fw::Menu menu(fw::res::LoadMenuResource(m_wMenuId, m_hModule));
    if (!menu) return;

    UINT flags = TPM_BOTTOMALIGN | TPM_CENTERALIGN;
    int subMenuIndex = 0;
    HMENU shown = menu.get();
    if (onPrepareMenu && !onPrepareMenu(m_hOwner, m_uIconId, &shown, &flags, &subMenuIndex)) return;
    HMENU popup = ::GetSubMenu(shown, subMenuIndex);
    if (!popup) return;

    // Each name goes on top of the ones before it: the list is stored in
    // reverse, so the menu reads in the configuration page's order.
    UINT id = kFirstProfileCommand;
    for (const std::string& name : m_profileNames) {
        ::InsertMenuA(popup, 0, MF_BYPOSITION | MF_STRING | MF_ENABLED, id, MenuText(name).c_str());
        if (name == m_strMarked) {
            HBITMAP mark = ProfileMark(m_hModule);
            if (mark) ::SetMenuItemBitmaps(popup, id, MF_BYCOMMAND, mark, mark);
        }
        ++id;
    }

    // The owner must be in front, or the menu would not close when the user
    // clicks elsewhere; the posted WM_NULL lets a second right click work.
    ::SetForegroundWindow(m_hOwner);
    g_pfnTrackPopupMenuEx(popup, flags, cursor.x, cursor.y, m_hOwner, nullptr);
    ::PostMessageA(m_hOwner, WM_NULL, 0, 0);
}

void CTrayIconEx::OnMessage(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    CTrayIcon::OnMessage(hwnd, message, wp, lp);
    if (!IsIconEvent(hwnd, message, wp)) return;
    MouseCallback callback = nullptr;
    switch (lp) {
    case WM_MOUSEMOVE: callback = onMouseMove; break;
    case WM_LBUTTONDOWN: callback = onLButtonDown; break;
    case WM_LBUTTONUP: callback = onLButtonUp; break;
    case WM_LBUTTONDBLCLK: callback = onLButtonDblClk; break;
    case WM_RBUTTONDOWN: callback = onRButtonDown; break;
    case WM_RBUTTONDBLCLK: callback = onRButtonDblClk; break;
    default: break;
    }
    if (callback) callback(Owner(), wp);
}
