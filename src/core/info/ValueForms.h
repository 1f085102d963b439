#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "info/NetworkInfo.h"
#include "info/ProductInfo.h"

namespace varnow {

// The forms the board's values come in; a value that fails its form was damaged on its way
// and is reported as unreadable, never shown as if the board had said it.
bool IsFibId(std::string_view text);       // 32 hexadecimal digits
bool IsMacAddress(std::string_view text);  // six hexadecimal pairs, split by ':' or '-'
bool IsDottedQuad(std::string_view text);  // four numbers of 0 to 255
bool IsDecimal(std::string_view text);     // digits, after an optional minus
bool IsIpv6Text(std::string_view text);
bool IsWord(std::string_view text);  // letters, digits, '-', '_', '/', '+' and spaces, not empty

// The names of the values that fail their forms ("fib_id", "mac", "ipv4.netmask", ...).
std::vector<std::string> UnreadableValues(const ProductInfo& info);
std::vector<std::string> UnreadableValues(const NetworkInfo& info);

}  // namespace varnow
