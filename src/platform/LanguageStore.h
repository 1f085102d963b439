#pragma once

#include <QLocale>
#include <optional>

namespace varnow::platform {

// The stored user-interface language: the value "Lang" under organisation "TarvixSystems",
// application "varnow" (the registry on Windows, an ini file elsewhere).
class LanguageStore {
public:
    std::optional<int> Read() const;
    void Write(int language);
};

// The Windows language id of a locale's language (1033 English, 1042 Korean, ...); 0 when
// there is none in this table.
int LanguageIdOf(const QLocale& locale);

}  // namespace varnow::platform
