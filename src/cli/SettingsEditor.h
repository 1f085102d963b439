#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CliOutput.h"
#include "app/OutcomeText.h"
#include "settings/SettingsPages.h"
#include "settings/WlanAdvanced.h"
#include "settings/WlanPage.h"

namespace varnow::cli {

using SettingPairs = std::vector<std::pair<std::string, std::string>>;

// The board's settings as the command line names them (the names are the JSON keys too):
// `settings show` reads them, `settings set` changes them through the very page rules of the
// desktop tool, so that a value the Settings dialog would not take is refused here as well.
class SettingsEditor {
public:
    explicit SettingsEditor(EnvironmentData data);

    // The values in the order people read them. Secrets are never shown: only whether they
    // are set.
    static CliOutput::Fields Show(const EnvironmentData& data);
    // A key and its value's form, checked before the board is touched.
    static std::optional<OutcomeText> CheckSyntax(const std::string& key, const std::string& value);

    // Applies the pairs as a user would work the pages (the wireless LAN's state first, then
    // the IPv4 mode, then the fields); the first refusal, if any.
    std::optional<OutcomeText> Apply(const SettingPairs& pairs);
    // Write's checks and the store filled from the pages: the page's message id, or 0.
    int Collect();

    EnvironmentData& data() { return m_pages.data(); }

private:
    std::optional<OutcomeText> ApplyOne(const std::string& key, const std::string& value);
    std::optional<OutcomeText> ApplyNetwork(const std::string& key, const std::string& value);
    std::optional<OutcomeText> ApplyWlan(const std::string& key, const std::string& value);
    std::optional<OutcomeText> ApplyAdvanced(const std::string& key, const std::string& value);
    std::optional<OutcomeText> ApplyCredentials(const std::string& key, const std::string& value);

    SettingsPages m_pages;
    std::optional<WlanAdvanced> m_advanced;
};

}  // namespace varnow::cli
