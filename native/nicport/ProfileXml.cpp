#include "ProfileXml.h"

#include <cstring>

#include "Text.h"
#include "WepKeys.h"

namespace nicport {
namespace {

template <size_t N>
size_t FieldLength(const char (&field)[N]) {
    return strnlen(field, N);
}

bool IsHexText(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

// The WEP key the profile names as its default, as bytes.
bool WepKey(const Profile& profile, uint8_t key[kWep104Bytes], size_t& keyBytes) {
    const bool wide = profile.wepLevel == 2 || (profile.wepLevel == 0 && (profile.wepKeyType & 2) != 0);
    keyBytes = wide ? kWep104Bytes : kWep40Bytes;
    const int index = profile.wepDefaultKey;
    if (index < 0 || index > 3) return false;

    const size_t passphraseLength = FieldLength(profile.wepPassphrase);
    if (passphraseLength > 0) {
        if (wide) return Wep104KeyFromPassphrase(profile.wepPassphrase, passphraseLength, key);
        uint8_t keys[kWep40Keys][kWep40Bytes];
        Wep40KeysFromPassphrase(profile.wepPassphrase, passphraseLength, keys);
        std::memcpy(key, keys[index], kWep40Bytes);
        return true;
    }

    const char* text = profile.wepKey[index];
    const size_t length = FieldLength(profile.wepKey[index]);
    if ((profile.wepKeyType & 1) != 0) {  // a text key: its characters are the bytes
        if (length != keyBytes) return false;
        std::memcpy(key, text, keyBytes);
        return true;
    }
    return ParseHex(text, length, key, keyBytes);
}

void Element(std::string& xml, const char* name, const std::string& escapedText) {
    xml += '<';
    xml += name;
    xml += '>';
    xml += escapedText;
    xml += "</";
    xml += name;
    xml += '>';
}

std::string Escaped(const std::string& text) {
    std::string out;
    AppendXmlEscaped(out, text.data(), text.size());
    return out;
}

}  // namespace

size_t ProfileSsid(const Profile& profile, uint8_t ssid[kMaxSsid]) {
    size_t length = FieldLength(profile.ssid);
    if (length > kMaxSsid) length = kMaxSsid;
    std::memcpy(ssid, profile.ssid, length);
    return length;
}

bool IsAnyNetwork(const Profile& profile) { return std::strncmp(profile.ssid, "ANY", sizeof(profile.ssid)) == 0; }

std::string WlanProfileName(const uint8_t* ssid, size_t length, bool adHoc) {
    if (length > kMaxSsid) length = kMaxSsid;
    std::string name;
    if (IsPrintableAscii(ssid, length)) name.assign(reinterpret_cast<const char*>(ssid), length);
    else AppendHex(name, ssid, length);
    if (adHoc) name += "-adhoc";
    return name;
}

bool MakeWlanProfile(const Profile& profile, const NetworkChoice& network, WlanProfile& out) {
    out = WlanProfile();
    if (network.ssidLength == 0 || network.ssidLength > kMaxSsid) return false;
    std::memcpy(out.ssid, network.ssid, network.ssidLength);
    out.ssidLength = network.ssidLength;
    out.adHoc = profile.operatingMode == 0;
    out.name = WlanProfileName(out.ssid, out.ssidLength, out.adHoc);

    switch (profile.authType) {
    case AUTH_NONE:
        return true;
    case AUTH_WEP: {
        uint8_t key[kWep104Bytes];
        size_t keyBytes = 0;
        if (!WepKey(profile, key, keyBytes)) return false;
        out.authentication = profile.wepAuth == 1 ? "shared" : "open";
        out.encryption = "WEP";
        out.keyType = "networkKey";
        AppendHex(out.keyMaterial, key, keyBytes);
        out.keyIndex = profile.wepDefaultKey;
        return true;
    }
    case AUTH_WPA_PSK: {
        // The configuration page offers WPA-PSK for access points only.
        if (out.adHoc) return false;
        const char* psk = profile.wpaPskPassword;
        const size_t length = FieldLength(profile.wpaPskPassword);
        if (length == 64 && IsHexText(psk, length)) {
            out.keyType = "networkKey";
        } else if (length >= 8 && length <= 63 && IsPrintableAscii(reinterpret_cast<const uint8_t*>(psk), length)) {
            out.keyType = "passPhrase";
        } else {
            return false;
        }
        out.keyMaterial.assign(psk, length);
        out.authentication = network.wpa2 ? "WPA2PSK" : "WPAPSK";
        out.encryption = network.wpa2 ? "AES" : "TKIP";
        return true;
    }
    default:
        return false;
    }
}

std::string WlanProfileXml(const WlanProfile& profile) {
    std::string xml = "<?xml version=\"1.0\"?>\r\n";
    xml += "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">";
    Element(xml, "name", Escaped(profile.name));

    std::string ssid;
    std::string hex;
    AppendHex(hex, profile.ssid, profile.ssidLength);
    Element(ssid, "hex", hex);
    // The readable name only where it is plain ASCII; the hex form is what
    // Windows matches when both are there.
    if (IsPrintableAscii(profile.ssid, profile.ssidLength))
        Element(ssid, "name", Escaped(std::string(reinterpret_cast<const char*>(profile.ssid), profile.ssidLength)));
    xml += "<SSIDConfig><SSID>" + ssid + "</SSID></SSIDConfig>";

    Element(xml, "connectionType", profile.adHoc ? "IBSS" : "ESS");
    // An ad hoc profile must be connected by hand.
    Element(xml, "connectionMode", profile.adHoc ? "manual" : "auto");

    xml += "<MSM><security><authEncryption>";
    Element(xml, "authentication", profile.authentication);
    Element(xml, "encryption", profile.encryption);
    Element(xml, "useOneX", "false");
    xml += "</authEncryption>";
    if (profile.keyType) {
        xml += "<sharedKey>";
        Element(xml, "keyType", profile.keyType);
        Element(xml, "protected", "false");
        Element(xml, "keyMaterial", Escaped(profile.keyMaterial));
        xml += "</sharedKey>";
        if (profile.keyIndex >= 0 && profile.keyIndex <= 3) Element(xml, "keyIndex", std::to_string(profile.keyIndex));
    }
    xml += "</security></MSM></WLANProfile>";
    return xml;
}

}  // namespace nicport
