#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <cstdint>

class QWidget;

// Positions are kept in twips (1440 to the logical inch, 15 to a pixel at 96 dpi)
// and converted only where a widget is placed.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) {
    return static_cast<int>(twips >= 0 ? (twips + 7) / kTwipsPerPixel : (twips - 7) / kTwipsPerPixel);
}
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A rectangle in twips: left, top, width, height.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// Places a child widget at a rectangle given in twips, relative to its parent.
void placeTwips(QWidget* w, const TwipsRect& r);
void placeTwips(QWidget* w, int left, int top, int width, int height);
TwipsRect twipsGeometry(const QWidget* w);

// Colours are numbers 0x00BBGGRR; a top byte of 0x02 (palette-relative) keeps the
// red, green and blue bytes.
QColor vbColor(std::uint32_t bgr);
inline QColor vbColor(double bgr) {
    return vbColor(static_cast<std::uint32_t>(static_cast<std::int64_t>(bgr)));
}
inline QColor vbColor(int bgr) { return vbColor(static_cast<std::uint32_t>(bgr)); }
std::uint32_t vbColorNumber(const QColor& c);

// Mouse event codes as the controls report them: button 1 left, 2 right, 4
// middle; shift state 1 Shift, 2 Ctrl, 4 Alt.
int vbMouseButton(Qt::MouseButton button);
int vbShiftState(Qt::KeyboardModifiers modifiers);

// Texts keep CR LF (and captions CR) line ends; widgets show plain line breaks.
QString toDisplayText(const QString& text);
