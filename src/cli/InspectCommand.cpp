#include "InspectCommand.h"

#include <ostream>

#include "ExitStatus.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/PackageFormat.h"
#include "package/RecordNames.h"
#include "package/VerifyFirmwareImage.h"
#include "upload/UploadText.h"

namespace varnow::cli {
namespace {

const char* KindName(PackageKind kind) {
    switch (kind) {
        case PackageKind::Image: return "1 (KOFS image)";
        case PackageKind::Firmware: return "2 (firmware image)";
        case PackageKind::ImageAndFirmware: return "3 (KOFS image and firmware image)";
        default: return "none";
    }
}

void ReportImage(std::ostream& out, const Bytes& image) {
    const std::string name = ImageName(image);
    out << "image size:   " << image.size() << " bytes (" << image.size() / 1024 << " KiB)\n"
        << "product ID:   " << unsigned{image[11]} << "\n"
        << "image name:   " << (name.empty() ? "(none)" : name) << "\n"
        << "image hash:   " << ImageHash(image) << "\n"
        << "upload fits:  "
        << (UploadTextFits(image.size()) ? "yes" : "no")
        << " (at most " << MaxUploadImageKib() << " KiB)\n";
}

bool ReportFirmware(std::ostream& out, const std::filesystem::path& path, Messenger& messenger) {
    const bool sound = VerifyFirmwareImage(path, messenger);
    out << "firmware:     " << std::filesystem::file_size(path) << " bytes, CRC "
        << (sound ? "ok" : "wrong") << "\n";
    return sound;
}

}  // namespace

int InspectCommand::Execute(CommandContext& context) {
    if (context.arguments.size() != 1) {
        return kExitUsage;
    }
    const std::filesystem::path path = context.arguments[0];
    const PackageKind kind = ClassifyPackage(path, context.messenger);
    context.out << "package:      " << path.string() << "\n"
                << "kind:         " << KindName(kind) << "\n";
    if (kind == PackageKind::Firmware) {
        return ReportFirmware(context.out, path, context.messenger) ? kExitSuccess
                                                                     : kExitPackageRefused;
    }
    if (kind != PackageKind::Image && kind != PackageKind::ImageAndFirmware) {
        return kExitPackageRefused;
    }
    LoadedPackage package;
    package.SetPackagePath(path);
    if (!LoadPackage(package, m_scratchFolder, context.messenger)) {
        return kExitPackageRefused;
    }
    ReportImage(context.out, package.image());
    if (kind == PackageKind::ImageAndFirmware &&
        !ReportFirmware(context.out, package.extractedFirmwarePath(), context.messenger)) {
        return kExitPackageRefused;
    }
    return kExitSuccess;
}

}  // namespace varnow::cli
