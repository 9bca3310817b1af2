// The program's one dialog: the country is chosen there, and closing it in
// any way applies the choice.
#pragma once

#include <windows.h>

namespace regiopick {

// Runs the dialog until the choice has been applied or the system turned
// out to be one the program does not support.
void RunCountryDialog(HINSTANCE instance);

}  // namespace regiopick
