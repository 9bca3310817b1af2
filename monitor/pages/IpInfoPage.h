// The IP information page (tab 2): the computer's host name and the
// adapter's address, netmask and gateway as the IP helper reports them,
// Release and Renew of the DHCP lease, and the throughput graph.
//
// The IP helper can take its time, so a worker thread of the page asks it.
// The GUI thread only signals the worker (four auto-reset events); the
// worker never touches a window: it posts what it found, and the page writes
// its controls on the GUI thread. The adapter text goes to the worker the
// same way, through a locked box.
#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include <string>
#include <vector>

#include "controls/IconButton.h"
#include "controls/ThroughputGraph.h"
#include "framework/Controls.h"
#include "framework/Raii.h"
#include "pages/Page.h"

// The IP helper entry points the worker uses, replaceable so that tests can
// watch the calls and alter what the system reports.
using GetAdaptersInfoFunction = DWORD(WINAPI*)(PIP_ADAPTER_INFO adapters, PULONG size);
using IpLeaseFunction = DWORD(WINAPI*)(PIP_ADAPTER_INDEX_MAP adapter);
extern GetAdaptersInfoFunction g_pfnGetAdaptersInfo;
extern IpLeaseFunction g_pfnIpReleaseAddress;
extern IpLeaseFunction g_pfnIpRenewAddress;

// What one refresh found, in fixed buffers: a pass allocates nothing once
// its adapter buffers have grown to the list's size.
struct IpReport {
    bool hostKnown = false;      // gethostname answered
    char host[101] = {};
    bool adapterFound = false;   // the adapter is in the IP helper's list
    char address[17] = {};
    char netmask[17] = {};
    char gateway[17] = {};
    bool buttonsEnabled = false; // the DHCP rule for Release and Renew
};

// The worker's dealings with the IP helper: finds the adapter whose
// description contains a text, reads its configuration, releases and
// renews its lease. Used on the worker thread only.
class CIpLookup {
public:
    CIpLookup(const std::string& adapterText, bool win9xFamily);

    // Whether GetVersionExA reports a Windows 9x-family system.
    static bool IsWin9xFamily();

    // Another adapter text: the next Find looks for that adapter.
    void SetAdapterText(const std::string& adapterText);

    // Looks the adapter up (once per request); true when the IP helper
    // lists it now. The adapter's interface index is kept from the last
    // lookup that found it.
    bool Find();
    // The host name and, when the last Find succeeded, the adapter's first
    // address, mask and gateway and whether Release and Renew are offered:
    // always on a 9x-family system, else only with DHCP.
    void Report(IpReport& report) const;
    // False when there was no index map for the adapter to act on.
    bool Release();
    bool Renew();

    // The adapter's index map from the last Find, when there was one.
    const IP_ADAPTER_INDEX_MAP* IndexMap() const { return m_bHaveMap ? &m_map : nullptr; }

private:
    bool ReadAdapters();
    bool ReadIndexMap();

    std::string m_strAdapterText;
    bool m_bWin9x;
    bool m_bHaveIndex = false;
    DWORD m_nIndex = 0;
    // The adapter of the last successful Find (points into m_adapters).
    const IP_ADAPTER_INFO* m_pAdapter = nullptr;
    bool m_bHaveMap = false;
    IP_ADAPTER_INDEX_MAP m_map = {};
    std::vector<char> m_adapters;
    std::vector<char> m_interfaces;
};

class CIpInfoPage : public CPage {
public:
    CIpInfoPage();
    ~CIpInfoPage() override;

    // The requests the worker waits for, in this order.
    enum Event { kReleaseEvent = 0, kRenewEvent, kQuitEvent, kRefreshEvent, kEventCount };
    static constexpr UINT_PTR kTimerId = 1;

    // Not associated: blanks the address fields and disables the buttons.
    // Associated: asks the worker for a refresh, unless one is still pending.
    void CheckConnection();

    CThroughputGraph& Graph() { return m_graph; }
    // Whether the worker thread runs.
    bool WorkerRunning() const { return static_cast<bool>(m_thread); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnDestroyMessage(WPARAM wp, LPARAM lp);
    LRESULT OnWorkerReport(WPARAM wp, LPARAM lp);
    LRESULT OnWorkerButtons(WPARAM wp, LPARAM lp);
    void OnRelease();
    void OnRenew();
    void OnSeriesChanged();
    void LoadSeriesNames();
    void EnableButtons(bool enable);

    void StartWorker();
    // Ends the worker and waits for it before the events are closed.
    void StopWorker();
    static DWORD WINAPI IpWorker(LPVOID page);
    void RunWorker();
    // Worker side: hands a report to the page (a lock, no window call).
    void PostReport(const IpReport& report);
    void PostButtons(bool enable);

    // Holds the newest value handed between the worker and the GUI thread.
    template <typename T>
    class CBox {
    public:
        CBox() { ::InitializeCriticalSection(&m_lock); }
        ~CBox() { ::DeleteCriticalSection(&m_lock); }
        CBox(const CBox&) = delete;
        CBox& operator=(const CBox&) = delete;
        void Put(const T& value) {
            ::EnterCriticalSection(&m_lock);
            m_value = value;
            m_bFresh = true;
            ::LeaveCriticalSection(&m_lock);
        }
        // False (and `value` untouched) when nothing came since the last Take.
        bool Take(T& value) {
            ::EnterCriticalSection(&m_lock);
            const bool fresh = m_bFresh;
            if (fresh) value = m_value;
            m_bFresh = false;
            ::LeaveCriticalSection(&m_lock);
            return fresh;
        }

    private:
        CRITICAL_SECTION m_lock;
        T m_value = T();
        bool m_bFresh = false;
    };

    fw::CComboBox m_series;
    CThroughputGraph m_graph;
    CIconButton m_renew;
    CIconButton m_release;
    // The buttons borrow them: destroyed after the window (see the destructor).
    fw::Icon m_renewIcon;
    fw::Icon m_releaseIcon;

    // String 20, read once: the worker's passes load no resources.
    std::string m_strAdapterName;
    // What the worker looks for: string 20, or the device library's
    // description of the adapter it opened. Handed to the worker through
    // m_adapterBox whenever it changes.
    std::string m_strAdapterText;
    // The link as the last check found it: a worker's answer that arrives
    // after the link went down must not fill the fields again.
    bool m_bLinkUp = false;

    fw::Handle m_events[kEventCount];
    fw::Handle m_thread;
    // Where the worker posts; fixed before it starts.
    HWND m_hReportTarget = nullptr;
    CBox<IpReport> m_box;
    CBox<std::string> m_adapterBox;
};
