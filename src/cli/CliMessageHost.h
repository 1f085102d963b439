#pragma once

#include <ostream>

#include "ui/MessageHost.h"

namespace varnow::cli {

// Messages of the command line go to the error stream with their style as a prefix
// ("warning: ..."); questions are answered "No" since there is nobody to ask.
class CliMessageHost : public MessageHost {
public:
    explicit CliMessageHost(std::ostream& out) : m_out(out) {}
    MessageResult ShowMessage(const Message& message) override;

private:
    std::ostream& m_out;
};

}  // namespace varnow::cli
