#include "config/ProfileStore.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "framework/Raii.h"
#include "framework/Resources.h"
#include "resource.h"

namespace {
const char kProfilesSuffix[] = "\\Profiles";
const char kLastProfileValue[] = "profile";
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

// Reads at most `size` bytes of a value into `field`. A value that is missing
// or larger than the field's share leaves the field zero; the type is not
// checked, the bytes go in as they are. Every text field is longer than its
// read size, so a text always keeps a terminator behind it.
void ReadField(HKEY key, const char* name, unsigned char* field, DWORD size) {
    DWORD length = size;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, field, &length) != ERROR_SUCCESS || length > size)
        std::memset(field, 0, size);
}

void CopyName(char (&dst)[100], const std::string& name) {
    std::memset(dst, 0, sizeof(dst));
    std::strncpy(dst, name.c_str(), sizeof(dst) - 1);
}
}  // namespace

CProfileStore::CProfileStore() { std::memset(&m_record, 0, sizeof(m_record)); }

std::string CProfileStore::ProfilesKeyPath() const { return fw::res::String(IDS_APP_KEY) + kProfilesSuffix; }

Profile* CProfileStore::EnumProfile(unsigned short index) {
    std::string name;
    {
        fw::RegKey profiles;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfilesKeyPath().c_str(), 0, KEY_READ, profiles.put()) != ERROR_SUCCESS)
            return nullptr;
        char buffer[kEnumNameSize] = {};
        DWORD length = kEnumNameSize;
        if (::RegEnumKeyExA(profiles.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return nullptr;
        name.assign(buffer, length < kEnumNameSize ? length : kEnumNameSize - 1);
    }
    return LoadProfile(name);
}

Profile* CProfileStore::LoadProfile(const std::string& name) {
    std::memset(&m_record, 0, sizeof(m_record));
    fw::RegKey key;
    const std::string path = ProfilesKeyPath() + "\\" + name;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return nullptr;
    auto* bytes = reinterpret_cast<unsigned char*>(&m_record);
    for (const ValueField& field : kFields) ReadField(key.get(), field.name, bytes + field.offset, field.readSize);
    CopyName(m_record.name, name);
    return &m_record;
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
