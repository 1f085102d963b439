// The desktop tool under the command line's faults: for every action a user starts from the
// main window or the Settings dialog, the board goes silent from each command, garbles the
// first reply line of each, or is unplugged at each; and the action's own faults (a wrong or
// missing hash, a refusal). Each run must end: no two messages open at once, a failure told by
// at least one message and the status line, no window left waiting for nothing, and the window
// ready for the next action (a connect to the board, plugged in again, succeeds).
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <set>

#include "CDlgProgress.h"
#include "CDlgSetting.h"
#include "CVarnoWDlg.h"
#include "CertificateImage.h"
#include "LanguageStore.h"
#include "UiText.h"
#include "gui/ModalWatch.h"
#include "support/QtVirtualPlatform.h"
#include "support/TestCertificates.h"

using namespace varnow;
using namespace varnow::gui;
using varnow::testing::QtVirtualPlatform;

#define WAIT_UNTIL(expr) QVERIFY2(WaitFor([&] { return bool(expr); }), #expr)

namespace {

// Runs the windows and the virtual clock until `done`, looking again every few milliseconds;
// false after a minute. (QTRY_VERIFY looks every 50 ms: over hundreds of runs that is minutes.)
bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

enum class Action {
    UploadImage,
    UploadFirmware,
    UploadCombined,
    OpenSettings,
    WriteSettingsAndRestart,
    ChangePassword,
    MakeCertificate,
    ImportCertificate,
    ProductInfo,
    NetworkInfo,
};

// What goes wrong in one run.
struct Fault {
    enum class Kind { None, SilentFrom, GarbleFirstLine, UnplugAt, Board } kind = Kind::None;
    std::string command;                           // for the kinds at a command
    std::function<void(sim::BoardFaults&)> board;  // for Kind::Board
    std::string name;
};

// A fault of the board's own, named for the test's output.
Fault BoardFault(std::string name, std::function<void(sim::BoardFaults&)> set) {
    return Fault{Fault::Kind::Board, {}, std::move(set), std::move(name)};
}

bool UsesSettingsDialog(Action action) {
    return action == Action::WriteSettingsAndRestart || action == Action::ChangePassword ||
           action == Action::MakeCertificate || action == Action::ImportCertificate;
}

}  // namespace

class GuiFaultTest : public QObject {
    Q_OBJECT

private:
    StringTable m_strings = StringTable::BuiltIn();
    UiText m_ui{m_strings, Language::English};
    QTemporaryDir m_config;
    testing::ModalWatch m_watch;
    QString m_identityFile;

    struct World {
        platform::LanguageStore store;
        QtVirtualPlatform* board = nullptr;
        std::unique_ptr<CVarnoWDlg> window;
    };

    std::unique_ptr<World> NewWorld() {
        auto world = std::make_unique<World>();
        auto platform = std::make_unique<QtVirtualPlatform>(
            std::filesystem::path(m_config.path().toStdString()) / "data");
        world->board = platform.get();
        world->board->board().config().latencyMs = 1;
        world->board->board().SetCertificates(sim::certificates::FactoryBlock());
        world->window = std::make_unique<CVarnoWDlg>(m_ui, WindowLanguages{1033, 1033},
                                                     world->store, std::move(platform));
        world->window->show();
        return world;
    }

    // Connects, opens the Settings dialog where the action needs it, and readies the package.
    void Prepare(World& world, Action action) {
        CVarnoWDlg& window = *world.window;
        window.Connect();
        WAIT_UNTIL(window.session().lastConnect().has_value() && !window.busy());
        QCOMPARE(window.session().lastConnect()->outcome.code, ConnectOutcome::Identified);
        const char* packages[] = {"/image.qvk", "/firmware.qvk", "/combined.qvk"};
        if (action <= Action::UploadCombined) {
            window.fileList()->SetPackagePath(QString(VARNOW_SAMPLES_DIR) +
                                              packages[static_cast<int>(action)]);
        }
        if (UsesSettingsDialog(action)) {
            window.settingsButton()->click();
            WAIT_UNTIL(window.settingsDialog() != nullptr &&
                       window.settingsDialog()->certificatesLoaded());
        }
    }

    void Begin(World& world, Action action) {
        CVarnoWDlg& window = *world.window;
        CDlgSetting* dialog = window.settingsDialog();
        switch (action) {
            case Action::UploadImage:
            case Action::UploadFirmware:
            case Action::UploadCombined:
                return window.Upload();
            case Action::OpenSettings:
                return window.settingsButton()->click();
            case Action::WriteSettingsAndRestart: {
                CIpAddressEdit* address = dialog->networkPage()->field(1013);
                address->selectAll();
                QTest::keyClicks(address, "10.1.2.3");
                return dialog->writeButton()->click();
            }
            case Action::ChangePassword:
                m_watch.newPassword = "open sesame";
                return dialog->passwordButton()->click();
            case Action::MakeCertificate:
                m_watch.certAction = CDlgCert::Action::MakeSelfSigned;
                return dialog->certificateButton()->click();
            case Action::ImportCertificate:
                m_watch.certAction = CDlgCert::Action::ImportSigned;
                m_watch.certFile = m_identityFile;
                return dialog->certificateButton()->click();
            case Action::ProductInfo:
                return window.productInfoAction()->trigger();
            case Action::NetworkInfo:
                return window.networkInfoAction()->trigger();
        }
    }

    // Nothing runs, nothing waits and no message is left to read.
    static bool Settled(World& world) {
        CVarnoWDlg& window = *world.window;
        CDlgSetting* dialog = window.settingsDialog();
        const bool dialogIdle =
            dialog == nullptr || (!dialog->writing() && dialog->passwordProgress() == nullptr &&
                                  dialog->certificatesLoaded());
        // A modal window up is one more step of the action (a password to type), unless it
        // is where the action ended (the Settings dialog, an information window).
        const QWidget* modal = QApplication::activeModalWidget();
        const bool noQuestion = modal == nullptr || modal == dialog || modal == window.infoDialog();
        return !window.busy() && window.progressDialog() == nullptr &&
               window.firmwareDialog() == nullptr && window.messages().idle() && dialogIdle &&
               noQuestion;
    }

    // How a run ended: the status line, the commands the board answered during the action.
    struct Ran {
        QString status;
        QStringList messages;
        std::vector<std::string> commands;
    };

    // Runs one action under one fault.
    void RunOnce(Action action, const Fault& fault, Ran& ran) {
        auto world = NewWorld();
        Prepare(*world, action);
        if (QTest::currentTestFailed()) {
            return;
        }
        sim::SimBoard& board = world->board->board();
        sim::SimulatedPort& port = world->board->port();
        const std::size_t answered = board.answers().size();
        bool unplugged = false;
        switch (fault.kind) {
            case Fault::Kind::None:
                break;
            case Fault::Kind::SilentFrom:
            case Fault::Kind::UnplugAt:
                port.SetWriteTap([&, fault](ByteView bytes) {
                    if (!AsText(bytes).starts_with(fault.command)) {
                        return;
                    }
                    if (fault.kind == Fault::Kind::SilentFrom) {
                        board.faults().silent = true;
                    } else if (!unplugged) {
                        unplugged = true;
                        world->board->loop().After(1, [&port] { port.Unplug(); });
                    }
                });
                break;
            case Fault::Kind::GarbleFirstLine:
                board.faults().lineFault =
                    sim::LineFault{fault.command, 0, 0, sim::LineFault::Kind::Garble};
                break;
            case Fault::Kind::Board:
                fault.board(board.faults());
                break;
        }
        m_watch.Clear();
        m_watch.answer = static_cast<int>(MessageResult::Yes);
        m_watch.Start(5);
        Begin(*world, action);
        // The action has begun when the session or a dialog is busy; it has ended when all
        // is settled again.
        WAIT_UNTIL(Settled(*world));
        if (world->window->infoDialog() != nullptr) {
            world->window->infoDialog()->close();
        }
        ran.messages = m_watch.messages;
        for (std::size_t i = answered; i < board.answers().size(); ++i) {
            ran.commands.push_back(board.answers()[i].first);
        }
        const QString status = world->window->statusLine()->text();
        ran.status = status;
        const QString where =
            QString::fromStdString(fault.name) + ": " + status + " | " + ran.messages.join(" / ");
        QVERIFY2(m_watch.stackedMessages == 0, qPrintable("a message over another, " + where));
        QVERIFY2(!status.isEmpty(), qPrintable(where));
        const QWidget* modal = QApplication::activeModalWidget();
        QVERIFY2(modal == nullptr || modal == world->window->settingsDialog(),
                 qPrintable("a window left open, " + where));
        // Ready for the next action: the board unplugged and plugged in again (a board that
        // went silent is powered off and on), it is connected (with the password the action
        // may have given it).
        board.faults() = {};
        port.SetWriteTap({});
        if (port.plugged()) {
            port.Unplug();
        }
        WAIT_UNTIL(!world->window->session().portOpen() && !world->window->busy());
        port.Replug();
        WAIT_UNTIL(!world->window->busy());
        if (!world->window->session().portOpen()) {
            const int connects = world->window->session().connectsEnded();
            world->window->Connect();
            WAIT_UNTIL(world->window->session().connectsEnded() > connects &&
                       !world->window->busy());
        }
        // A board left in its boot loader is connected as such.
        const ConnectOutcome again = world->window->session().lastConnect()->outcome.code;
        QVERIFY2(again == ConnectOutcome::Identified || again == ConnectOutcome::IspMode,
                 qPrintable("not connected again, " + where));
        m_watch.Stop();
    }

    // The clean run, then every fault at every distinct command it sent, then `extra`.
    void Sweep(Action action, const std::vector<Fault>& extra = {}) {
        Ran clean;
        RunOnce(action, {}, clean);
        if (QTest::currentTestFailed()) {
            return;
        }
        const QStringList cleanMessages = clean.messages;
        std::vector<Fault> faults = extra;
        std::set<std::string> seen;
        for (const std::string& command : clean.commands) {
            if (!seen.insert(command).second) {
                continue;
            }
            using Kind = Fault::Kind;
            for (const Kind kind : {Kind::SilentFrom, Kind::GarbleFirstLine, Kind::UnplugAt}) {
                const char* names[] = {"", "silent from ", "garbled ", "unplugged at "};
                faults.push_back({kind, command, {}, names[static_cast<int>(kind)] + command});
            }
        }
        for (const Fault& fault : faults) {
            Ran ran;
            RunOnce(action, fault, ran);
            if (QTest::currentTestFailed()) {
                return;
            }
            // Either the action succeeded as in the clean run, or a message said why.
            const bool succeeded = ran.status == clean.status && ran.messages == cleanMessages;
            QVERIFY2(succeeded || !ran.messages.isEmpty(),
                     qPrintable(QString::fromStdString(fault.name) + ": no message, status " +
                                ran.status));
        }
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_config.path() + "/data").toUtf8());
        const PrivateKey key = testing::NewRsaKey(2048);
        const Certificate certificate =
            testing::NewCertificate(key, {{"CN", "imported"}}, 1893456000);
        m_identityFile = m_config.path() + "/identity.pem";
        QFile file(m_identityFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(testing::PemOf(certificate) + testing::PemOf(key)));
    }

    void uploadOfAnImage() {
        Sweep(Action::UploadImage,
              {BoardFault("wrong hash", [](sim::BoardFaults& f) { f.wrongHash = true; }),
               BoardFault("no hash command", [](sim::BoardFaults& f) { f.noHashCommand = true; }),
               BoardFault("never finishes storing",
                          [](sim::BoardFaults& f) { f.silentAfterStored = true; })});
    }
    void uploadOfFirmware() { Sweep(Action::UploadFirmware); }
    void uploadOfACombinedPackage() {
        Sweep(Action::UploadCombined,
              {BoardFault("wrong hash", [](sim::BoardFaults& f) { f.wrongHash = true; }),
               BoardFault("unplugged in the middle of the image",
                          [](sim::BoardFaults& f) { f.unplugAfterTextBytes = 2000; })});
    }
    void openingTheSettings() {
        Sweep(Action::OpenSettings,
              {BoardFault("no settings", [](sim::BoardFaults& f) { f.noSettings = true; })});
    }
    void writingSettingsAndRestarting() {
        Sweep(Action::WriteSettingsAndRestart,
              {BoardFault("settings refused",
                          [](sim::BoardFaults& f) { f.settingsRefused = true; })});
    }
    void changingThePassword() { Sweep(Action::ChangePassword); }
    void makingACertificate() {
        Sweep(Action::MakeCertificate, {BoardFault("certificates refused", [](sim::BoardFaults& f) {
                  f.certificatesRefused = true;
              })});
    }
    void importingACertificate() {
        Sweep(Action::ImportCertificate, {BoardFault("block refused", [](sim::BoardFaults& f) {
                  f.certificateReply = "501 no";
              })});
    }
    void productInformation() { Sweep(Action::ProductInfo); }
    void networkInformation() {
        Sweep(Action::NetworkInfo, {BoardFault("a query refused", [](sim::BoardFaults& f) {
                  f.refusedQueries = {"net0 ipaddr6 1"};
              })});
    }
};

QTEST_MAIN(GuiFaultTest)
#include "GuiFaultTest.moc"
