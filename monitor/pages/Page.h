// A tab page of the main window: a modeless child dialog that loads its tab
// title from the string table when it initialises.
#pragma once

#include <string>

#include "framework/Dialog.h"

// Writes a control's text only when it differs from what the control shows:
// a page refreshed every second would otherwise repaint unchanged fields
// every second, shown or not.
void SetTextIfChanged(HWND dialog, int id, const char* text);

class CPage : public fw::CDialog {
public:
    CPage(UINT templateId, UINT titleStringId) : fw::CDialog(templateId), m_nTitleId(titleStringId) {}

    const std::string& Title() const { return m_strTitle; }

protected:
    BOOL OnInitDialog() override;
    // Pages live inside the main window: Enter and Escape must not end them.
    void OnOK() override {}
    void OnCancel() override {}

private:
    UINT m_nTitleId;
    std::string m_strTitle;
};
