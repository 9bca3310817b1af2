#include "config/NetTypeList.h"

#include <windowsx.h>


const COLORREF CNetTypeList::kDisabledText = RGB(140, 140, 140);

namespace {
const unsigned long kAdHocFallback = 0x04;  // 802.11b
const int kTextGap = 3;
}  // namespace

BEGIN_MESSAGE_TABLE(CNetTypeList, fw::CListBox)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDown)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
    ON_REFLECT(WM_DRAWITEM, OnDrawItemReflect)
END_MESSAGE_TABLE()

void CNetTypeList::SetEnabledTypes(unsigned long enabled) {
    m_ulEnabled = enabled;
    m_ulChosen[kAdHocSlot] &= enabled;
    if (m_ulChosen[kAdHocSlot] == 0 && (enabled & kAdHocFallback)) m_ulChosen[kAdHocSlot] = kAdHocFallback;
    m_ulChosen[kInfrastructureSlot] = enabled;
    Changed();
}

void CNetTypeList::SetModeSlot(int slot) {
    m_nSlot = slot == kInfrastructureSlot ? kInfrastructureSlot : kAdHocSlot;
    Changed();
}

void CNetTypeList::SetChosenTypes(unsigned long mask) {
    m_ulChosen[m_nSlot] = mask;
    Changed();
}

void CNetTypeList::ClickEntry(int index) {
    if (index < 0 || index >= kTypeCount) return;
    const unsigned long bit = 1ul << index;
    if (!(m_ulEnabled & bit)) return;
    unsigned long& chosen = m_ulChosen[m_nSlot];
    if (m_nSlot == kAdHocSlot) chosen = bit;
    else if (!(chosen & bit)) chosen |= bit;
    else if (chosen != bit) chosen &= ~bit;
    Changed();
}

void CNetTypeList::Changed() {
    if (!m_hWnd) return;
    Invalidate(FALSE);
    ::SendMessageA(GetParent(), WM_NETTYPES_CHANGED, 0, 0);
}

LRESULT CNetTypeList::OnLButtonDown(WPARAM, LPARAM lp) {
    // The list keeps no selection of its own: a click only changes the choice.
    ::SetFocus(m_hWnd);
    ClickEntry(ItemFromPoint({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
    return 0;
}

LRESULT CNetTypeList::OnKeyDown(WPARAM wp, LPARAM lp) {
    // The space bar acts on the entry with the focus, as a click would.
    if (wp == VK_SPACE) {
        ClickEntry(static_cast<int>(SendMessage(LB_GETCARETINDEX)));
        return 0;
    }
    return DefaultProc(WM_KEYDOWN, wp, lp);
}

LRESULT CNetTypeList::OnEraseBackground(WPARAM, LPARAM) { return 1; }

LRESULT CNetTypeList::OnDrawItemReflect(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item) DrawItem(*item);
    return TRUE;
}

void CNetTypeList::DrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= static_cast<UINT>(kTypeCount)) return;
    const unsigned long bit = 1ul << item.itemID;
    const RECT& rc = item.rcItem;
    const int height = rc.bottom - rc.top;

    RECT square = {rc.left, rc.top, rc.left + height, rc.bottom};
    ::InflateRect(&square, -1, -1);
    ::DrawFrameControl(item.hDC, &square, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | ((GetChosenTypes() & bit) ? DFCS_CHECKED : 0));

    char text[32] = {};
    const LRESULT length = ::SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    if (length >= 0 && length < static_cast<LRESULT>(sizeof(text)))
        ::SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    RECT label = {rc.left + height + kTextGap, rc.top, rc.right, rc.bottom};
    const int oldMode = ::SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(item.hDC, (m_ulEnabled & bit) ? RGB(0, 0, 0) : kDisabledText);
    ::DrawTextA(item.hDC, text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(item.hDC, oldColor);
    ::SetBkMode(item.hDC, oldMode);
}
