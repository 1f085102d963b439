// varnow-cli: the command-line front end of Varno Writer.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "BoardConnection.h"
#include "BoardLines.h"
#include "CliApp.h"
#include "HelpText.h"

namespace {

using namespace varnow;
using namespace varnow::cli;

bool ErrorIsTerminal() {
#if defined(__unix__) || defined(__APPLE__)
    return isatty(2) != 0;
#else
    return false;
#endif
}

// The terminal's width now, so that the progress line never wraps.
int TerminalColumns() {
#if defined(__unix__) || defined(__APPLE__)
    winsize size{};
    if (ioctl(2, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        return std::max(20, std::atoi(columns));
    }
    return 80;
}

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

// The locale messages are shown in, as the C library picks it: LC_ALL, LC_MESSAGES, LANG.
std::string MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const auto value = Variable(name); value && !value->empty()) {
            return *value;
        }
    }
    return {};
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // This run's own folder for the firmware it splits off; it goes with the run.
    const QTemporaryDir scratch(QDir::tempPath() + "/varnow-cli-XXXXXX");
    const StringTable strings = StringTable::BuiltIn();
    CliEnvironment environment{
        .out = std::cout,
        .err = std::cerr,
        .terminal = ErrorIsTerminal(),
        .columns = TerminalColumns,
        .password = Variable("VARNOW_PASSWORD"),
        .newPassword = Variable("VARNOW_NEW_PASSWORD"),
        .scratchFolder = scratch.path().toStdString(),
        .systemLanguage = LanguageOfLocale(MessagesLocale()),
        .openBoard = [&strings](
                         const CliOptions& options, CliOutput& output, const std::string& port,
                         std::optional<std::string> password) -> std::unique_ptr<BoardAccess> {
            return std::make_unique<BoardConnection>(options, output, strings, port,
                                                     std::move(password));
        },
        .listPorts =
            [](const CliOptions& options) {
                return app::BoardLineFor(options.simulate)->ListPorts();
            },
    };
    return RunCli(argc, argv, environment);
}
