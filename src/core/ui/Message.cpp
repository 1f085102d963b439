#include "ui/Message.h"

namespace varnow {

const char* StyleName(MessageStyle style) {
    switch (style) {
        case MessageStyle::Error:
            return "error";
        case MessageStyle::Question:
            return "question";
        case MessageStyle::Warning:
            return "warning";
        case MessageStyle::Information:
            return "information";
    }
    return "message";
}

}  // namespace varnow
