#include "package/ClassifyPackage.h"

#include "package/PackageChecks.h"
#include "package/PackageFile.h"
#include "package/PackageMessages.h"

namespace varnow {

PackageKind ClassifyPackage(const std::filesystem::path& path, Messenger& messenger) {
    // Only the head and the length decide the kind, so the rest of the file is not read.
    const FileRead file = ReadFileStart(path, kHeadFixedSize);
    if (file.status != FileReadStatus::Ok) {
        messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return PackageKind::Unreadable;
    }
    const PackageKind kind = ClassifyPackageStart(file.bytes, file.fileSize);
    if (kind == PackageKind::Incorrect) {
        messenger.ShowText(kFileIsIncorrect, MessageStyle::Warning);
    }
    return kind;
}

}  // namespace varnow
