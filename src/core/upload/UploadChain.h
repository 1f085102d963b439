#pragma once

#include <string>

#include "common/Bytes.h"
#include "link/ReplyLine.h"
#include "package/LoadedPackage.h"
#include "package/PackageFormat.h"
#include "upload/UploadOutcome.h"

namespace varnow {

class Writer;

// Writes the KOFS image of the chosen package into the board: reads the board's image head
// and compares product IDs, erases the board's file system, sends the image as Base64 text in
// 4096-character blocks, checks the board's SHA-1 of what it stored and restarts its script.
// A package that carries firmware goes on to the firmware upgrade window.
class UploadChain {
public:
    explicit UploadChain(Writer& writer);

    void StartUpload(LoadedPackage& package);
    // "send kofs head" (state 48); also for the product information.
    void ReadImageHead();
    // "send tail" (state 31): the firmware's tail block, for the product information.
    void ReadTailBlock();
    void OnTimedOut(int state);

    UploadOutcome outcome() const { return m_outcome; }
    const Bytes& boardHead() const { return m_boardHead; }
    const std::string& imageHash() const { return m_imageHash; }
    const std::string& firmwareName() const { return m_firmwareName; }
    std::size_t uploadTextLength() const { return m_uploadText.size(); }
    // Wall-clock seconds the last image text took to write, for reports (never for decisions).
    double sendSeconds() const { return m_sendSeconds; }
    // Set by the product information before it reads the head.
    bool productInformation = false;

private:
    void OnHeadLine(const ReplyLine& line);
    bool PrepareUpload();
    void EraseImage();
    void OnEraseLine(const ReplyLine& line);
    bool SendImage();
    void OnSendLine(const ReplyLine& line);
    void OnHashLine(const ReplyLine& line);
    void OnTailLine(const ReplyLine& line);
    void Finish(UploadOutcome outcome);

    Writer& m_writer;
    LoadedPackage* m_package = nullptr;
    PackageKind m_kind = PackageKind::Incorrect;
    Bytes m_boardHead;
    std::string m_imageHash;
    std::string m_uploadText;
    std::string m_tailText;
    std::string m_firmwareName;
    bool m_hashDiffered = false;
    double m_sendSeconds = 0;
    UploadOutcome m_outcome = UploadOutcome::None;
};

}  // namespace varnow
