#include "PtyLink.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace varnow::sim {

bool PtyLink::Plug(std::string& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        Unplug();
        return false;
    }
    const char* slaveName = ptsname(m_master);
    const int slave = slaveName ? open(slaveName, O_RDWR | O_NOCTTY) : -1;
    termios raw{};
    if (slave < 0 || tcgetattr(slave, &raw) != 0) {
        error = std::string("cannot open the pseudo-terminal: ") + std::strerror(errno);
        if (slave >= 0) {
            close(slave);
        }
        Unplug();
        return false;
    }
    cfmakeraw(&raw);
    cfsetspeed(&raw, B115200);
    tcsetattr(slave, TCSANOW, &raw);
    close(slave);
    std::error_code ignored;
    std::filesystem::create_directories(m_link.parent_path(), ignored);
    std::filesystem::remove(m_link, ignored);
    m_slave = slaveName;
    std::filesystem::create_symlink(m_slave, m_link, ignored);
    if (ignored) {
        error = "cannot link " + m_link.string() + ": " + ignored.message();
        Unplug();
        return false;
    }
    return true;
}

void PtyLink::Unplug() {
    std::error_code ignored;
    if (m_master >= 0) {
        if (std::filesystem::read_symlink(m_link, ignored) == m_slave) {
            std::filesystem::remove(m_link, ignored);
        }
        close(m_master);
    }
    m_master = -1;
}

bool PtyLink::NobodyConnected() const {
    if (m_master < 0) {
        return true;
    }
    pollfd fd{m_master, POLLIN, 0};
    return poll(&fd, 1, 0) > 0 && (fd.revents & POLLHUP) != 0;
}

std::size_t PtyLink::Read(char* buffer, std::size_t size) {
    if (m_master < 0) {
        return 0;
    }
    const ssize_t count = read(m_master, buffer, size);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void PtyLink::Write(std::string_view bytes) {
    while (m_master >= 0 && !bytes.empty()) {
        const ssize_t count = write(m_master, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                usleep(1000);
                continue;
            }
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

}  // namespace varnow::sim
