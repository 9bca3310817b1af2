#include "controls/HexEdit.h"

BEGIN_MESSAGE_TABLE(CHexEdit, fw::CEdit)
    ON_MESSAGE(WM_CHAR, OnChar)
END_MESSAGE_TABLE()

bool CHexEdit::Accepts(WPARAM ch) {
    const unsigned char c = static_cast<unsigned char>(ch & 0xFF);
    switch (c) {
    case 0x08:  // backspace
    // The edit control takes its clipboard and undo shortcuts as characters
    // (Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z); they insert nothing themselves.
    case 0x03:
    case 0x16:
    case 0x18:
    case 0x1A:
        return true;
    default:
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    }
}

LRESULT CHexEdit::OnChar(WPARAM wp, LPARAM lp) {
    if (m_bHexOnly && !Accepts(wp)) return 0;  // dropped silently, no beep
    return DefaultProc(WM_CHAR, wp, lp);
}
