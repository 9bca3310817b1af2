// Messages between the parts of the monitor; all are sent to the
// application's main window, which relays them.
#pragma once

#include <windows.h>

// The survey page refilled its list: the configuration page refreshes its
// network names. No parameters.
constexpr UINT WM_SITES_UPDATED = 0x402;
// A network was double-clicked on the survey page. wParam: survey index.
constexpr UINT WM_SITE_CHOSEN = 0x403;
// The configuration page applied a profile. No parameters.
constexpr UINT WM_PROFILE_APPLIED = 0x404;
// Posted by the tray's double-click hook: show the main window.
constexpr UINT WM_TRAY_SHOW = 0x8005;
