#pragma once

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

#include "CDlgProgress.h"
#include "CDlgSettingNetwork.h"
#include "CDlgSettingWLAN.h"
#include "CDlgUserPW.h"
#include "MessageQueue.h"
#include "ResultView.h"
#include "UiText.h"
#include "app/BoardSession.h"
#include "certs/CertificateBlock.h"
#include "certs/TlsObjects.h"
#include "ops/CertificateOperations.h"
#include "ops/PasswordOperation.h"
#include "ops/SettingsOperations.h"
#include "settings/SettingsPages.h"

namespace varnow::gui {

// "Settings - <product>": the board's settings as read, on a "Network" page and, when the
// block has them, a "Wireless LAN" page. Write checks both pages and sends the block (the
// block as read is saved first), then offers to restart the board; Password sets or deletes
// the administrator password. The dialog stays open through writes and restarts.
class CDlgSetting : public QDialog {
public:
    CDlgSetting(QWidget* owner, const UiText& ui, BoardSession& session, MessageQueue& messages,
                ResultView& results, EnvironmentData settings);
    ~CDlgSetting() override;

    void Write();
    void ChangePassword();
    // The Certificate button: make a self-signed certificate, import one, or show the board's.
    void ShowCertificates();
    void MakeSelfSignedCertificate();
    void ImportCertificate();
    void ShowBoardCertificate();

    QTabWidget* tabs() const { return m_tabs; }
    CDlgSettingNetwork* networkPage() const { return m_network; }
    CDlgSettingWLAN* wlanPage() const { return m_wlan; }
    QPushButton* writeButton() const { return m_write; }
    QPushButton* passwordButton() const { return m_password; }
    QPushButton* certificateButton() const { return m_certificate; }
    QPushButton* koManagerButton() const { return m_koManager; }
    CDlgProgress* passwordProgress() const { return m_passwordProgress; }
    // A write is under way: the wait cursor shows until it ends.
    bool writing() const { return m_writing; }
    const SettingsPages& pages() const { return m_pages; }
    const CertificateRecordStore& certificates() const { return m_certificates; }
    // The board's certificate records have been read since the dialog opened.
    bool certificatesLoaded() const { return m_certificatesLoaded; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildButtons(QWidget* row);
    void UpdateButtons();
    void ShowTab(int index);
    void OnWritten(const ApplySettingsOperation& write);
    // After Yes to the question that follows a write: the board restarts and is connected again.
    void Reboot();
    void AskNewPassword();
    void SendPassword(CDlgUserPW& dialog);
    void OnPasswordBack(const PasswordOperation& change);
    void LoadCertificates();
    // Gives the board an identity (imported, or made here), then shows how that ended.
    template <typename Identity>
    void Store(Identity identity);
    void OnStored(const StoreIdentityOperation& store);
    void BeginWait();
    void EndWait();

    const UiText& m_ui;
    BoardSession& m_session;
    MessageQueue& m_messages;
    ResultView& m_results;
    SettingsPages m_pages;
    std::string m_mcuId;
    bool m_login;  // the board asked this connection for its password
    bool m_writing = false;
    CertificateRecordStore m_certificates;
    bool m_certificatesLoaded = false;
    QTabWidget* m_tabs = nullptr;
    CDlgSettingNetwork* m_network = nullptr;
    CDlgSettingWLAN* m_wlan = nullptr;
    QPushButton* m_koManager = nullptr;
    QPushButton* m_password = nullptr;
    QPushButton* m_certificate = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<CDlgProgress> m_passwordProgress;
};

}  // namespace varnow::gui
