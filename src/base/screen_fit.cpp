#include "base/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>

namespace {

std::int64_t overlap(const TwipsRect& a, const TwipsRect& b) {
    const std::int64_t w =
        std::int64_t(std::min(a.left + a.width, b.left + b.width)) - std::max(a.left, b.left);
    const std::int64_t h =
        std::int64_t(std::min(a.top + a.height, b.top + b.height)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

int fitSpan(int start, int length, int areaStart, int areaLength) {
    if (start + length > areaStart + areaLength) start = areaStart + areaLength - length;
    return std::max(start, areaStart);
}

}  // namespace

TwipsRect fitOnScreens(const TwipsRect& window, const std::vector<TwipsRect>& screens, std::size_t primary) {
    if (screens.empty()) return window;
    std::size_t best = std::min(primary, screens.size() - 1);
    std::int64_t most = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const std::int64_t o = overlap(window, screens[i]);
        if (o > most) {
            most = o;
            best = i;
        }
    }
    const TwipsRect& s = screens[best];
    TwipsRect r = window;
    r.width = std::clamp(r.width, 0, std::max(0, s.width));
    r.height = std::clamp(r.height, 0, std::max(0, s.height));
    r.left = fitSpan(r.left, r.width, s.left, s.width);
    r.top = fitSpan(r.top, r.height, s.top, s.height);
    return r;
}

std::vector<TwipsRect> screenAreas(std::size_t* primary) {
    std::vector<TwipsRect> out;
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (primary) *primary = 0;
    for (QScreen* s : screens) {
        if (primary && s == QGuiApplication::primaryScreen()) *primary = out.size();
        const QRect g = s->availableGeometry();
        out.push_back({pixelsToTwips(g.x()), pixelsToTwips(g.y()), pixelsToTwips(g.width()),
                       pixelsToTwips(g.height())});
    }
    return out;
}
