// Entry point: the application object runs the whole program.
#include <windows.h>
#include <commctrl.h>

#include "app/MonitorApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    theApp.InitInstance();
    return 0;
}
