#include "base/vb_units.h"

#include <QWidget>

void placeTwips(QWidget* w, const TwipsRect& r) {
    w->setGeometry(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                   twipsToPixels(r.height));
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    placeTwips(w, TwipsRect{left, top, width, height});
}

TwipsRect twipsGeometry(const QWidget* w) {
    const QRect g = w->geometry();
    return {pixelsToTwips(g.x()), pixelsToTwips(g.y()), pixelsToTwips(g.width()), pixelsToTwips(g.height())};
}

QColor vbColor(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

std::uint32_t vbColorNumber(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

int vbMouseButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int vbShiftState(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

QString toDisplayText(const QString& text) {
    if (!text.contains(QLatin1Char('\r'))) return text;
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}
