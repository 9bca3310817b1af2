#include "app/AdapterText.h"

#include <windows.h>

#include <cstring>

NicportAdapterDescriptionFn g_pfnAdapterDescription = nullptr;

namespace {
bool g_bExportLookedUp = false;
// A description longer than this is not believed to end.
constexpr size_t kMaxDescription = 512;

NicportAdapterDescriptionFn DescriptionExport() {
    if (!g_bExportLookedUp) {
        g_bExportLookedUp = true;
        HMODULE library = ::GetModuleHandleA("nicport.dll");
        if (!g_pfnAdapterDescription && library)
            g_pfnAdapterDescription = reinterpret_cast<NicportAdapterDescriptionFn>(
                reinterpret_cast<void*>(::GetProcAddress(library, NICPORT_ADAPTER_DESCRIPTION_EXPORT)));
    }
    return g_pfnAdapterDescription;
}
}  // namespace

const char* LibraryAdapterDescription() {
    NicportAdapterDescriptionFn describe = DescriptionExport();
    if (!describe) return nullptr;
    const char* text = describe();
    return text && text[0] && strnlen(text, kMaxDescription) < kMaxDescription ? text : nullptr;
}

const char* AdapterText(const std::string& adapterName) {
    const char* description = LibraryAdapterDescription();
    return description ? description : adapterName.c_str();
}

std::string AdapterTextBeforeOpen(CWLANDevice& device, const std::string& adapterName) {
    if (!DescriptionExport()) return adapterName;
    int handle = 0;
    if (!device.Open(adapterName.c_str(), handle)) return adapterName;
    const std::string text = AdapterText(adapterName);
    device.Close();
    return text;
}
