// The drawn controls, checked on the pixels they paint into a memory DC and
// on the characters an edit lets through.
#include <gtest/gtest.h>

#include <memory>

#include "controls/GradientPainter.h"
#include "controls/HexEdit.h"
#include "controls/HyperlinkLabel.h"
#include "controls/PercentBar.h"
#include "pages_support.h"

using pagetest::Canvas;
using pagetest::IsBlue;

namespace {

const COLORREF kBack = RGB(200, 200, 200), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

class PercentBarTest : public ::testing::Test {
protected:
    void SetUp() override { host.Add(bar, PROGRESS_CLASSA, PBS_SMOOTH, 50, 10); }
    std::unique_ptr<Canvas> Face(int pos, bool text) {
        bar.SetStyle(text, false, kBlack, kBack);
        bar.SetPos(pos);
        auto canvas = std::make_unique<Canvas>(50, 10);
        bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }

    pagetest::Host host;
    CPercentBar bar;
};

TEST_F(PercentBarTest, BackColourFillAndText) {
    const RECT all = {0, 0, 50, 10};
    EXPECT_EQ(Face(0, true)->Count(kBack, all), 500);  // no text at 0
    auto third = Face(33, false);                      // 50 * 33 / 100: 16 pixels
    for (int y = 0; y < 10; ++y) {
        EXPECT_TRUE(IsBlue(third->Pixel(0, y)));
        EXPECT_NE(third->Pixel(15, y), kBack);
        EXPECT_EQ(third->Count(kBack, {16, y, 50, y + 1}), 34);
    }
    EXPECT_EQ(third->Count(kBlack, all), 0);
    EXPECT_GT(Face(50, true)->Count(kBlack, all), 0);
}

TEST_F(PercentBarTest, QualityWords) {
    EXPECT_EQ(bar.Caption(62), "62%");
    bar.SetStyle(true, true, kBlack, kBack);
    EXPECT_EQ(bar.Caption(0), "Poor (0%)");
    EXPECT_EQ(bar.Caption(24), "Poor (24%)");
    EXPECT_EQ(bar.Caption(25), "Fair (25%)");
    EXPECT_EQ(bar.Caption(100), "Excellent (100%)");
}

TEST_F(PercentBarTest, NewPositionRepaintsTheWholeFace) {
    // The platform invalidates only the changed strip; the centred text
    // would be left half old.
    ::ShowWindow(host, SW_SHOWNOACTIVATE);
    bar.SetPos(30);
    ::ValidateRect(bar, nullptr);
    bar.SetPos(31);
    RECT update = {};
    ASSERT_TRUE(::GetUpdateRect(bar, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 50);
}

TEST(GradientPainterTest, BlueEndFirstAndBoundedToItsRectangle) {
    CGradientPainter painter;
    Canvas full(260, 2), half(120, 6), over(120, 6), under(120, 6);
    painter.PaintPart(full.dc(), {0, 0, 256, 2}, 100);
    EXPECT_TRUE(IsBlue(full.Pixel(0, 0)));
    EXPECT_GT(GetRValue(full.Pixel(255, 1)), 240);
    EXPECT_EQ(full.Pixel(256, 0), kWhite);

    const RECT rect = {10, 1, 110, 5}, all = {0, 0, 120, 6};
    painter.PaintPart(half.dc(), rect, 50);  // the first half of the strip on 50 pixels
    EXPECT_TRUE(IsBlue(half.Pixel(10, 1)));
    EXPECT_NEAR(GetRValue(half.Pixel(59, 4)), 128, 40);
    EXPECT_EQ(half.Count(kWhite, all), 720 - 50 * 4);
    painter.PaintPart(over.dc(), rect, 250);  // a misbehaving source: clamped
    EXPECT_EQ(over.Count(kWhite, all), 720 - 100 * 4);
    painter.PaintPart(under.dc(), rect, -20);
    EXPECT_EQ(under.Count(kWhite, all), 720);
}

TEST(HexEditTest, OnlyTypedHexDigitsPass) {
    pagetest::Host host;
    CHexEdit edit;
    host.Add(edit, "EDIT", ES_AUTOHSCROLL, 200, 20);
    edit.SetHexOnly(true);
    for (char c : {'g', ' ', '-', 'F', '3', 'a', '\t', '\b'}) edit.SendMessage(WM_CHAR, static_cast<BYTE>(c), 1);
    EXPECT_EQ(edit.GetWindowText(), "F3");
    EXPECT_TRUE(CHexEdit::Accepts(0x16));  // Ctrl+V still pastes
    edit.SetWindowText("not-hex");         // the program's own text is not filtered
    EXPECT_EQ(edit.GetWindowText(), "not-hex");
    edit.SetHexOnly(false);
    edit.SetWindowText("");
    edit.SendMessage(WM_CHAR, 'g', 1);
    EXPECT_EQ(edit.GetWindowText(), "g");
}

TEST(HyperlinkLabelTest, UnderlinedInTheLinkColourWithTheHand) {
    pagetest::Host host;
    CHyperlinkLabel label;
    host.Add(label, "STATIC", SS_NOTIFY, 200, 20, "www.example.com");
    const COLORREF link = RGB(200, 0, 0);
    label.SetLink("http://www.example.com/", link);
    Canvas canvas(200, 20);
    label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    int longest = 0;  // the underline: a long unbroken run of the link colour
    for (int y = 0; y < 20; ++y)
        for (int x = 0, run = 0; x < 200; ++x) longest = std::max(longest, run = canvas.Pixel(x, y) == link ? run + 1 : 0);
    EXPECT_GT(longest, 40);

    EXPECT_EQ(label.SendMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
}

}  // namespace
