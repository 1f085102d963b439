#include "CheckPackageCommand.h"

#include "CliHost.h"
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
        case PackageKind::Image:
            return "1 (KOFS image)";
        case PackageKind::Firmware:
            return "2 (firmware image)";
        case PackageKind::ImageAndFirmware:
            return "3 (KOFS image and firmware image)";
        default:
            return "none";
    }
}

void ReportImage(CliOutput::Fields& fields, const Bytes& image) {
    const std::string name = ImageName(image);
    fields.push_back({"image size", std::to_string(image.size()) + " bytes (" +
                                        std::to_string(image.size() / 1024) + " KiB)"});
    fields.push_back({"product id", std::to_string(unsigned{image[11]})});
    fields.push_back({"image name", name.empty() ? "(none)" : name});
    fields.push_back({"image hash", ImageHash(image)});
    fields.push_back({"upload fits", std::string(UploadTextFits(image.size()) ? "yes" : "no") +
                                         " (at most " + std::to_string(MaxUploadImageKib()) +
                                         " KiB)"});
}

bool ReportFirmware(CliOutput::Fields& fields, const std::filesystem::path& path,
                    Messenger& messenger) {
    const bool sound = VerifyFirmwareImage(path, messenger);
    fields.push_back({"firmware", std::to_string(std::filesystem::file_size(path)) +
                                      " bytes, CRC " + (sound ? "ok" : "wrong")});
    return sound;
}

}  // namespace

int CheckPackageCommand::Execute(CommandContext& context) {
    if (context.arguments.size() != 1) {
        return kExitUsage;
    }
    CliHost host(context.output, context.strings, context.options.language, "", std::nullopt);
    Messenger messenger(host, context.strings, context.options.language);
    CliOutput::Fields fields;
    const int status = Check(context.arguments[0], messenger, fields);
    context.output.Result(status, status == kExitSuccess ? "sound" : "refused", fields);
    return status;
}

int CheckPackageCommand::Check(const std::filesystem::path& path, Messenger& messenger,
                               CliOutput::Fields& fields) {
    const PackageKind kind = ClassifyPackage(path, messenger);
    fields = {{"package", path.string()}, {"kind", KindName(kind)}};
    if (kind == PackageKind::Firmware) {
        return ReportFirmware(fields, path, messenger) ? kExitSuccess : kExitPackageRefused;
    }
    if (kind != PackageKind::Image && kind != PackageKind::ImageAndFirmware) {
        return kExitPackageRefused;
    }
    LoadedPackage package;
    package.SetPackagePath(path);
    if (!LoadPackage(package, m_scratchFolder, messenger)) {
        return kExitPackageRefused;
    }
    ReportImage(fields, package.image());
    if (kind == PackageKind::ImageAndFirmware &&
        !ReportFirmware(fields, package.extractedFirmwarePath(), messenger)) {
        return kExitPackageRefused;
    }
    return kExitSuccess;
}

}  // namespace varnow::cli
