// The Monitor's resources as the program sees them at run time: loaded from
// this test program's own module (which links the same compiled resources)
// and from the stand-in resource module testres.dll.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "framework/DialogItemLists.h"
#include "support/Canvas.h"
#include "resource.h"

namespace {

HMODULE Self() { return GetModuleHandleA(nullptr); }

bool HasString(HMODULE module, UINT id, std::string* text = nullptr)
{
    char buf[1024];
    int n = LoadStringA(module, id, buf, sizeof buf);
    if (n <= 0) return false;
    if (text) text->assign(buf, n);
    return true;
}

std::string Str(HMODULE module, UINT id)
{
    std::string s;
    HasString(module, id, &s);
    return s;
}

// Size in dialog units and styles of a DIALOGEX template.
struct TemplateInfo {
    bool found = false;
    DWORD style = 0, exStyle = 0;
    int cx = 0, cy = 0;
};

TemplateInfo ReadTemplate(HMODULE module, UINT id)
{
    TemplateInfo info;
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!res || SizeofResource(module, res) < 26) return info;
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    if (!p) return info;
    auto word = [p](int off) { return static_cast<int>(p[off] | (p[off + 1] << 8)); };
    auto dword = [&](int off) { return static_cast<DWORD>(word(off) | (word(off + 2) << 16)); };
    if (word(0) != 1 || word(2) != 0xFFFF) return info;   // not DIALOGEX
    info.found = true;
    info.exStyle = dword(8);
    info.style = dword(12);
    info.cx = static_cast<short>(word(22));
    info.cy = static_cast<short>(word(24));
    return info;
}

INT_PTR CALLBACK QuietProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Owner for the child templates; destroyed with its children.
class Host {
public:
    Host()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                 ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        hwnd_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
    }
    ~Host() { if (hwnd_) DestroyWindow(hwnd_); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND get() const { return hwnd_; }
    HWND Create(UINT id) const
    {
        return CreateDialogParamA(Self(), MAKEINTRESOURCEA(id), hwnd_, QuietProc, 0);
    }

private:
    HWND hwnd_ = nullptr;
};

std::string ClassOf(HWND w)
{
    char buf[64] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

std::string ComboItem(HWND combo, int i)
{
    char buf[128] = {};
    if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof buf)) return {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    return buf;
}

using testsupport::Canvas;

struct IconImage {
    int w = 0, h = 0;
};

IconImage IconSize(HICON icon)
{
    IconImage s;
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return s;
    BITMAP bm{};
    if (ii.hbmColor && GetObjectA(ii.hbmColor, sizeof bm, &bm)) {
        s.w = bm.bmWidth;
        s.h = bm.bmHeight;
    }
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    return s;
}

const UINT kDialogs[] = {IDD_MAIN, IDD_SURVEY_PAGE, IDD_PROFILE_NAME, IDD_VERSION_PAGE,
                         IDD_IP_PAGE, IDD_LINK_PAGE, IDD_CONFIG_PAGE, IDD_WEP_KEY,
                         IDD_WPA_PSK, IDD_COMMON_PAGE, IDD_SECURITY_PAGE, IDD_ADVANCED_PAGE};

const UINT kIcons[] = {IDI_APP, IDI_HELP_BOOK, IDI_EXIT, IDI_RADIO_OFF, IDI_RADIO_ON, IDI_SCAN,
                       IDI_RELEASE, IDI_RENEW, IDI_NEW, IDI_DELETE, IDI_APPLY, IDI_SAVE,
                       IDI_TXPOWER_HIGH, IDI_TXPOWER_MEDIUM, IDI_TXPOWER_LOW, IDI_SECURITY_OFF,
                       IDI_SECURITY_ON, IDI_SET_DEFAULT, IDI_TRAY_CONNECTED,
                       IDI_TRAY_DISCONNECTED, IDI_KEY, IDI_ACCESS_POINT, IDI_COMPUTER};

}  // namespace

// Texts whose escapes and exact wording other code depends on.
TEST(MonitorResources, StringTableCarriesExactTexts)
{
    EXPECT_EQ(Str(Self(), IDS_PRODUCT), "Wavelume");
    EXPECT_EQ(Str(Self(), IDS_ADAPTER), "Wireless Card");
    EXPECT_EQ(Str(Self(), IDS_APP_KEY), "SOFTWARE\\DoDizir\\Wavelume");
    EXPECT_EQ(Str(Self(), IDS_PROFILE_LIMIT),
              "Error: Cannot create new profile.\n%d profiles maximum allow.");
    EXPECT_EQ(Str(Self(), IDS_SEC_AUTH_TYPE), "   ");
    EXPECT_EQ(Str(Self(), IDS_LINK_RXRATE), "noneCurrent Rx Rate");
    EXPECT_EQ(Str(Self(), IDS_SURVEY_COLUMNS),
              "Network name|MAC address|Channel|Encryption|Signal|Network type");

    // Every label number the pages pass to LoadControlLabels must load:
    // a missing one would silently leave a template text in place.
    const UINT labels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                           20, 21, 22, 24, 26, 27, 28, 29, 31, 32, 33, 34, 35, 36, 37, 38,
                           39, 40, 41, 42, 43, 44, 45, 46, 47, 1018, 1019, 1020, 1021, 1022,
                           1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033,
                           1034, 1035, 1036, 1037, 1039, 1049, 1050, 1051, 1052, 1053, 1054,
                           1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065,
                           1066, 1067, 1068, 1069, 1070};
    for (UINT id : labels) EXPECT_TRUE(HasString(Self(), id)) << "string " << id;
}

TEST(MonitorResources, TrayMenuHasFourCommandsInOrder)
{
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    char text[64] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "PopUp");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const struct { UINT id; const char* text; } expected[] = {
        {ID_TRAY_RADIO, "Radio On/Off"}, {ID_TRAY_SHOW, "Show"},
        {ID_TRAY_HIDE, "Hide"}, {ID_TRAY_EXIT, "Exit"}};
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), expected[i].id);
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i].text);
    }
    DestroyMenu(menu);
}

// Every template creates (so every control class and referenced picture
// resolves), pages are hidden children of the page size, and the main
// window is the captioned application window of 311 x 225 units.
TEST(MonitorResources, DialogTemplatesCreateWithTheirShapes)
{
    Host host;
    ASSERT_NE(host.get(), nullptr);
    for (UINT id : kDialogs) {
        TemplateInfo t = ReadTemplate(Self(), id);
        ASSERT_TRUE(t.found) << "dialog " << id;
        HWND dlg = host.Create(id);
        EXPECT_NE(dlg, nullptr) << "dialog " << id;
        if (dlg) DestroyWindow(dlg);
        if (id == IDD_MAIN || id == IDD_PROFILE_NAME) {
            EXPECT_TRUE(t.style & WS_POPUP) << id;
            EXPECT_TRUE(t.style & WS_CAPTION) << id;
            continue;
        }
        EXPECT_TRUE(t.style & WS_CHILD) << id;
        EXPECT_FALSE(t.style & (WS_VISIBLE | WS_CAPTION)) << id;
    }

    TemplateInfo main = ReadTemplate(Self(), IDD_MAIN);
    EXPECT_EQ(main.cx, 311);
    EXPECT_EQ(main.cy, 225);
    EXPECT_TRUE(main.exStyle & WS_EX_APPWINDOW);
    for (UINT page : {IDD_LINK_PAGE, IDD_SURVEY_PAGE, IDD_IP_PAGE, IDD_VERSION_PAGE, IDD_CONFIG_PAGE}) {
        TemplateInfo t = ReadTemplate(Self(), page);
        EXPECT_EQ(t.cx, 305) << page;
        EXPECT_EQ(t.cy, 165) << page;
    }
}

TEST(MonitorResources, MainWindowControls)
{
    Host host;
    HWND dlg = host.Create(IDD_MAIN);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(ClassOf(GetDlgItem(dlg, IDC_TAB)), "SysTabControl32");
    EXPECT_EQ(ClassOf(GetDlgItem(dlg, IDC_ADAPTER_LIST)), "ComboBox");
    HWND radio = GetDlgItem(dlg, IDC_RADIO);
    ASSERT_NE(radio, nullptr);
    EXPECT_TRUE(GetWindowLongA(radio, GWL_STYLE) & BS_PUSHLIKE);
    EXPECT_NE(GetDlgItem(dlg, IDC_HELP_BUTTON), nullptr);
    EXPECT_NE(GetDlgItem(dlg, IDC_EXIT), nullptr);
    HWND picture = GetDlgItem(dlg, IDC_MAIN_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(GetWindowLongA(picture, GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "bitmap 130";
    DestroyWindow(dlg);
}

// Pictures named inside templates are found when the page is created.
TEST(MonitorResources, TemplatesPictureTheirStatics)
{
    Host host;
    HWND link = host.Create(IDD_LINK_PAGE);
    ASSERT_NE(link, nullptr);
    EXPECT_NE(SendDlgItemMessageA(link, IDC_LINK_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(link, IDC_LINK_COUNTRY)));
    DestroyWindow(link);

    HWND adv = host.Create(IDD_ADVANCED_PAGE);
    ASSERT_NE(adv, nullptr);
    for (int id : {IDC_ADV_TXPOWER_ICON_HIGH, IDC_ADV_TXPOWER_ICON_MEDIUM, IDC_ADV_TXPOWER_ICON_LOW})
        EXPECT_NE(SendDlgItemMessageA(adv, id, STM_GETICON, 0, 0), 0) << id;
    DestroyWindow(adv);
}

TEST(MonitorResources, TemplateItemListsFillTheirCombos)
{
    Host host;
    HWND adv = host.Create(IDD_ADVANCED_PAGE);
    ASSERT_NE(adv, nullptr);
    EXPECT_EQ(fw::ApplyDialogItemLists(adv, Self(), IDD_ADVANCED_PAGE), 5);
    HWND preamble = GetDlgItem(adv, IDC_ADV_PREAMBLE);
    ASSERT_EQ(SendMessageA(preamble, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ComboItem(preamble, 0), "Short & Long");
    EXPECT_EQ(ComboItem(preamble, 1), "Long");
    HWND scan = GetDlgItem(adv, IDC_ADV_SCANTYPE);
    ASSERT_EQ(SendMessageA(scan, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ComboItem(scan, 2), "Auto");
    DestroyWindow(adv);

    HWND ip = host.Create(IDD_IP_PAGE);
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(fw::ApplyDialogItemLists(ip, Self(), IDD_IP_PAGE), 3);
    EXPECT_EQ(ComboItem(GetDlgItem(ip, IDC_IP_GRAPH_SERIES), 1), "outgoing");
    // A template without a list adds nothing.
    EXPECT_EQ(fw::ApplyDialogItemLists(ip, Self(), IDD_LINK_PAGE), 0);
    DestroyWindow(ip);

    HWND wep = host.Create(IDD_WEP_KEY);
    ASSERT_NE(wep, nullptr);
    EXPECT_EQ(fw::ApplyDialogItemLists(wep, Self(), IDD_WEP_KEY), 2);
    EXPECT_EQ(ComboItem(GetDlgItem(wep, IDC_WEP_AUTH), 1), "Shared");
    DestroyWindow(wep);
}

// A list from a foreign module may be cut short or lie about its lengths.
TEST(MonitorResources, MalformedItemListStopsAtItsEnd)
{
    Host host;
    HWND ip = host.Create(IDD_IP_PAGE);
    ASSERT_NE(ip, nullptr);
    HWND combo = GetDlgItem(ip, IDC_IP_GRAPH_SERIES);

    // One good record, then one whose length runs past the data.
    std::vector<BYTE> data = {0x07, 0x04, 0x03, 0x04, 3, 0, 0, 0, 'a', 'b', 0,
                              0x07, 0x04, 0x03, 0x04, 0xFF, 0xFF, 0, 0, 'x'};
    EXPECT_EQ(fw::ApplyDialogItemList(ip, data.data(), static_cast<DWORD>(data.size())), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);

    // A text without its NUL is taken up to its stated length; a header cut
    // in half and an unknown message are skipped.
    std::vector<BYTE> noNul = {0x07, 0x04, 0x03, 0x04, 2, 0, 0, 0, 'c', 'd',
                               0x07, 0x04, 0x99, 0x00, 1, 0, 0, 0, 'z',
                               0x07, 0x04, 0x03};
    EXPECT_EQ(fw::ApplyDialogItemList(ip, noNul.data(), static_cast<DWORD>(noNul.size())), 1);
    EXPECT_EQ(ComboItem(combo, 1), "cd");
    EXPECT_EQ(fw::ApplyDialogItemList(ip, nullptr, 10), 0);
    DestroyWindow(ip);
}

// Icons draw at the size the buttons use, with a transparent surround.
TEST(MonitorResources, RadioIconsDrawAsColouredBalls)
{
    struct Case { UINT id; bool red; } cases[] = {{IDI_RADIO_OFF, true}, {IDI_RADIO_ON, false}};
    for (const Case& c : cases) {
        HICON icon = static_cast<HICON>(
            LoadImageA(Self(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, 18, 18, 0));
        ASSERT_NE(icon, nullptr) << c.id;
        IconImage size = IconSize(icon);
        EXPECT_EQ(size.w, 18);
        EXPECT_EQ(size.h, 18);
        Canvas canvas(18, 18, RGB(255, 255, 255));
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 18, 18, 0, nullptr, DI_NORMAL));
        COLORREF centre = canvas.Pixel(9, 9);
        int r = GetRValue(centre), g = GetGValue(centre), b = GetBValue(centre);
        if (c.red) {
            EXPECT_GT(r, 2 * g) << "icon " << c.id;
            EXPECT_GT(r, 2 * b) << "icon " << c.id;
        } else {
            EXPECT_GT(g, r + 40) << "icon " << c.id;
            EXPECT_GT(g, b + 40) << "icon " << c.id;
        }
        EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 255, 255)) << "corner of icon " << c.id;
        DestroyIcon(icon);
    }
}

TEST(MonitorResources, EveryIconLoadsAndOddSizesKeepTheirShape)
{
    for (UINT id : kIcons) {
        HICON big = LoadIconA(Self(), MAKEINTRESOURCEA(id));
        EXPECT_NE(big, nullptr) << "icon " << id;
        HICON small = static_cast<HICON>(
            LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(small, nullptr) << "icon " << id;
        if (small) DestroyIcon(small);
    }
    // Loaded at their own size, as the survey list loads them.
    const struct { UINT id; int w, h; } odd[] = {
        {IDI_KEY, 23, 14}, {IDI_ACCESS_POINT, 60, 14}, {IDI_COMPUTER, 60, 14}};
    for (const auto& o : odd) {
        HICON icon = static_cast<HICON>(
            LoadImageA(Self(), MAKEINTRESOURCEA(o.id), IMAGE_ICON, 0, 0, 0));
        ASSERT_NE(icon, nullptr) << o.id;
        IconImage s = IconSize(icon);
        EXPECT_EQ(s.w, o.w) << o.id;
        EXPECT_EQ(s.h, o.h) << o.id;
        DestroyIcon(icon);
    }
}

TEST(MonitorResources, GradientStripRunsBlueToWhiteInEvenSteps)
{
    HBITMAP bmp = LoadBitmapA(Self(), MAKEINTRESOURCEA(IDB_GRADIENT));
    ASSERT_NE(bmp, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(bmp, sizeof bm, &bm));
    ASSERT_EQ(bm.bmWidth, 256);
    ASSERT_EQ(bm.bmHeight, 1);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 256;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> px(256);
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, bmp, 0, 1, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    ASSERT_EQ(lines, 1);

    auto rgb = [&](int i) { return px[i] & 0xFFFFFF; };   // 0x00RRGGBB
    EXPECT_EQ(rgb(0), 0x0604FCu);
    EXPECT_EQ(rgb(255), 0xFEFCFCu);
    for (int i = 1; i < 256; ++i) {
        int dr = static_cast<int>((rgb(i) >> 16) & 0xFF) - static_cast<int>((rgb(i - 1) >> 16) & 0xFF);
        int dg = static_cast<int>((rgb(i) >> 8) & 0xFF) - static_cast<int>((rgb(i - 1) >> 8) & 0xFF);
        ASSERT_TRUE(dr == 0 || dr == 1) << "column " << i;
        ASSERT_EQ(dr, dg) << "column " << i;
        ASSERT_EQ(rgb(i) & 0xFF, 0xFCu) << "column " << i;
    }
}

TEST(MonitorResources, BitmapsHaveTheirSizes)
{
    const struct { UINT id; int w, h, bits; } cases[] = {
        {IDB_MENU_MARK, 12, 12, 1}, {IDB_NET_ADHOC, 186, 52, 0},
        {IDB_NET_INFRASTRUCTURE, 186, 52, 0}, {IDB_NET_NONE, 186, 52, 0},
        {IDB_MAIN_LOGO, 0, 0, 0}, {IDB_VERSION_LOGO, 0, 0, 0}};
    for (const auto& c : cases) {
        HBITMAP bmp = LoadBitmapA(Self(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(bmp, nullptr) << "bitmap " << c.id;
        BITMAP bm{};
        GetObjectA(bmp, sizeof bm, &bm);
        if (c.w) {
            EXPECT_EQ(bm.bmWidth, c.w) << c.id;
            EXPECT_EQ(bm.bmHeight, c.h) << c.id;
        }
        if (c.bits) {
            EXPECT_EQ(bm.bmBitsPixel, c.bits) << c.id;
        }
        DeleteObject(bmp);
    }
}

// The version page reads these through the translation table.
TEST(MonitorResources, VersionBlockCarriesProductVersionAndDate)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    struct Translation { WORD language, codePage; }* tr = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&tr), &len));
    ASSERT_GE(len, sizeof(Translation));
    EXPECT_EQ(tr[0].language, 0x0409);
    EXPECT_EQ(tr[0].codePage, 0x04B0);

    auto query = [&](const char* key) {
        char sub[128];
        wsprintfA(sub, "\\StringFileInfo\\%04x%04x\\%s", tr[0].language, tr[0].codePage, key);
        char* value = nullptr;
        UINT n = 0;
        if (!VerQueryValueA(block.data(), sub, reinterpret_cast<void**>(&value), &n) || !value)
            return std::string();
        return std::string(value);
    };
    EXPECT_EQ(query("ProductVersion"), "4.0.0.11");
    EXPECT_EQ(query("ProductDate"), "Jul 16 2004");
    EXPECT_EQ(query("CompanyName"), "DoDizir");
}

// testres.dll stands in for a resource module: loadable the way the program
// loads res.dll, renaming the product, and complete, so that a program
// switched to it finds every resource it asks for.
TEST(MonitorResources, TestModuleIsACompleteStandIn)
{
    HMODULE mod = LoadLibraryExA("testres.dll", nullptr, 0);
    ASSERT_NE(mod, nullptr);
    EXPECT_EQ(Str(mod, IDS_PRODUCT), "Testres Monitor");
    EXPECT_EQ(Str(mod, IDS_LINK_RXRATE), "Current Rx Rate");
    EXPECT_EQ(Str(mod, IDS_LINK_CHANNEL).rfind("none", 0), 0u);
    for (UINT id = 0; id < 2048; ++id) {
        if (HasString(Self(), id)) {
            EXPECT_TRUE(HasString(mod, id)) << "string " << id;
        }
    }
    for (UINT id : kDialogs)
        EXPECT_NE(FindResourceA(mod, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr) << id;
    HMENU menu = LoadMenuA(mod, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    EXPECT_NE(menu, nullptr);
    if (menu) DestroyMenu(menu);
    HICON icon = static_cast<HICON>(
        LoadImageA(mod, MAKEINTRESOURCEA(IDI_TRAY_CONNECTED), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
    FreeLibrary(mod);
}

namespace {

// The RT_MANIFEST resource 1 of a program file, read as data; empty if none.
std::string EmbeddedManifest(const char* file)
{
    HMODULE mod = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!mod) return {};
    std::string text;
    if (HRSRC res = FindResourceA(mod, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */)) {
        const char* p = static_cast<const char*>(LockResource(LoadResource(mod, res)));
        if (p) text.assign(p, SizeofResource(mod, res));
    }
    FreeLibrary(mod);
    return text;
}

}  // namespace

// Both programs ask for common controls 6 and administrator rights, and name
// the systems they are made for.
TEST(ProgramManifests, CommonControlsSixAdministratorAndSupportedSystems)
{
    for (const char* file : {"Monitor.exe", "Regiopick.exe"}) {
        SCOPED_TRACE(file);
        const std::string m = EmbeddedManifest(file);
        ASSERT_FALSE(m.empty());
        auto has = [&m](const char* text) { return m.find(text) != std::string::npos; };
        const size_t dep = m.find("<dependentAssembly>");
        ASSERT_NE(dep, std::string::npos);
        const std::string identity = m.substr(dep, m.find("</dependentAssembly>") - dep);
        EXPECT_NE(identity.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
        EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos);
        EXPECT_NE(identity.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
        EXPECT_TRUE(has("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"));
        EXPECT_TRUE(has("urn:schemas-microsoft-com:compatibility.v1"));
        for (const char* os : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_TRUE(has(os)) << os;
    }
}

namespace {

// The printf conversions of a text in order ("%%" is no conversion).
std::vector<std::string> Conversions(const std::string& text)
{
    std::vector<std::string> found;
    for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 1)) {
        if (text.compare(i + 1, 1, "%") == 0) { ++i; continue; }
        const size_t end = text.find_first_of("diuxXscp", i + 1);
        found.push_back(text.substr(i, end == std::string::npos ? std::string::npos : end - i + 1));
    }
    return found;
}

// The control ids of a dialog made from `module`'s template, in tab order.
std::vector<int> ControlIds(HMODULE module, UINT id, HWND parent)
{
    std::vector<int> ids;
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), parent, QuietProc, 0);
    for (HWND c = dialog ? GetWindow(dialog, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(c));
    if (dialog) DestroyWindow(dialog);
    return ids;
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR seen)
{
    reinterpret_cast<std::vector<WORD>*>(seen)->push_back(language);
    return TRUE;
}
BOOL CALLBACK NoteName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR seen)
{
    return EnumResourceLanguagesA(module, type, name, NoteLanguage, seen);
}
BOOL CALLBACK NoteType(HMODULE module, LPSTR type, LONG_PTR seen)
{
    return EnumResourceNamesA(module, type, NoteName, seen);
}

}  // namespace

// Monitor_de.dll: the program's strings, templates, item lists and menu under
// the same numbers, all of them marked German. Every text is translated but
// for names and keys; hidden fields stay hidden and printf formats keep their
// conversions in order.
TEST(GermanModule, EveryResourceOfTheProgramInGerman)
{
    HMODULE de = LoadLibraryExA("Monitor_de.dll", nullptr, 0);
    ASSERT_NE(de, nullptr);

    std::vector<WORD> languages;
    EnumResourceTypesA(de, NoteType, reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_FALSE(languages.empty());
    for (WORD language : languages) EXPECT_EQ(language, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));

    const UINT kept[] = {IDS_PRODUCT, IDS_SUPPORT_URL, IDS_ADAPTER, IDS_APP_KEY, IDS_VER_COMPANY,
                         IDS_IP_GATEWAY, IDS_SEC_AUTH_TYPE};
    for (UINT id = 0; id < 2048; ++id) {
        std::string own;
        if (!HasString(Self(), id, &own)) continue;
        std::string german;
        ASSERT_TRUE(HasString(de, id, &german)) << "string " << id;
        EXPECT_EQ(german.rfind("none", 0) == 0, own.rfind("none", 0) == 0) << german;
        EXPECT_EQ(Conversions(german), Conversions(own)) << german;
        const bool keep = std::find(std::begin(kept), std::end(kept), id) != std::end(kept);
        if (keep) EXPECT_EQ(german, own) << "string " << id;
        else EXPECT_NE(german, own) << "string " << id << " not translated";
    }

    Host host;
    for (UINT id : kDialogs) {
        const TemplateInfo own = ReadTemplate(Self(), id), german = ReadTemplate(de, id);
        ASSERT_TRUE(german.found) << id;
        EXPECT_EQ(german.cx, own.cx) << id;
        EXPECT_EQ(german.cy, own.cy) << id;
        EXPECT_EQ(german.style, own.style) << id;
        const std::vector<int> controls = ControlIds(de, id, host.get());
        EXPECT_FALSE(controls.empty()) << id;
        EXPECT_EQ(controls, ControlIds(Self(), id, host.get())) << "template " << id;
    }
    for (UINT id : {IDD_IP_PAGE, IDD_ADVANCED_PAGE, IDD_WEP_KEY}) {
        HWND own = host.Create(id);
        HWND german = CreateDialogParamA(de, MAKEINTRESOURCEA(id), host.get(), QuietProc, 0);
        const int items = fw::ApplyDialogItemLists(own, Self(), id);
        EXPECT_GT(items, 0) << id;
        EXPECT_EQ(fw::ApplyDialogItemLists(german, de, id), items) << id;
        DestroyWindow(own);
        DestroyWindow(german);
    }

    HMENU ownMenu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    HMENU germanMenu = LoadMenuA(de, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(germanMenu, nullptr);
    HMENU ownPopup = GetSubMenu(ownMenu, 0), germanPopup = GetSubMenu(germanMenu, 0);
    ASSERT_EQ(GetMenuItemCount(germanPopup), GetMenuItemCount(ownPopup));
    for (int i = 0; i < GetMenuItemCount(ownPopup); ++i) {
        char own[64] = {}, german[64] = {};
        GetMenuStringA(ownPopup, i, own, sizeof own, MF_BYPOSITION);
        GetMenuStringA(germanPopup, i, german, sizeof german, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(germanPopup, i), GetMenuItemID(ownPopup, i));
        EXPECT_STRNE(german, own);
    }
    DestroyMenu(ownMenu);
    DestroyMenu(germanMenu);
    FreeLibrary(de);
}
