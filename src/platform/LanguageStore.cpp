#include "LanguageStore.h"

#include <QSettings>

namespace varnow::platform {
namespace {
constexpr const char* kOrganisation = "TarvixSystems";
constexpr const char* kApplication = "varnow";
constexpr const char* kKey = "Lang";
}  // namespace

std::optional<int> LanguageStore::Read() const {
    QSettings settings(kOrganisation, kApplication);
    bool isNumber = false;
    const int value = settings.value(kKey).toInt(&isNumber);
    if (!isNumber) {
        return std::nullopt;
    }
    return value;
}

void LanguageStore::Write(int language) {
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kKey, language);
    settings.sync();
}

int LanguageIdOf(const QLocale& locale) {
    switch (locale.language()) {
        case QLocale::English:
            return 1033;
        case QLocale::Korean:
            return 1042;
        case QLocale::German:
            return 1031;
        case QLocale::French:
            return 1036;
        case QLocale::Spanish:
            return 3082;
        case QLocale::Italian:
            return 1040;
        case QLocale::Japanese:
            return 1041;
        case QLocale::Chinese:
            return 2052;
        case QLocale::Russian:
            return 1049;
        default:
            return 0;
    }
}

}  // namespace varnow::platform
