#include "InspectCommand.h"

#include <CLI/CLI.hpp>

#include "Report.h"
#include "ResultFields.h"

#include "app/PackageProblem.h"
#include "files/RegularFile.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/LoadedPackage.h"
#include "package/RecordNames.h"
#include "package/VerifyFirmwareImage.h"
#include "upload/UploadText.h"

namespace varnow::cli {
namespace {

const char* KindName(PackageKind kind) {
    switch (kind) {
        case PackageKind::Image:
            return "image";
        case PackageKind::Firmware:
            return "firmware";
        case PackageKind::ImageAndFirmware:
            return "image-and-firmware";
        default:
            return "none";
    }
}

void ReportImage(CliOutput::Fields& fields, const Bytes& image) {
    fields.push_back({"image_bytes", static_cast<double>(image.size())});
    fields.push_back({"product_id", static_cast<int>(image[kProductIdField])});
    fields.push_back({"image_name", QString::fromStdString(ImageName(image))});
    fields.push_back({"image_hash", QString::fromStdString(ImageHash(image))});
    fields.push_back({"upload_fits", UploadTextFits(image.size())});
}

bool ReportFirmware(CliOutput::Fields& fields, const std::filesystem::path& path,
                    Messenger& messenger) {
    const bool sound = VerifyFirmwareImage(path, messenger);
    std::error_code error;
    fields.push_back(
        {"firmware_bytes", static_cast<double>(std::filesystem::file_size(path, error))});
    fields.push_back({"firmware_crc_ok", sound});
    return sound;
}

}  // namespace

OutcomeText PackageRefusal(CommandContext& context, const std::filesystem::path& package) {
    const UserFile file = ReadRegularFile(package, kMaxPackageFileBytes);
    const std::optional<OutcomeText> problem =
        file.ok() ? DescribePackageProblem(file.bytes) : std::nullopt;
    if (!problem) {
        return OutcomeText{kErrPackageRefused, {package.string()}};
    }
    return OutcomeText{kCliPackageRefusedBecause,
                       {package.string(), context.Text(problem->stringId, problem->args)}};
}

PackageCheck CheckPackage(const std::filesystem::path& path, Messenger& messenger,
                          const std::filesystem::path& scratchFolder) {
    PackageCheck check;
    check.kind = ClassifyPackage(path, messenger);
    check.fields = {{"package", QString::fromStdString(path.string())},
                    {"kind", KindName(check.kind)}};
    if (check.kind == PackageKind::Firmware) {
        check.sound = ReportFirmware(check.fields, path, messenger);
        check.hasFirmware = true;
        return check;
    }
    if (check.kind != PackageKind::Image && check.kind != PackageKind::ImageAndFirmware) {
        return check;
    }
    LoadedPackage package;
    package.SetPackagePath(path);
    if (!LoadPackage(package, scratchFolder, messenger)) {
        return check;
    }
    ReportImage(check.fields, package.image());
    check.sound = UploadTextFits(package.image().size());
    if (check.kind == PackageKind::ImageAndFirmware) {
        check.hasFirmware = true;
        check.sound =
            ReportFirmware(check.fields, package.extractedFirmwarePath(), messenger) && check.sound;
    }
    return check;
}

void InspectCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
}

int InspectCommand::Execute(CommandContext& context) {
    if (const auto reason = PackageUnreadable(m_package)) {
        return Finish(context, kExitPackageRefused, "unreadable", {{"package", Json(m_package)}},
                      OutcomeText{kCliPackageUnreadable, {m_package, *reason}});
    }
    PrintedMessages printed(context.output);
    Messenger messenger(printed, context.strings, context.options.language);
    const PackageCheck check = CheckPackage(m_package, messenger, m_scratchFolder);
    if (!check.sound) {
        return Finish(context, kExitPackageRefused, "refused", check.fields,
                      PackageRefusal(context, m_package));
    }
    return Finish(context, kExitSuccess, "sound", check.fields, std::nullopt);
}

}  // namespace varnow::cli
