#include "ProfileXml.h"

#include <cwchar>

#include "StandinState.h"

namespace standin {

const wchar_t kProfileNamespace[] = L"http://www.microsoft.com/networking/WLAN/profile/v1";

const XmlNode* XmlNode::Child(const wchar_t* childName) const {
    for (const XmlNode& c : children)
        if (c.name == childName) return &c;
    return nullptr;
}

std::wstring XmlNode::Value() const {
    size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return std::wstring();
    size_t last = text.find_last_not_of(L" \t\r\n");
    return text.substr(first, last - first + 1);
}

namespace {

constexpr int kMaxDepth = 64;

class XmlReader {
public:
    explicit XmlReader(const std::wstring& text) : m_p(text.c_str()), m_end(text.c_str() + text.size()) {}

    bool Document(XmlNode& root) {
        if (m_p < m_end && *m_p == 0xFEFF) ++m_p;
        if (!Misc()) return false;
        if (Starts(L"<!")) return Fail("document type declarations are not accepted");
        if (!Starts(L"<")) return Fail("no root element");
        if (!Element(root, 0)) return false;
        if (!Misc()) return false;
        if (m_p != m_end) return Fail("content after the root element");
        return true;
    }

    std::string error;

private:
    bool Fail(const char* what) {
        if (error.empty()) error = what;
        return false;
    }
    bool Starts(const wchar_t* s) const {
        size_t n = wcslen(s);
        return static_cast<size_t>(m_end - m_p) >= n && wcsncmp(m_p, s, n) == 0;
    }
    static bool Space(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
    void SkipSpace() {
        while (m_p < m_end && Space(*m_p)) ++m_p;
    }
    bool SkipPast(const wchar_t* terminator, const char* what) {
        size_t n = wcslen(terminator);
        for (; m_p + n <= m_end; ++m_p)
            if (wcsncmp(m_p, terminator, n) == 0) {
                m_p += n;
                return true;
            }
        return Fail(what);
    }
    // White space, comments and processing instructions outside the root.
    bool Misc() {
        for (;;) {
            SkipSpace();
            if (Starts(L"<!--")) {
                if (!SkipPast(L"-->", "unterminated comment")) return false;
            } else if (Starts(L"<?")) {
                if (!SkipPast(L"?>", "unterminated processing instruction")) return false;
            } else {
                return true;
            }
        }
    }
    static bool NameStart(wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' || c > 0x7F;
    }
    static bool NameChar(wchar_t c) {
        return NameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
    }
    bool Name(std::wstring& name) {
        if (m_p >= m_end || !NameStart(*m_p)) return Fail("a name was expected");
        const wchar_t* start = m_p;
        while (m_p < m_end && NameChar(*m_p)) ++m_p;
        name.assign(start, m_p);
        return true;
    }
    bool Reference(std::wstring& out) {
        ++m_p;  // '&'
        const wchar_t* semi = m_p;
        while (semi < m_end && *semi != L';' && semi - m_p < 12) ++semi;
        if (semi >= m_end || *semi != L';') return Fail("an unterminated reference");
        std::wstring ref(m_p, semi);
        m_p = semi + 1;
        if (ref == L"amp") out += L'&';
        else if (ref == L"lt") out += L'<';
        else if (ref == L"gt") out += L'>';
        else if (ref == L"quot") out += L'"';
        else if (ref == L"apos") out += L'\'';
        else if (ref.size() > 1 && ref[0] == L'#') {
            bool hex = ref[1] == L'x';
            std::wstring digits = ref.substr(hex ? 2 : 1);
            if (digits.empty()) return Fail("an empty character reference");
            unsigned long cp = 0;
            for (wchar_t c : digits) {
                int d = (c >= L'0' && c <= L'9')           ? c - L'0'
                        : (hex && c >= L'a' && c <= L'f') ? c - L'a' + 10
                        : (hex && c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                          : -1;
                if (d < 0) return Fail("a malformed character reference");
                cp = cp * (hex ? 16 : 10) + d;
                if (cp > 0x10FFFF) return Fail("a character reference out of range");
            }
            if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return Fail("a character reference out of range");
            if (cp >= 0x10000) {
                cp -= 0x10000;
                out += static_cast<wchar_t>(0xD800 + (cp >> 10));
                out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            } else {
                out += static_cast<wchar_t>(cp);
            }
        } else {
            return Fail("an unknown entity");
        }
        return true;
    }
    bool Element(XmlNode& node, int depth) {
        if (depth > kMaxDepth) return Fail("elements nested too deeply");
        ++m_p;  // '<'
        if (!Name(node.name)) return false;
        std::vector<std::wstring> seen;
        for (;;) {
            bool spaced = m_p < m_end && Space(*m_p);
            SkipSpace();
            if (m_p >= m_end) return Fail("an unterminated start tag");
            if (Starts(L"/>")) {
                m_p += 2;
                return true;
            }
            if (*m_p == L'>') {
                ++m_p;
                break;
            }
            if (!spaced) return Fail("attributes must be separated by white space");
            std::wstring attr, value;
            if (!Name(attr)) return false;
            for (const std::wstring& s : seen)
                if (s == attr) return Fail("a repeated attribute");
            seen.push_back(attr);
            SkipSpace();
            if (m_p >= m_end || *m_p != L'=') return Fail("'=' expected after an attribute name");
            ++m_p;
            SkipSpace();
            if (m_p >= m_end || (*m_p != L'"' && *m_p != L'\'')) return Fail("an unquoted attribute value");
            const wchar_t quote = *m_p++;
            while (m_p < m_end && *m_p != quote) {
                if (*m_p == L'<') return Fail("'<' in an attribute value");
                if (*m_p == L'&') {
                    if (!Reference(value)) return false;
                } else {
                    value += *m_p++;
                }
            }
            if (m_p >= m_end) return Fail("an unterminated attribute value");
            ++m_p;
            if (attr == L"xmlns") node.ns = value;
        }
        for (;;) {
            if (m_p >= m_end) return Fail("an element is not closed");
            if (Starts(L"</")) {
                m_p += 2;
                std::wstring closing;
                if (!Name(closing)) return false;
                if (closing != node.name) return Fail("an end tag does not match its start tag");
                SkipSpace();
                if (m_p >= m_end || *m_p != L'>') return Fail("an unterminated end tag");
                ++m_p;
                return true;
            }
            if (Starts(L"<!--")) {
                if (!SkipPast(L"-->", "unterminated comment")) return false;
            } else if (Starts(L"<![CDATA[")) {
                m_p += 9;
                const wchar_t* start = m_p;
                if (!SkipPast(L"]]>", "an unterminated CDATA section")) return false;
                node.text.append(start, m_p - 3);
            } else if (Starts(L"<?")) {
                if (!SkipPast(L"?>", "unterminated processing instruction")) return false;
            } else if (Starts(L"<!")) {
                return Fail("a declaration inside an element");
            } else if (*m_p == L'<') {
                node.children.emplace_back();
                if (!Element(node.children.back(), depth + 1)) return false;
            } else if (*m_p == L'&') {
                if (!Reference(node.text)) return false;
            } else {
                node.text += *m_p++;
            }
        }
    }

    const wchar_t* m_p;
    const wchar_t* m_end;
};

// The children a profile element may have, in schema order.
struct ChildRule {
    const wchar_t* name;
    bool required;
    bool repeats;
};

bool InOtherNamespace(const XmlNode& node) {
    return !node.ns.empty() && node.ns != kProfileNamespace &&
           node.ns != L"https://www.microsoft.com/networking/WLAN/profile/v1";
}

bool Mismatch(std::string& why, const std::string& text) {
    why = text;
    return false;
}

template <size_t N>
bool CheckSequence(const XmlNode& parent, const ChildRule (&rules)[N], std::string& why) {
    size_t at = 0;
    bool seenAt = false;
    for (const XmlNode& child : parent.children) {
        if (InOtherNamespace(child)) continue;
        if (at < N && child.name == rules[at].name) {
            if (seenAt && !rules[at].repeats)
                return Mismatch(why, "<" + Narrow(child.name) + "> repeated in <" + Narrow(parent.name) + ">");
            seenAt = true;
            continue;
        }
        size_t next = at + 1;
        while (next < N && child.name != rules[next].name) ++next;
        if (next >= N)
            return Mismatch(why, "<" + Narrow(child.name) + "> unexpected or out of order in <" +
                                     Narrow(parent.name) + ">");
        for (size_t r = seenAt ? at + 1 : at; r < next; ++r)
            if (rules[r].required) return Mismatch(why, "<" + Narrow(rules[r].name) + "> missing");
        at = next;
        seenAt = true;
    }
    for (size_t r = seenAt ? at + 1 : at; r < N; ++r)
        if (rules[r].required) return Mismatch(why, "<" + Narrow(rules[r].name) + "> missing");
    return true;
}

const ChildRule kProfileRules[] = {{L"name", true, false},        {L"SSIDConfig", true, true},
                                   {L"Hotspot2", false, false},   {L"connectionType", true, false},
                                   {L"connectionMode", false, false}, {L"autoSwitch", false, false},
                                   {L"MSM", false, false},        {L"IHV", false, false},
                                   {L"MacRandomization", false, false}};
const ChildRule kSsidConfigRules[] = {{L"SSID", true, true}, {L"nonBroadcast", false, false}};
const ChildRule kSsidRules[] = {{L"hex", false, false}, {L"name", false, false}};
const ChildRule kMsmRules[] = {{L"connectivity", false, false}, {L"security", false, false}};
const ChildRule kSecurityRules[] = {{L"authEncryption", true, false}, {L"sharedKey", false, false},
                                    {L"keyIndex", false, false},     {L"PMKCacheMode", false, false},
                                    {L"PMKCacheTTL", false, false},  {L"PMKCacheSize", false, false},
                                    {L"preAuthMode", false, false},  {L"preAuthThrottle", false, false}};
const ChildRule kAuthEncryptionRules[] = {{L"authentication", true, false},
                                          {L"encryption", true, false},
                                          {L"useOneX", false, false}};
const ChildRule kSharedKeyRules[] = {{L"keyType", true, false}, {L"protected", true, false},
                                     {L"keyMaterial", false, false}};

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool AllHex(const std::wstring& s) {
    for (wchar_t c : s)
        if (HexValue(c) < 0) return false;
    return true;
}

bool Fail(DWORD& reason, std::string& why, DWORD code, const std::string& text) {
    reason = code;
    why = text;
    return false;
}

}  // namespace

bool ParseXml(const std::wstring& text, XmlNode& root, std::string& error) {
    XmlReader reader(text);
    root = XmlNode();
    if (reader.Document(root)) return true;
    error = reader.error;
    return false;
}

bool ParseProfile(const std::wstring& xml, WlanProfile& p, DWORD& reason, std::string& why) {
    using namespace standin::reason;
    XmlNode root;
    std::string error;
    if (!ParseXml(xml, root, error)) return Fail(reason, why, InvalidProfileSchema, "not well-formed: " + error);
    if (root.name != L"WLANProfile") return Fail(reason, why, InvalidProfileSchema, "the root is not <WLANProfile>");
    if (root.ns.empty() || InOtherNamespace(root))
        return Fail(reason, why, InvalidProfileSchema, "<WLANProfile> lacks the profile namespace");
    if (!CheckSequence(root, kProfileRules, why)) return Fail(reason, why, InvalidProfileSchema, why);

    p = WlanProfile();
    p.name = root.Child(L"name")->Value();
    if (p.name.empty() || p.name.size() >= WLAN_MAX_NAME_LENGTH)
        return Fail(reason, why, InvalidProfileSchema, "<name> empty or too long");

    const XmlNode* ssidConfig = root.Child(L"SSIDConfig");
    if (!CheckSequence(*ssidConfig, kSsidConfigRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
    const XmlNode* ssid = ssidConfig->Child(L"SSID");
    if (!CheckSequence(*ssid, kSsidRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
    const XmlNode* hex = ssid->Child(L"hex");
    const XmlNode* ssidName = ssid->Child(L"name");
    if (hex) {
        std::wstring h = hex->Value();
        if (h.empty() || h.size() % 2 || h.size() > 64 || !AllHex(h))
            return Fail(reason, why, ProfileSsidInvalid, "<hex> is not 1 to 32 bytes in hex");
        for (size_t i = 0; i < h.size(); i += 2)
            p.ssid += static_cast<char>(HexValue(h[i]) * 16 + HexValue(h[i + 1]));
    } else if (ssidName) {
        std::wstring n = ssidName->Value();
        int bytes = WideCharToMultiByte(CP_UTF8, 0, n.c_str(), static_cast<int>(n.size()), nullptr, 0, nullptr,
                                        nullptr);
        if (n.empty() || bytes > 32) return Fail(reason, why, ProfileSsidInvalid, "<SSID><name> is not 1 to 32 bytes");
        p.ssid.resize(bytes);
        WideCharToMultiByte(CP_UTF8, 0, n.c_str(), static_cast<int>(n.size()), &p.ssid[0], bytes, nullptr, nullptr);
    } else {
        return Fail(reason, why, ProfileSsidInvalid, "<SSID> has neither <hex> nor <name>");
    }

    std::wstring type = root.Child(L"connectionType")->Value();
    if (type == L"ESS") p.bssType = dot11_BSS_type_infrastructure;
    else if (type == L"IBSS") p.bssType = dot11_BSS_type_independent;
    else return Fail(reason, why, InvalidProfileSchema, "<connectionType> is neither ESS nor IBSS");
    if (const XmlNode* mode = root.Child(L"connectionMode")) {
        std::wstring m = mode->Value();
        if (m != L"auto" && m != L"manual")
            return Fail(reason, why, InvalidProfileSchema, "<connectionMode> is neither auto nor manual");
        p.manual = m == L"manual";
    }
    if (p.bssType == dot11_BSS_type_independent && !p.manual)
        return Fail(reason, why, InvalidProfileSchema, "an IBSS profile needs <connectionMode>manual");

    const XmlNode* msm = root.Child(L"MSM");
    const XmlNode* security = nullptr;
    if (msm) {
        if (!CheckSequence(*msm, kMsmRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
        security = msm->Child(L"security");
    }
    if (!security) return true;  // open, no encryption
    if (!CheckSequence(*security, kSecurityRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
    const XmlNode* ae = security->Child(L"authEncryption");
    if (!CheckSequence(*ae, kAuthEncryptionRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
    p.authentication = ae->Child(L"authentication")->Value();
    p.encryption = ae->Child(L"encryption")->Value();
    if (const XmlNode* onex = ae->Child(L"useOneX")) p.oneX = onex->Value() == L"true" || onex->Value() == L"1";

    struct Combination {
        const wchar_t* auth;
        const wchar_t* enc;
        DWORD dot11Auth;
        DWORD dot11Cipher;
    };
    static const Combination kValid[] = {
        {L"open", L"none", DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_NONE},
        {L"open", L"WEP", DOT11_AUTH_ALGO_80211_OPEN, DOT11_CIPHER_ALGO_WEP},
        {L"shared", L"WEP", DOT11_AUTH_ALGO_80211_SHARED_KEY, DOT11_CIPHER_ALGO_WEP},
        {L"WPA", L"TKIP", DOT11_AUTH_ALGO_WPA, DOT11_CIPHER_ALGO_TKIP},
        {L"WPA", L"AES", DOT11_AUTH_ALGO_WPA, DOT11_CIPHER_ALGO_CCMP},
        {L"WPAPSK", L"TKIP", DOT11_AUTH_ALGO_WPA_PSK, DOT11_CIPHER_ALGO_TKIP},
        {L"WPAPSK", L"AES", DOT11_AUTH_ALGO_WPA_PSK, DOT11_CIPHER_ALGO_CCMP},
        {L"WPA2", L"TKIP", DOT11_AUTH_ALGO_RSNA, DOT11_CIPHER_ALGO_TKIP},
        {L"WPA2", L"AES", DOT11_AUTH_ALGO_RSNA, DOT11_CIPHER_ALGO_CCMP},
        {L"WPA2PSK", L"TKIP", DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_TKIP},
        {L"WPA2PSK", L"AES", DOT11_AUTH_ALGO_RSNA_PSK, DOT11_CIPHER_ALGO_CCMP},
    };
    bool valid = false;
    for (const Combination& c : kValid)
        if (p.authentication == c.auth && p.encryption == c.enc) {
            p.auth = c.dot11Auth;
            p.cipher = c.dot11Cipher;
            valid = true;
        }
    if (!valid)
        return Fail(reason, why, InvalidAuthCipher,
                    "authentication " + Narrow(p.authentication) + " with encryption " + Narrow(p.encryption));
    const bool wep = p.encryption == L"WEP";
    const bool psk = p.authentication == L"WPAPSK" || p.authentication == L"WPA2PSK";

    if (const XmlNode* shared = security->Child(L"sharedKey")) {
        if (!CheckSequence(*shared, kSharedKeyRules, why)) return Fail(reason, why, InvalidProfileSchema, why);
        if (!wep && !psk) return Fail(reason, why, PskPresent, "<sharedKey> with " + Narrow(p.authentication));
        p.hasKey = true;
        p.keyType = shared->Child(L"keyType")->Value();
        std::wstring prot = shared->Child(L"protected")->Value();
        if (p.keyType != L"networkKey" && p.keyType != L"passPhrase")
            return Fail(reason, why, InvalidProfileSchema, "<keyType> is neither networkKey nor passPhrase");
        if (prot != L"true" && prot != L"false" && prot != L"1" && prot != L"0")
            return Fail(reason, why, InvalidProfileSchema, "<protected> is not a boolean");
        p.keyProtected = prot == L"true" || prot == L"1";
        if (const XmlNode* km = shared->Child(L"keyMaterial")) p.keyMaterial = km->Value();
        if (wep && p.keyType != L"networkKey")
            return Fail(reason, why, WrongKeyType, "a WEP key must be of type networkKey");
        if (!p.keyProtected) {
            const std::wstring& k = p.keyMaterial;
            if (wep) {
                bool asText = k.size() == 5 || k.size() == 13;
                bool asHex = (k.size() == 10 || k.size() == 26) && AllHex(k);
                if (!asText && !asHex)
                    return Fail(reason, why, KeyLength, "a WEP key is 5 or 13 characters or 10 or 26 hex digits");
            } else if (p.keyType == L"passPhrase") {
                if (k.size() < 8 || k.size() > 63)
                    return Fail(reason, why, PskLength, "a pass phrase is 8 to 63 characters");
                for (wchar_t c : k)
                    if (c < 0x20 || c > 0x7E)
                        return Fail(reason, why, KeyMaterialChar, "a pass phrase is printable ASCII");
            } else if (k.size() != 64 || !AllHex(k)) {
                return Fail(reason, why, PskLength, "a network key for WPA is 64 hex digits");
            }
        }
    }
    if (const XmlNode* index = security->Child(L"keyIndex")) {
        std::wstring v = index->Value();
        if (!wep || v.size() != 1 || v[0] < L'0' || v[0] > L'3')
            return Fail(reason, why, InvalidKeyIndex, "<keyIndex> is 0 to 3 and only for WEP");
        p.keyIndex = v[0] - L'0';
    }
    return true;
}

}  // namespace standin
