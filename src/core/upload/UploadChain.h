#pragma once

#include <functional>
#include <string>
#include <utility>

#include "common/Bytes.h"
#include "package/LoadedPackage.h"
#include "package/PackageFormat.h"
#include "session/Chain.h"
#include "ui/Messenger.h"
#include "upload/ImageHeadRead.h"
#include "upload/UploadOutcome.h"

namespace varnow {

// Where an upload is; an interruption tells the user what the board may hold from it.
enum class UploadStage {
    Checking,   // nothing written yet
    Erasing,    // "erase kofs" sent: the file system may be gone
    Sending,    // the image's text is going out
    Storing,    // the board has it all ("412") and writes its flash
    Verifying,  // asked for the hash of what it stored
    Ended,
};

// Writes the KOFS image of the chosen package into the board: reads the board's image head
// and compares product IDs, erases the board's file system, sends the image as Base64 text in
// 4096-character blocks, checks the board's SHA-1 of what it stored and restarts its script.
// Ends with one outcome, which names the firmware to write next when the package has one.
class UploadChain : private Chain {
public:
    using Done = std::function<void(const UploadResult&)>;

    // The board's flash write, from "412" to "602", is waited on this long at most.
    static constexpr int kStoringLimitMs = 120000;

    UploadChain(BoardLink& link, Messenger& messenger);

    // `extractionFolder`: where the firmware of a combined package is split off.
    void Start(LoadedPackage& package, UploadOptions options,
               std::filesystem::path extractionFolder, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    UploadStage stage() const { return m_stage; }
    // The board's file system has been erased during the running upload.
    bool erased() const { return m_erased; }

    const std::string& imageHash() const { return m_imageHash; }
    // The image's name record, or else the package's file name.
    std::string imageName() const;
    std::size_t imageBytes() const { return m_imageBytes; }
    std::size_t uploadTextLength() const { return m_uploadText.size(); }
    // Wall-clock seconds the last image text took to write, for reports (never for decisions).
    double sendSeconds() const { return m_sendSeconds; }

private:
    void OnHeadRead(const Outcome<ReadOutcome>& outcome, const Bytes& head);
    bool PrepareUpload(const Bytes& boardHead);
    void ShowProgressAndErase();
    // The hash of the image the board holds, before anything is written.
    void AskForHeldHash();
    Reply OnHeldHashLine(const ReplyLine& line);
    void EraseImage();
    Reply OnEraseLine(const ReplyLine& line);
    bool SendImage();
    Reply OnSendLine(const ReplyLine& line);
    void OnSendTimeout();
    // The board has the whole text and writes its flash: the wait is shown with its seconds.
    void BeginStoring();
    void AskForHash();
    Reply OnHashLine(const ReplyLine& line);
    // The board stored the image but never said what it holds.
    void EndUnconfirmed(const std::string& command);
    // "set state 0 run": the board's script starts again; then the upload ends.
    void RestartScript(UploadOutcome outcome);
    void FailStep(int stringId, UploadOutcome outcome, const std::string& command);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(UploadOutcome outcome, std::string command = {});

    Messenger& m_messenger;
    ImageHeadRead m_headRead;
    Done m_done;
    UploadOptions m_options;
    std::string m_heldHash;
    LoadedPackage* m_package = nullptr;
    std::filesystem::path m_extractionFolder;
    PackageKind m_kind = PackageKind::Incorrect;
    std::string m_imageHash;
    std::size_t m_imageBytes = 0;
    std::string m_uploadText;
    UploadStage m_stage = UploadStage::Ended;
    bool m_progressShown = false;  // the upload got as far as its progress dialog
    bool m_sending = false;
    bool m_erased = false;
    bool m_hashDiffered = false;
    int m_storingSeconds = 0;
    double m_sendSeconds = 0;
};

}  // namespace varnow
