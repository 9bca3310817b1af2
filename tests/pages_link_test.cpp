// The link information page against the simulated adapter.
#include <gtest/gtest.h>

#include <vector>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "mainwnd_fixture.h"
#include "pages/LinkInfoPage.h"
#include "pages_support.h"
#include "resource.h"

using pagetest::Shown;

namespace {

WNDPROC g_pictureProc = nullptr;
int g_picturesSent = 0;
LRESULT CALLBACK CountPictures(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    g_picturesSent += msg == STM_SETIMAGE;
    return ::CallWindowProcA(g_pictureProc, hwnd, msg, wp, lp);
}

std::vector<char> Bits(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info)) return {};
    std::vector<char> bits(static_cast<size_t>(info.bmWidthBytes * info.bmHeight));
    ::GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

class LinkInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        int handle = 0;
        ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    }
    void TearDown() override {
        page.DestroyWindow();
        theDevice.Close();
        mwtest::ResetSim();
    }
    void Create() {
        ASSERT_TRUE(page.Create(host));
        g_picturesSent = 0;
        g_pictureProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(Item(IDC_LINK_PICTURE), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPictures)));
    }
    void Tick() { page.SendMessage(WM_TIMER, 1); }
    HWND Item(int id) const { return page.GetDlgItem(id); }
    std::string Text(int id) const { return pagetest::Text(Item(id)); }
    LRESULT Bar(int id) const { return ::SendMessageA(Item(id), PBM_GETPOS, 0, 0); }
    bool Picture(UINT id) const {
        fw::Gdi<HBITMAP> expected(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
        const auto shown = ::SendMessageA(Item(IDC_LINK_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0);
        return !Bits(expected.get()).empty() && Bits(reinterpret_cast<HBITMAP>(shown)) == Bits(expected.get());
    }

    pagetest::Host host;
    CLinkInfoPage page;
};

TEST_F(LinkInfoPageTest, AssociatedFieldsAndTheirSources) {
    for (auto [name, value] : {std::pair{"Channel", 11}, {"TxRate", 48}, {"RxRate", 36}, {"Encryption", 1},
                               {"WirelessType", 5}, {"TxFragment", 111}, {"RxFragment", 222}, {"LinkQuality", 0},
                               {"Signal", 80}, {"NetworkMode", 1}})
        mwtest::SetSim(name, static_cast<DWORD>(value));
    mwtest::SetSimText("SSID", "LabNet");
    mwtest::SetSimText("BSSID", "00:11:22:AA:BB:CC");
    mwtest::SetSimText("Country", "DE");
    Create();
    EXPECT_EQ(page.Title(), "Link Information");
    const std::pair<int, const char*> expected[] = {
        {IDC_LINK_SSID, "LabNet"},        {IDC_LINK_BSSID, "00:11:22:AA:BB:CC"}, {IDC_LINK_CHANNEL, "11"},
        {IDC_LINK_TXRATE, "48 Mbps"},     {IDC_LINK_RXRATE, "36 Mbps"},          {IDC_LINK_ENCRYPTION, "enabled"},
        {IDC_LINK_WIRELESS_TYPE, "802.11g Turbo"}, {IDC_LINK_COUNTRY, "DE"},
        // Crossed: beside "Receive Fragments" the transmit counter, and back.
        {IDC_LINK_FRAGMENTS1, "111"},     {IDC_LINK_FRAGMENTS2, "222"}};
    for (const auto& [id, text] : expected) EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(Bar(IDC_LINK_QUALITY_BAR), 0);
    EXPECT_EQ(Bar(IDC_LINK_SIGNAL_BAR), 80);
    EXPECT_TRUE(Picture(IDB_NET_INFRASTRUCTURE));

    mwtest::SetSim("WirelessType", 3);
    Tick();
    EXPECT_EQ(Text(IDC_LINK_WIRELESS_TYPE), "802.11");
    EXPECT_EQ(CLinkInfoPage::WirelessTypeText(9), "802.11");
}

TEST_F(LinkInfoPageTest, NotAssociatedBlanksAllAndThePictureFollowsTheKind) {
    Create();
    ASSERT_EQ(Text(IDC_LINK_CHANNEL), "6");
    Tick();
    Tick();
    EXPECT_EQ(g_picturesSent, 0);  // same kind: not sent again
    mwtest::SetSim("NetworkMode", 0);
    Tick();
    EXPECT_EQ(g_picturesSent, 1);
    EXPECT_TRUE(Picture(IDB_NET_ADHOC));

    mwtest::SetSim("Associated", 0);
    Tick();
    for (int id : {IDC_LINK_SSID, IDC_LINK_BSSID, IDC_LINK_CHANNEL, IDC_LINK_TXRATE, IDC_LINK_RXRATE,
                   IDC_LINK_ENCRYPTION, IDC_LINK_WIRELESS_TYPE, IDC_LINK_COUNTRY, IDC_LINK_FRAGMENTS1,
                   IDC_LINK_FRAGMENTS2})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(Bar(IDC_LINK_QUALITY_BAR), 0);
    EXPECT_EQ(Bar(IDC_LINK_SIGNAL_BAR), 0);
    EXPECT_TRUE(Picture(IDB_NET_NONE));
    EXPECT_EQ(g_picturesSent, 2);
}

TEST_F(LinkInfoPageTest, LabelRowsFollowTheResourceModule) {
    Create();  // the program's own table hides the receive-rate and quality rows
    EXPECT_TRUE(Shown(Item(IDC_LINK_SSID)));
    EXPECT_FALSE(Shown(Item(IDC_LINK_RXRATE_LABEL)) || Shown(Item(IDC_LINK_RXRATE)));
    EXPECT_FALSE(Shown(Item(IDC_LINK_QUALITY_BAR)) || Shown(Item(IDC_LINK_QUALITY_LABEL)));
    page.DestroyWindow();

    HMODULE module = ::LoadLibraryA("pages_resmod.dll");
    ASSERT_NE(module, nullptr);
    fw::res::SetModule(module);
    const bool created = page.Create(host);
    fw::res::SetModule(nullptr);
    ASSERT_TRUE(created);
    // A relabelled signal row: the text lands on the bar, the label keeps the template's.
    EXPECT_EQ(Text(IDC_LINK_SIGNAL_BAR), "Strength of signal");
    EXPECT_EQ(Text(IDC_LINK_SIGNAL_LABEL), "Signal Strength");
    EXPECT_TRUE(Shown(Item(IDC_LINK_QUALITY_BAR)) && Shown(Item(IDC_LINK_RXRATE)));
    page.DestroyWindow();
    ::FreeLibrary(module);
}

}  // namespace
