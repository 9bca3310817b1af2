#include "pages/Page.h"

#include "framework/Resources.h"

BOOL CPage::OnInitDialog() {
    m_strTitle = fw::res::String(m_nTitleId);
    return fw::CDialog::OnInitDialog();
}
