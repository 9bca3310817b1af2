// The countries offered, read from the string table, and the channels each
// one allows by its position in the list.
#pragma once

#include <string>
#include <vector>

namespace regiopick {

constexpr int kMaxCountries = 100;
// The position selected when the dialog opens: UNITED STATES.
constexpr int kDefaultPosition = 89;
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 14;

struct ChannelRange {
    int first;
    int last;
};

ChannelRange ChannelsAt(int position);

// Whether the names and codes read from the string table make a table the
// program can apply: a name and a code at every position, the default
// position among them, no empty piece, and every code whole in its slot.
// Anything less would let the choice write a wrong country or none at all.
bool IsUsableTable(const std::vector<std::string>& names, const std::vector<std::string>& codes);

// The pieces of `text` that a comma follows, at most `max` of them: the text
// after the last comma (a line break, say) is no entry.
std::vector<std::string> SplitPieces(const char* text, int max);

// The two-letter codes, position by position, in a fixed table.
class CountryCodes {
public:
    static constexpr int kCodeSize = 8;

    void Load(const std::vector<std::string>& codes);
    int Count() const { return m_count; }
    // The code at `position`, or "" where the table has none.
    const char* At(int position) const;

private:
    char m_codes[kMaxCountries][kCodeSize] = {};
    int m_count = 0;
};

}  // namespace regiopick
