// The key dialogs of the security sub-page: each moves its key fields of a
// profile between the record and its controls and checks the entry while
// the user types. An incomplete entry is never reported with a message; it
// only keeps the configuration page from saving or applying the profile.
#pragma once

#include <cstddef>
#include <string>

#include "device/Profile.h"
#include "framework/Dialog.h"

// What a key dialog may ask of the page that hosts it.
class IKeyDialogHost {
public:
    // The entry shown is complete (true) or not; the host decides what that
    // means for Save and Apply.
    virtual void EnableSaveApply(bool keyValid) = 0;

protected:
    ~IKeyDialogHost() = default;
};

class CKeyDialog : public fw::CDialog {
public:
    explicit CKeyDialog(UINT templateId) : fw::CDialog(templateId) {}

    // Set by the security page before it creates the dialog; null for a
    // dialog on its own, whose checks then only return their result.
    void AttachHost(IKeyDialogHost* host) { m_pHost = host; }

    // Writes the dialog's key fields into the record; false, with nothing
    // written, when the entry was refused (the user has been told why).
    virtual bool StoreToProfile(Profile& profile) = 0;
    // Shows the record's key fields.
    virtual void LoadFromProfile(const Profile& profile) = 0;
    // Checks the entry shown and reports it to the host.
    virtual bool ValidateKeys() = 0;

protected:
    // Tells the host, if any, whether the entry is complete.
    void ReportKeys(bool valid) const;

    // The text of a record field of N bytes: at most N - 1 characters, so
    // that a field that lost its terminator shows no more than it can hold.
    template <size_t N>
    static std::string FieldText(const char (&field)[N]) {
        return TextOf(field, N);
    }
    // Fills a record field of N bytes: at most N - 1 characters, the rest
    // zeroed, so the field always ends in a terminator.
    template <size_t N>
    static void SetField(char (&field)[N], const std::string& text) {
        CopyInto(field, N, text);
    }

private:
    static std::string TextOf(const char* field, size_t size);
    static void CopyInto(char* field, size_t size, const std::string& text);

    IKeyDialogHost* m_pHost = nullptr;
};
