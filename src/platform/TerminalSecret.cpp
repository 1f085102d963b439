#include "TerminalSecret.h"

#include <cctype>
#include <csignal>
#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#define VARNOW_HAVE_TERMIOS 1
#endif

namespace varnow::platform {
namespace {

#ifdef VARNOW_HAVE_TERMIOS
// The write end of the pipe that tells the read a signal came (a self-pipe: an interrupt that
// comes before the read starts still ends it).
volatile std::sig_atomic_t g_wakeFd = -1;

extern "C" void OnInterrupt(int) {
    const int saved = errno;
    const char byte = 1;
    if (g_wakeFd >= 0) {
        (void)!::write(g_wakeFd, &byte, 1);
    }
    errno = saved;
}

// While a question is open, Ctrl-C and SIGTERM only interrupt its read: the terminal is set
// back before the program goes on to end.
class InterruptibleRead {
public:
    InterruptibleRead() {
        if (::pipe(m_wake) == 0) {
            for (const int fd : m_wake) {
                ::fcntl(fd, F_SETFD, FD_CLOEXEC);
                ::fcntl(fd, F_SETFL, O_NONBLOCK);
            }
            g_wakeFd = m_wake[1];
        }
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGINT, &action, &m_savedInt);
        sigaction(SIGTERM, &action, &m_savedTerm);
    }
    ~InterruptibleRead() {
        sigaction(SIGINT, &m_savedInt, nullptr);
        sigaction(SIGTERM, &m_savedTerm, nullptr);
        g_wakeFd = -1;
        for (const int fd : m_wake) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    // One line from standard input; false when interrupted (or at its end: `ended`).
    bool ReadLine(std::string& line, bool& ended) {
        ended = false;
        while (true) {
            pollfd fds[2] = {{0, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            const int ready = ::poll(fds, m_wake[0] >= 0 ? 2 : 1, -1);
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready < 0) {
                ended = true;
                return true;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                return false;  // interrupted
            }
            char c = 0;
            const ssize_t count = ::read(0, &c, 1);
            if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
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
    int m_wake[2] = {-1, -1};
    struct sigaction m_savedInt {};
    struct sigaction m_savedTerm {};
};

TerminalAnswer Ask(const std::string& prompt, bool echo) {
    if (!isatty(0)) {
        return {};
    }
    // Echo goes off and Ctrl-C is caught before the prompt shows: nothing typed after it is
    // echoed, and an interrupt always finds the terminal to set back.
    termios saved{};
    tcgetattr(0, &saved);
    TerminalAnswer answer{TerminalAnswer::Status::Answered, {}};
    {
        InterruptibleRead read;
        if (!echo) {
            termios silent = saved;
            silent.c_lflag &= static_cast<tcflag_t>(~ECHO);
            tcsetattr(0, TCSANOW, &silent);
        }
        std::cerr << prompt << std::flush;
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
