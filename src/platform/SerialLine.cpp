#include "HotPlugMonitor.h"
#include "PortDiscovery.h"
#include "QtPlatform.h"
#include "QtSerialPort.h"

namespace varnow::platform {
namespace {

class SerialLine : public BoardLine {
public:
    SerialPort& Port() override { return m_port; }
    PortProbe Probe(const std::string& name) override {
        return ProbeSerialPort(name, m_port.IsOpen() && m_port.name() == name);
    }
    std::vector<PortInfo> ListPorts() override { return DiscoverBoardPorts(); }
    void SetNotifiers(Notifiers notifiers) override {
        m_port.SetNotifiers(std::move(notifiers.arrived), std::move(notifiers.portFailed));
        auto changed = std::move(notifiers.deviceChanged);
        m_hotPlug.SetHandlers([changed] { changed(true); }, [changed] { changed(false); });
    }

private:
    QtSerialPort m_port;
    HotPlugMonitor m_hotPlug;
};

}  // namespace

std::unique_ptr<BoardLine> MakeSerialLine() {
    return std::make_unique<SerialLine>();
}

}  // namespace varnow::platform
