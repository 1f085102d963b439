#include "BoardLine.h"
#include "HotPlugMonitor.h"
#include "QtSerialPort.h"

namespace varnow::platform {
namespace {

class SerialLine : public BoardLine {
public:
    SerialPort& Port() override { return m_port; }
    PortProbe Probe(const std::string& name) override {
        return ProbeSerialPort(name, m_port.IsOpen() && m_port.name() == name);
    }
    std::vector<DiscoveredPort> ListPorts() override { return DiscoverBoardPorts(); }
    void SetNotifiers(std::function<void()> arrived,
                      std::function<void(bool)> deviceChanged) override {
        m_port.SetArrivalNotifier(std::move(arrived));
        m_hotPlug.SetHandlers([deviceChanged] { deviceChanged(true); },
                              [deviceChanged] { deviceChanged(false); });
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
