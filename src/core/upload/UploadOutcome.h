#pragma once

namespace varnow {

// How the last upload ended; None while it runs (or before any).
enum class UploadOutcome {
    None,
    Verified,         // "410 OK" after a hash equal to the image's
    HashMismatch,     // the board's hash differed from the image's
    Unverified,       // the board has no hash command ("501 ")
    PackageRefused,   // unreadable, not a package, damaged, or too large
    ProductMismatch,  // the package is for another product
    IspMode,          // the board is in its boot loader
    NoBoard,          // the port is not open
    TimedOut,         // a step got no reply in time
    SendFailed,       // the image text could not be written
    FirmwareOnly,     // a firmware package: nothing to upload, the firmware window follows
};

const char* UploadOutcomeName(UploadOutcome outcome);

}  // namespace varnow
