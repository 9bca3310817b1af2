// The advanced settings sub-page of the configuration page (template 219).
#pragma once

#include "config/SubPage.h"

class CAdvancedPage : public CSubPage {
public:
    CAdvancedPage();

    void LoadFromProfile(const Profile& profile) override;
    void StoreToProfile(Profile& profile) override;
};
