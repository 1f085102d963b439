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
#include "EmbeddedLine.h"
#include "LanguageStore.h"
#include "PortComboBox.h"
#include "QtPlatform.h"
#include "UiText.h"
#ifdef Q_OS_WIN
#include "WindowsDeviceEvents.h"
#endif
#include "app/BoardSession.h"
#include "ui/Host.h"

namespace varnow::gui {

struct MainWindowOptions {
    bool simulate = false;  // an embedded simulated board is listed first in the port list
};

// The main window's languages: the one its texts are in (chosen for this run), and the one
// stored for the next start, which its Language menu changes.
struct WindowLanguages {
    int shown;
    int stored;
};

// The tool's only top-level window: port list, the four image buttons, the package path
// field and the menus. It is the host of the core's operations: every message, progress
// dialog, firmware window and password prompt of an operation is shown from here.
class CVarnoWDlg : public QDialog, public Host {
public:
    CVarnoWDlg(const UiText& ui, int language, platform::LanguageStore& store,
               MainWindowOptions options = {});
    CVarnoWDlg(const UiText& ui, WindowLanguages languages, platform::LanguageStore& store,
               MainWindowOptions options = {});
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
    MessageResult ShowMessage(const Message& message) override;
    void ProgressShown(const ProgressState& state) override;
    void ProgressChanged(const ProgressState& state) override;
    void ProgressClosed() override;
    std::optional<std::string> AskLoginPassword() override;
    void FirmwareWindowShown(const FirmwareWindowState& state) override;
    void FirmwareWindowChanged(const FirmwareWindowState& state) override;
    void FirmwareWindowClosed() override;
    void ShowConnected(bool connected) override;
    void ShowStatus(const std::string& text) override;
    std::string SelectedPort() override;
    void SelectPortInList(const std::string& name) override;

    // For tests and screenshots
    BoardSession& session() { return *m_session; }
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
    sim::EmbeddedBoard* embeddedBoard() { return m_embedded ? &m_embedded->board() : nullptr; }
    int currentLanguage() const { return m_language; }
    // How many device arrivals and removals have reached the window.
    int deviceEvents() const { return m_platform->deviceEvents(); }

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

    const UiText& m_ui;
    int m_language;
    const int m_startupLanguage;
    platform::LanguageStore& m_store;
    MainWindowOptions m_options;
    QString m_lastFolder;

    sim::EmbeddedLine* m_embedded = nullptr;  // owned by the platform
    std::unique_ptr<platform::QtPlatform> m_platform;
    std::unique_ptr<BoardSession> m_session;
#ifdef Q_OS_WIN
    std::unique_ptr<platform::WindowsDeviceEvents> m_windowsEvents;
#endif

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
    QPointer<CDlgProgress> m_progress;
    QPointer<CDlgFWUpgrade> m_firmwareDialog;
    QPointer<CDlgSetting> m_settingsDialog;
    QPointer<QDialog> m_infoDialog;
};

}  // namespace varnow::gui
