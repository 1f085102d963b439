#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include "CDlgCert.h"

namespace varnow::testing {

// Answers the desktop tool's modal windows as a person would, every few milliseconds while it
// runs: a message is read and closed with `answer`, the password and certificate dialogs are
// filled in from the fields below. It notes what it saw: the messages' texts, the certificate
// reports, and any moment two messages were open at once.
class ModalWatch : public QObject {
public:
    ModalWatch();

    void Start(int intervalMs = 20) { m_timer.start(intervalMs); }
    void Stop() { m_timer.stop(); }

    QStringList messages;     // each message's lines joined by a space, in the order shown
    QStringList reports;      // the certificate reports shown
    int stackedMessages = 0;  // times a message was open over another

    int answer = 1;
    QString newPassword;  // typed into a password dialog in change mode
    gui::CDlgCert::Action certAction = gui::CDlgCert::Action::MakeSelfSigned;
    QString certFile;
    QString filePassword;

    void Clear() {
        messages.clear();
        reports.clear();
        stackedMessages = 0;
        answer = 1;
    }

private:
    void Look();

    QTimer m_timer;
};

}  // namespace varnow::testing
