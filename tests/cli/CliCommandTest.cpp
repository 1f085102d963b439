// varnow-cli as its users meet it, run against a simulated board in virtual time: what it
// prints and how it exits.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "CliApp.h"
#include "ExitStatus.h"
#include "SamplePackages.h"
#include "certs/CertificateBlock.h"
#include "cli/CliRunner.h"
#include "support/RecordingMessageHost.h"
#include "support/TempFolder.h"
#include "support/TestCertificates.h"

namespace varnow {
namespace {

using testing::VirtualBoardAccess;

class CliTest : public ::testing::Test, public testing::CliRunner {
protected:
    // The board goes silent once the tool writes `command`.
    static std::function<void(VirtualBoardAccess&)> SilentFrom(std::string command) {
        return [command](VirtualBoardAccess& access) {
            access.port().SetWriteTap([&access, command](ByteView bytes) {
                if (AsText(bytes).find(command) != std::string::npos) {
                    access.board().faults().silent = true;
                }
            });
        };
    }
};

TEST_F(CliTest, AMistakeCostsOneLineAndAPointerToTheHelp) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 1}));
    Bytes damaged = samples::MakeKofsImage({.sizeKib = 1});
    damaged[6] ^= 1;
    const std::string broken = Package(damaged, "broken.qvk");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string error;  // the start of the last line
    };
    const Case cases[] = {
        {{}, 2, "error: a command is required (see varnow-cli --help)"},
        {{"nosuch"}, 2, "error: unknown command nosuch (see varnow-cli --help)"},
        {{"--port"}, 2, "error: --port: 1 required TEXT missing"},
        {{"identify", "--port"}, 2, "error: --port: 1 required TEXT missing"},
        {{"upload"}, 2, "error: package is required (see varnow-cli upload --help)"},
        {{"upload", "a.qvk", "b.qvk"}, 2, "error: The following argument was not expected: b.qvk"},
        {{"--lang", "fr", "ports"}, 2, "error: --lang: fr not in {en,ko}"},
        {{"--simulate", "-p", "X", "identify"}, 2, "error: --port excludes --simulate"},
        {{"--trace", "/nonexistent/t", "identify"},
         2,
         "error: The trace file /nonexistent/t could not be written: No such file or directory."},
        {{"upload", "nosuch.qvk"},
         3,
         "error: The package nosuch.qvk could not be read: No such file or directory."},
        {{"inspect", folder.path().string()},
         3,
         "error: The package " + folder.path().string() + " could not be read: Is a directory."},
        {{"upload", broken}, 3, "error: The package " + broken + " was refused: the image head"},
        {{"firmware", image}, 3, "error: The package " + image + " holds no firmware"},
        {{"--lang", "ko", "firmware", image},
         3,
         "error: 패키지 " + image + "에는 펌웨어가 없습니다"},
    };
    for (const auto& c : cases) {
        const CliResult run = Cli(c.arguments);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << LastLine(run.err);
        EXPECT_LT(run.err.size(), 400u) << "no help dump";
        EXPECT_FALSE(run.boardOpened) << "nothing is tried on a board";
    }
}

TEST_F(CliTest, TakesOptionsBeforeOrAfterTheCommandInEitherSpelling) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"--port", "/dev/ttyACM7", "identify"},
                                               {"identify", "--port=/dev/ttyACM7"},
                                               {"identify", "-p", "/dev/ttyACM7", "--json"}}) {
        const CliResult run = Cli(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
    }
    EXPECT_EQ(Cli({"--version"}).out, "varnow-cli 1.0.1\n");
    const CliResult help = Cli({"upload", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: varnow-cli upload"), std::string::npos);
}

TEST_F(CliTest, JsonIsOneTypedObjectPerLine) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 2}));
    const CliResult run = Cli({"--json", "upload", image});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    QJsonObject result;
    int progressEvents = 0;
    while (std::getline(lines, line)) {
        QJsonParseError error;
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
        ASSERT_TRUE(document.isObject()) << line;
        const QJsonObject object = document.object();
        if (object["event"] == "result") {
            result = object;
        } else if (object["event"] == "progress") {
            ++progressEvents;
        }
        for (const QString& key : object.keys()) {
            EXPECT_FALSE(key.contains(' ') || key != key.toLower()) << key.toStdString();
        }
    }
    EXPECT_GT(progressEvents, 2);
    EXPECT_EQ(result["status"].toInt(-1), 0);
    EXPECT_EQ(result["upload"].toString(), "verified");
    EXPECT_EQ(result["image_bytes"].toInt(), 2048) << "a number, not a display string";
    EXPECT_TRUE(result["send_seconds"].isDouble());
    EXPECT_EQ(result["image_hash"].toString().size(), 40);
}

TEST_F(CliTest, ABoardSilentAtAnyStepOfConnectingEndsWithItsStatusAndWhatDidNotAnswer) {
    struct Case {
        const char* command;
        const char* error;
    };
    const Case cases[] = {
        {"\r", "error: The product on /dev/ttyACM7 does not answer"},
        {"set esc", "error: The product did not answer \"set esc 02\" in time."},
        {"set echo", "error: The product did not answer \"set echo 0\" in time."},
        {"get id pdb", "error: The product did not answer \"get id pdb\" in time."},
        {"get sys kofs", "error: The product did not answer \"get sys kofs\" in time."},
        {"get state", "error: The product did not answer \"get state 0\" in time."},
        {"get id kofs", "error: The product did not answer \"get id kofs\" in time."},
        {"get id fib", "error: The product did not answer \"get id fib\" in time."},
        {"get id mcu", "error: The product did not answer \"get id mcu\" in time."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const CliResult run = Cli({"identify"}, SilentFrom(c.command));
        EXPECT_EQ(run.status, 6);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << run.err;
        EXPECT_LE(run.virtualMs, 3200u) << "within the connect's time-outs";
    }
}

TEST_F(CliTest, ABoardSilentAtAnyStepOfAnUploadEndsWithItsStatusAndWhatDidNotAnswer) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 2}));
    struct Case {
        const char* command;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"send kofs head", 13, "error: The product did not answer \"send kofs head\" in time."},
        {"erase kofs", 13, "error: The product did not answer \"erase kofs\" in time."},
        {"recv kofs", 13,
         "error: The product did not answer \"recv kofs\" in time after its file system was "
         "erased"},
        {"get id kofs hash", 15, "error: The product did not confirm the image it stored"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const CliResult run = Cli({"upload", image}, SilentFrom(c.command));
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << run.err;
        EXPECT_LE(run.virtualMs, 10200u) << "within the upload's time-outs";
    }
}

TEST_F(CliTest, AProtectedBoardWithoutAPasswordSaysHowToGiveOne) {
    const CliResult run = Cli({"identify"}, [](VirtualBoardAccess& access) {
        access.board().SetPassword("open sesame");
    });
    EXPECT_EQ(run.status, 9);
    EXPECT_EQ(LastLine(run.err),
              "error: The product asks for its administrator password: give it at the prompt "
              "(--password), with --password-env VAR or --password-file FILE, or set "
              "VARNOW_PASSWORD.");
}

TEST_F(CliTest, ABoardInItsBootLoaderIsToldAsSuchWithTheWayOut) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 1}));
    const auto inBootLoader = [](VirtualBoardAccess& access) {
        access.board().config().ispMode = true;
    };
    const CliResult identify = Cli({"identify"}, inBootLoader);
    EXPECT_EQ(identify.status, 10);
    EXPECT_EQ(identify.out.find("fib id"), std::string::npos) << "nothing empty is printed";
    const CliResult upload = Cli({"upload", image}, inBootLoader);
    EXPECT_EQ(upload.status, 10);
    EXPECT_NE(LastLine(upload.err).find("with the firmware command"), std::string::npos)
        << upload.err;
}

TEST_F(CliTest, AnUnplugInTheMiddleOfTheImageSaysThatThePortVanished) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 8}));
    const CliResult run = Cli({"upload", image}, [](VirtualBoardAccess& access) {
        access.board().faults().unplugAfterTextBytes = 5000;
    });
    EXPECT_EQ(run.status, 11);
    EXPECT_EQ(run.err.find("information:"), std::string::npos) << run.err;
    EXPECT_TRUE(LastLine(run.err).starts_with(
        "error: The product's port vanished while the image was being written"));
}

TEST_F(CliTest, CtrlCClosesThePortAndSaysWhatTheBoardMayHold) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 2}));
    bool closed = false;
    const CliResult run = Cli({"upload", image}, [&closed](VirtualBoardAccess& access) {
        access.board().faults().silentAfterStored = true;  // long enough to be interrupted
        access.InterruptAfter(2000);
        access.port().SetWriteTap(
            [&closed, &access](ByteView) { closed = !access.port().IsOpen(); });
    });
    EXPECT_EQ(run.status, 130);
    EXPECT_TRUE(LastLine(run.err).starts_with(
        "error: Interrupted: the port was closed. The product may hold a partial image"))
        << run.err;
    EXPECT_LE(run.virtualMs, 2100u);
}

TEST_F(CliTest, AVerifiedUploadPrintsItsHashAndNoError) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 1}));
    const CliResult run = Cli({"upload", image});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("upload: verified"), std::string::npos);
    EXPECT_NE(run.out.find("image hash: "), std::string::npos);
    EXPECT_EQ(run.err.find("error:"), std::string::npos) << run.err;
}

// The files are read and the certificate confirmed before any board is touched; each way an
// import cannot go on has its status and says what to give.
TEST_F(CliTest, ACertificateImportRefusesWhatItCannotUseBeforeTheBoardIsTouched) {
    const PrivateKey key = testing::NewRsaKey(2048);
    const PrivateKey ec = testing::NewEcKey();
    const Certificate certificate = testing::NewCertificate(key, {{"CN", "x"}}, 1893456000);
    const Certificate ecCertificate = testing::NewCertificate(ec, {{"CN", "ec"}}, 1893456000);
    const std::string der = folder.Write("cert.der", testing::DerOf(certificate)).string();
    const std::string both =
        folder.Write("both.pem", AsBytes(testing::PemOf(certificate) + testing::PemOf(key)))
            .string();
    const std::string ecFile =
        folder.Write("ec.pem", AsBytes(testing::PemOf(ecCertificate) + testing::PemOf(ec)))
            .string();
    const std::string text = folder.Write("notes.txt", AsBytes("hello\n")).string();
    const std::string p12 =
        folder.Write("id.p12", testing::Pkcs12Of(&key, &certificate, "right")).string();
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string error;
    };
    const Case cases[] = {
        {{"cert", "import", both},
         2,
         "error: A certificate is used only when confirmed: give --yes, or run on a terminal."},
        {{"cert", "import", der, "--yes"},
         20,
         "error: The certificate file " + der +
             " holds no RSA key: give the key's file with --key."},
        {{"cert", "import", text, "--yes"},
         20,
         "error: The file " + text + " is not a certificate or key file (PEM, DER or PKCS#12)."},
        {{"cert", "import", text, "--yes", "--passin-env", "VARNOW_TEST_UNSET"},
         2,
         "error: The environment variable VARNOW_TEST_UNSET is not set."},
        {{"cert", "import", p12, "--yes", "--passin-env", "HOME"},
         20,
         "error: The file's password is wrong."},
        {{"--lang", "ko", "cert", "import", p12, "--yes", "--passin-env", "HOME"},
         20,
         "error: 파일의 비밀번호가 틀렸습니다."},
        {{"cert", "import", ecFile, "--yes"},
         20,
         "error: The key is not an RSA key (EC): the product takes RSA keys only."},
        {{"cert", "import", folder.path().string() + "/none.p12", "--yes"},
         20,
         "error: The file " + folder.path().string() + "/none.p12 could not be read"},
    };
    for (const auto& c : cases) {
        const CliResult run = Cli(c.arguments);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << LastLine(run.err);
        EXPECT_FALSE(run.boardOpened) << "nothing is tried on a board";
    }
}

TEST_F(CliTest, AnImportedCertificateIsReadBackBeforeSuccessIsReported) {
    const PrivateKey key = testing::NewRsaKey(2048);
    const Certificate certificate =
        testing::NewCertificate(key, {{"C", "KR"}, {"CN", "x"}}, 1893456000);
    const std::string der = folder.Write("cert.der", testing::DerOf(certificate)).string();
    const std::string keyFile = folder.Write("key.pem", AsBytes(testing::PemOf(key))).string();
    const CliResult stored = Cli({"cert", "import", der, "--key", keyFile, "--yes"});
    EXPECT_EQ(stored.status, 0) << stored.err;
    EXPECT_NE(stored.out.find("verified: yes"), std::string::npos);
    EXPECT_NE(stored.err.find("countryName               = KR - Korea, Republic of"),
              std::string::npos)
        << "the report comes before the question";

    const CliResult refused =
        Cli({"cert", "import", der, "--key", keyFile, "--yes"}, [](VirtualBoardAccess& access) {
            access.board().faults().certificateReply = "501 locked";
        });
    EXPECT_EQ(refused.status, 22);
    EXPECT_EQ(LastLine(refused.err),
              "error: The product did not take the certificate: it keeps its former one.");
}

TEST_F(CliTest, CertShowPrintsTheBoardsCertificateOrWhyThereIsNone) {
    const PrivateKey key = testing::NewRsaKey(2048);
    const Certificate certificate =
        testing::NewCertificate(key, {{"C", "KR"}, {"CN", "shown"}}, 1893456000);
    const std::optional<RsaPrimes> primes = key.Primes();
    testing::RecordingMessenger ui;
    const std::optional<Bytes> block =
        PackCertificateBlock(primes->p.get(), primes->q.get(), certificate.Der(), {}, ui.messenger);
    ASSERT_TRUE(block.has_value());
    const auto holding = [&](VirtualBoardAccess& access) {
        access.board().SetCertificates(*block);
    };

    const CliResult none = Cli({"cert", "show"});
    EXPECT_EQ(none.status, 21);
    EXPECT_EQ(LastLine(none.err), "error: There is no certificate in the product.");
    Bytes damaged = *block;
    damaged[16 + 264 + 10] ^= 1;  // inside the certificate record: its CRC fails
    const CliResult broken = Cli({"cert", "show"}, [&](VirtualBoardAccess& access) {
        access.board().SetCertificates(damaged);
    });
    EXPECT_EQ(broken.status, 21);
    EXPECT_EQ(LastLine(broken.err), "error: A certificate error has occurred.");

    const CliResult report = Cli({"cert", "show"}, holding);
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_TRUE(report.out.starts_with("Issuer :\n")) << report.out;
    EXPECT_NE(report.out.find("subject: CN=shown,C=KR"), std::string::npos);
    const CliResult pem = Cli({"cert", "show", "--pem"}, holding);
    EXPECT_EQ(pem.out, certificate.Pem()) << "standard output holds the PEM file alone";
    const CliResult json = Cli({"--json", "cert", "show"}, holding);
    const std::string last = json.out.substr(json.out.rfind("{\"", json.out.size() - 2));
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(last)).object();
    EXPECT_EQ(result["key_bits"].toInt(), 2048);
    EXPECT_EQ(result["subject"].toString(), "CN=shown,C=KR");
}

TEST_F(CliTest, InfoAndNetinfoSayWhatFailedWithTheirMessages) {
    struct Case {
        std::vector<std::string> arguments;
        std::function<void(VirtualBoardAccess&)> prepare;
        int status;
        std::string error;
    };
    const Case cases[] = {
        {{"netinfo"},
         [](VirtualBoardAccess& a) { a.board().faults().refusedQueries = {"net1 rssi"}; },
         1,
         "error: Has failed to get network information."},
        {{"netinfo"},
         [](VirtualBoardAccess& a) { a.board().faults().silentQueries = {"net0 ndc 0"}; },
         6,
         "error: The product did not answer \"pid net0 ioctl get ndc 0\" in time."},
        {{"info"},
         [](VirtualBoardAccess& a) { a.board().faults().ignoredCommands = {"get sys uptime"}; },
         6,
         "error: The product did not answer \"get sys uptime\" in time."},
    };
    for (const auto& c : cases) {
        const CliResult run = Cli(c.arguments, c.prepare);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(LastLine(run.err), c.error);
    }
    const CliResult info = Cli({"--json", "info"});
    const std::string last = info.out.substr(info.out.rfind("{\"", info.out.size() - 2));
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(last)).object();
    EXPECT_EQ(result["size_kib"].toInt(), 104);
    EXPECT_EQ(result["version"].toArray(), (QJsonArray{2, 1, 5}));
}

// Every status of the table, as a script meets it: the command and the board's state or fault
// that ends with it.
TEST_F(CliTest, EveryExitStatusOfTheTableIsReachedAsDocumented) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 2}));
    const std::string otherProduct =
        Package(samples::MakeKofsImage({.sizeKib = 2, .productId = 9}), "other.qvk");
    const std::string firmware = Package(samples::MakeFirmwareImage({}), "firmware.qvk");
    const PrivateKey key = testing::NewRsaKey(2048);
    const std::string plainCertificate =
        folder
            .Write("plain.crt", AsBytes(testing::PemOf(
                                    testing::NewCertificate(key, {{"CN", "plain"}}, 1893456000))))
            .string();
    const std::string identity =
        folder
            .Write("identity.pem",
                   AsBytes(testing::PemOf(testing::NewCertificate(key, {{"CN", "i"}}, 1893456000)) +
                           testing::PemOf(key)))
            .string();
    using Prepare = std::function<void(VirtualBoardAccess&)>;
    const auto faults = [](std::function<void(sim::BoardFaults&)> set) -> Prepare {
        return [set](VirtualBoardAccess& access) { set(access.board().faults()); };
    };
    const auto config = [](std::function<void(sim::BoardConfig&)> set) -> Prepare {
        return [set](VirtualBoardAccess& access) { set(access.board().config()); };
    };
    struct Case {
        int status;
        std::vector<std::string> arguments;
        Prepare prepare;
        bool noPorts = false;
    };
    const Case cases[] = {
        {0, {"identify"}, {}},
        {1, {"netinfo"}, faults([](auto& f) { f.refusedQueries = {"net0 ipaddr6 1"}; })},
        {2, {"identify", "--nosuch"}, {}},
        {3, {"upload", "nosuch.qvk"}, {}},
        {4, {"identify"}, {}, true},
        {5, {"identify"}, [](VirtualBoardAccess& access) { access.port().Unplug(); }},
        {6, {"identify"}, faults([](auto& f) { f.silent = true; })},
        {7, {"identify"}, config([](auto& c) { c.pdbLine.reset(); })},
        {8, {"identify"}, config([](auto& c) { c.pdbLine = "0101"; })},
        {9,
         {"identify"},
         [](VirtualBoardAccess& access) { access.board().SetPassword("a secret"); }},
        {10, {"upload", image}, config([](auto& c) { c.ispMode = true; })},
        {11, {"upload", image}, faults([](auto& f) { f.unplugAfterTextBytes = 1000; })},
        {12, {"upload", otherProduct}, {}},
        {13, {"upload", image}, faults([](auto& f) { f.ignoredCommands = {"erase kofs"}; })},
        {14, {"upload", image}, faults([](auto& f) { f.wrongHash = true; })},
        {15, {"upload", image}, faults([](auto& f) { f.noHashCommand = true; })},
        {16,
         {"upload", image},
         [](VirtualBoardAccess& access) {
             // The port takes no more once the image's text begins.
             access.port().SetWriteTap([&access](ByteView bytes) {
                 if (AsText(bytes).starts_with("recv kofs")) {
                     access.port().StallWrites(1000);
                 }
             });
         }},
        {17, {"firmware", firmware}, faults([](auto& f) { f.ispRefused = true; })},
        {18, {"settings", "set", "ipv4.address=300.1.1.1"}, {}},
        {19, {"settings", "set", "wlan.ssid=changed"}, faults([](auto& f) {
             f.settingsReplaced = true;
         })},
        {20, {"cert", "import", plainCertificate, "--yes"}, {}},
        {21, {"cert", "show"}, faults([](auto& f) { f.noCertificates = true; })},
        {22, {"cert", "import", identity, "--yes"}, faults([](auto& f) {
             f.certificatesRefused = true;
         })},
        {23, {"info"}, faults([](auto& f) {
             f.lineFault = sim::LineFault{"get id fib mac", 0, 0, sim::LineFault::Kind::Garble};
         })},
        {130, {"upload", image}, [](VirtualBoardAccess& access) { access.InterruptAfter(30); }},
    };
    std::set<int> reached;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        const auto saved = ports;
        if (c.noPorts) {
            ports.clear();
        }
        const CliResult run = Cli(c.arguments, c.prepare);
        ports = saved;
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status != 0) {
            EXPECT_TRUE(LastLine(run.err).starts_with("error: ")) << run.err;
        }
        reached.insert(run.status);
    }
    for (const cli::ExitStatusEntry& entry : cli::ExitStatusTable()) {
        EXPECT_TRUE(reached.contains(entry.status)) << entry.status << " is never reached";
    }
}

TEST_F(CliTest, HelpIsInTheLanguageAskedForOrTheLocalesAndCommandsPointToTheStatusTable) {
    struct Case {
        Language locale;
        std::vector<std::string> arguments;
        std::vector<std::string> holds;
        std::vector<std::string> lacks;
    };
    const Case cases[] = {
        {Language::English, {"--help"}, {"Exit status:", "130  interrupted", "--password-env"}, {}},
        {Language::English,
         {"upload", "--help"},
         {"--skip-unchanged", "see the table in varnow-cli --help"},
         {"130  interrupted"}},
        {Language::English,
         {"--lang", "ko", "upload", "--help"},
         {"사용법", "패키지(.qvk)", "옵션:"},
         {}},
        {Language::Korean, {"--help"}, {"종료 상태:", "130  중단됨"}, {"Exit status:"}},
        {Language::Korean, {"--lang=en", "--help"}, {"Exit status:"}, {"종료 상태:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back() + " " + c.arguments.front());
        systemLanguage = c.locale;
        const CliResult run = Cli(c.arguments);
        EXPECT_EQ(run.status, 0);
        for (const std::string& text : c.holds) {
            EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
        }
        for (const std::string& text : c.lacks) {
            EXPECT_EQ(run.out.find(text), std::string::npos) << text;
        }
    }
    systemLanguage = Language::Korean;
    const CliResult mistake = Cli({"upload", "a.qvk", "b.qvk"});
    EXPECT_EQ(mistake.status, 2);
    EXPECT_TRUE(LastLine(mistake.err).starts_with("error: 명령줄이 잘못되었습니다")) << mistake.err;
}

TEST(ProgressLineTest, FitsTheTerminalAtEveryWidthAndDropsPartsRatherThanWrap) {
    const cli::ProgressLine line{"Updating files.", "sending", 3000, 4202, 3072};
    struct Case {
        int columns;
        std::vector<std::string> shown;
        std::vector<std::string> dropped;
    };
    const Case cases[] = {
        {200, {"[", "71%", "2.1/3.0 KiB", "KiB/s", "left", "Updating files."}, {}},
        {80, {"[", "71%", "2.1/3.0 KiB", "KiB/s", "left", "Updating files."}, {}},
        {40, {"71%", "2.1/3.0 KiB"}, {"[", "KiB/s", "left"}},
        {12, {"71%"}, {"[", "KiB"}},
    };
    for (const auto& c : cases) {
        const std::string rendered = cli::RenderProgressLine(line, c.columns, 2.0, 0);
        SCOPED_TRACE(rendered);
        EXPECT_LE(rendered.size(), static_cast<std::size_t>(c.columns - 1));
        for (const std::string& part : c.shown) {
            EXPECT_NE(rendered.find(part), std::string::npos) << part << " at " << c.columns;
        }
        for (const std::string& part : c.dropped) {
            EXPECT_EQ(rendered.find(part), std::string::npos) << part << " at " << c.columns;
        }
    }
    const cli::ProgressLine spinner{std::string(300, 'x'), "connecting"};
    EXPECT_EQ(cli::RenderProgressLine(spinner, 40, 0, 1).size(), 39u);
}

TEST(ExitStatusTableTest, TheReadmeListsTheStatusesTheCommandsExitWith) {
    std::ifstream readme(VARNOW_README);
    ASSERT_TRUE(readme.good());
    std::string rows;
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        inTable = inTable ? line.starts_with("|") : line == "| Exit status | Meaning |";
        if (inTable && !line.starts_with("| Exit status") && !line.starts_with("| ---")) {
            rows += line + "\n";
        }
    }
    std::string expected;
    for (const cli::ExitStatusEntry& entry : cli::ExitStatusTable()) {
        expected += "| " + std::to_string(entry.status) + " | " + entry.meaning + " |\n";
    }
    EXPECT_EQ(rows, expected);
}

// The port list tells a USB port's identity, and --port names a port by it.
TEST_F(CliTest, PortsTellsAUsbPortsIdentityAndPortNamesAPortByIt) {
    PortInfo usb{VirtualBoardAccess::kPort, "Varno board", false, "ttyACM7"};
    usb.vendorId = 0x0483;
    usb.productId = 0x5740;
    usb.usbSerial = "3871365A3334";
    usb.physicalPath = "pci-0000:00:14.0-usb-0:2:1.0";
    ports = {usb};
    const CliResult listed = Cli({"--json", "ports"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::string row = listed.out.substr(0, listed.out.find('\n'));
    for (const char* field :
         {R"("usb_id":"0483:5740")", R"("usb_serial":"3871365A3334")",
          R"("usb_path":"pci-0000:00:14.0-usb-0:2:1.0")", R"("event":"port")"}) {
        EXPECT_NE(row.find(field), std::string::npos) << field << " in " << row;
    }
    struct Case {
        std::string port;
        int status;
    };
    const Case cases[] = {
        {"usb:3871365A3334", 0},
        {"usb-path:pci-0000:00:14.0-usb-0:2:1.0", 0},
        {"usb:0000", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        const CliResult run = Cli({"--port", c.port, "identify"});
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status != 0) {
            EXPECT_EQ(LastLine(run.err),
                      "error: No board port matches " + c.port + ": see varnow-cli ports.");
        }
    }
}

}  // namespace
}  // namespace varnow
