// The profile store: one registry subkey per profile below the application
// key's "\Profiles" (HKEY_LOCAL_MACHINE), the value "profile" there that
// remembers the profile applied last, and the "\SETUP" key that seeds the
// settings once at the first start.
//
// EnumProfile and LoadProfile fill one record that the store owns; each call
// overwrites it, so a caller copies what it needs before the next call.
#pragma once

#include <string>
#include <vector>

#include "device/Profile.h"

class CProfileStore {
public:
    CProfileStore();

    // Loads the index-th profile of "\Profiles" in the registry's order into
    // the shared record; null past the last one, when the key is missing, or
    // when that profile's key cannot be opened. Subkeys whose names do not
    // fit a profile name are passed over: they are no profiles.
    Profile* EnumProfile(unsigned short index);
    // The names EnumProfile would list, at most `max` of them, read in one
    // pass without loading the profiles (the tray menu needs only these).
    std::vector<std::string> ProfileNames(size_t max) const;
    // Loads the named profile into the shared record; null when its key
    // cannot be opened or the name is no valid profile name.
    Profile* LoadProfile(const std::string& name);
    // Creates or opens the key of `profile.name` and writes every value.
    // false when the key cannot be created or the name is not valid.
    bool SaveProfile(const Profile& profile) const;
    bool DeleteProfile(const std::string& name) const;
    // The number of subkeys of "\Profiles", or -1 when it cannot be opened.
    int CountProfiles() const;
    // The remembered name, or false when the key or the value is missing or
    // the name does not fit its 31 characters.
    bool ReadLastProfile(std::string& name) const;
    // Writes the remembered name; nothing happens without "\Profiles".
    void WriteLastProfile(const std::string& name) const;

    // What the first start found.
    enum class Seed {
        kNothing,   // leave the pages as they are
        kDefaults,  // no "\SETUP" and no "DEFAULT": show the built-in defaults
        kFromSetup  // "\SETUP" was armed: show the seed, then apply it
    };
    // The registry side of the first start: reads "\SETUP" into `seed` (a
    // record named "DEFAULT") and disarms "FirstStartup". The page shows
    // the seed and applies it as the result says.
    Seed SeedFromSetup(Profile& seed);

    // A name the store can build a key path from: not empty, no path
    // separator, short enough for the record's name field.
    static bool IsValidName(const std::string& name);

    // The application key below HKEY_LOCAL_MACHINE (resource string 22)
    // with "\Profiles" appended.
    std::string ProfilesKeyPath() const;
    std::string SetupKeyPath() const;

    // The longest remembered name that reads back (the buffer is 32 bytes).
    static constexpr size_t kLastProfileBuffer = 32;
    // New refuses to create more profiles than this.
    static constexpr int kMaxProfiles = 30;
    // Profile names are kept in a field of 100 characters with its terminator.
    static constexpr size_t kMaxNameLength = sizeof(Profile::name) - 1;

private:
    Profile m_record;
};
