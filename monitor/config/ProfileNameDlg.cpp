#include "config/ProfileNameDlg.h"

#include <cstdio>
#include <utility>

#include "framework/App.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const char kDefaultProfile[] = "DEFAULT";

std::string StringOr(UINT id, const char* fallback) {
    std::string text;
    return fw::res::TryLoadString(id, text) && !text.empty() ? text : fallback;
}
}  // namespace

CProfileNameDlg::CProfileNameDlg(std::function<bool(const std::string&)> isTaken)
    : fw::CDialog(IDD_PROFILE_NAME), m_isTaken(std::move(isTaken)) {}

void CProfileNameDlg::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Text(dx, IDC_PROFILE_NAME, m_strName, kMaxNameChars);
}

void CProfileNameDlg::OnOK() {
    if (!UpdateData(true)) return;
    // An empty name and "DEFAULT" end the prompt and create nothing.
    if (!m_strName.empty() && m_strName != kDefaultProfile) {
        if (m_strName.find('\\') != std::string::npos) {
            Refuse(StringOr(IDS_PROFILE_NAME_INVALID, "A profile name cannot contain the character \\."));
            return;
        }
        if (m_isTaken && m_isTaken(m_strName)) {
            const std::string format =
                StringOr(IDS_PROFILE_NAME_TAKEN, "A profile named \"%s\" already exists. Please enter another name.");
            char text[512];
            // The format comes from a resource module: only one %s is honoured.
            if (format.find('%') == format.rfind('%') && format.find("%s") != std::string::npos)
                std::snprintf(text, sizeof(text), format.c_str(), m_strName.c_str());
            else std::snprintf(text, sizeof(text), "%s", format.c_str());
            Refuse(text);
            return;
        }
    }
    EndDialog(IDOK);
}

void CProfileNameDlg::Refuse(const std::string& reason) {
    fw::AppMessageBox(m_hWnd, reason, MB_OK | MB_ICONEXCLAMATION);
    HWND edit = GetDlgItem(IDC_PROFILE_NAME);
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
}
