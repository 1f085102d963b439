#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <variant>

#include "settings/SettingsPages.h"
#include "settings/WlanAdvanced.h"
#include "settings/WlanPage.h"

namespace varnow {

using SettingPairs = std::vector<std::pair<std::string, std::string>>;

// A setting's value as read: a text, a number, or on/off.
using SettingValue = std::variant<std::string, long long, bool>;
struct ShownSetting {
    std::string key;
    SettingValue value;
};
using ShownSettings = std::vector<ShownSetting>;

// A setting an edit changes. A secret's values are never given: only that it changed.
struct SettingChange {
    std::string key;
    std::optional<SettingValue> from, to;  // nullopt for a secret
};

// Why a setting is refused: the text's id and its values.
struct SettingRefusal {
    int stringId = 0;
    std::vector<std::string> args;
};

// The board's settings by name (the command line's keys, the JSON keys and a settings plan's
// columns): they are shown by these names and changed through the very page rules of the
// desktop tool, so that a value the Settings dialog would not take is refused here as well.
class SettingsEditor {
public:
    explicit SettingsEditor(EnvironmentData data);

    // The values in the order people read them. Secrets are never shown: only whether they
    // are set.
    static ShownSettings Show(const EnvironmentData& data);
    // What an edit changes, in the order of Show; secrets only by name.
    static std::vector<SettingChange> Changes(const EnvironmentData& before,
                                              const EnvironmentData& after);
    // A key and its value's form, checked before the board is touched.
    static std::optional<SettingRefusal> CheckSyntax(const std::string& key,
                                                     const std::string& value);
    // Every pair's form, and each key at most once.
    static std::optional<SettingRefusal> CheckPairs(const SettingPairs& pairs);

    // Applies the pairs as a user would work the pages (the wireless LAN's state first, then
    // the IPv4 mode, then the fields); the first refusal, if any.
    std::optional<SettingRefusal> Apply(const SettingPairs& pairs);
    // Write's checks and the store filled from the pages: the page's refusal, if any.
    std::optional<SettingRefusal> Collect();

    EnvironmentData& data() { return m_pages.data(); }

private:
    std::optional<SettingRefusal> ApplyOne(const std::string& key, const std::string& value);
    std::optional<SettingRefusal> ApplyNetwork(const std::string& key, const std::string& value);
    std::optional<SettingRefusal> ApplyWlan(const std::string& key, const std::string& value);
    std::optional<SettingRefusal> ApplyAdvanced(const std::string& key, const std::string& value);
    std::optional<SettingRefusal> ApplyCredentials(const std::string& key,
                                                   const std::string& value);

    SettingsPages m_pages;
    std::optional<WlanAdvanced> m_advanced;
};

}  // namespace varnow
