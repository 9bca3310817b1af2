// Thin wrappers over the standard and common controls: a few inline lines
// over SendMessage each. Bind them to a dialog's controls with DDX_Control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Window.h"

namespace fw {

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) const { SendMessage(BM_SETSTYLE, style, redraw); }
};

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP bitmap) const {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
};

class CEdit : public CWnd {
public:
    void LimitText(int chars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    int GetLimitText() const { return static_cast<int>(SendMessage(EM_GETLIMITTEXT)); }
};

class CComboBox : public CWnd {
public:
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int AddString(const std::string& text) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int InsertString(int index, const std::string& text) const {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int index) const { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int FindStringExact(const std::string& text, int after = -1) const {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str())));
    }
    std::string GetLBText(int index) const {
        LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length == CB_ERR || length <= 0) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT copied = SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    // The first entry after `after` that begins with `text`, in any case.
    int FindString(const std::string& text, int after = -1) const {
        return static_cast<int>(
            SendMessage(CB_FINDSTRING, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str())));
    }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) const {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    // Adds an entry that carries `data`; its index, or a negative error.
    int AddItem(const std::string& text, DWORD_PTR data) const {
        const int index = AddString(text);
        if (index >= 0) SetItemData(index, data);
        return index;
    }
    // The index of the first entry carrying `data`, or -1.
    int FindItemData(DWORD_PTR data) const {
        const int count = GetCount();
        for (int i = 0; i < count; ++i) {
            if (GetItemData(i) == data) return i;
        }
        return -1;
    }
    // Selects the first entry carrying `data`; false (selection unchanged)
    // when none does.
    bool SelectItemData(DWORD_PTR data) const {
        const int index = FindItemData(data);
        if (index >= 0) SetCurSel(index);
        return index >= 0;
    }
    // The data of the selected entry, or `none` without a selection.
    DWORD_PTR GetSelectedItemData(DWORD_PTR none = 0) const {
        const int index = GetCurSel();
        return index >= 0 ? GetItemData(index) : none;
    }
    void LimitText(int chars) const { SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(chars)); }
};

class CListBox : public CWnd {
public:
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    int AddString(const std::string& text) const {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    std::string GetText(int index) const {
        LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
        if (length == LB_ERR || length <= 0) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT copied = SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    bool GetItemRect(int index, RECT& rect) const {
        return SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR;
    }
    // The entry under a point of the client area, or -1 when the point lies
    // outside every entry.
    int ItemFromPoint(POINT pt) const {
        const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
        if (HIWORD(hit) != 0) return -1;
        const int index = static_cast<int>(LOWORD(hit));
        return index < GetCount() ? index : -1;
    }
};

class CTabCtrl : public CWnd {
public:
    int InsertItem(int index, const std::string& text, LPARAM param = 0) const {
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<char*>(text.c_str());
        item.lParam = param;
        return static_cast<int>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    // The value a tab was inserted with; false when there is no such tab.
    bool GetItemParam(int index, LPARAM& param) const {
        TCITEMA item = {};
        item.mask = TCIF_PARAM;
        if (!SendMessage(TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return false;
        param = item.lParam;
        return true;
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper) const { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    int SetPos(int pos) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

class CSliderCtrl : public CWnd {
public:
    void SetRange(int lower, int upper) const { SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(lower, upper)); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) const { SendMessage(TBM_SETPOS, TRUE, pos); }
    // A tick every `step` positions from the lower end (TBS_AUTOTICKS bars).
    void SetTicFreq(int step) const { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(step)); }
};

class CListCtrl : public CWnd {
public:
    void SetExtendedStyle(DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)); }
    int InsertColumn(int index, const std::string& title, int width, int format = LVCFMT_LEFT) const {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<char*>(title.c_str());
        column.iSubItem = index;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    int InsertItem(int index, const std::string& text, LPARAM data) const {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<char*>(text.c_str());
        item.lParam = data;
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int index, int subItem, const std::string& text) const {
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = const_cast<char*>(text.c_str());
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    std::string GetItemText(int index, int subItem) const {
        char buffer[260] = {};
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        buffer[sizeof(buffer) - 1] = '\0';
        return buffer;
    }
    LPARAM GetItemData(int index) const {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
        return item.lParam;
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetColumnWidth(int column) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }
    int HitTest(POINT pt) const {
        LVHITTESTINFO info = {};
        info.pt = pt;
        return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    }
    int GetNextSelected(int after = -1) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
    }
    int GetNextItem(int after, UINT flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(flags, 0)));
    }
    BOOL SetColumnWidth(int column, int width) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
    }
    // `area` is LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL; false leaves `rect` as is.
    bool GetSubItemRect(int index, int subItem, int area, RECT& rect) const {
        RECT r = {area, subItem, 0, 0};
        if (!SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r))) return false;
        rect = r;
        return true;
    }
};

}  // namespace fw
