#pragma once

#include "ui/Message.h"

namespace varnow {

// What the core needs of a host to tell the user something: the GUI shows a modal message
// dialog, the command line prints it. Returns the button the user chose.
class MessageHost {
public:
    virtual ~MessageHost() = default;
    virtual MessageResult ShowMessage(const Message& message) = 0;
};

}  // namespace varnow
