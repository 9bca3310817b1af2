// The profile store: one registry subkey per profile below the application
// key's "\Profiles" (HKEY_LOCAL_MACHINE), and the value "profile" there that
// remembers the profile applied last.
//
// This is the reading side (enumerate, load, the remembered name) and the
// remembered name's write; saving, counting, deleting and the first-start
// seeding come with the configuration page's own change.
#pragma once

#include <string>

#include "device/Profile.h"

class CProfileStore {
public:
    CProfileStore();

    // Loads the index-th subkey of "\Profiles" in the registry's order into
    // the shared record; null past the last one or when the key is missing.
    Profile* EnumProfile(unsigned short index);
    // Loads the named profile into the shared record; null when its key
    // cannot be opened.
    Profile* LoadProfile(const std::string& name);
    // The remembered name, or false when the key or the value is missing or
    // the name does not fit its 31 characters.
    bool ReadLastProfile(std::string& name) const;
    // Writes the remembered name; nothing happens without "\Profiles".
    void WriteLastProfile(const std::string& name) const;

    // The application key below HKEY_LOCAL_MACHINE (resource string 22)
    // with "\Profiles" appended.
    std::string ProfilesKeyPath() const;

    // The longest remembered name that reads back (the buffer is 32 bytes).
    static constexpr size_t kLastProfileBuffer = 32;

private:
    Profile m_record;
};
