#include "SiteSurvey.h"

#include "BssList.h"

namespace nicport {
namespace {
// Drivers must finish a scan within four seconds.
constexpr DWORD kScanLimitMs = 4000;
// More networks than this are not kept.
constexpr size_t kMaxSites = 256;
}  // namespace

void CSiteSurvey::Clear() {
    m_bRunning = false;
    m_bRead = false;
    m_sites.clear();
}

bool CSiteSurvey::Start(CWlanSession& session) {
    Clear();
    if (!session.Usable() || !session.Fn().Scan) return false;
    m_nScansAtStart = session.ScansFinished();
    m_nStarted = ::GetTickCount();
    if (session.Note(session.Fn().Scan(session.Client(), &session.Interface(), nullptr, nullptr, nullptr)) !=
        ERROR_SUCCESS)
        return false;
    m_bRunning = true;
    return true;
}

bool CSiteSurvey::Ready(CWlanSession& session) {
    if (m_bRunning) {
        const bool finished =
            session.ScansFinished() != m_nScansAtStart || ::GetTickCount() - m_nStarted >= kScanLimitMs;
        if (!finished) return false;
        m_bRunning = false;
        Collect(session);
    }
    return m_bRead;
}

void CSiteSurvey::Collect(CWlanSession& session) {
    m_sites.clear();
    m_bRead = false;
    if (!session.Usable() || !session.Fn().GetNetworkBssList) return;
    WlanMemory<WLAN_BSS_LIST> list(session.Fn());
    if (session.Note(session.Fn().GetNetworkBssList(session.Client(), &session.Interface(), nullptr,
                                                    dot11_BSS_type_any, FALSE, nullptr, list.put())) != ERROR_SUCCESS ||
        !list)
        return;
    const CBssView view(list.get());
    const size_t count = view.Count() < kMaxSites ? view.Count() : kMaxSites;
    m_sites.reserve(count);
    for (size_t i = 0; i < count; ++i) m_sites.push_back(SiteFromEntry(view.Entry(i)));
    m_bRead = true;
}

SiteInfo* CSiteSurvey::Site(unsigned long index) {
    if (!m_bRead || index >= m_sites.size()) return nullptr;
    return &m_sites[index];
}

}  // namespace nicport
