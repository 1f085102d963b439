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
#include "CDlgUserPW.h"
#include "Look.h"
#include "PortDiscovery.h"
#include "package/PackageExtension.h"
#include "session/LanguageChoice.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

constexpr int kButtonsX = 180;
constexpr int kButtonsY = 10;
constexpr int kFieldTop = 70;

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

CVarnoWDlg::CVarnoWDlg(const UiText& ui, int language, platform::LanguageStore& store,
                       MainWindowOptions options)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_ui(ui),
      m_language(language),
      m_startupLanguage(language),
      m_store(store),
      m_options(options),
      m_boardPort(options.simulate) {
    InitGuiResources();
    m_platform = std::make_unique<platform::QtPlatform>(
        m_boardPort.port(), [this](const std::string& name) { return m_boardPort.Probe(name); });
    m_boardPort.Attach(*m_platform);
    m_writer = std::make_unique<Writer>(*m_platform, *this, ui.strings(), ui.language());
    m_hotPlug.SetHandlers(
        [this] {
            ++m_deviceEvents;
            m_writer->OnDeviceArrival();
        },
        [this] {
            ++m_deviceEvents;
            m_writer->OnDeviceRemoval();
        });  // already on the event loop: handled at once
#ifdef Q_OS_WIN
    m_windowsEvents = std::make_unique<platform::WindowsDeviceEvents>(
        [this] { m_writer->OnDeviceArrival(); }, [this] { m_writer->OnDeviceRemoval(); },
        [this] { m_writer->OnResume(); });
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
    m_writer.reset();  // closes the port
}

void CVarnoWDlg::BuildMenus() {
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(m_ui(kTextFileMenu));
    file->addAction(m_ui(kTextOpenQvk), this, [this] { OpenPackage(); });
    m_functionMenu = m_menuBar->addMenu(m_ui(kTextFunctionMenu));
    m_productInfo = m_functionMenu->addAction(m_ui(kTextProductInfo));
    m_networkInfo = m_functionMenu->addAction(m_ui(kTextNetworkInfo));
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
    const bool open = m_platform->Port().IsOpen();
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
    m_ports->setGeometry(units.X(43), units.Y(7), units.X(51), units.Y(12));
    m_ports->SetBeforeDropDown([this] { FillPortList(); });
    m_ports->view()->setMinimumWidth(units.X(160));  // simulated boards have long names
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
    const int width = m_upload->sizeHint().width() * 4 + 15 + kButtonsX + 10;
    setFixedSize(width, m_menuBar->sizeHint().height() + kFieldTop + 30);
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
    m_fileList->setGeometry(
        QRect(QPoint(10, kFieldTop), QPoint(m_client->width() - 11, m_client->height() - 11)));
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
    if (m_boardPort.embedded() != nullptr) {
        m_ports->addItem(sim::EmbeddedBoard::kPortName);
    } else {
        for (const auto& port : platform::DiscoverBoardPorts()) {
            m_ports->addItem(QString::fromStdString(port.name));
        }
    }
}

void CVarnoWDlg::FillPortList() {
    RefillPortList();
    if (m_ports->count() == 0) {
        ShowMessage(
            Message{kMsgNoBoardPort, m_ui(kMsgNoBoardPort).toStdString(), MessageStyle::Warning});
        QTimer::singleShot(10, m_ports, [this] { m_ports->hidePopup(); });
    }
}

void CVarnoWDlg::Connect() {
    m_writer->Connect();
}

void CVarnoWDlg::Disconnect() {
    m_writer->Disconnect();
}

void CVarnoWDlg::Settings() {
    if (m_writer->session().isp) {
        ShowMessage(Message{kMsgIspModeRefusal, m_ui(kMsgIspModeRefusal).toStdString(),
                            MessageStyle::Warning});
    } else if (!m_platform->Port().IsOpen()) {
        ShowMessage(
            Message{kMsgOpenComPort, m_ui(kMsgOpenComPort).toStdString(), MessageStyle::Warning});
    }
}

void CVarnoWDlg::Upload() {
    m_writer->StartUpload(m_fileList->package());
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
    ShowMessage(Message{kMsgRestartForLanguage, m_ui(kMsgRestartForLanguage).toStdString(),
                        MessageStyle::Information});
}

void CVarnoWDlg::ShowAbout() {
    CAboutDlg(this, m_ui).exec();
}

void CVarnoWDlg::closeEvent(QCloseEvent* event) {
    m_store.Write(m_language);
    QDialog::closeEvent(event);
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

MessageResult CVarnoWDlg::ShowMessage(const Message& message) {
    QWidget* owner = m_progress         ? static_cast<QWidget*>(m_progress)
                     : m_firmwareDialog ? static_cast<QWidget*>(m_firmwareDialog)
                                        : this;
    CDlgMessage dialog(owner, QString::fromStdString(message.text),
                       static_cast<unsigned>(message.style), m_ui);
    return static_cast<MessageResult>(dialog.exec());
}

void CVarnoWDlg::RunProgress(ProgressMode mode, const std::function<void()>& started) {
    CDlgProgress dialog(this, mode, m_ui, started);
    m_progress = &dialog;
    dialog.exec();
    m_progress = nullptr;
}

void CVarnoWDlg::CloseProgress() {
    if (m_progress) {
        m_progress->Cancel();
    }
}

void CVarnoWDlg::SetProgressText(const std::string& text, bool showBar) {
    if (m_progress) {
        m_progress->SetTextAndBar(QString::fromStdString(text), showBar);
    }
}

void CVarnoWDlg::SetProgressTotal(int total) {
    if (m_progress) {
        m_progress->SetTotal(total);
    }
}

void CVarnoWDlg::SetProgressCurrent(int current) {
    if (m_progress) {
        m_progress->SetCurrent(current);
    }
}

std::optional<std::string> CVarnoWDlg::AskLoginPassword() {
    CDlgUserPW dialog(this, m_ui);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.password().toStdString();
}

void CVarnoWDlg::RunFirmwareWindow(FirmwareUpgrade& upgrade) {
    CDlgFWUpgrade dialog(this, upgrade, m_ui);
    m_firmwareDialog = &dialog;
    dialog.exec();
    m_firmwareDialog = nullptr;
}

void CVarnoWDlg::CloseFirmwareWindow() {
    if (m_firmwareDialog) {
        m_firmwareDialog->done(0);
    }
}

void CVarnoWDlg::FirmwareWindowChanged() {
    if (m_firmwareDialog) {
        m_firmwareDialog->Refresh();
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
    return m_ports->currentText().toStdString();
}

void CVarnoWDlg::SelectPortInList(const std::string& name) {
    const int index = m_ports->findText(QString::fromStdString(name));
    if (index >= 0) {
        m_ports->setCurrentIndex(index);
    }
}

}  // namespace varnow::gui
