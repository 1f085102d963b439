#include "CDlgSetting.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "CDlgCert.h"
#include "CDlgCertInfo.h"
#include "CDlgCertMake.h"
#include "CDlgCertSelect.h"
#include "CDlgUserPW.h"
#include "GuiImportQuestions.h"
#include "Look.h"
#include "certs/BoardCertificate.h"
#include "certs/SelfSignedCertificate.h"
#include "common/Cleanse.h"
#include "settings/PasswordChange.h"
#include "settings/SettingsDialogRules.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CDlgSetting::CDlgSetting(QWidget* owner, const UiText& ui, BoardSession& session,
                         EnvironmentData settings)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(ui),
      m_session(session),
      m_pages(std::move(settings)),
      m_mcuId(session.session().mcuId),
      m_login(session.session().login) {
    setFont(DialogFont());
    setWindowTitle(QString::fromStdString(
        SettingsDialogRules::Title(ui(kTextSettings).toStdString(), m_pages.store().productName)));
    const DialogUnits units = DialogUnitsFor(8);
    setMinimumSize(units.X(330), units.Y(285));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_network = new CDlgSettingNetwork(m_tabs, ui, m_pages.network(), m_pages.store());
    m_tabs->addTab(m_network, ui(kTextNetworkTab));
    if (m_pages.hasWlan()) {
        m_wlan =
            new CDlgSettingWLAN(m_tabs, ui, session.messenger(), m_pages.wlan(), m_pages.data());
        m_tabs->addTab(m_wlan, ui(kTextWirelessTab));
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { ShowTab(index); });
    layout->addWidget(m_tabs);
    auto* row = new QWidget(this);
    BuildButtons(row);
    layout->addWidget(row);
    m_network->Show();
    LoadCertificates();
    // Enter never closes the dialog; Esc closes it only from its own buttons, not the pages.
    qApp->installEventFilter(this);
}

CDlgSetting::~CDlgSetting() {
    qApp->removeEventFilter(this);
    EndWait();
}

void CDlgSetting::BuildButtons(QWidget* row) {
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    m_koManager = new QPushButton(m_ui(kTextKoManager), row);
    m_password = new QPushButton(m_ui(kTextPassword), row);
    m_certificate = new QPushButton(m_ui(kTextCertificate), row);
    m_write = new QPushButton(m_ui(kTextWrite), row);
    m_close = new QPushButton(m_ui(kTextClose), row);
    for (QPushButton* button : {m_koManager, m_password, m_certificate, m_write, m_close}) {
        button->setAutoDefault(false);
    }
    m_koManager->hide();
    UpdateButtons();
    connect(m_password, &QPushButton::clicked, this, [this] { ChangePassword(); });
    connect(m_certificate, &QPushButton::clicked, this, [this] { ShowCertificates(); });
    connect(m_write, &QPushButton::clicked, this, [this] { Write(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_koManager);
    buttons->addWidget(m_password);
    buttons->addWidget(m_certificate);
    buttons->addStretch();
    buttons->addWidget(m_write);
    buttons->addWidget(m_close);
}

void CDlgSetting::UpdateButtons() {
    // The block of certificates is read as the dialog opens; until that read has ended the
    // board is busy, and a click on a button that writes would be refused without a word.
    m_write->setEnabled(m_certificatesLoaded);
    m_password->setEnabled(m_certificatesLoaded);
    m_certificate->setEnabled(m_certificatesLoaded &&
                              SettingsDialogRules::CertificatesAllowed(m_session.session().fibId));
}

void CDlgSetting::ShowTab(int index) {
    if (index == 0) {
        // The IPv4 group follows what the wireless LAN page has now.
        m_pages.LockNetworkPage();
        m_network->Show();
    }
}

bool CDlgSetting::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool onPage = m_tabs->isAncestorOf(widget);
    return IsEnter(key) || (key == Qt::Key_Escape && onPage);
}

void CDlgSetting::Write() {
    if (m_writing || m_session.busy()) {
        QApplication::beep();
        return;
    }
    BeginWait();
    const PageCheck check = m_pages.Collect();
    if (!check.ok()) {
        EndWait();
        m_session.messenger().Show(check.messageId, MessageStyle::Warning);
        m_network->Focus(check.focus);
        if (m_wlan) {
            m_wlan->Focus(check.focus);
        }
        return;
    }
    QPointer<CDlgSetting> self(this);
    m_session.WriteSettings(m_pages.data(), [self](const SettingsWriteResult& result) {
        if (self) {
            self->OnWritten(result);
        }
    });
}

void CDlgSetting::OnWritten(const SettingsWriteResult& result) {
    EndWait();
    switch (SettingsDialogRules::AfterWrite(result.outcome.code)) {
        case SettingsDialogRules::FollowUp::AskReboot: {
            m_pages.Written(result.sent);
            Messenger& messenger = m_session.messenger();
            const std::string question =
                messenger.Text(kMsgSettingSucceeded) + "\r\n\r\n" + messenger.Text(kMsgAskReboot);
            if (messenger.ShowText(question, MessageStyle::Question) == MessageResult::Yes) {
                m_session.RebootBoard();
            }
            break;
        }
        case SettingsDialogRules::FollowUp::Failed:
            m_session.messenger().Show(kMsgSettingFailed, MessageStyle::Warning);
            break;
        case SettingsDialogRules::FollowUp::NotSaved:
            m_session.messenger().Show(kCliBackupFailed, MessageStyle::Warning,
                                       {result.outcome.reason});
            break;
        case SettingsDialogRules::FollowUp::Nothing:
            break;
    }
}

void CDlgSetting::BeginWait() {
    if (!m_writing) {
        m_writing = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void CDlgSetting::EndWait() {
    if (m_writing) {
        m_writing = false;
        QApplication::restoreOverrideCursor();
    }
}

void CDlgSetting::ChangePassword() {
    Messenger& messenger = m_session.messenger();
    if (PasswordChange::WarnsFirst(m_login)) {
        messenger.Show(kMsgNoPasswordRestoration, MessageStyle::Warning);
    }
    CDlgUserPW dialog(this, m_ui, CDlgUserPW::Mode::Change, PasswordChange::OffersDelete(m_login));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (!m_session.portOpen() || m_session.busy()) {
        // Nothing can be written: no progress for a command that never went out.
        messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return;
    }
    std::optional<std::string> password;
    if (!dialog.deleted()) {
        password = dialog.password().toStdString();
    }
    dialog.passwordEdit()->clear();
    dialog.retypeEdit()->clear();
    const std::string command = PasswordChange::Command(password, m_mcuId);
    if (password) {
        Cleanse(*password);
    }
    QPointer<CDlgSetting> self(this);
    m_session.ChangePassword(command, false, [self](const PasswordChangeResult& result) {
        if (self) {
            self->OnPasswordBack(result);
        }
    });
    delete m_passwordProgress;
    m_passwordProgress = new CDlgProgress(this, ProgressMode::Password, m_ui);
    connect(m_passwordProgress, &QDialog::finished, m_passwordProgress, &QObject::deleteLater);
    m_passwordProgress->show();
    m_login = !dialog.deleted();
}

void CDlgSetting::OnPasswordBack(const PasswordChangeResult& result) {
    if (CDlgProgress* progress = m_passwordProgress) {
        m_passwordProgress = nullptr;
        progress->done(0);
    }
    if (!result.back) {
        m_session.messenger().Show(kErrNotBackAfterRestart, MessageStyle::Warning);
    }
}

void CDlgSetting::LoadCertificates() {
    QPointer<CDlgSetting> self(this);
    m_session.ReadCertificates([self](const auto&, CertificateRecordStore records) {
        if (self) {
            self->m_certificates = std::move(records);
            self->m_certificatesLoaded = true;
            self->UpdateButtons();
        }
    });
}

void CDlgSetting::ShowCertificates() {
    CDlgCert chooser(this, m_ui);
    if (chooser.exec() != QDialog::Accepted) {
        return;
    }
    switch (chooser.action()) {
        case CDlgCert::Action::MakeSelfSigned:
            return MakeSelfSignedCertificate();
        case CDlgCert::Action::ImportSigned:
            return ImportCertificate();
        case CDlgCert::Action::ReadFromProduct:
            return ShowBoardCertificate();
    }
}

void CDlgSetting::MakeSelfSignedCertificate() {
    const Ipv4Address& address = m_pages.store().ipv4Address;
    const std::string commonName = std::to_string(address[0]) + "." + std::to_string(address[1]) +
                                   "." + std::to_string(address[2]) + "." +
                                   std::to_string(address[3]);
    CDlgCertMake dialog(this, m_ui, m_session.messenger(), commonName);
    if (dialog.exec() != QDialog::Accepted || m_writing || m_session.busy()) {
        return;
    }
    const CertificateSubject subject = dialog.subject();
    QPointer<CDlgSetting> self(this);
    m_session.MakeRsaKey(dialog.bits(), [self, subject](std::optional<PrivateKey> key) {
        if (!self || !key) {
            return;  // the library failed: nothing is written
        }
        const std::optional<Certificate> certificate =
            varnow::MakeSelfSignedCertificate(*key, subject, std::time(nullptr));
        if (certificate) {
            self->Store(TlsIdentity{*certificate, *key});
        }
    });
}

void CDlgSetting::ImportCertificate() {
    CDlgCertSelect select(this, m_ui, m_session.messenger(), CDlgCertSelect::Mode::Certificate);
    if (select.exec() != QDialog::Accepted) {
        return;
    }
    GuiImportQuestions questions(this, m_ui, m_session.messenger());
    const ImportResult result =
        ImportCertificateFile(std::filesystem::path(select.path().toStdU16String()), questions);
    if (const int message = ImportMessageId(result.outcome); message != 0) {
        m_session.messenger().Show(message, MessageStyle::Warning, {result.reason});
    }
    if (result.identity) {
        Store(*result.identity);
    }
}

void CDlgSetting::Store(const TlsIdentity& identity) {
    if (m_writing || m_session.busy()) {
        QApplication::beep();
        return;
    }
    BeginWait();
    QPointer<CDlgSetting> self(this);
    m_session.StoreCertificate(identity, m_certificates,
                               [self](const CertificateStoreResult& result) {
                                   if (self) {
                                       self->EndWait();
                                       self->m_certificates = result.records;
                                   }
                               });
}

void CDlgSetting::ShowBoardCertificate() {
    const BoardCertificateLookup lookup = FindBoardCertificate(m_certificates);
    if (lookup.messageId != 0) {
        m_session.messenger().Show(lookup.messageId, MessageStyle::Warning);
        return;
    }
    if (lookup.certificate) {
        CDlgCertInfo(this, m_ui, *lookup.certificate, false).exec();
    }
}

}  // namespace varnow::gui
