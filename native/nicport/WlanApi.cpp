#include "WlanApi.h"

namespace nicport {
namespace {
template <typename F>
void Resolve(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
}  // namespace

CWlanApi::~CWlanApi() {
    if (m_hModule) ::FreeLibrary(m_hModule);
}

bool CWlanApi::Load() {
    if (!m_hModule) {
        // By name, so the usual search order applies: a wlanapi.dll beside
        // the program (a test's stand-in) comes before the system's.
        m_hModule = ::LoadLibraryA("wlanapi.dll");
        if (!m_hModule) return false;
        Resolve(m_hModule, "WlanOpenHandle", m_fn.OpenHandle);
        Resolve(m_hModule, "WlanCloseHandle", m_fn.CloseHandle);
        Resolve(m_hModule, "WlanFreeMemory", m_fn.FreeMemory);
        Resolve(m_hModule, "WlanEnumInterfaces", m_fn.EnumInterfaces);
        Resolve(m_hModule, "WlanRegisterNotification", m_fn.RegisterNotification);
        Resolve(m_hModule, "WlanQueryInterface", m_fn.QueryInterface);
        Resolve(m_hModule, "WlanSetInterface", m_fn.SetInterface);
        Resolve(m_hModule, "WlanGetInterfaceCapability", m_fn.GetInterfaceCapability);
        Resolve(m_hModule, "WlanScan", m_fn.Scan);
        Resolve(m_hModule, "WlanGetNetworkBssList", m_fn.GetNetworkBssList);
        Resolve(m_hModule, "WlanSetProfile", m_fn.SetProfile);
        Resolve(m_hModule, "WlanConnect", m_fn.Connect);
    }
    return m_fn.OpenHandle && m_fn.CloseHandle && m_fn.FreeMemory && m_fn.EnumInterfaces;
}

}  // namespace nicport
