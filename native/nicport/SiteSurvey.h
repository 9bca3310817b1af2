// The site survey: a scan the service runs on its own, and the networks it
// found, copied into the library's records the moment the scan is seen
// finished, so that an index keeps naming the same network until the next
// scan.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "WLANDevice.h"
#include "WlanSession.h"

namespace nicport {

class CSiteSurvey {
public:
    // Asks for a scan and returns at once; false when the service refuses
    // (access denied, radio off, not supported), which leaves the survey
    // empty.
    bool Start(CWlanSession& session);
    // True once the scan has finished (the service said so, or 4 seconds
    // passed, the longest a scan may take) and its list could be read.
    bool Ready(CWlanSession& session);
    // The index-th network of the finished survey, or null.
    SiteInfo* Site(unsigned long index);
    void Clear();

private:
    void Collect(CWlanSession& session);

    bool m_bRunning = false;
    bool m_bRead = false;
    DWORD m_nStarted = 0;
    uint32_t m_nScansAtStart = 0;
    std::vector<SiteInfo> m_sites;
};

}  // namespace nicport
