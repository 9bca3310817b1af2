// Monitor.exe on the Native Wi-Fi library against the scripted stand-in of
// wlanapi.dll (bin/wlantest/), driven from outside as a user drives it:
// the tray's tooltip and menu, the main window's pages, a double click on a
// surveyed network, keys typed into the key dialogs, Apply. What the monitor
// shows is read back from its windows (and the network picture from the
// screen); what reached the service is read back through wlansim: the radio
// states, the association, the last profile XML, and after the monitor has
// ended, that every buffer the API handed out was freed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>

#include <map>
#include <string>
#include <vector>

#include "resource.h"
#include "support/Canvas.h"
#include "support/MonitorDriver.h"
#include "support/ParsedXml.h"
#include "support/TestProcess.h"

using namespace testsupport;

namespace {

const char kTitle[] = "Wavelume";
const char kProfiles[] = "SOFTWARE\\DoDizir\\Wavelume\\Profiles";
const char kAdapter[] = "Stand-in Wireless LAN Adapter";

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) hex += {kDigits[c >> 4], kDigits[c & 15]};
    return hex;
}

// The stand-in's state as `wlansim show` prints it, one fact a line.
std::string SimState() {
    std::string shown, state;
    Wlansim("show", &shown);
    for (char c : shown)
        if (c != '\r') state += c;
    return state;
}

bool StateHas(const std::string& fact) { return SimState().find(fact) != std::string::npos; }

// The line of `state` that begins with `start`, or "".
std::string LineStarting(const std::string& state, const std::string& start) {
    const size_t at = state.find("\n" + start);
    if (at == std::string::npos) return "";
    return state.substr(at + 1, state.find('\n', at + 1) - at - 1);
}

// The WLAN profile the stand-in was given last, in brief: "name type mode
// authentication/encryption keyType keyMaterial [index keyIndex]".
std::string LastProfile() {
    std::string xml;
    if (Wlansim("lastprofile", &xml) != 0) return "<none>";
    const ParsedXml parsed = ParseXml(xml);
    if (!parsed.wellFormed) return "<not well-formed> " + xml;
    if (parsed.rootNamespace != "http://www.microsoft.com/networking/WLAN/profile/v1") return "<namespace> " + xml;
    const std::string security = "WLANProfile/MSM/security/";
    std::string brief = parsed.Text("WLANProfile/name") + " " + parsed.Text("WLANProfile/connectionType") + " " +
                        parsed.Text("WLANProfile/connectionMode") + " " +
                        parsed.Text(security + "authEncryption/authentication") + "/" +
                        parsed.Text(security + "authEncryption/encryption") + " " +
                        parsed.Text(security + "sharedKey/keyType") + " " +
                        parsed.Text(security + "sharedKey/keyMaterial");
    if (parsed.Has(security + "keyIndex")) brief += " index " + parsed.Text(security + "keyIndex");
    return brief;
}

// The networks in range, in the order a scan lists them.
struct Network {
    const char* ssid;
    const char* bssid;
    const char* channel;
    const char* encryption;
    const char* signal;   // the link quality, which the stand-in derives from the RSSI unless given
    const char* type;     // 1 access point, 0 ad hoc
    const char* simArgs;  // the rest of wlansim's "bss add"
};
const Network kNetworks[] = {
    {"HomeNet", "02:00:00:00:00:01", "6", "1", "70", "1",
     "Rssi=-60 LinkQuality=70 Security=wpa2 Country=DE Key=correct-horse-battery"},
    // 5 GHz: the scan gives the centre frequency only.
    {"Office-5G", "02:00:00:00:00:02", "36", "1", "90", "1", "Rssi=-55 Security=wep Key=0A1B2C3D4E"},
    // The 40-bit key that the passphrase "badpw" gives as its third key.
    {"LabAdHoc", "02:00:00:00:00:03", "11", "1", "60", "0", "Rssi=-70 Type=independent Phy=b Security=wep Key=C90C104FA2"},
    {"OldCafe", "02:00:00:00:00:04", "1", "1", "40", "1", "Rssi=-80 Security=wpa Key=espresso-doppio"},
    {"Mixed", "02:00:00:00:00:06", "9", "1", "50", "1", "Rssi=-75 Security=wpa-wpa2 Key=both-ways-in"},
    // Open, and named in Latin-1.
    {"Caf\xE9", "02:00:00:00:00:05", "3", "0", "100", "1", "Rssi=-50"},
};

// Which of the link page's network pictures (ad hoc, access point, none)
// the picture control shows on the screen, where it fills the control; 0
// when none matches.
UINT ShownNetworkPicture(HWND picture, const std::string& program) {
    RECT client;
    ::GetClientRect(picture, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(picture, &origin);
    Canvas shown(client.right, client.bottom);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(shown.dc(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    ::ReleaseDC(nullptr, screen);

    fw::Module module(::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    for (UINT id : {IDB_NET_ADHOC, IDB_NET_INFRASTRUCTURE, IDB_NET_NONE}) {
        fw::Gdi<HBITMAP> bitmap(::LoadBitmapA(module.get(), MAKEINTRESOURCEA(id)));
        BITMAP size = {};
        ::GetObjectA(bitmap.get(), sizeof(size), &size);
        Canvas expected(client.right, client.bottom);
        {
            fw::MemoryDC source(::CreateCompatibleDC(nullptr));
            fw::SelectObjectScope select(source.get(), bitmap.get());
            ::StretchBlt(expected.dc(), 0, 0, client.right, client.bottom, source.get(), 0, 0, size.bmWidth,
                         size.bmHeight, SRCCOPY);
        }
        bool same = size.bmWidth > 0;
        for (int y = 0; same && y < client.bottom; ++y)
            for (int x = 0; same && x < client.right; ++x) same = shown.Pixel(x, y) == expected.Pixel(x, y);
        if (same) return id;
    }
    return 0;
}

constexpr int kNetworkCount = sizeof(kNetworks) / sizeof(kNetworks[0]);

// The stand-in interface's network adapter as the device installer lists
// it: a device of the network class whose driver key names the interface.
class AdapterDevice {
public:
    static constexpr char kDriverVersion[] = "6.3.9600.17";

    AdapterDevice() : m_set(::SetupDiCreateDeviceInfoList(&kNetClass, nullptr)) {
        Remove();
        m_device.cbSize = sizeof(m_device);
        if (!::SetupDiCreateDeviceInfoA(m_set, kId, &kNetClass, kAdapter, nullptr, 0, &m_device) ||
            !::SetupDiRegisterDeviceInfo(m_set, &m_device, 0, nullptr, nullptr, nullptr))
            return;
        HKEY driver = ::SetupDiCreateDevRegKeyA(m_set, &m_device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, nullptr, nullptr);
        if (driver == INVALID_HANDLE_VALUE) return;
        WriteString(driver, "", "NetCfgInstanceId", "{57534E44-0000-4000-8000-000000000001}");
        WriteString(driver, "", "DriverVersion", kDriverVersion);
        ::RegCloseKey(driver);
    }
    ~AdapterDevice() {
        Remove();
        ::SetupDiDestroyDeviceInfoList(m_set);
    }
    AdapterDevice(const AdapterDevice&) = delete;
    AdapterDevice& operator=(const AdapterDevice&) = delete;

private:
    static constexpr GUID kNetClass = {0x4D36E972, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
    static constexpr char kId[] = "ROOT\\WLANSTANDIN\\0000";
    // Also one that a run before left behind.
    void Remove() {
        SP_DEVINFO_DATA device = {sizeof(device), {}, 0, 0};
        if (::SetupDiOpenDeviceInfoA(m_set, kId, nullptr, 0, &device)) ::SetupDiRemoveDevice(m_set, &device);
    }
    HDEVINFO m_set;
    SP_DEVINFO_DATA m_device = {};
};

class StandinMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::FindWindowA(nullptr, kTitle), nullptr) << "another monitor is running";
        ASSERT_FALSE(TrayShowsIcons()) << "another program has a tray icon";
        ASSERT_EQ(Wlansim("reset"), 0);
        ASSERT_EQ(Wlansim("set NotifyDelayMs=50"), 0);
        for (const Network& n : kNetworks)
            ASSERT_EQ(Wlansim("bss add SsidHex=" + Hex(n.ssid) + " Bssid=" + n.bssid + " Channel=" + n.channel + " " +
                          n.simArgs),
                      0);
        // One profile, "any network": the tray menu holds it above its four
        // commands.
        DeleteTree(HKEY_LOCAL_MACHINE, kProfiles);
        WriteString(HKEY_LOCAL_MACHINE, std::string(kProfiles) + "\\DEFAULT", "ssid", "ANY");
        WriteDword(HKEY_LOCAL_MACHINE, std::string(kProfiles) + "\\DEFAULT", "operatingmode", 1);
        // Every field labelled, the wireless type among them; started in a
        // folder of its own, so that the program folder keeps no res.conf.
        ASSERT_TRUE(folder.WriteFile("res.conf", BinDir() + "showall.dll\r\n"));
        ASSERT_TRUE(monitor.Start("\"" + Program() + "\"", folder.Path()));
        ASSERT_TRUE(WaitFor([&] { return (window = FindProcessWindow(monitor.Id(), kTitle)) != nullptr; }, 10000));
        ASSERT_TRUE(WaitFor(TrayShowsIcons, 5000));
    }

    void TearDown() override {
        if (monitor.Running()) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            EXPECT_EQ(monitor.Wait(10000), 0);
        }
        // Whatever the story, the monitor gave back every buffer the API
        // handed it, and its library never unregistered or closed from
        // inside a callback.
        const std::string state = SimState();
        const std::string buffers = LineStarting(state, "process " + std::to_string(monitor.Id()) + " ");
        EXPECT_NE(buffers.find(" Monitor.exe live=0 total="), std::string::npos) << state;
        EXPECT_TRUE(buffers.size() > 11 && buffers.compare(buffers.size() - 11, 11, " badfrees=0") == 0) << state;
        EXPECT_EQ(LineStarting(state, "callbackmisuse "), "callbackmisuse 0") << state;
        Wlansim("reset");
        DeleteTree(HKEY_LOCAL_MACHINE, kProfiles);
    }

    std::string Program() const { return WlanTestDir() + "Monitor.exe"; }

    void Show() {
        ::PostMessageA(window, WM_COMMAND, ID_TRAY_SHOW, 0);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
        // Off the notification area (top left without a window manager), so
        // that the tray icon's tooltip stays in reach, as a user would drag it.
        ::SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // Brings a tab to the front as a click on it would.
    void ShowTab(int tab) {
        HWND tabs = ::GetDlgItem(window, IDC_TAB);
        ::SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
        ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 3000));
    }

    HWND LinkPage() const { return WindowHolding(window, IDC_LINK_PICTURE, "Static"); }
    std::string LinkField(int id) const { return WindowText(::GetDlgItem(LinkPage(), id)); }
    HWND SurveyList() const { return ::GetDlgItem(WindowHolding(window, IDC_SURVEY_LIST, WC_LISTVIEWA), IDC_SURVEY_LIST); }
    HWND RadioButton() const { return ::GetDlgItem(window, IDC_RADIO); }

    // The survey's rows, each as its six texts joined by '|'.
    std::vector<std::string> SurveyRows() const {
        std::vector<std::string> rows;
        HWND list = SurveyList();
        for (int i = 0, n = ListViewCount(list); i < n; ++i) {
            std::string row = ListViewText(list, i, 0);
            for (int column = 1; column < 6; ++column) row += "|" + ListViewText(list, i, column);
            rows.push_back(row);
        }
        return rows;
    }
    static std::string Row(const Network& n) {
        return std::string(n.ssid) + "|" + n.bssid + "|" + n.channel + "|" + n.encryption + "|" + n.signal + "|" +
               n.type;
    }

    // A scan started with the page's Scan button, waited for to its end.
    void Rescan() {
        HWND scan = ::GetDlgItem(::GetParent(SurveyList()), IDC_SURVEY_SCAN);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(scan) && WindowText(scan) == "Scan"; }, 10000));
        ASSERT_TRUE(ClickButton(scan));
        ASSERT_EQ(WindowText(scan), "Scanning");
        ASSERT_TRUE(WaitFor([&] { return WindowText(scan) == "Scan"; }, 10000));
    }

    // Double-clicks the survey's row of that network, as a user picks it,
    // and waits for the monitor to have taken the pick: it leaves the
    // survey tab while it handles it.
    void PickFromSurvey(const std::string& ssid) {
        ShowTab(3);
        HWND list = SurveyList();
        int row = -1;
        ASSERT_TRUE(WaitFor(
            [&] {
                for (int i = 0, n = ListViewCount(list); i < n && row < 0; ++i)
                    if (ListViewText(list, i, 0) == ssid) row = i;
                return row >= 0;
            },
            10000))
            << ssid << " is not in the survey";
        const RECT rect = ListViewRowRect(list, row);
        ASSERT_TRUE(DoubleClickAt(list, POINT{rect.left + 20, (rect.top + rect.bottom) / 2}));
        ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(::GetDlgItem(window, IDC_TAB), TCM_GETCURSEL, 0, 0) != 3; },
                            3000));
    }
    // The key dialog of an encrypted network, in front on the configuration tab.
    bool KeyDialogShown(HWND dialog) const {
        return WaitFor(
            [&] {
                return ::SendMessageA(::GetDlgItem(window, IDC_TAB), TCM_GETCURSEL, 0, 0) == 0 &&
                       ::IsWindowVisible(dialog);
            },
            3000);
    }

    HWND ConfigPage() const { return WindowHolding(window, IDC_CFG_TAB, WC_TABCONTROLA); }
    HWND WepDialog() const { return WindowHolding(window, IDC_WEP_KEYTYPE, WC_COMBOBOXA); }
    HWND WpaDialog() const { return WindowHolding(window, IDC_WPA_PSK, WC_EDITA); }
    HWND AuthTypeList() const {
        return ::GetDlgItem(WindowHolding(window, IDC_SEC_AUTH, WC_COMBOBOXA), IDC_SEC_AUTH);
    }

    // Applies what the configuration page shows (`apply`: with its Apply
    // button, which must be enabled; else the pick applied it by itself) and
    // waits for the stand-in to associate with `ssid` (as `show` prints
    // it); the WLAN profile it was given, in brief.
    std::string ApplyAndConnect(const std::string& ssid, bool apply = true) {
        if (apply && !ClickButton(::GetDlgItem(ConfigPage(), IDC_CFG_APPLY))) return "<Apply is disabled>";
        const std::string associated = "mode=profile ssid=\"" + ssid + "\"";
        if (!WaitFor([&] { return StateHas(associated); }, 10000)) return "<no association> " + SimState();
        return LastProfile();
    }

    bool TooltipIs(const std::string& text) {
        return WaitFor([&] { return TrayTooltip() == text; }, 15000);
    }

    AdapterDevice device;
    TempDir folder;
    ChildProcess monitor;
    HWND window = nullptr;
};

// ---- What the monitor shows -----------------------------------------------------

TEST_F(StandinMonitor, ShowsTheAssociationAndTheNetworksInRange) {
    ASSERT_EQ(Wlansim("connect Ssid=HomeNet"), 0);
    EXPECT_TRUE(TooltipIs("Connection:HomeNet\nSpeed:54 Mbps\nSignal strength:80%")) << TrayTooltip();

    Show();
    ShowTab(1);
    ASSERT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "HomeNet"; }, 5000));
    const std::map<int, std::string> home = {
        {IDC_LINK_BSSID, "02:00:00:00:00:01"}, {IDC_LINK_CHANNEL, "6"},         {IDC_LINK_TXRATE, "54 Mbps"},
        {IDC_LINK_ENCRYPTION, "enabled"},      {IDC_LINK_WIRELESS_TYPE, "802.11g"}, {IDC_LINK_COUNTRY, "DE"}};
    for (const auto& [id, text] : home) EXPECT_EQ(LinkField(id), text) << "field " << id;
    // The signal of the association, the link quality of its access point.
    EXPECT_EQ(::SendMessageA(::GetDlgItem(LinkPage(), IDC_LINK_SIGNAL_BAR), PBM_GETPOS, 0, 0), 80);
    EXPECT_EQ(::SendMessageA(::GetDlgItem(LinkPage(), IDC_LINK_QUALITY_BAR), PBM_GETPOS, 0, 0), 70);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(LinkPage(), IDC_LINK_WIRELESS_TYPE)));
    HWND picture = ::GetDlgItem(LinkPage(), IDC_LINK_PICTURE);
    EXPECT_TRUE(WaitFor([&] { return ShownNetworkPicture(picture, Program()) == IDB_NET_INFRASTRUCTURE; }, 3000));

    // The 5 GHz access point: an 802.11a link.
    ASSERT_EQ(Wlansim("connect Ssid=Office-5G"), 0);
    ASSERT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "Office-5G"; }, 5000));
    EXPECT_EQ(LinkField(IDC_LINK_CHANNEL), "36");
    EXPECT_EQ(LinkField(IDC_LINK_WIRELESS_TYPE), "802.11a");

    // The ad hoc network: its own picture, 802.11b at 11 Mbps.
    ASSERT_EQ(Wlansim("connect Ssid=LabAdHoc"), 0);
    ASSERT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "LabAdHoc"; }, 5000));
    EXPECT_EQ(LinkField(IDC_LINK_CHANNEL), "11");
    EXPECT_EQ(LinkField(IDC_LINK_WIRELESS_TYPE), "802.11b");
    EXPECT_EQ(LinkField(IDC_LINK_ENCRYPTION), "enabled");
    EXPECT_TRUE(WaitFor([&] { return ShownNetworkPicture(picture, Program()) == IDB_NET_ADHOC; }, 3000));
    EXPECT_TRUE(TooltipIs("Connection:LabAdHoc\nSpeed:11 Mbps\nSignal strength:60%")) << TrayTooltip();

    // The adapter's driver, found through the device installer.
    ShowTab(4);
    EXPECT_EQ(WindowText(::GetDlgItem(WindowHolding(window, IDC_VER_DRIVER, "Static"), IDC_VER_DRIVER)),
              AdapterDevice::kDriverVersion);

    // The survey the monitor ran on its own when it found the adapter.
    ShowTab(3);
    std::vector<std::string> expected;
    for (const Network& n : kNetworks) expected.push_back(Row(n));
    EXPECT_TRUE(WaitFor([&] { return SurveyRows() == expected; }, 10000)) << ::testing::PrintToString(SurveyRows());
}

// ---- Connecting ---------------------------------------------------------------------

TEST_F(StandinMonitor, ANetworkPickedInTheSurveyConnectsWithTheKeyEntered) {
    Show();

    // The 5 GHz access point with a WEP key typed in. An encrypted network
    // without a key brings the key dialog to the front, Apply disabled.
    PickFromSurvey("Office-5G");
    HWND wep = WepDialog();
    ASSERT_TRUE(KeyDialogShown(wep));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(ConfigPage(), IDC_CFG_APPLY)));
    TypeText(::GetDlgItem(wep, IDC_WEP_KEY1), "0A1B2C3D4E");
    EXPECT_EQ(ApplyAndConnect("Office-5G"), "Office-5G ESS auto open/WEP networkKey 0A1B2C3D4E index 0");
    EXPECT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "Office-5G"; }, 5000));
    EXPECT_TRUE(::IsWindowVisible(LinkPage()));
    EXPECT_TRUE(TooltipIs("Connection:Office-5G\nSpeed:54 Mbps\nSignal strength:90%")) << TrayTooltip();

    // The ad hoc network with a WEP passphrase, shared authentication and
    // the third key: the network knows only the key the passphrase makes.
    PickFromSurvey("LabAdHoc");
    ASSERT_TRUE(KeyDialogShown(wep));
    ChooseComboEntry(::GetDlgItem(wep, IDC_WEP_AUTH), 1);
    ASSERT_TRUE(ClickButton(::GetDlgItem(wep, IDC_WEP_USE_PASSPHRASE)));
    ASSERT_EQ(::SendMessageA(::GetDlgItem(wep, IDC_WEP_USE_PASSPHRASE), BM_GETCHECK, 0, 0), BST_CHECKED);
    TypeText(::GetDlgItem(wep, IDC_WEP_PASSPHRASE), "badpw");
    ChooseComboEntry(::GetDlgItem(wep, IDC_WEP_DEFKEY), 2);
    EXPECT_EQ(ApplyAndConnect("LabAdHoc"), "LabAdHoc-adhoc IBSS manual shared/WEP networkKey C90C104FA2 index 2");
    EXPECT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "LabAdHoc"; }, 5000));

    // WPA-PSK: to an access point that offers WPA2, as WPA2 with AES...
    PickFromSurvey("HomeNet");
    ChooseComboEntry(AuthTypeList(), ComboEntryWithData(AuthTypeList(), 7));
    HWND wpa = WpaDialog();
    ASSERT_TRUE(KeyDialogShown(wpa));
    TypeText(::GetDlgItem(wpa, IDC_WPA_PSK), "correct-horse-battery");
    EXPECT_EQ(ApplyAndConnect("HomeNet"), "HomeNet ESS auto WPA2PSK/AES passPhrase correct-horse-battery");

    // ... and to one that offers WPA alone, as WPA with TKIP.
    PickFromSurvey("OldCafe");
    ChooseComboEntry(AuthTypeList(), ComboEntryWithData(AuthTypeList(), 7));
    ASSERT_TRUE(KeyDialogShown(wpa));
    TypeText(::GetDlgItem(wpa, IDC_WPA_PSK), "espresso-doppio");
    EXPECT_EQ(ApplyAndConnect("OldCafe"), "OldCafe ESS auto WPAPSK/TKIP passPhrase espresso-doppio");

    // An open network whose name is not ASCII (Latin-1 "Caf\xE9") connects
    // at once, by the hex form of its name.
    PickFromSurvey("Caf\xE9");
    EXPECT_EQ(ApplyAndConnect("Caf\\xE9", false), "436166E9 ESS auto open/none <missing> <missing>");
    EXPECT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "Caf\xE9"; }, 5000));
}

TEST_F(StandinMonitor, AnAdapterWithoutWpa2JoinsAMixedNetworkByWpa) {
    // No WPA2-PSK with AES among what it offers (read when it first connects).
    ASSERT_EQ(Wlansim("interface set InfraPairs=open/none,open/wep40,wpapsk/tkip,rsnapsk/tkip"), 0);
    Show();
    PickFromSurvey("Mixed");
    ChooseComboEntry(AuthTypeList(), ComboEntryWithData(AuthTypeList(), 7));
    HWND wpa = WpaDialog();
    ASSERT_TRUE(KeyDialogShown(wpa));
    TypeText(::GetDlgItem(wpa, IDC_WPA_PSK), "both-ways-in");
    EXPECT_EQ(ApplyAndConnect("Mixed"), "Mixed ESS auto WPAPSK/TKIP passPhrase both-ways-in");
}

// ---- The radio, the adapter, refusals ----------------------------------------------

TEST_F(StandinMonitor, TheRadioSwitchesReachTheAdapterAndFollowItsOwnSwitch) {
    ASSERT_EQ(Wlansim("connect Ssid=HomeNet"), 0);
    Show();
    HWND radio = RadioButton();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(radio) && WindowText(radio) == "Wireless On"; }, 5000));

    // The main window's button switches every PHY's software radio off.
    ASSERT_TRUE(ClickButton(radio));
    EXPECT_TRUE(WaitFor([] { return StateHas("interface 0 software off,off,off\n"); }, 5000)) << SimState();
    EXPECT_TRUE(TooltipIs("Wireless Off")) << TrayTooltip();
    EXPECT_TRUE(WaitFor([&] { return WindowText(radio) == "Wireless Off"; }, 3000));

    // The tray menu's "Radio On/Off", below the one profile, on again.
    ASSERT_TRUE(ChooseFromTrayMenu(window, {VK_DOWN, VK_DOWN}));
    EXPECT_TRUE(WaitFor([] { return StateHas("interface 0 software on,on,on\n"); }, 5000)) << SimState();
    EXPECT_TRUE(TooltipIs("Disconnected")) << TrayTooltip();
    EXPECT_TRUE(WaitFor([&] { return WindowText(radio) == "Wireless On"; }, 3000));

    // The adapter's own switch, which the monitor only follows.
    ASSERT_EQ(Wlansim("radio Hardware=off"), 0);
    EXPECT_TRUE(TooltipIs("Wireless Off")) << TrayTooltip();
    EXPECT_TRUE(WaitFor([&] { return WindowText(radio) == "Wireless Off"; }, 3000));
    ASSERT_EQ(Wlansim("radio Hardware=on"), 0);
    EXPECT_TRUE(TooltipIs("Disconnected")) << TrayTooltip();
    EXPECT_TRUE(WaitFor([&] { return WindowText(radio) == "Wireless On"; }, 3000));
}

TEST_F(StandinMonitor, AnAdapterThatGoesAwayIsPickedUpAgain) {
    ASSERT_EQ(Wlansim("connect Ssid=HomeNet"), 0);
    Show();
    HWND adapters = ::GetDlgItem(window, IDC_ADAPTER_LIST);
    ASSERT_TRUE(WaitFor([&] { return WindowText(adapters) == kAdapter; }, 5000)) << WindowText(adapters);

    ASSERT_EQ(Wlansim("interface remove"), 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }, 5000)) << "the window stays";
    EXPECT_TRUE(TooltipIs("Network disable")) << TrayTooltip();
    EXPECT_FALSE(::IsWindowEnabled(RadioButton()));
    EXPECT_EQ(::SendMessageA(adapters, CB_GETCOUNT, 0, 0), 0);

    ASSERT_EQ(Wlansim("interface restore"), 0);
    EXPECT_TRUE(TooltipIs("Disconnected")) << TrayTooltip();
    EXPECT_TRUE(::IsWindowEnabled(RadioButton()));
    EXPECT_EQ(WindowText(adapters), kAdapter);
    ASSERT_EQ(Wlansim("connect Ssid=Office-5G"), 0);
    EXPECT_TRUE(TooltipIs("Connection:Office-5G\nSpeed:54 Mbps\nSignal strength:90%")) << TrayTooltip();
}

TEST_F(StandinMonitor, ARefusedScanLeavesTheSurveyEmptyAndTheRestWorking) {
    ASSERT_EQ(Wlansim("connect Ssid=HomeNet"), 0);
    Show();
    ShowTab(3);
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(SurveyList()) == kNetworkCount; }, 10000));

    // As Windows 11 refuses both without location consent.
    for (const char* refused : {"WlanScan", "WlanGetNetworkBssList"}) {
        ASSERT_EQ(Wlansim(std::string("error set ") + refused + "=access_denied"), 0);
        Rescan();
        EXPECT_TRUE(WaitFor([&] { return ListViewCount(SurveyList()) == 0; }, 3000)) << refused;
        ASSERT_EQ(Wlansim("error clear"), 0);
    }
    ASSERT_TRUE(monitor.Running());
    EXPECT_TRUE(TooltipIs("Connection:HomeNet\nSpeed:54 Mbps\nSignal strength:80%")) << TrayTooltip();
    ShowTab(1);
    EXPECT_TRUE(WaitFor([&] { return LinkField(IDC_LINK_SSID) == "HomeNet"; }, 3000));

    ShowTab(3);
    Rescan();
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(SurveyList()) == kNetworkCount; }, 3000));
}

}  // namespace
