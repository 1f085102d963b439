#include "HotPlugMonitor.h"

#include <QDir>
#include <QFile>
#include <QMap>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif
#include <filesystem>

#include "SimulatedPorts.h"

#ifdef VARNOW_HAVE_UDEV
#include <libudev.h>
#endif

namespace varnow::platform {
namespace {

// Each link with what makes it this link: a board that restarts removes its link and makes a
// new one under the same name, possibly faster than the folder's change is reported.
QMap<QString, QString> LinksIn(const QString& folder) {
    QMap<QString, QString> links;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::System | QDir::Files)) {
        if (!entry.isSymLink() || !entry.exists()) {
            continue;
        }
        QString identity = entry.symLinkTarget();
#ifndef Q_OS_WIN
        struct stat link {};
        if (lstat(QFile::encodeName(entry.absoluteFilePath()).constData(), &link) == 0) {
            identity += ':' + QString::number(link.st_ino) + ':' + QString::number(link.st_ctime);
        }
#endif
        links.insert(entry.absoluteFilePath(), identity);
    }
    return links;
}

}  // namespace

struct HotPlugMonitor::Udev {
#ifdef VARNOW_HAVE_UDEV
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    ~Udev() {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
#endif
};

HotPlugMonitor::HotPlugMonitor() {
    const QString folder = QString::fromStdString(SimulatedPortsFolderFromEnvironment().string());
    QDir().mkpath(folder);
    m_watcher.addPath(folder);
    m_links = LinksIn(folder);
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
                     [this] { OnSimulatedFolderChanged(); });
    QObject::connect(&m_rescan, &QTimer::timeout, this, [this] { OnSimulatedFolderChanged(); });
    m_rescan.start(500);
    StartUdev();
}

HotPlugMonitor::~HotPlugMonitor() = default;

void HotPlugMonitor::OnSimulatedFolderChanged() {
    const QString folder = QString::fromStdString(SimulatedPortsFolderFromEnvironment().string());
    const QMap<QString, QString> now = LinksIn(folder);
    bool removed = false;
    bool arrived = false;
    for (auto link = m_links.cbegin(); link != m_links.cend(); ++link) {
        const auto current = now.constFind(link.key());
        removed = removed || current == now.cend() || current.value() != link.value();
    }
    for (auto link = now.cbegin(); link != now.cend(); ++link) {
        const auto before = m_links.constFind(link.key());
        arrived = arrived || before == m_links.cend() || before.value() != link.value();
    }
    m_links = now;
    if (removed && m_removed) {
        m_removed();
    }
    if (arrived && m_arrived) {
        m_arrived();
    }
}

void HotPlugMonitor::StartUdev() {
#ifdef VARNOW_HAVE_UDEV
    m_udev = std::make_unique<Udev>();
    m_udev->context = udev_new();
    if (!m_udev->context) {
        return;
    }
    m_udev->monitor = udev_monitor_new_from_netlink(m_udev->context, "udev");
    if (!m_udev->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_udev->monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_udev->monitor) < 0) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_udev->monitor),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this,
                     [this] { OnUdevEvent(); });
#endif
}

void HotPlugMonitor::OnUdevEvent() {
#ifdef VARNOW_HAVE_UDEV
    udev_device* device = udev_monitor_receive_device(m_udev->monitor);
    if (!device) {
        return;
    }
    const std::string action = udev_device_get_action(device) ? udev_device_get_action(device) : "";
    udev_device_unref(device);
    if (action == "add" && m_arrived) {
        m_arrived();
    } else if (action == "remove" && m_removed) {
        m_removed();
    }
#endif
}

}  // namespace varnow::platform
