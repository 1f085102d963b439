file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace varnow {
namespace {
const char kData[] = {
    ${bytes} '\\0'};
}  // namespace

std::string_view ${NAME}() { return std::string_view(kData, ${byte_count}); }
}  // namespace varnow
")
