#include "PrivateFiles.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace varnow::platform {
namespace {

constexpr int kMostNames = 10000;

#ifdef Q_OS_UNIX
std::string Reason() {
    return std::strerror(errno);
}

bool WriteAll(int fd, ByteView bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        at += static_cast<std::size_t>(written);
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

std::string MakePrivateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return {};
    }
    if (const std::string parent = MakePrivateFolders(folder.parent_path()); !parent.empty()) {
        return parent;
    }
#ifdef Q_OS_UNIX
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return Reason();
    }
#else
    if (!std::filesystem::create_directory(folder, error) && error) {
        return error.message();
    }
#endif
    return {};
}

std::string PreparePrivateFile(const std::filesystem::path& path, bool truncate) {
#ifdef Q_OS_UNIX
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0), 0600);
    if (fd < 0) {
        return Reason();
    }
    ::close(fd);
    return {};
#else
    QFile file(QString::fromStdWString(path.wstring()));
    const auto mode = QIODevice::WriteOnly | (truncate ? QIODevice::Truncate : QIODevice::Append);
    if (!file.open(mode)) {
        return file.errorString().toStdString();
    }
    return {};
#endif
}

FileWritten PrivateFileStore::WriteNewAt(const std::filesystem::path& path, ByteView bytes) {
    if (const std::string problem = MakePrivateFolders(path.parent_path()); !problem.empty()) {
        return {path, problem};
    }
#ifdef Q_OS_UNIX
    std::string temporary =
        (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());  // made for its user alone
    if (fd < 0) {
        return {path, Reason()};
    }
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const std::string writeProblem = written ? std::string() : Reason();
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        return {path, writeProblem};
    }
    // link() gives the file its name only when no file has it: nothing is ever replaced.
    const bool named = ::link(temporary.c_str(), path.c_str()) == 0;
    const std::string nameProblem = named ? std::string() : Reason();
    ::unlink(temporary.c_str());
    if (!named) {
        return {path, nameProblem};
    }
    SyncFolder(path.parent_path());
    return {path, {}};
#else
    const QString name = QString::fromStdWString(path.wstring());
    if (QFile::exists(name)) {
        return {path, "a file of that name exists"};
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        return {path, file.errorString().toStdString()};
    }
    return {path, {}};
#endif
}

FileWritten PrivateFileStore::WriteNew(const std::filesystem::path& folder, const std::string& stem,
                                       const std::string& extension, ByteView bytes) {
    for (int counter = 1; counter <= kMostNames; ++counter) {
        const std::string name =
            stem + (counter == 1 ? std::string() : "-" + std::to_string(counter)) + extension;
        const FileWritten written = WriteNewAt(folder / name, bytes);
        std::error_code error;
        if (written.ok() || !std::filesystem::exists(folder / name, error)) {
            return written;
        }
    }
    return {folder / (stem + extension), "no free name"};
}

}  // namespace varnow::platform
