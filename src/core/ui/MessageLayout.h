#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Message.h"

namespace varnow {

// CRs removed; split at every LF; empty pieces before an LF dropped, the piece after the last
// LF always kept (so a text ending in LF ends in an empty line).
std::vector<std::string> SplitMessageLines(std::string_view text);

// Lines wider than `maxWidth` lose their last 5 characters (UTF-8 characters, not bytes) to a
// carry line inserted after them, until they fit; the carry is wrapped in its turn.
std::vector<std::string> WrapMessageLines(std::vector<std::string> lines,
                                          const std::function<int(const std::string&)>& width,
                                          int maxWidth = 400);

struct MessageBoxSize {
    int width;
    int height;
};

// Window size for the wrapped lines: width max(text width + 110, 200), height
// max(n * (lineHeight + 8) + 48, 50) + 59.
MessageBoxSize MessageDialogSize(int textWidth, int lineHeight, int lineCount);

struct MessageButton {
    int captionId;  // string-table id of the caption
    MessageResult result;
};

// The buttons of a style's button set (style AND 0xF), left to right.
std::vector<MessageButton> MessageButtons(unsigned style);

// 0 none, else the icon's style: 16 error, 32 question, 48 warning, 64 information.
int MessageIcon(unsigned style);

}  // namespace varnow
