// Restarting the adapter through the device installer, so that its driver
// reads the new settings.
#pragma once

#include <windows.h>

namespace regiopick {

// Disables the first present device that carries the adapter's description
// and enables it again two seconds later. False when there is no such device.
bool RestartAdapter(HWND parent);

}  // namespace regiopick
