// The security sub-page of the configuration page (template 217).
#pragma once

#include "config/SubPage.h"

class CSecurityPage : public CSubPage {
public:
    CSecurityPage();

    void LoadFromProfile(const Profile& profile) override;
    void StoreToProfile(Profile& profile) override;

    // Refills the authentication types for the common page's mode.
    void RebuildAuthList();
    // Shows the key dialog of the selected authentication type.
    void ShowKeyDialog();
};
