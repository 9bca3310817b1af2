#include "CountryTable.h"

#include <windows.h>

namespace regiopick {

ChannelRange ChannelsAt(int position) {
    switch (position) {
    case 0:   // ALBANIA
    case 7:   // BAHRAIN
    case 9:   // BELGIUM
    case 12:  // BRAZIL
    case 43:  // JAPAN
    case 67:  // PHILIPPINES
    case 72:  // ROMANIA
        return {1, 11};
    case 22:  // CZECH REPUBLIC
    case 34:  // HONG KONG
        return {10, 13};
    case 31:  // GERMANY
        return {5, 7};
    case 33:  // GUATEMALA
        return {1, 14};
    default:
        return {1, 13};
    }
}

std::vector<std::string> SplitPieces(const char* text, int max) {
    std::vector<std::string> pieces;
    const char* start = text;
    for (const char* p = text; *p && static_cast<int>(pieces.size()) < max; ++p) {
        if (*p == ',') {
            pieces.emplace_back(start, p);
            start = p + 1;
        }
    }
    return pieces;
}

bool IsUsableTable(const std::vector<std::string>& names, const std::vector<std::string>& codes) {
    if (names.size() <= static_cast<size_t>(kDefaultPosition) || codes.size() < names.size()) return false;
    for (const std::string& name : names) {
        if (name.empty()) return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (codes[i].empty() || codes[i].size() >= static_cast<size_t>(CountryCodes::kCodeSize)) return false;
    }
    return true;
}

void CountryCodes::Load(const std::vector<std::string>& codes) {
    m_count = 0;
    for (const std::string& code : codes) {
        if (m_count == kMaxCountries) break;
        ::lstrcpynA(m_codes[m_count++], code.c_str(), kCodeSize);
    }
}

const char* CountryCodes::At(int position) const {
    return position >= 0 && position < m_count ? m_codes[position] : "";
}

}  // namespace regiopick
