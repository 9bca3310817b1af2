// The common settings page and its network-type list: the rules that decide
// which rates, channels and types a user is offered, and what is stored.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/CommonPage.h"
#include "config_support.h"
#include "mainwnd_fixture.h"
#include "resource.h"
#include "support/TestProcess.h"

namespace {

class CommonPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        mwtest::SetSim("NetMask", 0x1F);
        int handle = 0;
        ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    }
    void TearDown() override {
        page.DestroyWindow();
        theDevice.Close();
        mwtest::ResetSim();
    }
    void Create() { ASSERT_TRUE(page.Create(host)); }
    HWND Item(int id) const { return page.GetDlgItem(id); }
    std::vector<std::string> Entries(int id) const {
        std::vector<std::string> texts;
        const LRESULT count = ::SendMessageA(Item(id), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[64] = {};
            ::SendMessageA(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    }
    std::string Shown(int id) const {
        const LRESULT sel = ::SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
        if (sel < 0) return "<none>";
        char text[64] = {};
        ::SendMessageA(Item(id), CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Load(int mode, int netType, int txRate = 0, const char* ssid = "net") {
        Profile p = {};
        std::strcpy(p.ssid, ssid);
        p.operatingMode = mode;
        p.netType = netType;
        p.txRate = txRate;
        page.LoadFromProfile(p);
    }
    // A click on entry `index` of the network-type list, where a user clicks.
    void ClickType(int index) {
        RECT r = {};
        HWND list = Item(IDC_COMMON_NETTYPE);
        ::SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2));
    }
    unsigned long Chosen() { return page.NetTypeList().GetChosenTypes(); }

    pagetest::Host host;
    CCommonPage page;
};

TEST_F(CommonPageTest, RatesFollowTheChosenNetworkTypesAndKeepTheSelectedRate) {
    Create();
    Load(1, 0x04);
    EXPECT_EQ(Entries(IDC_COMMON_RATE), (std::vector<std::string>{"auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"}));
    ::SendMessageA(Item(IDC_COMMON_RATE), CB_SETCURSEL, 4, 0);
    ClickType(3);  // add 802.11g
    EXPECT_EQ(Entries(IDC_COMMON_RATE),
              (std::vector<std::string>{"auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "6 Mbps", "9 Mbps", "11 Mbps", "12 Mbps",
                                        "18 Mbps", "24 Mbps", "36 Mbps", "48 Mbps", "54 Mbps"}));
    EXPECT_EQ(Shown(IDC_COMMON_RATE), "11 Mbps");
    ::SendMessageA(Item(IDC_COMMON_RATE), CB_SETCURSEL, 12, 0);
    ClickType(3);  // remove 802.11g: 54 Mbps is gone, "auto" takes its place
    EXPECT_EQ(Shown(IDC_COMMON_RATE), "auto");

    Load(1, 0x02, 216);
    EXPECT_EQ(Entries(IDC_COMMON_RATE), (std::vector<std::string>{"auto", "12 Mbps", "18 Mbps", "24 Mbps", "36 Mbps",
                                                                  "48 Mbps", "72 Mbps", "96 Mbps", "108 Mbps"}));
    EXPECT_EQ(Shown(IDC_COMMON_RATE), "108 Mbps");
}

TEST_F(CommonPageTest, TypeClicksMoveTheAdHocChoiceAndNeverEmptyTheInfrastructureOne) {
    mwtest::SetSim("NetMask", 0x1D);  // no 802.11a Turbo
    Create();
    Load(1, 0x08);
    EXPECT_EQ(Chosen(), 0x08u);
    ClickType(3);  // the only choice stays
    EXPECT_EQ(Chosen(), 0x08u);
    ClickType(1);  // not supported: ignored
    EXPECT_EQ(Chosen(), 0x08u);
    ClickType(4);
    EXPECT_EQ(Chosen(), 0x18u);

    Load(0, 0x04);
    EXPECT_EQ(page.NetTypeList().GetEnabledTypes(), 0x0Du);  // never 802.11g Turbo in ad hoc
    ClickType(4);
    EXPECT_EQ(Chosen(), 0x04u);
    ClickType(3);
    EXPECT_EQ(Chosen(), 0x08u);

    // A stored choice the adapter cannot use falls back to 802.11b; none in
    // infrastructure means every supported type.
    Load(1, 0x02);
    EXPECT_EQ(Chosen(), 0x04u);
    Load(1, 0);
    EXPECT_EQ(Chosen(), 0x1Du);
}

TEST_F(CommonPageTest, AdHocChannelIsAutomaticOnlyFor80211a) {
    Create();
    Load(0, 0x04);
    EXPECT_TRUE(pagetest::Shown(Item(IDC_COMMON_CHANNEL)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_COMMON_CHANNEL)));
    ::SendMessageA(Item(IDC_COMMON_CHANNEL), CB_SETCURSEL, 3, 0);
    ClickType(0);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_COMMON_CHANNEL)));
    EXPECT_EQ(Shown(IDC_COMMON_CHANNEL), "auto");
    Load(1, 0x01);
    EXPECT_FALSE(pagetest::Shown(Item(IDC_COMMON_CHANNEL)));
}

TEST_F(CommonPageTest, StoreFillsEmptyNamesAndTypesAndKeepsTheRest) {
    Create();
    Profile in = {};
    in.operatingMode = 0;
    in.channel = 11;
    in.powerSave = 1;
    in.netType = 0x04;
    in.txRate = 11;
    page.LoadFromProfile(in);
    page.NetTypeList().SetChosenTypes(0);
    Profile out = {};
    page.StoreToProfile(out);
    EXPECT_STREQ(out.ssid, "ANY");
    EXPECT_EQ(out.netType, 31);
    EXPECT_EQ(out.channel, 11);
    EXPECT_EQ(out.powerSave, 1);
    EXPECT_EQ(out.operatingMode, 0);
    // Nothing outside the page's own fields is touched.
    Profile untouched = out;
    std::memset(untouched.ssid, 0, sizeof(untouched.ssid));
    untouched.operatingMode = untouched.txRate = untouched.channel = untouched.powerSave = untouched.netType = 0;
    const Profile zero = {};
    EXPECT_EQ(std::memcmp(&untouched, &zero, sizeof(Profile)), 0);

    // A long name is cut to the 32 characters a network name has.
    ::SetWindowTextA(Item(IDC_COMMON_SSID), std::string(40, 'n').c_str());
    page.StoreToProfile(out);
    EXPECT_EQ(std::string(out.ssid), std::string(32, 'n'));
}

TEST_F(CommonPageTest, SurveyRefreshAndTakeOverKeepWhatTheUserSees) {
    mwtest::SetSimText("Channels", "1,2,36,40");
    Create();
    theDevice.InitSiteSurvey();
    ASSERT_TRUE(testsupport::WaitFor([] { return theDevice.QuerySiteSurvey(); }, 2000));

    Load(1, 0, 0, "");
    page.SendMessage(WM_SITES_UPDATED);
    EXPECT_EQ(Entries(IDC_COMMON_SSID).size(), 6u);
    EXPECT_EQ(pagetest::Text(Item(IDC_COMMON_SSID)), "HomeNet");  // nothing shown before: the first

    ::SetWindowTextA(Item(IDC_COMMON_SSID), "my own");
    ::SendMessageA(Item(IDC_COMMON_SSID), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextA(Item(IDC_COMMON_SSID), "my own");
    page.SendMessage(WM_SITES_UPDATED);
    EXPECT_EQ(pagetest::Text(Item(IDC_COMMON_SSID)), "my own");

    // 5: "Neighbour" on channel 3 selects the first entry beginning with "3".
    page.SendMessage(WM_SITE_CHOSEN, 3);  // ad hoc first, so the channel row shows
    page.SendMessage(WM_SITE_CHOSEN, 5);
    EXPECT_EQ(pagetest::Text(Item(IDC_COMMON_SSID)), "Neighbour");
    EXPECT_EQ(::SendMessageA(Item(IDC_COMMON_MODE), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Shown(IDC_COMMON_CHANNEL), "36");
}

TEST_F(CommonPageTest, TypeListDrawsCheckSquaresAndGreyNamesForUnusableTypes) {
    mwtest::SetSim("NetMask", 0x0C);
    Create();
    Load(1, 0x08);
    HWND list = Item(IDC_COMMON_NETTYPE);
    RECT item = {};
    ::SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const int h = item.bottom - item.top;
    ASSERT_GT(h, 6);
    pagetest::Canvas canvas(200, h, RGB(255, 255, 255));
    auto draw = [&](UINT index) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = index;
        dis.hwndItem = list;
        dis.hDC = canvas.dc();
        dis.rcItem = {0, 0, 200, h};
        RECT all = {0, 0, 200, h};
        ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        page.NetTypeList().DrawItem(dis);
    };
    const RECT square = {3, 3, h - 3, h - 3};
    const RECT text = {h + 2, 0, 200, h};
    draw(3);  // 802.11g: chosen and usable
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), square), 0);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), text), canvas.Count(CNetTypeList::kDisabledText, text));
    draw(0);  // 802.11a: not chosen, not supported
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), square), 0);
    EXPECT_GT(canvas.Count(CNetTypeList::kDisabledText, text), 0);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), text), 0);
}

}  // namespace
