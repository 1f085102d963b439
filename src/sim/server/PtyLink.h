#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnow::sim {

// A pseudo-terminal in raw mode whose slave side is linked into the simulated-ports folder,
// so that the tool finds it like a board's port. Unplug removes both (the link only while it
// is still this one's: another board may have come back under its name); Plug makes a new
// one under the same link, or under the one it was moved to.
class PtyLink {
public:
    explicit PtyLink(std::filesystem::path link) : m_link(std::move(link)) {}
    ~PtyLink() { Unplug(); }
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    bool Plug(std::string& error);
    // The link the next Plug makes: a port that comes back under another name.
    void MoveTo(std::filesystem::path link) { m_link = std::move(link); }
    void Unplug();
    bool plugged() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    const std::filesystem::path& link() const { return m_link; }

    // True while no program holds the slave side open (the master then reports a hang-up).
    bool NobodyConnected() const;
    // Reads what the tool wrote; 0 when nothing is waiting.
    std::size_t Read(char* buffer, std::size_t size);
    void Write(std::string_view bytes);

private:
    std::filesystem::path m_link;
    std::string m_slave;  // the pseudo-terminal the link points to
    int m_master = -1;
};

}  // namespace varnow::sim
