#include "pages/LinkInfoPage.h"

#include <cstdio>
#include <cstring>

#include "app/ControlLabels.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
constexpr COLORREF kBarBack = RGB(200, 200, 200);

// Bounded copy of a string the adapter library owns: a null or unterminated
// result must not take the page down.
std::string LibraryText(const char* text, size_t limit = 256) {
    if (!text) return std::string();
    return std::string(text, strnlen(text, limit));
}

std::string Decimal(long long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%lld", value);
    return text;
}

std::string Mbps(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%lu Mbps", value);
    return text;
}

// The ten value fields, in the order the adapter is read.
const int kFields[] = {IDC_LINK_SSID,       IDC_LINK_BSSID,      IDC_LINK_CHANNEL,       IDC_LINK_TXRATE,
                       IDC_LINK_RXRATE,     IDC_LINK_ENCRYPTION, IDC_LINK_WIRELESS_TYPE, IDC_LINK_COUNTRY,
                       IDC_LINK_FRAGMENTS1, IDC_LINK_FRAGMENTS2};
constexpr int kFieldCount = sizeof(kFields) / sizeof(kFields[0]);
}  // namespace

BEGIN_MESSAGE_TABLE(CLinkInfoPage, CPage)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()

CLinkInfoPage::CLinkInfoPage() : CPage(IDD_LINK_PAGE, IDS_TAB_LINK) {}

CLinkInfoPage::~CLinkInfoPage() {
    // The picture control must go before the bitmaps it shows.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void CLinkInfoPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_LINK_QUALITY_BAR, m_qualityBar);
    fw::DDX_Control(dx, IDC_LINK_SIGNAL_BAR, m_signalBar);
    fw::DDX_Control(dx, IDC_LINK_PICTURE, m_picture);
}

BOOL CLinkInfoPage::OnInitDialog() {
    CPage::OnInitDialog();

    // The pictures belong to the program itself, not to the resource module.
    HINSTANCE self = ::GetModuleHandleA(nullptr);
    static const UINT bitmaps[kPictureCount] = {IDB_NET_ADHOC, IDB_NET_INFRASTRUCTURE, IDB_NET_NONE};
    for (int i = 0; i < kPictureCount; ++i) m_bitmaps[i].reset(::LoadBitmapA(self, MAKEINTRESOURCEA(bitmaps[i])));

    m_qualityBar.SetStyle(true, true, RGB(0, 0, 0), kBarBack);
    m_signalBar.SetStyle(true, true, RGB(0, 0, 0), kBarBack);

    // In the last two rows the bar comes first: a relabelling string lands
    // on the bar (which does not draw it) and the label keeps its text.
    static const UINT strings[] = {IDS_LINK_SSID,        IDS_LINK_BSSID,       IDS_LINK_CHANNEL,
                                   IDS_LINK_TXRATE,      IDS_LINK_RXRATE,      IDS_LINK_ENCRYPTION,
                                   IDS_LINK_WIRELESS_TYPE, IDS_LINK_COUNTRY,   IDS_LINK_FRAGMENTS1,
                                   IDS_LINK_FRAGMENTS2,  IDS_LINK_THROUGHPUT,  IDS_LINK_QUALITY,
                                   IDS_LINK_SIGNAL};
    static const UINT controls[] = {IDC_LINK_SSID_LABEL,     IDC_LINK_BSSID_LABEL,         IDC_LINK_CHANNEL_LABEL,
                                    IDC_LINK_TXRATE_LABEL,   IDC_LINK_RXRATE_LABEL,        IDC_LINK_ENCRYPTION_LABEL,
                                    IDC_LINK_WIRELESS_TYPE_LABEL, IDC_LINK_COUNTRY_LABEL,  IDC_LINK_FRAGMENTS1_LABEL,
                                    IDC_LINK_FRAGMENTS2_LABEL, IDC_LINK_THROUGHPUT_GROUP,  IDC_LINK_QUALITY_BAR,
                                    IDC_LINK_SIGNAL_BAR};
    static const UINT partners[] = {IDC_LINK_SSID,        IDC_LINK_BSSID,       IDC_LINK_CHANNEL,
                                    IDC_LINK_TXRATE,      IDC_LINK_RXRATE,      IDC_LINK_ENCRYPTION,
                                    IDC_LINK_WIRELESS_TYPE, IDC_LINK_COUNTRY,   IDC_LINK_FRAGMENTS1,
                                    IDC_LINK_FRAGMENTS2,  0,                    IDC_LINK_QUALITY_LABEL,
                                    IDC_LINK_SIGNAL_LABEL};
    static_assert(sizeof(strings) == sizeof(controls) && sizeof(controls) == sizeof(partners), "label rows");
    LoadControlLabels(m_hWnd, strings, controls, partners, static_cast<int>(sizeof(strings) / sizeof(strings[0])));

    UpdateLinkInfo();
    SetTimer(kTimerId, kTimerPeriodMs);
    return TRUE;
}

LRESULT CLinkInfoPage::OnTimer(WPARAM, LPARAM) {
    UpdateLinkInfo();
    return 0;
}

std::string CLinkInfoPage::WirelessTypeText(unsigned type) {
    static const char* const suffixes[] = {"a", "a Turbo", "b", "", "g", "g Turbo"};
    std::string text = "802.11";
    if (type < sizeof(suffixes) / sizeof(suffixes[0])) text += suffixes[type];
    return text;
}

void CLinkInfoPage::UpdateLinkInfo() {
    std::string texts[kFieldCount];
    int picture = kPictureNotConnected;
    if (theDevice.QueryConnectionStatus()) {
        // The mode is the picture number; a mode the adapter should never
        // report gets the not-connected picture rather than a stray index.
        const unsigned short mode = theDevice.GetNetworkMode();
        picture = (mode < kPictureCount) ? static_cast<int>(mode) : static_cast<int>(kPictureNotConnected);
        m_qualityBar.SetPos(theDevice.GetLinkQuality());
        m_signalBar.SetPos(theDevice.GetSignalStrength());

        texts[0] = LibraryText(theDevice.GetSSID());
        texts[1] = LibraryText(theDevice.GetMAC());
        texts[2] = Decimal(theDevice.GetChannel());
        texts[3] = Mbps(theDevice.GetTxRate());
        texts[4] = Mbps(theDevice.GetRxRate());
        texts[5] = theDevice.GetEncryption() ? "enabled" : "disabled";
        texts[6] = WirelessTypeText(theDevice.GetWirelessType());
        texts[7] = LibraryText(theDevice.GetCountry());
        // The first fragment row shows the transmit counter and the second
        // the receive counter, whatever their labels say.
        texts[8] = Decimal(theDevice.GetTxFragment());
        texts[9] = Decimal(theDevice.GetRxFragment());
    } else {
        m_qualityBar.SetPos(0);
        m_signalBar.SetPos(0);
    }
    for (int i = 0; i < kFieldCount; ++i) SetTextIfChanged(m_hWnd, kFields[i], texts[i].c_str());
    ShowPicture(picture);
}

void CLinkInfoPage::ShowPicture(int picture) {
    if (picture == m_nPicture) return;
    m_nPicture = picture;
    HBITMAP previous = m_picture.SetBitmap(m_bitmaps[picture].get());
    // The template's own picture has no other owner; ours stay with the page.
    bool ours = false;
    for (const auto& bitmap : m_bitmaps) ours = ours || previous == bitmap.get();
    if (previous && !ours) ::DeleteObject(previous);
}
