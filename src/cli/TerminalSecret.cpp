#include "TerminalSecret.h"

#include <cctype>
#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <termios.h>
#include <unistd.h>
#define VARNOW_HAVE_TERMIOS 1
#endif

namespace varnow::cli {

std::optional<std::string> ReadSecretFromTerminal(const std::string& prompt) {
#ifdef VARNOW_HAVE_TERMIOS
    if (!isatty(0)) {
        return std::nullopt;
    }
    std::cerr << prompt << std::flush;
    termios saved{};
    tcgetattr(0, &saved);
    termios silent = saved;
    silent.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(0, TCSANOW, &silent);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(0, TCSANOW, &saved);
    std::cerr << std::endl;
    if (!read || line.empty()) {
        return std::nullopt;
    }
    return line;
#else
    (void)prompt;
    return std::nullopt;
#endif
}

std::optional<bool> AskYesOnTerminal(const std::string& question) {
#ifdef VARNOW_HAVE_TERMIOS
    if (!isatty(0)) {
        return std::nullopt;
    }
    std::cerr << question << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) {
        return false;
    }
    for (char& c : line) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return line == "y" || line == "yes";
#else
    (void)question;
    return std::nullopt;
#endif
}

}  // namespace varnow::cli
