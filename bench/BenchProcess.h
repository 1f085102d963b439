#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace varnow::bench {

// A program's run: its wall time, its CPU time and peak memory, its exit status and what it
// wrote on standard output.
struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system
    long peakKib = 0;
    int status = -1;
    std::string output;
};

// Runs a program to its end (standard error discarded).
Run Spawn(const std::vector<std::string>& arguments);

// varno-sim on a fresh link in `folder` (VARNOW_SIM_PORTS), with extra options; its pid.
pid_t StartSimulator(const std::string& sim, const std::string& name, const std::string& baud,
                     const std::filesystem::path& folder,
                     const std::vector<std::string>& extra = {});

void StopSimulator(pid_t pid);

}  // namespace varnow::bench
