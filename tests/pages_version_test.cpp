// The version information page against the simulated adapter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "mainwnd_fixture.h"
#include "pages/VersionInfoPage.h"
#include "pages_support.h"
#include "resource.h"

namespace {

std::vector<std::string> g_opened;  // "verb file show", when owner, parameters and folder are null
HINSTANCE WINAPI RecordOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    if (!owner && !parameters && !folder)
        g_opened.push_back(std::string(verb) + " " + file + " " + std::to_string(show));
    return reinterpret_cast<HINSTANCE>(33);
}

class VersionInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mwtest::ResetSim();
        g_bVersionWasOpen = false;
        g_opened.clear();
        g_pfnShellExecute = &RecordOpen;
    }
    void TearDown() override {
        page.DestroyWindow();
        fw::res::SetModule(nullptr);
        g_pfnShellExecute = &::ShellExecuteA;
        theDevice.Close();
        mwtest::ResetSim();
    }
    void OpenCheck() { page.SendMessage(WM_TIMER, CVersionInfoPage::kOpenCheckTimer); }
    std::string Text(int id) const { return pagetest::Text(page.GetDlgItem(id)); }

    fw::Module noDate{::LoadLibraryA("pages_version_nodate.dll")};  // outlives the page's window
    pagetest::Host host;
    CVersionInfoPage page;
};

TEST_F(VersionInfoPageTest, DriverLineFollowsTheAdapterAtTheFirstCheckAfterItComesOrGoes) {
    mwtest::SetSim("Present", 0);
    ASSERT_TRUE(page.Create(host));
    EXPECT_EQ(Text(IDC_VER_APP), "4.0.0.11 " + std::string(9, ' ') + "Jul 16 2004");  // "%s %20s"
    EXPECT_EQ(Text(IDC_VER_DRIVER), "");

    const std::string longest(63, '9');  // the longest the library keeps, shown whole
    mwtest::SetSim("Present", 1);
    mwtest::SetSimText("DriverVersion", longest);
    int handle = 0;
    ASSERT_TRUE(theDevice.Open("Wireless Card", handle));
    EXPECT_EQ(Text(IDC_VER_DRIVER), "");
    OpenCheck();
    EXPECT_EQ(Text(IDC_VER_DRIVER), longest);
    mwtest::SetSimText("DriverVersion", "7.0.0.1");
    OpenCheck();  // still open: not read again
    EXPECT_EQ(Text(IDC_VER_DRIVER), longest);
    mwtest::SetSim("Present", 0);
    OpenCheck();
    EXPECT_EQ(Text(IDC_VER_DRIVER), "");
}

TEST_F(VersionInfoPageTest, ModuleTextsLinkAndIncompleteVersionBlocks) {
    int handle = 0;
    ASSERT_TRUE(noDate && theDevice.Open("Wireless Card", handle));
    fw::res::SetModule(noDate.get());
    page.SetVersionModule(noDate.get());
    ASSERT_TRUE(page.Create(host));
    // Its first translation has a date, the last only a version: the last wins, dateless.
    EXPECT_EQ(Text(IDC_VER_APP), "9.8.7.6" + std::string(21, ' '));
    EXPECT_EQ(Text(IDC_VER_COMPANY) + "|" + Text(IDC_VER_LEGAL), "Test Maker|Test notice");
    EXPECT_EQ(Text(IDC_VER_LINK), "http://help.example.org/wavelume-test");
    pagetest::Canvas canvas(200, 12);
    ::SendMessageA(page.GetDlgItem(IDC_VER_LINK), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    int blue = 0;
    for (int x = 0; x < 200 * 12; ++x) blue += pagetest::IsBlue(canvas.Pixel(x % 200, x / 200));
    EXPECT_GT(blue, 20);
    ::SendMessageA(page.GetDlgItem(IDC_VER_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(page.GetDlgItem(IDC_VER_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(g_opened, std::vector<std::string>{"open http://help.example.org/wavelume-test 1"});

    // A module without a version block leaves both lines: the adapter is not asked.
    ASSERT_EQ(Text(IDC_VER_DRIVER), "5.0.1.46");
    mwtest::SetSimText("DriverVersion", "9.9.9.9");
    fw::Module noBlock(::LoadLibraryA("pages_resmod.dll"));
    page.SetVersionModule(noBlock.get());
    page.UpdateVersionInfo();
    EXPECT_EQ(Text(IDC_VER_APP), "9.8.7.6" + std::string(21, ' '));
    EXPECT_EQ(Text(IDC_VER_DRIVER), "5.0.1.46");
}

}  // namespace
