// Item lists that belong to a dialog template: the entries of combo boxes
// and list boxes that the template itself supplies. They are a resource of
// type 240 with the template's number: records of WORD control id, WORD
// message (0x0403 add to a combo box, 0x0401 add to a list box), DWORD byte
// count n and n bytes of NUL-terminated text; a WORD 0 ends the list.
// CDialog applies the list of its template right after the controls exist
// and before OnInitDialog runs.
//
// The list may come from a foreign resource module, so every record is
// checked against the resource's size: a truncated or oversized record ends
// the list instead of being read past its end.
#pragma once

#include <windows.h>

namespace fw {

constexpr WORD kDialogItemListType = 240;

// Adds the items of one list (raw resource bytes) to the dialog's controls
// and returns how many were added. Records for controls the dialog does not
// have, and records with other messages, are skipped.
int ApplyDialogItemList(HWND dialog, const void* data, DWORD size);

// Finds the list of template `templateId` in `module` and applies it;
// 0 when the module has none.
int ApplyDialogItemLists(HWND dialog, HMODULE module, UINT templateId);

}  // namespace fw
