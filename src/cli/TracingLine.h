#pragma once

#include <functional>
#include <memory>

#include "BoardLine.h"
#include "link/TracingSerialPort.h"

namespace varnow::cli {

// A board line whose port records every byte written and received.
class TracingLine : public platform::BoardLine {
public:
    TracingLine(std::unique_ptr<platform::BoardLine> inner, TraceSink& trace,
                std::function<double()> seconds)
        : m_inner(std::move(inner)), m_port(m_inner->Port(), trace, std::move(seconds)) {}

    SerialPort& Port() override { return m_port; }
    PortProbe Probe(const std::string& name) override { return m_inner->Probe(name); }
    std::vector<platform::DiscoveredPort> ListPorts() override { return m_inner->ListPorts(); }
    void SetNotifiers(std::function<void()> arrived,
                      std::function<void(bool)> deviceChanged) override {
        m_inner->SetNotifiers(std::move(arrived), std::move(deviceChanged));
    }

private:
    std::unique_ptr<platform::BoardLine> m_inner;
    TracingSerialPort m_port;
};

}  // namespace varnow::cli
