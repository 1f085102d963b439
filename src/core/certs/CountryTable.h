#pragma once

#include <span>
#include <string>
#include <string_view>

namespace varnow {

struct Country {
    std::string_view code;  // two letters
    std::string_view name;  // English short name, plain ASCII
};

// The country table of the certificate subject: 242 rows in code order.
std::span<const Country> CountryTable();

// Exact, case-sensitive lookups; "Unknown" when nothing matches.
std::string CountryCodeForName(std::string_view name);
std::string CountryNameForCode(std::string_view code);

}  // namespace varnow
