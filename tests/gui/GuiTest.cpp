// The desktop application's windows on the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "BoardLines.h"
#include "CDlgCert.h"
#include "CDlgCertInfo.h"
#include "CDlgCertMake.h"
#include "CDlgCertSelect.h"
#include "CDlgMessage.h"
#include "CDlgNetworkInfo.h"
#include "CDlgProductInfo.h"
#include "CDlgProgress.h"
#include "CDlgSetting.h"
#include "CDlgSettingWLANIDPW.h"
#include "CDlgUserPW.h"
#include "CVarnoWApp.h"
#include "CVarnoWDlg.h"
#include "EnvironmentImage.h"
#include "LanguageStore.h"
#include "QtPlatform.h"
#include "UiText.h"
#include "certs/BoardCertificate.h"
#include "gui/ModalWatch.h"
#include "ops/SettingsOperations.h"
#include "support/QtVirtualPlatform.h"
#include "support/TestCertificates.h"
#include "ui/MessageIds.h"

using namespace varnow;
using namespace varnow::gui;
using varnow::testing::QtVirtualPlatform;

// Waits for what a test needs: an event of the window or the board, or a message caught by the
// modal watch. The bound is far above the normal time, so that only a lost event fails, never a
// slow machine.
#define WAIT_UNTIL(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, 60000)

namespace {

// Runs `action` as soon as the modal loop that the caller is about to enter is running.
void WhenModal(std::function<void()> action) {
    QTimer::singleShot(0, std::move(action));
}

QColor PixelAt(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    StringTable m_strings = StringTable::BuiltIn();
    UiText m_ui{m_strings, Language::English};
    QTemporaryDir m_config;
    // Answers the windows' modal dialogs and keeps the messages no test step expected.
    testing::ModalWatch m_watch;

    // The simulated board of the window made last, on the virtual clock.
    QtVirtualPlatform* m_board = nullptr;

    std::unique_ptr<Platform> VirtualBoard() {
        auto platform = std::make_unique<QtVirtualPlatform>(
            std::filesystem::path(m_config.path().toStdString()) / "data");
        m_board = platform.get();
        return platform;
    }
    std::unique_ptr<CVarnoWDlg> SimulatedWindow(platform::LanguageStore& store) {
        return std::make_unique<CVarnoWDlg>(m_ui, WindowLanguages{1033, 1033}, store,
                                            VirtualBoard());
    }
    // A window shown and connected to its simulated board.
    std::unique_ptr<CVarnoWDlg> ConnectedWindow(platform::LanguageStore& store) {
        auto window = SimulatedWindow(store);
        window->show();
        window->Connect();
        [&] { WAIT_UNTIL(window->session().lastConnect().has_value()); }();
        return window;
    }
    sim::SimBoard& board() { return m_board->board(); }
    // Runs an operation on the window's session and waits for its end.
    template <typename Op, typename... Args>
    std::shared_ptr<Op> RunOp(CVarnoWDlg& window, Args&&... args) {
        bool ended = false;
        auto operation = window.session().Start<Op>([&ended](const Op&) { ended = true; },
                                                    std::forward<Args>(args)...);
        [&] { WAIT_UNTIL(ended); }();
        return operation;
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_config.path() + "/data").toUtf8());
        qputenv("VARNOW_SIM_PORTS", (m_config.path() + "/ports").toUtf8());
    }

    void init() { m_watch.Clear(); }

    // A connected window with its Settings dialog open over the simulated board's settings.
    std::unique_ptr<CVarnoWDlg> WindowWithSettingsOpen(platform::LanguageStore& store,
                                                       bool wlanRecords = true) {
        auto window = SimulatedWindow(store);
        board().SetEnvironment(sim::environment::FactoryBlock({.wlanRecords = wlanRecords}));
        window->show();
        window->Connect();
        [&] { WAIT_UNTIL(window->session().lastConnect().has_value()); }();
        window->settingsButton()->click();
        [&] { WAIT_UNTIL(window->settingsDialog() != nullptr); }();
        // Its certificate read ends before a button that writes can be pressed.
        [&] { WAIT_UNTIL(window->settingsDialog()->certificatesLoaded()); }();
        return window;
    }

    void settingsDialogShowsTheWirelessPageOnlyWhenTheBlockHasIt_data() {
        QTest::addColumn<bool>("wlanRecords");
        QTest::newRow("with wireless LAN records") << true;
        QTest::newRow("without") << false;
    }
    void settingsDialogShowsTheWirelessPageOnlyWhenTheBlockHasIt() {
        QFETCH(bool, wlanRecords);
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store, wlanRecords);
        CDlgSetting* dialog = window->settingsDialog();
        QCOMPARE(dialog->windowTitle(), QString("Settings - VARNO-104K demo board"));
        QCOMPARE(dialog->tabs()->count(), wlanRecords ? 2 : 1);
        QCOMPARE(dialog->tabs()->tabText(0), QString("Network"));
        QVERIFY(dialog->koManagerButton()->isHidden());
        QVERIFY(dialog->certificateButton()->isEnabled());
        QVERIFY(dialog->networkPage()->staticRadio()->isChecked());
        QCOMPARE(dialog->networkPage()->field(1013)->text(), QString("192.168.0.100"));
        if (!wlanRecords) {
            QVERIFY(dialog->wlanPage() == nullptr);
            return;
        }
        // Soft AP locks the IPv4 group when the network tab is shown again; Infrastructure
        // frees it.
        dialog->tabs()->setCurrentIndex(1);
        dialog->wlanPage()->topologyRadio(2)->click();
        dialog->tabs()->setCurrentIndex(0);
        QVERIFY(!dialog->networkPage()->staticRadio()->isEnabled());
        QVERIFY(!dialog->networkPage()->field(1013)->isEnabled());
        dialog->tabs()->setCurrentIndex(1);
        dialog->wlanPage()->topologyRadio(1)->click();
        dialog->tabs()->setCurrentIndex(0);
        QVERIFY(dialog->networkPage()->staticRadio()->isEnabled());
        QVERIFY(dialog->networkPage()->field(1013)->isEnabled());
        // Enter, typed into a page or on a button, never closes the dialog.
        QTest::keyClick(dialog->networkPage()->field(1013), Qt::Key_Return);
        QTest::keyClick(dialog->networkPage()->field(1013), Qt::Key_Escape);
        QTest::keyClick(dialog->writeButton(), Qt::Key_Enter);
        QApplication::processEvents();
        QVERIFY(dialog->isVisible());
    }

    void writeAsksToRebootAndTheDialogStaysOpenWhileTheBoardRestarts() {
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store);
        CDlgSetting* dialog = window->settingsDialog();
        CIpAddressEdit* address = dialog->networkPage()->field(1013);
        address->selectAll();
        QTest::keyClicks(address, "10.1.2.3");
        const int connects = window->session().connectsEnded();
        m_watch.answer = static_cast<int>(MessageResult::Yes);
        m_watch.Start(20);
        dialog->writeButton()->click();
        QVERIFY(dialog->writing());  // the click was taken
        WAIT_UNTIL(window->session().connectsEnded() > connects);
        m_watch.Stop();
        QCOMPARE(m_watch.messages, QStringList{"Succeeded in setting the value. Do you want to "
                                               "reboot the product?"});
        QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor has ended
        QCOMPARE(window->settingsDialog(), dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(window->disconnectButton()->isEnabled());  // connected again
        const auto& commands = board().commands();
        QVERIFY(std::find(commands.begin(), commands.end(), "reboot sys 100") != commands.end());
        QVERIFY(window->statusLine()->toolTip().contains("Connected to simulated-board"));
        const QString backups = m_config.path() + "/data/VarnoW/backups";
        QVERIFY(!QDir(backups).entryList(QDir::Files).isEmpty());

        const auto read = RunOp<ReadSettingsOperation>(*window);
        QCOMPARE(read->result().data.store.ipv4Address, (Ipv4Address{10, 1, 2, 3}));
    }

    void aRefusedWriteSaysSoAndLeavesTheBoardConnected() {
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store);
        board().faults().settingsRefused = true;
        m_watch.Start(20);
        window->settingsDialog()->writeButton()->click();
        QVERIFY(window->settingsDialog()->writing());  // the click was taken
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QVERIFY(!window->settingsDialog()->writing());
        QCOMPARE(m_watch.messages, QStringList{"Has failed to set the values."});
        QVERIFY(window->session().portOpen());
        QVERIFY(window->settingsDialog()->isVisible());
    }

    // The dialog reads the board's certificate block as it opens. Until that read has ended
    // the board is busy: a write pressed meanwhile would be dropped without a word, so the
    // buttons that write wait for it.
    void theButtonsThatWriteWaitForTheCertificateReadOfTheOpeningDialog() {
        platform::LanguageStore store;
        auto window = ConnectedWindow(store);
        const EnvironmentData settings = RunOp<ReadSettingsOperation>(*window)->result().data;
        board().faults().ignoredCommands.insert("send envc");
        CDlgSetting dialog(window.get(), m_ui, window->session(), window->messages(), *window,
                           settings);
        for (QPushButton* button :
             {dialog.writeButton(), dialog.passwordButton(), dialog.certificateButton()}) {
            QVERIFY(!button->isEnabled());
        }
        WAIT_UNTIL(dialog.certificatesLoaded());  // the read has timed out
        for (QPushButton* button :
             {dialog.writeButton(), dialog.passwordButton(), dialog.certificateButton()}) {
            QVERIFY(button->isEnabled());
        }
        QVERIFY(!window->session().busy());
    }

    void passwordProgressClosesWhenTheBoardIsBackWithItsNewPassword() {
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store);
        CDlgSetting* dialog = window->settingsDialog();
        m_watch.newPassword = "open sesame";
        m_watch.Start(20);
        dialog->passwordButton()->click();
        // The warning, the password dialog, the progress, and the board back with it.
        WAIT_UNTIL(window->statusLine()->text().startsWith("The password was changed"));
        QVERIFY(dialog->passwordProgress() == nullptr);
        m_watch.Stop();
        QCOMPARE(m_watch.messages.size(), 1);  // the warning that a password cannot be restored
        QVERIFY(m_watch.messages.front().startsWith("Warning : Varno product does not provide"));
        QVERIFY(board().hasPassword());
        QVERIFY(!window->session().portOpen());  // its next arrival is not connected
        QVERIFY(window->connectButton()->isEnabled());
        QVERIFY(dialog->isVisible());
    }

    void aSelfSignedCertificateIsMadeStoredAndShownFromTheBoard() {
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store);
        CDlgSetting* dialog = window->settingsDialog();
        WAIT_UNTIL(dialog->certificatesLoaded());
        QCOMPARE(FindBoardCertificate(dialog->certificates()).messageId,
                 int(kMsgNoCertificateInProduct));
        m_watch.Start(20);
        m_watch.certAction = CDlgCert::Action::MakeSelfSigned;
        dialog->certificateButton()->click();  // 1024 bits and the dialog's defaults
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        QCOMPARE(m_watch.messages, QStringList{"Succeeded in saving the certificate."});
        WAIT_UNTIL(!dialog->writing());
        m_watch.certAction = CDlgCert::Action::ReadFromProduct;
        dialog->certificateButton()->click();
        m_watch.Stop();
        QCOMPARE(m_watch.reports.size(), 1);
        QVERIFY(m_watch.reports.front().startsWith("Issuer :\n"));
        QVERIFY(m_watch.reports.front().contains("commonName                = 192.168.0.100"));
        QVERIFY(m_watch.reports.front().contains("= KR - Korea, Republic of"));
    }

    void aPkcs12FileIsImportedAfterItsPasswordAndTheQuestion() {
        platform::LanguageStore store;
        auto window = WindowWithSettingsOpen(store);
        CDlgSetting* dialog = window->settingsDialog();
        WAIT_UNTIL(dialog->certificatesLoaded());
        const PrivateKey key = testing::NewRsaKey(2048);
        const Certificate certificate =
            testing::NewCertificate(key, {{"C", "DE"}, {"CN", "imported"}}, 1893456000);
        const Bytes p12 = testing::Pkcs12Of(&key, &certificate, "file secret");
        QFile file(m_config.path() + "/identity.p12");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(p12.data()), static_cast<qint64>(p12.size()));
        file.close();
        m_watch.certAction = CDlgCert::Action::ImportSigned;
        m_watch.certFile = file.fileName();
        m_watch.filePassword = "file secret";
        m_watch.Start(20);
        dialog->certificateButton()->click();
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QCOMPARE(m_watch.reports.size(), 1);  // the question came with the report
        QVERIFY(m_watch.reports.front().contains("DE - Germany"));
        QCOMPARE(m_watch.messages, QStringList{"Succeeded in saving the certificate."});
        WAIT_UNTIL(HoldsCertificate(dialog->certificates(), certificate.Der()));
    }

    void aSubjectFieldTooLongIsRefusedInTheDialog() {
        platform::LanguageStore store;
        auto window = SimulatedWindow(store);
        CDlgCertMake dialog(window.get(), m_ui, window->messages().messenger(), "10.0.0.1");
        dialog.field(4)->setText(QString(65, 'c'));
        m_watch.Start(20);
        dialog.accept();
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QCOMPARE(m_watch.messages,
                 QStringList{"The certificate's common name takes at most 64 characters."});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.countryBox()->itemText(0), QString("Afghanistan"));
        QCOMPARE(dialog.countryBox()->currentText(), QString("Korea, Republic of"));
    }

    void theInformationMenusShowWhatTheBoardTellsAboutItself() {
        platform::LanguageStore store;
        auto window = ConnectedWindow(store);
        window->productInfoAction()->trigger();
        WAIT_UNTIL(window->infoDialog() != nullptr);
        auto* product = dynamic_cast<CDlgProductInfo*>(window->infoDialog());
        QVERIFY(product != nullptr);
        QStringList lines;
        for (const QLabel* label : product->labels()) {
            lines << label->text();
        }
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.front(), QString("Product name : VARNO-104K demo board"));
        QCOMPARE(lines.back(), QString("Firmware size : 104K"));
        product->accept();
        WAIT_UNTIL(window->infoDialog() == nullptr);

        window->networkInfoAction()->trigger();
        WAIT_UNTIL(window->infoDialog() != nullptr);
        auto* network = dynamic_cast<CDlgNetworkInfo*>(window->infoDialog());
        QVERIFY(network != nullptr);
        QCOMPARE(network->tabs()->count(), 3);
        QVERIFY(network->page()->toPlainText().startsWith("IPv4 network information\n"));
        network->tabs()->setCurrentIndex(2);
        QVERIFY(network->page()->toPlainText().startsWith("IPv4 ARP cache table\n"));
        // The page has the focus only once the window system has made the dialog active.
        network->activateWindow();
        network->page()->setFocus();
        WAIT_UNTIL(network->page()->hasFocus());
        QTest::keyClick(network->page(), Qt::Key_Escape);
        QTest::keyClick(network->page(), Qt::Key_Return);
        QVERIFY2(network->isVisible(), "Esc in the page and Enter do not close it");
        network->accept();
    }

    void messageDialogSplitsAndWrapsLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF CR LF between two words")
            << "one\r\n\r\ntwo" << QStringList{"one", "two"};
        QTest::newRow("trailing LF gives an empty last line") << "text\n"
                                                              << QStringList{"text", ""};
        QTest::newRow("one line") << "Select a COM port." << QStringList{"Select a COM port."};
    }
    void messageDialogSplitsAndWrapsLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        CDlgMessage dialog(nullptr, text, 48, m_ui);
        QCOMPARE(dialog.lines(), lines);
    }

    void messageDialogSizesItselfFromItsText() {
        CDlgMessage narrow(nullptr, "OK", 48, m_ui);
        QCOMPARE(narrow.width(), 200);
        CDlgMessage wide(nullptr, QString(300, 'W'), 48, m_ui);
        for (const QString& line : wide.lines()) {
            QVERIFY(wide.fontMetrics().horizontalAdvance(line) <= 400);
        }
        QVERIFY(wide.lines().size() > 1);
        QCOMPARE(wide.lines().join("").size(), 300);  // nothing lost in the carry
        const int textWidth = wide.fontMetrics().horizontalAdvance(wide.lines().first());
        QCOMPARE(wide.width(), textWidth + 110);
        const QFontMetrics metrics(wide.font());
        const int n = static_cast<int>(wide.lines().size());
        QCOMPARE(wide.height(), n * (metrics.height() + 8) + 48 + 59);
    }

    void messageDialogButtonsGiveTheirResults_data() {
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("results");
        QTest::newRow("warning") << 48u << QStringList{"OK"} << QList<int>{1};
        QTest::newRow("question") << 36u << QStringList{"YES", "NO"} << QList<int>{6, 7};
        QTest::newRow("ok cancel") << 1u << QStringList{"OK", "Cancel"} << QList<int>{1, 2};
        QTest::newRow("abort retry ignore")
            << 2u << QStringList{"Abort", "Retry", "Ignore"} << QList<int>{3, 4, 5};
        QTest::newRow("yes no cancel")
            << 3u << QStringList{"YES", "NO", "Cancel"} << QList<int>{6, 7, 2};
        QTest::newRow("cancel try continue")
            << 6u << QStringList{"Cancel", "Retry", "Continue"} << QList<int>{2, 10, 11};
    }
    void messageDialogButtonsGiveTheirResults() {
        QFETCH(unsigned, style);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, results);
        for (int i = 0; i < captions.size(); ++i) {
            CDlgMessage dialog(nullptr, "text", style, m_ui);
            const auto buttons = dialog.visibleButtons();
            QCOMPARE(buttons.size(), captions.size());
            QCOMPARE(buttons[i]->text(), captions[i]);
            if (i > 0) {
                QVERIFY(buttons[i - 1]->x() < buttons[i]->x());
            }
            WhenModal([&] { buttons[i]->click(); });
            QCOMPARE(dialog.exec(), results[i]);
        }
    }

    void messageDialogEnterPressesTheDefaultButtonAndEscapeCloses() {
        {
            CDlgMessage question(nullptr, "text", 36, m_ui);
            QCOMPARE(question.visibleButtons().size(), 2);  // Yes and No
            WhenModal([&] { QTest::keyClick(&question, Qt::Key_Return); });
            QCOMPARE(question.exec(), int(MessageResult::Yes));
        }
        {
            CDlgMessage warning(nullptr, "text", 48, m_ui);
            WhenModal([&] { QTest::keyClick(&warning, Qt::Key_Enter); });
            QCOMPARE(warning.exec(), int(MessageResult::Ok));
        }
        CDlgMessage dialog(nullptr, "text", 36, m_ui);
        WhenModal([&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), 2);
    }

    void progressDialogSpinsWithTheTextOfItsMode_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("connect") << 0;
        QTest::newRow("upload") << 1;
        QTest::newRow("password") << 2;
    }
    void progressDialogSpinsWithTheTextOfItsMode() {
        QFETCH(int, mode);
        CDlgProgress dialog(nullptr, static_cast<ProgressMode>(mode), m_ui);
        dialog.show();
        WAIT_UNTIL(dialog.frame() >= 3);  // the spinner has moved: 300 ms have passed
        static const char* texts[] = {"Connecting to product.", "Updating files.",
                                      "It is setting the password."};
        QCOMPARE(dialog.text(), QString(texts[mode]));
    }

    void progressBarWithTotalZeroShowsAnEmptyFrameAndNoSpinner() {
        CDlgProgress dialog(nullptr, ProgressMode::Upload, m_ui);
        dialog.SetTextAndBar("Updating files.", true);
        dialog.SetTotal(0);
        dialog.SetCurrent(50);
        dialog.show();
        QCOMPARE(PixelAt(dialog, 30, 69), QColor(0xC8, 0xC8, 0xC8));
        // No spinner above the bar.
        QCOMPARE(PixelAt(dialog, dialog.width() / 2, 52), QColor(0xF0, 0xF0, 0xF0));
        dialog.SetTotal(100);
        dialog.SetCurrent(50);
        QCOMPARE(PixelAt(dialog, 30, 69), QColor(0x82, 0x82, 0x82));
    }

    void progressDialogClosesOnEnterAndEscape() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            CDlgProgress dialog(nullptr, ProgressMode::Password, m_ui);
            WhenModal([&] { QTest::keyClick(&dialog, key); });
            QCOMPARE(dialog.exec(), 2);
        }
    }

    void mainWindowSwitchesArrangementsAndMenusWithTheConnection() {
        platform::LanguageStore store;
        auto window = SimulatedWindow(store);
        window->show();
        QVERIFY(window->connectButton()->isEnabled());
        QVERIFY(window->portList()->isEnabled());
        QVERIFY(!window->disconnectButton()->isEnabled());
        QVERIFY(!window->settingsButton()->isEnabled());
        QVERIFY(!window->uploadButton()->isEnabled());
        emit window->functionMenu()->aboutToShow();
        QVERIFY(!window->productInfoAction()->isEnabled());
        QVERIFY(!window->networkInfoAction()->isEnabled());

        window->Connect();
        WAIT_UNTIL(window->session().lastConnect().has_value());
        QCOMPARE(window->session().lastConnect()->outcome.code, ConnectOutcome::Identified);
        QVERIFY(window->progressDialog() == nullptr);
        QVERIFY(!window->connectButton()->isEnabled());
        QVERIFY(!window->portList()->isEnabled());
        QVERIFY(window->disconnectButton()->isEnabled());
        QVERIFY(window->settingsButton()->isEnabled());
        QVERIFY(window->uploadButton()->isEnabled());
        emit window->functionMenu()->aboutToShow();
        QVERIFY(window->productInfoAction()->isEnabled());
        QVERIFY(window->networkInfoAction()->isEnabled());

        // Ctrl+N while connected does nothing; Enter and Esc neither close nor press anything.
        const std::size_t commands = board().commands().size();
        QTest::keyClick(window->portList(), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_Return);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QApplication::processEvents();
        QCOMPARE(board().commands().size(), commands);
        QVERIFY(window->isVisible());

        QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
        QVERIFY(window->connectButton()->isEnabled());
        QVERIFY(!window->session().portOpen());
        QVERIFY(m_watch.messages.isEmpty());
    }

    void closingTheWindowClosesThePortAndStoresTheLanguage() {
        platform::LanguageStore store;
        store.Write(1033);
        auto window =
            std::make_unique<CVarnoWDlg>(m_ui, WindowLanguages{1033, 1033}, store, VirtualBoard());
        window->show();
        window->Connect();
        WAIT_UNTIL(window->session().lastConnect().has_value());
        QVERIFY(window->session().portOpen());
        m_watch.Start(20);
        window->ChooseLanguage(1042);  // for the next start: its message is closed
        m_watch.Stop();
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QVERIFY(!window->session().portOpen());
        QCOMPARE(store.Read(), std::optional<int>(1042));
        QVERIFY(window->progressDialog() == nullptr);
    }

    void statusLineSaysWhatTheBoardIsAndHowTheLastActionEnded() {
        platform::LanguageStore store;
        auto window = ConnectedWindow(store);
        QCOMPARE(window->statusLine()->text(),
                 QString("Connected to simulated-board: firmware 2.1.5, 104K."));
        window->fileList()->SetPackagePath(VARNOW_SAMPLES_DIR "/image.qvk");
        window->Upload();
        WAIT_UNTIL(window->statusLine()->text().startsWith("Image "));
        QVERIFY(window->statusLine()->text().contains("written and verified (SHA-1 "));

        board().faults().wrongHash = true;
        m_watch.Start(20);
        window->Upload();
        WAIT_UNTIL(window->statusLine()->text().contains("differs"));
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QCOMPARE(m_watch.messages.size(), 1);  // the board's hash, shown as it came
    }

    void portListShowsShortNamesWithTheirPathsAsTooltips() {
        platform::LanguageStore store;
        auto window = SimulatedWindow(store);
        QCOMPARE(window->portList()->currentText(), QString("simulated"));
        QCOMPARE(window->SelectedPort(), std::string("simulated-board"));
        QCOMPARE(window->portList()->toolTip(), QString("simulated-board"));
        // Room for the name beside the drop-down arrow.
        QVERIFY(window->portList()->width() - 24 >=
                window->portList()->fontMetrics().horizontalAdvance("simulated"));
    }

    void languageMenuStoresTheChoiceForTheNextStart() {
        platform::LanguageStore store;
        store.Write(1033);
        {
            CVarnoWApp app(store, QLocale(QLocale::English), VirtualBoard());
            CVarnoWDlg& window = app.mainWindow();
            QCOMPARE(app.language(), 1033);
            window.ChooseLanguage(1033);  // already English: no message
            m_watch.Start(20);
            window.ChooseLanguage(1042);
            WAIT_UNTIL(!m_watch.messages.isEmpty());
            m_watch.Stop();
            QCOMPARE(m_watch.messages,
                     QStringList{"Restart Varno writer to apply the changed language."});
            emit window.functionMenu()->aboutToShow();
            QVERIFY(window.koreanAction()->isChecked());
            QVERIFY(!window.englishAction()->isChecked());
            window.close();
        }
        CVarnoWApp next(store, QLocale(QLocale::English), VirtualBoard());
        QCOMPARE(next.language(), 1042);
        QCOMPARE(next.mainWindow().windowTitle(), QString("Varno Writer"));
    }

    void firstRunTakesTheSystemLanguageWhenItHasTexts_data() {
        QTest::addColumn<int>("system");
        QTest::addColumn<int>("language");
        QTest::newRow("Korean system") << static_cast<int>(QLocale::Korean) << 1042;
        QTest::newRow("German system") << static_cast<int>(QLocale::German) << 1033;
    }
    void firstRunTakesTheSystemLanguageWhenItHasTexts() {
        QFETCH(int, system);
        QFETCH(int, language);
        QFile::remove(m_config.path() + "/TarvixSystems/varnow.conf");
        platform::LanguageStore store;
        QVERIFY(!store.Read().has_value());
        CVarnoWApp app(store, QLocale(static_cast<QLocale::Language>(system)), VirtualBoard());
        QCOMPARE(app.language(), language);
        QCOMPARE(store.Read(), std::optional<int>(language));
    }

    void dropAcceptsExactlyOnePackage_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("one upper-case package") << QStringList{"/tmp/A.QVK"} << true;
        QTest::newRow("two packages") << QStringList{"/tmp/a.qvk", "/tmp/b.qvk"} << false;
        QTest::newRow("another extension after it") << QStringList{"/tmp/x.qvk.bak"} << false;
        QTest::newRow("no dot") << QStringList{"/tmp/package"} << false;
        QTest::newRow("a folder named like a package") << QStringList{"/tmp/a.qvk"} << true;
    }
    void dropAcceptsExactlyOnePackage() {
        QFETCH(QStringList, files);
        QFETCH(bool, accepted);
        platform::LanguageStore store;
        auto window = SimulatedWindow(store);
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls << QUrl::fromLocalFile(file);
        }
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted) {
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &drop);
            QCOMPARE(window->fileList()->packagePath(), files.first());
        }
    }

    void packageFieldShortensALongPathInTheMiddle() {
        platform::LanguageStore store;
        auto window = SimulatedWindow(store);
        const QString path = "/home/engineer/" + QString(200, 'd') + "/final-package.qvk";
        window->fileList()->SetPackagePath(path);
        const QString shown = window->fileList()->shownText();
        QVERIFY(shown.contains(QChar(0x2026)));
        QVERIFY(shown.endsWith("package.qvk"));
        QVERIFY(shown.startsWith("/home/"));
    }

    void theThreeIdPasswordWindowsHaveTitlesThatTellThemApart() {
        CDlgSettingWLANIDPW signIn(nullptr, m_ui, CDlgSettingWLANIDPW::Mode::IdAndPassword);
        CDlgSettingWLANIDPW idOnly(nullptr, m_ui, CDlgSettingWLANIDPW::Mode::IdOnly);
        CDlgSettingWLANIDPW file(nullptr, m_ui, CDlgSettingWLANIDPW::Mode::PasswordOnly);
        CDlgUserPW admin(nullptr, m_ui, CDlgUserPW::Mode::Change, false);
        QCOMPARE(signIn.windowTitle(), QString("ID/Password: 802.1X sign-in"));
        QCOMPARE(idOnly.windowTitle(), signIn.windowTitle());
        QCOMPARE(admin.windowTitle(), QString("ID/Password: administrator password"));
        QCOMPARE(file.windowTitle(), QString("ID/Password: certificate file password"));
    }

    void uploadWithNoPackageChosenAsksForOne() {
        platform::LanguageStore store;
        auto window = ConnectedWindow(store);
        m_watch.Start(20);
        window->Upload();
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QCOMPARE(m_watch.messages, QStringList{"Choose a package first."});
        QVERIFY(!window->busy());
    }

    void uploadWritesTheImageAndTheFirmwareWindowClosesWhenTheBoardIsBack() {
        platform::LanguageStore store;
        auto window = ConnectedWindow(store);
        window->fileList()->SetPackagePath(VARNOW_SAMPLES_DIR "/combined.qvk");
        m_watch.Start(20);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        WAIT_UNTIL(!m_watch.messages.isEmpty());
        m_watch.Stop();
        QCOMPARE(m_watch.messages, QStringList{"Firmware has been transmitted."});
        QVERIFY(!window->busy());
        QVERIFY(window->firmwareDialog() == nullptr);
        QVERIFY(window->disconnectButton()->isEnabled());  // connected again
        QFile image(VARNOW_SAMPLES_DIR "/image.qvk");
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QByteArray expected = image.readAll();
        const Bytes& stored = board().kofs();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(stored.data()),
                            static_cast<int>(stored.size())),
                 expected);
    }

    void hotPlugFollowsTheBoardsPortAcrossUnplugAndReplug() {
        QProcess sim;
        sim.setProcessChannelMode(QProcess::SeparateChannels);
        sim.start(VARNO_SIM_PATH, {"--name", "hotplug"});
        QVERIFY(sim.waitForStarted());
        WAIT_UNTIL(sim.canReadLine());
        const QString link = QString::fromUtf8(sim.readLine()).trimmed();
        auto control = [&](const char* command) {
            sim.write(QByteArray(command) + "\n");
            WAIT_UNTIL(sim.canReadLine());
            QCOMPARE(QString::fromUtf8(sim.readLine()).trimmed(), QString("ok ") + command);
        };

        platform::LanguageStore store;
        auto line = std::make_unique<platform::QtPlatform>(app::BoardLineFor(false));
        platform::QtPlatform& machine = *line;
        CVarnoWDlg window(m_ui, WindowLanguages{1033, 1033}, store, std::move(line));
        window.show();
        m_watch.Start(50);
        window.FillPortList();
        window.SelectPortInList(link.toStdString());
        QCOMPARE(window.SelectedPort(), link.toStdString());
        QCOMPARE(window.portList()->currentText(), QString("hotplug"));  // the link's name
        QCOMPARE(window.portList()->toolTip(), link);
        window.Connect();
        WAIT_UNTIL(window.session().lastConnect().has_value());
        QCOMPARE(window.session().lastConnect()->outcome.code, ConnectOutcome::Identified);
        SerialPort& port = window.session().platform().Port();

        control("unplug");
        WAIT_UNTIL(!port.IsOpen());
        QVERIFY(window.connectButton()->isEnabled());  // the disconnected look

        const int connects = window.session().connectsEnded();
        control("replug");
        WAIT_UNTIL(window.session().connectsEnded() > connects);
        QCOMPARE(window.session().lastConnect()->outcome.code, ConnectOutcome::Identified);
        QVERIFY(port.IsOpen());
        QVERIFY(window.disconnectButton()->isEnabled());

        // Another board arriving leaves this connection alone.
        const int eventsBefore = machine.deviceEvents();
        QProcess other;
        other.start(VARNO_SIM_PATH, {"--name", "other"});
        WAIT_UNTIL(other.canReadLine());
        WAIT_UNTIL(machine.deviceEvents() > eventsBefore);  // its arrival was handled
        QVERIFY(port.IsOpen());
        other.kill();
        other.waitForFinished();

        // Unplugged and plugged in while disconnected: no automatic connect.
        window.Disconnect();
        int events = machine.deviceEvents();
        control("unplug");
        WAIT_UNTIL(machine.deviceEvents() > events);
        const int connectsBefore = window.session().connectsEnded();
        events = machine.deviceEvents();
        control("replug");
        WAIT_UNTIL(machine.deviceEvents() > events);  // the arrival was handled
        QVERIFY(!port.IsOpen());
        QCOMPARE(window.session().connectsEnded(), connectsBefore);

        m_watch.Stop();
        QVERIFY2(m_watch.messages.isEmpty(), qPrintable(m_watch.messages.join("; ")));
        sim.write("quit\n");
        QVERIFY(sim.waitForFinished(5000));
    }
};

QTEST_MAIN(GuiTest)
#include "GuiTest.moc"
