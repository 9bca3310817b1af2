#include "pages/Page.h"

#include <cstring>

#include "framework/Resources.h"

void SetTextIfChanged(HWND dialog, int id, const char* text) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control || !text) return;
    // Page fields are short: a text that does not fit the buffer is simply written.
    char shown[256];
    const size_t wanted = std::strlen(text);
    if (wanted < sizeof(shown) && static_cast<size_t>(::GetWindowTextLengthA(control)) == wanted &&
        static_cast<size_t>(::GetWindowTextA(control, shown, sizeof(shown))) == wanted &&
        std::memcmp(shown, text, wanted) == 0)
        return;
    ::SetWindowTextA(control, text);
}

BOOL CPage::OnInitDialog() {
    m_strTitle = fw::res::String(m_nTitleId);
    return fw::CDialog::OnInitDialog();
}
