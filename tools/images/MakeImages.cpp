// Draws the tool's PNG images (buttons, message icons, spinner, application icon) in one look.
// Run once after a change of design: make-images OUTPUT_FOLDER. The PNGs are committed.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

const QColor kAccent(0x2E, 0x6D, 0xB4);
const QColor kGreen(0x2E, 0x9E, 0x5B);
const QColor kRed(0xD0, 0x3B, 0x3B);
const QColor kOrange(0xF0, 0x9A, 0x1A);
const QColor kGrey(0xB4, 0xB4, 0xB4);

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool Save(const QImage& image, const QString& folder, const char* name) {
    const bool saved = image.save(folder + "/" + name, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", name);
    return saved;
}

// A 48 x 48 rounded button face with a white symbol drawn by `symbol`.
QImage Button(const QColor& colour, bool enabled, const std::function<void(QPainter&)>& symbol) {
    QImage image = Canvas(48, 48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = enabled ? colour : kGrey;
    QLinearGradient shade(0, 0, 0, 48);
    shade.setColorAt(0, face.lighter(115));
    shade.setColorAt(1, face.darker(110));
    p.setPen(QPen(face.darker(130), 1));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(1.5, 1.5, 45, 45), 9, 9);
    p.setPen(QPen(enabled ? Qt::white : QColor(0xF4, 0xF4, 0xF4), 3.2, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    symbol(p);
    return image;
}

void PlugSymbol(QPainter& p) {
    p.drawLine(QPointF(18, 12), QPointF(18, 19));
    p.drawLine(QPointF(30, 12), QPointF(30, 19));
    p.drawRoundedRect(QRectF(13, 19, 22, 10), 3, 3);
    p.drawLine(QPointF(24, 29), QPointF(24, 37));
}

void UnplugSymbol(QPainter& p) {
    PlugSymbol(p);
    p.setPen(QPen(QColor(0xFF, 0xE0, 0xE0), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 37), QPointF(37, 11));
}

void GearSymbol(QPainter& p) {
    p.drawEllipse(QPointF(24, 24), 6, 6);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(24 + 10 * qCos(a), 24 + 10 * qSin(a)),
                   QPointF(24 + 14 * qCos(a), 24 + 14 * qSin(a)));
    }
    p.drawEllipse(QPointF(24, 24), 10, 10);
}

void UploadSymbol(QPainter& p) {
    p.drawLine(QPointF(24, 34), QPointF(24, 13));
    p.drawLine(QPointF(15, 21), QPointF(24, 12));
    p.drawLine(QPointF(33, 21), QPointF(24, 12));
    p.drawLine(QPointF(13, 37), QPointF(35, 37));
}

QImage MessageIcon(const QColor& colour, const QString& glyph, int shape) {
    QImage image = Canvas(48, 48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (shape == 0) {
        p.drawEllipse(QRectF(2, 2, 44, 44));
    } else if (shape == 1) {
        p.drawRoundedRect(QRectF(3, 3, 42, 42), 8, 8);
    } else {
        QPainterPath triangle;
        triangle.moveTo(24, 3);
        triangle.lineTo(46, 44);
        triangle.lineTo(2, 44);
        triangle.closeSubpath();
        p.drawPath(triangle);
    }
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(shape == 2 ? 28 : 30);
    p.setFont(font);
    p.setPen(shape == 2 ? QColor(0x30, 0x20, 0x00) : Qt::white);
    p.drawText(QRectF(0, shape == 2 ? 10 : 2, 48, 40), Qt::AlignCenter, glyph);
    return image;
}

QImage CrossIcon() {
    QImage image = MessageIcon(kRed, "", 0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(32, 32));
    p.drawLine(QPointF(32, 16), QPointF(16, 32));
    return image;
}

QImage Spinner() {
    QImage strip = Canvas(480, 40);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int frame = 0; frame < 12; ++frame) {
        for (int dot = 0; dot < 12; ++dot) {
            const int age = (frame - dot + 12) % 12;  // 0: the newest, brightest dot
            QColor colour = kAccent;
            colour.setAlpha(255 - age * 19);
            p.setBrush(colour);
            const double a = dot * M_PI / 6 - M_PI / 2;
            const double radius = age == 0 ? 4.0 : 3.0;
            p.drawEllipse(QPointF(frame * 40 + 20 + 13 * qCos(a), 20 + 13 * qSin(a)), radius,
                          radius);
        }
    }
    return strip;
}

QImage AppIcon() {
    QImage image = Canvas(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(16, 16), QPointF(32, 48));
    p.drawLine(QPointF(48, 16), QPointF(32, 48));
    p.setPen(QPen(QColor(0xB8, 0xF0, 0xCC), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 12), QPointF(32, 28));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-images OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = argv[1];
    bool ok = true;
    struct ButtonImage {
        const char* name;
        QColor colour;
        void (*symbol)(QPainter&);
    };
    const ButtonImage buttons[] = {
        {"connect", kGreen, PlugSymbol},
        {"disconnect", kRed, UnplugSymbol},
        {"settings", kAccent, GearSymbol},
        {"upload", kOrange, UploadSymbol},
    };
    for (const auto& button : buttons) {
        ok &= Save(Button(button.colour, true, button.symbol), folder,
                   (std::string(button.name) + ".png").c_str());
        ok &= Save(Button(button.colour, false, button.symbol), folder,
                   (std::string(button.name) + "_disabled.png").c_str());
    }
    ok &= Save(CrossIcon(), folder, "icon_error.png");
    ok &= Save(MessageIcon(kAccent, "?", 1), folder, "icon_question.png");
    ok &= Save(MessageIcon(kOrange, "!", 2), folder, "icon_warning.png");
    ok &= Save(MessageIcon(kGreen, "i", 1), folder, "icon_information.png");
    ok &= Save(Spinner(), folder, "spinner.png");
    ok &= Save(AppIcon(), folder, "app.png");
    return ok ? 0 : 1;
}
