// What a page may ask of the main window that holds it. The pages reach the
// main window only through this, never through its class.
#pragma once

#include <string>

struct SiteInfo;

class IPageHost {
public:
    // Brings tab `tab` (0 Configuration ... 4 Version Information) to the front.
    virtual void ShowTab(int tab) = 0;
    // The network at `index` of the last survey, or null; the record belongs
    // to the device library and is valid until the next scan.
    virtual const SiteInfo* SurveyedNetwork(unsigned index) = 0;
    // The profile just applied: the tray marks it, the link tab comes forward.
    virtual void ProfileApplied(const std::string& name) = 0;

    enum { kTabConfig = 0, kTabLink, kTabIp, kTabSurvey, kTabVersion };

protected:
    ~IPageHost() = default;
};
