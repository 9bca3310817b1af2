// Regiopick: asks where the adapter is used and sets the driver up for that
// country. The dialog is the program; it reads no command line.
#include <windows.h>

#include "CountryDialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    regiopick::RunCountryDialog(instance);
    return 0;
}
