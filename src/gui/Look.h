#pragma once

#include <QColor>
#include <QFont>

namespace varnow::gui {

// The tool's own look: light grey windows, near-black text, Arial 12 pixels.
inline const QColor kWindowBackground(0xF0, 0xF0, 0xF0);
inline const QColor kFieldBackground(0xF3, 0xF3, 0xF3);
inline const QColor kText(0x17, 0x17, 0x17);
inline const QColor kBarFrame(0x4E, 0x4E, 0x4E);
inline const QColor kBarBrush(0xC8, 0xC8, 0xC8);
inline const QColor kBarFill(0x82, 0x82, 0x82);

inline QFont DialogFont(bool bold = false) {
    QFont font("Arial");
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

// Dialog units of an "MS Shell Dlg"-like font of `points` points, in pixels.
struct DialogUnits {
    double x;  // pixels per horizontal unit
    double y;  // pixels per vertical unit
    int X(double units) const { return static_cast<int>(units * x + 0.5); }
    int Y(double units) const { return static_cast<int>(units * y + 0.5); }
};
DialogUnits DialogUnitsFor(int points);

// Makes the compiled-in images available; safe to call more than once.
void InitGuiResources();

}  // namespace varnow::gui
