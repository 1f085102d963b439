#pragma once

#include <optional>

namespace varnow {

inline constexpr int kLanguageEnglish = 1033;
inline constexpr int kLanguageKorean = 1042;

struct LanguageChoice {
    int language;
    bool store;  // the stored value must be (re)written
};

// The start-up language: the stored value, or the system default when none (or 0) is stored;
// a language without texts falls back to English. Written back whenever it was missing or
// had to fall back.
LanguageChoice ChooseStartupLanguage(std::optional<int> stored, int systemDefault);

bool HasTextsFor(int language);

}  // namespace varnow
