// varno-sim: serves one simulated board on a pseudo-terminal that the tool lists as a port.
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "PtyLink.h"
#include "RealTimeScheduler.h"
#include "SimBoard.h"
#include "link/SimulatedPortsFolder.h"

namespace {

using namespace varnow;
using namespace varnow::sim;

constexpr const char* kUsage = R"(usage: varno-sim [options]
Serves one simulated Varno board on a pseudo-terminal and links it into the simulated-ports
folder ($VARNOW_SIM_PORTS, else $XDG_RUNTIME_DIR/varnow-sim), where the tool lists it.
Prints the link's path, then reads control commands on standard input:
  unplug | replug | break | silent on | silent off | save kofs FILE | save firmware FILE
  save commands FILE (every command line received, one a line) | quit
It ends when its standard input closes. Without control input (started in the background of
a shell, with standard input from /dev/null, or with --detach) it runs until it is killed.

identity:  --name NAME (link name, default board0)  --dir FOLDER  --detach
           --come-back-as NAME (repeatable: each restart links the board under the next
           name in turn, as a USB port that re-enumerates under another name)
           --fib TEXT (repeatable)  --mcu HEX  --pdb TEXT  --old-firmware  --no-mcu-id
modes:     --password PW  --isp  --latency MS  --seed N  --product-id N  --erased
           --reboot-ms MS  --baud N (line rate of what the tool sends; default 115200, 0: none)
faults:    --silent  --drop N  --garble N  --ignore COMMAND (repeatable)  --late COMMAND=MS
           --wrong-hash  --upper-case-hash  --no-hash  --silent-after-stored
           --unplug-after-text N  --no-wlan  --no-settings  --settings-refused
           --no-certificates  --certificates-refused  --certificates-silent
           --mac TEXT  --conflicts N  --refuse-query Q  --silent-query Q (Q as "net0 ipaddr6 1")
           --endless-tables
)";

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

struct Options {
    bool detach = false;
    unsigned long baud = 115200;
    std::string name = "board0";
    std::vector<std::string> returnNames;
    std::filesystem::path folder = SimulatedPortsFolder(
        std::getenv("VARNOW_SIM_PORTS"), std::getenv("XDG_RUNTIME_DIR"), std::getenv("USER"));
    BoardConfig config;
    BoardFaults faults;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    bool fibGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw std::invalid_argument(option + " needs a value");
            }
            return argv[++i];
        };
        if (option == "--name")
            options.name = value();
        else if (option == "--come-back-as")
            options.returnNames.push_back(value());
        else if (option == "--detach")
            options.detach = true;
        else if (option == "--dir")
            options.folder = value();
        else if (option == "--fib") {
            if (!fibGiven)
                options.config.fibLines.clear();
            fibGiven = true;
            options.config.fibLines.push_back(value());
        } else if (option == "--mcu")
            options.config.mcuId = value();
        else if (option == "--pdb")
            options.config.pdbLine = value();
        else if (option == "--old-firmware")
            options.config.pdbLine.reset();
        else if (option == "--no-mcu-id")
            options.config.mcuIdSupported = false;
        else if (option == "--password")
            options.config.password = value();
        else if (option == "--isp")
            options.config.ispMode = true;
        else if (option == "--latency")
            options.config.latencyMs = std::stoul(value());
        else if (option == "--seed")
            options.config.seed = static_cast<std::uint32_t>(std::stoul(value()));
        else if (option == "--product-id")
            options.config.productId = static_cast<std::uint8_t>(std::stoul(value()));
        else if (option == "--erased")
            options.config.startsWithImage = false;
        else if (option == "--reboot-ms")
            options.config.rebootMs = std::stoul(value());
        else if (option == "--baud")
            options.baud = std::stoul(value());
        else if (option == "--wrong-hash")
            options.faults.wrongHash = true;
        else if (option == "--upper-case-hash")
            options.faults.upperCaseHash = true;
        else if (option == "--no-hash")
            options.faults.noHashCommand = true;
        else if (option == "--silent-after-stored")
            options.faults.silentAfterStored = true;
        else if (option == "--unplug-after-text")
            options.faults.unplugAfterTextBytes = std::stoul(value());
        else if (option == "--no-wlan")
            options.config.wlanRecords = false;
        else if (option == "--no-settings")
            options.faults.noSettings = true;
        else if (option == "--settings-refused")
            options.faults.settingsRefused = true;
        else if (option == "--no-certificates")
            options.faults.noCertificates = true;
        else if (option == "--certificates-refused")
            options.faults.certificatesRefused = true;
        else if (option == "--certificates-silent")
            options.faults.certificateReply.clear();
        else if (option == "--mac")
            options.config.network.mac = value();
        else if (option == "--conflicts")
            options.config.network.conflicts = std::stoi(value());
        else if (option == "--refuse-query")
            options.faults.refusedQueries.insert(value());
        else if (option == "--silent-query")
            options.faults.silentQueries.insert(value());
        else if (option == "--endless-tables")
            options.faults.endlessTables = true;
        else if (option == "--silent")
            options.faults.silent = true;
        else if (option == "--drop")
            options.faults.dropReplies = std::stoi(value());
        else if (option == "--garble")
            options.faults.garbleReplies = std::stoi(value());
        else if (option == "--ignore")
            options.faults.ignoredCommands.insert(value());
        else if (option == "--late") {
            const std::string spec = value();
            const auto equals = spec.find('=');
            if (equals == std::string::npos)
                throw std::invalid_argument("--late takes COMMAND=MS");
            options.faults.lateCommands[spec.substr(0, equals)] =
                std::stoul(spec.substr(equals + 1));
        } else if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return true;
}

// Whether standard input can carry control commands: not /dev/null, and not a terminal that
// belongs to the foreground job while this one runs in the background (reading it there
// would stop the board).
bool HasControlInput() {
    struct stat input {};
    struct stat null {};
    if (fstat(0, &input) != 0) {
        return false;
    }
    if (stat("/dev/null", &null) == 0 && S_ISCHR(input.st_mode) && input.st_rdev == null.st_rdev) {
        return false;
    }
    return !isatty(0) || tcgetpgrp(0) == getpgrp();
}

// Handles one control line; false to stop.
bool Control(const std::string& line, PtyLink& link, SimBoard& board) {
    if (line == "quit") {
        return false;
    }
    std::string error;
    if (line == "unplug") {
        link.Unplug();
    } else if (line == "replug") {
        if (!link.plugged() && link.Plug(error)) {
            board.Restart();
        }
    } else if (line == "break") {
        board.SendUnsolicited("602 0 BREAK init.php 1");
    } else if (line == "silent on" || line == "silent off") {
        board.faults().silent = line == "silent on";
    } else if (line.starts_with("save commands ")) {
        std::ofstream file(line.substr(14), std::ios::trunc);
        for (const std::string& command : board.commands()) {
            file << command << "\n";
        }
        if (!file) {
            error = "cannot write " + line.substr(14);
        }
    } else if (line.starts_with("save kofs ") || line.starts_with("save firmware ")) {
        const bool kofs = line.starts_with("save kofs ");
        const std::string path = line.substr(kofs ? 10 : 14);
        const Bytes& bytes = kofs ? board.kofs() : board.firmware();
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            error = "cannot write " + path;
        }
    } else if (!line.empty()) {
        std::cerr << "varno-sim: unknown control command: " << line << "\n";
        return true;
    }
    std::cout << (error.empty() ? "ok " + line : "error " + error) << std::endl;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        ParseOptions(argc, argv, options);
    } catch (const std::exception& error) {
        std::cerr << "varno-sim: " << error.what() << "\n" << kUsage;
        return 2;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTTIN, SIG_IGN);  // a read from a terminal in the background fails instead

    RealTimeScheduler scheduler;
    SimBoard board(options.config, scheduler);
    board.faults() = options.faults;
    PtyLink link(options.folder / options.name);
    std::string error;
    if (!link.Plug(error)) {
        std::cerr << "varno-sim: " << error << "\n";
        return 1;
    }
    board.SetOutput([&link](std::string_view bytes) { link.Write(bytes); });
    // A restart of the board takes its USB port away and brings it back.
    std::size_t nextName = 0;
    board.SetUsb([&link] { link.Unplug(); },
                 [&link, &options, &nextName] {
                     if (!options.returnNames.empty()) {
                         const auto& names = options.returnNames;
                         link.MoveTo(options.folder / names[nextName++ % names.size()]);
                     }
                     std::string ignored;
                     link.Plug(ignored);
                 });
    // At a line rate, the tool's bytes are taken no faster than the line carries them.
    const double bytesPerMs =
        options.baud == 0 ? 0.0 : static_cast<double>(options.baud) / 10.0 / 1000.0;
    double allowance = 0;
    std::uint64_t lastRead = scheduler.NowMs();
    std::vector<char> incoming(65536);
    std::cout << link.link().string() << std::endl;

    std::string control;
    bool stdinOpen = !options.detach && HasControlInput();
    if (!stdinOpen) {
        std::cerr << "varno-sim: no control input; running until stopped (kill " << getpid() << ")"
                  << std::endl;
    }
    bool clientConnected = false;
    bool receiving = false;  // bytes came in the last round: somebody holds the port
    while (!g_stop) {
        const int wait = scheduler.RunDue();
        // While nobody holds the port the master only reports a hang-up: watch it less often.
        const bool idle = !receiving && link.NobodyConnected();
        if (idle && clientConnected) {
            // What the tool wrote just before it closed the port still counts ("rs 10").
            for (std::size_t count; (count = link.Read(incoming.data(), incoming.size())) > 0;) {
                board.Receive(
                    ByteView(reinterpret_cast<const std::uint8_t*>(incoming.data()), count));
            }
            board.HostClosedPort();
        }
        clientConnected = !idle;
        pollfd fds[2] = {{idle ? -1 : link.masterFd(), POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        const int limit = idle ? 10 : 100;
        const int ready = poll(fds, 2, wait < 0 ? limit : std::min(wait, limit));
        receiving = false;
        if (ready <= 0) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            std::size_t take = incoming.size();
            if (bytesPerMs > 0) {
                const std::uint64_t now = scheduler.NowMs();
                allowance =
                    std::min(allowance + static_cast<double>(now - lastRead) * bytesPerMs, 1024.0);
                lastRead = now;
                if (allowance < 1) {
                    usleep(1000);
                    continue;
                }
                take = static_cast<std::size_t>(allowance);
            }
            const std::size_t count = link.Read(incoming.data(), take);
            receiving = count > 0;
            allowance -= static_cast<double>(count);
            board.Receive(ByteView(reinterpret_cast<const std::uint8_t*>(incoming.data()), count));
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[256];
            const ssize_t count = read(0, buffer, sizeof buffer);
            if (count < 0 && errno == EIO) {
                stdinOpen = false;  // a terminal we may not read: run detached
                continue;
            }
            if (count <= 0) {
                break;  // the control input closed: the board goes with it
            }
            control.append(buffer, static_cast<std::size_t>(count));
            for (std::size_t end = control.find('\n'); end != std::string::npos;
                 end = control.find('\n')) {
                const std::string line = control.substr(0, end);
                control.erase(0, end + 1);
                if (!Control(line, link, board)) {
                    g_stop = 1;
                }
            }
        }
    }
    link.Unplug();
    return 0;
}
