// Data exchange between a dialog's members and its controls: one routine per
// dialog (DoDataExchange) serves both "show the dialog values" (members to
// controls) and "take the dialog values" (controls to members).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CWnd;

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool save) : m_hDialog(dialog), m_bSave(save) {}
    HWND Dialog() const { return m_hDialog; }
    bool Saving() const { return m_bSave; }
    // Null once the exchange has failed: the controls after the failing one
    // are left alone, so the members keep what they had.
    HWND Control(int id) const { return m_bFailed ? nullptr : ::GetDlgItem(m_hDialog, id); }

    // Rejects the value of `control`: tells the user why, puts the focus on
    // the control with its text selected, and ends the exchange as failed.
    void Fail(HWND control, const std::string& reason);
    bool Failed() const { return m_bFailed; }

private:
    HWND m_hDialog;
    bool m_bSave;
    bool m_bFailed = false;
};

// The standard message for a text longer than its field allows.
std::string TooLongMessage(int limit);

// Binds `control` to the dialog's control `id` (once; later calls do nothing).
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
// Text of an edit, combo box or static control; `limit` > 0 caps the typed
// length (EM_LIMITTEXT, or CB_LIMITTEXT for a combo box). Taking a longer
// text fails the exchange with the standard message; showing one cuts it.
void DDX_Text(CDataExchange& dx, int id, std::string& value, int limit = 0);
// A number shown as decimal text; unreadable text leaves the member as is.
void DDX_Text(CDataExchange& dx, int id, int& value);
// Check box state 0, 1 or 2.
void DDX_Check(CDataExchange& dx, int id, int& value);
// Combo box selection index, -1 for none.
void DDX_CBIndex(CDataExchange& dx, int id, int& index);
// Track bar position.
void DDX_Slider(CDataExchange& dx, int id, int& value);

}  // namespace fw
