#include <winsock2.h>

#include "pages/IpInfoPage.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "app/AdapterText.h"
#include "app/ControlLabels.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

GetAdaptersInfoFunction g_pfnGetAdaptersInfo = &::GetAdaptersInfo;
IpLeaseFunction g_pfnIpReleaseAddress = &::IpReleaseAddress;
IpLeaseFunction g_pfnIpRenewAddress = &::IpRenewAddress;

namespace {
constexpr UINT kTimerPeriodMs = 1000;
// From the worker: a report waits in the page's box (no parameters); the
// buttons are to be disabled (wParam 0) or enabled again (wParam 1).
constexpr UINT WM_IP_REPORT = WM_APP + 0x10;
constexpr UINT WM_IP_BUTTONS = WM_APP + 0x11;
// Lists beyond this size are not believed: an odd answer must not make the
// worker allocate without end.
constexpr ULONG kMaxListBytes = 1u << 20;
// A list that keeps growing between the size question and the read is read
// again this many times before the pass gives up.
constexpr int kReadAttempts = 3;
constexpr int kHostBuffer = 100;

// Copies a fixed field of the IP helper that need not be terminated.
template <size_t To, size_t From>
void CopyField(char (&to)[To], const char (&from)[From]) {
    static_assert(To > 0, "room for the terminator");
    size_t length = strnlen(from, From);
    if (length > To - 1) length = To - 1;
    std::memcpy(to, from, length);
    to[length] = '\0';
}

bool Contains(const char* field, size_t fieldSize, const std::string& text) {
    return std::string_view(field, strnlen(field, fieldSize)).find(text) != std::string_view::npos;
}
}  // namespace

// ---- CIpLookup --------------------------------------------------------------

CIpLookup::CIpLookup(const std::string& adapterText, bool win9xFamily)
    : m_strAdapterText(adapterText), m_bWin9x(win9xFamily) {}

void CIpLookup::SetAdapterText(const std::string& adapterText) {
    m_strAdapterText = adapterText;
    m_bHaveIndex = false;  // the index was another adapter's
}

bool CIpLookup::IsWin9xFamily() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended)))
        return extended.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    // Systems before the extended structure refuse its size.
    OSVERSIONINFOA basic = {};
    basic.dwOSVersionInfoSize = sizeof(basic);
    return ::GetVersionExA(&basic) && basic.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

bool CIpLookup::ReadAdapters() {
    // The buffer of the previous pass is offered first: it grows only when
    // the list has grown.
    ULONG size = static_cast<ULONG>(m_adapters.size());
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        auto* buffer = m_adapters.empty() ? nullptr : reinterpret_cast<PIP_ADAPTER_INFO>(m_adapters.data());
        const DWORD result = g_pfnGetAdaptersInfo(buffer, &size);
        if (result == ERROR_SUCCESS) return m_adapters.size() >= sizeof(IP_ADAPTER_INFO);
        if (result != ERROR_BUFFER_OVERFLOW || size <= m_adapters.size() || size > kMaxListBytes) return false;
        m_adapters.resize(size);
    }
    return false;
}

bool CIpLookup::ReadIndexMap() {
    ULONG size = static_cast<ULONG>(m_interfaces.size());
    bool read = false;
    for (int attempt = 0; attempt < kReadAttempts && !read; ++attempt) {
        auto* buffer = m_interfaces.empty() ? nullptr : reinterpret_cast<PIP_INTERFACE_INFO>(m_interfaces.data());
        const DWORD result = ::GetInterfaceInfo(buffer, &size);
        if (result == ERROR_SUCCESS) read = true;
        else if (result == ERROR_INSUFFICIENT_BUFFER && size > m_interfaces.size() && size <= kMaxListBytes)
            m_interfaces.resize(size);
        else return false;
    }
    if (!read) return false;
    constexpr size_t header = offsetof(IP_INTERFACE_INFO, Adapter);
    if (m_interfaces.size() < header) return false;
    const auto* table = reinterpret_cast<const IP_INTERFACE_INFO*>(m_interfaces.data());
    // Never more entries than the buffer holds, whatever the count says.
    const size_t room = (m_interfaces.size() - header) / sizeof(IP_ADAPTER_INDEX_MAP);
    const size_t count = table->NumAdapters > 0 ? static_cast<size_t>(table->NumAdapters) : 0;
    const IP_ADAPTER_INDEX_MAP* entries = table->Adapter;
    // The last entry of the adapter's index is the one acted on.
    for (size_t i = 0; i < count && i < room; ++i) {
        if (entries[i].Index != m_nIndex) continue;
        m_map = entries[i];
        m_bHaveMap = true;
    }
    return m_bHaveMap;
}

bool CIpLookup::Find() {
    m_pAdapter = nullptr;
    m_bHaveMap = false;
    // An empty text would match every adapter: a resource module without
    // the adapter's name must not show another adapter's address.
    if (!m_strAdapterText.empty() && ReadAdapters()) {
        const char* begin = m_adapters.data();
        const char* end = begin + m_adapters.size();
        // The list links into its own buffer; a link that leaves it, or more
        // links than the buffer has room for, ends the walk.
        size_t steps = m_adapters.size() / sizeof(IP_ADAPTER_INFO);
        for (auto* adapter = reinterpret_cast<const IP_ADAPTER_INFO*>(begin); adapter && steps > 0;
             adapter = adapter->Next, --steps) {
            const char* at = reinterpret_cast<const char*>(adapter);
            if (at < begin || at > end - sizeof(IP_ADAPTER_INFO)) break;
            if (!Contains(adapter->Description, sizeof(adapter->Description), m_strAdapterText)) continue;
            m_pAdapter = adapter;
            m_nIndex = adapter->Index;
            m_bHaveIndex = true;
            break;
        }
    }
    if (m_bHaveIndex) ReadIndexMap();
    return m_pAdapter != nullptr;
}

void CIpLookup::Report(IpReport& report) const {
    report = IpReport();
    char host[kHostBuffer] = {};
    if (::gethostname(host, kHostBuffer) == 0) {
        host[kHostBuffer - 1] = '\0';
        CopyField(report.host, host);
        report.hostKnown = true;
    }
    if (!m_pAdapter) return;
    report.adapterFound = true;
    CopyField(report.address, m_pAdapter->IpAddressList.IpAddress.String);
    CopyField(report.netmask, m_pAdapter->IpAddressList.IpMask.String);
    CopyField(report.gateway, m_pAdapter->GatewayList.IpAddress.String);
    // A 9x-family system reports no DHCP state worth trusting: the buttons
    // are offered there always.
    report.buttonsEnabled = m_bWin9x || m_pAdapter->DhcpEnabled != 0;
}

bool CIpLookup::Release() {
    if (!m_bHaveMap) return false;
    IP_ADAPTER_INDEX_MAP map = m_map;
    g_pfnIpReleaseAddress(&map);  // an unsupported or failed release shows nothing
    return true;
}

bool CIpLookup::Renew() {
    if (!m_bHaveMap) return false;
    IP_ADAPTER_INDEX_MAP map = m_map;
    g_pfnIpRenewAddress(&map);
    return true;
}

// ---- CIpInfoPage --------------------------------------------------------------

BEGIN_MESSAGE_TABLE(CIpInfoPage, CPage)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_DESTROY, OnDestroyMessage)
    ON_MESSAGE(WM_IP_REPORT, OnWorkerReport)
    ON_MESSAGE(WM_IP_BUTTONS, OnWorkerButtons)
    ON_COMMAND(IDC_IP_RELEASE, OnRelease)
    ON_COMMAND(IDC_IP_RENEW, OnRenew)
    ON_CONTROL(CBN_SELCHANGE, IDC_IP_GRAPH_SERIES, OnSeriesChanged)
END_MESSAGE_TABLE()

CIpInfoPage::CIpInfoPage() : CPage(IDD_IP_PAGE, IDS_TAB_IP) {}

CIpInfoPage::~CIpInfoPage() {
    // The buttons draw with the page's icons: the window goes first, and
    // with it (WM_DESTROY) the worker.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    StopWorker();
}

void CIpInfoPage::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_IP_GRAPH_SERIES, m_series);
    fw::DDX_Control(dx, IDC_IP_GRAPH, m_graph);
    fw::DDX_Control(dx, IDC_IP_RENEW, m_renew);
    fw::DDX_Control(dx, IDC_IP_RELEASE, m_release);
}

BOOL CIpInfoPage::OnInitDialog() {
    CPage::OnInitDialog();

    const int size = CIconButton::kIconSize;
    m_renewIcon.reset(fw::res::LoadIconImage(IDI_RENEW, size, size));
    m_releaseIcon.reset(fw::res::LoadIconImage(IDI_RELEASE, size, size));
    const std::string renew = m_renew.GetWindowText();
    m_renew.SetUp(renew, renew, m_renewIcon.get(), m_renewIcon.get(), false);
    const std::string release = m_release.GetWindowText();
    m_release.SetUp(release, release, m_releaseIcon.get(), m_releaseIcon.get(), false);
    m_strAdapterName = fw::res::String(IDS_ADAPTER);
    m_strAdapterText = AdapterText(m_strAdapterName);

    // The worker does not run yet: this first check can only blank the
    // fields and disable the buttons; the first refresh comes with the timer.
    CheckConnection();
    SetTimer(kTimerId, kTimerPeriodMs);
    StartWorker();
    m_graph.StartSampling();

    static const UINT strings[] = {IDS_IP_ADDRESS, IDS_IP_NETMASK, IDS_IP_GATEWAY, IDS_IP_HOSTNAME};
    static const UINT labels[] = {IDC_IP_ADDRESS_LABEL, IDC_IP_NETMASK_LABEL, IDC_IP_GATEWAY_LABEL,
                                  IDC_IP_HOSTNAME_LABEL};
    static const UINT fields[] = {IDC_IP_ADDRESS, IDC_IP_NETMASK, IDC_IP_GATEWAY, IDC_IP_HOSTNAME};
    LoadControlLabels(m_hWnd, strings, labels, fields, static_cast<int>(sizeof(strings) / sizeof(strings[0])));

    LoadSeriesNames();
    return TRUE;
}

void CIpInfoPage::LoadSeriesNames() {
    // "incoming|outgoing|both": without the string the template's items stay
    // (with none selected); the graph draws both curves either way.
    const std::string names = fw::res::String(IDS_GRAPH_SERIES);
    if (names.empty()) return;
    m_series.ResetContent();
    size_t start = 0;
    for (;;) {
        const size_t bar = names.find('|', start);
        m_series.AddString(names.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    m_series.SetCurSel(2);
}

void CIpInfoPage::StartWorker() {
    for (fw::Handle& event : m_events) {
        event.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!event) return;  // no worker without all four
    }
    m_hReportTarget = m_hWnd;
    m_adapterBox.Put(m_strAdapterText);
    m_thread.reset(::CreateThread(nullptr, 0, &CIpInfoPage::IpWorker, this, 0, nullptr));
}

void CIpInfoPage::StopWorker() {
    if (m_thread) {
        ::SetEvent(m_events[kQuitEvent].get());
        // The worker never waits for this thread, so this wait always ends;
        // only after it may the events and the page's windows go.
        ::WaitForSingleObject(m_thread.get(), INFINITE);
        m_thread.reset();
    }
    for (fw::Handle& event : m_events) event.reset();
}

DWORD WINAPI CIpInfoPage::IpWorker(LPVOID page) {
    static_cast<CIpInfoPage*>(page)->RunWorker();
    return 0;
}

void CIpInfoPage::RunWorker() {
    // The adapter text arrives through the box, never from the page's members.
    CIpLookup lookup(std::string(), CIpLookup::IsWin9xFamily());
    HANDLE events[kEventCount];
    for (int i = 0; i < kEventCount; ++i) events[i] = m_events[i].get();
    IpReport report;
    std::string adapterText;
    for (;;) {
        const DWORD signalled = ::WaitForMultipleObjects(kEventCount, events, FALSE, INFINITE);
        // A failed wait would fail again at once: the worker ends rather than spin.
        if (signalled == WAIT_OBJECT_0 + kQuitEvent || signalled >= WAIT_OBJECT_0 + kEventCount) return;
        if (m_adapterBox.Take(adapterText)) lookup.SetAdapterText(adapterText);
        lookup.Find();
        switch (signalled - WAIT_OBJECT_0) {
        case kReleaseEvent:
            PostButtons(false);
            lookup.Release();
            PostButtons(true);
            break;
        case kRenewEvent:
            PostButtons(false);
            lookup.Renew();
            PostButtons(true);
            break;
        case kRefreshEvent:
            lookup.Report(report);
            PostReport(report);
            break;
        default:
            break;
        }
    }
}

void CIpInfoPage::PostReport(const IpReport& report) {
    m_box.Put(report);
    ::PostMessageA(m_hReportTarget, WM_IP_REPORT, 0, 0);
}

void CIpInfoPage::PostButtons(bool enable) { ::PostMessageA(m_hReportTarget, WM_IP_BUTTONS, enable ? 1 : 0, 0); }

void CIpInfoPage::CheckConnection() {
    m_bLinkUp = theDevice.QueryConnectionStatus();
    if (!m_bLinkUp) {
        for (int id : {IDC_IP_ADDRESS, IDC_IP_GATEWAY, IDC_IP_NETMASK}) SetTextIfChanged(m_hWnd, id, "");
        EnableButtons(false);
        return;
    }
    // The device library may have opened another adapter since: the worker
    // hears of a new text before the request.
    const char* adapterText = AdapterText(m_strAdapterName);
    if (m_strAdapterText != adapterText) {
        m_strAdapterText = adapterText;
        m_adapterBox.Put(m_strAdapterText);
    }
    // Testing the event takes a request still pending: while the worker is
    // busy this tick's request is dropped, and the next tick asks again.
    HANDLE refresh = m_events[kRefreshEvent].get();
    if (refresh && ::WaitForSingleObject(refresh, 0) != WAIT_OBJECT_0) ::SetEvent(refresh);
}

void CIpInfoPage::EnableButtons(bool enable) {
    m_release.EnableWindow(enable);
    m_renew.EnableWindow(enable);
}

LRESULT CIpInfoPage::OnTimer(WPARAM wp, LPARAM) {
    if (wp == kTimerId) CheckConnection();
    return 0;
}

LRESULT CIpInfoPage::OnWorkerReport(WPARAM, LPARAM) {
    IpReport report;
    if (!m_box.Take(report)) return 0;
    if (report.hostKnown) SetTextIfChanged(m_hWnd, IDC_IP_HOSTNAME, report.host);
    if (!report.adapterFound || !m_bLinkUp) return 0;
    SetTextIfChanged(m_hWnd, IDC_IP_ADDRESS, report.address);
    SetTextIfChanged(m_hWnd, IDC_IP_NETMASK, report.netmask);
    SetTextIfChanged(m_hWnd, IDC_IP_GATEWAY, report.gateway);
    EnableButtons(report.buttonsEnabled);
    return 0;
}

LRESULT CIpInfoPage::OnWorkerButtons(WPARAM wp, LPARAM) {
    // Release and Renew end with the buttons enabled, but not while the
    // link is down: the tick keeps them disabled then.
    EnableButtons(wp != 0 && m_bLinkUp);
    return 0;
}

void CIpInfoPage::OnRelease() {
    if (m_events[kReleaseEvent]) ::SetEvent(m_events[kReleaseEvent].get());
}

void CIpInfoPage::OnRenew() {
    if (m_events[kRenewEvent]) ::SetEvent(m_events[kRenewEvent].get());
}

void CIpInfoPage::OnSeriesChanged() {
    const int index = m_series.GetCurSel();
    if (index >= 0) m_graph.m_nSeriesMask = index + 1;
}

LRESULT CIpInfoPage::OnDestroyMessage(WPARAM wp, LPARAM lp) {
    // The controls still exist here; they go only after this message.
    StopWorker();
    return CPage::DefaultProc(WM_DESTROY, wp, lp);
}
