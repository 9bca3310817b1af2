#include "app/ControlLabels.h"

#include <string>

#include "framework/Resources.h"

void LoadControlLabels(HWND dialog, const UINT* stringIds, const UINT* controlIds, const UINT* partnerIds, int count) {
    if (!dialog || !stringIds || !controlIds || count <= 0) return;
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (!fw::res::TryLoadString(stringIds[i], text)) continue;
        if (text.compare(0, 4, "none") == 0) {
            ::ShowWindow(::GetDlgItem(dialog, static_cast<int>(controlIds[i])), SW_HIDE);
            if (partnerIds) ::ShowWindow(::GetDlgItem(dialog, static_cast<int>(partnerIds[i])), SW_HIDE);
        } else {
            ::SendMessageA(::GetDlgItem(dialog, static_cast<int>(controlIds[i])), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
}
