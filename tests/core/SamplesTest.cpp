#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "package/ClassifyPackage.h"
#include "package/PackageFile.h"
#include "support/RecordingMessageHost.h"

namespace varnow {
namespace {

const std::filesystem::path kSamples = VARNOW_SAMPLES_DIR;

TEST(Samples, CommittedSamplesAreWhatTheMakerWrites) {
    const samples::KofsOptions image{.sizeKib = 4, .productId = 1, .name = "sample image"};
    const samples::FirmwareOptions firmware{.bytes = 8192, .magic = "f4sP"};
    const samples::FirmwareOptions combinedFirmware{.bytes = 8192};
    Bytes damaged = samples::MakeKofsImage(image);
    samples::ApplyDamage(damaged, samples::Damage::HeadCrc, damaged.size());
    struct Case {
        const char* file;
        Bytes expected;
        PackageKind kind;
    };
    const Case cases[] = {
        {"image.qvk", samples::MakeKofsImage(image), PackageKind::Image},
        {"firmware.qvk", samples::MakeFirmwareImage(firmware), PackageKind::Firmware},
        {"combined.qvk", samples::MakeCombinedPackage(image, combinedFirmware),
         PackageKind::ImageAndFirmware},
        {"damaged-head-crc.qvk", damaged, PackageKind::Image},
    };
    testing::RecordingMessenger ui;
    for (const auto& c : cases) {
        EXPECT_EQ(ReadFileBytes(kSamples / c.file, 1 << 20).bytes, c.expected) << c.file;
        EXPECT_EQ(ClassifyPackage(kSamples / c.file, ui.messenger), c.kind) << c.file;
    }
}

}  // namespace
}  // namespace varnow
