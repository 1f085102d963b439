// varnow-cli on a real pseudo-terminal: a password prompt does not echo, and Ctrl-C at the
// prompt gives the terminal back as it was and ends the command with status 130.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

class TerminalPromptTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0) {
            ::close(m_master);
        }
    }

    // Starts the command on a new pseudo-terminal, with echo on as a shell leaves it.
    void Start(std::vector<std::string> arguments) {
        m_pid = ::forkpty(&m_master, nullptr, nullptr, nullptr);
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            std::vector<char*> argv{const_cast<char*>(VARNOW_CLI_PATH)};
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            ::setenv("LANG", "C", 1);
            ::unsetenv("VARNOW_PASSWORD");
            ::unsetenv("VARNOW_NEW_PASSWORD");
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }

    // Reads what the command writes until `text` has come; false at the bound or its end.
    bool WaitFor(const std::string& text) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (m_seen.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            pollfd fd{m_master, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                return false;
            }
            char buffer[256];
            const ssize_t count = ::read(m_master, buffer, sizeof buffer);
            if (count <= 0) {
                return false;
            }
            m_seen.append(buffer, static_cast<std::size_t>(count));
        }
        return true;
    }

    bool Echoing() const {
        termios state{};
        EXPECT_EQ(::tcgetattr(m_master, &state), 0);
        return (state.c_lflag & ECHO) != 0;
    }

    int ExitStatus() {
        WaitFor("\x04never");  // drains the output up to the end
        int status = 0;
        EXPECT_EQ(::waitpid(m_pid, &status, 0), m_pid);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    pid_t m_pid = -1;
    int m_master = -1;
    std::string m_seen;
};

TEST_F(TerminalPromptTest, CtrlCAtAPasswordPromptRestoresTheTerminalAndExits130) {
    Start({"--simulate", "password", "set"});
    ASSERT_TRUE(WaitFor("New password: ")) << m_seen;
    EXPECT_FALSE(Echoing()) << "the password is typed without echo";
    ::kill(m_pid, SIGINT);
    EXPECT_EQ(ExitStatus(), 130) << m_seen;
    EXPECT_TRUE(Echoing()) << "the terminal echoes again";
}

TEST_F(TerminalPromptTest, APasswordTypedAtThePromptIsNeitherEchoedNorPrinted) {
    Start({"--simulate", "password", "set"});
    ASSERT_TRUE(WaitFor("New password: ")) << m_seen;
    const std::string typed = "typed secret 7\r";
    ASSERT_EQ(::write(m_master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    ASSERT_TRUE(WaitFor("password: ")) << m_seen;  // asked again to confirm
    ::kill(m_pid, SIGINT);
    EXPECT_EQ(ExitStatus(), 130) << m_seen;
    EXPECT_EQ(m_seen.find("typed secret"), std::string::npos) << m_seen;
    EXPECT_TRUE(Echoing());
}

}  // namespace
