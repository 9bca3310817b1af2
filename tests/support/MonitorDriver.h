// Driving a running program from outside, as a user would: the
// notification area's icon, tooltip and menu, the texts and states of its
// windows, its list views and the mouse. Under Wine a list view message
// from another process carries its pointer unchanged, so those go through a
// buffer in the program's own address space.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace testsupport {

// ---- The notification area ----------------------------------------------------
// Wine shows the icons in a small window of its own while there are any (no
// shell runs a taskbar under plain Xvfb).
bool TrayShowsIcons();
// The tooltip of the first icon, as the notification area shows it while the
// pointer rests on the icon; "<no icon>" or "<no tooltip>" when there is none.
std::string TrayTooltip();
// Opens the tray menu of `owner` (its callback message, a right click) and
// picks an entry with the keyboard: `keys` (the first VK_DOWN selects the
// top entry, the first VK_UP the bottom one), then Enter. False when no menu
// of that process showed up or it did not close.
bool ChooseFromTrayMenu(HWND owner, std::initializer_list<UINT> keys);

// ---- Windows ------------------------------------------------------------------
DWORD WindowProcess(HWND window);
// The first visible top-level window of `className` that belongs to process
// `pid`, or null.
HWND FindShownWindow(const char* className, DWORD pid);
// The text a window answers WM_GETTEXT with ("" when it does not answer).
std::string WindowText(HWND window);
// Sets a control's text as typing would: the control notifies its parent
// of the change.
void TypeText(HWND control, const std::string& text);
// The window (a page or a dialog inside `root`) that holds a control of
// that number and class, or null: pages reuse numbers for other controls.
HWND WindowHolding(HWND root, int id, const char* className);
// Chooses entry `index` of a combo box as a user would: the selection, then
// the notification its parent gets from a choice.
void ChooseComboEntry(HWND combo, int index);
// The entry of a combo box whose item data is `data`, or -1.
int ComboEntryWithData(HWND combo, LPARAM data);
// A button's click as the user makes it; false (and no click) while it is
// disabled or hidden, which a click message alone would not respect.
bool ClickButton(HWND button);

// ---- List views of another process ----------------------------------------------
int ListViewCount(HWND list);
std::string ListViewText(HWND list, int item, int subItem);
// The row's rectangle in the list's client coordinates (empty on failure).
RECT ListViewRowRect(HWND list, int item);

// ---- The mouse ----------------------------------------------------------------
// A double click with the real pointer at `point` of `window`'s client
// area; false when another window covers that point.
bool DoubleClickAt(HWND window, POINT point);

}  // namespace testsupport
