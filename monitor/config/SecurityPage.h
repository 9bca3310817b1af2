// The security sub-page of the configuration page (template 217): the
// Security switch, the authentication type (WEP, and WPA-PSK in
// infrastructure mode) and the key dialog of that type below them.
//
// The page writes the profile's authType itself and leaves the key fields
// to the key dialogs. It also decides for them whether the configuration
// page may save or apply: not while security is on and the key entry is
// incomplete.
#pragma once

#include "config/KeyDialog.h"
#include "config/SubPage.h"
#include "config/WepKeyDialog.h"
#include "config/WpaPskDialog.h"
#include "controls/IconButton.h"
#include "framework/Controls.h"
#include "framework/Raii.h"

class CSecurityPage : public CSubPage, public IKeyDialogHost {
public:
    CSecurityPage();

    void LoadFromProfile(const Profile& profile) override;
    bool StoreToProfile(Profile& profile) override;

    // Refills the authentication types for the common page's mode and
    // selects WEP.
    void RebuildAuthList();
    // Shows the key dialog of the selected authentication type.
    void ShowKeyDialog();
    // Save and Apply are refused only while security is on and the key
    // entry is incomplete.
    void EnableSaveApply(bool keyValid) override;

    bool IsSecurityOn() const { return m_securityButton.GetState() != 0; }
    CWepKeyDialog& WepDialog() { return m_wepDialog; }
    CWpaPskDialog& WpaPskDialog() { return m_wpaDialog; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    void SetUpSecurityButton();
    void CreateKeyDialogs();
    void ShowTypeList(bool show);
    void HideCurrentKeyDialog();
    CKeyDialog* KeyDialogFor(DWORD_PTR authType) const;
    void SecuritySwitched();

    void OnSecurityClicked();
    void OnTypeChanged();
    LRESULT OnSiteChosen(WPARAM wp, LPARAM lp);

    CIconButton m_securityButton;
    fw::CComboBox m_typeList;
    int m_nTypeIndex = 0;
    CWepKeyDialog m_wepDialog;
    CWpaPskDialog m_wpaDialog;
    // Which key dialog belongs to which authType value.
    struct KeyDialogRow {
        CKeyDialog* dialog;
        int32_t authType;
    };
    KeyDialogRow m_keyDialogs[2] = {};
    CKeyDialog* m_pCurrent = nullptr;
    fw::Icon m_offIcon;
    fw::Icon m_onIcon;
};
