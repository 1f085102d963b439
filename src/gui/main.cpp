// varnow: the desktop application of Varno Writer.
#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>
#include <optional>

#include "BoardLines.h"
#include "CVarnoWApp.h"
#include "LanguageStore.h"
#include "QtPlatform.h"
#include "session/LanguageChoice.h"

namespace {

struct Arguments {
    bool simulate = false;
    bool checkDisplay = false;
    std::optional<int> language;
};

// Read before any window system is touched, so that --help and --version work anywhere.
// Returns an exit status when the run ends here.
std::optional<int> Parse(int argc, char** argv, Arguments& arguments) {
    QCoreApplication reader(argc, argv);
    QCoreApplication::setApplicationName("varnow");
    QCoreApplication::setApplicationVersion("1.0.1");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Varno Writer: writes file-system images and firmware into Varno boards.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate("simulate", "List a simulated board in the port list.");
    const QCommandLineOption language("lang", "The language of this run: en or ko (not stored).",
                                      "en|ko");
    const QCommandLineOption checkDisplay("check-display",
                                          "Only open the window system, and end: 0 when it opens.");
    parser.addOptions({simulate, language, checkDisplay});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "varnow: %s (see varnow --help)\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help") || parser.isSet("help-all")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("varnow 1.0.1\n");
        return 0;
    }
    const QString lang = parser.value(language);
    if (parser.isSet(language) && lang != "en" && lang != "ko") {
        std::fprintf(stderr, "varnow: --lang takes en or ko (see varnow --help)\n");
        return 2;
    }
    if (parser.isSet(language)) {
        arguments.language = lang == "ko" ? varnow::kLanguageKorean : varnow::kLanguageEnglish;
    }
    arguments.simulate = parser.isSet(simulate);
    arguments.checkDisplay = parser.isSet(checkDisplay);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (const auto status = Parse(argc, argv, arguments)) {
        return *status;
    }
    QApplication application(argc, argv);
    if (arguments.checkDisplay) {
        return 0;
    }
    application.setOrganizationName("TarvixSystems");
    application.setApplicationName("varnow");
    varnow::platform::LanguageStore store;
    // The one place that chooses the board line: the machine's ports, or the simulated board.
    varnow::gui::CVarnoWApp app(store, QLocale::system(),
                                std::make_unique<varnow::platform::QtPlatform>(
                                    varnow::app::BoardLineFor(arguments.simulate)),
                                arguments.language);
    return app.Run();
}
