#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/LineAssembler.h"

namespace varnow {
namespace {

struct Line {
    std::string text;
    bool framed;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << (line.framed ? "framed:" : "unframed:") << '"' << line.text << '"';
}

std::vector<Line> Assemble(const std::vector<std::string>& reads) {
    LineAssembler assembler;
    std::vector<Line> lines;
    for (const auto& read : reads) {
        for (char c : read) {
            if (assembler.Feed(static_cast<std::uint8_t>(c))) {
                ReplyLine line = assembler.TakeLine();
                lines.push_back({line.text, line.framed});
            }
        }
    }
    return lines;
}

TEST(LineAssembler, AssemblesFramedAndUnframedLines) {
    const std::string stx = "\x02";
    const std::string long4094(4094, 'x');
    const std::string long4095(4095, 'x');
    struct Case {
        const char* name;
        std::vector<std::string> reads;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"framed reply, LF dropped", {stx + "410 OK\r\n"}, {{"410 OK", true}}},
        {"unframed line", {"abc\r"}, {{"abc", false}}},
        {"lone CR is an empty unframed line", {"\r"}, {{"", false}}},
        {"second STX discards the framed start", {stx + "ab" + stx + "cd\r"}, {{"cd", true}}},
        {"STX discards unframed bytes", {"ab" + stx + "cd\r"}, {{"cd", true}}},
        {"ETX and LF dropped inside a line",
         {"a\x03"
          "b\nc\r"},
         {{"abc", false}}},
        {"split over two reads", {stx + "41", "0 OK\r"}, {{"410 OK", true}}},
        {"two lines in one read", {stx + "A\r\n" + stx + "B\r\n"}, {{"A", true}, {"B", true}}},
        {"4095 bytes with STX delivered whole", {stx + long4094 + "\r"}, {{long4094, true}}},
        {"4095 unframed bytes delivered whole", {long4095 + "\r"}, {{long4095, false}}},
        {"4096 bytes are discarded, then the CR ends an empty line",
         {stx + long4095 + "\r"},
         {{"", false}}},
        {"bytes after an overlong line start a new line", {long4095 + "xyz\r"}, {{"yz", false}}},
        {"STX at the start of an empty buffer is stored", {stx + "\r"}, {{"", true}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Assemble(c.reads), c.lines) << c.name;
    }
}

}  // namespace
}  // namespace varnow
