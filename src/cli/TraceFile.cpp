#include "TraceFile.h"

#include <QDateTime>
#include <fstream>

namespace varnow::cli {

std::optional<std::filesystem::path> SaveTrace(const std::filesystem::path& appData,
                                               const std::string& port, const std::string& text) {
    const std::string stamp =
        QDateTime::currentDateTimeUtc().toString("yyyyMMdd'T'HHmmss.zzz'Z'").toStdString();
    std::string name = std::filesystem::path(port).filename().string();
    if (name.empty()) {
        name = "board";
    }
    const std::filesystem::path folder = appData / "VarnoW" / "traces";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path path = folder / (stamp + "-" + name + ".trace");
    std::ofstream out(path, std::ios::out | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        return std::nullopt;
    }
    return path;
}

}  // namespace varnow::cli
