#include "app/Help.h"

#include <algorithm>
#include <cctype>

#include "framework/Raii.h"

HtmlHelpFunction g_pfnHtmlHelpOverride = nullptr;

namespace {
const UINT kHhDisplayIndex = 0x0002;  // HH_DISPLAY_INDEX
}

std::string HelpFilePath() {
    char path[255] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return std::string();
    std::string file(path, length);
    std::transform(file.begin(), file.end(), file.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (size_t at = file.find(".exe"); at != std::string::npos; at = file.find(".exe", at + 4))
        file.replace(at, 4, ".chm");
    return file;
}

void OpenHelpFile(HWND owner) {
    const std::string file = HelpFilePath();
    if (file.empty()) return;
    if (g_pfnHtmlHelpOverride) {
        g_pfnHtmlHelpOverride(owner, file.c_str(), kHhDisplayIndex, 0);
        return;
    }
    // Kept loaded until exit: the help viewer's windows live in this module.
    static fw::Module helpModule(::LoadLibraryA("hhctrl.ocx"));
    if (!helpModule) return;
    auto htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(helpModule.get(), "HtmlHelpA")));
    if (htmlHelp) htmlHelp(owner, file.c_str(), kHhDisplayIndex, 0);
}
