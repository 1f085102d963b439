#include "info/ProductInfoRead.h"

#include <utility>

#include "common/BoardText.h"
#include "link/CommandStates.h"
#include "package/RecordNames.h"
#include "ui/MessageIds.h"

namespace varnow {

ProductInfoRead::ProductInfoRead(BoardLink& link, Messenger& messenger)
    : m_link(link),
      m_messenger(messenger),
      m_query(link),
      m_tail(link, messenger),
      m_settings(link, messenger),
      m_head(link) {}

void ProductInfoRead::Start(Done done) {
    m_done = std::move(done);
    m_info = ProductInfo{};
    m_info.fibId = m_link.session().fibId;
    ReadMac();
}

bool ProductInfoRead::PortStillOpen() {
    if (m_link.portOpen()) {
        return true;
    }
    m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
    Finish(ProductInfoOutcome::NoBoard);
    return false;
}

bool ProductInfoRead::Answered(const Outcome<QueryOutcome>& outcome) {
    switch (outcome.code) {
        case QueryOutcome::Answered:
            return true;
        case QueryOutcome::TimedOut:
        case QueryOutcome::Refused:
            m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
            Finish(ProductInfoOutcome::TimedOut, outcome.command);
            return false;
        case QueryOutcome::PortLost:
            break;
    }
    Finish(ProductInfoOutcome::PortLost);
    return false;
}

void ProductInfoRead::ReadMac() {
    if (!PortStillOpen()) {
        return;
    }
    m_query.Start("get id fib mac\r", kStateGetFibMac, {kTimerReply1s, 1000}, false,
                  [this](const auto& outcome, const std::string& mac) {
                      if (Answered(outcome)) {
                          m_info.mac = mac;
                          ReadUptime();
                      }
                  });
}

void ProductInfoRead::ReadUptime() {
    if (!PortStillOpen()) {
        return;
    }
    m_query.Start("get sys uptime\r", kStateGetUptime, {kTimerReply1s, 1000}, false,
                  [this](const auto& outcome, const std::string& uptime) {
                      if (Answered(outcome)) {
                          m_info.uptimeReply = uptime;
                          ReadTail();
                      }
                  });
}

void ProductInfoRead::ReadTail() {
    if (!PortStillOpen()) {
        return;
    }
    m_tail.Start([this](const Outcome<TailOutcome>& outcome, const FirmwareNameResult& name) {
        switch (outcome.code) {
            case TailOutcome::Read:
                if (name.malformed) {
                    return Finish(ProductInfoOutcome::MalformedTail);
                }
                m_info.firmwareName = BoardTextToUtf8(AsBytes(name.name));
                return ReadSettings();
            case TailOutcome::TimedOut:  // the read has shown its message
                return Finish(ProductInfoOutcome::TimedOut, outcome.command);
            case TailOutcome::NoBoard:
                return Finish(ProductInfoOutcome::NoBoard);
            case TailOutcome::PortLost:
                return Finish(ProductInfoOutcome::PortLost);
        }
    });
}

void ProductInfoRead::ReadSettings() {
    if (!PortStillOpen()) {
        return;
    }
    m_settings.Start([this](const Outcome<SettingsReadOutcome>& outcome, EnvironmentData data) {
        switch (outcome.code) {
            case SettingsReadOutcome::Read:
                m_info.productName = BoardTextToUtf8(data.store.productName);
                return ReadHead();
            case SettingsReadOutcome::TimedOut:  // the read has shown its messages
                return Finish(ProductInfoOutcome::TimedOut, outcome.command);
            case SettingsReadOutcome::Undecodable:
                return Finish(ProductInfoOutcome::Undecodable);
            case SettingsReadOutcome::IspMode:
            case SettingsReadOutcome::NoBoard:
                return Finish(ProductInfoOutcome::NoBoard);
            case SettingsReadOutcome::PortLost:
                return Finish(ProductInfoOutcome::PortLost);
        }
    });
}

void ProductInfoRead::ReadHead() {
    m_head.Start([this](const Outcome<ReadOutcome>& outcome, const Bytes& head) {
        switch (outcome.code) {
            case ReadOutcome::Read:
                m_info.kofsName = BoardTextToUtf8(AsBytes(ImageName(head)));
                return Finish(ProductInfoOutcome::Read);
            case ReadOutcome::Stalled:
                return Finish(ProductInfoOutcome::HeadStalled, outcome.command);
            case ReadOutcome::PortLost:
                return Finish(ProductInfoOutcome::PortLost);
        }
    });
}

void ProductInfoRead::Finish(ProductInfoOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<ProductInfoOutcome> result{outcome};
        result.command = std::move(command);
        done(result, m_info);
    }
}

}  // namespace varnow
