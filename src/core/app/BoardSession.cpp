#include "app/BoardSession.h"

#include <utility>

namespace varnow {

BoardSession::BoardSession(Platform& platform, Host& host, const StringTable& strings,
                           Language language)
    : m_platform(platform),
      m_host(host),
      m_strings(strings),
      m_language(language),
      m_link(platform, host, host),
      m_portCheck(
          m_link, [this] { ConnectAgain(); },
          [this] {
              if (m_listener) {
                  m_listener->BoardPortLost();
              }
          }),
      m_return(
          platform, m_link.session(), [this] { m_portCheck.ConnectIfBack(); },
          [this] { m_link.Disconnect(); }) {
    m_platform.SetListener(this);
}

BoardSession::~BoardSession() {
    m_platform.SetListener(nullptr);
    m_link.Quiet();
    if (m_link.portOpen()) {
        m_link.port().Close();
    }
}

std::filesystem::path BoardSession::dataFolder() {
    return m_platform.AppDataFolder() / "VarnoW";
}

std::filesystem::path BoardSession::extractionFolder() {
    return m_extractionFolder.empty() ? m_platform.AppDataFolder() : m_extractionFolder;
}

bool BoardSession::busy() const {
    return m_running != nullptr || m_connecting != nullptr || m_return.awaiting();
}

bool BoardSession::Run(std::shared_ptr<Operation> operation, std::function<void()> ended) {
    if (busy()) {
        return false;
    }
    m_running = operation;
    operation->Start([this, operation, ended = std::move(ended)] {
        if (m_running == operation) {
            m_running.reset();
        }
        if (auto* connect = dynamic_cast<ConnectOperation*>(operation.get())) {
            m_lastConnect = connect->result();
            ++m_connectsEnded;
        }
        if (!operation->succeeded() && m_traces) {
            if (auto trace = m_traces->KeepTrace()) {
                operation->SetTrace(*trace);
            }
        }
        if (ended) {
            ended();
        }
    });
    return true;
}

void BoardSession::Abort() {
    m_link.Quiet();
    m_return.Stop();
    for (std::shared_ptr<Operation>* abandoned : {&m_running}) {
        if (*abandoned) {
            (*abandoned)->Abandon();
            m_abandoned.push_back(std::exchange(*abandoned, nullptr));
        }
    }
    if (m_connecting) {
        m_connecting->Abandon();
        m_abandoned.push_back(std::exchange(m_connecting, nullptr));
    }
    m_link.progress().Close();
    m_link.Disconnect();
}

void BoardSession::OnDeviceArrival() {
    m_portCheck.OnDeviceArrival();
    m_return.OnDeviceArrival();
}

void BoardSession::Disconnect() {
    m_link.Disconnect();
}

void BoardSession::AwaitReturn(Questions* login, Returned returned) {
    m_returnLogin = login;
    m_link.session().reconnectPending = true;
    m_return.Await(std::move(returned));
}

void BoardSession::AwaitPort(std::function<void(bool back)> returned) {
    m_link.session().ignoreNextArrival = true;
    m_return.AwaitPort(std::move(returned));
}

void BoardSession::ConnectAgain() {
    const bool forReturn = m_return.awaiting();
    if (m_connecting || (m_running && !forReturn)) {
        return;
    }
    auto connect = std::make_shared<ConnectOperation>(*this, m_link.session().portName, false,
                                                      forReturn ? m_returnLogin : nullptr);
    m_connecting = connect;
    connect->Start([this, connect, forReturn] {
        if (m_connecting == connect) {
            m_connecting.reset();
        }
        OnConnectEnded(*connect, forReturn);
    });
}

void BoardSession::OnConnectEnded(const ConnectOperation& connect, bool forReturn) {
    m_lastConnect = connect.result();
    ++m_connectsEnded;
    if (forReturn) {
        if (m_running) {
            m_running->Absorb(connect.report().messages);
        }
        m_return.OnConnectEnded(connect.result().outcome);
    } else if (m_listener) {
        m_listener->SessionConnectEnded(connect);
    }
}

}  // namespace varnow
