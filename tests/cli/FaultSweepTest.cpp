// Every write command of varnow-cli against a board whose replies go wrong one line at a time:
// each reply line of each command after the connect is dropped, garbled or delayed past its
// time-out, and the board's port goes away at each command. Whatever happens, the board holds
// either what it held or exactly what was asked, never a mix; the exit status and the one
// "error:" line tell which; and the board's administrator key is always one whose password its
// user knows.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "CertificateImage.h"
#include "EnvironmentImage.h"
#include "SamplePackages.h"
#include "certs/BoardCertificate.h"
#include "certs/CertificateBlock.h"
#include "certs/CertificateReport.h"
#include "cli/CliRunner.h"
#include "settings/SettingsBackup.h"
#include "support/TestCertificates.h"

namespace varnow {
namespace {

using testing::CliRunner;
using testing::VirtualBoardAccess;

// What a board holds of the part a command writes.
using State = Bytes;

struct Scenario {
    std::string name;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> variables;
    std::function<void(sim::SimBoard&)> prepare;  // the board as it starts
    std::function<State(sim::SimBoard&)> state;
    // Whether a state is the new one, when it cannot be known in advance (a new key).
    std::function<bool(const State& old, const State& now)> isNew;
    // Only the replies to these commands go wrong (all after the connect when empty).
    std::vector<std::string> onlyCommands;
};

// How an error line says what the board may hold.
enum class Claim { NothingChanged, MayHold, Neither };

Claim ClaimOf(const std::string& error) {
    static const char* const kNothing[] = {
        "nothing was written",       "nothing was changed",  "nothing was sent",
        "its password is unchanged", "keeps its former one", "still holds its former",
        "still takes its former",    "it was not deleted",   "Nothing was written",
    };
    static const char* const kMayHold[] = {"may hold", "may take", "may have"};
    for (const char* phrase : kNothing) {
        if (error.find(phrase) != std::string::npos) {
            return Claim::NothingChanged;
        }
    }
    for (const char* phrase : kMayHold) {
        if (error.find(phrase) != std::string::npos) {
            return Claim::MayHold;
        }
    }
    return Claim::Neither;
}

class FaultSweepTest : public ::testing::Test, public CliRunner {
protected:
    struct Outcome {
        CliRunner::CliResult run;
        State state;
        std::vector<std::pair<std::string, int>> answers;
    };

    Outcome Sweep(const Scenario& scenario, const std::function<void(VirtualBoardAccess&)>& fault) {
        State state;
        std::vector<std::pair<std::string, int>> answers;
        const CliRunner::CliResult run = Cli(
            scenario.arguments,
            [&](VirtualBoardAccess& access) {
                scenario.prepare(access.board());
                if (fault) {
                    fault(access);
                }
                access.AtEnd([&](VirtualBoardAccess& ended) {
                    state = scenario.state(ended.board());
                    answers = ended.board().answers();
                });
            },
            scenario.variables);
        return {run, state, answers};
    }

    struct Answer {
        std::string command;
        int lines;
        int occurrence;  // the how-manieth answer to this command, the connect's included
    };

    // The answers of the command itself: those after the connect that opened the board.
    std::vector<Answer> CommandAnswers(const Scenario& scenario) {
        Scenario identify = scenario;
        identify.arguments = {"identify"};
        const std::size_t connect = Sweep(identify, {}).answers.size();
        const Outcome clean = Sweep(scenario, {});
        EXPECT_EQ(clean.run.status, 0) << scenario.name << ": " << clean.run.err;
        std::vector<Answer> answers;
        std::map<std::string, int> occurrences;
        for (std::size_t i = 0; i < clean.answers.size(); ++i) {
            const auto& [command, lines] = clean.answers[i];
            const int occurrence = occurrences[command]++;
            const bool chosen =
                scenario.onlyCommands.empty() ||
                std::any_of(scenario.onlyCommands.begin(), scenario.onlyCommands.end(),
                            [&](const std::string& c) { return command.starts_with(c); });
            if (i >= connect && chosen) {
                answers.push_back({command, lines, occurrence});
            }
        }
        return answers;
    }

    void Check(const Scenario& scenario, const State& old, const State& fresh,
               const Outcome& outcome, const std::string& what) {
        SCOPED_TRACE(scenario.name + ", " + what + ": " + outcome.run.err);
        const bool isOld = outcome.state == old;
        const bool isNew =
            scenario.isNew ? scenario.isNew(old, outcome.state) : outcome.state == fresh;
        EXPECT_TRUE(isOld || isNew) << "the board holds neither the old nor the new whole state";
        const std::string last = LastLine(outcome.run.err);
        if (outcome.run.status == 0) {
            EXPECT_TRUE(isNew) << "a success must leave what was asked";
            EXPECT_FALSE(last.starts_with("error:"));
            return;
        }
        ASSERT_TRUE(last.starts_with("error:")) << "one error line ends every failure";
        std::size_t errors = 0;
        for (std::size_t at = 0; (at = outcome.run.err.find("error:", at)) != std::string::npos;
             ++at) {
            ++errors;
        }
        EXPECT_EQ(errors, 1u) << "exactly one error line";
        switch (ClaimOf(last)) {
            case Claim::NothingChanged:
                EXPECT_TRUE(isOld) << "it says nothing changed, but the board holds the new";
                break;
            case Claim::MayHold:
                break;
            case Claim::Neither:
                EXPECT_TRUE(isOld && !isNew)
                    << "an error after a write must say what the board may hold";
                break;
        }
    }

    void SweepAll(const Scenario& scenario) {
        sim::SimBoard reference({}, m_loop);
        scenario.prepare(reference);
        const State old = scenario.state(reference);
        const Outcome clean = Sweep(scenario, {});
        ASSERT_EQ(clean.run.status, 0) << scenario.name << ": " << clean.run.err;
        const State fresh = clean.state;
        int runs = 0;
        for (const auto& [command, lines, occurrence] : CommandAnswers(scenario)) {
            const std::string step = command.substr(0, 24) + " #" + std::to_string(occurrence);
            for (int line = 0; line < lines; ++line) {
                using Kind = sim::LineFault::Kind;
                for (const Kind kind : {Kind::Drop, Kind::Garble, Kind::Delay}) {
                    const sim::LineFault fault{command, occurrence, line, kind, 5000};
                    const Outcome outcome = Sweep(scenario, [&](VirtualBoardAccess& access) {
                        access.board().faults().lineFault = fault;
                    });
                    Check(scenario, old, fresh, outcome,
                          step + " line " + std::to_string(line) + " kind " +
                              std::to_string(static_cast<int>(kind)));
                    ++runs;
                }
            }
            // The port goes when the command is written, and stays away.
            const Outcome gone = Sweep(scenario, [&](VirtualBoardAccess& access) {
                int seen = 0;
                access.port().SetWriteTap(
                    [&access, command, occurrence, seen](ByteView bytes) mutable {
                        if (AsText(bytes).starts_with(command) && seen++ == occurrence) {
                            access.loop().After(1, [&access] { access.port().Unplug(); });
                        }
                    });
            });
            Check(scenario, old, fresh, gone, step + " port gone");
            ++runs;
        }
        EXPECT_GT(runs, 0);
    }

    sim::VirtualEventLoop m_loop;
};

State Environment(sim::SimBoard& board) {
    return board.environment();
}

TEST_F(FaultSweepTest, SettingsSetLeavesTheOldOrTheNewBlock) {
    SweepAll({"settings set",
              {"settings", "set", "ipv4.address=10.9.8.7", "wlan.ssid=sweep"},
              {},
              [](sim::SimBoard&) {},
              Environment,
              {},
              {}});
}

TEST_F(FaultSweepTest, SettingsRestoreLeavesTheOldOrTheSavedBlock) {
    // A backup of this board's factory block, restored to the board after a change.
    sim::SimBoard saved({}, m_loop);
    const SettingsBackup backup{saved.config().mcuId, "/dev/ttyACM7", "2026-12-11T00:00:00.000Z",
                                sim::environment::FactoryBlock({.productName = "restored"})};
    const std::string file = folder.Write("board.envs", backup.Serialize()).string();
    SweepAll({"settings restore",
              {"settings", "restore", file},
              {},
              [](sim::SimBoard&) {},
              Environment,
              {},
              {}});
}

TEST_F(FaultSweepTest, PasswordSetLeavesAKeyWhosePasswordIsKnown) {
    SweepAll({"password set",
              {"password", "set"},
              {{"VARNOW_PASSWORD", "old secret 1"}, {"VARNOW_NEW_PASSWORD", "new secret 2"}},
              [](sim::SimBoard& board) { board.SetPassword("old secret 1"); },
              [](sim::SimBoard& board) { return board.adminKey().value_or(Bytes{}); },
              {},
              {}});
}

TEST_F(FaultSweepTest, CertImportLeavesTheOldOrTheNewBlockWithItsCarriedRecords) {
    const PrivateKey key = testing::NewRsaKey(2048);
    const Certificate certificate = testing::NewCertificate(key, {{"CN", "sweep"}}, 1893456000);
    const std::string file =
        folder.Write("identity.pem", AsBytes(testing::PemOf(certificate) + testing::PemOf(key)))
            .string();
    SweepAll(
        {"cert import",
         {"cert", "import", file, "--yes"},
         {},
         [](sim::SimBoard& board) { board.SetCertificates(sim::certificates::FactoryBlock()); },
         [](sim::SimBoard& board) { return board.certificates(); },
         {},
         {}});
}

TEST_F(FaultSweepTest, CertMakeLeavesTheOldOrANewBlockWithItsCarriedRecords) {
    // The new key is random: a new block is one that holds a certificate for "sweep" and
    // carries the old block's records.
    const auto isNew = [](const State& old, const State& now) {
        if (now == old || !CertificateBlockIsSound(now)) {
            return false;
        }
        const auto lookup = FindBoardCertificate(LoadCertificateRecords(now));
        const auto carried = [](const State& block) {
            Bytes records;
            for (std::size_t at = 16; at + 4 <= block.size(); at += ReadLe16(block, at + 2)) {
                if (block[at + 1] == kCarriedSubtypeA || block[at + 1] == kCarriedSubtypeB) {
                    records.insert(records.end(), block.begin() + static_cast<long>(at),
                                   block.begin() + static_cast<long>(at + ReadLe16(block, at + 2)));
                }
            }
            return records;
        };
        return lookup.certificate &&
               SummariseCertificate(*lookup.certificate).subject.find("CN=sweep") !=
                   std::string::npos &&
               carried(now) == carried(old);
    };
    SweepAll(
        {"cert make",
         {"cert", "make", "--cn", "sweep"},
         {},
         [](sim::SimBoard& board) { board.SetCertificates(sim::certificates::FactoryBlock()); },
         [](sim::SimBoard& board) { return board.certificates(); },
         isNew,
         {}});
}

TEST_F(FaultSweepTest, AnUploadsStoreStepNeverCallsAnUnconfirmedImageVerified) {
    const std::string image = Package(samples::MakeKofsImage({.sizeKib = 2, .name = "sweep"}));
    SweepAll({"upload",
              {"upload", image},
              {},
              [](sim::SimBoard&) {},
              [](sim::SimBoard& board) { return board.kofs(); },
              {},
              {"recv kofs", "get id kofs hash"}});
}

}  // namespace
}  // namespace varnow
