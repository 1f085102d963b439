#include "settings/Dot1xCredentials.h"

#include <algorithm>

#include "settings/FieldText.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

std::string TextOf(const Bytes& area) {
    return std::string(area.begin(), std::find(area.begin(), area.end(), 0));
}

void Store(const std::string& text, Bytes& area) {
    std::fill(area.begin(), area.end(), 0);
    std::copy_n(text.begin(), std::min(text.size(), area.size()), area.begin());
}

}  // namespace

std::optional<Dot1xCredentials> Dot1xCredentials::Open(const EnvironmentData& data, int dot1xItem) {
    if (!data.dot1xId || !data.dot1xPassword) {
        return std::nullopt;
    }
    Dot1xCredentials credentials;
    credentials.withPassword = dot1xItem != 1;
    credentials.id = TextOf(*data.dot1xId);
    if (credentials.withPassword) {
        credentials.password = TextOf(*data.dot1xPassword);
    }
    credentials.idLimit = data.dot1xId->size();
    credentials.passwordLimit = data.dot1xPassword->size();
    return credentials;
}

int Dot1xCredentials::Check(std::vector<std::string>& args) const {
    const struct {
        const std::string& text;
        std::size_t limit;
        bool asked;
        int tooLong, control;
    } texts[] = {{id, idLimit, true, kMsgDot1xIdTooLong, kMsgDot1xIdControl},
                 {password, passwordLimit, withPassword, kMsgDot1xPasswordTooLong,
                  kMsgDot1xPasswordControl}};
    for (const auto& field : texts) {
        if (!field.asked) {
            continue;
        }
        switch (CheckFieldText(field.text, field.limit)) {
            case FieldTextProblem::TooLong:
                args = TooLongArgs(field.text, field.limit);
                return field.tooLong;
            case FieldTextProblem::ControlCharacter:
                return field.control;
            case FieldTextProblem::None:
                break;
        }
    }
    return 0;
}

void Dot1xCredentials::Accept(EnvironmentData& data) const {
    if (data.dot1xId) {
        Store(id, *data.dot1xId);
    }
    if (withPassword && data.dot1xPassword) {
        Store(password, *data.dot1xPassword);
    }
}

}  // namespace varnow
