#include "DialogItemLists.h"

#include <string>

namespace fw {

namespace {
const WORD kAddToComboBox = 0x0403;
const WORD kAddToListBox = 0x0401;

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD ReadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}
}  // namespace

int ApplyDialogItemList(HWND dialog, const void* data, DWORD size) {
    if (!dialog || !data) return 0;
    const BYTE* p = static_cast<const BYTE*>(data);
    const BYTE* end = p + size;
    int added = 0;
    while (end - p >= 2) {
        const WORD id = ReadWord(p);
        if (id == 0) break;         // end of the list
        if (end - p < 8) break;     // header cut short
        const WORD message = ReadWord(p + 2);
        const DWORD length = ReadDword(p + 4);
        p += 8;
        if (length > static_cast<DWORD>(end - p)) break;  // text runs past the resource
        const char* text = reinterpret_cast<const char*>(p);
        DWORD n = 0;
        while (n < length && text[n] != '\0') ++n;  // the NUL may be missing
        const std::string item(text, n);
        p += length;

        UINT add = 0;
        if (message == kAddToComboBox) add = CB_ADDSTRING;
        else if (message == kAddToListBox) add = LB_ADDSTRING;
        HWND control = ::GetDlgItem(dialog, id);
        if (!add || !control) continue;
        if (::SendMessageA(control, add, 0, reinterpret_cast<LPARAM>(item.c_str())) >= 0) ++added;
    }
    return added;
}

int ApplyDialogItemLists(HWND dialog, HMODULE module, UINT templateId) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(kDialogItemListType));
    if (!found) return 0;
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data ? ApplyDialogItemList(dialog, data, size) : 0;
}

}  // namespace fw
