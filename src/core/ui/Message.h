#pragma once

#include <string>

namespace varnow {

// Styles follow the message-box type flags that callers and boards' users know them by.
enum class MessageStyle : int {
    Error = 16,
    Question = 36,  // question icon with YES and NO buttons
    Warning = 48,
    Information = 64,
};

// Results are the message-box result codes.
enum class MessageResult : int {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
    TryAgain = 10,
    Continue = 11,
};

struct Message {
    int stringId = 0;  // 0 for a fixed text that is not in the string table
    std::string text;  // UTF-8, already in the user's language and formatted
    MessageStyle style = MessageStyle::Warning;
};

const char* StyleName(MessageStyle style);

}  // namespace varnow
