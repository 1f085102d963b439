#pragma once

#include <QLineEdit>
#include <optional>

#include "settings/NetworkPage.h"

namespace varnow::gui {

// An IPv4 address field: four numbers of 0 to 255 separated by dots. A cleared field is empty
// and, like a field whose numbers are missing, reads as zeros.
class CIpAddressEdit : public QLineEdit {
public:
    explicit CIpAddressEdit(QWidget* parent);

    void SetAddress(const std::optional<Ipv4Address>& address);
    Ipv4Address address() const;
};

}  // namespace varnow::gui
