#include "Window.h"

#include "App.h"

#include <unordered_map>

namespace fw {

namespace {
// Which object owns which window. Every message looks its object up here,
// so the lookup stays in the process: a window property would cost a trip
// to the window server per message. Windows are created and used on the
// GUI thread only, so the table needs no lock.
std::unordered_map<HWND, CWnd*>& Objects() {
    static std::unordered_map<HWND, CWnd*> objects;
    return objects;
}

HWND ControlOf(UINT msg, WPARAM wp, LPARAM lp, HWND parent) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lp);  // null for menus and accelerators
    case WM_NOTIFY:
        return lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        return (dis && dis->CtlType != ODT_MENU) ? dis->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        return (mis && mis->CtlType != ODT_MENU) ? ::GetDlgItem(parent, static_cast<int>(wp)) : nullptr;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lp);
    default:
        return nullptr;
    }
}
}  // namespace

const MessageTable* CWnd::StaticMessageTable() {
    static const MessageEntry entries[] = {{0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr}};
    static const MessageTable table = {nullptr, entries};
    return &table;
}

CWnd::~CWnd() {
    if (m_pfnSuper) UnsubclassWindow();
    else if (m_hWnd) Detach();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    const auto& objects = Objects();
    const auto found = objects.find(hwnd);
    return found == objects.end() ? nullptr : found->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    Objects()[hwnd] = this;
}

void CWnd::Detach() {
    if (m_hWnd) {
        auto& objects = Objects();
        const auto found = objects.find(m_hWnd);
        if (found != objects.end() && found->second == this) objects.erase(found);
    }
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandle(hwnd)) return false;
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id))); }

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (hwnd && m_pfnSuper && ::IsWindow(hwnd))
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    return hwnd;
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

RECT CWnd::GetClientRect() const {
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) const {
    LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(remove)) | add);
}

bool CWnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    UINT id = 0;
    UINT code = 0;
    NMHDR* nm = nullptr;
    UINT base = msg >= REFLECT_BASE ? msg - REFLECT_BASE : msg;
    if (base == WM_COMMAND) {
        id = LOWORD(wp);
        code = HIWORD(wp);
    } else if (base == WM_NOTIFY) {
        nm = reinterpret_cast<NMHDR*>(lp);
        if (!nm) return false;
        id = static_cast<UINT>(nm->idFrom);
        code = nm->code;
    }
    const bool reflected = msg >= REFLECT_BASE;
    for (const MessageTable* table = GetMessageTable(); table; table = table->base) {
        for (const MessageEntry* e = table->entries; e->message != 0; ++e) {
            if (e->message != msg) continue;
            if (base == WM_COMMAND || base == WM_NOTIFY) {
                if (e->code != code) continue;
                // Reflected entries belong to the control itself: no id to match.
                if (!reflected && (id < e->idFirst || id > e->idLast)) continue;
            }
            if (e->onMessage) result = (this->*e->onMessage)(wp, lp);
            else if (e->onCommand) {
                (this->*e->onCommand)();
                result = 0;
            } else if (e->onCommandRange) {
                (this->*e->onCommandRange)(id);
                result = 0;
            } else if (e->onNotify) result = (this->*e->onNotify)(nm);
            return true;
        }
    }
    return false;
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, HWND parent, LRESULT& result) {
    HWND control = ControlOf(msg, wp, lp, parent);
    CWnd* child = FromHandle(control);
    if (!child || control == parent) return false;
    return child->Dispatch(REFLECT_BASE + msg, wp, lp, result);
}

bool CWnd::RouteCommandToApp(UINT msg, WPARAM wp, LPARAM lp) {
    // Only commands proper (menus, accelerators, buttons reporting a plain
    // command with no control handle) travel on; notifications stay local.
    if (msg != WM_COMMAND || lp != 0) return false;
    CAppBase* app = CAppBase::Current();
    return app && app->OnCommand(LOWORD(wp));
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wp, lp, m_hWnd, result)) return result;
    if (Dispatch(msg, wp, lp, result)) return result;
    if (RouteCommandToApp(msg, wp, lp)) return 0;
    return DefaultProc(msg, wp, lp);
}

LRESULT CWnd::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcA(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC super = self->m_pfnSuper;
        self->UnsubclassWindow();
        LRESULT result = ::CallWindowProcA(super, hwnd, msg, wp, lp);
        self->OnWindowGone();
        return result;
    }
    return self->WindowProc(msg, wp, lp);
}

}  // namespace fw
