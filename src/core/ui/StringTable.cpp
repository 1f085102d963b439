#include "ui/StringTable.h"

#include <charconv>
#include <stdexcept>

namespace varnow {
namespace {

std::string Unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text.push_back(field[i]);
            continue;
        }
        switch (field[++i]) {
            case 'r':
                text.push_back('\r');
                break;
            case 'n':
                text.push_back('\n');
                break;
            case 't':
                text.push_back('\t');
                break;
            default:
                text.push_back(field[i]);
                break;
        }
    }
    return text;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace

std::optional<StringTable> StringTable::Parse(std::string_view data) {
    StringTable table;
    while (!data.empty()) {
        const std::size_t end = data.find('\n');
        std::string_view line = data.substr(0, end);
        data = (end == std::string_view::npos) ? std::string_view{} : data.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fields = SplitTabs(line);
        int id = 0;
        const auto [ptr, error] =
            std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), id);
        if (fields.size() != 3 || error != std::errc{} ||
            ptr != fields[0].data() + fields[0].size()) {
            return std::nullopt;
        }
        table.m_texts[id] = Entry{Unescape(fields[1]), Unescape(fields[2])};
    }
    return table;
}

StringTable StringTable::BuiltIn() {
    auto table = Parse(BuiltInStringData());
    if (!table) {
        throw std::logic_error("the built-in string table is malformed");
    }
    return *std::move(table);
}

std::string StringTable::Text(int id, Language language) const {
    const auto found = m_texts.find(id);
    if (found == m_texts.end()) {
        return "#" + std::to_string(id);
    }
    const std::string& text =
        (language == Language::Korean) ? found->second.korean : found->second.english;
    return text.empty() ? found->second.english : text;
}

std::vector<int> StringTable::Ids() const {
    std::vector<int> ids;
    for (const auto& [id, entry] : m_texts) {
        ids.push_back(id);
    }
    return ids;
}

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& args) {
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            text.push_back(pattern[i]);
            continue;
        }
        std::size_t j = i + 1;
        if (pattern[j] == '%') {
            text.push_back('%');
            i = j;
            continue;
        }
        const bool zeroPad = pattern[j] == '0';
        std::size_t width = 0;
        for (; j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9'; ++j) {
            width = width * 10 + static_cast<std::size_t>(pattern[j] - '0');
        }
        if (pattern.substr(j, 3) == "I64") {
            j += 3;
        }
        if (j >= pattern.size() ||
            std::string_view("sduxX").find(pattern[j]) == std::string_view::npos) {
            text.append(pattern.substr(i, j - i));
            i = j - 1;
            continue;
        }
        if (next < args.size()) {
            const std::string& arg = args[next++];
            if (arg.size() < width) {
                text.append(width - arg.size(), zeroPad ? '0' : ' ');
            }
            text.append(arg);
        }
        i = j;
    }
    return text;
}

}  // namespace varnow
