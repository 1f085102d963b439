#include "NetworkQueries.h"

#include <charconv>

namespace varnow::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The payload of the settings block's record (type, subtype), walked the board's way.
std::optional<Bytes> Record(const Bytes& block, std::uint8_t type, std::uint8_t subtype) {
    for (std::size_t at = 16; at + 6 <= block.size();) {
        const std::size_t length = block[at + 2] | (block[at + 3] << 8);
        if (length < 6 || length > block.size() - at) {
            break;
        }
        if (block[at] == type && block[at + 1] == subtype) {
            return Bytes(block.begin() + static_cast<long>(at) + 4,
                         block.begin() + static_cast<long>(at + length) - 2);
        }
        at += length;
    }
    return std::nullopt;
}

std::string Dotted(const std::optional<Bytes>& address) {
    if (!address || address->size() < 4) {
        return {};
    }
    return std::to_string((*address)[0]) + "." + std::to_string((*address)[1]) + "." +
           std::to_string((*address)[2]) + "." + std::to_string((*address)[3]);
}

std::string Text(const std::optional<Bytes>& field) {
    if (!field) {
        return {};
    }
    std::string text(field->begin(), field->end());
    return text.substr(0, text.find('\0'));
}

// "arp 3" -> the table's line for index 3, an empty line past its end.
std::vector<std::string> TableEntry(const std::vector<std::string>& table, std::string_view index,
                                    bool endless, bool okAlone) {
    std::size_t n = 0;
    std::from_chars(index.data(), index.data() + index.size(), n);
    if (endless) {
        return {"10.0." + std::to_string(n / 256 % 256) + "." + std::to_string(n % 256) +
                "  00:00:00:00:00:00  net0"};
    }
    if (n >= table.size() && okAlone) {
        return {};
    }
    return {n < table.size() ? table[n] : std::string()};
}

}  // namespace

std::optional<std::vector<std::string>> AnswerQuery(const std::string& query,
                                                    const NetworkState& state,
                                                    const Bytes& settings, bool endlessTables) {
    const bool wireless = Record(settings, 9, 0).has_value();
    auto one = [](std::string value) { return std::vector<std::string>{std::move(value)}; };
    if (query == "net0 ipaddr")
        return one(Dotted(Record(settings, 3, 0)));
    if (query == "net0 netmask")
        return one(Dotted(Record(settings, 3, 1)));
    if (query == "net0 gwaddr")
        return one(Dotted(Record(settings, 3, 2)));
    if (query == "net0 nsaddr")
        return one(Dotted(Record(settings, 3, 3)));
    if (query == "net0 dad count")
        return one(std::to_string(state.conflicts));
    if (query == "net0 dad addr")
        return one(state.conflictMac);
    if (query == "net0 dad tick")
        return one(state.conflictTick);
    if (query == "net0 ipaddr6 0")
        return one(state.linkLocal);
    if (query == "net0 ipaddr6 1")
        return one(state.global);
    if (query == "net0 gwaddr6")
        return one(state.gateway6);
    if (query == "net0 prefix6")
        return one(state.prefix6);
    if (query.starts_with("net0 arp ")) {
        return TableEntry(state.arp, query.substr(9), endlessTables, state.tablesEndWithOkAlone);
    }
    if (query.starts_with("net0 ndc ")) {
        return TableEntry(state.neighbours, query.substr(9), endlessTables,
                          state.tablesEndWithOkAlone);
    }
    if (query.starts_with("net1 ")) {
        if (!wireless) {
            return std::vector<std::string>{};  // inoperative: "410 OK" alone
        }
        const std::string name = query.substr(5);
        if (name == "mode")
            return one("Infrastructure");
        if (name == "ssid")
            return one(Text(Record(settings, 9, 1)));
        if (name == "rssi")
            return one(state.rssi);
        if (name == "rsna")
            return one(state.rsna);
        if (name == "akm")
            return one(state.akm);
        if (name == "cipher")
            return one(state.cipher);
    }
    return std::nullopt;
}

}  // namespace varnow::sim
