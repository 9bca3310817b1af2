// The monitor's push button: owner-drawn with an 18 x 18 icon at the left, a
// caption centred in the rest, and a raised or sunken frame. Two states with
// a caption and an icon each; a toggling button flips its state on a click.
// A click reaches the parent as a plain command (control id, no handle), so
// a command the parent does not handle travels on to the application.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Controls.h"

class CIconButton : public fw::CButton {
public:
    CIconButton() = default;

    // Makes the bound control owner-drawn and gives it its captions and
    // icons. The icons are borrowed: the button never destroys them.
    void SetUp(const std::string& caption0, const std::string& caption1, HICON icon0, HICON icon1, bool toggles);
    // Only for a toggling button: shows state `index` (0 or 1).
    void SetState(int index);
    int GetState() const { return m_nState; }
    bool Toggles() const { return m_bToggles; }

    // Draws the button as the owner-draw request describes.
    void DrawItem(const DRAWITEMSTRUCT& item);

    // The icon's edge length and the caption's baseline below the middle.
    static constexpr int kIconSize = 18;
    static constexpr int kBaselineDrop = 5;

private:
    DECLARE_MESSAGE_TABLE()

    void OnClicked();
    LRESULT OnDrawItemReflect(WPARAM wp, LPARAM lp);

    bool m_bToggles = false;
    unsigned char m_nState = 0;
    HICON m_hIcon[2] = {nullptr, nullptr};
    std::string m_strCaption[2];
};
