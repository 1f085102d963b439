// varnow-cli's board commands against a simulated board in virtual time: what they print and
// how they exit when the board misbehaves.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "IdentifyCommand.h"
#include "SamplePackages.h"
#include "UploadCommand.h"
#include "cli/VirtualBoardAccess.h"
#include "support/TempFolder.h"

namespace varnow {
namespace {

using testing::VirtualBoardAccess;

class CliCommandTest : public ::testing::Test {
protected:
    struct Run {
        int status;
        std::string out;
        std::string err;
        std::uint64_t virtualMs;
    };

    // Runs a command; `prepare` sets the board up before the command connects.
    Run Execute(cli::Subcommand& command, std::vector<std::string> arguments,
                const std::function<void(VirtualBoardAccess&)>& prepare = {}) {
        std::ostringstream out;
        std::ostringstream err;
        std::uint64_t virtualMs = 0;
        cli::CliOutput output(out, err, false, false);
        cli::CommandContext context{options, output, strings, std::move(arguments),
                                    [&]() -> std::unique_ptr<cli::BoardAccess> {
                                        auto access = std::make_unique<VirtualBoardAccess>(
                                            output, strings, options.password);
                                        access->board().config().latencyMs = 1;
                                        access->NoteEndIn(&virtualMs);
                                        if (prepare) {
                                            prepare(*access);
                                        }
                                        return access;
                                    }};
        const int status = command.Execute(context);
        return Run{status, out.str(), err.str(), virtualMs};
    }
    // The last line of standard error.
    static std::string LastLine(const std::string& text) {
        const std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
        return trimmed.substr(trimmed.find_last_of('\n') + 1);
    }
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

    cli::CliOptions options;
    StringTable strings = StringTable::BuiltIn();
    testing::TempFolder folder;
};

TEST_F(CliCommandTest, ABoardSilentAtAnyStepOfConnectingEndsWithItsStatusAndWhatDidNotAnswer) {
    struct Case {
        const char* command;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"\r", 6, "error: The product on /dev/ttyACM7 does not answer"},
        {"set esc", 6, "error: The product did not answer \"set esc 02\" in time."},
        {"set echo", 6, "error: The product did not answer \"set echo 0\" in time."},
        {"get id pdb", 6, "error: The product did not answer \"get id pdb\" in time."},
        {"get sys kofs", 6, "error: The product did not answer \"get sys kofs\" in time."},
        {"get state", 6, "error: The product did not answer \"get state 0\" in time."},
        {"get id kofs", 6, "error: The product did not answer \"get id kofs\" in time."},
        {"get id fib", 6, "error: The product did not answer \"get id fib\" in time."},
        {"get id mcu", 6, "error: The product did not answer \"get id mcu\" in time."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        cli::IdentifyCommand identify;
        const Run run = Execute(identify, {}, SilentFrom(c.command));
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << run.err;
        EXPECT_LE(run.virtualMs, 3200u) << "within the connect's time-outs";
    }
}

TEST_F(CliCommandTest, ABoardSilentAtAnyStepOfAnUploadEndsWithItsStatusAndWhatDidNotAnswer) {
    const std::string package =
        folder.Write("image.qvk", samples::MakeKofsImage({.sizeKib = 2})).string();
    struct Case {
        const char* command;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"send kofs head", 13, "error: The product did not answer \"send kofs head\" in time."},
        {"erase kofs", 13, "error: The product did not answer \"erase kofs\" in time."},
        {"recv kofs", 13, "error: The product did not answer \"recv kofs\" in time."},
        {"get id kofs hash", 15, "error: The product did not confirm the image it stored"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        cli::UploadCommand upload(false);
        const Run run = Execute(upload, {package}, SilentFrom(c.command));
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(LastLine(run.err).starts_with(c.error)) << run.err;
        EXPECT_LE(run.virtualMs, 10200u) << "within the upload's time-outs";
    }
}

TEST_F(CliCommandTest, AProtectedBoardWithoutAPasswordSaysHowToGiveOne) {
    cli::IdentifyCommand identify;
    const Run run = Execute(identify, {}, [](VirtualBoardAccess& access) {
        access.board().config().password = "open sesame";
    });
    EXPECT_EQ(run.status, 9);
    EXPECT_EQ(LastLine(run.err),
              "error: The product asks for its administrator password: give --password or set "
              "VARNOW_PASSWORD.");
}

TEST_F(CliCommandTest, ABoardWithoutAHashCommandLeavesTheImageUnverified) {
    const std::string package =
        folder.Write("image.qvk", samples::MakeKofsImage({.sizeKib = 1})).string();
    cli::UploadCommand upload(false);
    const Run run = Execute(upload, {package}, [](VirtualBoardAccess& access) {
        access.board().faults().noHashCommand = true;
    });
    EXPECT_EQ(run.status, 15);
    EXPECT_NE(run.out.find("upload: unverified"), std::string::npos);
    EXPECT_TRUE(LastLine(run.err).starts_with("error: The product did not confirm")) << run.err;
}

TEST_F(CliCommandTest, AVerifiedUploadPrintsItsHashAndNoError) {
    const Bytes image = samples::MakeKofsImage({.sizeKib = 1});
    const std::string package = folder.Write("image.qvk", image).string();
    cli::UploadCommand upload(false);
    const Run run = Execute(upload, {package});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("upload: verified"), std::string::npos);
    EXPECT_EQ(run.err.find("error:"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace varnow
