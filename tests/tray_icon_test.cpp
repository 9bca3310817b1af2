// CTrayIconEx on its own, with a plain window as its owner and the shell and
// the menu loop replaced by recorders.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mainwnd/TrayIcon.h"
#include "mainwnd_fixture.h"
#include "resource.h"

using mwtest::MenuRecorder;
using mwtest::ShellRecorder;

namespace {

struct Seen {
    std::vector<std::string> events;
    HWND owner = nullptr;
    WPARAM iconId = 99;
};
Seen g_seen;

template <int N>
void Record(HWND owner, WPARAM iconId) {
    static const char* const names[] = {"move", "ldown", "lup", "ldbl", "rdown", "rdbl", "rup"};
    g_seen.events.push_back(names[N]);
    g_seen.owner = owner;
    g_seen.iconId = iconId;
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen = Seen();
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner);
        tray = std::make_unique<CTrayIconEx>();
        ASSERT_TRUE(tray->Create(owner, 0, 0, nullptr, nullptr));
        callback = tray->CallbackMessage();
    }
    void TearDown() override {
        tray.reset();
        if (::IsWindow(owner)) ::DestroyWindow(owner);
    }
    void Mouse(UINT event, HWND hwnd = nullptr, WPARAM iconId = 0) {
        tray->OnMessage(hwnd ? hwnd : owner, callback, iconId, event);
    }

    mwtest::ShellSeams seams;
    HWND owner = nullptr;
    std::unique_ptr<CTrayIconEx> tray;
    UINT callback = 0;
};

TEST_F(Tray, NothingIsShownUntilAnIconLoads) {
    EXPECT_TRUE(ShellRecorder::calls.empty());
    EXPECT_EQ(callback, ::RegisterWindowMessageA("WLAN_Monitor_regMsg"));
    EXPECT_FALSE(tray->SetIcon(nullptr, 9999, "no such icon"));
    EXPECT_TRUE(ShellRecorder::calls.empty());
    EXPECT_FALSE(tray->IsShown());

    ASSERT_TRUE(tray->SetIcon(nullptr, IDI_TRAY_CONNECTED, "first"));
    ASSERT_EQ(ShellRecorder::calls.size(), 1u);
    EXPECT_EQ(ShellRecorder::calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(mwtest::IconMatches(ShellRecorder::calls[0].data.hIcon, IDI_TRAY_CONNECTED));
    // A failed load later leaves the shown icon alone.
    EXPECT_FALSE(tray->SetIcon(nullptr, 9999, "second"));
    EXPECT_EQ(ShellRecorder::calls.size(), 1u);
    EXPECT_STREQ(tray->Tip(), "first");
}

TEST_F(Tray, TipIsKeptTo255AndTheShellGets63) {
    const std::string tip(300, 'x');
    ASSERT_TRUE(tray->SetIcon(nullptr, IDI_TRAY_DISCONNECTED, tip.c_str()));
    EXPECT_EQ(std::string(tray->Tip()), tip.substr(0, 255));
    EXPECT_EQ(std::string(ShellRecorder::calls.back().data.szTip), tip.substr(0, 63));
}

TEST_F(Tray, RefusedAddIsRetriedBySetIconButNotByAShellRestart) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ShellRecorder::refuse = true;
    EXPECT_FALSE(tray->SetIcon(nullptr, IDI_TRAY_CONNECTED, "a"));
    tray->OnMessage(owner, taskbarCreated, 0, 0);
    EXPECT_EQ(ShellRecorder::Count(NIM_ADD), 1);

    ShellRecorder::refuse = false;
    EXPECT_TRUE(tray->SetIcon(nullptr, IDI_TRAY_CONNECTED, "b"));
    EXPECT_EQ(ShellRecorder::Count(NIM_ADD), 2);
    EXPECT_EQ(ShellRecorder::Count(NIM_MODIFY), 0);

    tray->OnMessage(owner, taskbarCreated, 0, 0);
    ASSERT_EQ(ShellRecorder::Count(NIM_ADD), 3);
    EXPECT_STREQ(ShellRecorder::calls.back().data.szTip, "b");
    EXPECT_TRUE(mwtest::IconMatches(ShellRecorder::calls.back().data.hIcon, IDI_TRAY_CONNECTED));
}

TEST_F(Tray, OwnerGoneMeansNoAddAndRemovalOnDestruction) {
    CTrayIconEx other;
    other.Create(owner, IDI_TRAY_CONNECTED, 0, nullptr, "created with an icon");
    ASSERT_EQ(ShellRecorder::Count(NIM_ADD), 1);  // added at once
    EXPECT_STREQ(ShellRecorder::calls[0].data.szTip, "created with an icon");

    tray.reset();
    ASSERT_EQ(ShellRecorder::Count(NIM_DELETE), 1);
    EXPECT_EQ(ShellRecorder::calls.back().data.hWnd, owner);

    ::DestroyWindow(owner);
    CTrayIconEx orphan;
    orphan.Create(owner, 0, 0, nullptr, nullptr);
    EXPECT_FALSE(orphan.SetIcon(nullptr, IDI_TRAY_CONNECTED, "x"));
    EXPECT_EQ(ShellRecorder::Count(NIM_ADD), 1);
}

TEST_F(Tray, MouseEventsReachTheirCallbacksOnlyFromThisIcon) {
    tray->onMouseMove = &Record<0>;
    tray->onLButtonDown = &Record<1>;
    tray->onLButtonUp = &Record<2>;
    tray->onLButtonDblClk = &Record<3>;
    tray->onRButtonDown = &Record<4>;
    tray->onRButtonDblClk = &Record<5>;
    for (UINT event : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK})
        Mouse(event);
    EXPECT_EQ(g_seen.events, (std::vector<std::string>{"move", "ldown", "lup", "ldbl", "rdown", "rdbl"}));
    EXPECT_EQ(g_seen.owner, owner);
    EXPECT_EQ(g_seen.iconId, 0u);

    g_seen.events.clear();
    Mouse(WM_LBUTTONDBLCLK, nullptr, 7);            // another icon id
    Mouse(WM_LBUTTONDBLCLK, ::GetDesktopWindow());  // another window
    tray->OnMessage(owner, WM_USER, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(g_seen.events.empty());
}

TEST_F(Tray, RightButtonUpShowsTheMenuUnlessReplacedOrCancelled) {
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(MenuRecorder::shownCount, 0);  // no menu resource set
    EXPECT_FALSE(tray->OpensMenu(owner, callback, 0, WM_RBUTTONUP));

    tray->SetMenu(nullptr, IDR_TRAY_MENU);
    EXPECT_TRUE(tray->OpensMenu(owner, callback, 0, WM_RBUTTONUP));
    tray->SetProfileNames({"Alpha", "R&D", "Gamma"});
    tray->SetMarkedProfile("R&D");
    Mouse(WM_RBUTTONUP);
    ASSERT_EQ(MenuRecorder::shownCount, 1);
    ASSERT_EQ(MenuRecorder::items.size(), 7u);
    EXPECT_EQ(MenuRecorder::items[0].text, "Alpha");
    EXPECT_EQ(MenuRecorder::items[0].id, 32785u);
    EXPECT_EQ(MenuRecorder::items[1].text, "R&&D");  // an ampersand shows as typed
    EXPECT_TRUE(MenuRecorder::items[1].marked);
    EXPECT_FALSE(MenuRecorder::items[0].marked);
    EXPECT_EQ(MenuRecorder::items[2].id, 32783u);
    std::string name;
    ASSERT_TRUE(tray->ProfileNameForCommand(32784, name));
    EXPECT_EQ(name, "R&D");
    EXPECT_FALSE(tray->ProfileNameForCommand(32786, name));

    tray->onPrepareMenu = [](HWND, WPARAM, HMENU*, UINT*, int*) { return false; };
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(MenuRecorder::shownCount, 1);

    tray->onRButtonUp = &Record<6>;
    EXPECT_FALSE(tray->OpensMenu(owner, callback, 0, WM_RBUTTONUP));
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(MenuRecorder::shownCount, 1);
    EXPECT_EQ(g_seen.events, (std::vector<std::string>{"rup"}));
}

}  // namespace
