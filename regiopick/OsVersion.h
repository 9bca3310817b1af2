// Which Windows this is, as far as the adapter's registry settings go.
#pragma once

#include <windows.h>

namespace regiopick {

enum class OsClass {
    Nt5,          // the adapter class below Control\Class
    Win9x,        // the adapter class below Services\Class\Net
    Unsupported,  // Windows 95 and the first edition of Windows 98
    Unknown,      // an NT older than 2000: no adapter class it would find
};

OsClass ClassifyOs(const OSVERSIONINFOA& info);
// False when the system answers neither structure size.
bool DetectOs(OsClass& os);
// Below HKEY_LOCAL_MACHINE; null for an unsupported system.
const char* AdapterClassKey(OsClass os);
// Windows 98 and Me have no device installer that can restart the adapter.
bool IsWin98OrMe();

}  // namespace regiopick
