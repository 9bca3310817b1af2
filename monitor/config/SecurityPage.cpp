#include "config/SecurityPage.h"

#include "resource.h"

CSecurityPage::CSecurityPage() : CSubPage(kSecurity, IDD_SECURITY_PAGE, IDS_SUBTAB_SECURITY) {}

void CSecurityPage::LoadFromProfile(const Profile&) {}

void CSecurityPage::StoreToProfile(Profile&) {}

void CSecurityPage::RebuildAuthList() {}

void CSecurityPage::ShowKeyDialog() {}
