#include "controls/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace {

constexpr int kSize = 32;  // drawn at 32 px and scaled down by the toolbar

QPixmap draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pm;
}

void page(QPainter& p, QRectF r, const QColor& fill = Qt::white) {
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(fill);
    p.drawPath(path);
}

void grid(QPainter& p, const QColor& cells) {
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(cells);
    p.drawRect(QRectF(9.5, 11.5, 13, 10));
    for (qreal x : {9.5, 16.0, 22.5}) p.drawLine(QPointF(x, 5), QPointF(x, 27));
    for (qreal y : {11.5, 16.5, 21.5}) p.drawLine(QPointF(3, y), QPointF(29, y));
}

void letter(QPainter& p, const QString& s, bool bold, bool italic, bool underline) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(24);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, s);
}

void lines(QPainter& p, Qt::Alignment align) {
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    const qreal widths[] = {24, 16, 22, 14};
    for (int i = 0; i < 4; ++i) {
        const qreal w = widths[i], y = 7 + i * 6;
        qreal x = 4;
        if (align == Qt::AlignHCenter) x = (kSize - w) / 2;
        if (align == Qt::AlignRight) x = kSize - 4 - w;
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
    }
}

}  // namespace

QIcon toolbarIcon(const QString& key) {
    const QColor blue(40, 90, 180);
    if (key == QLatin1String("New")) return QIcon(draw([](QPainter& p) { page(p, QRectF(7, 3, 18, 26)); }));
    if (key == QLatin1String("Open"))
        return QIcon(draw([](QPainter& p) {
            p.setPen(QPen(QColor(120, 80, 0), 2));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(3, 9, 24, 18));
            p.setBrush(QColor(255, 225, 130));
            QPolygonF flap({QPointF(7, 14), QPointF(30, 14), QPointF(26, 27), QPointF(3, 27)});
            p.drawPolygon(flap);
        }));
    if (key == QLatin1String("Save"))
        return QIcon(draw([blue](QPainter& p) {
            p.setPen(QPen(QColor(20, 40, 90), 2));
            p.setBrush(blue);
            p.drawRect(QRectF(4, 4, 24, 24));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 4, 14, 9));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(8, 18, 16, 10));
        }));
    if (key == QLatin1String("Print"))
        return QIcon(draw([](QPainter& p) {
            page(p, QRectF(9, 2, 14, 12));
            p.setPen(QPen(QColor(60, 60, 60), 2));
            p.setBrush(QColor(190, 190, 190));
            p.drawRect(QRectF(3, 13, 26, 11));
            page(p, QRectF(9, 20, 14, 10));
        }));
    if (key == QLatin1String("Cut"))
        return QIcon(draw([](QPainter& p) {
            p.setPen(QPen(QColor(50, 50, 50), 2.5));
            p.drawLine(QPointF(10, 3), QPointF(20, 20));
            p.drawLine(QPointF(22, 3), QPointF(12, 20));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(200, 30, 30), 2.5));
            p.drawEllipse(QPointF(9, 24), 5, 5);
            p.drawEllipse(QPointF(23, 24), 5, 5);
        }));
    if (key == QLatin1String("Copy"))
        return QIcon(draw([](QPainter& p) {
            page(p, QRectF(4, 3, 16, 20));
            page(p, QRectF(12, 9, 16, 20), QColor(230, 240, 255));
        }));
    if (key == QLatin1String("Paste"))
        return QIcon(draw([](QPainter& p) {
            p.setPen(QPen(QColor(100, 60, 20), 2));
            p.setBrush(QColor(200, 150, 90));
            p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
            p.setBrush(QColor(150, 150, 150));
            p.drawRect(QRectF(9, 2, 10, 6));
            page(p, QRectF(13, 12, 15, 18));
        }));
    if (key == QLatin1String("SetMtx"))
        return QIcon(draw([](QPainter& p) { grid(p, QColor(255, 255, 192)); }));
    if (key == QLatin1String("ResetMtx"))
        return QIcon(draw([](QPainter& p) {
            grid(p, Qt::white);
            p.setPen(QPen(QColor(200, 30, 30), 3.5));
            p.drawLine(QPointF(8, 10), QPointF(24, 25));
            p.drawLine(QPointF(24, 10), QPointF(8, 25));
        }));
    if (key == QLatin1String("Break"))
        return QIcon(draw([](QPainter& p) {
            // A stop sign: a red octagon with a white bar.
            QPolygonF octagon;
            for (int i = 0; i < 8; ++i) {
                const qreal a = (22.5 + 45 * i) * 3.14159265358979 / 180;
                octagon << QPointF(16 + 14 * std::cos(a), 16 + 14 * std::sin(a));
            }
            p.setPen(QPen(QColor(120, 0, 0), 1.5));
            p.setBrush(QColor(210, 30, 30));
            p.drawPolygon(octagon);
            p.fillRect(QRectF(8, 13.5, 16, 5), Qt::white);
        }));
    if (key == QLatin1String("Bold"))
        return QIcon(draw([](QPainter& p) { letter(p, QStringLiteral("B"), true, false, false); }));
    if (key == QLatin1String("Italic"))
        return QIcon(draw([](QPainter& p) { letter(p, QStringLiteral("I"), false, true, false); }));
    if (key == QLatin1String("Underline"))
        return QIcon(draw([](QPainter& p) { letter(p, QStringLiteral("U"), false, false, true); }));
    if (key == QLatin1String("AlignLeft")) return QIcon(draw([](QPainter& p) { lines(p, Qt::AlignLeft); }));
    if (key == QLatin1String("AlignCenter"))
        return QIcon(draw([](QPainter& p) { lines(p, Qt::AlignHCenter); }));
    if (key == QLatin1String("AlignRight")) return QIcon(draw([](QPainter& p) { lines(p, Qt::AlignRight); }));
    if (key == QLatin1String("DBEdit"))
        return QIcon(draw([blue](QPainter& p) {
            p.setPen(QPen(QColor(20, 40, 90), 2));
            p.setBrush(QColor(180, 200, 240));
            p.drawEllipse(QRectF(4, 3, 20, 7));
            p.drawRect(QRectF(4, 6.5, 20, 19));
            p.drawEllipse(QRectF(4, 22, 20, 7));
            p.setPen(QPen(QColor(200, 120, 0), 3.5));
            p.drawLine(QPointF(18, 28), QPointF(29, 14));
        }));
    return {};
}
