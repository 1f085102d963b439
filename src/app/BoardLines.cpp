#include "BoardLines.h"

#include "EmbeddedLine.h"
#include "QtPlatform.h"

namespace varnow::app {

std::unique_ptr<BoardLine> BoardLineFor(bool simulate) {
    if (simulate) {
        return std::make_unique<sim::EmbeddedLine>();
    }
    return platform::MakeSerialLine();
}

}  // namespace varnow::app
