#include "InterruptWatch.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#endif

namespace varnow::platform {

#ifdef Q_OS_UNIX
namespace {

// The write end of the pipe that carries signals to the event loop. A signal handler can
// reach nothing but a global; it only writes one byte.
int g_signalPipe[2] = {-1, -1};

extern "C" void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace
#endif

InterruptWatch::InterruptWatch(std::function<void()> interrupted)
    : m_interrupted(std::move(interrupted)) {
#ifdef Q_OS_UNIX
    if (::pipe(g_signalPipe) != 0) {
        return;
    }
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(g_signalPipe[0], &byte, 1);
        if (m_interrupted) {
            m_interrupted();
        }
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
#endif
}

InterruptWatch::~InterruptWatch() {
#ifdef Q_OS_UNIX
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    m_notifier.reset();
    for (int& fd : g_signalPipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
#endif
}

}  // namespace varnow::platform
