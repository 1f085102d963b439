#pragma once

#include "ops/CertificateOperations.h"
#include "ops/InfoOperations.h"
#include "ops/PasswordOperation.h"
#include "ops/RebootOperation.h"
#include "ops/SettingsOperations.h"

namespace varnow {

// How an operation ended, as one word for scripts and logs ("written", "timed-out", ...).
const char* OutcomeName(SettingsOutcome outcome);
const char* OutcomeName(SettingsReadOutcome outcome);
const char* OutcomeName(PasswordOutcome outcome);
const char* OutcomeName(RestartOutcome outcome);
const char* OutcomeName(IdentityOutcome outcome);
const char* OutcomeName(CertificateReadOutcome outcome);
const char* OutcomeName(ProductInfoOutcome outcome);
const char* OutcomeName(NetworkInfoOutcome outcome);
// What the board holds after a write of settings.
const char* HeldName(SettingsHeld held);

}  // namespace varnow
