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

}  // namespace fw
