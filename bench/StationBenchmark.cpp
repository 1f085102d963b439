// The production line: varnow-cli station writing N simulated boards at 115200 baud at once
// (N = 1, 4, 8), each board's image verified. Total time against one board's, and the tool's
// CPU time and peak memory per board. Usage: station-benchmark VARNOW_CLI VARNO_SIM [--quick]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "SamplePackages.h"
#include "package/PackageFile.h"
#include "base64/Base64Encoder.h"

namespace {

using namespace varnow::bench;

struct StationRun {
    int boards;
    Run run;
};

StationRun WriteBoards(const std::string& cli, const std::string& sim, int boards,
                       const std::filesystem::path& root, const std::filesystem::path& package) {
    const std::filesystem::path folder = root / ("line-" + std::to_string(boards));
    std::filesystem::create_directories(folder);
    setenv("VARNOW_SIM_PORTS", folder.c_str(), 1);
    std::vector<pid_t> simulators;
    for (int i = 0; i < boards; ++i) {
        char mcu[48];
        std::snprintf(mcu, sizeof mcu, "%040x", 0xb0a0 + i);
        simulators.push_back(StartSimulator(sim, "board" + std::to_string(i), "115200", folder,
                                            {"--mcu", mcu}));
    }
    const Run run = Spawn({cli, "--json", "station", package.string(), "--count",
                           std::to_string(boards), "--log", (folder / "log.json").string()});
    for (const pid_t pid : simulators) {
        StopSimulator(pid);
    }
    return {boards, run};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: station-benchmark VARNOW_CLI VARNO_SIM [--quick]\n");
        return 2;
    }
    const std::string cli = argv[1];
    const std::string sim = argv[2];
    const bool quick = argc > 3 && std::string(argv[3]) == "--quick";
    const auto root =
        std::filesystem::temp_directory_path() / ("varnow-station-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);

    const unsigned kib = quick ? 16 : 64;
    const varnow::Bytes image = varnow::samples::MakeKofsImage({.sizeKib = kib});
    const auto package = root / "line.qvk";
    varnow::WriteFileBytes(package, image);
    const double lineRate =
        static_cast<double>(varnow::Base64EncodedLength(image.size())) * 10.0 / 115200.0;
    std::printf("station at 115200 baud, %u KiB image (line-rate time of its text %.2f s)\n", kib,
                lineRate);
    std::printf("  boards   total s   / one board   CPU s   CPU per board (%% of a core)   "
                "peak MiB   exit\n");
    double one = 0;
    bool sound = true;
    for (const int boards : {1, 4, 8}) {
        const StationRun line = WriteBoards(cli, sim, boards, root, package);
        if (boards == 1) {
            one = line.run.seconds;
        }
        const double cpuShare = line.run.cpuSeconds / boards / line.run.seconds * 100.0;
        std::printf("  %6d   %7.2f   %11.3f   %5.2f   %27.2f   %8.1f   %4d\n", boards,
                    line.run.seconds, line.run.seconds / one, line.run.cpuSeconds, cpuShare,
                    static_cast<double>(line.run.peakKib) / 1024.0, line.run.status);
        sound = sound && line.run.status == 0;
    }
    std::printf("  targets: 8 boards in at most 1.1 x one board's time; CPU per board under 5 %%\n");
    std::filesystem::remove_all(root);
    return sound ? 0 : 1;
}
