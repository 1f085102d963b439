#include "Look.h"

#include <QFontMetricsF>

namespace varnow::gui {

DialogUnits DialogUnitsFor(int points) {
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    const QFontMetricsF metrics(font);
    // A dialog unit is a quarter of the average character width and an eighth of the height.
    const double averageWidth =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
    return {averageWidth / 4.0, metrics.height() / 8.0};
}

}  // namespace varnow::gui

// Resources of a static library must be registered by name, outside any namespace.
static void RegisterImages() {
    Q_INIT_RESOURCE(images);
}

namespace varnow::gui {

void InitGuiResources() {
    static const bool registered = [] {
        RegisterImages();
        return true;
    }();
    (void)registered;
}

}  // namespace varnow::gui
