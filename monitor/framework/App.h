// The application object: the one per process that the program's entry
// point runs, and the last stop of a command no window handled.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CWnd;

class CAppBase {
public:
    CAppBase();
    virtual ~CAppBase();
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;

    static CAppBase* Current();

    // The whole program; the result is the process exit code's truth value
    // in the usual sense (false: run no message loop of the application's own).
    virtual BOOL InitInstance() = 0;
    // A command that reached the application; true when it was handled.
    virtual bool OnCommand(UINT id);

    CWnd* m_pMainWnd = nullptr;
};

// A message box about the program rather than one window: its caption is
// the program's file name without the extension.
int AppMessageBox(HWND owner, const std::string& text, UINT type);

}  // namespace fw
