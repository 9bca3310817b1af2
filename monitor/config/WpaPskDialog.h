// The WPA-PSK dialog (template 170), shown by the security sub-page for
// authentication type 7: the pre-shared key, which goes to the adapter as
// text (8 to 63 characters).
#pragma once

#include <string>

#include "config/KeyDialog.h"

class CWpaPskDialog : public CKeyDialog {
public:
    CWpaPskDialog();

    bool StoreToProfile(Profile& profile) override;
    void LoadFromProfile(const Profile& profile) override;
    bool ValidateKeys() override;

    static constexpr int kMinKey = 8;
    static constexpr int kMaxKey = 63;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    void OnKeyChanged();
    LRESULT OnShowWindow(WPARAM wp, LPARAM lp);

    std::string m_strPsk;
};
