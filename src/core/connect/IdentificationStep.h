#pragma once

#include "session/BoardLink.h"
#include "ui/Messenger.h"

namespace varnow {

// A step of connecting got no reply in time: the progress dialog closes with the connection,
// the user reads "Has failed initial setting.", and the command ends.
void FailIdentification(BoardLink& link, Messenger& messenger);

}  // namespace varnow
