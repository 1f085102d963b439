#pragma once

#include <QDialog>
#include <QRadioButton>
#include <array>

#include "DialogParts.h"
#include "UiText.h"

namespace varnow::gui {

// "Certificate and Host Key": what to do with the board's TLS identity. Enter does not close it.
class CDlgCert : public EnterProofDialog {
public:
    enum class Action { MakeSelfSigned = 1, ImportSigned = 2, ReadFromProduct = 3 };

    CDlgCert(QWidget* owner, const UiText& ui);

    Action action() const;
    QRadioButton* radio(Action action) const {
        return m_radios[static_cast<std::size_t>(action) - 1];
    }

private:
    std::array<QRadioButton*, 3> m_radios{};
};

}  // namespace varnow::gui
