#include "CIpAddressEdit.h"

#include <QRegularExpressionValidator>

namespace varnow::gui {
namespace {
// What may stand in the field while it is typed: up to four numbers of 0 to 255.
const QString kPartialAddress =
    R"(^((25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)?\.){0,3}(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)?$)";
}  // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(kPartialAddress), this));
    setMaxLength(15);
}

void CIpAddressEdit::SetAddress(const std::optional<Ipv4Address>& address) {
    if (!address) {
        clear();
        return;
    }
    setText(QString("%1.%2.%3.%4")
                .arg((*address)[0])
                .arg((*address)[1])
                .arg((*address)[2])
                .arg((*address)[3]));
}

Ipv4Address CIpAddressEdit::address() const {
    Ipv4Address address{};
    const QStringList parts = text().split('.');
    for (int i = 0; i < parts.size() && i < 4; ++i) {
        address[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(parts[i].toUInt());
    }
    return address;
}

}  // namespace varnow::gui
