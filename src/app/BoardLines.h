#pragma once

#include <memory>

#include "link/BoardLine.h"

namespace varnow::app {

// The board line a program works on: the simulated board inside it (`simulate`), else the
// machine's own serial ports.
std::unique_ptr<BoardLine> BoardLineFor(bool simulate);

}  // namespace varnow::app
