#include "connect/IdentificationStep.h"

#include "ui/MessageIds.h"

namespace varnow {

void FailIdentification(BoardLink& link, Messenger& messenger) {
    link.channel().ClearLine();
    link.CancelProgressAndDisconnect();
    messenger.Show(kMsgInitialSettingFailed, MessageStyle::Warning);
    link.channel().End();
}

}  // namespace varnow
