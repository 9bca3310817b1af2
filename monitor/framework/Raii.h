// Small owners for Win32 handles: one template, one traits struct per kind.
// Each owner closes its handle exactly once, on reset or destruction; moves
// transfer ownership, copies are not allowed.
#pragma once

#include <windows.h>
#include <winsvc.h>

#include <utility>

namespace fw {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_h(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return m_h; }
    explicit operator bool() const { return Traits::IsValid(m_h); }
    Handle release() { return std::exchange(m_h, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (Traits::IsValid(m_h)) Traits::Close(m_h);
        m_h = h;
    }
    // For APIs that return the handle through an out parameter.
    Handle* put() {
        reset();
        return &m_h;
    }

private:
    Handle m_h = Traits::Invalid();
};

template <typename H, typename Closer, Closer close>
struct NullTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { close(h); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void CloseServiceHandleFn(SC_HANDLE h) { ::CloseServiceHandle(h); }
inline void ReleaseModuleHandle(HMODULE h) { ::FreeLibrary(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyIconFn(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuFn(HMENU h) { ::DestroyMenu(h); }
inline void DeleteDcFn(HDC h) { ::DeleteDC(h); }

using Handle = UniqueHandle<KernelHandleTraits>;
using RegKey = UniqueHandle<NullTraits<HKEY, void (*)(HKEY), &CloseKey>>;
using ServiceHandle = UniqueHandle<NullTraits<SC_HANDLE, void (*)(SC_HANDLE), &CloseServiceHandleFn>>;
using Module = UniqueHandle<NullTraits<HMODULE, void (*)(HMODULE), &ReleaseModuleHandle>>;
using GdiObject = UniqueHandle<NullTraits<HGDIOBJ, void (*)(HGDIOBJ), &DeleteGdiObject>>;
using Icon = UniqueHandle<NullTraits<HICON, void (*)(HICON), &DestroyIconFn>>;
using Menu = UniqueHandle<NullTraits<HMENU, void (*)(HMENU), &DestroyMenuFn>>;
using MemoryDC = UniqueHandle<NullTraits<HDC, void (*)(HDC), &DeleteDcFn>>;

// Typed GDI owner, so callers keep HBITMAP / HFONT / HBRUSH types.
template <typename T>
class Gdi {
public:
    Gdi() = default;
    explicit Gdi(T h) : m_obj(h) {}
    T get() const { return static_cast<T>(m_obj.get()); }
    explicit operator bool() const { return static_cast<bool>(m_obj); }
    void reset(T h = nullptr) { m_obj.reset(h); }
    T release() { return static_cast<T>(m_obj.release()); }

private:
    GdiObject m_obj;
};

// Selects an object into a DC for a scope and restores the previous one.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectScope() {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A window DC released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDC() {
        if (m_dc) ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

}  // namespace fw
