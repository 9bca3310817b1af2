// The advanced settings sub-page in a hidden host, driven as a user drives
// it; and showall.dll, which shows every field the program's strings hide.
#include <gtest/gtest.h>

#include <cstring>

#include "config/AdvancedPage.h"
#include "framework/Resources.h"
#include "pages_support.h"
#include "resource.h"

using pagetest::Shown;

namespace {

Profile Record(int rts, int fragment, int preamble = 0, int scanType = 2, int qos = 0, int txPower = 0) {
    Profile p;
    std::memset(&p, 0, sizeof(p));
    p.advRtsThreshold = rts;
    p.advFragmentThreshold = fragment;
    p.advPreamble = preamble;
    p.advScanType = scanType;
    p.advQos = qos;
    p.advTxPower = txPower;
    return p;
}

class AdvancedPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(host)); }
    HWND Item(int id) const { return page.GetDlgItem(id); }
    std::string Text(int id) const { return pagetest::Text(Item(id)); }
    int Pos(int id) const { return static_cast<int>(::SendMessageA(Item(id), TBM_GETPOS, 0, 0)); }
    std::string Chosen(int id) const {
        char text[64] = "(none)";
        const LRESULT index = ::SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
        if (index >= 0) ::SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    Profile Stored() {
        Profile p = Record(-1, -1, -1, -1, -1, -1);
        page.StoreToProfile(p);
        return p;
    }
    pagetest::Host host;
    CAdvancedPage page;
};

TEST_F(AdvancedPageTest, UnsetThresholdsAndTheRtsBarsRightEndMeanDisabled) {
    page.LoadFromProfile(Record(0, 0));  // as New leaves them
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    EXPECT_EQ(Pos(IDC_ADV_FRAG), 2346);
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");

    page.LoadFromProfile(Record(1000, 1000));
    ::SendMessageA(Item(IDC_ADV_RTS), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    ::SendMessageA(Item(IDC_ADV_RTS), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "2346");
    EXPECT_EQ(Stored().advRtsThreshold, 2346);
}

TEST_F(AdvancedPageTest, StoredChoicesAreOnesThePageCanShow) {
    page.LoadFromProfile(Record(0, 0, 5));
    EXPECT_EQ(Chosen(IDC_ADV_PREAMBLE), "Long");
    EXPECT_EQ(Stored().advPreamble, 1);
    ::SendMessageA(Item(IDC_ADV_PREAMBLE), CB_SETCURSEL, 0, 0);  // the user's choice is what is stored
    EXPECT_EQ(Stored().advPreamble, 0);
    // Hidden by the program's strings, QoS and scan type still pass through.
    for (int value : {2, 1, 0}) {
        page.LoadFromProfile(Record(0, 0, 0, value, value & 1, value));
        const Profile p = Stored();
        EXPECT_TRUE(p.advScanType == value && p.advQos == (value & 1) && p.advTxPower == value) << value;
    }
    page.LoadFromProfile(Record(0, 0, 0, 3));
    EXPECT_EQ(Chosen(IDC_ADV_SCANTYPE), "Auto");
    EXPECT_EQ(Stored().advScanType, 2);
    ::DestroyWindow(Item(IDC_ADV_TXPOWER));  // no bar to limit it
    page.LoadFromProfile(Record(0, 0, 0, 2, 0, 9));
    EXPECT_EQ(Stored().advTxPower, 4);
    page.LoadFromProfile(Record(0, 0, 0, 2, 0, -3));
    EXPECT_EQ(Stored().advTxPower, 0);
}

TEST_F(AdvancedPageTest, SetDefaultShowsTheConstructionValuesUntilStored) {
    EXPECT_EQ(::GetWindowLongA(Item(IDC_ADV_SET_DEFAULT), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    page.LoadFromProfile(Record(500, 700, 1, 0, 1, 3));
    ::SendMessageA(Item(IDC_ADV_SET_DEFAULT), BM_CLICK, 0, 0);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");
    EXPECT_EQ(Chosen(IDC_ADV_PREAMBLE), "Short & Long");
    EXPECT_EQ(Chosen(IDC_ADV_SCANTYPE), "Auto");
    const Profile p = Stored();
    EXPECT_TRUE(p.advRtsThreshold == 2347 && p.advFragmentThreshold == 2346 && p.advPreamble == 0 &&
                p.advScanType == 2 && p.advQos == 0 && p.advTxPower == 0);
}

TEST_F(AdvancedPageTest, TheProgramsStringsShowThresholdsAndPreambleOnly) {
    for (int id : {IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER, IDC_ADV_TXPOWER_ICON_LOW, IDC_ADV_QOS, IDC_ADV_SCANTYPE})
        EXPECT_FALSE(Shown(Item(id))) << id;
    for (int id : {IDC_ADV_RTS, IDC_ADV_RTS_VALUE, IDC_ADV_FRAG, IDC_ADV_FRAG_MAX, IDC_ADV_PREAMBLE})
        EXPECT_TRUE(Shown(Item(id))) << id;
}

std::string Str(HMODULE module, UINT id) {
    std::string text;
    return fw::res::TryLoadString(id, text, module) ? text : "(missing)";
}

TEST(ShowAllModule, TheProgramsOwnResourcesWithEveryHiddenFieldLabelled) {
    HMODULE module = ::LoadLibraryExA("showall.dll", nullptr, 0), self = ::GetModuleHandleA(nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN), MAKEINTRESOURCEA(5)), nullptr);
    EXPECT_EQ(Str(module, IDS_PRODUCT), Str(self, IDS_PRODUCT));
    EXPECT_EQ(Str(module, IDS_WEP_PERUSER), "Per-User");
    EXPECT_EQ(Str(module, IDS_KEYTYPE_128_ASCII), "104/128bit ASCII (13 characters)");
    EXPECT_EQ(Str(module, IDS_COMMON_NETTYPE), "Network Type");
    EXPECT_EQ(Str(module, IDS_LINK_RXRATE), "Current Rx Rate");
    for (UINT id = 0; id < 2048; ++id) {  // the rest is the program's own
        std::string own;
        if (!fw::res::TryLoadString(id, own, self) || own.rfind("none", 0) == 0) continue;
        EXPECT_EQ(Str(module, id), own) << id;
    }

    pagetest::Host host;
    CAdvancedPage page;
    fw::res::SetModule(module);
    const bool created = page.Create(host);
    fw::res::SetModule(nullptr);
    ASSERT_TRUE(created);
    EXPECT_EQ(pagetest::Text(page.GetDlgItem(IDC_ADV_TXPOWER_GROUP)), "Transmit Power");
    EXPECT_EQ(pagetest::Text(page.GetDlgItem(IDC_ADV_QOS)), "Quality of Service");
    EXPECT_TRUE(Shown(page.GetDlgItem(IDC_ADV_SCANTYPE)) && Shown(page.GetDlgItem(IDC_ADV_TXPOWER)));
    page.DestroyWindow();
    ::FreeLibrary(module);
}

}  // namespace
