// The text the monitor finds its adapter by in the system's lists (the IP
// helper's adapters, the network cards of the zero-configuration hand-off)
// and shows in the adapter list.
//
// A device library that serves adapters of any name says which one Open
// chose through its optional description export; with a library that lacks
// it (the simulated adapter) the text is the adapter name, string 20.
#pragma once

#include <string>

#include "device/WLANDevice.h"

class CWLANDevice;

// The library's description export: looked up once in the loaded
// nicport.dll, null where the library has none. Tests may set it.
extern NicportAdapterDescriptionFn g_pfnAdapterDescription;

// The library's description of the open adapter, or null (no export,
// adapter closed, or an empty text). Valid until the next call into the
// library.
const char* LibraryAdapterDescription();

// The description where the library gives one, else `adapterName`; the
// pointer is valid while both are.
const char* AdapterText(const std::string& adapterName);

// Before the main window opens the adapter (the hand-off at start-up): a
// library with the export is asked once which adapter it would open, and
// the adapter is closed again. Without the export the device is not
// touched and the result is `adapterName`.
std::string AdapterTextBeforeOpen(CWLANDevice& device, const std::string& adapterName);
