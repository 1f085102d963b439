#pragma once

#include <QFileSystemWatcher>
#include <QMap>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace varnow::platform {

// Reports serial devices arriving and leaving: from udev's tty subsystem on Linux, from the
// device notifications of the window system on Windows, and from links appearing in and
// vanishing from the simulated-ports folder everywhere.
class HotPlugMonitor : public QObject {
public:
    HotPlugMonitor();
    ~HotPlugMonitor() override;

    void SetHandlers(std::function<void()> arrived, std::function<void()> removed) {
        m_arrived = std::move(arrived);
        m_removed = std::move(removed);
    }

private:
    void StartUdev();
    void OnUdevEvent();
    void OnSimulatedFolderChanged();

    std::function<void()> m_arrived;
    std::function<void()> m_removed;
    QFileSystemWatcher m_watcher;
    QTimer m_rescan;  // in case the folder's change notice is lost or comes late
    QMap<QString, QString> m_links;  // link path -> what identifies it
    struct Udev;
    std::unique_ptr<Udev> m_udev;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace varnow::platform
