// The advanced settings sub-page: a real page in a hidden host, driven with
// the messages a user's key presses and clicks send, read back from its
// controls and from the record it stores. And showall.dll, the resource
// module that shows every field the program's own strings hide.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "config/AdvancedPage.h"
#include "framework/Resources.h"
#include "pages_support.h"
#include "resource.h"

using pagetest::Shown;

namespace {

Profile Record(int rts, int fragment, int preamble = 0, int scanType = 2, int qos = 0, int txPower = 0) {
    Profile profile;
    std::memset(&profile, 0, sizeof(profile));
    profile.advRtsThreshold = rts;
    profile.advFragmentThreshold = fragment;
    profile.advPreamble = preamble;
    profile.advScanType = scanType;
    profile.advQos = qos;
    profile.advTxPower = txPower;
    return profile;
}

class AdvancedPageTest : public ::testing::Test {
protected:
    void TearDown() override { page.DestroyWindow(); }
    void Create() { ASSERT_TRUE(page.Create(host)); }

    HWND Item(int id) const { return page.GetDlgItem(id); }
    std::string Text(int id) const { return pagetest::Text(Item(id)); }
    int Pos(int id) const { return static_cast<int>(::SendMessageA(Item(id), TBM_GETPOS, 0, 0)); }
    std::string Chosen(int id) const {
        const LRESULT index = ::SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
        if (index < 0) return "(none)";
        char text[64] = {};
        ::SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Checked(int id) const { return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A key press on a track bar: the bar moves and tells the page.
    void Press(int id, UINT key) const { ::SendMessageA(Item(id), WM_KEYDOWN, key, 0); }
    Profile Stored() {
        Profile profile = Record(-1, -1, -1, -1, -1, -1);
        page.StoreToProfile(profile);
        return profile;
    }

    pagetest::Host host;
    CAdvancedPage page;
};

TEST_F(AdvancedPageTest, UnsetThresholdsShowRtsDisabledAndTheLargestFragment) {
    Create();
    page.LoadFromProfile(Record(1000, 800));
    ASSERT_EQ(Text(IDC_ADV_RTS_VALUE), "1000");
    ASSERT_EQ(Text(IDC_ADV_FRAG_VALUE), "800");

    // 0 is what New leaves in a profile; one past either end is no threshold either.
    for (auto [rts, fragment] : {std::pair{0, 0}, {255, 255}, {2348, 2347}}) {
        page.LoadFromProfile(Record(rts, fragment));
        EXPECT_EQ(Pos(IDC_ADV_RTS), 2347) << rts;
        EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable") << rts;
        EXPECT_EQ(Pos(IDC_ADV_FRAG), 2346) << fragment;
        EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346") << fragment;
        const Profile stored = Stored();
        EXPECT_EQ(stored.advRtsThreshold, 2347);
        EXPECT_EQ(stored.advFragmentThreshold, 2346);
    }
    page.LoadFromProfile(Record(256, 2346));
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "256");
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");
}

TEST_F(AdvancedPageTest, ValueLabelsFollowTheBarsAsTheUserMovesThem) {
    Create();
    page.LoadFromProfile(Record(1000, 1000));
    Press(IDC_ADV_RTS, VK_END);
    EXPECT_EQ(Pos(IDC_ADV_RTS), 2347);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    Press(IDC_ADV_RTS, VK_LEFT);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "2346");
    Press(IDC_ADV_RTS, VK_HOME);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "256");

    Press(IDC_ADV_FRAG, VK_END);
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");
    // A drag ends with the bar at its new place and a notification.
    ::SendMessageA(Item(IDC_ADV_FRAG), TBM_SETPOS, TRUE, 1500);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 1500), reinterpret_cast<LPARAM>(Item(IDC_ADV_FRAG)));
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "1500");

    const Profile stored = Stored();
    EXPECT_EQ(stored.advRtsThreshold, 256);
    EXPECT_EQ(stored.advFragmentThreshold, 1500);
}

TEST_F(AdvancedPageTest, AnyNonZeroPreambleIsLong) {
    Create();
    page.LoadFromProfile(Record(0, 0, 5));
    EXPECT_EQ(Chosen(IDC_ADV_PREAMBLE), "Long");
    EXPECT_EQ(Stored().advPreamble, 1);
    page.LoadFromProfile(Record(0, 0, 0));
    EXPECT_EQ(Chosen(IDC_ADV_PREAMBLE), "Short & Long");
    EXPECT_EQ(Stored().advPreamble, 0);
}

TEST_F(AdvancedPageTest, HiddenBlocksCarryTheirValuesThrough) {
    Create();
    ASSERT_FALSE(Shown(Item(IDC_ADV_QOS)) || Shown(Item(IDC_ADV_SCANTYPE)) || Shown(Item(IDC_ADV_TXPOWER)));
    for (int qos : {0, 1}) {
        for (int scanType : {0, 1, 2}) {
            page.LoadFromProfile(Record(0, 0, 0, scanType, qos, 3 - scanType));
            const Profile stored = Stored();
            EXPECT_EQ(stored.advQos, qos);
            EXPECT_EQ(stored.advScanType, scanType);
            EXPECT_EQ(stored.advTxPower, 3 - scanType);
        }
    }
}

TEST_F(AdvancedPageTest, OutOfRangeChoicesComeBackAsOnesThePageCanShow) {
    Create();
    page.LoadFromProfile(Record(0, 0, 0, 2, 0, 9));
    EXPECT_EQ(Pos(IDC_ADV_TXPOWER), 4);
    EXPECT_EQ(Stored().advTxPower, 4);
    page.LoadFromProfile(Record(0, 0, 0, 2, 0, -3));
    EXPECT_EQ(Stored().advTxPower, 0);
    // Without the bar to limit it (a resource module's template may leave
    // the block out) the page still hands back a power in range.
    ::DestroyWindow(Item(IDC_ADV_TXPOWER));
    page.LoadFromProfile(Record(0, 0, 0, 2, 0, 9));
    EXPECT_EQ(Stored().advTxPower, 4);

    // An unknown scan type falls back to Auto rather than leaving the list
    // without a selection (which would store -1).
    for (int scanType : {3, -1, 0x7FFFFFFF}) {
        page.LoadFromProfile(Record(0, 0, 0, scanType));
        EXPECT_EQ(Chosen(IDC_ADV_SCANTYPE), "Auto") << scanType;
        EXPECT_EQ(Stored().advScanType, 2) << scanType;
    }
    page.LoadFromProfile(Record(0, 0, 0, 2, 7));
    EXPECT_TRUE(Checked(IDC_ADV_QOS));
    EXPECT_EQ(Stored().advQos, 1);
}

TEST_F(AdvancedPageTest, SetDefaultShowsTheFactorySettingsWithoutStoringThem) {
    Create();
    EXPECT_EQ(Text(IDC_ADV_SET_DEFAULT), "Set default");
    Profile edited = Record(500, 700, 1, 0, 1, 3);
    page.LoadFromProfile(edited);
    ASSERT_EQ(Chosen(IDC_ADV_SCANTYPE), "Active");
    ASSERT_TRUE(Checked(IDC_ADV_QOS));

    ::SendMessageA(Item(IDC_ADV_SET_DEFAULT), BM_CLICK, 0, 0);
    EXPECT_EQ(Pos(IDC_ADV_RTS), 2347);
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    EXPECT_EQ(Pos(IDC_ADV_FRAG), 2346);
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");
    EXPECT_EQ(Chosen(IDC_ADV_PREAMBLE), "Short & Long");
    EXPECT_EQ(Chosen(IDC_ADV_SCANTYPE), "Auto");
    EXPECT_FALSE(Checked(IDC_ADV_QOS));
    EXPECT_EQ(Pos(IDC_ADV_TXPOWER), 0);

    // The record the page showed is untouched until the page is stored.
    EXPECT_EQ(edited.advRtsThreshold, 500);
    page.StoreToProfile(edited);
    EXPECT_EQ(edited.advRtsThreshold, 2347);
    EXPECT_EQ(edited.advFragmentThreshold, 2346);
    EXPECT_EQ(edited.advPreamble, 0);
    EXPECT_EQ(edited.advScanType, 2);
    EXPECT_EQ(edited.advQos, 0);
    EXPECT_EQ(edited.advTxPower, 0);
}

TEST_F(AdvancedPageTest, TheProgramsOwnStringsShowOnlyThresholdsAndPreamble) {
    Create();
    EXPECT_EQ(page.Title(), "Advanced");
    for (int id : {IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER, IDC_ADV_TXPOWER_ICON_HIGH, IDC_ADV_TXPOWER_ICON_MEDIUM,
                   IDC_ADV_TXPOWER_ICON_LOW, IDC_ADV_QOS, IDC_ADV_SCANTYPE_LABEL, IDC_ADV_SCANTYPE})
        EXPECT_FALSE(Shown(Item(id))) << id;
    for (int id : {IDC_ADV_RTS_GROUP, IDC_ADV_RTS, IDC_ADV_RTS_VALUE, IDC_ADV_RTS_MIN, IDC_ADV_RTS_MAX,
                   IDC_ADV_FRAG_GROUP, IDC_ADV_FRAG, IDC_ADV_FRAG_VALUE, IDC_ADV_FRAG_MIN, IDC_ADV_FRAG_MAX,
                   IDC_ADV_PREAMBLE_LABEL, IDC_ADV_PREAMBLE, IDC_ADV_SET_DEFAULT})
        EXPECT_TRUE(Shown(Item(id))) << id;
    EXPECT_EQ(Text(IDC_ADV_RTS_GROUP), "RTS Threshold");
    EXPECT_EQ(Text(IDC_ADV_RTS_VALUE), "disable");
    EXPECT_EQ(Text(IDC_ADV_FRAG_VALUE), "2346");
}

// ---- showall.dll ---------------------------------------------------------------

std::string Str(HMODULE module, UINT id) {
    std::string text;
    return fw::res::TryLoadString(id, text, module) ? text : "(missing)";
}

class ShowAllModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }
    void TearDown() override {
        if (module) ::FreeLibrary(module);
    }
    HMODULE module = ::LoadLibraryExA("showall.dll", nullptr, 0);
};

TEST_F(ShowAllModule, IsTheProgramsOwnWithEveryHiddenFieldLabelled) {
    HMODULE self = ::GetModuleHandleA(nullptr);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN), MAKEINTRESOURCEA(5)), nullptr);
    EXPECT_EQ(Str(module, IDS_PRODUCT), Str(self, IDS_PRODUCT));
    const std::pair<UINT, const char*> shown[] = {
        {IDS_ADV_TXPOWER, "Transmit Power"},
        {IDS_ADV_QOS, "Quality of Service"},
        {IDS_ADV_SCANTYPE, "Site Scan Type"},
        {IDS_WEP_PERUSER, "Per-User"},
        {IDS_KEYTYPE_64_ASCII, "40/64bit ASCII (5 characters)"},
        {IDS_KEYTYPE_128_ASCII, "104/128bit ASCII (13 characters)"},
        {IDS_COMMON_NETTYPE, "Network Type"},
        {IDS_LINK_RXRATE, "Current Rx Rate"},
        {IDS_LINK_ENCRYPTION, "Encryption"},
        {IDS_LINK_WIRELESS_TYPE, "Wireless Type"},
        {IDS_LINK_COUNTRY, "Country"},
        {IDS_LINK_FRAGMENTS1, "Receive Fragments"},
        {IDS_LINK_FRAGMENTS2, "Transmit Fragments"},
        {IDS_LINK_THROUGHPUT, "Throughput"},
        {IDS_LINK_QUALITY, "Link Quality"}};
    std::set<UINT> relabelled;
    for (const auto& [id, text] : shown) {
        EXPECT_EQ(Str(module, id), text) << id;
        relabelled.insert(id);
    }
    // Every other string is the program's own, hidden ones included.
    for (UINT id = 0; id < 2048; ++id) {
        std::string own;
        if (!fw::res::TryLoadString(id, own, self) || relabelled.count(id)) continue;
        EXPECT_EQ(Str(module, id), own) << id;
    }
    EXPECT_EQ(Str(module, IDS_CFG_PROFILE_NAME).rfind("none", 0), 0u);
}

TEST_F(ShowAllModule, ShowsEveryBlockOfTheAdvancedPage) {
    pagetest::Host host;
    CAdvancedPage page;
    fw::res::SetModule(module);
    const bool created = page.Create(host);
    fw::res::SetModule(nullptr);
    ASSERT_TRUE(created);
    for (int id : {IDC_ADV_TXPOWER_GROUP, IDC_ADV_TXPOWER, IDC_ADV_TXPOWER_ICON_LOW, IDC_ADV_QOS,
                   IDC_ADV_SCANTYPE_LABEL, IDC_ADV_SCANTYPE, IDC_ADV_RTS, IDC_ADV_FRAG, IDC_ADV_PREAMBLE})
        EXPECT_TRUE(Shown(page.GetDlgItem(id))) << id;
    EXPECT_EQ(pagetest::Text(page.GetDlgItem(IDC_ADV_TXPOWER_GROUP)), "Transmit Power");
    EXPECT_EQ(pagetest::Text(page.GetDlgItem(IDC_ADV_QOS)), "Quality of Service");
    // The power bar has five steps: the lowest is as far as the user can go.
    ::SendMessageA(page.GetDlgItem(IDC_ADV_TXPOWER), WM_KEYDOWN, VK_END, 0);
    Profile profile = Record(0, 0);
    page.StoreToProfile(profile);
    EXPECT_EQ(profile.advTxPower, 4);
    page.DestroyWindow();
}

}  // namespace
