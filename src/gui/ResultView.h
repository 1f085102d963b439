#pragma once

#include <optional>

#include "app/OutcomeText.h"
#include "ops/Operation.h"

namespace varnow::gui {

// Where the desktop tool shows how an operation ended: the status line, and the operation's
// messages one after the other (or, when it failed without a word, what failed).
class ResultView {
public:
    virtual ~ResultView() = default;
    virtual void ShowStatus(const OutcomeText& text) = 0;
    virtual void PresentEnd(const Operation& operation,
                            const std::optional<OutcomeText>& failure) = 0;
};

}  // namespace varnow::gui
