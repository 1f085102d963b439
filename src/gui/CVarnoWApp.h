#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <optional>

#include "CVarnoWDlg.h"
#include "LanguageStore.h"
#include "UiText.h"
#include "ui/StringTable.h"

namespace varnow::gui {

// Start-up: chooses the language once (the stored "Lang", else the system's, unless one is
// given for this run only), then runs the main window for the life of the process.
class CVarnoWApp {
public:
    // `platform`: the machine's ports, or a simulated board.
    CVarnoWApp(platform::LanguageStore& store, const QLocale& systemLocale,
               std::unique_ptr<Platform> platform, std::optional<int> languageForThisRun = {});

    int language() const { return m_language; }
    CVarnoWDlg& mainWindow() { return *m_window; }
    int Run();

private:
    StringTable m_strings;
    int m_language;
    std::unique_ptr<UiText> m_ui;
    QTranslator m_qtTexts;  // Qt's own dialog texts (buttons of the file dialog, ...)
    std::unique_ptr<CVarnoWDlg> m_window;
};

}  // namespace varnow::gui
