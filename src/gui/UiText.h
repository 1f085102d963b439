#pragma once

#include <QString>

#include "ui/StringTable.h"

namespace varnow::gui {

// The texts of the chosen language, as Qt strings.
class UiText {
public:
    UiText(const StringTable& strings, Language language)
        : m_strings(strings), m_language(language) {}
    QString operator()(int id) const {
        return QString::fromStdString(m_strings.Text(id, m_language));
    }
    const StringTable& strings() const { return m_strings; }
    Language language() const { return m_language; }

private:
    const StringTable& m_strings;
    Language m_language;
};

// Ids of the window texts in the string table.
enum UiTextId : int {
    kTextComPort = 300,
    kTextQvkFilePath = 301,
    kTextFileMenu = 302,
    kTextOpenQvk = 303,
    kTextFunctionMenu = 304,
    kTextProductInfo = 305,
    kTextNetworkInfo = 306,
    kTextLanguageMenu = 307,
    kTextKorean = 308,
    kTextEnglish = 309,
    kTextAbout = 310,
    kTextCaption = 311,
    kTextVersionLabel = 312,
    kTextAboutLine = 313,
    kTextQvkFilter = 314,
    kTextIdPassword = 315,
    kTextPassword = 316,
    kTextRetypePassword = 317,
    kTextDelete = 318,
    kTextUpgrade = 319,
    kTextSettings = 320,
    kTextKoManager = 321,
    kTextCertificate = 322,
    kTextWrite = 323,
    kTextClose = 324,
    kTextLocalIpAddress = 325,
    kTextSubnetMask = 326,
    kTextGatewayIpAddress = 327,
    kTextDnsIpAddress = 328,
    kTextUseStaticIp = 329,
    kTextObtainIpDhcp = 330,
    kTextObtainDnsAutomatically = 331,
    kTextIpv6 = 332,
    kTextDisable = 333,
    kTextEnable = 334,
    kTextEui = 335,
    kTextMacAddress = 336,
    kTextRandom = 337,
    kTextObtainIpAutomatically = 338,
    kTextWlan = 339,
    kTextWlanTopology = 340,
    kTextAdhoc = 341,
    kTextInfrastructure = 342,
    kTextSoftAp = 343,
    kTextChannel = 344,
    kTextAutomatic = 345,
    kTextSsid = 346,
    kTextInternalAntenna = 347,
    kTextExternalAntenna = 348,
    kTextAdvancedSettings = 349,
    kTextSharedKey = 350,
    kTextHideCharacters = 351,
    kTextDot1x = 352,
    kTextEapTls = 353,
    kTextEapTtls = 354,
    kTextPeap = 355,
    kTextBasicSettings = 356,
    kTextSecuritySettings = 357,
    kTextPhyMode = 358,
    kTextPhy80211 = 359,
    kTextPhy80211b = 360,
    kTextPhy80211bg = 361,
    kTextShortPreamble = 362,
    kTextShortSlot = 363,
    kTextCtsProtection = 364,
    kTextBackgroundScan = 365,
    kTextIpv4 = 366,
    kTextEnvError = 367,
    kTextCertificateAndHostKey = 387,
    kTextWriteSelfSigned = 388,
    kTextWriteSignedCertificate = 389,
    kTextReadProductCertificate = 390,
    kTextSelfSignedCertificate = 391,
    kTextRsaKeyLength = 392,
    kTextCountryLabel = 393,
    kTextStateLabel = 394,
    kTextLocalityLabel = 395,
    kTextOrganisationLabel = 396,
    kTextUnitLabel = 397,
    kTextCommonNameLabel = 398,
    kTextEmailLabel = 399,
    kTextOpen = 401,
    kTextCertificateInformation = 402,
    kTextUseCertificateQuestion = 403,
};

}  // namespace varnow::gui
