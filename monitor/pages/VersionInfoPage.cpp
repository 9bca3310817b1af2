#include "pages/VersionInfoPage.h"

#include "resource.h"

CVersionInfoPage::CVersionInfoPage() : CPage(IDD_VERSION_PAGE, IDS_TAB_VERSION) {}
