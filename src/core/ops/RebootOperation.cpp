#include "ops/RebootOperation.h"

#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {

void RebootOperation::Begin() {
    if (!link().portOpen()) {
        messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        m_result.outcome.code = RestartOutcome::NoBoard;
        return End();
    }
    const bool isp = link().session().isp;
    m_restart.Start(isp ? "rs 10\r" : "reboot sys 100\r", kStateRestart, nullptr, true,
                    [this](const RestartResult& result) {
                        m_result = result;
                        End();
                    });
}

}  // namespace varnow
