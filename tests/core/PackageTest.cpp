#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "SamplePackages.h"
#include "app/PackageProblem.h"
#include "crypto/Crc16.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/PackageFile.h"
#include "package/VerifyFirmwareImage.h"
#include "support/RecordingMessageHost.h"
#include "support/TempFolder.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using samples::Damage;
using testing::RecordingMessenger;
using testing::TempFolder;

Bytes Kofs(unsigned kib, std::uint8_t productId = 1) {
    return samples::MakeKofsImage({.sizeKib = kib, .productId = productId});
}

Bytes Firmware(std::size_t bytes, const char* magic = "f1sP") {
    return samples::MakeFirmwareImage({.bytes = bytes, .magic = magic});
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class PackageTest : public ::testing::Test {
protected:
    PackageKind Classify(const Bytes& bytes) {
        return ClassifyPackage(m_folder.Write("p.qvk", bytes), m_ui.messenger);
    }
    bool Load(LoadedPackage& package, const Bytes& bytes, const std::string& name = "p.qvk") {
        package.SetPackagePath(m_folder.Write(name, bytes));
        return LoadPackage(package, m_appData, m_ui.messenger);
    }
    std::vector<std::string> Texts() const { return m_ui.host.texts(); }

    TempFolder m_folder;
    std::filesystem::path m_appData = m_folder.path() / "appdata";
    RecordingMessenger m_ui;
};

TEST_F(PackageTest, ClassifiesByFirstWordAndSizeField) {
    struct Case {
        const char* name;
        Bytes bytes;
        PackageKind kind;
        const char* message;  // nullptr: none
    };
    Bytes lowerCase = Kofs(1);
    lowerCase[0] = 'K';
    Bytes cutKofs = Kofs(2);
    cutKofs.resize(1500);
    Bytes shortKofs = Kofs(1);
    shortKofs.resize(15);
    const Case cases[] = {
        {"image only", Kofs(2), PackageKind::Image, nullptr},
        {"image longer than file", cutKofs, PackageKind::Image, nullptr},
        {"image and one byte more", Concat(Kofs(1), Bytes{0x55}), PackageKind::ImageAndFirmware,
         nullptr},
        {"image and firmware", Concat(Kofs(1), Firmware(100)), PackageKind::ImageAndFirmware,
         nullptr},
        {"firmware f1sP", Firmware(64, "f1sP"), PackageKind::Firmware, nullptr},
        {"firmware f4sP", Firmware(64, "f4sP"), PackageKind::Firmware, nullptr},
        {"magic in another case", lowerCase, PackageKind::Incorrect, "File is incorrect"},
        {"firmware magic in another case", Firmware(64, "F1sP"), PackageKind::Incorrect,
         "File is incorrect"},
        {"shorter than a head", shortKofs, PackageKind::Incorrect, "File is incorrect"},
        {"empty file", Bytes{}, PackageKind::Incorrect, "File is incorrect"},
    };
    for (const auto& c : cases) {
        m_ui.host.Clear();
        EXPECT_EQ(Classify(c.bytes), c.kind) << c.name;
        const auto expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(Texts(), expected) << c.name;
    }
}

TEST_F(PackageTest, ReportsAnUnreadablePackage) {
    EXPECT_EQ(ClassifyPackage(m_folder.path() / "missing.qvk", m_ui.messenger),
              PackageKind::Unreadable);
    std::filesystem::create_directory(m_folder.path() / "folder.qvk");
    EXPECT_EQ(ClassifyPackage(m_folder.path() / "folder.qvk", m_ui.messenger),
              PackageKind::Unreadable);
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"File could not be opened", "File could not be opened"}));
}

TEST_F(PackageTest, LoadRefusesDamagedFramesAndKeepsThePreviousImage) {
    struct Case {
        Damage damage;
        const char* message;
    };
    const Case cases[] = {
        {Damage::HeadMagic, "Error[Head signature]"}, {Damage::HeadCrc, "Error[Head CRC]"},
        {Damage::TailMagic, "Error[Tail signature]"}, {Damage::TailCrc, "Error[Tail CRC]"},
        {Damage::Truncate, "File is incorrect"},
    };
    LoadedPackage package;
    const Bytes good = Kofs(2, 7);
    ASSERT_TRUE(Load(package, good, "good.qvk"));
    for (const auto& c : cases) {
        m_ui.host.Clear();
        Bytes bad = Kofs(3);
        samples::ApplyDamage(bad, c.damage, bad.size());
        EXPECT_FALSE(Load(package, bad)) << c.message;
        EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(package.image(), good) << c.message;
    }
    m_ui.host.Clear();
    EXPECT_FALSE(Load(package, Bytes(10, 'k')));
    package.SetPackagePath(m_folder.path() / "missing.qvk");
    EXPECT_FALSE(LoadPackage(package, m_appData, m_ui.messenger));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"File is incorrect", "File could not be opened"}));
    EXPECT_EQ(package.image(), good);
}

TEST_F(PackageTest, RefusesAnImageWhoseSizeFieldIsZero) {
    Bytes image = Kofs(1);
    image[4] = 0;
    image[5] = 0;
    WriteLe16(image, 6, Crc16(ByteView(image).first(6)));
    LoadedPackage package;
    EXPECT_FALSE(Load(package, image));
    EXPECT_EQ(Texts(), std::vector<std::string>{"File is incorrect"});
}

TEST_F(PackageTest, LoadingASecondPackageReplacesTheImage) {
    LoadedPackage package;
    ASSERT_TRUE(Load(package, Kofs(1, 1), "a.qvk"));
    ASSERT_TRUE(Load(package, Kofs(2, 2), "b.qvk"));
    EXPECT_EQ(package.image(), Kofs(2, 2));
    EXPECT_TRUE(package.extractedFirmwarePath().empty());
    EXPECT_TRUE(Texts().empty());
}

TEST_F(PackageTest, ExtractsTheFirmwareOfACombinedPackageIntoTheAppDataFolder) {
    const Bytes firmware = Firmware(3000);
    LoadedPackage package;
    ASSERT_TRUE(Load(package, Concat(Kofs(2), firmware)));
    const auto expectedPath = m_appData / "VarnoW" / "varnofw.qvk";
    EXPECT_EQ(package.extractedFirmwarePath(), expectedPath);
    EXPECT_EQ(package.image(), Kofs(2));
    EXPECT_EQ(ReadFileBytes(expectedPath, 1 << 20).bytes, firmware);
    EXPECT_TRUE(VerifyFirmwareImage(expectedPath, m_ui.messenger));
}

TEST_F(PackageTest, DeletesTheExtractedFirmwareWithThePackage) {
    std::filesystem::path extracted;
    {
        LoadedPackage package;
        ASSERT_TRUE(Load(package, Concat(Kofs(1), Firmware(100))));
        extracted = package.extractedFirmwarePath();
        ASSERT_TRUE(std::filesystem::exists(extracted));
    }
    EXPECT_FALSE(std::filesystem::exists(extracted));
}

TEST_F(PackageTest, LoadsACombinedPackageWithDamagedFirmwareAndTheFirmwareCheckRejectsIt) {
    // One byte after the image is a one-byte firmware file, which cannot be a firmware image.
    LoadedPackage oneByte;
    ASSERT_TRUE(Load(oneByte, Concat(Kofs(1), Bytes{0x55}), "one.qvk"));
    EXPECT_EQ(std::filesystem::file_size(oneByte.extractedFirmwarePath()), 1u);
    EXPECT_FALSE(VerifyFirmwareImage(oneByte.extractedFirmwarePath(), m_ui.messenger));

    Bytes damaged = Concat(Kofs(1), Firmware(200));
    samples::ApplyDamage(damaged, Damage::FirmwareCrc, 1024);
    LoadedPackage package;
    ASSERT_TRUE(Load(package, damaged));
    EXPECT_FALSE(VerifyFirmwareImage(package.extractedFirmwarePath(), m_ui.messenger));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"File is incorrect.", "File is incorrect."}));
}

TEST_F(PackageTest, KeepsTheNewImageWhenTheFirmwareFileCannotBeCreated) {
    // A plain file where the extraction folder should be makes the extraction fail.
    std::filesystem::create_directories(m_appData);
    m_folder.Write("appdata/VarnoW", Bytes{1});
    LoadedPackage package;
    EXPECT_FALSE(Load(package, Concat(Kofs(1), Firmware(100))));
    EXPECT_EQ(Texts(), std::vector<std::string>{"File could not be opened"});
    EXPECT_EQ(package.image(), Kofs(1));
    EXPECT_TRUE(package.extractedFirmwarePath().empty());
}

TEST_F(PackageTest, VerifiesFirmwareByItsImageCrc) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool sound;
    };
    Bytes damaged = Firmware(500);
    damaged[300] ^= 1;
    Bytes otherMagic = Firmware(500);
    otherMagic[0] = 'x';  // the magic is not examined here
    const Case cases[] = {
        {"sound", Firmware(500), true},
        {"header only", Firmware(16), true},
        {"damaged body", damaged, false},
        {"other magic", otherMagic, true},
        {"shorter than a header", Bytes(15, 0), false},
        {"empty", Bytes{}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VerifyFirmwareImage(m_folder.Write("f.qvk", c.bytes), m_ui.messenger), c.sound)
            << c.name;
    }
    EXPECT_FALSE(VerifyFirmwareImage(m_folder.path() / "missing", m_ui.messenger));
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"File is incorrect.", "File is incorrect.",
                                        "File is incorrect.", "File could not be opened"}));
}

}  // namespace
}  // namespace varnow

namespace varnow {
namespace {

TEST(PackageProblemTest, SaysWhatIsWrongInWordsWithTheValuesThatShowIt) {
    const Bytes image = samples::MakeKofsImage({.sizeKib = 2});
    const Bytes combined = samples::MakeCombinedPackage({.sizeKib = 2}, {});
    struct Case {
        const char* what;
        Bytes package;
        std::function<void(Bytes&)> damage;
        int problem;  // 0: sound
    };
    const Case cases[] = {
        {"a sound image", image, [](Bytes&) {}, 0},
        {"a sound combined package", combined, [](Bytes&) {}, 0},
        {"a text file", Bytes{0x68, 0x6f, 0x73, 0x74, 0x0a}, [](Bytes&) {}, kTextNotAPackage},
        {"the head's CRC", image, [](Bytes& b) { b[kHeadCrcField] ^= 0xFF; }, kTextHeadCrcWrong},
        {"an image longer than the file", image, [](Bytes& b) { b.resize(b.size() - 100); },
         kTextImagePastEnd},
        {"the tail's CRC", image, [](Bytes& b) { b[b.size() - kTailSize + kTailCrcField] ^= 1; },
         kTextTailCrcWrong},
        {"the firmware's CRC", combined, [](Bytes& b) { b.back() ^= 1; }, kTextFirmwareCrcWrong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes package = c.package;
        c.damage(package);
        const std::optional<OutcomeText> problem = DescribePackageProblem(package);
        EXPECT_EQ(problem ? problem->stringId : 0, c.problem);
    }
    Bytes damaged = image;
    damaged[kHeadCrcField] ^= 0xFF;
    const std::uint16_t computed = Crc16(ByteView(damaged).first(kCrcCoveredBytes));
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", computed);
    EXPECT_EQ(DescribePackageProblem(damaged)->args[1], expected) << "the CRC it should have";
}

}  // namespace
}  // namespace varnow
