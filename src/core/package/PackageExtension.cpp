#include "package/PackageExtension.h"

#include <algorithm>

namespace varnow {

bool HasPackageExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return extension == "qvk";
}

bool MayDropPackages(const std::vector<std::string>& names) {
    return names.size() == 1 && HasPackageExtension(names.front());
}

std::optional<std::string> DroppedPackage(const std::vector<std::string>& names) {
    const auto found = std::find_if(names.begin(), names.end(), [](const std::string& name) {
        return HasPackageExtension(name);
    });
    if (found == names.end()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace varnow
