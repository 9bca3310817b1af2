// A small, strict XML reader and the checks the stand-in applies to a WLAN
// profile, so that a profile the real service would refuse is refused here
// too (with ERROR_BAD_PROFILE and a reason code).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct XmlNode {
    std::wstring name;
    std::wstring ns;    // this element's own xmlns attribute, if any
    std::wstring text;  // character data directly inside the element
    std::vector<XmlNode> children;

    const XmlNode* Child(const wchar_t* childName) const;
    std::wstring Value() const;  // text without surrounding white space
};

// Well-formed XML: one root element, attributes quoted, every element closed,
// entity and character references valid; comments, processing instructions
// and CDATA sections allowed, document type declarations not.
bool ParseXml(const std::wstring& text, XmlNode& root, std::string& error);

struct WlanProfile {
    std::wstring name;
    std::string ssid;                 // bytes: the hex form when given, else the name as UTF-8
    DWORD bssType = 1;                // 1 ESS, 2 IBSS
    bool manual = false;              // connectionMode
    std::wstring authentication = L"open", encryption = L"none";
    DWORD auth = 1, cipher = 0;       // the same as DOT11_AUTH_ALGORITHM / DOT11_CIPHER_ALGORITHM
    bool oneX = false;
    bool hasKey = false;
    std::wstring keyType;             // networkKey / passPhrase
    bool keyProtected = false;
    std::wstring keyMaterial;
    int keyIndex = -1;                // -1: no keyIndex element
};

// The namespace a profile's root element must declare (the documentation
// also shows it with https; both are accepted).
extern const wchar_t kProfileNamespace[];

// Checks `xml` as a WLAN profile: well-formed, the root and namespace, the
// elements this reader knows in their schema order, the required ones there,
// enumerated values, authentication/encryption combinations and key formats.
// On failure `reason` holds the WLAN_REASON_CODE and `why` a short text.
bool ParseProfile(const std::wstring& xml, WlanProfile& profile, DWORD& reason, std::string& why);

}  // namespace standin
