#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnow {

// Language ids as the stored "Lang" value has them.
enum class Language : int { English = 1033, Korean = 1042 };

// The numbered texts of the tool in every language it has, read from the table under res/.
class StringTable {
public:
    // Parses "id<TAB>English<TAB>Korean" lines; returns nullopt on a malformed line.
    static std::optional<StringTable> Parse(std::string_view data);
    // The table compiled into the binary.
    static StringTable BuiltIn();

    // The text, or "#<id>" when the table has none (never empty, so a gap is visible).
    std::string Text(int id, Language language) const;
    bool Has(int id) const { return m_texts.count(id) != 0; }
    std::vector<int> Ids() const;

private:
    struct Entry {
        std::string english;
        std::string korean;
    };
    std::map<int, Entry> m_texts;
};

// The embedded copy of res/strings.tsv.
std::string_view BuiltInStringData();

// Replaces printf-style placeholders (%s %d %u %x %X %I64d, with an optional 0 flag and width)
// in order with the given texts; "%%" gives "%". Missing arguments leave the placeholder out.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& args);

}  // namespace varnow
