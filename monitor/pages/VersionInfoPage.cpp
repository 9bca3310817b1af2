#include "pages/VersionInfoPage.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/ControlLabels.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Resources.h"
#include "resource.h"

bool g_bVersionWasOpen = false;

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr size_t kDateColumns = 20;
// The library keeps the driver version in a 64-byte buffer of its object:
// never read further than that, terminated or not.
constexpr size_t kDriverVersionBytes = 64;

// "%s %20s" without a fixed buffer, so that no version text is cut.
std::string ApplicationLine(const std::string& version, const std::string& date) {
    std::string line = version + ' ';
    if (date.size() < kDateColumns) line.append(kDateColumns - date.size(), ' ');
    return line + date;
}

// A string value of the version block under one translation. The length the
// block gives bounds the text: a value need not be terminated within it.
bool QueryString(std::vector<char>& block, WORD language, WORD codePage, const char* key, std::string& value) {
    char path[96];
    std::snprintf(path, sizeof(path), "\\StringFileInfo\\%04x%04x\\%s", language, codePage, key);
    char* text = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &length) || !text)
        return false;
    value.assign(text, ::strnlen(text, length));
    return true;
}

}  // namespace

BEGIN_MESSAGE_TABLE(CVersionInfoPage, CPage)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()

CVersionInfoPage::CVersionInfoPage() : CPage(IDD_VERSION_PAGE, IDS_TAB_VERSION) {}

void CVersionInfoPage::DoDataExchange(fw::CDataExchange& dx) { fw::DDX_Control(dx, IDC_VER_LINK, m_link); }

BOOL CVersionInfoPage::OnInitDialog() {
    CPage::OnInitDialog();
    m_link.SetLink(fw::res::String(IDS_SUPPORT_URL), kLinkColour);
    UpdateVersionInfo();

    // The link is labelled with the address it opens, so that a resource
    // module changes both at once.
    static const UINT strings[] = {IDS_VER_COMPANY, IDS_SUPPORT_URL, IDS_VER_LEGAL, IDS_VER_DRIVER, IDS_VER_APP};
    static const UINT controls[] = {IDC_VER_COMPANY, IDC_VER_LINK, IDC_VER_LEGAL, IDC_VER_DRIVER_LABEL,
                                    IDC_VER_APP_LABEL};
    static const UINT partners[] = {0, 0, 0, IDC_VER_DRIVER, IDC_VER_APP};
    static_assert(sizeof(strings) == sizeof(controls) && sizeof(controls) == sizeof(partners), "label rows");
    LoadControlLabels(m_hWnd, strings, controls, partners, static_cast<int>(sizeof(strings) / sizeof(strings[0])));

    SetTimer(kOpenCheckTimer, kOpenCheckPeriodMs);
    return TRUE;
}

LRESULT CVersionInfoPage::OnTimer(WPARAM wp, LPARAM) {
    if (wp != kOpenCheckTimer) return 0;
    // Only a change of the open state reads the versions again: the tick
    // itself loads nothing.
    const bool open = theDevice.IsOpen();
    if (open != g_bVersionWasOpen) UpdateVersionInfo();
    g_bVersionWasOpen = open;
    return 0;
}

void CVersionInfoPage::UpdateVersionInfo() {
    char path[MAX_PATH];
    const DWORD pathLength = ::GetModuleFileNameA(m_hVersionModule, path, sizeof(path));
    if (pathLength == 0 || pathLength >= sizeof(path)) return;  // a cut path would name another file

    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &unused);
    if (size == 0) return;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data())) return;

    void* translations = nullptr;
    UINT bytes = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translations, &bytes) || !translations)
        bytes = 0;
    // Whole 32-bit entries only: a trailing odd word is not a translation.
    for (UINT at = 0; at + 2 * sizeof(WORD) <= bytes; at += 2 * sizeof(WORD)) {
        WORD entry[2];
        std::memcpy(entry, static_cast<const char*>(translations) + at, sizeof(entry));
        std::string version, date;
        if (!QueryString(block, entry[0], entry[1], "ProductVersion", version)) continue;
        QueryString(block, entry[0], entry[1], "ProductDate", date);
        ::SetDlgItemTextA(m_hWnd, IDC_VER_APP, ApplicationLine(version, date).c_str());
    }

    const char* driver = theDevice.GetDriverVersion();
    const std::string driverText = driver ? std::string(driver, ::strnlen(driver, kDriverVersionBytes)) : std::string();
    ::SetDlgItemTextA(m_hWnd, IDC_VER_DRIVER, driverText.c_str());
}
