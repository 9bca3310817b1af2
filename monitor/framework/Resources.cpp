#include "Resources.h"

namespace fw {
namespace res {

namespace {
HINSTANCE g_module = nullptr;

HINSTANCE Pick(HINSTANCE module) { return module ? module : Module(); }
}  // namespace

HINSTANCE Module() { return g_module ? g_module : ::GetModuleHandleA(nullptr); }

void SetModule(HINSTANCE module) { g_module = module; }

bool TryLoadString(UINT id, std::string& text, HINSTANCE module) {
    // With a buffer size of 0 LoadStringW returns a pointer into the
    // resource itself, so no length limit applies.
    const wchar_t* wide = nullptr;
    int length = ::LoadStringW(Pick(module), id, reinterpret_cast<LPWSTR>(&wide), 0);
    if (length <= 0 || wide == nullptr) return false;
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    text.assign(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], bytes, nullptr, nullptr);
    return true;
}

std::string String(UINT id) {
    std::string text;
    TryLoadString(id, text);
    return text;
}

HICON LoadIconImage(UINT id, int cx, int cy, HINSTANCE module) {
    UINT flags = (cx == 0 && cy == 0) ? LR_DEFAULTSIZE : 0;
    return static_cast<HICON>(::LoadImageA(Pick(module), MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, flags));
}

HBITMAP LoadBitmapImage(UINT id, HINSTANCE module) {
    return static_cast<HBITMAP>(::LoadImageA(Pick(module), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
}

HMENU LoadMenuResource(UINT id, HINSTANCE module) { return ::LoadMenuA(Pick(module), MAKEINTRESOURCEA(id)); }

const DLGTEMPLATE* DialogTemplate(UINT id, HINSTANCE module) {
    HINSTANCE from = Pick(module);
    HRSRC found = ::FindResourceA(from, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(from, found);
    return loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

}  // namespace res
}  // namespace fw
