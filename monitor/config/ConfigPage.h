// The configuration page, tab 0 (template 142): the profile list, the
// common settings sub-page, and the operations the main window calls.
//
// This part lists the stored profiles, selects by name and applies: the
// selected profile is committed to the adapter as stored, remembered as the
// profile applied last and reported to the main window. Editing, saving,
// creating and deleting profiles, the security and advanced sub-pages and
// the survey's network choice come with the page's own change.
#pragma once

#include <string>

#include "config/CommonPage.h"
#include "config/ProfileStore.h"
#include "framework/Controls.h"
#include "pages/Page.h"

class CConfigPage : public CPage {
public:
    CConfigPage();

    // The profile at `index` in the registry's order, or null past the last
    // one. The record is shared: copy what you need before the next call.
    Profile* EnumProfile(unsigned short index) { return m_store.EnumProfile(index); }
    // Selects the first list entry whose text equals `name` exactly (the
    // list is read again from the store when it has no such entry). false
    // when the store has no profile of that name; the selection then stays.
    bool SelectProfileByName(const std::string& name);
    // Commits the selected profile to the adapter, remembers it and tells
    // the main window. false, with nothing done, when no profile is
    // selected or the selected one is no longer stored.
    bool ApplyProfile();
    // The text of the profile list's selection; empty when none.
    std::string SelectedProfileName() const;

    CCommonPage& CommonPage() { return m_commonPage; }
    // The survey index of the network last handed over by the main window,
    // or -1 when none was.
    int LastChosenSite() const { return m_nLastChosenSite; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    void FillProfileList();
    int FindExact(const std::string& name) const;
    void CreateSubPages();
    void OnProfileSelected();
    void OnApply();
    LRESULT OnSitesUpdated(WPARAM wp, LPARAM lp);
    LRESULT OnSiteChosen(WPARAM wp, LPARAM lp);
    LRESULT OnTimer(WPARAM wp, LPARAM lp);
    LRESULT OnSubTabChanging(NMHDR* nm);
    LRESULT OnSubTabChange(NMHDR* nm);

    CProfileStore m_store;
    CCommonPage m_commonPage;
    fw::CComboBox m_profileList;
    fw::CTabCtrl m_subTab;
    HWND m_hSubPage[3] = {nullptr, nullptr, nullptr};
    int m_nLastChosenSite = -1;
};
