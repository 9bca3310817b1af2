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
const DWORD kSsidReadSize = 33;    // 32 characters and the terminator
const DWORD kTextReadSize = 99;
const DWORD kNumberReadSize = 4;
const DWORD kEnumNameSize = 100;

struct ValueField {
    const char* name;
    size_t offset;
    DWORD readSize;
};

// The values of one profile in the order they are read, each into its field
// of the record with the number of bytes the field takes from the registry.
#define PROFILE_FIELD(value, member, size) {value, offsetof(Profile, member), size}
const ValueField kFields[] = {
    PROFILE_FIELD("ssid", ssid, kSsidReadSize),
    PROFILE_FIELD("operatingmode", operatingMode, kNumberReadSize),
    PROFILE_FIELD("txrate", txRate, kNumberReadSize),
    PROFILE_FIELD("channel", channel, kNumberReadSize),
    PROFILE_FIELD("power", powerSave, kNumberReadSize),
    PROFILE_FIELD("authype", authType, kNumberReadSize),
    PROFILE_FIELD("wep.level", wepLevel, kNumberReadSize),
    PROFILE_FIELD("wep.auth", wepAuth, kNumberReadSize),
    PROFILE_FIELD("wep.keytype", wepKeyType, kNumberReadSize),
    PROFILE_FIELD("wep.defkey", wepDefaultKey, kNumberReadSize),
    PROFILE_FIELD("wep.passphrase", wepPassphrase, kTextReadSize),
    PROFILE_FIELD("wep.keyperuser", wepKeyPerUser, kTextReadSize),
    PROFILE_FIELD("wep.key1", wepKey[0], kTextReadSize),
    PROFILE_FIELD("wep.key2", wepKey[1], kTextReadSize),
    PROFILE_FIELD("wep.key3", wepKey[2], kTextReadSize),
    PROFILE_FIELD("wep.key4", wepKey[3], kTextReadSize),
    PROFILE_FIELD("wpapsk.password", wpaPskPassword, kTextReadSize),
    PROFILE_FIELD("adv.txpower", advTxPower, kNumberReadSize),
    PROFILE_FIELD("adv.qos", advQos, kNumberReadSize),
    PROFILE_FIELD("adv.preamble", advPreamble, kNumberReadSize),
    PROFILE_FIELD("adv.scantype", advScanType, kNumberReadSize),
    PROFILE_FIELD("adv.rtsthreshold", advRtsThreshold, kNumberReadSize),
    PROFILE_FIELD("adv.fragmentthreshold", advFragmentThreshold, kNumberReadSize),
    PROFILE_FIELD("nettype", netType, kNumberReadSize),
};
#undef PROFILE_FIELD

// The values written after "wep.defkey" and before the texts: the marker
// that tells a pass phrase from typed keys is written (and read back) there.
const size_t kIsPassphrasePosition = 10;

// Reads at most `size` bytes of a value into `field`. A value that is missing
// or larger than the field's share leaves the field zero; the type is not
// checked, the bytes go in as they are. Every text field is longer than its
// read size, so a text always keeps a terminator behind it.
void ReadField(HKEY key, const char* name, unsigned char* field, DWORD size) {
    DWORD length = size;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, field, &length) != ERROR_SUCCESS || length > size)
        std::memset(field, 0, size);
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
            ReadField(key.get(), kIsPassphraseValue, reinterpret_cast<unsigned char*>(&scratch), kNumberReadSize);
        }
        ReadField(key.get(), kFields[i].name, bytes + kFields[i].offset, kFields[i].readSize);
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
        if (field.readSize == kNumberReadSize) {
            int32_t value = 0;
            std::memcpy(&value, bytes + field.offset, sizeof(value));
            WriteNumber(key.get(), field.name, value);
        } else {
            // The field runs to the next field's offset; "ssid" is 36 bytes.
            const size_t size = field.readSize == kSsidReadSize ? sizeof(profile.ssid) : sizeof(profile.wepPassphrase);
            WriteText(key.get(), field.name, reinterpret_cast<const char*>(bytes + field.offset), size);
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
