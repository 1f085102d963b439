#pragma once

#include "CliOutput.h"
#include "certs/TlsObjects.h"
#include "settings/SettingsEditor.h"
#include "ui/MessageHost.h"

namespace varnow::cli {

// The board's settings by their keys, with typed values.
CliOutput::Fields SettingFields(const ShownSettings& settings);
QJsonValue SettingJson(const SettingValue& value);

// A certificate as scripts read it: subject, issuer, validity, serial, key, fingerprint.
CliOutput::Fields CertificateFields(const Certificate& certificate);

// Messages of work that runs outside an operation (checking a package), printed as they come.
class PrintedMessages : public MessageHost {
public:
    explicit PrintedMessages(CliOutput& output) : m_output(output) {}
    MessageResult ShowMessage(const Message& message) override {
        m_output.Message(message);
        return MessageResult::Ok;
    }

private:
    CliOutput& m_output;
};

}  // namespace varnow::cli
