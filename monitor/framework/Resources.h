// Resource loading from the current resource module: the module chosen at
// start-up ("res.dll", the module "res.conf" names, or the program itself).
// Every string, dialog template, icon, bitmap and menu goes through here.
#pragma once

#include <windows.h>

#include <string>

namespace fw {
namespace res {

// The module resources are read from; never null (defaults to the program).
HINSTANCE Module();
// Null restores the program's own resources.
void SetModule(HINSTANCE module);

// Loads string `id`; false when the module has no such string. Strings of any
// length load whole (they are read in place, not through a fixed buffer).
bool TryLoadString(UINT id, std::string& text, HINSTANCE module = nullptr);
// The string, or an empty text when it is missing.
std::string String(UINT id);

// Size 0 means the system's default icon size (LR_DEFAULTSIZE). The caller
// owns the result.
HICON LoadIconImage(UINT id, int cx = 0, int cy = 0, HINSTANCE module = nullptr);
HBITMAP LoadBitmapImage(UINT id, HINSTANCE module = nullptr);
HMENU LoadMenuResource(UINT id, HINSTANCE module = nullptr);
// Points into the loaded module; valid while the module stays loaded.
const DLGTEMPLATE* DialogTemplate(UINT id, HINSTANCE module = nullptr);

}  // namespace res
}  // namespace fw
