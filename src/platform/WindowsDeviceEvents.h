#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

namespace varnow::platform {

// Windows only: the board's USB device arriving and leaving (WM_DEVICECHANGE for the USB
// device interface class) and the machine resuming from sleep (WM_POWERBROADCAST).
class WindowsDeviceEvents : public QAbstractNativeEventFilter {
public:
    WindowsDeviceEvents(std::function<void()> arrived, std::function<void()> removed,
                        std::function<void()> resumed);
    ~WindowsDeviceEvents() override;

    // Registers the window for USB device notifications.
    void Register(void* windowHandle);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> m_arrived;
    std::function<void()> m_removed;
    std::function<void()> m_resumed;
    void* m_notification = nullptr;
};

}  // namespace varnow::platform
