// Static message tables: each window class lists (message, notification
// code, control id, handler) entries; a lookup walks the class's table, then
// its base class's, so derived classes override by listing the same entry.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace fw {

class CWnd;

using MsgHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
using CmdHandler = void (CWnd::*)();
using CmdRangeHandler = void (CWnd::*)(UINT id);
using NotifyHandler = LRESULT (CWnd::*)(NMHDR*);

// Messages a parent reflects back to the control that sent them arrive at
// the control as REFLECT_BASE + the original message number.
constexpr UINT REFLECT_BASE = 0xBC00;

struct MessageEntry {
    UINT message;
    UINT code;     // notification code (WM_COMMAND high word, NMHDR::code)
    UINT idFirst;  // control or command id range; 0..0 = any for plain messages
    UINT idLast;
    MsgHandler onMessage;
    CmdHandler onCommand;
    CmdRangeHandler onCommandRange;
    NotifyHandler onNotify;
};

struct MessageTable {
    const MessageTable* base;
    const MessageEntry* entries;  // ends with an entry whose message is 0
};

}  // namespace fw

#define DECLARE_MESSAGE_TABLE()                                                    \
public:                                                                            \
    static const ::fw::MessageTable* StaticMessageTable();                         \
                                                                                   \
protected:                                                                         \
    const ::fw::MessageTable* GetMessageTable() const override { return StaticMessageTable(); }

#define BEGIN_MESSAGE_TABLE(cls, baseCls)                      \
    const ::fw::MessageTable* cls::StaticMessageTable() {      \
        using ThisClass = cls;                                 \
        using BaseClass = baseCls;                             \
        static const ::fw::MessageEntry entries[] = {

#define END_MESSAGE_TABLE()                                                          \
    { 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr }                               \
    }                                                                                \
    ;                                                                                \
    static const ::fw::MessageTable table = {BaseClass::StaticMessageTable(), entries}; \
    return &table;                                                                   \
    }

#define FW_MSG(fn) static_cast<::fw::MsgHandler>(&ThisClass::fn)
#define FW_CMD(fn) static_cast<::fw::CmdHandler>(&ThisClass::fn)
#define FW_RANGE(fn) static_cast<::fw::CmdRangeHandler>(&ThisClass::fn)
#define FW_NOTIFY(fn) static_cast<::fw::NotifyHandler>(&ThisClass::fn)

// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) {msg, 0, 0, 0, FW_MSG(fn), nullptr, nullptr, nullptr},
// void fn(): a menu command or a control's notification code 0 (BN_CLICKED)
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, id, id, nullptr, FW_CMD(fn), nullptr, nullptr},
// void fn(UINT id)
#define ON_COMMAND_RANGE(first, last, fn) {WM_COMMAND, 0, first, last, nullptr, nullptr, FW_RANGE(fn), nullptr},
// void fn(): a control notification such as CBN_SELCHANGE or EN_CHANGE
#define ON_CONTROL(code, id, fn) {WM_COMMAND, code, id, id, nullptr, FW_CMD(fn), nullptr, nullptr},
// LRESULT fn(NMHDR*)
#define ON_NOTIFY(code, id, fn) {WM_NOTIFY, static_cast<UINT>(code), id, id, nullptr, nullptr, nullptr, FW_NOTIFY(fn)},
// Reflected to the control itself: a plain message (WM_DRAWITEM, WM_CTLCOLOR...)
#define ON_REFLECT(msg, fn) {::fw::REFLECT_BASE + (msg), 0, 0, 0, FW_MSG(fn), nullptr, nullptr, nullptr},
// void fn(): the control's own WM_COMMAND notification, e.g. BN_CLICKED
#define ON_CONTROL_REFLECT(code, fn) \
    {::fw::REFLECT_BASE + WM_COMMAND, code, 0, 0, nullptr, FW_CMD(fn), nullptr, nullptr},
// LRESULT fn(NMHDR*): the control's own WM_NOTIFY, e.g. NM_DBLCLK
#define ON_NOTIFY_REFLECT(code, fn) \
    {::fw::REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, nullptr, nullptr, nullptr, FW_NOTIFY(fn)},
