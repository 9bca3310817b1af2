// An XML document as the system's XML reader (xmllite) sees it: whether it
// is well-formed, the root's namespace, and every element in document order
// as a path ("Root/Child/Leaf") with its text.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ParsedXml {
    bool wellFormed = false;
    std::string rootNamespace;
    std::vector<std::pair<std::string, std::string>> elements;
    // The text of the first element at `path`, "<missing>" when there is none.
    std::string Text(const std::string& path) const;
    bool Has(const std::string& path) const { return Text(path) != "<missing>"; }
};

// Characters beyond ASCII read as '?'.
ParsedXml ParseXml(const std::string& xml);

}  // namespace testsupport
