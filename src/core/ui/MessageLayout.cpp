#include "ui/MessageLayout.h"

#include <algorithm>

namespace varnow {
namespace {

constexpr int kOk = 114, kCancel = 113, kAbort = 111, kRetry = 110, kIgnore = 109;
constexpr int kYes = 116, kNo = 115, kContinue = 112;
constexpr std::size_t kCarryCharacters = 5;

// Byte offset where the last `count` UTF-8 characters of `text` begin.
std::size_t StartOfLastCharacters(const std::string& text, std::size_t count) {
    std::size_t at = text.size();
    while (count > 0 && at > 0) {
        --at;
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
            --count;
        }
    }
    return at;
}

}  // namespace

std::vector<std::string> SplitMessageLines(std::string_view text) {
    std::string clean;
    std::copy_if(text.begin(), text.end(), std::back_inserter(clean),
                 [](char c) { return c != '\r'; });
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = clean.find('\n'); lf != std::string::npos; lf = clean.find('\n', start)) {
        if (lf > start) {
            lines.push_back(clean.substr(start, lf - start));
        }
        start = lf + 1;
    }
    lines.push_back(clean.substr(start));
    return lines;
}

std::vector<std::string> WrapMessageLines(std::vector<std::string> lines,
                                          const std::function<int(const std::string&)>& width,
                                          int maxWidth) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string carry;
        while (width(lines[i]) > maxWidth) {
            const std::size_t cut = StartOfLastCharacters(lines[i], kCarryCharacters);
            if (cut == 0) {
                break;  // five characters wider than the limit: nothing narrower can be made
            }
            carry.insert(0, lines[i].substr(cut));
            lines[i].erase(cut);
        }
        if (!carry.empty()) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, carry);
        }
    }
    return lines;
}

MessageBoxSize MessageDialogSize(int textWidth, int lineHeight, int lineCount) {
    const int textHeight = std::max(lineCount * (lineHeight + 8) + 48, 50);
    return {std::max(textWidth + 110, 200), textHeight + 59};
}

std::vector<MessageButton> MessageButtons(unsigned style) {
    using R = MessageResult;
    switch (style & 0xF) {
        case 1:
            return {{kOk, R::Ok}, {kCancel, R::Cancel}};
        case 2:
            return {{kAbort, R::Abort}, {kRetry, R::Retry}, {kIgnore, R::Ignore}};
        case 3:
            return {{kYes, R::Yes}, {kNo, R::No}, {kCancel, R::Cancel}};
        case 4:
            return {{kYes, R::Yes}, {kNo, R::No}};
        case 5:
            return {{kRetry, R::Retry}, {kCancel, R::Cancel}};
        case 6:
            return {{kCancel, R::Cancel}, {kRetry, R::TryAgain}, {kContinue, R::Continue}};
        default:
            return {{kOk, R::Ok}};
    }
}

int MessageIcon(unsigned style) {
    const unsigned bits = style & 0x70;
    switch (bits) {
        case 0x00:
            return 0;
        case 0x10:
            return 16;
        case 0x20:
            return 32;
        case 0x40:
            return 64;
        default:
            return 48;
    }
}

}  // namespace varnow
