#include "support/MonitorDriver.h"

#include <commctrl.h>

#include "support/TestProcess.h"

namespace testsupport {
namespace {

constexpr DWORD kAnswerMs = 3000;

HWND Tray() { return ::FindWindowA("__winex11_standalone_tray", nullptr); }

LRESULT Ask(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, message, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

// Memory in another process for the messages whose pointers Wine passes
// through unchanged.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) : m_size(size) {
        m_process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                  WindowProcess(owner));
        if (m_process)
            m_address = ::VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (m_address) ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process) ::CloseHandle(m_process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_address != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(m_address) + offset; }
    bool Write(const void* data, size_t size, size_t offset = 0) const {
        return m_address && offset + size <= m_size &&
               ::WriteProcessMemory(m_process, At(offset), data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) const {
        return m_address && offset + size <= m_size && ::ReadProcessMemory(m_process, At(offset), data, size, nullptr);
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};

struct HoldingSearch {
    int id;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindHolder(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<HoldingSearch*>(lp);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (::GetDlgCtrlID(window) == search->id && ::lstrcmpiA(name, search->className) == 0) {
        search->found = ::GetParent(window);
        return FALSE;
    }
    return TRUE;
}

void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace

// ---- The notification area ----------------------------------------------------

bool TrayShowsIcons() {
    HWND tray = Tray();
    return tray && ::IsWindowVisible(tray);
}

std::string TrayTooltip() {
    HWND icon = ::GetWindow(Tray(), GW_CHILD);
    if (!icon) return "<no icon>";
    RECT rc;
    ::GetWindowRect(icon, &rc);
    // Off the icon first: a tooltip shows again only for a pointer that
    // comes back. Then onto it (a moving pointer keeps putting the tooltip
    // off), a pixel lower every other try.
    const POINT away = {rc.right + 300, rc.bottom + 300};
    const POINT on = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    std::string text;
    for (int attempt = 0; attempt < 5 && text.empty(); ++attempt) {
        ::SetCursorPos(away.x, away.y);
        ::Sleep(200);
        ::SetCursorPos(on.x, on.y + attempt % 2);
        WaitFor(
            [&] {
                HWND tip = FindShownWindow("tooltips_class32", 0);
                // The tooltip answers WM_GETTEXT with the tip it shows (its
                // caption, which GetWindowText reads, is empty).
                text = tip ? WindowText(tip) : std::string();
                return !text.empty();
            },
            1500);
    }
    ::SetCursorPos(away.x, away.y);
    return text.empty() ? "<no tooltip>" : text;
}

bool ChooseFromTrayMenu(HWND owner, std::initializer_list<UINT> keys) {
    static const UINT callback = ::RegisterWindowMessageA("WLAN_Monitor_regMsg");
    const DWORD pid = WindowProcess(owner);
    ::PostMessageA(owner, callback, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = FindShownWindow("#32768", pid)) != nullptr; }, 5000)) return false;
    for (UINT key : keys) ::PostMessageA(menu, WM_KEYDOWN, key, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return WaitFor([&] { return !::IsWindowVisible(menu); }, 5000);
}

// ---- Windows ------------------------------------------------------------------

DWORD WindowProcess(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

HWND FindShownWindow(const char* className, DWORD pid) {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, className, nullptr); window;
         window = ::FindWindowExA(nullptr, window, className, nullptr))
        if (::IsWindowVisible(window) && (pid == 0 || WindowProcess(window) == pid)) return window;
    return nullptr;
}

std::string WindowText(HWND window) {
    char buffer[512] = {};
    if (!window || Ask(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)) < 0) return "";
    buffer[sizeof(buffer) - 1] = '\0';
    return buffer;
}

void TypeText(HWND control, const std::string& text) {
    Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND WindowHolding(HWND root, int id, const char* className) {
    HoldingSearch search = {id, className, nullptr};
    if (root) ::EnumChildWindows(root, &FindHolder, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ChooseComboEntry(HWND combo, int index) {
    Ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Ask(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
        reinterpret_cast<LPARAM>(combo));
}

int ComboEntryWithData(HWND combo, LPARAM data) {
    const LRESULT count = Ask(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (Ask(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) return static_cast<int>(i);
    return -1;
}

bool ClickButton(HWND button) {
    if (!button || !::IsWindowEnabled(button) || !::IsWindowVisible(button)) return false;
    return Ask(button, BM_CLICK, 0, 0) >= 0;
}

// ---- List views of another process ----------------------------------------------

int ListViewCount(HWND list) { return static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListViewText(HWND list, int item, int subItem) {
    constexpr size_t kText = 260;
    RemoteBuffer buffer(list, sizeof(LVITEMA) + kText);
    if (!buffer.Valid()) return "<no buffer>";
    LVITEMA request = {};
    request.iSubItem = subItem;
    request.pszText = buffer.At(sizeof(LVITEMA));
    request.cchTextMax = kText;
    const char nothing = '\0';
    buffer.Write(&request, sizeof(request));
    buffer.Write(&nothing, 1, sizeof(LVITEMA));
    if (Ask(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.At(0))) < 0)
        return "<no answer>";
    char text[kText] = {};
    buffer.Read(text, kText - 1, sizeof(LVITEMA));
    return text;
}

RECT ListViewRowRect(HWND list, int item) {
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    RemoteBuffer buffer(list, sizeof(rect));
    if (!buffer.Write(&rect, sizeof(rect)) ||
        Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.At(0))) <= 0 ||
        !buffer.Read(&rect, sizeof(rect)))
        return RECT{};
    return rect;
}

// ---- The mouse ----------------------------------------------------------------

bool DoubleClickAt(HWND window, POINT point) {
    ::ClientToScreen(window, &point);
    if (::WindowFromPoint(point) != window) return false;
    ::SetCursorPos(point.x, point.y);
    for (int click = 0; click < 2; ++click) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    return true;
}

}  // namespace testsupport
