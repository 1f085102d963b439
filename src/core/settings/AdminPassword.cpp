#include "settings/AdminPassword.h"

#include <algorithm>

#include "common/BoardText.h"
#include "common/Cleanse.h"
#include "crypto/Crc16.h"
#include "crypto/Pbkdf2.h"
#include "settings/AddressText.h"

namespace varnow {

namespace {
constexpr std::size_t kMinimumSaltBytes = 20;
constexpr std::size_t kMaxPasswordBytes = 32;
}  // namespace

Bytes AdminKeySalt(std::string_view mcuIdLine) {
    Bytes salt = HexPairsToBytes(mcuIdLine);
    if (salt.size() < kMinimumSaltBytes) {
        salt.resize(kMinimumSaltBytes, 0);
    }
    return salt;
}

AdminKey DeriveAdminKey(std::string_view password, ByteView salt) {
    ByteView secret = AsBytes(password);
    secret = UpToFirstNul(secret.first(std::min(secret.size(), kMaxPasswordBytes)));
    Bytes derived = Pbkdf2HmacSha1(secret, salt, 4096, 32);
    AdminKey key{};
    std::copy(derived.begin(), derived.end(), key.begin());
    Cleanse(derived.data(), derived.size());
    return key;
}

PasswordRecord MakeSetPasswordRecord(const AdminKey& key) {
    PasswordRecord record{};
    record[0] = 1;
    WriteLe16(record, 2, Crc16(key));
    std::copy(key.begin(), key.end(), record.begin() + 4);
    WriteLe16(record, 36, Crc16(ByteView(record).first(36)));
    return record;
}

PasswordRecord MakeDeletePasswordRecord() {
    PasswordRecord record{};
    WriteLe16(record, 36, Crc16(ByteView(record).first(36)));
    return record;
}

std::string PasswordCommand(const PasswordRecord& record) {
    return "reboot psk 10 " + ToLowerHex(record) + "\r";
}

LoginChallenge ParseChallenge(std::string_view challengeLine) {
    const std::size_t space = challengeLine.find(' ');
    const std::string_view text =
        (space == std::string_view::npos) ? challengeLine : challengeLine.substr(space + 1);
    LoginChallenge challenge{};
    HexTextToBytes(text, challenge);
    return challenge;
}

Sha1Digest LoginDigest(const LoginChallenge& challenge, const AdminKey& key) {
    Sha1 sha;
    sha.Update(challenge);
    sha.Update(key);
    return sha.Final();
}

std::string AuthHashCommand(const Sha1Digest& digest) {
    return "auth hash " + ToLowerHex(digest) + "\r";
}

}  // namespace varnow
