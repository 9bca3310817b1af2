#include "CountryDialog.h"

#include <cstring>
#include <string>
#include <vector>

#include "Adapters.h"
#include "CountryTable.h"
#include "OsVersion.h"
#include "Restart.h"
#include "resource.h"

namespace regiopick {

namespace {

const char kManagerTitle[] = "Trellon Wireless Card Manager";
const char kNoVersionMessage[] = "Unable to determine Operating System.";
const char kUnsupportedMessage[] =
    "This software does not support Windows 95 or Windows 98 First Edition.\n Please upgrade your operating system "
    "to install.";
const char kNoCountriesMessage[] = "Unable to read the list of countries.";
// Time for the closed card manager to let go of the adapter.
constexpr DWORD kSettleMs = 500;
// Room for the longest string of the string table.
constexpr int kStringSize = 4096;

struct DialogState {
    HINSTANCE instance = nullptr;
    OsClass os = OsClass::Unsupported;
    CountryCodes codes;
    bool applying = false;
};

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

void AddAboutEntry(HWND dialog, HINSTANCE instance) {
    char text[256];
    if (::LoadStringA(instance, IDS_ABOUTBOX, text, sizeof(text)) <= 0) return;
    if (HMENU menu = ::GetSystemMenu(dialog, FALSE)) {
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
    }
}

void SetIcons(HWND dialog, HINSTANCE instance) {
    // Shared icons belong to the system: nothing to destroy at the end.
    const struct {
        WPARAM which;
        int width, height;
    } kinds[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& kind : kinds) {
        HANDLE icon = ::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                   ::GetSystemMetrics(kind.width), ::GetSystemMetrics(kind.height), LR_SHARED);
        ::SendMessageA(dialog, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon));
    }
}

// Fills the list from the string table; false, with nothing filled, when
// the table there cannot be applied.
bool FillCountries(HWND dialog, DialogState& state) {
    char text[kStringSize] = {};
    ::LoadStringA(state.instance, IDS_COUNTRY_NAMES, text, sizeof(text));
    const std::vector<std::string> names = SplitPieces(text, kMaxCountries);
    std::memset(text, 0, sizeof(text));
    ::LoadStringA(state.instance, IDS_COUNTRY_CODES, text, sizeof(text));
    const std::vector<std::string> codes = SplitPieces(text, kMaxCountries);
    if (!IsUsableTable(names, codes)) return false;

    HWND list = ::GetDlgItem(dialog, IDC_COUNTRY_LIST);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    state.codes.Load(codes);
    ::SendMessageA(list, CB_SETCURSEL, kDefaultPosition, 0);
    return true;
}

// Ends the program before the dialog shows, with the message the user needs.
void Refuse(HWND dialog, const char* message) {
    ::MessageBoxA(dialog, message, nullptr, MB_OK | MB_ICONSTOP);
    ::EndDialog(dialog, 0);
}

void InitDialog(HWND dialog, DialogState& state) {
    AddAboutEntry(dialog, state.instance);
    SetIcons(dialog, state.instance);
    if (!DetectOs(state.os)) return Refuse(dialog, kNoVersionMessage);
    if (state.os == OsClass::Unsupported) return Refuse(dialog, kUnsupportedMessage);
    // Without a country to choose, the installation must not be marked
    // finished as if one had been configured.
    if (!FillCountries(dialog, state)) return Refuse(dialog, kNoCountriesMessage);
}

void Apply(HWND dialog, DialogState& state) {
    // While WM_CLOSE is out, messages sent to us get in; a second cancel
    // among them must not apply the choice again.
    if (state.applying) return;
    state.applying = true;

    const int position = static_cast<int>(::SendDlgItemMessageA(dialog, IDC_COUNTRY_LIST, CB_GETCURSEL, 0, 0));
    ::ShowWindow(dialog, SW_HIDE);
    // The card manager holds the adapter open while it runs.
    if (HWND manager = ::FindWindowA(nullptr, kManagerTitle)) ::SendMessageA(manager, WM_CLOSE, 0, 0);
    const ChannelRange channels = ChannelsAt(position);
    ::Sleep(kSettleMs);

    const char* classKey = AdapterClassKey(state.os);
    const char* code = state.codes.At(position);
    // Without a country (no selection at all) nothing is claimed: no country,
    // no channels, and no installation marked finished.
    if (!*code) {
        ::EndDialog(dialog, IDCANCEL);
        return;
    }
    ForEachAdapter(classKey, [&](int instance) { WriteCountry(classKey, instance, code, channels); });
    ForEachAdapter(classKey, [&](int instance) { WriteSwitch(classKey, instance, "radioEnable"); });
    if (!IsWin98OrMe()) RestartAdapter(dialog);
    ForEachAdapter(classKey, [&](int instance) { WriteSwitch(classKey, instance, "InstallFinish"); });
    ::EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK CountryDialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dialog, DWLP_USER, lp);
        InitDialog(dialog, *reinterpret_cast<DialogState*>(lp));
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) != IDM_ABOUTBOX || !state) return FALSE;
        ::DialogBoxParamA(state->instance, MAKEINTRESOURCEA(IDD_ABOUTBOX), dialog, &AboutProc, 0);
        return TRUE;
    case WM_COMMAND:
        // The one button carries the cancel identifier, so the button, Esc
        // and the close box all end here and apply the choice.
        if (LOWORD(wp) != IDCANCEL || !state) return FALSE;
        Apply(dialog, *state);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void RunCountryDialog(HINSTANCE instance) {
    DialogState state;
    state.instance = instance;
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_COUNTRY_SELECT), nullptr, &CountryDialogProc,
                      reinterpret_cast<LPARAM>(&state));
}

}  // namespace regiopick
