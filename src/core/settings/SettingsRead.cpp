#include "settings/SettingsRead.h"

#include "link/CommandStates.h"
#include "settings/EnvironmentBlock.h"
#include "ui/MessageIds.h"

namespace varnow {

void SettingsRead::Start(Done done) {
    if (m_link.session().isp) {
        m_messenger.Show(kMsgIspModeRefusal, MessageStyle::Warning);
        return done({SettingsReadOutcome::IspMode}, {});
    }
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return done({SettingsReadOutcome::NoBoard}, {});
    }
    m_read.Start(BulkRequest{.command = "send envs\r",
                             .state = kStateSendEnvs,
                             .timer = {kTimerReply3s, 3000},
                             .capacity = kEnvironmentBufferSize},
                 [this, done = std::move(done)](const Outcome<BulkOutcome>& read) {
                     EnvironmentData data;
                     switch (read.code) {
                         case BulkOutcome::Read:
                             if (m_read.empty()) {
                                 m_messenger.Show(kMsgNoConfigurationValue, MessageStyle::Warning);
                             } else if (DecodeEnvironmentBytes(m_read.Decoded(), data)) {
                                 return done({SettingsReadOutcome::Read}, std::move(data));
                             }
                             [[fallthrough]];
                         case BulkOutcome::Overflow:
                         case BulkOutcome::Refused:
                             m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
                             return done({SettingsReadOutcome::Undecodable}, {});
                         case BulkOutcome::TimedOut:
                             m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
                             return done({SettingsReadOutcome::TimedOut, read.command}, {});
                         case BulkOutcome::PortLost:
                             return done({SettingsReadOutcome::PortLost}, {});
                     }
                 });
}

}  // namespace varnow
