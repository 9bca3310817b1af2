// An edit control that can be told to accept only hexadecimal digits from
// the keyboard. Text set by the program or pasted is not filtered.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

class CHexEdit : public fw::CEdit {
public:
    void SetHexOnly(bool hexOnly) { m_bHexOnly = hexOnly; }
    bool IsHexOnly() const { return m_bHexOnly; }

    // True for the characters a hex-only edit lets through.
    static bool Accepts(WPARAM ch);

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnChar(WPARAM wp, LPARAM lp);

    bool m_bHexOnly = false;
};
