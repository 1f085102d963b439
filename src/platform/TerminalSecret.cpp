#include "TerminalSecret.h"

#include <cctype>
#include <csignal>
#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#define VARNOW_HAVE_TERMIOS 1
#endif

namespace varnow::platform {
namespace {

#ifdef VARNOW_HAVE_TERMIOS
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
    g_interrupted = 1;
}

// While a question is open, Ctrl-C and SIGTERM only interrupt its read: the terminal is set
// back before the program goes on to end.
class InterruptibleRead {
public:
    InterruptibleRead() {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no restart: the read returns with EINTR
        sigaction(SIGINT, &action, &m_savedInt);
        sigaction(SIGTERM, &action, &m_savedTerm);
    }
    ~InterruptibleRead() {
        sigaction(SIGINT, &m_savedInt, nullptr);
        sigaction(SIGTERM, &m_savedTerm, nullptr);
    }

    // One line from standard input; false when interrupted (or at its end: `ended`).
    bool ReadLine(std::string& line, bool& ended) {
        ended = false;
        char c = 0;
        while (true) {
            const ssize_t count = ::read(0, &c, 1);
            if (g_interrupted != 0) {
                return false;
            }
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                ended = true;
                return true;
            }
            if (c == '\n') {
                return true;
            }
            line.push_back(c);
        }
    }

private:
    struct sigaction m_savedInt {};
    struct sigaction m_savedTerm {};
};

TerminalAnswer Ask(const std::string& prompt, bool echo) {
    if (!isatty(0)) {
        return {};
    }
    std::cerr << prompt << std::flush;
    termios saved{};
    tcgetattr(0, &saved);
    if (!echo) {
        termios silent = saved;
        silent.c_lflag &= static_cast<tcflag_t>(~ECHO);
        tcsetattr(0, TCSANOW, &silent);
    }
    TerminalAnswer answer{TerminalAnswer::Status::Answered, {}};
    {
        InterruptibleRead read;
        bool ended = false;
        if (!read.ReadLine(answer.text, ended)) {
            answer.status = TerminalAnswer::Status::Interrupted;
        }
    }
    tcsetattr(0, TCSANOW, &saved);
    if (!echo || answer.status == TerminalAnswer::Status::Interrupted) {
        std::cerr << std::endl;
    }
    if (!answer.text.empty() && answer.text.back() == '\r') {
        answer.text.pop_back();
    }
    return answer;
}
#endif

}  // namespace

TerminalAnswer ReadSecretFromTerminal(const std::string& prompt) {
#ifdef VARNOW_HAVE_TERMIOS
    return Ask(prompt, false);
#else
    (void)prompt;
    return {};
#endif
}

TerminalAnswer AskOnTerminal(const std::string& question) {
#ifdef VARNOW_HAVE_TERMIOS
    TerminalAnswer answer = Ask(question, true);
    for (char& c : answer.text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return answer;
#else
    (void)question;
    return {};
#endif
}

}  // namespace varnow::platform
