// The serial trace keeps what a failure needs and withholds what holds a secret: the blocks
// (Wi-Fi keys, the private key), the password record, and the login's challenge and answer.
#include <gtest/gtest.h>

#include <deque>

#include "link/TracingSerialPort.h"

namespace varnow {
namespace {

// A port whose replies are queued by the test.
class ScriptedPort : public SerialPort {
public:
    int Open(const std::string&) override { return 0; }
    int Setup() override { return 0; }
    int SetupHandshaking() override { return 0; }
    int SetMask(std::uint32_t) override { return 0; }
    std::size_t Read(std::span<std::uint8_t> buffer) override {
        if (m_replies.empty()) {
            return 0;
        }
        const std::string reply = m_replies.front();
        m_replies.pop_front();
        std::copy(reply.begin(), reply.end(), buffer.begin());
        return reply.size();
    }
    std::size_t Write(ByteView bytes) override { return bytes.size(); }
    void Close() override {}
    bool IsOpen() const override { return true; }

    void Reply(std::string text) { m_replies.push_back(std::move(text)); }

private:
    std::deque<std::string> m_replies;
};

class TracingSerialPortTest : public ::testing::Test {
protected:
    // Writes `command`, then reads each reply chunk as it would come.
    void Exchange(const std::string& command, const std::vector<std::string>& replies) {
        m_tracing.Write(AsBytes(command));
        for (const std::string& reply : replies) {
            m_port.Reply(reply);
            std::uint8_t buffer[256];
            m_tracing.Read(buffer);
        }
    }
    std::string Trace() const { return m_ring.Text(); }

    ScriptedPort m_port;
    TraceRing m_ring;
    TracingSerialPort m_tracing{m_port, m_ring, [] { return 1.5; }};
};

TEST_F(TracingSerialPortTest, WithholdsEverySecretAndKeepsTheRest) {
    struct Case {
        std::string command;
        std::vector<std::string> replies;
        std::string secret;  // never in the trace
        std::string kept;    // in the trace
    };
    const Case cases[] = {
        {"auth chap admin\r", {"413 5f2a9c0d", "e81b\r\n"}, "5f2a9c0d", "> auth chap admin\\r"},
        {"auth hash 9d8e7f6a5b4c\r", {"410 OK\r\n"}, "9d8e7f6a5b4c", "< 410 OK\\r\\n"},
        {"reboot psk 00112233aabbccdd\r", {"410 OK\r\n"}, "00112233aabbccdd", "reboot psk ["},
        {"send envs\r", {"\x02SECRETWIFIKEY", "more\r\n", "\x02" "411 OK\r\n"}, "SECRETWIFIKEY",
         "< [14 bytes withheld]"},
        {"get id mcu\r", {"410 0123456789abcdef0123456789abcdef01234567\r\n"}, "",
         "0123456789abcdef0123456789abcdef01234567"},
        {"recv envc\r", {"410 OK\r\n"}, "", "> recv envc\\r"},
    };
    for (const Case& c : cases) {
        Exchange(c.command, c.replies);
    }
    m_tracing.Write(AsBytes(std::string("PRIVATEKEYBASE64\r\r")));
    m_tracing.Write(AsBytes(std::string("get ver\r")));
    const std::string trace = Trace();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        if (!c.secret.empty()) {
            EXPECT_EQ(trace.find(c.secret), std::string::npos) << trace;
        }
        EXPECT_NE(trace.find(c.kept), std::string::npos) << trace;
    }
    EXPECT_EQ(trace.find("PRIVATEKEY"), std::string::npos) << trace;
    EXPECT_NE(trace.find("> get ver\\r"), std::string::npos) << "the block ended with its blank line";
}

}  // namespace
}  // namespace varnow
