#include "settings/WpaPsk.h"

#include <algorithm>

#include "common/BoardText.h"
#include "crypto/Pbkdf2.h"

namespace varnow {

PreSharedKey DerivePsk(ByteView sharedKey, ByteView ssid) {
    const ByteView passphrase =
        UpToFirstNul(sharedKey.first(std::min<std::size_t>(sharedKey.size(), 63)));
    const ByteView salt = UpToFirstNul(ssid.first(std::min<std::size_t>(ssid.size(), 32)));
    const Bytes derived = Pbkdf2HmacSha1(passphrase, salt, 4096, 32);
    PreSharedKey key{};
    std::copy(derived.begin(), derived.end(), key.begin());
    return key;
}

}  // namespace varnow
