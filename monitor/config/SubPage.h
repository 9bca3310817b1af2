// The sub-pages of the configuration page (common, security, advanced) and
// what they may ask of the page that hosts them.
//
// Every sub-page shows its own fields of a profile record and writes them
// back; the configuration page walks its sub-pages in a fixed order for both
// directions and never needs to know which fields belong to whom.
#pragma once

#include "device/Profile.h"
#include "pages/Page.h"

// The configuration page as its sub-pages see it.
class ISubPageHost {
public:
    // Enables or disables the page's Save and Apply buttons together.
    virtual void EnableSaveApply(bool enable) = 0;
    // True when the common sub-page shows infrastructure mode.
    virtual bool IsInfrastructureMode() const = 0;
    // The common sub-page changed its mode controls: the security sub-page
    // fits its authentication types to the mode.
    virtual void OnModeControlsUpdated() = 0;

protected:
    ~ISubPageHost() = default;
};

class CSubPage : public CPage {
public:
    // What a sub-page is, whatever tab position it ends up in.
    enum Kind { kCommon = 0, kSecurity, kAdvanced, kKindCount };

    CSubPage(Kind kind, UINT templateId, UINT titleStringId) : CPage(templateId, titleStringId), m_kind(kind) {}

    Kind GetKind() const { return m_kind; }
    // Set by the configuration page before it creates the sub-page; null
    // for a sub-page on its own (tests).
    void AttachHost(ISubPageHost* host) { m_pHost = host; }

    // Shows the record's fields of this sub-page; only its own fields.
    virtual void LoadFromProfile(const Profile& profile) = 0;
    // Writes the shown settings into the record; only its own fields.
    // false when the page refused a value it shows: the user has been told
    // why and the field at fault has the focus, and the caller, which then
    // holds a half-written record, must drop it and do nothing more.
    virtual bool StoreToProfile(Profile& profile) = 0;

protected:
    ISubPageHost* Host() const { return m_pHost; }

private:
    Kind m_kind;
    ISubPageHost* m_pHost = nullptr;
};
