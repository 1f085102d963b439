#include "TraceFile.h"

#include <QDateTime>

namespace varnow::cli {

std::optional<std::filesystem::path> SaveTrace(FileStore& files,
                                               const std::filesystem::path& dataFolder,
                                               const std::string& port, const std::string& text) {
    const std::string stamp =
        QDateTime::currentDateTimeUtc().toString("yyyyMMdd'T'HHmmss.zzz'Z'").toStdString();
    std::string name = std::filesystem::path(port).filename().string();
    if (name.empty()) {
        name = "board";
    }
    const FileWritten written =
        files.WriteNew(dataFolder / "traces", stamp + "-" + name, ".trace", AsBytes(text));
    if (!written.ok()) {
        return std::nullopt;
    }
    return written.path;
}

}  // namespace varnow::cli
