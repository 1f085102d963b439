#pragma once

namespace varnow::cli {

// Exit statuses of varnow-cli; each failure class has its own, so scripts can tell them apart.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,        // anything not listed below
    kExitUsage = 2,          // bad command line
    kExitPackageRefused = 3, // package unreadable, not a package, or damaged
};

}  // namespace varnow::cli
