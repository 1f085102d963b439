#pragma once

#include <functional>
#include <optional>
#include <string>

namespace varnow {

// What an operation asks the person in the middle of its work, and nothing else: each front
// end answers its own way (a dialog, a terminal prompt, a given secret). The answer may come
// at once or later from the front end's loop; no command is outstanding meanwhile, so nothing
// of the operation runs while the question is open.
class Questions {
public:
    using PasswordAnswer = std::function<void(std::optional<std::string> password)>;

    virtual ~Questions() = default;
    // The administrator password for the board's login; `again`: the board refused the last
    // one. Nullopt: none is given. The receiver wipes the password after use.
    virtual void AskLoginPassword(bool again, PasswordAnswer answer) = 0;
};

}  // namespace varnow
