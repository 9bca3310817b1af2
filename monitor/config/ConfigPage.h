// The configuration page, tab 0 (template 142): the profile list, the New,
// Save, Delete and Apply buttons, and the common, security and advanced
// sub-pages on a tab control of their own. It owns the profile store.
//
// A profile travels: store -> record -> sub-pages (each shows its own
// fields) when it is selected, and sub-pages -> record -> store (and on to
// the adapter for Apply) when it is saved. The page keeps no dirty flag.
#pragma once

#include <string>

#include "config/AdvancedPage.h"
#include "config/CommonPage.h"
#include "config/ProfileStore.h"
#include "config/SecurityPage.h"
#include "controls/IconButton.h"
#include "framework/Controls.h"
#include "framework/Raii.h"
#include "pages/Page.h"
#include "pages/PageHost.h"

class CConfigPage : public CPage, private ISubPageHost {
public:
    explicit CConfigPage(IPageHost& host);

    // The profile at `index` in the registry's order, or null past the last
    // one. The record is shared: copy what you need before the next call.
    Profile* EnumProfile(unsigned short index) { return m_store.EnumProfile(index); }
    // Selects the first list entry whose text equals `name` exactly (the
    // list is read again from the store when it has no such entry) and shows
    // the selection. false when the store has no profile of that name.
    bool SelectProfileByName(const std::string& name);
    // Stores what the sub-pages show into the selected profile, remembers it,
    // commits it to the adapter and tells the main window. false, with
    // nothing done, when no profile is selected or a sub-page refused a
    // value (the user has been told why).
    bool ApplyProfile();
    // The text of the profile list's selection; empty when none.
    std::string SelectedProfileName() const;

    CCommonPage& CommonPage() { return m_commonPage; }
    CSecurityPage& SecurityPage() { return m_securityPage; }
    CAdvancedPage& AdvancedPage() { return m_advancedPage; }
    CProfileStore& Store() { return m_store; }
    // The sub-page shown in front, or null.
    CSubPage* FrontSubPage() const;
    // Brings a sub-page to the front by what it is; nothing when the string
    // table suppressed it.
    void BringSubPageToFront(CSubPage::Kind kind);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    // ISubPageHost
    void EnableSaveApply(bool enable) override;
    bool IsInfrastructureMode() const override;
    void OnModeControlsUpdated() override;

    CSubPage* SubPage(CSubPage::Kind kind) const;
    CSubPage* SubPageOfTab(int tab) const;
    void SetUpButtons();
    void CreateSubPages();
    void FillProfileList();
    void SelectRemembered();
    void SelectExact(const std::string& name);
    int FindExact(const std::string& name) const;
    bool IsListed(const std::string& name) const;
    void RecordToPages(const Profile& profile);
    // Pages to record, in page order (the advanced page only when asked).
    // false as soon as a page refuses a value: the record is then
    // half-written and must be dropped, and that page is in front.
    bool PagesToRecord(Profile& profile, bool withAdvanced = true);
    void RunFirstStart();

    void OnProfileSelected();
    void OnNew();
    void OnSave();
    void OnDelete();
    void OnApply();
    LRESULT OnSitesUpdated(WPARAM wp, LPARAM lp);
    LRESULT OnSiteChosen(WPARAM wp, LPARAM lp);
    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnSubTabChanging(NMHDR* nm);
    LRESULT OnSubTabChange(NMHDR* nm);

    IPageHost& m_host;
    CProfileStore m_store;
    CCommonPage m_commonPage;
    CSecurityPage m_securityPage;
    CAdvancedPage m_advancedPage;
    fw::CComboBox m_profileList;
    fw::CTabCtrl m_subTab;
    CIconButton m_saveButton;
    CIconButton m_newButton;
    CIconButton m_deleteButton;
    CIconButton m_applyButton;
    fw::Icon m_saveIcon;
    fw::Icon m_newIcon;
    fw::Icon m_deleteIcon;
    fw::Icon m_applyIcon;
};
