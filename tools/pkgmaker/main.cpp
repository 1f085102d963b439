// varno-mkpkg: writes sample packages for tests, the simulated board and demos.
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "SamplePackages.h"
#include "package/PackageFile.h"

namespace {

using namespace varnow;
using namespace varnow::samples;

constexpr const char* kUsage = R"(usage: varno-mkpkg KIND OUTPUT [options]
  KIND      kofs | firmware | combined
  --size-kib N        KOFS image length in KiB (default 1)
  --product-id N      product ID in the image head (default 1)
  --name TEXT         image name record (default "sample"; "" for none)
  --firmware-bytes N  firmware image length, header included (default 2048)
  --magic f1sP|f4sP   firmware magic (default f1sP)
  --seed N            seed of the body bytes (default 1)
  --damage WHAT       head-magic | head-crc | tail-magic | tail-crc | firmware-crc | truncate
)";

int Fail(const std::string& text) {
    std::cerr << "varno-mkpkg: " << text << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc < 3) {
        return Fail("KIND and OUTPUT are required");
    }
    const std::string kind = argv[1];
    const std::string output = argv[2];
    std::map<std::string, std::string> options;
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc || std::string(argv[i]).rfind("--", 0) != 0) {
            return Fail(std::string("bad option ") + argv[i]);
        }
        options[argv[i] + 2] = argv[i + 1];
    }
    auto number = [&](const char* key, unsigned long fallback) {
        const auto found = options.find(key);
        return found == options.end() ? fallback : std::stoul(found->second, nullptr, 0);
    };
    try {
        KofsOptions kofs;
        kofs.sizeKib = static_cast<unsigned>(number("size-kib", 1));
        kofs.productId = static_cast<std::uint8_t>(number("product-id", 1));
        kofs.seed = static_cast<std::uint32_t>(number("seed", 1));
        if (options.count("name")) {
            kofs.name = options["name"];
        }
        FirmwareOptions firmware;
        firmware.bytes = number("firmware-bytes", 2048);
        firmware.seed = kofs.seed + 6;
        if (options.count("magic")) {
            firmware.magic = options["magic"];
        }
        Bytes package;
        std::size_t imageLength = 0;
        if (kind == "kofs") {
            package = MakeKofsImage(kofs);
            imageLength = package.size();
        } else if (kind == "firmware") {
            package = MakeFirmwareImage(firmware);
        } else if (kind == "combined") {
            package = MakeCombinedPackage(kofs, firmware);
            imageLength = 1024u * kofs.sizeKib;
        } else {
            return Fail("unknown KIND " + kind);
        }
        if (options.count("damage")) {
            const auto damage = ParseDamage(options["damage"]);
            if (!damage) {
                return Fail("unknown damage " + options["damage"]);
            }
            ApplyDamage(package, *damage, imageLength);
        }
        if (!WriteFileBytes(output, package)) {
            return Fail("cannot write " + output);
        }
        std::cout << output << ": " << package.size() << " bytes\n";
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    return EXIT_SUCCESS;
}
