#pragma once

#include <windows.h>

// Labels `count` controls of `dialog` from the string table. A string that
// begins with "none" hides its control (and the partner control, when
// `partnerIds` is given) instead; a string that is missing leaves the
// control as the template made it.
void LoadControlLabels(HWND dialog, const UINT* stringIds, const UINT* controlIds, const UINT* partnerIds, int count);
