#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <array>

#include "DialogParts.h"
#include "UiText.h"
#include "certs/SelfSignedCertificate.h"
#include "ui/Messenger.h"

namespace varnow::gui {

// "Self Signed Certificate": the key's length and the subject of a new certificate. OK checks
// that every field fits its attribute and says which does not. Enter does not close it.
class CDlgCertMake : public EnterProofDialog {
public:
    CDlgCertMake(QWidget* owner, const UiText& ui, Messenger& messenger, std::string commonName);

    int bits() const;
    CertificateSubject subject() const;

    void accept() override;

    QComboBox* bitsBox() const { return m_bits; }
    QComboBox* countryBox() const { return m_country; }
    // State, locality, organisation, unit, common name, e-mail.
    QLineEdit* field(std::size_t index) const { return m_fields[index]; }

private:
    Messenger& m_messenger;
    QComboBox* m_bits;
    QComboBox* m_country;
    std::array<QLineEdit*, 6> m_fields{};
};

}  // namespace varnow::gui
