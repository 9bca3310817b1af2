// CIconButton drawn into a memory bitmap and clicked inside a parent window
// that reflects notifications the way the dialogs do.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/IconButton.h"
#include "framework/Raii.h"
#include "mainwnd_fixture.h"
#include "support/Canvas.h"

namespace {

const int kWidth = 80;
const int kHeight = 24;
const UINT kButtonId = 1029;
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGrey = RGB(150, 150, 150);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// An opaque 18 x 18 icon of one colour.
HICON SolidIcon(COLORREF color) {
    fw::WindowDC screen(nullptr);
    fw::Gdi<HBITMAP> image(::CreateCompatibleBitmap(screen.get(), 18, 18));
    fw::Gdi<HBITMAP> mask(::CreateBitmap(18, 18, 1, 1, nullptr));
    {
        fw::MemoryDC dc(::CreateCompatibleDC(screen.get()));
        fw::SelectObjectScope select(dc.get(), image.get());
        fw::Gdi<HBRUSH> brush(::CreateSolidBrush(color));
        RECT all = {0, 0, 18, 18};
        ::FillRect(dc.get(), &all, brush.get());
        fw::SelectObjectScope selectMask(dc.get(), mask.get());
        ::PatBlt(dc.get(), 0, 0, 18, 18, BLACKNESS);  // mask 0: the image shows everywhere
    }
    ICONINFO info = {TRUE, 0, 0, mask.get(), image.get()};
    return ::CreateIconIndirect(&info);
}

// A parent that reflects its children's notifications and records the
// plain commands that reach its own message table.
class Parent : public fw::CWnd {
public:
    bool Create() {
        HWND hwnd = ::CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        return hwnd && SubclassWindow(hwnd);
    }
    ~Parent() override {
        HWND hwnd = UnsubclassWindow();
        if (hwnd) ::DestroyWindow(hwnd);
    }
    std::vector<UINT> commands;

private:
    DECLARE_MESSAGE_TABLE()
    void OnAnyCommand(UINT id) { commands.push_back(id); }
};

BEGIN_MESSAGE_TABLE(Parent, fw::CWnd)
    ON_COMMAND_RANGE(1, 0xFFFF, OnAnyCommand)
END_MESSAGE_TABLE()

class IconButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        blue.reset(SolidIcon(kBlue));
        red.reset(SolidIcon(kRed));
        ASSERT_TRUE(parent.Create());
        HWND hwnd = ::CreateWindowExA(0, "BUTTON", "template", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0,
                                      0, kWidth, kHeight, parent.GetSafeHwnd(), reinterpret_cast<HMENU>(kButtonId),
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
    }
    void TearDown() override { button.UnsubclassWindow(); }

    // Draws the button with the given item state; pixels as COLORREFs.
    std::vector<COLORREF> Draw(UINT itemState) {
        testsupport::Canvas canvas(kWidth, kHeight);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kButtonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = button.GetSafeHwnd();
        item.hDC = canvas.dc();
        item.rcItem = {0, 0, kWidth, kHeight};
        button.DrawItem(item);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) pixels.push_back(canvas.Pixel(x, y));
        return pixels;
    }
    static COLORREF At(const std::vector<COLORREF>& px, int x, int y) { return px[y * kWidth + x]; }
    static int CountIn(const std::vector<COLORREF>& px, COLORREF color, int x0, int x1) {
        int n = 0;
        for (int y = 2; y < kHeight - 2; ++y)
            for (int x = x0; x < x1; ++x) n += At(px, x, y) == color ? 1 : 0;
        return n;
    }

    fw::Icon blue, red;
    Parent parent;
    CIconButton button;
};

TEST_F(IconButtonTest, RaisedFrameWithIconAtTheLeftAndBlackCaption) {
    button.SetUp("Wireless Off", "Wireless On", blue.get(), red.get(), true);
    EXPECT_EQ(::GetWindowLongA(button.GetSafeHwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    const auto px = Draw(0);
    EXPECT_EQ(At(px, 0, 0), kWhite);
    EXPECT_EQ(At(px, 0, kHeight - 2), kWhite);
    EXPECT_EQ(At(px, kWidth - 1, 0), kBlack);
    EXPECT_EQ(At(px, kWidth - 1, kHeight - 1), kBlack);
    EXPECT_EQ(At(px, 0, kHeight - 1), kBlack);
    // The 18 x 18 icon sits (24 - 18) / 2 = 3 pixels in.
    EXPECT_EQ(At(px, 3, 3), kBlue);
    EXPECT_EQ(At(px, 20, 20), kBlue);
    EXPECT_NE(At(px, 21, 21), kBlue);
    EXPECT_NE(At(px, 2, 2), kBlue);
    EXPECT_GT(CountIn(px, kBlack, 22, kWidth - 2), 0) << "no caption drawn";
}

TEST_F(IconButtonTest, PressedAndStateOneAreSunkenAndShifted) {
    button.SetUp("Off", "On", blue.get(), red.get(), true);
    auto px = Draw(ODS_SELECTED);
    EXPECT_EQ(At(px, 0, 0), kBlack);
    EXPECT_EQ(At(px, kWidth - 1, kHeight - 1), kWhite);
    EXPECT_NE(At(px, 3, 3), kBlue);
    EXPECT_EQ(At(px, 4, 4), kBlue);
    EXPECT_EQ(At(px, 21, 21), kBlue);

    // State 1 stays pressed in without the mouse, with the state-1 icon.
    button.SetState(1);
    px = Draw(0);
    EXPECT_EQ(At(px, 0, 0), kBlack);
    EXPECT_EQ(At(px, kWidth - 1, kHeight - 1), kWhite);
    EXPECT_EQ(At(px, 4, 4), kRed);
    EXPECT_EQ(CountIn(px, kBlue, 0, kWidth), 0);
}

TEST_F(IconButtonTest, DisabledIsGreyWithoutIcon) {
    button.SetUp("Off", "On", blue.get(), red.get(), true);
    button.SetState(1);
    const auto px = Draw(ODS_DISABLED);
    EXPECT_EQ(At(px, 0, 0), kGrey);
    EXPECT_EQ(At(px, kWidth - 1, kHeight - 1), kGrey);
    EXPECT_EQ(CountIn(px, kBlue, 0, kWidth) + CountIn(px, kRed, 0, kWidth), 0);
    EXPECT_EQ(CountIn(px, kBlack, 1, kWidth - 1), 0);
    EXPECT_GT(CountIn(px, kGrey, 2, kWidth - 2), 0) << "no grey caption";
}

TEST_F(IconButtonTest, TogglingButtonFlipsOnEachClickAndReportsPlainCommands) {
    button.SetUp("Wireless Off", "Wireless On", blue.get(), red.get(), true);
    EXPECT_EQ(button.GetWindowText(), "Wireless Off");
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.GetState(), 1);
    EXPECT_EQ(button.GetWindowText(), "Wireless On");
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.GetState(), 0);
    EXPECT_EQ(button.GetWindowText(), "Wireless Off");
    EXPECT_EQ(Draw(0)[3 * kWidth + 3], kBlue);
    // Two commands with the button's id; the click notification itself was
    // consumed by the button (it carries the control handle and would show
    // up here as a third entry).
    EXPECT_EQ(parent.commands, (std::vector<UINT>{kButtonId, kButtonId}));
}

TEST_F(IconButtonTest, NonTogglingButtonKeepsStateZeroButStillReports) {
    button.SetUp("Help", "Help", blue.get(), nullptr, false);
    button.SetState(1);
    EXPECT_EQ(button.GetState(), 0);
    EXPECT_EQ(button.GetWindowText(), "Help");
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.GetState(), 0);
    EXPECT_EQ(parent.commands, (std::vector<UINT>{kButtonId}));
    EXPECT_EQ(At(Draw(0), 3, 3), kBlue);
}

}  // namespace
