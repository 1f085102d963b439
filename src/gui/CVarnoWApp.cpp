#include "CVarnoWApp.h"

#include <QApplication>

#include "session/LanguageChoice.h"

namespace varnow::gui {

CVarnoWApp::CVarnoWApp(platform::LanguageStore& store, const QLocale& systemLocale,
                       MainWindowOptions options)
    : m_strings(StringTable::BuiltIn()) {
    const LanguageChoice choice =
        ChooseStartupLanguage(store.Read(), platform::LanguageIdOf(systemLocale));
    if (choice.store) {
        store.Write(choice.language);
    }
    m_language = choice.language;
    const Language language = m_language == kLanguageKorean ? Language::Korean : Language::English;
    m_ui = std::make_unique<UiText>(m_strings, language);
    m_window = std::make_unique<CVarnoWDlg>(*m_ui, m_language, store, options);
}

int CVarnoWApp::Run() {
    m_window->show();
    return QApplication::exec();
}

}  // namespace varnow::gui
