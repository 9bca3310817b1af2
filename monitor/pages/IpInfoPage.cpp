#include "pages/IpInfoPage.h"

#include "resource.h"

CIpInfoPage::CIpInfoPage() : CPage(IDD_IP_PAGE, IDS_TAB_IP) {}
