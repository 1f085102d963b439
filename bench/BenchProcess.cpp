#include "BenchProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace varnow::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

void Exec(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

Run Spawn(const std::vector<std::string>& arguments) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return {};
    }
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(pipeFds[1], 1);
        dup2(null, 2);
        close(pipeFds[0]);
        Exec(arguments);
    }
    close(pipeFds[1]);
    Run run;
    char buffer[4096];
    for (ssize_t count; (count = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        run.output.append(buffer, static_cast<std::size_t>(count));
    }
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    run.peakKib = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

pid_t StartSimulator(const std::string& sim, const std::string& name, const std::string& baud,
                     const std::filesystem::path& folder, const std::vector<std::string>& extra) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<std::string> arguments{sim, "--name", name, "--baud", baud};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        Exec(arguments);
    }
    for (int i = 0; i < 200 && !std::filesystem::is_symlink(folder / name); ++i) {
        usleep(20000);
    }
    return pid;
}

void StopSimulator(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace varnow::bench
