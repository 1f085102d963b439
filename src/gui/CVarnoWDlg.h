#pragma once

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <memory>

#include "CDlgFWUpgrade.h"
#include "CDlgProgress.h"
#include "CDlgSetting.h"
#include "CPngButton.h"
#include "CWndFileList.h"
#include "LanguageStore.h"
#include "MessageQueue.h"
#include "PortComboBox.h"
#include "ResultView.h"
#include "UiText.h"
#ifdef Q_OS_WIN
#include "WindowsDeviceEvents.h"
#endif
#include "app/BoardSession.h"
#include "app/OutcomeText.h"
#include "ops/WritePackageOperation.h"
#include "ui/Host.h"

namespace varnow::gui {

// The main window's languages: the one its texts are in (chosen for this run), and the one
// stored for the next start, which its Language menu changes.
struct WindowLanguages {
    int shown;
    int stored;
};

// The tool's only top-level window: port list, the four image buttons, the package path
// field and the menus. It gathers what each command needs, runs the command's operation on
// the board's session and shows its result: its messages one after the other once it has
// ended, the status line, and the window it leads to. It answers the operations' questions
// and shows their progress and firmware window while they run.
class CVarnoWDlg : public QDialog, public Host, public SessionListener, public ResultView {
public:
    // `platform`: the machine's ports, or a simulated board (chosen where the application is
    // put together).
    CVarnoWDlg(const UiText& ui, WindowLanguages languages, platform::LanguageStore& store,
               std::unique_ptr<Platform> platform);
    ~CVarnoWDlg() override;

    // Commands
    void Connect();
    void Disconnect();
    void Settings();
    // The Function menu's "Product/Firmware information" and "Network information".
    void ShowProductInfo();
    void ShowNetworkInfo();
    void Upload();
    void OpenPackage();
    void ChooseLanguage(int language);
    void ShowAbout();
    // The port list as it drops down: refilled, and message 107 when it stays empty.
    void FillPortList();

    // Host
    void ProgressShown(const ProgressState& state) override;
    void ProgressChanged(const ProgressState& state) override;
    void ProgressClosed() override;
    void AskLoginPassword(bool again, PasswordAnswer answer) override;
    void FirmwareWindowShown(const FirmwareWindowState& state) override;
    void FirmwareWindowChanged(const FirmwareWindowState& state) override;
    void FirmwareWindowClosed() override;
    void ShowConnected(bool connected) override;
    std::string SelectedPort() override;
    void SelectPortInList(const std::string& name) override;

    // SessionListener
    void SessionConnectEnded(const ConnectOperation& connect) override;
    void BoardPortLost() override;

    // ResultView: the status line, and an operation's end (its messages one after the other,
    // or, when it failed without a word, what failed: one message, never more).
    void ShowStatus(const OutcomeText& text) override;
    void PresentEnd(const Operation& operation, const std::optional<OutcomeText>& failure) override;

    // For tests and screenshots
    BoardSession& session() { return *m_session; }
    MessageQueue& messages() { return m_messages; }
    PortComboBox* portList() { return m_ports; }
    CPngButton* connectButton() { return m_connect; }
    CPngButton* disconnectButton() { return m_disconnect; }
    CPngButton* settingsButton() { return m_settings; }
    CPngButton* uploadButton() { return m_upload; }
    CWndFileList* fileList() { return m_fileList; }
    QLabel* statusLine() { return m_status; }
    QAction* productInfoAction() { return m_productInfo; }
    QAction* networkInfoAction() { return m_networkInfo; }
    QAction* koreanAction() { return m_korean; }
    QAction* englishAction() { return m_english; }
    QMenu* functionMenu() { return m_functionMenu; }
    CDlgProgress* progressDialog() { return m_progress; }
    CDlgFWUpgrade* firmwareDialog() { return m_firmwareDialog; }
    CDlgSetting* settingsDialog() { return m_settingsDialog; }
    // The information dialog last opened, while it is open.
    QDialog* infoDialog() { return m_infoDialog; }
    int currentLanguage() const { return m_language; }
    // How many operations have ended, and whether one runs (or the session brings a board back).
    int operationsEnded() const { return m_operationsEnded; }
    bool busy() const { return m_session->busy(); }

    // Handles Enter, Esc, F1 and the Ctrl shortcuts for every key that reaches this window or
    // one of its children; true when the key was swallowed.
    bool HandleKey(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}  // Esc never closes the window

private:
    void BuildMenus();
    void BuildControls();
    void LayOut();
    void UpdateMenus();
    void RefillPortList();
    // What closing the window does before it goes: the port closed, dialogs gone, the
    // language stored.
    void ShutDown();
    void OpenSettings(EnvironmentData settings);
    // The window that owns what an operation shows now: the firmware window, the Settings
    // dialog, or this window.
    QWidget* OperationOwner();
    // A message of the window's own (not an operation's).
    void Warn(int stringId);
    void Ended();

    const UiText& m_ui;
    int m_language;
    const int m_startupLanguage;
    platform::LanguageStore& m_store;
    QString m_lastFolder;

    std::unique_ptr<Platform> m_platform;
    MessageQueue m_messages;
    std::unique_ptr<BoardSession> m_session;
#ifdef Q_OS_WIN
    std::unique_ptr<platform::WindowsDeviceEvents> m_windowsEvents;
#endif
    std::shared_ptr<WritePackageOperation> m_writing;  // the upload under way, for its window

    QMenuBar* m_menuBar = nullptr;
    QMenu* m_functionMenu = nullptr;
    QAction* m_productInfo = nullptr;
    QAction* m_networkInfo = nullptr;
    QAction* m_korean = nullptr;
    QAction* m_english = nullptr;
    QWidget* m_client = nullptr;
    PortComboBox* m_ports = nullptr;
    CPngButton* m_connect = nullptr;
    CPngButton* m_disconnect = nullptr;
    CPngButton* m_settings = nullptr;
    CPngButton* m_upload = nullptr;
    CWndFileList* m_fileList = nullptr;
    QLabel* m_status = nullptr;
    bool m_shutDown = false;
    int m_operationsEnded = 0;
    QPointer<CDlgProgress> m_progress;
    QPointer<CDlgFWUpgrade> m_firmwareDialog;
    QPointer<CDlgSetting> m_settingsDialog;
    QPointer<QDialog> m_infoDialog;
};

}  // namespace varnow::gui
