#pragma once

#include <functional>
#include <memory>

#include "link/BoardLine.h"
#include "link/TracingSerialPort.h"

namespace varnow {

// A board line whose port records every byte written and received.
class TracingLine : public BoardLine {
public:
    TracingLine(std::unique_ptr<BoardLine> inner, TraceSink& trace, std::function<double()> seconds)
        : m_inner(std::move(inner)), m_port(m_inner->Port(), trace, std::move(seconds)) {}

    SerialPort& Port() override { return m_port; }
    PortProbe Probe(const std::string& name) override { return m_inner->Probe(name); }
    std::vector<PortInfo> ListPorts() override { return m_inner->ListPorts(); }
    void SetNotifiers(Notifiers notifiers) override { m_inner->SetNotifiers(std::move(notifiers)); }

private:
    std::unique_ptr<BoardLine> m_inner;
    TracingSerialPort m_port;
};

}  // namespace varnow
