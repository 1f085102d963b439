#include "settings/WlanPage.h"

#include <algorithm>
#include <array>
#include <bit>

#include "common/Utf8Text.h"
#include "settings/AddressText.h"
#include "settings/FieldText.h"
#include "settings/WpaPsk.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// A zero-padded text field as the page shows it: up to its first zero byte.
template <std::size_t N>
std::string TextOf(const std::array<std::uint8_t, N>& field) {
    const auto end = std::find(field.begin(), field.end(), 0);
    return std::string(field.begin(), end);
}

template <std::size_t N>
std::array<std::uint8_t, N> FieldOf(const std::string& text) {
    std::array<std::uint8_t, N> field{};
    std::copy_n(text.begin(), std::min(N, text.size()), field.begin());
    return field;
}

std::uint32_t WithField(std::uint32_t word, std::uint32_t mask, std::uint32_t value) {
    const int shift = std::countr_zero(mask);
    return (word & ~mask) | ((value << shift) & mask);
}

std::uint32_t FieldOfWord(std::uint32_t word, std::uint32_t mask) {
    return (word & mask) >> std::countr_zero(mask);
}

// The WEP keys and their size for a shared key of n characters.
void StoreWepKeys(const std::string& key, bool enabled, SettingsStore& store) {
    const std::size_t n = Utf8Characters(key);
    std::array<std::uint8_t, 64> bytes{};
    std::uint32_t size = n < 5 ? 0 : n <= 10 ? 1 : 2;
    const bool hexadecimal = (n >= 6 && n <= 10) || n > 13;
    if (hexadecimal && enabled) {
        std::array<std::uint8_t, 5> key40{};
        std::array<std::uint8_t, 13> key104{};
        HexTextToBytes(key, key40);
        HexTextToBytes(key, key104);
        std::copy(key40.begin(), key40.end(), store.wepKeys40.begin());
        std::copy(key104.begin(), key104.end(), store.wepKeys104.begin());
    } else {
        if (!hexadecimal && n >= 5) {
            std::copy_n(key.begin(), std::min(bytes.size(), key.size()), bytes.begin());
        }
        std::copy_n(bytes.begin(), 5, store.wepKeys40.begin());
        std::copy_n(bytes.begin(), 13, store.wepKeys104.begin());
    }
    store.wlanWord = WithField(store.wlanWord, kWlanKeySizeMask, size) & ~kWlanAlwaysZeroMask;
}

}  // namespace

std::string WlanPage::LimitedText(std::string text, std::size_t limit) {
    return Utf8Prefix(std::move(text), limit);
}

void WlanPage::EnableAll(bool enabled) {
    m_enabled = Enabled{enabled, enabled, enabled, enabled, enabled, enabled, enabled, enabled};
}

void WlanPage::Init(const SettingsStore& store) {
    m_shown.enabled = (store.networkFlags & kFlagWlanEnabled) != 0;
    if (!m_shown.enabled) {
        EnableAll(false);
    }
}

void WlanPage::Fill(const SettingsStore& store) {
    const std::uint32_t word = store.wlanWord;
    m_shown.channel.reset();
    m_enabled.channel = false;
    const std::uint32_t topology = FieldOfWord(word, kWlanTopologyMask);
    if (topology <= 2) {
        m_shown.topology = static_cast<int>(topology);
        m_topology = static_cast<int>(topology);
        m_enabled.channel = topology != 1;
    }
    if (!m_shown.enabled) {
        m_enabled.channel = false;
    }
    const std::uint32_t channel = FieldOfWord(word, kWlanChannelMask);
    if (channel <= 13) {
        m_shown.channel = static_cast<int>(channel);
    }
    const std::uint32_t method = FieldOfWord(word, kWlanDot1xMask);
    const auto item = std::find(std::begin(kDot1xMethods), std::end(kDot1xMethods), method);
    if (item != std::end(kDot1xMethods)) {
        SelectDot1x(static_cast<int>(item - std::begin(kDot1xMethods)));
    }
    m_shown.ssid = TextOf(store.ssid);
    m_shown.sharedKey = TextOf(store.sharedKey);
    m_shown.hideCharacters = true;
}

void WlanPage::SetEnabled(bool enabled, const SettingsStore& store) {
    m_shown.enabled = enabled;
    EnableAll(enabled);
    if (enabled) {
        Fill(store);
    }
}

void WlanPage::SelectTopology(int topology) {
    m_shown.topology = topology;
    m_topology = topology;
    m_enabled.channel = topology != 1;
}

void WlanPage::SelectDot1x(int item) {
    m_shown.dot1xItem = item;
    m_shown.idPasswordCaption = item == 1 ? kTextIdButton : kTextIdPasswordButton;
    m_enabled.idPassword = item != 0;
}

PageCheck WlanPage::Collect(SettingsStore& store) const {
    const std::string& key = m_shown.sharedKey;
    const std::size_t n = Utf8Characters(key);
    // A text that does not fit its field is refused, never cut: the board would hold another.
    const struct {
        const std::string& text;
        std::size_t limit;
        int tooLong, control, focus;
    } texts[] = {{m_shown.ssid, store.ssid.size(), kMsgSsidTooLong, kMsgSsidControl, kSsid},
                 {key, store.sharedKey.size(), kMsgKeyTooLong, kMsgKeyControl, kSharedKey}};
    for (const auto& field : texts) {
        switch (CheckFieldText(field.text, field.limit)) {
            case FieldTextProblem::TooLong:
                return {field.tooLong, field.focus, TooLongArgs(field.text, field.limit)};
            case FieldTextProblem::ControlCharacter:
                return {field.control, field.focus};
            case FieldTextProblem::None:
                break;
        }
    }
    if (m_shown.enabled) {
        if (n != 0 && (n < 5 || n > kKeyLimit)) {
            return {kMsgKeyLength, kSharedKey};
        }
        const bool wep = m_shown.topology == 0 || m_shown.topology == 2;
        if (wep && n != 0 && n != 5 && n != 13) {
            return {kMsgWrongWepKey, kSharedKey};
        }
    }
    StoreWepKeys(key, m_shown.enabled, store);
    if (m_shown.topology) {
        store.wlanWord = WithField(store.wlanWord, kWlanTopologyMask,
                                   static_cast<std::uint32_t>(*m_shown.topology));
    }
    store.wlanWord = WithField(store.wlanWord, kWlanChannelMask,
                               static_cast<std::uint32_t>(m_shown.channel.value_or(-1)) & 0xF);
    store.ssid = FieldOf<32>(m_shown.ssid);
    if (m_shown.dot1xItem) {
        store.wlanWord = WithField(store.wlanWord, kWlanDot1xMask,
                                   kDot1xMethods[static_cast<std::size_t>(*m_shown.dot1xItem)]);
    }
    store.sharedKey = FieldOf<63>(key);
    store.preSharedKey = DerivePsk(store.sharedKey, store.ssid);
    store.networkFlags = m_shown.enabled ? store.networkFlags | kFlagWlanEnabled
                                         : store.networkFlags & ~kFlagWlanEnabled;
    return {};
}

}  // namespace varnow
