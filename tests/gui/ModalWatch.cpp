#include "gui/ModalWatch.h"

#include <QApplication>

#include "CDlgCertInfo.h"
#include "CDlgCertMake.h"
#include "CDlgCertSelect.h"
#include "CDlgMessage.h"
#include "CDlgSettingWLANIDPW.h"
#include "CDlgUserPW.h"

namespace varnow::testing {

using namespace varnow::gui;

ModalWatch::ModalWatch() {
    connect(&m_timer, &QTimer::timeout, this, [this] { Look(); });
}

void ModalWatch::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* message = dynamic_cast<CDlgMessage*>(modal)) {
        int open = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            open += dynamic_cast<CDlgMessage*>(window) != nullptr && window->isVisible() ? 1 : 0;
        }
        stackedMessages += open > 1 ? 1 : 0;
        messages << message->lines().join(" ");
        message->done(answer);
    } else if (auto* password = dynamic_cast<CDlgUserPW*>(modal)) {
        password->passwordEdit()->setText(newPassword);
        password->retypeEdit()->setText(newPassword);
        password->okButton()->click();
    } else if (auto* chooser = dynamic_cast<CDlgCert*>(modal)) {
        chooser->radio(certAction)->setChecked(true);
        chooser->accept();
    } else if (auto* make = dynamic_cast<CDlgCertMake*>(modal)) {
        make->accept();
    } else if (auto* select = dynamic_cast<CDlgCertSelect*>(modal)) {
        select->SetPath(certFile);
        select->accept();
    } else if (auto* info = dynamic_cast<CDlgCertInfo*>(modal)) {
        reports << info->reportView()->toPlainText();
        info->accept();
    } else if (auto* filePasswordDialog = dynamic_cast<CDlgSettingWLANIDPW*>(modal)) {
        filePasswordDialog->passwordEdit()->setText(filePassword);
        filePasswordDialog->accept();
    }
}

}  // namespace varnow::testing
