#include "config/AdvancedPage.h"

#include "resource.h"

CAdvancedPage::CAdvancedPage() : CSubPage(kAdvanced, IDD_ADVANCED_PAGE, IDS_SUBTAB_ADVANCED) {}

void CAdvancedPage::LoadFromProfile(const Profile&) {}

void CAdvancedPage::StoreToProfile(Profile&) {}
