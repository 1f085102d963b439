// Certificates and keys: making them, reading them from files, reporting them.
#include <gtest/gtest.h>

#include <optional>

#include "certs/BoardCertificate.h"
#include "certs/CertificateImport.h"
#include "certs/CertificateReport.h"
#include "certs/RsaKeyMaker.h"
#include "certs/SelfSignedCertificate.h"
#include "support/TempFolder.h"
#include "support/TestCertificates.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using namespace testing;

constexpr std::time_t kIn2030 = 1893456000;  // 2030-01-01
constexpr std::time_t kIn2051 = 2556144000;  // 2051-01-01: GeneralizedTime

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Answers an import's questions from a script and counts them.
class ScriptedQuestions : public ImportQuestions {
public:
    std::optional<std::string> password;
    bool confirm = true;
    std::optional<std::filesystem::path> keyFile;
    int passwordsAsked = 0;
    int confirmsAsked = 0;
    int keyFilesAsked = 0;

    std::optional<std::string> AskPassword() override {
        ++passwordsAsked;
        return password;
    }
    bool ConfirmCertificate(const Certificate&) override {
        ++confirmsAsked;
        return confirm;
    }
    std::optional<std::filesystem::path> ChooseKeyFile() override {
        ++keyFilesAsked;
        return keyFile;
    }
};

// One RSA key and one EC key for all the tests: making keys is the slow part.
class CertificateFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_rsa.emplace(NewRsaKey(2048));
        s_ec.emplace(NewEcKey());
    }
    static void TearDownTestSuite() {
        s_rsa.reset();
        s_ec.reset();
    }
    const PrivateKey& rsa() const { return *s_rsa; }
    Certificate RsaCertificate() const {
        return NewCertificate(rsa(), {{"C", "KR"}, {"O", "Tester"}, {"CN", "10.0.0.7"}}, kIn2030);
    }

    TempFolder folder;
    static inline std::optional<PrivateKey> s_rsa;
    static inline std::optional<PrivateKey> s_ec;
};

TEST_F(CertificateFilesTest, EveryImportPathEndsAsTheBoardExpects) {
    const Certificate certificate = RsaCertificate();
    const Certificate ecCertificate = NewCertificate(*s_ec, {{"CN", "ec"}}, kIn2030);
    const auto der = folder.Write("cert.der", DerOf(certificate));
    const auto keyDer = folder.Write("key.der", DerOf(rsa()));
    const auto keyPem = folder.Write("key.pem", Text(PemOf(rsa())));
    const auto pemWithKey = folder.Write("both.pem", Text(PemOf(certificate) + PemOf(rsa())));
    const auto encrypted =
        folder.Write("encrypted.pem", Text(PemOf(certificate, "pw") + PemOf(rsa(), "pw")));
    const auto p12 = folder.Write("id.p12", Pkcs12Of(&rsa(), &certificate, "pw"));
    const auto p12NoKey = folder.Write("cert.p12", Pkcs12Of(nullptr, &certificate, "pw"));
    const auto p12NoCert = folder.Write("key.p12", Pkcs12Of(&rsa(), nullptr, "pw"));
    const auto text = folder.Write("notes.txt", Text("not a certificate\n"));
    const auto ecPem = folder.Write("ec.pem", Text(PemOf(ecCertificate) + PemOf(*s_ec)));
    const auto garbageKey = folder.Write("garbage.key", Text("no key here"));

    struct Case {
        const char* name;
        std::filesystem::path file;
        std::optional<std::string> password;
        std::optional<std::filesystem::path> keyFile;
        ImportOutcome outcome;
        int passwords;
        int keyFiles;
    };
    const Case cases[] = {
        {"PEM with its key", pemWithKey, {}, {}, ImportOutcome::Ready, 0, 0},
        {"DER, then a DER key file", der, {}, keyDer, ImportOutcome::Ready, 0, 1},
        {"DER, then a PEM key file", der, {}, keyPem, ImportOutcome::Ready, 0, 1},
        {"DER, key file cancelled", der, {}, std::nullopt, ImportOutcome::Cancelled, 0, 1},
        {"DER, a key file without a key", der, {}, garbageKey, ImportOutcome::KeyUnreadable, 0, 1},
        {"encrypted PEM: asked for the certificate and the key",
         encrypted,
         "pw",
         {},
         ImportOutcome::Ready,
         2,
         0},
        {"PKCS#12 with its password", p12, "pw", {}, ImportOutcome::Ready, 1, 0},
        {"PKCS#12 with a wrong password", p12, "wrong", {}, ImportOutcome::FilePasswordWrong, 1, 0},
        {"encrypted PEM with a wrong password",
         encrypted,
         "wrong",
         {},
         ImportOutcome::FilePasswordWrong,
         1,
         0},
        {"a PEM certificate, its encrypted key with a wrong password",
         folder.Write("key-wrong.pem", Text(PemOf(certificate) + PemOf(rsa(), "pw"))),
         "wrong",
         {},
         ImportOutcome::KeyPasswordWrong,
         1,
         0},
        {"PKCS#12 without a key", p12NoKey, "pw", {}, ImportOutcome::NoKeyInPkcs12, 1, 0},
        {"PKCS#12 without a certificate",
         p12NoCert,
         "pw",
         {},
         ImportOutcome::NoCertificateInPkcs12,
         1,
         0},
        {"a text file: no password is asked",
         text,
         "pw",
         {},
         ImportOutcome::NotCertificateFile,
         0,
         0},
        {"an EC key", ecPem, {}, {}, ImportOutcome::KeyNotRsa, 0, 0},
        {"no such file",
         folder.path() / "missing.pem",
         {},
         {},
         ImportOutcome::FileUnreadable,
         0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedQuestions questions;
        questions.password = c.password;
        questions.keyFile = c.keyFile;
        const ImportResult result = ImportCertificateFile(c.file, questions);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(questions.passwordsAsked, c.passwords);
        EXPECT_EQ(questions.keyFilesAsked, c.keyFiles);
        EXPECT_EQ(result.identity.has_value(), c.outcome == ImportOutcome::Ready);
        if (result.identity) {
            EXPECT_EQ(DerOf(result.identity->certificate), DerOf(certificate));
            EXPECT_TRUE(result.identity->key.IsRsa());
        }
    }
}

TEST_F(CertificateFilesTest, TheMessagesOfAnImportAreTheBoardToolsOwn) {
    const std::pair<ImportOutcome, int> cases[] = {
        {ImportOutcome::FileUnreadable, 134}, {ImportOutcome::NotACertificate, 133},
        {ImportOutcome::NoKeyInPkcs12, 135},  {ImportOutcome::NoCertificateInPkcs12, 136},
        {ImportOutcome::KeyUnreadable, 137},  {ImportOutcome::KeyNotRsa, kMsgKeyNotRsa},
        {ImportOutcome::Cancelled, 0},
    };
    for (const auto& [outcome, message] : cases) {
        EXPECT_EQ(ImportMessageId(outcome), message);
    }
}

TEST_F(CertificateFilesTest, DecliningTheCertificateEndsTheImportBeforeTheKeyIsLookedFor) {
    const Certificate certificate = RsaCertificate();
    ScriptedQuestions questions;
    questions.confirm = false;
    const auto der = folder.Write("cert.der", DerOf(certificate));
    EXPECT_EQ(ImportCertificateFile(der, questions).outcome, ImportOutcome::Cancelled);
    EXPECT_EQ(questions.confirmsAsked, 1);
    EXPECT_EQ(questions.keyFilesAsked, 0);
}

TEST_F(CertificateFilesTest, OlderPkcs12FilesWithRc2AndTripleDesStillImport) {
    if (!LegacyCiphersAvailable()) {
        GTEST_SKIP() << "this system's library has no legacy provider";
    }
    const Certificate certificate = RsaCertificate();
    const auto p12 = folder.Write("old.p12", Pkcs12Of(&rsa(), &certificate, "pw", true));
    ScriptedQuestions questions;
    questions.password = "pw";
    EXPECT_EQ(ImportCertificateFile(p12, questions).outcome, ImportOutcome::Ready);
}

TEST_F(CertificateFilesTest, TheReportNamesTheCountryAndTakesBothTimeForms) {
    struct Case {
        const char* name;
        std::vector<NameEntry> entries;
        std::time_t notAfter;
        const char* begins;
        const char* holds;
    };
    const Case cases[] = {
        {"a known country",
         {{"C", "KR"}, {"CN", "board"}},
         kIn2030,
         "Issuer :\r\n",
         "= KR - Korea, Republic of\r\n"},
        {"an unknown country",
         {{"C", "ZZ"}, {"CN", "board"}},
         kIn2030,
         "Issuer :\r\n",
         "= ZZ - Unknown"},
        {"no country: no issuer or subject section",
         {{"CN", "board"}},
         kIn2030,
         "Validity\r\n",
         "Subject Public Key Info :\r\n    Public Key Algorithm: rsaEncryption"},
        {"a Korean organisation, as written",
         {{"C", "KR"}, {"O", "\xED\x83\x80\xEB\xB9\x84\xEC\x8A\xA4"}, {"CN", "board"}},
         kIn2030,
         "Issuer :\r\n",
         "organizationName          = \xED\x83\x80\xEB\xB9\x84\xEC\x8A\xA4\r\n"},
        {"a GeneralizedTime validity",
         {{"CN", "board"}},
         kIn2051,
         "Validity\r\n",
         "    Not After  : Jan  1 00:00:00 2051 GMT\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string report = CertificateReport(NewCertificate(rsa(), c.entries, c.notAfter));
        EXPECT_TRUE(report.starts_with(c.begins)) << report;
        EXPECT_NE(report.find(c.holds), std::string::npos) << report;
        EXPECT_EQ(report.find("\n"), report.find("\r\n") + 1) << "lines end with CR LF";
    }
}

TEST(CertificateReportTest, TheCountryNameGoesRightAfterTheFirstCode) {
    EXPECT_EQ(WithCountryName("    countryName               = KR\n    commonName = x"),
              "    countryName               = KR - Korea, Republic of\n    commonName = x");
    EXPECT_EQ(WithCountryName("    commonName = x"), "    commonName = x");
}

TEST(SelfSignedCertificateTest, TheDefaultSubjectMakesTheCertificateTheBoardExpects) {
    const std::optional<PrivateKey> key = GenerateRsaKey(1024);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->Bits(), 1024);
    const std::time_t now = 1765000000;
    const std::optional<Certificate> certificate =
        MakeSelfSignedCertificate(*key, DefaultSubject("192.168.0.100"), now);
    ASSERT_TRUE(certificate.has_value());
    const CertificateSummary summary = SummariseCertificate(*certificate);
    EXPECT_EQ(summary.subject,
              "emailAddress=support@tarvixsystems.example,CN=192.168.0.100,OU=Research Team,"
              "O=TARVIX SYSTEMS,L=Guro-gu,ST=Seoul,C=KR");
    EXPECT_EQ(summary.issuer, summary.subject);
    EXPECT_EQ(summary.serial, "0");
    EXPECT_EQ(summary.notBefore, "2025-12-06T05:46:40Z");
    EXPECT_EQ(summary.notAfter, "2026-12-06T05:46:40Z") << "365 days";
    EXPECT_EQ(summary.keyBits, 1024);
    EXPECT_NE(CertificateReport(*certificate).find("Exponent: 65537"), std::string::npos);
    const std::optional<RsaPrimes> primes = key->Primes();
    ASSERT_TRUE(primes.has_value());
    EXPECT_EQ(primes->p.get().size(), 64u);

    CertificateSubject noUnit = DefaultSubject("192.168.0.100");
    noUnit.unit.clear();
    const auto withoutUnit = MakeSelfSignedCertificate(*key, noUnit, now);
    ASSERT_TRUE(withoutUnit.has_value());
    EXPECT_EQ(SummariseCertificate(*withoutUnit).subject.find("OU="), std::string::npos);
}

TEST(SelfSignedCertificateTest, A2048BitKeyHasPrimesOf128Bytes) {
    const std::optional<PrivateKey> key = GenerateRsaKey(2048);
    ASSERT_TRUE(key.has_value());
    const std::optional<RsaPrimes> primes = key->Primes();
    ASSERT_TRUE(primes.has_value());
    EXPECT_EQ(primes->p.get().size(), 128u);
    EXPECT_EQ(primes->q.get().size(), 128u);
}

TEST(SelfSignedCertificateTest, FieldsTooLongForTheirAttributeAreRefusedNotDropped) {
    struct Case {
        const char* name;
        void (*edit)(CertificateSubject&);
        std::optional<SubjectProblem::Field> field;
        std::size_t most;
    };
    const Case cases[] = {
        {"the defaults", [](CertificateSubject&) {}, std::nullopt, 0},
        {"empty fields mean no entry",
         [](CertificateSubject& s) { s.unit.clear(), s.email.clear(); }, std::nullopt, 0},
        {"a common name of 64 characters",
         [](CertificateSubject& s) { s.commonName.assign(64, 'c'); }, std::nullopt, 0},
        {"a common name of 65 characters",
         [](CertificateSubject& s) { s.commonName.assign(65, 'c'); }, SubjectProblem::CommonName,
         64},
        {"a country of three letters", [](CertificateSubject& s) { s.country = "KOR"; },
         SubjectProblem::Country, 2},
        {"a locality of 1024 bytes", [](CertificateSubject& s) { s.locality.assign(1024, 'l'); },
         SubjectProblem::Locality, 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CertificateSubject subject = DefaultSubject("10.0.0.1");
        c.edit(subject);
        const std::optional<SubjectProblem> problem = CheckSubject(subject);
        ASSERT_EQ(problem.has_value(), c.field.has_value());
        if (problem) {
            EXPECT_EQ(problem->field, *c.field);
            EXPECT_EQ(problem->mostCharacters, c.most);
        }
    }
}

TEST(BoardCertificateTest, TheBoardsCertificateOrWhyThereIsNone) {
    CertificateRecordStore none;
    EXPECT_EQ(FindBoardCertificate(none).messageId, kMsgNoCertificateInProduct);
    CertificateRecordStore wrongHeader{Bytes(64, 0), -1};
    EXPECT_EQ(FindBoardCertificate(wrongHeader).messageId, kMsgNoCertificateInProduct)
        << "a block with a wrong header CRC has no certificate, not a damaged one";
    CertificateRecordStore damaged{Bytes{0x0B, 0x02, 0x40, 0x00, 1, 2}, 6};
    EXPECT_EQ(FindBoardCertificate(damaged).messageId, kMsgCertificateError);
}

}  // namespace
}  // namespace varnow
