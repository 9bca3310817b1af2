#include "OsVersion.h"

#include <cstring>

namespace regiopick {

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "the extended structure asked first");
static_assert(sizeof(OSVERSIONINFOA) == 148, "the basic structure, for systems that refuse the extended one");

OsClass ClassifyOs(const OSVERSIONINFOA& info) {
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT:
        // Every NT since 2000 keeps network adapters in the same class key.
        return info.dwMajorVersion >= 5 ? OsClass::Nt5 : OsClass::Unknown;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMinorVersion == 10)  // 98: only the second edition (" A") is supported
            return std::strncmp(info.szCSDVersion, " A", 2) == 0 ? OsClass::Win9x : OsClass::Unsupported;
        return info.dwMinorVersion != 0 ? OsClass::Win9x : OsClass::Unsupported;
    default:
        return OsClass::Nt5;
    }
}

bool DetectOs(OsClass& os) {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
        os = ClassifyOs(*reinterpret_cast<OSVERSIONINFOA*>(&extended));
        return true;
    }
    OSVERSIONINFOA basic = {};
    basic.dwOSVersionInfoSize = sizeof(basic);
    if (!::GetVersionExA(&basic)) return false;
    os = ClassifyOs(basic);
    return true;
}

const char* AdapterClassKey(OsClass os) {
    switch (os) {
    case OsClass::Nt5:
        return "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
    case OsClass::Win9x:
        return "System\\CurrentControlSet\\Services\\Class\\Net";
    case OsClass::Unknown:
        return "UnKnown";
    default:
        return nullptr;
    }
}

bool IsWin98OrMe() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(&info) || info.dwMajorVersion == 0) return true;
    return info.dwMajorVersion == 4 && (info.dwMinorVersion == 10 || info.dwMinorVersion == 90);
}

}  // namespace regiopick
