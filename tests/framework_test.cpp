// The dialog framework on its own: how a message finds its handler (tables
// and their chaining, reflection to the control, commands travelling on to
// the application) and data exchange in both directions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "config_support.h"
#include "resource.h"

namespace {

std::vector<std::string> g_calls;

class BaseWnd : public fw::CWnd {
public:
    DECLARE_MESSAGE_TABLE()
    LRESULT OnA(WPARAM, LPARAM) { g_calls.push_back("base A"); return 1; }
    LRESULT OnB(WPARAM, LPARAM) { g_calls.push_back("base B"); return 2; }
};
BEGIN_MESSAGE_TABLE(BaseWnd, fw::CWnd)
    ON_MESSAGE(WM_USER + 1, OnA)
    ON_MESSAGE(WM_USER + 2, OnB)
END_MESSAGE_TABLE()

class DerivedWnd : public BaseWnd {
public:
    DECLARE_MESSAGE_TABLE()
    LRESULT OnA2(WPARAM, LPARAM) { g_calls.push_back("derived A"); return 3; }
    void OnClick() { g_calls.push_back("parent click"); }
    void OnNotice() { g_calls.push_back("parent notice"); }
};
BEGIN_MESSAGE_TABLE(DerivedWnd, BaseWnd)
    ON_MESSAGE(WM_USER + 1, OnA2)
    ON_CONTROL(BN_CLICKED, 1000, OnClick)
    ON_CONTROL(EN_CHANGE, 1000, OnNotice)
END_MESSAGE_TABLE()

// A control that takes its own clicks before the parent sees them.
class SelfClickingButton : public fw::CButton {
public:
    DECLARE_MESSAGE_TABLE()
    void OnClicked() { g_calls.push_back("control click"); }
};
BEGIN_MESSAGE_TABLE(SelfClickingButton, fw::CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_TABLE()

class RecordingApp : public fw::CAppBase {
public:
    BOOL InitInstance() override { return FALSE; }
    bool OnCommand(UINT id) override {
        g_calls.push_back("app " + std::to_string(id));
        return true;
    }
};

struct HostedWnd : DerivedWnd {
    HostedWnd() { SubclassWindow(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr)); }
    ~HostedWnd() override {
        if (HWND hwnd = UnsubclassWindow()) ::DestroyWindow(hwnd);
    }
};

TEST(MessageTables, DerivedEntriesWinAndBaseEntriesStillAnswer) {
    g_calls.clear();
    HostedWnd wnd;
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 3);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 2), 2);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived A", "base B"}));
}

TEST(MessageTables, TheControlHearsItsNotificationFirstAndCommandsTravelOnToTheApp) {
    g_calls.clear();
    RecordingApp app;
    HostedWnd parent;
    SelfClickingButton own;
    fw::CButton plain;
    HWND ownHwnd = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 9, 9, parent, reinterpret_cast<HMENU>(1000),
                                     nullptr, nullptr);
    HWND plainHwnd = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 9, 9, parent, reinterpret_cast<HMENU>(1000),
                                       nullptr, nullptr);
    own.SubclassWindow(ownHwnd);
    plain.SubclassWindow(plainHwnd);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(ownHwnd));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(plainHwnd));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1000, EN_CHANGE), reinterpret_cast<LPARAM>(plainHwnd));
    parent.SendMessage(WM_COMMAND, 4242, 0);                                                  // a menu command
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(4243, BN_CLICKED), reinterpret_cast<LPARAM>(plainHwnd));  // stays
    EXPECT_EQ(g_calls, (std::vector<std::string>{"control click", "parent click", "parent notice", "app 4242"}));
}

// The name prompt's template (an edit 1028 and OK) with data of its own.
class TextDialog : public fw::CDialog {
public:
    TextDialog() : fw::CDialog(IDD_PROFILE_NAME) {}
    std::string text;
    int number = 7;
    int changes = 0;

protected:
    DECLARE_MESSAGE_TABLE()
    BOOL OnInitDialog() override {
        fw::CDialog::OnInitDialog();
        ::SetDlgItemTextA(m_hWnd, IDC_PROFILE_NAME, "set while initialising");
        return TRUE;
    }
    void DoDataExchange(fw::CDataExchange& dx) override { fw::DDX_Text(dx, IDC_PROFILE_NAME, text, 8); }
    void OnChange() { ++changes; }
};
BEGIN_MESSAGE_TABLE(TextDialog, fw::CDialog)
    ON_CONTROL(EN_CHANGE, IDC_PROFILE_NAME, OnChange)
END_MESSAGE_TABLE()

TEST(DataExchange, TextRoundTripsAndATooLongTextIsRefusedWhereItIs) {
    pagetest::Host parent;
    TextDialog dlg;
    ASSERT_TRUE(dlg.Create(parent));
    HWND edit = dlg.GetDlgItem(IDC_PROFILE_NAME);
    EXPECT_EQ(dlg.changes, 0);  // filled by the dialog itself: no handler ran
    EXPECT_EQ(::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 8);

    ::SetWindowTextA(edit, "typed");
    EXPECT_EQ(dlg.changes, 1);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.text, "typed");
    dlg.text = "shown";
    dlg.UpdateData(false);
    EXPECT_EQ(pagetest::Text(edit), "shown");

    // Nine characters in an eight-character field: the member keeps its
    // value and the user is told (a message box, answered here).
    ::SetWindowTextA(edit, "123456789");
    cfgtest::ModalScript script({{"framework_test", [](HWND box) { cfgtest::ModalScript::Press(box, IDOK); }}});
    EXPECT_FALSE(dlg.UpdateData(true));
    ASSERT_TRUE(script.Done());
    const std::string told = script.messages.at(0);
    EXPECT_EQ(told, "Please enter no more than 8 characters.");
    EXPECT_EQ(dlg.text, "shown");
    EXPECT_EQ(::GetFocus(), edit);
    DWORD start = 1, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u);
    dlg.DestroyWindow();
}

TEST(Controls, ComboItemDataSelectsAndAnswers) {
    pagetest::Host parent;
    fw::CComboBox combo;
    parent.Add(combo, "COMBOBOX", CBS_DROPDOWN, 100, 100);
    combo.AddItem("auto", 0);
    combo.AddItem("11", 11);
    combo.AddItem("36", 36);
    EXPECT_EQ(combo.GetSelectedItemData(99), 99u);
    EXPECT_TRUE(combo.SelectItemData(36));
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_FALSE(combo.SelectItemData(5));
    EXPECT_EQ(combo.GetSelectedItemData(), 36u);
    EXPECT_EQ(combo.FindString("3"), 2);
}

}  // namespace
