#include "config/ProfileStore.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "framework/Raii.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const char kProfilesSuffix[] = "\\Profiles";
const char kSetupSuffix[] = "\\SETUP";
const char kLastProfileValue[] = "profile";
const char kIsPassphraseValue[] = "wep.ispassphrase";
const DWORD kCountNameSize = 65;
const DWORD kSetupReadSize = 100;
const size_t kMaxSsidChars = 32;
const int32_t kSetupDefaultChannel = 6;
const DWORD kEnumNameSize = 100;

struct ValueField {
    const char* name;
    size_t offset;
    DWORD size;  // the field's bytes: 4 for a number, the whole field for a text
    bool text;
};

// The values of one profile in the order they are read, each into its field
// of the record. A text is read with the size of its field, so that every
// text the store writes (at most the field less its terminator) reads back
// whole.
#define PROFILE_NUMBER(value, member) {value, offsetof(Profile, member), sizeof(int32_t), false}
#define PROFILE_TEXT(value, member) {value, offsetof(Profile, member), sizeof(Profile::member), true}
const ValueField kFields[] = {
    PROFILE_TEXT("ssid", ssid),
    PROFILE_NUMBER("operatingmode", operatingMode),
    PROFILE_NUMBER("txrate", txRate),
    PROFILE_NUMBER("channel", channel),
    PROFILE_NUMBER("power", powerSave),
    PROFILE_NUMBER("authype", authType),
    PROFILE_NUMBER("wep.level", wepLevel),
    PROFILE_NUMBER("wep.auth", wepAuth),
    PROFILE_NUMBER("wep.keytype", wepKeyType),
    PROFILE_NUMBER("wep.defkey", wepDefaultKey),
    PROFILE_TEXT("wep.passphrase", wepPassphrase),
    PROFILE_TEXT("wep.keyperuser", wepKeyPerUser),
    PROFILE_TEXT("wep.key1", wepKey[0]),
    PROFILE_TEXT("wep.key2", wepKey[1]),
    PROFILE_TEXT("wep.key3", wepKey[2]),
    PROFILE_TEXT("wep.key4", wepKey[3]),
    PROFILE_TEXT("wpapsk.password", wpaPskPassword),
    PROFILE_NUMBER("adv.txpower", advTxPower),
    PROFILE_NUMBER("adv.qos", advQos),
    PROFILE_NUMBER("adv.preamble", advPreamble),
    PROFILE_NUMBER("adv.scantype", advScanType),
    PROFILE_NUMBER("adv.rtsthreshold", advRtsThreshold),
    PROFILE_NUMBER("adv.fragmentthreshold", advFragmentThreshold),
    PROFILE_NUMBER("nettype", netType),
};
#undef PROFILE_TEXT
#undef PROFILE_NUMBER

// The values written after "wep.defkey" and before the texts: the marker
// that tells a pass phrase from typed keys is written (and read back) there.
const size_t kIsPassphrasePosition = 10;

// Reads a value into its field. A value that is missing or does not fit
// leaves the field zero; the type is not checked, the bytes go in as they
// are. A text fits when a terminator is left inside its field: one that
// fills the field to its last byte would reach the adapter unterminated.
void ReadField(HKEY key, const char* name, unsigned char* field, DWORD size, bool text) {
    DWORD length = size;
    const bool read = ::RegQueryValueExA(key, name, nullptr, nullptr, field, &length) == ERROR_SUCCESS &&
                      length <= size && !(text && length == size && field[size - 1] != '\0');
    if (!read) std::memset(field, 0, size);
}

bool WriteNumber(HKEY key, const char* name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
           ERROR_SUCCESS;
}

// A text field is written with its terminator, however the field was filled.
void WriteText(HKEY key, const char* name, const char* field, size_t fieldSize) {
    const size_t length = ::strnlen(field, fieldSize - 1);
    std::string text(field, length);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(length + 1));
}

// Reads a "\SETUP" value of up to 100 bytes as a terminated text.
bool ReadSetupText(HKEY key, const char* name, char (&buffer)[kSetupReadSize + 1]) {
    std::memset(buffer, 0, sizeof(buffer));
    DWORD length = kSetupReadSize;
    return ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &length) == ERROR_SUCCESS;
}
}  // namespace

CProfileStore::CProfileStore() { std::memset(&m_record, 0, sizeof(m_record)); }

std::string CProfileStore::ProfilesKeyPath() const { return fw::res::String(IDS_APP_KEY) + kProfilesSuffix; }
std::string CProfileStore::SetupKeyPath() const { return fw::res::String(IDS_APP_KEY) + kSetupSuffix; }

bool CProfileStore::IsValidName(const std::string& name) {
    // A separator would make the name a path to a key of somebody else's.
    return !name.empty() && name.size() <= kMaxNameLength && name.find('\\') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

Profile* CProfileStore::EnumProfile(unsigned short index) {
    const std::vector<std::string> names = ProfileNames(static_cast<size_t>(index) + 1);
    return index < names.size() ? LoadProfile(names[index]) : nullptr;
}

std::vector<std::string> CProfileStore::ProfileNames(size_t max) const {
    std::vector<std::string> names;
    fw::RegKey profiles;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKeyPath().c_str(), 0, KEY_READ, profiles.put()) != ERROR_SUCCESS)
        return names;
    for (DWORD subkey = 0; names.size() < max; ++subkey) {
        char buffer[kEnumNameSize] = {};
        DWORD length = kEnumNameSize;
        const LONG status = ::RegEnumKeyExA(profiles.get(), subkey, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // too long for a profile name: no profile
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(buffer, ::strnlen(buffer, kEnumNameSize - 1));
    }
    return names;
}

Profile* CProfileStore::LoadProfile(const std::string& name) {
    std::memset(&m_record, 0, sizeof(m_record));
    if (!IsValidName(name)) return nullptr;
    fw::RegKey key;
    const std::string path = ProfilesKeyPath() + "\\" + name;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return nullptr;
    auto* bytes = reinterpret_cast<unsigned char*>(&m_record);
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); ++i) {
        if (i == kIsPassphrasePosition) {
            // Read back as the store always has, then dropped: the pass
            // phrase field itself says whether there is one.
            DWORD scratch = 0;
            ReadField(key.get(), kIsPassphraseValue, reinterpret_cast<unsigned char*>(&scratch), sizeof(scratch), false);
        }
        const ValueField& field = kFields[i];
        ReadField(key.get(), field.name, bytes + field.offset, field.size, field.text);
    }
    std::memcpy(m_record.name, name.c_str(), name.size() + 1);
    return &m_record;
}

bool CProfileStore::SaveProfile(const Profile& profile) const {
    const std::string name(profile.name, ::strnlen(profile.name, sizeof(profile.name)));
    if (!IsValidName(name)) return false;
    fw::RegKey key;
    const std::string path = ProfilesKeyPath() + "\\" + name;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&profile);
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); ++i) {
        const ValueField& field = kFields[i];
        if (i == kIsPassphrasePosition) WriteNumber(key.get(), kIsPassphraseValue, profile.wepPassphrase[0] != '\0');
        if (field.text) {
            WriteText(key.get(), field.name, reinterpret_cast<const char*>(bytes + field.offset), field.size);
        } else {
            int32_t value = 0;
            std::memcpy(&value, bytes + field.offset, sizeof(value));
            WriteNumber(key.get(), field.name, value);
        }
    }
    return true;
}

bool CProfileStore::DeleteProfile(const std::string& name) const {
    if (!IsValidName(name)) return false;
    return ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, (ProfilesKeyPath() + "\\" + name).c_str()) == ERROR_SUCCESS;
}

int CProfileStore::CountProfiles() const {
    fw::RegKey profiles;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKeyPath().c_str(), 0, KEY_READ, profiles.put()) != ERROR_SUCCESS)
        return -1;
    // Every subkey counts, a long name too: the limit must not be passed by
    // keys the name buffer cannot hold.
    int count = 0;
    for (DWORD subkey = 0;; ++subkey) {
        char buffer[kCountNameSize] = {};
        DWORD length = kCountNameSize;
        const LONG status = ::RegEnumKeyExA(profiles.get(), subkey, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
        ++count;
    }
    return count;
}

bool CProfileStore::ReadLastProfile(std::string& name) const {
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKeyPath().c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    char buffer[kLastProfileBuffer + 1] = {};
    DWORD length = kLastProfileBuffer;
    if (::RegQueryValueExA(key.get(), kLastProfileValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &length) !=
        ERROR_SUCCESS)
        return false;
    name = buffer;
    return true;
}

void CProfileStore::WriteLastProfile(const std::string& name) const {
    fw::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKeyPath().c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key.get(), kLastProfileValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                     static_cast<DWORD>(name.size() + 1));
}

CProfileStore::Seed CProfileStore::SeedFromSetup(Profile& seed) {
    std::memset(&seed, 0, sizeof(seed));
    std::strcpy(seed.name, "DEFAULT");
    fw::RegKey setup;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SetupKeyPath().c_str(), 0, KEY_READ | KEY_SET_VALUE, setup.put()) !=
        ERROR_SUCCESS) {
        if (LoadProfile(seed.name)) return Seed::kNothing;
        std::strcpy(seed.ssid, "ANY");
        seed.operatingMode = 1;
        seed.channel = kSetupDefaultChannel;
        return Seed::kDefaults;
    }

    char text[kSetupReadSize + 1];
    if (!ReadSetupText(setup.get(), "FirstStartup", text)) return Seed::kNothing;
    int32_t armed = 0;
    std::memcpy(&armed, text, sizeof(armed));
    if (armed == 0) return Seed::kNothing;

    if (ReadSetupText(setup.get(), "SSID", text)) std::memcpy(seed.ssid, text, ::strnlen(text, kMaxSsidChars));
    else std::strcpy(seed.ssid, "ANY");
    seed.channel = kSetupDefaultChannel;
    if (ReadSetupText(setup.get(), "DSChannel", text)) {
        // A decimal number after optional blanks, as "%d" reads it; no
        // number reads as 0 (automatic).
        char* end = nullptr;
        const long channel = std::strtol(text, &end, 10);
        seed.channel = (end != text && channel >= INT32_MIN && channel <= INT32_MAX) ? static_cast<int32_t>(channel) : 0;
    }
    if (ReadSetupText(setup.get(), "Mode", text)) {
        if (std::strcmp(text, "AdHoc") == 0) {
            seed.operatingMode = 0;
            seed.netType = NET_MASK_B;
        } else if (std::strcmp(text, "Infrastructure") == 0) {
            seed.operatingMode = 1;
            seed.netType = static_cast<int32_t>(theDevice.GetNetMask());
        }
    }
    WriteNumber(setup.get(), "FirstStartup", 0);
    return Seed::kFromSetup;
}
