#pragma once

#include <string>
#include <vector>

#include "ui/MessageHost.h"
#include "ui/StringTable.h"

namespace varnow {

// Turns string ids into texts of the chosen language and hands them to the host.
class Messenger {
public:
    Messenger(MessageHost& host, const StringTable& strings, Language language)
        : m_host(host), m_strings(strings), m_language(language) {}

    MessageResult Show(int stringId, MessageStyle style, const std::vector<std::string>& args = {});
    // A fixed text that is not in the string table (some file and serial texts).
    MessageResult ShowText(std::string text, MessageStyle style);

    std::string Text(int stringId) const { return m_strings.Text(stringId, m_language); }
    Language language() const { return m_language; }

private:
    MessageHost& m_host;
    const StringTable& m_strings;
    Language m_language;
};

}  // namespace varnow
