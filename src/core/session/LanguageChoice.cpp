#include "session/LanguageChoice.h"

namespace varnow {

bool HasTextsFor(int language) {
    return language == kLanguageEnglish || language == kLanguageKorean;
}

LanguageChoice ChooseStartupLanguage(std::optional<int> stored, int systemDefault) {
    LanguageChoice choice{stored.value_or(0), false};
    if (choice.language == 0) {
        choice = {systemDefault, true};
    }
    if (!HasTextsFor(choice.language)) {
        choice = {kLanguageEnglish, true};
    }
    return choice;
}

}  // namespace varnow
