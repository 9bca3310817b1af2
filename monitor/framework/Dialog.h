// CDialog: a dialog from a template of the current resource module, run
// modally (the main window) or created as a modeless child (the pages).
#pragma once

#include "DataExchange.h"
#include "Window.h"

namespace fw {

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_nTemplateId(templateId) {}
    ~CDialog() override;

    static const MessageTable* StaticMessageTable();

    // Modal run; returns the EndDialog result, or -1 when the template is
    // missing or the dialog could not be created.
    INT_PTR DoModal(HWND parent = nullptr);
    // Modeless creation (hidden unless the template says WS_VISIBLE).
    bool Create(HWND parent);
    // Ends a modal run, or destroys a modeless dialog.
    void DestroyWindow();
    void EndDialog(INT_PTR result);

    // Moves data between members and controls: false = show, true = take.
    // false when a value was refused: the user has been told why, the field
    // has the focus with its text selected, and the caller stops whatever
    // asked for the values rather than go on with what the members held.
    bool UpdateData(bool save);

    // While one of these lives, the controls' change notifications (EN_CHANGE,
    // CBN_SELCHANGE...) skip the dialog's handlers: filling controls from
    // code must not run the logic meant for the user's edits. Initialisation
    // always runs under one.
    class QuietScope {
    public:
        explicit QuietScope(CDialog& dialog) : m_dialog(dialog) { ++m_dialog.m_nQuietDepth; }
        ~QuietScope() { --m_dialog.m_nQuietDepth; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        CDialog& m_dialog;
    };
    bool IsQuiet() const { return m_nQuietDepth > 0; }

    UINT TemplateId() const { return m_nTemplateId; }
    bool IsModal() const { return m_bModal; }

protected:
    const MessageTable* GetMessageTable() const override { return StaticMessageTable(); }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Unhandled messages go to the dialog manager's own processing.
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // Return TRUE to let the dialog manager set the default focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnOkCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

    UINT m_nTemplateId;
    bool m_bModal = false;
    int m_nQuietDepth = 0;
    // True while a message is handled by DefaultProc, whose result then
    // tells the dialog procedure to fall through to the dialog manager.
    bool m_bDefaultRequested = false;
};

}  // namespace fw
