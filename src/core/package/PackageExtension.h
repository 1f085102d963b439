#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnow {

// True when the characters after the last "." of the name, lower-cased, are "qvk". Folders
// are not told apart from files here: a folder named "a.qvk" passes, and fails to open later.
bool HasPackageExtension(std::string_view name);

// A drag may be dropped when it holds exactly one name with the package extension.
bool MayDropPackages(const std::vector<std::string>& names);

// The name a drop sets as the package path: the first one with the package extension.
std::optional<std::string> DroppedPackage(const std::vector<std::string>& names);

}  // namespace varnow
