#include "DataExchange.h"

#include <commctrl.h>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <utility>

#include "App.h"
#include "Window.h"

namespace fw {

std::string TooLongMessage(int limit) {
    char text[64];
    std::snprintf(text, sizeof(text), "Please enter no more than %d characters.", limit);
    return text;
}

static bool IsComboBox(HWND control) {
    char cls[16] = {};
    ::GetClassNameA(control, cls, sizeof(cls));
    return lstrcmpiA(cls, "ComboBox") == 0;
}

void CDataExchange::Fail(HWND control, const std::string& reason) {
    if (m_bFailed) return;
    m_bFailed = true;
    AppMessageBox(m_hDialog, reason, MB_OK | MB_ICONEXCLAMATION);
    if (!control) return;
    ::SetFocus(control);
    if (IsComboBox(control)) ::SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (control.GetSafeHwnd() == nullptr) control.SubclassDlgItem(static_cast<UINT>(id), dx.Dialog());
}

static std::string ReadText(HWND control) {
    int length = ::GetWindowTextLengthA(control);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void DDX_Text(CDataExchange& dx, int id, std::string& value, int limit) {
    HWND control = dx.Control(id);
    if (!control) return;
    if (dx.Saving()) {
        std::string text = ReadText(control);
        if (limit > 0 && text.size() > static_cast<size_t>(limit)) {
            dx.Fail(control, TooLongMessage(limit));
            return;
        }
        value = std::move(text);
        return;
    }
    if (limit > 0)
        ::SendMessageA(control, IsComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    std::string shown = value;
    if (limit > 0 && shown.size() > static_cast<size_t>(limit)) shown.resize(static_cast<size_t>(limit));
    ::SetWindowTextA(control, shown.c_str());
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    HWND control = dx.Control(id);
    if (!control) return;
    if (dx.Saving()) {
        std::string text = ReadText(control);
        char* end = nullptr;
        errno = 0;
        long parsed = std::strtol(text.c_str(), &end, 10);
        if (end != text.c_str() && errno == 0 && parsed >= INT_MIN && parsed <= INT_MAX) value = static_cast<int>(parsed);
        return;
    }
    ::SetWindowTextA(control, std::to_string(value).c_str());
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    HWND control = dx.Control(id);
    if (!control) return;
    if (dx.Saving()) value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBIndex(CDataExchange& dx, int id, int& index) {
    HWND control = dx.Control(id);
    if (!control) return;
    if (dx.Saving()) index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Slider(CDataExchange& dx, int id, int& value) {
    HWND control = dx.Control(id);
    if (!control) return;
    if (dx.Saving()) value = static_cast<int>(::SendMessageA(control, TBM_GETPOS, 0, 0));
    else ::SendMessageA(control, TBM_SETPOS, TRUE, static_cast<LPARAM>(value));
}

}  // namespace fw
