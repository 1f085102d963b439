#include "CVarnoWDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QTimer>

#include "CAboutDlg.h"
#include "CDlgMessage.h"
#include "CDlgNetworkInfo.h"
#include "CDlgProductInfo.h"
#include "CDlgUserPW.h"
#include "Look.h"
#include "ops/InfoOperations.h"
#include "ops/SettingsOperations.h"
#include "package/PackageExtension.h"
#include "session/LanguageChoice.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

constexpr int kButtonsX = 180;
constexpr int kButtonsY = 10;
constexpr int kFieldTop = 70;
constexpr int kFieldHeight = 20;
constexpr int kStatusHeight = 20;

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> names;
    if (data == nullptr || !data->hasUrls()) {
        return names;
    }
    for (const QUrl& url : data->urls()) {
        names.push_back(url.toLocalFile().toStdString());
    }
    return names;
}

}  // namespace

CVarnoWDlg::CVarnoWDlg(const UiText& ui, WindowLanguages languages, platform::LanguageStore& store,
                       std::unique_ptr<Platform> platform)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_ui(ui),
      m_language(languages.stored),
      m_startupLanguage(languages.shown),
      m_store(store),
      m_platform(std::move(platform)),
      m_messages(ui, [this] { return OperationOwner(); }) {
    InitGuiResources();
    m_session = std::make_unique<BoardSession>(*m_platform, *this, ui.strings(), ui.language());
    m_session->SetListener(this);
#ifdef Q_OS_WIN
    m_windowsEvents = std::make_unique<platform::WindowsDeviceEvents>(
        [this] { m_session->OnDeviceArrival(); }, [this] { m_session->OnDeviceRemoval(); },
        [this] { m_session->OnResume(); });
    qApp->installNativeEventFilter(m_windowsEvents.get());
    m_windowsEvents->Register(reinterpret_cast<void*>(winId()));
#endif

    setWindowTitle(ui(kTextCaption));
    setWindowIcon(QIcon(":/images/app.png"));
    setFont(DialogFont());
    setAcceptDrops(true);
    BuildMenus();
    BuildControls();
    ShowConnected(false);
    RefillPortList();  // listed at once, so that the first board can be connected right away
    qApp->installEventFilter(this);
}

CVarnoWDlg::~CVarnoWDlg() {
    qApp->removeEventFilter(this);
    m_messages.Clear();
    delete m_progress;
    delete m_firmwareDialog;
    delete m_settingsDialog;  // before the session it works on
    m_session.reset();        // closes the port
}

void CVarnoWDlg::ShutDown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_session->Abort();  // the port closed, the progress dialog too
    m_messages.Clear();
    FirmwareWindowClosed();
    if (m_settingsDialog) {
        m_settingsDialog->done(QDialog::Rejected);
    }
    m_store.Write(m_language);
}

void CVarnoWDlg::BuildMenus() {
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(m_ui(kTextFileMenu));
    file->addAction(m_ui(kTextOpenQvk), this, [this] { OpenPackage(); });
    m_functionMenu = m_menuBar->addMenu(m_ui(kTextFunctionMenu));
    m_productInfo =
        m_functionMenu->addAction(m_ui(kTextProductInfo), this, [this] { ShowProductInfo(); });
    m_networkInfo =
        m_functionMenu->addAction(m_ui(kTextNetworkInfo), this, [this] { ShowNetworkInfo(); });
    m_functionMenu->addSeparator();
    QMenu* language = m_functionMenu->addMenu(m_ui(kTextLanguageMenu));
    m_korean =
        language->addAction(m_ui(kTextKorean), this, [this] { ChooseLanguage(kLanguageKorean); });
    m_english =
        language->addAction(m_ui(kTextEnglish), this, [this] { ChooseLanguage(kLanguageEnglish); });
    m_korean->setCheckable(true);
    m_english->setCheckable(true);
    // Where the window system offers no system menu, the About item lives here.
    m_functionMenu->addAction(m_ui(kTextAbout), this, [this] { ShowAbout(); });
    connect(m_functionMenu, &QMenu::aboutToShow, this, [this] { UpdateMenus(); });
    UpdateMenus();
}

void CVarnoWDlg::UpdateMenus() {
    const bool open = m_session && m_session->portOpen();
    m_productInfo->setEnabled(open);
    m_networkInfo->setEnabled(open);
    m_korean->setChecked(m_language == kLanguageKorean);
    m_english->setChecked(m_language == kLanguageEnglish);
}

void CVarnoWDlg::BuildControls() {
    m_client = new QWidget(this);
    const DialogUnits units = DialogUnitsFor(9);
    auto* comLabel = new QLabel(m_ui(kTextComPort), m_client);
    comLabel->setGeometry(units.X(6), units.Y(9), units.X(34), units.Y(8));
    m_ports = new PortComboBox(m_client);
    // As wide as the room before the buttons: a port's short name must be readable.
    m_ports->setGeometry(units.X(43), units.Y(7), kButtonsX - 8 - units.X(43), units.Y(12));
    m_ports->SetBeforeDropDown([this] { FillPortList(); });
    m_ports->view()->setMinimumWidth(units.X(160));
    connect(m_ports, &QComboBox::currentIndexChanged, this,
            [this] { m_ports->setToolTip(m_ports->currentData().toString()); });
    auto* pathLabel = new QLabel(m_ui(kTextQvkFilePath), m_client);
    pathLabel->setGeometry(units.X(6), units.Y(25), units.X(191), units.Y(14));
    m_connect = new CPngButton("connect", m_ui(103), m_client);
    m_disconnect = new CPngButton("disconnect", m_ui(104), m_client);
    m_settings = new CPngButton("settings", m_ui(105), m_client);
    m_upload = new CPngButton("upload", m_ui(106), m_client);
    connect(m_connect, &QAbstractButton::clicked, this, [this] { Connect(); });
    connect(m_disconnect, &QAbstractButton::clicked, this, [this] { Disconnect(); });
    connect(m_settings, &QAbstractButton::clicked, this, [this] { Settings(); });
    connect(m_upload, &QAbstractButton::clicked, this, [this] { Upload(); });
    m_fileList = new CWndFileList(m_client);
    m_status = new QLabel(m_client);
    m_status->setFont(DialogFont());
    m_status->setTextFormat(Qt::PlainText);
    const int width = m_upload->sizeHint().width() * 4 + 15 + kButtonsX + 10;
    setFixedSize(
        width, m_menuBar->sizeHint().height() + kFieldTop + kFieldHeight + 6 + kStatusHeight + 10);
    LayOut();
}

void CVarnoWDlg::LayOut() {
    const int top = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), top);
    m_client->setGeometry(0, top, width(), height() - top);
    int x = kButtonsX;
    for (CPngButton* button : {m_connect, m_disconnect, m_settings, m_upload}) {
        button->setGeometry(x, kButtonsY, button->sizeHint().width(), button->sizeHint().height());
        x += button->sizeHint().width() + 5;
    }
    m_fileList->setGeometry(QRect(10, kFieldTop, m_client->width() - 20, kFieldHeight));
    m_status->setGeometry(
        QRect(12, kFieldTop + kFieldHeight + 6, m_client->width() - 24, kStatusHeight));
}

void CVarnoWDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_fileList) {
        LayOut();
    }
}

void CVarnoWDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kWindowBackground);
}

void CVarnoWDlg::RefillPortList() {
    m_ports->clear();
    for (const auto& port : m_platform->ListPorts()) {
        const QString path = QString::fromStdString(port.name);
        m_ports->addItem(QString::fromStdString(port.label.empty() ? port.name : port.label), path);
        // The path, and what the system tells of a USB port: who the board is, wherever it is.
        QString tip = path;
        if (port.vendorId != 0 || port.productId != 0) {
            tip += QString::asprintf("\nUSB %04x:%04x", port.vendorId, port.productId);
        }
        if (!port.usbSerial.empty()) {
            tip += "\nusb:" + QString::fromStdString(port.usbSerial);
        }
        if (!port.physicalPath.empty()) {
            tip += "\nusb-path:" + QString::fromStdString(port.physicalPath);
        }
        m_ports->setItemData(m_ports->count() - 1, tip, Qt::ToolTipRole);
    }
    m_ports->setToolTip(m_ports->currentData().toString());
}

void CVarnoWDlg::FillPortList() {
    RefillPortList();
    if (m_ports->count() == 0) {
        Warn(kMsgNoBoardPort);
        QTimer::singleShot(10, m_ports, [this] { m_ports->hidePopup(); });
    }
}

void CVarnoWDlg::Warn(int stringId) {
    m_messages.Show(stringId, MessageStyle::Warning);
}

void CVarnoWDlg::ShowStatus(const OutcomeText& text) {
    // One line: the first line of the text, shortened to fit, all of it as the tooltip.
    const QString full =
        QString::fromStdString(
            FillPlaceholders(m_ui.strings().Text(text.stringId, m_ui.language()), text.args))
            .remove('\r');
    const QString line = full.section('\n', 0, 0);
    m_status->setText(m_status->fontMetrics().elidedText(line, Qt::ElideRight, m_status->width()));
    m_status->setToolTip(full);
}

void CVarnoWDlg::Ended() {
    ++m_operationsEnded;
    if (m_session->portOpen() != m_disconnect->isEnabled()) {
        ShowConnected(m_session->portOpen());
    }
}

void CVarnoWDlg::PresentEnd(const Operation& operation, const std::optional<OutcomeText>& failure) {
    const std::vector<Message>& messages = operation.report().messages;
    if (!messages.empty()) {
        m_messages.Present(messages);
    } else if (failure) {
        m_messages.Show(failure->stringId, MessageStyle::Warning, failure->args);
    }
}

void CVarnoWDlg::Connect() {
    if (m_session->busy()) {
        return;
    }
    m_session->Start<ConnectOperation>(
        [this](const ConnectOperation& connect) {
            const ConnectReport& result = connect.result();
            const std::string port =
                result.board.portName.empty() ? SelectedPort() : result.board.portName;
            ShowStatus(ConnectStatus(result.outcome, port, result.board.fibId));
            m_messages.Present(connect.report().messages);
            Ended();
        },
        SelectedPort());
}

void CVarnoWDlg::SessionConnectEnded(const ConnectOperation& connect) {
    const ConnectReport& result = connect.result();
    ShowStatus(ConnectStatus(result.outcome, result.board.portName, result.board.fibId));
    m_messages.Present(connect.report().messages);
    Ended();
}

void CVarnoWDlg::BoardPortLost() {
    ShowStatus(OutcomeText{kErrPortVanished, {}});
}

void CVarnoWDlg::Disconnect() {
    m_session->Disconnect();
    ShowStatus(OutcomeText{kStatusDisconnected, {}});
}

void CVarnoWDlg::Settings() {
    if (m_session->session().isp) {
        Warn(kMsgIspModeRefusal);
    } else if (!m_session->portOpen()) {
        Warn(kMsgOpenComPort);
    } else if (!m_session->busy() && !m_settingsDialog) {
        m_session->Start<ReadSettingsOperation>([this](const ReadSettingsOperation& read) {
            Ended();
            const auto failure = DescribeSettingsRead(read.result().outcome);
            if (failure) {
                ShowStatus(*failure);
            }
            PresentEnd(read, failure);
            if (!failure) {
                OpenSettings(read.result().data);
            }
        });
    }
}

void CVarnoWDlg::OpenSettings(EnvironmentData settings) {
    m_settingsDialog =
        new CDlgSetting(this, m_ui, *m_session, m_messages, *this, std::move(settings));
    connect(m_settingsDialog, &QDialog::finished, m_settingsDialog, &QObject::deleteLater);
    m_settingsDialog->open();
}

void CVarnoWDlg::ShowProductInfo() {
    if (m_session->busy()) {
        return;
    }
    m_session->Start<ReadProductInfoOperation>([this](const ReadProductInfoOperation& read) {
        Ended();
        const ProductInfoResult& result = read.result();
        // Only what was read whole is shown: a damaged value fails the whole report.
        const auto failure = DescribeProductInfo(result);
        PresentEnd(read, failure);
        if (failure) {
            return ShowStatus(*failure);
        }
        auto* dialog = new CDlgProductInfo(
            this, m_ui, ProductInfoLines(result.info, m_ui.strings(), m_ui.language()));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_infoDialog = dialog;
        dialog->open();
    });
}

void CVarnoWDlg::ShowNetworkInfo() {
    if (m_session->busy()) {
        return;
    }
    m_session->Start<ReadNetworkInfoOperation>([this](const ReadNetworkInfoOperation& read) {
        Ended();
        const NetworkInfoResult& result = read.result();
        const auto failure = DescribeNetworkInfo(result);
        PresentEnd(read, failure);
        if (failure) {
            return ShowStatus(*failure);
        }
        const NetworkReports reports =
            BuildNetworkReports(result.info, m_ui.strings(), m_ui.language());
        auto* dialog = new CDlgNetworkInfo(this, m_ui, reports);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_infoDialog = dialog;
        dialog->open();
    });
}

void CVarnoWDlg::Upload() {
    if (m_session->busy()) {
        return;
    }
    if (m_fileList->package().packagePath().empty()) {
        Warn(kMsgChoosePackage);
        return;
    }
    const std::string package = m_fileList->package().packagePath().string();
    m_writing = m_session->Start<WritePackageOperation>(
        [this, package](const WritePackageOperation& write) {
            // The firmware window shows a transfer under way: with the operation ended it
            // waits for nothing, and the end is told by the status line and the messages.
            FirmwareWindowClosed();
            Ended();
            const WriteResult& result = write.result();
            ShowStatus(WriteStatus(result, m_session->session().portName, package));
            PresentEnd(write, DescribeWrite(result, m_session->session().portName, package));
            m_writing.reset();
        },
        m_fileList->package(), UploadOptions{});
}

void CVarnoWDlg::OpenPackage() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, m_ui(kTextOpenQvk), m_lastFolder, m_ui(kTextQvkFilter));
    if (chosen.isEmpty()) {
        return;
    }
    m_lastFolder = QFileInfo(chosen).absolutePath();
    m_fileList->SetPackagePath(QDir::toNativeSeparators(chosen));
}

void CVarnoWDlg::ChooseLanguage(int language) {
    if (m_language == language) {
        return;
    }
    m_language = language;
    UpdateMenus();
    m_messages.Show(kMsgRestartForLanguage, MessageStyle::Information);
}

void CVarnoWDlg::ShowAbout() {
    CAboutDlg(this, m_ui).exec();
}

void CVarnoWDlg::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 close the window, and with it the application.
    ShutDown();
    QDialog::reject();
    event->accept();
}

bool CVarnoWDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && HandleKey(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CVarnoWDlg::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
        key == Qt::Key_F1) {
        return true;
    }
    if (event->modifiers() == Qt::ControlModifier) {
        const std::pair<int, CPngButton*> shortcuts[] = {
            {Qt::Key_N, m_connect}, {Qt::Key_I, m_disconnect}, {Qt::Key_S, m_upload}};
        for (const auto& [shortcut, button] : shortcuts) {
            if (key == shortcut) {
                if (button->isEnabled()) {
                    button->click();
                }
                return true;
            }
        }
    }
    return false;
}

void CVarnoWDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (MayDropPackages(LocalFiles(event->mimeData()))) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CVarnoWDlg::dropEvent(QDropEvent* event) {
    if (const auto name = DroppedPackage(LocalFiles(event->mimeData()))) {
        m_fileList->SetPackagePath(QString::fromStdString(*name));
        event->acceptProposedAction();
    }
}

QWidget* CVarnoWDlg::OperationOwner() {
    if (m_firmwareDialog) {
        return m_firmwareDialog;
    }
    if (m_settingsDialog) {
        return m_settingsDialog;
    }
    return this;
}

void CVarnoWDlg::ProgressShown(const ProgressState& state) {
    delete m_progress;
    m_progress = new CDlgProgress(OperationOwner(), state.mode, m_ui);
    m_progress->SetTextAndBar(QString::fromStdString(state.text), state.showBar);
    // Closed by its user, the operation goes on without it.
    connect(m_progress, &QDialog::finished, this, [this] {
        m_session->ProgressClosedByUser();
        m_progress->deleteLater();
        m_progress = nullptr;
    });
    m_progress->open();
}

void CVarnoWDlg::ProgressChanged(const ProgressState& state) {
    if (m_progress) {
        m_progress->SetTextAndBar(QString::fromStdString(state.text), state.showBar);
        m_progress->SetTotal(static_cast<int>(state.total));
        m_progress->SetCurrent(static_cast<int>(state.current));
    }
}

void CVarnoWDlg::ProgressClosed() {
    if (CDlgProgress* dialog = m_progress) {
        m_progress = nullptr;
        dialog->disconnect(this);
        dialog->done(0);
        dialog->deleteLater();
    }
}

void CVarnoWDlg::AskLoginPassword(bool, PasswordAnswer answer) {
    // The connect waits, with no command outstanding, until the dialog is answered.
    auto* dialog = new CDlgUserPW(OperationOwner(), m_ui);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QDialog::finished, this, [dialog, answer = std::move(answer)](int result) {
        std::optional<std::string> password;
        if (result == QDialog::Accepted) {
            password = dialog->password().toStdString();
        }
        dialog->passwordEdit()->clear();
        dialog->deleteLater();
        answer(std::move(password));
    });
    dialog->show();
}

void CVarnoWDlg::FirmwareWindowShown(const FirmwareWindowState& state) {
    delete m_firmwareDialog;
    m_firmwareDialog = new CDlgFWUpgrade(this, m_ui, [this] {
        if (m_writing) {
            m_writing->CloseFirmwareWindow();
        } else {
            FirmwareWindowClosed();  // its upgrade has ended: nothing waits on the window
        }
    });
    m_firmwareDialog->Show(state);
    m_firmwareDialog->open();
}

void CVarnoWDlg::FirmwareWindowChanged(const FirmwareWindowState& state) {
    if (m_firmwareDialog) {
        m_firmwareDialog->Show(state);
    }
}

void CVarnoWDlg::FirmwareWindowClosed() {
    if (CDlgFWUpgrade* dialog = m_firmwareDialog) {
        m_firmwareDialog = nullptr;
        dialog->done(0);
        dialog->deleteLater();
    }
}

void CVarnoWDlg::ShowConnected(bool connected) {
    m_connect->setEnabled(!connected);
    m_ports->setEnabled(!connected);
    m_disconnect->setEnabled(connected);
    m_settings->setEnabled(connected);
    m_upload->setEnabled(connected);
    UpdateMenus();
}

std::string CVarnoWDlg::SelectedPort() {
    return m_ports->currentData().toString().toStdString();
}

void CVarnoWDlg::SelectPortInList(const std::string& name) {
    // A board back from a restart under another name: the list learns of its new port.
    if (m_ports->findData(QString::fromStdString(name)) < 0) {
        RefillPortList();
    }
    const int index = m_ports->findData(QString::fromStdString(name));
    if (index >= 0) {
        m_ports->setCurrentIndex(index);
    }
}

}  // namespace varnow::gui
