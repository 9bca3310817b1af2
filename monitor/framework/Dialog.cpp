#include "Dialog.h"

#include "DialogItemLists.h"
#include "Resources.h"

namespace fw {

namespace {
// The dialog being created on this thread: messages that arrive before
// WM_INITDIALOG (WM_SETFONT, WM_NCCREATE...) still find their object.
thread_local CDialog* t_creating = nullptr;

// Messages whose dialog-procedure result is the value itself rather than a
// TRUE/FALSE "handled" flag with the value in DWLP_MSGRESULT.
bool ReturnsValueDirectly(UINT msg) {
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
}  // namespace

BEGIN_MESSAGE_TABLE(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOkCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_TABLE()

CDialog::~CDialog() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        Detach();
        ::DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent) {
    const DLGTEMPLATE* tmpl = res::DialogTemplate(m_nTemplateId);
    if (!tmpl) return -1;
    m_bModal = true;
    t_creating = this;
    INT_PTR result = ::DialogBoxIndirectParamA(res::Module(), tmpl, parent, &CDialog::DialogProc,
                                               reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    m_bModal = false;
    return result;
}

bool CDialog::Create(HWND parent) {
    const DLGTEMPLATE* tmpl = res::DialogTemplate(m_nTemplateId);
    if (!tmpl || m_hWnd) return false;
    m_bModal = false;
    t_creating = this;
    HWND hwnd = ::CreateDialogIndirectParamA(res::Module(), tmpl, parent, &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    return hwnd != nullptr;
}

void CDialog::DestroyWindow() {
    if (!m_hWnd) return;
    if (m_bModal) ::EndDialog(m_hWnd, IDCANCEL);
    else ::DestroyWindow(m_hWnd);
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool save) {
    CDataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    // A refused value keeps the dialog open on the control at fault.
    if (!UpdateData(true)) return;
    if (m_bModal) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    if (m_bModal) EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        QuietScope quiet(*this);
        ApplyDialogItemLists(m_hWnd, res::Module(), m_nTemplateId);
        return OnInitDialog();
    }
    // A control's change notification while the dialog fills its controls
    // itself goes to default processing only.
    if (msg == WM_COMMAND && lp != 0 && HIWORD(wp) != 0 && IsQuiet()) return DefaultProc(msg, wp, lp);
    return CWnd::WindowProc(msg, wp, lp);
}

LRESULT CDialog::DefaultProc(UINT, WPARAM, LPARAM) {
    m_bDefaultRequested = true;
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (!self) {
        self = (msg == WM_INITDIALOG) ? reinterpret_cast<CDialog*>(lp) : t_creating;
        if (!self) return FALSE;
        self->Attach(hwnd);
        t_creating = nullptr;
    }
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnWindowGone();
        return FALSE;
    }
    // Handlers may send messages to their own window; each message keeps
    // its own "default requested" answer.
    const bool outer = self->m_bDefaultRequested;
    self->m_bDefaultRequested = false;
    LRESULT result = self->WindowProc(msg, wp, lp);
    const bool wantsDefault = self->m_bDefaultRequested;
    self->m_bDefaultRequested = outer;
    if (wantsDefault) return FALSE;  // the dialog manager does its default processing
    if (ReturnsValueDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
