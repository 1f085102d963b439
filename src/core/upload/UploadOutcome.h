#pragma once

#include <filesystem>

#include "session/Outcome.h"

namespace varnow {

// How an upload ended.
enum class UploadOutcome {
    Verified,         // "410 OK" after a hash equal to the image's
    HashMismatch,     // the board's hash differed from the image's
    Unverified,       // the board did not tell the hash of what it stored ("501 ", or nothing)
    PackageRefused,   // unreadable, not a package, damaged, or too large
    ProductMismatch,  // the package is for another product
    IspMode,          // the board is in its boot loader
    NoBoard,          // the port is not open
    TimedOut,         // a step got no reply in time: message, operation ended
    Stalled,          // a step got no reply in time and the upload stopped without a word
    SendFailed,       // the image text could not be written
    BoardLost,        // the board's port vanished
    FirmwareOnly,     // a firmware package: nothing to upload
    Unchanged,        // the board already holds the image (its hash is the image's): not written
    DryRun,           // everything checked up to the first write, and nothing written
};

// How an upload goes about it.
struct UploadOptions {
    bool skipUnchanged = false;  // ask the board for the hash of what it holds first
    bool dryRun = false;         // stop before the first write
};

struct UploadResult : Outcome<UploadOutcome> {
    // A checked firmware image to write next: the package's own (firmware only) or the one
    // split off a combined package, which follows whatever became of its image.
    std::filesystem::path firmware;
    // The board's file system was erased: unless the outcome is a success, it now holds
    // nothing or a part of the image.
    bool erased = false;
};

const char* UploadOutcomeName(UploadOutcome outcome);

}  // namespace varnow
