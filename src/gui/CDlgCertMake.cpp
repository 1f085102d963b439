#include "CDlgCertMake.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <algorithm>
#include <vector>

#include "DialogParts.h"
#include "Look.h"
#include "certs/CountryTable.h"
#include "certs/RsaKeyMaker.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

constexpr const char* kDefaultCountry = "Korea, Republic of";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CDlgCertMake::CDlgCertMake(QWidget* owner, const UiText& ui, Messenger& messenger,
                           std::string commonName)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_messenger(messenger) {
    setWindowTitle(ui(kTextSelfSignedCertificate));
    setFont(DialogFont());
    auto* form = new QFormLayout(this);
    m_bits = new QComboBox(this);
    for (const int bits : kRsaKeyBits) {
        m_bits->addItem(QString::number(bits));
    }
    m_country = new QComboBox(this);
    std::vector<std::string_view> names;
    for (const Country& country : CountryTable()) {
        names.push_back(country.name);
    }
    std::sort(names.begin(), names.end());  // the list shows the names in alphabetical order
    for (const std::string_view name : names) {
        m_country->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    }
    m_country->setCurrentText(kDefaultCountry);
    const CertificateSubject defaults = DefaultSubject(std::move(commonName));
    const std::string* values[] = {&defaults.state, &defaults.locality,   &defaults.organisation,
                                   &defaults.unit,  &defaults.commonName, &defaults.email};
    const int labels[] = {kTextStateLabel, kTextLocalityLabel,   kTextOrganisationLabel,
                          kTextUnitLabel,  kTextCommonNameLabel, kTextEmailLabel};
    form->addRow(ui(kTextRsaKeyLength), m_bits);
    form->addRow(ui(kTextCountryLabel), m_country);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i] = new QLineEdit(Q(*values[i]), this);
        form->addRow(ui(labels[i]), m_fields[i]);
    }
    form->addRow(OkCancelRow(this, ui));
}

int CDlgCertMake::bits() const {
    const int index = m_bits->currentIndex();
    return index >= 0 ? kRsaKeyBits[index] : kRsaKeyBits[0];
}

CertificateSubject CDlgCertMake::subject() const {
    auto text = [this](std::size_t i) { return m_fields[i]->text().toStdString(); };
    return CertificateSubject{
        .country = CountryCodeForName(m_country->currentText().toStdString()),
        .state = text(0),
        .locality = text(1),
        .organisation = text(2),
        .unit = text(3),
        .commonName = text(4),
        .email = text(5),
    };
}

void CDlgCertMake::accept() {
    if (const std::optional<SubjectProblem> problem = CheckSubject(subject())) {
        const int field = static_cast<int>(problem->field);
        m_messenger.Show(kMsgSubjectFieldTooLong, MessageStyle::Warning,
                         {m_messenger.Text(kTextSubjectCountry + field),
                          std::to_string(problem->mostCharacters)});
        QWidget* control = field == 0 ? static_cast<QWidget*>(m_country)
                                      : m_fields[static_cast<std::size_t>(field - 1)];
        control->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace varnow::gui
