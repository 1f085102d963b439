#include "CliApp.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <map>

#include "ExitStatus.h"
#include "HelpText.h"
#include "PrivateFiles.h"
#include "Secrets.h"
#include "Subcommand.h"
#include "ui/MessageIds.h"

namespace varnow::cli {
namespace {

struct Parsed {
    CliOptions options;
    std::string language;
    std::vector<std::unique_ptr<Subcommand>> commands;
    std::map<const CLI::App*, Subcommand*> byApp;
};

// The group a command sits in, made when the first of its commands is defined.
CLI::App* GroupOf(CLI::App& app, const std::vector<std::string>& path) {
    CLI::App* parent = &app;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        CLI::App* group = nullptr;
        try {
            group = parent->get_subcommand(path[i]);
        } catch (const CLI::OptionNotFound&) {
            group = parent->add_subcommand(path[i], path[i] + " commands");
            group->require_subcommand(1);
            group->fallthrough();
        }
        parent = group;
    }
    return parent;
}

void Define(CLI::App& app, Parsed& parsed) {
    app.add_option("-p,--port", parsed.options.ports,
                   "the board's port: ttyACM0, COM3, a path, a /dev/serial/by-id or by-path link, "
                   "usb:SERIAL or usb-path:PATH; default: the only board port found")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    auto* simulate = app.add_flag("--simulate", parsed.options.simulate,
                                  "use a simulated board inside this program");
    app.get_option("--port")->excludes(simulate);
    SecretSource& password = parsed.options.password;
    auto* ask = app.add_flag("--password", password.ask,
                             "ask for the board's administrator password on the terminal "
                             "(without echo) when the board asks for one; the default without "
                             "the options below or $VARNOW_PASSWORD");
    auto* variable = app.add_option("--password-env", password.variable,
                                    "the board's password is in this environment variable");
    auto* file = app.add_option("--password-file", password.file,
                                "the board's password is the first line of this file");
    ask->excludes(variable)->excludes(file);
    variable->excludes(file);
    app.add_option("--trace", parsed.options.traceFile,
                   "record every byte written and received, with times, in this file");
    app.add_option("--lang", parsed.language, "language of the messages: en or ko")
        ->check(CLI::IsMember({"en", "ko"}));
    app.add_flag("--json", parsed.options.json,
                 "one JSON object per line for every event, and a final result object");
    app.set_version_flag("--version", std::string("varnow-cli ") + kCliVersion);
    app.require_subcommand(1);
    for (const auto& command : parsed.commands) {
        const std::vector<std::string> path = command->Path();
        CLI::App* sub = GroupOf(app, path)->add_subcommand(path.back(), command->Description());
        sub->fallthrough();
        command->Define(*sub);
        parsed.byApp[sub] = command.get();
    }
}

Subcommand* Chosen(const CLI::App& app, const Parsed& parsed) {
    for (const CLI::App* sub : app.get_subcommands()) {
        const auto found = parsed.byApp.find(sub);
        if (found != parsed.byApp.end()) {
            return found->second;
        }
        if (Subcommand* inner = Chosen(*sub, parsed)) {
            return inner;
        }
    }
    return nullptr;
}

// One line for a mistake, in CLI11's words, with a pointer to the help of the command it was
// made in; in Korean, CLI11's words follow a Korean line.
int UsageError(const CLI::App& app, const CLI::ParseError& error, std::ostream& err,
               Language language) {
    std::string where = "varnow-cli";
    for (const CLI::App* sub = &app; sub != nullptr;) {
        const auto parsed = sub->get_subcommands();
        sub = parsed.empty() ? nullptr : parsed.front();
        if (sub != nullptr) {
            where += " " + sub->get_name();
        }
    }
    if (language == Language::Korean) {
        err << "error: 명령줄이 잘못되었습니다: " << error.what() << " (" << where
            << " --help 참조)" << std::endl;
    } else {
        err << "error: " << error.what() << " (see " << where << " --help)" << std::endl;
    }
    return kExitUsage;
}

// The words that may follow a flag on the command line: the commands and their groups.
std::vector<std::string> CommandWords(const Parsed& parsed) {
    std::vector<std::string> words;
    for (const auto& command : parsed.commands) {
        for (const std::string& word : command->Path()) {
            words.push_back(word);
        }
    }
    return words;
}

// The trace file is made (for its user alone) before anything is done, so that a bad path
// costs nothing.
std::optional<std::string> TraceUnwritable(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    if (const std::string problem = platform::PreparePrivateFile(path, true); !problem.empty()) {
        return problem;
    }
    return std::nullopt;
}

}  // namespace

int RunCli(int argc, const char* const* argv, CliEnvironment& environment) {
    CLI::App app{"Varno Writer's command line: writes images and firmware into Varno boards.",
                 "varnow-cli"};
    Parsed parsed;
    parsed.options.passwordFromEnvironment = environment.password;
    parsed.options.newPasswordFromEnvironment = environment.newPassword;
    parsed.options.scratchFolder = environment.scratchFolder;
    parsed.commands = AllCommands(environment.scratchFolder);
    Define(app, parsed);
    // The help is made in the language asked for before the command line is parsed.
    const Language language =
        LanguageOnCommandLine(argc, argv).value_or(environment.systemLanguage);
    LocalizeHelp(app, language);
    // A password written on the command line is refused unread: every user can see it there.
    if (PasswordOnCommandLine(argc, argv, CommandWords(parsed))) {
        const StringTable strings = StringTable::BuiltIn();
        environment.err << "error: " << strings.Text(kCliPasswordOnCommandLine, language)
                        << std::endl;
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, environment.out, environment.err);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help, environment.out, environment.err);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version, environment.out, environment.err);
    } catch (const CLI::RequiredError& error) {
        // Without a command, say which word was taken for one, if any.
        if (Chosen(app, parsed) == nullptr) {
            const std::vector<std::string> rest = app.remaining();
            const std::string what = !rest.empty() && !rest.front().starts_with("-")
                                         ? "unknown command " + rest.front()
                                         : "a command is required";
            environment.err << "error: " << what << " (see varnow-cli --help)" << std::endl;
            return kExitUsage;
        }
        return UsageError(app, error, environment.err, language);
    } catch (const CLI::ParseError& error) {
        return UsageError(app, error, environment.err, language);
    }
    CliOptions& options = parsed.options;
    options.language = parsed.language.empty()   ? environment.systemLanguage
                       : parsed.language == "ko" ? Language::Korean
                                                 : Language::English;
    const StringTable strings = StringTable::BuiltIn();
    CliOutput output(environment.out, environment.err, options.json, environment.terminal,
                     environment.columns);
    CommandContext context{options, output, strings,
                           [&](const std::string& port, std::optional<std::string> password) {
                               return environment.openBoard(options, output, port,
                                                            std::move(password));
                           },
                           [&] { return environment.listPorts(options); }};
    Subcommand* command = Chosen(app, parsed);
    options.port = options.ports.empty() ? std::string() : options.ports.front();
    const bool station =
        command != nullptr && command->Path() == std::vector<std::string>{"station"};
    if (options.ports.size() > 1 && !station) {
        output.Error(context.Text(kCliOnePort));
        return kExitUsage;
    }
    if (const auto reason = TraceUnwritable(options.traceFile)) {
        output.Error(context.Text(kCliTraceUnwritable, {options.traceFile, *reason}));
        return kExitUsage;
    }
    return command != nullptr ? command->Execute(context) : kExitUsage;
}

}  // namespace varnow::cli
