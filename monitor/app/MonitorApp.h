// The application object of the monitor and the start-up helpers it uses.
#pragma once

#include <windows.h>

#include "framework/App.h"

class CWLANDevice;

class CMonitorApp : public fw::CAppBase {
public:
    CMonitorApp() = default;

    // The whole run: resource module, single instance, zero-configuration
    // service, the modal main window, and the tidy-up after it. Returns
    // FALSE: the process then ends.
    BOOL InitInstance() override;
    // The Help button's command arrives here when the window passes it on.
    bool OnCommand(UINT id) override;

    // The resource module chosen at start, or null for the program's own.
    HMODULE m_hResModule = nullptr;
};

extern CMonitorApp theApp;
extern CWLANDevice theDevice;

// Loads a module by file name; the default is LoadLibraryExA with the
// normal search order (the program's folder first).
using ModuleLoader = HMODULE (*)(const char* file);

// Loads "res.dll", else the module named on the first line of "res.conf"
// (at most 1022 characters of it); null when neither loads.
HMODULE ChooseResourceModule(ModuleLoader load = nullptr);

// Returns `module` if it carries what the main window cannot do without: its
// dialog template and the product title, which is also the single-instance
// key. Otherwise releases the module and returns null, so that the program's
// own resources serve, as when no module loads.
HMODULE AcceptResourceModule(HMODULE module);

// Stops (start false) or starts (start true) the wireless zero-configuration
// service "WZCSVC"; a stop waits up to 5 s for the service to confirm.
void ControlZeroConfigService(bool start);

// Clears bit 0x8000 ("enabled") of the adapter's per-interface "ControlFlags"
// in the zero-configuration service's settings, when that value is a 4-byte
// REG_DWORD; a value of any other type or size is left alone. The adapter is
// the network card whose description is string 20, or the description that
// the device library gives of the adapter it opens (app/AdapterText.h).
void ReleaseAdapterFromZeroConfig();

// The "ServiceName" of the first network card whose "Description" equals
// `description`, or null. The text lives in a process-wide buffer that the
// next call overwrites.
const char* FindAdapterServiceName(const char* description);

// If a window titled with the product name exists, shows it without
// activating it and returns true.
bool ShowOtherInstance();
