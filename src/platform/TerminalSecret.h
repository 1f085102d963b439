#pragma once

#include <string>

namespace varnow::platform {

// What a question on the terminal came to.
struct TerminalAnswer {
    enum class Status {
        Answered,     // `text` holds the line typed (without its end)
        NoTerminal,   // standard input is no terminal: nobody can be asked
        Interrupted,  // Ctrl-C (or SIGTERM) while asking: the terminal is as it was
    };
    Status status = Status::NoTerminal;
    std::string text;
};

// Asks for a secret on the terminal without echoing it. Ctrl-C gives the terminal back as it
// was before the question (echo on) and says so; the secret is wiped by its receiver.
TerminalAnswer ReadSecretFromTerminal(const std::string& prompt);

// Asks a yes-or-no question on the terminal: the line typed, lower-cased.
TerminalAnswer AskOnTerminal(const std::string& question);

}  // namespace varnow::platform
