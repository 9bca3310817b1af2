#include "pages/Page.h"

#include <cstring>
#include <string>

#include "framework/Resources.h"

void SetTextIfChanged(HWND dialog, int id, const char* text) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control || !text) return;
    const int length = ::GetWindowTextLengthA(control);
    const size_t wanted = std::strlen(text);
    if (length >= 0 && static_cast<size_t>(length) == wanted) {
        std::string shown(wanted + 1, '\0');
        ::GetWindowTextA(control, &shown[0], length + 1);
        if (std::memcmp(shown.data(), text, wanted) == 0) return;
    }
    ::SetWindowTextA(control, text);
}

BOOL CPage::OnInitDialog() {
    m_strTitle = fw::res::String(m_nTitleId);
    return fw::CDialog::OnInitDialog();
}
