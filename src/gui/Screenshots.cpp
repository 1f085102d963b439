// varnow-screenshots: renders the main window, the message dialogs and the progress dialog in
// both languages to PNG files, for the README. Runs on the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

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
#include "CDlgSettingWLANAdvance.h"
#include "CDlgSettingWLANIDPW.h"
#include "CDlgUserPW.h"
#include "CVarnoWDlg.h"
#include "LanguageStore.h"
#include "QtPlatform.h"
#include "UiText.h"
#include "certs/RsaKeyMaker.h"
#include "certs/SelfSignedCertificate.h"
#include "ops/InfoOperations.h"
#include "ops/SettingsOperations.h"
#include "session/LanguageChoice.h"

namespace {

using namespace varnow;
using namespace varnow::gui;

// Runs an operation on the window's session and waits for its end.
template <typename Op, typename... Args>
std::shared_ptr<Op> RunAndWait(CVarnoWDlg& window, Args&&... args) {
    QEventLoop waiting;
    auto operation = window.session().Start<Op>([&waiting](const Op&) { waiting.quit(); },
                                                std::forward<Args>(args)...);
    if (operation) {
        waiting.exec();
    }
    return operation;
}

void Save(QWidget& widget, const QString& path) {
    widget.show();
    QApplication::processEvents();
    const bool saved = widget.grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
}

// The information dialogs, over what the simulated board tells.
void ShootInformation(CVarnoWDlg& window, const UiText& ui, const QString& folder,
                      const QString& suffix) {
    const ProductInfo product = RunAndWait<ReadProductInfoOperation>(window)->result().info;
    CDlgProductInfo productDialog(&window, ui,
                                  ProductInfoLines(product, ui.strings(), ui.language()));
    Save(productDialog, folder + "/product-info" + suffix + ".png");
    const NetworkInfo network = RunAndWait<ReadNetworkInfoOperation>(window)->result().info;
    CDlgNetworkInfo networkDialog(&window, ui,
                                  BuildNetworkReports(network, ui.strings(), ui.language()));
    Save(networkDialog, folder + "/network-info" + suffix + ".png");
    networkDialog.tabs()->setCurrentIndex(1);
    Save(networkDialog, folder + "/network-info-wlan" + suffix + ".png");
}

// The certificate dialogs, with a certificate the tool makes as the board's would be.
void ShootCertificates(CVarnoWDlg& window, QWidget& settings, const UiText& ui,
                       const QString& folder, const QString& suffix) {
    Messenger& messenger = window.messages().messenger();
    CDlgCert chooser(&settings, ui);
    Save(chooser, folder + "/certificate-chooser" + suffix + ".png");
    CDlgCertMake make(&settings, ui, messenger, "192.168.0.100");
    Save(make, folder + "/certificate-make" + suffix + ".png");
    CDlgCertSelect select(&settings, ui, messenger, CDlgCertSelect::Mode::Key);
    select.SetPath("/home/engineer/certificates/production/varno-sensor-node-0042.key.pem");
    Save(select, folder + "/certificate-select-key" + suffix + ".png");
    const std::optional<PrivateKey> key = GenerateRsaKey(1024);
    const std::optional<Certificate> certificate =
        key ? varnow::MakeSelfSignedCertificate(*key, DefaultSubject("192.168.0.100"), 1765000000)
            : std::nullopt;
    if (certificate) {
        CDlgCertInfo info(&settings, ui, *certificate, true);
        Save(info, folder + "/certificate-info" + suffix + ".png");
    }
    CDlgSettingWLANIDPW password(&settings, ui, CDlgSettingWLANIDPW::Mode::PasswordOnly);
    Save(password, folder + "/certificate-password" + suffix + ".png");
    CDlgProgress making(&settings, ProgressMode::MakingKey, ui);
    Save(making, folder + "/progress-making-key" + suffix + ".png");
}

// The Settings dialog's pages and the dialogs they open, over the simulated board's settings.
void ShootSettings(CVarnoWDlg& window, const UiText& ui, const QString& folder,
                   const QString& suffix) {
    EnvironmentData settings = RunAndWait<ReadSettingsOperation>(window)->result().data;
    const std::uint32_t wlanWord = settings.store.wlanWord;
    CDlgSetting dialog(&window, ui, window.session(), window.messages(), window,
                       std::move(settings));
    Save(dialog, folder + "/settings-network" + suffix + ".png");
    dialog.tabs()->setCurrentIndex(1);
    Save(dialog, folder + "/settings-wlan" + suffix + ".png");
    WlanAdvanced rules(1, wlanWord);
    CDlgSettingWLANAdvance advanced(&dialog, ui, rules);
    Save(advanced, folder + "/settings-advanced" + suffix + ".png");
    CDlgSettingWLANIDPW credentials(&dialog, ui, CDlgSettingWLANIDPW::Mode::IdAndPassword);
    credentials.SetTexts("field-engineer", "secret");
    Save(credentials, folder + "/settings-8021x" + suffix + ".png");
    CDlgUserPW password(&dialog, ui, CDlgUserPW::Mode::Change, true);
    Save(password, folder + "/password-change" + suffix + ".png");
    CDlgProgress setting(&dialog, ProgressMode::Password, ui);
    Save(setting, folder + "/progress-password" + suffix + ".png");
    ShootCertificates(window, dialog, ui, folder, suffix);
}

void Shoot(const StringTable& strings, Language language, const QString& folder) {
    const UiText ui(strings, language);
    const QString suffix = language == Language::Korean ? "-ko" : "-en";
    platform::LanguageStore store;
    const int id = language == Language::Korean ? kLanguageKorean : kLanguageEnglish;
    CVarnoWDlg window(ui, WindowLanguages{id, id}, store,
                      std::make_unique<platform::QtPlatform>(app::BoardLineFor(true)));
    window.fileList()->SetPackagePath("/home/engineer/packages/varno-sensor-node-2.4.1.qvk");
    Save(window, folder + "/main-disconnected" + suffix + ".png");
    RunAndWait<ConnectOperation>(window, window.SelectedPort());
    Save(window, folder + "/main-connected" + suffix + ".png");

    struct Sample {
        const char* name;
        int id;
        unsigned style;
    };
    const Sample samples[] = {
        {"warning", 118, 48},
        {"information", 157, 64},
        {"error", 126, 16},
        {"question", 139, 36},
    };
    for (const auto& sample : samples) {
        CDlgMessage dialog(&window, ui(sample.id), sample.style, ui);
        Save(dialog, folder + "/message-" + sample.name + suffix + ".png");
    }
    CDlgProgress connectProgress(&window, ProgressMode::Connect, ui);
    Save(connectProgress, folder + "/progress-connect" + suffix + ".png");
    CDlgProgress uploading(&window, ProgressMode::Upload, ui);
    uploading.SetTextAndBar(ui(123), true);
    uploading.SetTotal(100);
    uploading.SetCurrent(62);
    Save(uploading, folder + "/progress-upload" + suffix + ".png");
    ShootSettings(window, ui, folder, suffix);
    ShootInformation(window, ui, folder, suffix);
    window.Disconnect();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? argv[1] : "docs/screenshots";
    QDir().mkpath(folder);
    const StringTable strings = StringTable::BuiltIn();
    Shoot(strings, Language::English, folder);
    Shoot(strings, Language::Korean, folder);
    return 0;
}
