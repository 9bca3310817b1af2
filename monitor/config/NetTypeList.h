// The network-type check list of the common settings sub-page: an
// owner-drawn list box whose five entries are the 802.11 types (entry i is
// bit 1 << i). It keeps one choice per operating mode and shows the one of
// the current slot; types the adapter cannot use are drawn grey and ignore
// clicks. Every change is announced to the parent with WM_NETTYPES_CHANGED.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

// Sent to the list's parent after every change of the shown choice
// (wParam 0, lParam 0).
constexpr UINT WM_NETTYPES_CHANGED = 0x405;

class CNetTypeList : public fw::CListBox {
public:
    enum Slot { kAdHocSlot = 0, kInfrastructureSlot = 1 };
    static constexpr int kTypeCount = 5;
    static constexpr unsigned long kAllTypes = 0x1F;

    // The types that can be chosen. The ad hoc choice keeps what is still
    // enabled (802.11b when nothing is and 802.11b is); the infrastructure
    // choice becomes every enabled type.
    void SetEnabledTypes(unsigned long enabled);
    void SetModeSlot(int slot);
    void SetChosenTypes(unsigned long mask);
    unsigned long GetChosenTypes() const { return m_ulChosen[m_nSlot]; }
    unsigned long GetEnabledTypes() const { return m_ulEnabled; }
    int GetModeSlot() const { return m_nSlot; }

    // A click on entry `index`: ad hoc makes it the only choice,
    // infrastructure toggles it but never removes the last choice.
    void ClickEntry(int index);

    // Draws one entry: a check square as wide as the entry is high, then
    // the type's name, black when enabled and grey when not.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    static const COLORREF kDisabledText;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnLButtonDown(WPARAM wp, LPARAM lp);
    LRESULT OnKeyDown(WPARAM wp, LPARAM lp);
    LRESULT OnEraseBackground(WPARAM wp, LPARAM lp);
    LRESULT OnDrawItemReflect(WPARAM wp, LPARAM lp);
    void Changed();

    unsigned long m_ulEnabled = ~0ul;
    unsigned long m_ulChosen[2] = {0, 0};
    int m_nSlot = kAdHocSlot;
};
