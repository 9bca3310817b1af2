#include "app/MonitorApp.h"

#include <winsock2.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/Help.h"
#include "device/WLANDevice.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "mainwnd/MonitorDlg.h"
#include "resource.h"

// The two objects that live for the whole run, constructed in this order.
CMonitorApp theApp;
CWLANDevice theDevice;

namespace {
const char kResourceModule[] = "res.dll";
const char kResourcePointerFile[] = "res.conf";
const size_t kMaxPointerLine = 1022;
}  // namespace

static HMODULE LoadModule(const char* file) { return ::LoadLibraryExA(file, nullptr, 0); }

HMODULE ChooseResourceModule(ModuleLoader load) {
    if (!load) load = &LoadModule;
    HMODULE module = load(kResourceModule);
    if (module) return module;

    std::FILE* pointer = std::fopen(kResourcePointerFile, "r");
    if (!pointer) return nullptr;
    char line[kMaxPointerLine + 2] = {};
    const bool read = std::fgets(line, static_cast<int>(kMaxPointerLine + 1), pointer) != nullptr;
    std::fclose(pointer);
    if (!read) return nullptr;
    line[std::strcspn(line, "\r\n")] = '\0';
    return line[0] ? load(line) : nullptr;
}

namespace {
// A module that loads but lacks the main window's template or the title would
// end the program before it shows anything: the modal window cannot be made,
// and an empty title finds any untitled window as the "other instance".
bool CarriesMainWindowResources(HMODULE module) {
    std::string title;
    return fw::res::DialogTemplate(IDD_MAIN, module) != nullptr && fw::res::TryLoadString(IDS_PRODUCT, title, module);
}
}  // namespace

HMODULE AcceptResourceModule(HMODULE module) {
    fw::Module owner(module);
    if (!owner || !CarriesMainWindowResources(owner.get())) return nullptr;
    return owner.release();
}

bool ShowOtherInstance() {
    const std::string title = fw::res::String(IDS_PRODUCT);
    HWND other = ::FindWindowA(nullptr, title.c_str());
    if (!other) return false;
    ::ShowWindow(other, SW_SHOWNA);
    return true;
}

BOOL CMonitorApp::InitInstance() {
    m_hResModule = AcceptResourceModule(ChooseResourceModule());
    if (m_hResModule) fw::res::SetModule(m_hResModule);

    if (ShowOtherInstance()) ::ExitProcess(0);

    WSADATA wsa;
    ::WSAStartup(0x0101, &wsa);

    ControlZeroConfigService(false);
    ReleaseAdapterFromZeroConfig();

    {
        auto mainWindow = std::make_unique<CMonitorDlg>();
        m_pMainWnd = mainWindow.get();
        mainWindow->DoModal();
        m_pMainWnd = nullptr;
    }

    if (m_hResModule) {
        fw::res::SetModule(nullptr);
        ::FreeLibrary(m_hResModule);
        m_hResModule = nullptr;
    }
    ::WSACleanup();
    ControlZeroConfigService(true);
    return FALSE;
}

bool CMonitorApp::OnCommand(UINT id) {
    if (id != IDC_HELP_BUTTON) return false;
    OpenHelpFile(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
    return true;
}
