#include "CliApp.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <map>

#include "Command.h"
#include "ExitStatus.h"
#include "ui/MessageIds.h"

namespace varnow::cli {
namespace {

constexpr const char* kExitStatuses = R"(Exit status:
  0  success
  1  other failure
  2  bad command line
  3  package refused (unreadable, not a package, damaged, or without what the command needs)
  4  no board port found, or several and no --port
  5  the port could not be opened or set up
  6  the board did not answer, or stopped answering
  7  the board's firmware is too old for this tool
  8  the board needs a newer Varno Writer
  9  login refused, or a password needed and none given
 10  the board is in its ISP boot loader
 11  the board's port vanished, or the board did not come back after a restart
 12  the package is for another product
 13  a step of the transfer got no answer in time
 14  the board's hash of the stored image differs from the package's
 15  the board did not confirm what it stored
 16  the image could not be written to the port
 17  the boot loader did not take the firmware
 18  a setting was refused (by the settings' rules, or by the board): nothing was written
 19  what was read back after a write (settings, certificate) differs from what was written
 20  a certificate or key file was refused (unreadable, no certificate, no RSA key)
 21  the board holds no certificate, or a damaged one
 22  the board did not take the certificate
130  interrupted (Ctrl-C): the port was closed)";

struct Parsed {
    CliOptions options;
    std::string language = "en";
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
                   "the board's port (ttyACM0, COM3, a path); default: the only board port found")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    auto* simulate = app.add_flag("--simulate", parsed.options.simulate,
                                  "use a simulated board inside this program");
    app.get_option("--port")->excludes(simulate);
    app.add_option("--password", parsed.options.password,
                   "the board's administrator password (else $VARNOW_PASSWORD, else asked)");
    app.add_option("--trace", parsed.options.traceFile,
                   "record every byte written and received, with times, in this file");
    app.add_option("--lang", parsed.language, "language of the messages: en or ko")
        ->check(CLI::IsMember({"en", "ko"}));
    app.add_flag("--json", parsed.options.json,
                 "one JSON object per line for every event, and a final result object");
    app.set_version_flag("--version", std::string("varnow-cli ") + kCliVersion);
    app.footer(kExitStatuses);
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

// One line for a mistake, with a pointer to the help of the command it was made in.
int UsageError(const CLI::App& app, const CLI::ParseError& error, std::ostream& err) {
    std::string what = error.what();
    const std::vector<std::string> rest = app.remaining();
    if (error.get_name() == "RequiredError" && what.starts_with("A subcommand")) {
        what = !rest.empty() && rest.front().front() != '-' ? "unknown command " + rest.front()
                                                            : "a command is required";
    }
    std::string where = "varnow-cli";
    for (const CLI::App* sub = &app; sub != nullptr;) {
        const auto parsed = sub->get_subcommands();
        sub = parsed.empty() ? nullptr : parsed.front();
        if (sub != nullptr) {
            where += " " + sub->get_name();
        }
    }
    err << "error: " << what << " (see " << where << " --help)" << std::endl;
    return kExitUsage;
}

// The trace file is opened before anything is done, so that a bad path costs nothing.
std::optional<std::string> TraceUnwritable(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::ofstream probe(path, std::ios::app);
    if (!probe) {
        return std::strerror(errno);
    }
    return std::nullopt;
}

}  // namespace

int RunCli(int argc, const char* const* argv, CliEnvironment& environment) {
    CLI::App app{"Varno Writer's command line: writes images and firmware into Varno boards.",
                 "varnow-cli"};
    Parsed parsed;
    parsed.options.password = environment.password;
    parsed.options.newPassword = environment.newPassword;
    parsed.options.scratchFolder = environment.scratchFolder;
    parsed.commands = AllCommands(environment.scratchFolder);
    Define(app, parsed);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, environment.out, environment.err);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help, environment.out, environment.err);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version, environment.out, environment.err);
    } catch (const CLI::ParseError& error) {
        return UsageError(app, error, environment.err);
    }
    CliOptions& options = parsed.options;
    options.language = parsed.language == "ko" ? Language::Korean : Language::English;
    const StringTable strings = StringTable::BuiltIn();
    CliOutput output(environment.out, environment.err, options.json, environment.terminal,
                     environment.columns);
    CommandContext context{
        options, output, strings,
        [&](const std::string& port) { return environment.openBoard(options, output, port); },
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
