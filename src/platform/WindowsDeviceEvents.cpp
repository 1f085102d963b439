#include "WindowsDeviceEvents.h"

#include <dbt.h>
#include <windows.h>

namespace varnow::platform {
namespace {
// The USB device interface class.
const GUID kUsbDevices = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
}  // namespace

WindowsDeviceEvents::WindowsDeviceEvents(std::function<void()> arrived,
                                         std::function<void()> removed,
                                         std::function<void()> resumed)
    : m_arrived(std::move(arrived)), m_removed(std::move(removed)), m_resumed(std::move(resumed)) {}

WindowsDeviceEvents::~WindowsDeviceEvents() {
    if (m_notification) {
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(m_notification));
    }
}

void WindowsDeviceEvents::Register(void* windowHandle) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kUsbDevices;
    m_notification = RegisterDeviceNotificationW(static_cast<HWND>(windowHandle), &filter,
                                                 DEVICE_NOTIFY_WINDOW_HANDLE);
}

bool WindowsDeviceEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "windows_generic_MSG") {
        return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_DEVICECHANGE &&
        (msg->wParam == DBT_DEVICEARRIVAL || msg->wParam == DBT_DEVICEREMOVECOMPLETE)) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(msg->lParam);
        if (header && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            (msg->wParam == DBT_DEVICEARRIVAL ? m_arrived : m_removed)();
        }
    } else if (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMESUSPEND) {
        m_resumed();
    }
    return false;  // the default handling goes on
}

}  // namespace varnow::platform
