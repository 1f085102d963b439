#include "CVarnoWApp.h"

#include <QApplication>
#include <QLibraryInfo>

#include "session/LanguageChoice.h"

namespace varnow::gui {

CVarnoWApp::CVarnoWApp(platform::LanguageStore& store, const QLocale& systemLocale,
                       std::unique_ptr<Platform> platform, std::optional<int> languageForThisRun)
    : m_strings(StringTable::BuiltIn()) {
    const LanguageChoice choice =
        ChooseStartupLanguage(store.Read(), platform::LanguageIdOf(systemLocale));
    if (choice.store) {
        store.Write(choice.language);
    }
    m_language = languageForThisRun.value_or(choice.language);
    const Language language = m_language == kLanguageKorean ? Language::Korean : Language::English;
    m_ui = std::make_unique<UiText>(m_strings, language);
    if (language == Language::Korean &&
        m_qtTexts.load(QLocale(QLocale::Korean), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&m_qtTexts);
    }
    m_window = std::make_unique<CVarnoWDlg>(*m_ui, WindowLanguages{m_language, choice.language},
                                            store, std::move(platform));
}

int CVarnoWApp::Run() {
    m_window->show();
    return QApplication::exec();
}

}  // namespace varnow::gui
