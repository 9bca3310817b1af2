#include "support/ParsedXml.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

namespace testsupport {
namespace {
std::string Narrow(const WCHAR* text, UINT length) {
    std::string out;
    for (UINT i = 0; i < length; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return out;
}
}  // namespace

std::string ParsedXml::Text(const std::string& path) const {
    for (const auto& [p, text] : elements)
        if (p == path) return text;
    return "<missing>";
}

ParsedXml ParseXml(const std::string& xml) {
    ParsedXml parsed;
    using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    static HMODULE library = ::LoadLibraryA("xmllite.dll");
    auto create = reinterpret_cast<CreateReader>(reinterpret_cast<void*>(::GetProcAddress(library, "CreateXmlReader")));
    if (!create) return parsed;
    IXmlReader* reader = nullptr;
    IStream* stream = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(xml.data()), static_cast<UINT>(xml.size()));
    if (!stream || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr)) ||
        FAILED(reader->SetInput(stream))) {
        if (reader) reader->Release();
        if (stream) stream->Release();
        return parsed;
    }
    std::vector<std::string> open;
    std::vector<size_t> slots;
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader->Read(&type)) == S_OK) {
        const WCHAR* value = nullptr;
        UINT length = 0;
        if (type == XmlNodeType_Element) {
            reader->GetLocalName(&value, &length);
            const std::string name = Narrow(value, length);
            if (open.empty()) {
                reader->GetNamespaceUri(&value, &length);
                parsed.rootNamespace = Narrow(value, length);
            }
            const std::string path = open.empty() ? name : open.back() + "/" + name;
            parsed.elements.emplace_back(path, "");
            if (!reader->IsEmptyElement()) {
                open.push_back(path);
                slots.push_back(parsed.elements.size() - 1);
            }
        } else if (type == XmlNodeType_Text && !slots.empty()) {
            reader->GetValue(&value, &length);
            parsed.elements[slots.back()].second += Narrow(value, length);
        } else if (type == XmlNodeType_EndElement && !open.empty()) {
            open.pop_back();
            slots.pop_back();
        }
    }
    parsed.wellFormed = hr == S_FALSE && open.empty();
    reader->Release();
    stream->Release();
    return parsed;
}

}  // namespace testsupport
