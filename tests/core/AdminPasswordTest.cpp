#include <gtest/gtest.h>

#include "crypto/Crc16.h"
#include "settings/AdminPassword.h"
#include "crypto/Pbkdf2.h"

namespace varnow {
namespace {

const std::string kMcuId = "0123456789abcdef0123456789ABCDEF01234567";  // 20 bytes

TEST(AdminPassword, SetCommandHasTheRecordInLowerCaseHex) {
    const AdminKey key = DeriveAdminKey("password1", AdminKeySalt(kMcuId));
    const std::string command = PasswordCommand(MakeSetPasswordRecord(key));
    ASSERT_EQ(command.size(), 91u);
    EXPECT_TRUE(command.starts_with("reboot psk 10 0100"));
    EXPECT_TRUE(command.ends_with("\r"));
    const std::string digits = command.substr(14, 76);
    EXPECT_EQ(digits.find_first_not_of("0123456789abcdef"), std::string::npos);

    const PasswordRecord record = MakeSetPasswordRecord(key);
    EXPECT_EQ(ReadLe16(record, 2), Crc16(key));
    EXPECT_EQ(Bytes(record.begin() + 4, record.begin() + 36), Bytes(key.begin(), key.end()));
    EXPECT_EQ(ReadLe16(record, 36), Crc16(ByteView(record).first(36)));
}

TEST(AdminPassword, DeleteRecordIsZerosAndTheirChecksum) {
    const PasswordRecord record = MakeDeletePasswordRecord();
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 36), Bytes(36, 0));
    EXPECT_EQ(ReadLe16(record, 36), Crc16(Bytes(36, 0)));
}

TEST(AdminPassword, KeyIsPbkdf2OfThePasswordSaltedWithTheMcuId) {
    const Bytes salt = AdminKeySalt(kMcuId);
    ASSERT_EQ(salt.size(), 20u);
    const Bytes expected = Pbkdf2HmacSha1(AsBytes("password1"), salt, 4096, 32);
    const AdminKey key = DeriveAdminKey("password1", salt);
    EXPECT_EQ(Bytes(key.begin(), key.end()), expected);
    // Only the first 32 bytes of a longer password count.
    EXPECT_EQ(DeriveAdminKey(std::string(32, 'p') + "extra", salt),
              DeriveAdminKey(std::string(32, 'p'), salt));
}

TEST(AdminPassword, ShortIdentitiesGetTheSameSaltForSettingAndLogin) {
    // A 12-byte identity is zero-padded to the 20 bytes the login has always used.
    const Bytes salt = AdminKeySalt("00112233445566778899aabb");
    EXPECT_EQ(salt.size(), 20u);
    EXPECT_EQ(Bytes(salt.begin() + 12, salt.end()), Bytes(8, 0));
    // A longer identity is used whole rather than overflowing or being cut.
    EXPECT_EQ(AdminKeySalt(std::string(48, 'a')).size(), 24u);
}

TEST(AdminPassword, ParsesTheChallengeLine) {
    const LoginChallenge expected{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                  0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    EXPECT_EQ(ParseChallenge("413 00112233445566778899aabbccddeeff"), expected);
    EXPECT_EQ(ParseChallenge("413 00112233445566778899AABBCCDDEEFF"), expected);
    EXPECT_EQ(ParseChallenge("00112233445566778899aabbccddeeff"), expected) << "no space";
    const LoginChallenge shortLine = ParseChallenge("413 0102");
    EXPECT_EQ(shortLine[0], 1);
    EXPECT_EQ(shortLine[1], 2);
    EXPECT_EQ(shortLine[2], 0);
}

TEST(AdminPassword, AnswersTheChallengeWithSha1OverChallengeAndKey) {
    const LoginChallenge challenge = ParseChallenge("413 00112233445566778899aabbccddeeff");
    const AdminKey key = DeriveAdminKey("password1", AdminKeySalt(kMcuId));
    Bytes message(challenge.begin(), challenge.end());
    message.insert(message.end(), key.begin(), key.end());
    EXPECT_EQ(LoginDigest(challenge, key), Sha1::Of(message));
    const std::string command = AuthHashCommand(LoginDigest(challenge, key));
    EXPECT_EQ(command.size(), 51u);
    EXPECT_EQ(command, "auth hash " + ToLowerHex(Sha1::Of(message)) + "\r");
}

}  // namespace
}  // namespace varnow
