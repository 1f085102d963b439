#include "ResultFields.h"

#include "certs/CertificateReport.h"

namespace varnow::cli {

QJsonValue SettingJson(const SettingValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return QString::fromStdString(*text);
    }
    if (const auto* number = std::get_if<long long>(&value)) {
        return static_cast<double>(*number);
    }
    return std::get<bool>(value);
}

CliOutput::Fields SettingFields(const ShownSettings& settings) {
    CliOutput::Fields fields;
    for (const ShownSetting& setting : settings) {
        fields.push_back({setting.key, SettingJson(setting.value)});
    }
    return fields;
}

CliOutput::Fields CertificateFields(const Certificate& certificate) {
    const CertificateSummary summary = SummariseCertificate(certificate);
    auto text = [](const std::string& value) { return QString::fromStdString(value); };
    return {
        {"subject", text(summary.subject)},      {"issuer", text(summary.issuer)},
        {"not_before", text(summary.notBefore)}, {"not_after", text(summary.notAfter)},
        {"serial", text(summary.serial)},        {"key_algorithm", text(summary.keyAlgorithm)},
        {"key_bits", summary.keyBits},           {"sha256", text(summary.sha256)},
    };
}

}  // namespace varnow::cli
