// The version information page (tab 4): the adapter driver's version, the
// program's own version and build date, the maker's lines and the support
// address. The two version lines are read again whenever the adapter comes
// or goes, which the page checks every five seconds.
#pragma once

#include <windows.h>

#include "controls/HyperlinkLabel.h"
#include "pages/Page.h"

// Whether the adapter was open at the page's previous check. False at start,
// so the first check that finds the adapter open shows its driver version.
extern bool g_bVersionWasOpen;

class CVersionInfoPage : public CPage {
public:
    static constexpr UINT_PTR kOpenCheckTimer = 1;
    static constexpr UINT kOpenCheckPeriodMs = 5000;

    CVersionInfoPage();

    // The module whose version block the application line shows. Null, the
    // default, is the program itself; the page does not own the module.
    void SetVersionModule(HMODULE module) { m_hVersionModule = module; }

    // Application line: ProductVersion and ProductDate of the last listed
    // translation that has a ProductVersion. Driver line: the adapter's
    // driver version. A module without a version block changes neither.
    void UpdateVersionInfo();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    LRESULT OnTimer(WPARAM wp, LPARAM lp);

    CHyperlinkLabel m_link;
    HMODULE m_hVersionModule = nullptr;
};
