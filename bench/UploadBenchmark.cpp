// Upload throughput: the tool writing the largest image that fits into varno-sim over a real
// pseudo-terminal, against pushing the same upload text raw through a pseudo-terminal pair
// (the most this machine's link can carry); and one 1 MiB upload at 115200 baud against the
// line-rate time. Usage: upload-benchmark VARNOW_CLI VARNO_SIM [--quick | --unthrottled-only]
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchProcess.h"
#include "SamplePackages.h"
#include "package/PackageFile.h"
#include "base64/Base64Encoder.h"

namespace {

using varnow::bench::Run;
using varnow::bench::Spawn;
using varnow::bench::StartSimulator;
using varnow::bench::StopSimulator;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The upload text pushed from the slave side to the master side of a raw pty pair.
double RawPtySeconds(const std::string& text) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    const auto start = Clock::now();
    std::thread reader([&] {
        std::vector<char> buffer(65536);
        std::size_t received = 0;
        while (received < text.size()) {
            const ssize_t count = read(master, buffer.data(), buffer.size());
            if (count <= 0) {
                break;
            }
            received += static_cast<std::size_t>(count);
        }
    });
    for (std::size_t at = 0; at < text.size(); at += 4096) {
        const std::size_t block = std::min<std::size_t>(4096, text.size() - at);
        std::size_t done = 0;
        while (done < block) {
            const ssize_t count = write(slave, text.data() + at + done, block - done);
            if (count > 0) {
                done += static_cast<std::size_t>(count);
            }
        }
    }
    reader.join();
    const double seconds = Seconds(start);
    close(slave);
    close(master);
    return seconds;
}

// The tool's own measure of the image text's transfer, from its "send seconds" line.
double SendSeconds(const std::string& output) {
    const std::size_t at = output.find("send seconds: ");
    return at == std::string::npos ? 0.0 : std::atof(output.c_str() + at + 14);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: upload-benchmark VARNOW_CLI VARNO_SIM [--quick | --unthrottled-only]\n");
        return 2;
    }
    const std::string cli = argv[1];
    const std::string sim = argv[2];
    const bool quick = argc > 3 && std::string(argv[3]) == "--quick";
    const bool unthrottledOnly = argc > 3 && std::string(argv[3]) == "--unthrottled-only";
    const auto folder =
        std::filesystem::temp_directory_path() / ("varnow-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("VARNOW_SIM_PORTS", folder.c_str(), 1);

    const unsigned kib = quick ? 512 : 3741;
    const varnow::Bytes image = varnow::samples::MakeKofsImage({.sizeKib = kib});
    const auto package = folder / "largest.qvk";
    varnow::WriteFileBytes(package, image);
    const std::string text = varnow::EncodeBase64(image);

    const double raw = RawPtySeconds(text);
    const pid_t fast = StartSimulator(sim, "fast", "0", folder);
    const Run tool = Spawn({cli, "--port", (folder / "fast").string(), "upload", package.string()});
    StopSimulator(fast);
    std::printf("unthrottled, %u KiB image, %zu characters of upload text\n", kib, text.size());
    std::printf("  raw pseudo-terminal push: %8.3f s (%6.1f MB/s)\n", raw,
                static_cast<double>(text.size()) / raw / 1e6);
    const double send = SendSeconds(tool.output);
    std::printf("  varnow-cli, image text:   %8.3f s (%6.1f MB/s)\n", send,
                static_cast<double>(text.size()) / send / 1e6);
    std::printf(
        "  varnow-cli, whole run:    %8.3f s (start, connect, head, erase, text, hash), exit %d\n",
        tool.seconds, tool.status);
    std::printf("  peak memory of the tool:  %8ld KiB\n", tool.peakKib);
    std::printf("  tool / raw (image text):  %8.2f (target at most 1.25)\n", send / raw);

    if (unthrottledOnly) {
        std::filesystem::remove_all(folder);
        return tool.status == 0 ? 0 : 1;
    }
    const unsigned slowKib = quick ? 32 : 1024;
    const varnow::Bytes slowImage = varnow::samples::MakeKofsImage({.sizeKib = slowKib});
    const auto slowPackage = folder / "one-mib.qvk";
    varnow::WriteFileBytes(slowPackage, slowImage);
    const std::size_t characters = varnow::Base64EncodedLength(slowImage.size());
    const double lineRate = static_cast<double>(characters) * 10.0 / 115200.0;
    const pid_t slow = StartSimulator(sim, "slow", "115200", folder);
    const Run atBaud =
        Spawn({cli, "--port", (folder / "slow").string(), "upload", slowPackage.string()});
    StopSimulator(slow);
    std::printf("at 115200 baud, %u KiB image, %zu characters\n", slowKib, characters);
    std::printf("  line-rate time:           %8.3f s\n", lineRate);
    std::printf(
        "  varnow-cli upload:        %8.3f s, exit %d (%+.2f %% of line rate; target within 2 "
        "%%)\n",
        atBaud.seconds, atBaud.status, (atBaud.seconds / lineRate - 1) * 100);
    std::filesystem::remove_all(folder);
    return tool.status == 0 && atBaud.status == 0 ? 0 : 1;
}
