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
#include "ops/RebootOperation.h"
#include "settings/AddressText.h"
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
                         MessageQueue& messages, ResultView& results, EnvironmentData settings)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(ui),
      m_session(session),
      m_messages(messages),
      m_results(results),
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
            new CDlgSettingWLAN(m_tabs, ui, messages.messenger(), m_pages.wlan(), m_pages.data());
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
    const PageCheck check = m_pages.Collect();
    if (!check.ok()) {
        m_messages.Show(check.messageId, MessageStyle::Warning, check.args);
        m_network->Focus(check.focus);
        if (m_wlan) {
            m_wlan->Focus(check.focus);
        }
        return;
    }
    BeginWait();
    SettingsChange change;
    change.kind = SettingsChange::Kind::Edited;
    change.edited = m_pages.data();
    QPointer<CDlgSetting> self(this);
    m_session.Start<ApplySettingsOperation>(
        [self](const ApplySettingsOperation& write) {
            if (self) {
                self->OnWritten(write);
            }
        },
        std::move(change));
}

void CDlgSetting::OnWritten(const ApplySettingsOperation& write) {
    EndWait();
    const SettingsResult& result = write.result();
    if (result.outcome.code == SettingsOutcome::Written) {
        m_pages.Written(result.sent);
        m_results.ShowStatus(OutcomeText{kStatusSettingsWritten, {result.backup.string()}});
        Messenger& messenger = m_messages.messenger();
        const std::string question =
            messenger.Text(kMsgSettingSucceeded) + "\r\n\r\n" + messenger.Text(kMsgAskReboot);
        QPointer<CDlgSetting> self(this);
        m_messages.Show(Message{0, question, MessageStyle::Question}, [self](MessageResult answer) {
            if (self && answer == MessageResult::Yes) {
                self->Reboot();
            }
        });
        return;
    }
    m_results.ShowStatus(
        DescribeSettings(result).value_or(OutcomeText{kStatusSettingsNotWritten, {}}));
    if (result.outcome.code == SettingsOutcome::Unchanged) {
        return;  // nothing to write: the board holds these settings
    }
    if (!write.report().messages.empty()) {
        m_messages.Present(write.report().messages);
    } else if (result.outcome.code == SettingsOutcome::BackupFailed) {
        m_messages.Show(kCliBackupFailed, MessageStyle::Warning, {result.backupProblem});
    } else {
        // What failed, with what the board may hold, in one message.
        const OutcomeText failure =
            DescribeSettings(result).value_or(OutcomeText{kMsgSettingFailed, {}});
        m_messages.Show(failure.stringId, MessageStyle::Warning, failure.args);
    }
}

void CDlgSetting::Reboot() {
    QPointer<CDlgSetting> self(this);
    m_session.Start<RebootOperation>([self](const RebootOperation& reboot) {
        if (!self) {
            return;
        }
        const RestartResult& result = reboot.result();
        const std::string& port = self->m_session.session().portName;
        self->m_results.PresentEnd(reboot, DescribeRestart(result, port));
        if (!reboot.succeeded()) {
            self->m_results.ShowStatus(*DescribeRestart(result, port));
        } else if (const auto& connect = self->m_session.lastConnect()) {
            self->m_results.ShowStatus(
                ConnectStatus(connect->outcome, connect->board.portName, connect->board.fibId));
        }
    });
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
    if (PasswordChange::WarnsFirst(m_login)) {
        // The dialog follows the warning once it has been read.
        QPointer<CDlgSetting> self(this);
        m_messages.Show(kMsgNoPasswordRestoration, MessageStyle::Warning, {},
                        [self](MessageResult) {
                            if (self) {
                                self->AskNewPassword();
                            }
                        });
        return;
    }
    AskNewPassword();
}

void CDlgSetting::AskNewPassword() {
    auto* dialog =
        new CDlgUserPW(this, m_ui, CDlgUserPW::Mode::Change, PasswordChange::OffersDelete(m_login));
    dialog->setWindowModality(Qt::ApplicationModal);
    QPointer<CDlgSetting> self(this);
    connect(dialog, &QDialog::finished, this, [self, dialog](int accepted) {
        dialog->deleteLater();
        if (self && accepted == QDialog::Accepted) {
            self->SendPassword(*dialog);
        }
        dialog->passwordEdit()->clear();
        dialog->retypeEdit()->clear();
    });
    dialog->show();
}

void CDlgSetting::SendPassword(CDlgUserPW& dialog) {
    if (!m_session.portOpen() || m_session.busy()) {
        // Nothing can be written: no progress for a command that never went out.
        m_messages.Show(kMsgOpenComPort, MessageStyle::Warning);
        return;
    }
    PasswordRequest request;
    if (!dialog.deleted()) {
        request.newPassword = dialog.password().toStdString();
    }
    // The desktop tool waits for the board's port only: its user connects again and logs in.
    request.reconnect = false;
    const bool deleted = dialog.deleted();
    QPointer<CDlgSetting> self(this);
    m_session.Start<PasswordOperation>(
        [self](const PasswordOperation& change) {
            if (self) {
                self->OnPasswordBack(change);
            }
        },
        std::move(request));
    delete m_passwordProgress;
    m_passwordProgress = new CDlgProgress(this, ProgressMode::Password, m_ui);
    connect(m_passwordProgress, &QDialog::finished, m_passwordProgress, &QObject::deleteLater);
    m_passwordProgress->show();
    m_login = !deleted;
}

void CDlgSetting::OnPasswordBack(const PasswordOperation& change) {
    if (CDlgProgress* progress = m_passwordProgress) {
        m_passwordProgress = nullptr;
        progress->done(0);
    }
    const std::optional<OutcomeText> failure = DescribePassword(change.result(), !m_login);
    m_results.ShowStatus(failure.value_or(OutcomeText{kStatusPasswordChanged, {}}));
    m_results.PresentEnd(change, failure);
}

void CDlgSetting::LoadCertificates() {
    QPointer<CDlgSetting> self(this);
    const auto started =
        m_session.Start<ReadCertificateOperation>([self](const ReadCertificateOperation& read) {
            if (self) {
                self->m_certificates = read.result().records;
                self->m_certificatesLoaded = true;
                self->UpdateButtons();
                // A board that stopped answering or went away is told at once; a board
                // without a certificate block, or with a damaged one, is told when its
                // certificate is asked for.
                const CertificateReadOutcome code = read.result().outcome.code;
                if (code == CertificateReadOutcome::TimedOut ||
                    code == CertificateReadOutcome::PortLost) {
                    const auto failure = DescribeCertificateRead(read.result());
                    self->m_results.ShowStatus(*failure);
                    self->m_results.PresentEnd(read, failure);
                }
            }
        });
    if (!started) {
        m_certificatesLoaded = true;  // the board is busy: nothing was read, nothing waits
    }
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
    CDlgCertMake dialog(this, m_ui, m_messages.messenger(),
                        DottedQuad(m_pages.store().ipv4Address));
    if (dialog.exec() != QDialog::Accepted || m_writing || m_session.busy()) {
        return;
    }
    Store(NewIdentity{dialog.bits(), dialog.subject()});
}

void CDlgSetting::ImportCertificate() {
    CDlgCertSelect select(this, m_ui, m_messages.messenger(), CDlgCertSelect::Mode::Certificate);
    if (select.exec() != QDialog::Accepted) {
        return;
    }
    GuiImportQuestions questions(this, m_ui, m_messages.messenger());
    ImportResult result =
        ImportCertificateFile(std::filesystem::path(select.path().toStdU16String()), questions);
    if (const int message = ImportMessageId(result.outcome); message != 0) {
        m_messages.Show(message, MessageStyle::Warning, {result.reason});
    }
    if (result.identity) {
        Store(std::move(*result.identity));
    }
}

template <typename Identity>
void CDlgSetting::Store(Identity identity) {
    if (m_writing || m_session.busy()) {
        QApplication::beep();
        return;
    }
    BeginWait();
    QPointer<CDlgSetting> self(this);
    m_session.Start<StoreIdentityOperation>(
        [self](const StoreIdentityOperation& store) {
            if (self) {
                self->OnStored(store);
            }
        },
        std::move(identity), StoreIdentityOperation::Options{});
}

void CDlgSetting::OnStored(const StoreIdentityOperation& store) {
    EndWait();
    const IdentityResult& result = store.result();
    m_certificates = result.after;
    m_results.PresentEnd(store, DescribeIdentity(result));
}

void CDlgSetting::ShowBoardCertificate() {
    const BoardCertificateLookup lookup = FindBoardCertificate(m_certificates);
    if (lookup.messageId != 0) {
        m_messages.Show(lookup.messageId, MessageStyle::Warning);
        return;
    }
    if (lookup.certificate) {
        CDlgCertInfo(this, m_ui, *lookup.certificate, false).exec();
    }
}

}  // namespace varnow::gui
