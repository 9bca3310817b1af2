#include "App.h"

namespace fw {

namespace {
CAppBase* g_app = nullptr;
}

CAppBase::CAppBase() { g_app = this; }

CAppBase::~CAppBase() {
    if (g_app == this) g_app = nullptr;
}

CAppBase* CAppBase::Current() { return g_app; }

bool CAppBase::OnCommand(UINT) { return false; }

int AppMessageBox(HWND owner, const std::string& text, UINT type) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    std::string caption = path;
    caption = caption.substr(caption.find_last_of("\\/") + 1);
    caption = caption.substr(0, caption.rfind('.'));
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

}  // namespace fw
