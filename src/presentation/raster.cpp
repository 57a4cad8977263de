#include "presentation/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

namespace qv::raster {

namespace {

// Radii beyond this are never met in a game (worlds are at most 3000 wide)
// and would overflow the exact arithmetic below: such circles are not drawn.
constexpr std::int64_t kMaxRadius = std::int64_t{1} << 30;

std::int64_t ISqrt(std::int64_t n) {
    if (n <= 0) return 0;
    auto s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (s > 0 && s * s > n) --s;
    while ((s + 1) * (s + 1) <= n) ++s;
    return s;
}

// The circle of radius r around the pixel corner (cx, cy) passes through
// pixel centres at half-integer offsets; in the octant next to the x axis,
// row offset j + 1/2 (j = 0, 1, ...) has its outline pixel at column
// offset i(j) + 1/2, the pixel centre nearest the true circle, until the
// octant's end where j > i(j). Everything is exact integer arithmetic on
// doubled offsets: (2i + 1)^2 + (2j + 1)^2 against (2r - 1)^2.
struct Octant {
    std::int64_t diameter2;  // (2r - 1)^2

    explicit Octant(std::int64_t r) : diameter2((2 * r - 1) * (2 * r - 1)) {}

    std::int64_t at(std::int64_t j) const {
        const std::int64_t d = diameter2 - (2 * j + 1) * (2 * j + 1);
        return d < 0 ? -1 : ISqrt(d) / 2;
    }

    // The last j with j <= at(j): 4j^2 + (2j + 1)^2 <= (2r - 1)^2.
    std::int64_t last() const {
        auto fits = [this](std::int64_t j) { return 4 * j * j + (2 * j + 1) * (2 * j + 1) <= diameter2; };
        auto j = static_cast<std::int64_t>((std::sqrt(2.0 * static_cast<double>(diameter2)) - 1.0) / 4.0);
        j = std::max<std::int64_t>(j, 0);
        while (j > 0 && !fits(j)) --j;
        while (fits(j + 1)) ++j;
        return j;
    }
};

}  // namespace

Surface::Surface(QImage& image)
    : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height()) {}

void Surface::fillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, QRgb colour) {
    if (y < 0 || y >= height_) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, width_ - 1);
    if (x0 > x1) return;
    QRgb* line = row(static_cast<int>(y));
    std::fill(line + x0, line + x1 + 1, colour);
}

void Surface::blit(const QImage& picture, std::int64_t x, std::int64_t y) {
    const std::int64_t x0 = std::max<std::int64_t>(x, 0);
    const std::int64_t y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(x + picture.width(), width_);
    const std::int64_t y1 = std::min<std::int64_t>(y + picture.height(), height_);
    if (x0 >= x1 || y0 >= y1) return;
    if (picture.format() == QImage::Format_ARGB32_Premultiplied) {
        // frame = picture + frame x (1 - alpha), channel by channel.
        for (std::int64_t yy = y0; yy < y1; ++yy) {
            const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(yy - y)));
            QRgb* target = row(static_cast<int>(yy));
            for (std::int64_t xx = x0; xx < x1; ++xx) {
                const QRgb s = source[xx - x];
                const int keep = 255 - qAlpha(s);
                if (keep == 0) {
                    target[xx] = s;
                } else if (s != 0) {  // 0: wholly transparent
                    const QRgb d = target[xx];
                    auto mix = [keep](int over, int under) { return over + (under * keep + 127) / 255; };
                    target[xx] = qRgb(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d)));
                }
            }
        }
        return;
    }
    const auto bytes = static_cast<std::size_t>(x1 - x0) * sizeof(QRgb);
    for (std::int64_t yy = y0; yy < y1; ++yy) {
        const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(yy - y)));
        std::memcpy(row(static_cast<int>(yy)) + x0, source + (x0 - x), bytes);
    }
}

void Surface::copyFrame(const QImage& picture) {
    if (picture.width() == width_ && picture.height() == height_ && picture.bytesPerLine() == stride_) {
        std::memcpy(bits_, picture.constBits(), static_cast<std::size_t>(stride_) * height_);
        return;
    }
    blit(picture, 0, 0);
}

void Surface::circle(std::int64_t cx, std::int64_t cy, std::int64_t r, QRgb colour, Stroke stroke) {
    if (r <= 0 || r > kMaxRadius) return;
    // Nothing to do when the box misses the frame.
    if (cx + r <= 0 || cy + r <= 0 || cx - r >= width_ || cy - r >= height_) return;
    const Octant octant(r);
    const std::int64_t end = octant.last();

    // Only the j whose row or column falls inside the frame can show a
    // pixel; a circle far larger than the frame costs no more than one
    // that fits.
    std::array<std::pair<std::int64_t, std::int64_t>, 4> windows = {{
        {-cy, height_ - 1 - cy},
        {cy - height_, cy - 1},
        {-cx, width_ - 1 - cx},
        {cx - width_, cx - 1},
    }};
    for (auto& [from, to] : windows) {
        from = std::max<std::int64_t>(from, 0);
        to = std::min(to, end);
    }
    std::sort(windows.begin(), windows.end());
    std::int64_t next = 0;  // every j below has been drawn
    for (const auto& [from, to] : windows) {
        for (std::int64_t j = std::max(from, next); j <= to; ++j) {
            if (stroke == Stroke::Dotted && (j & 1)) continue;
            const std::int64_t i = octant.at(j);
            set(cx + i, cy + j, colour);
            set(cx - 1 - i, cy + j, colour);
            set(cx + i, cy - 1 - j, colour);
            set(cx - 1 - i, cy - 1 - j, colour);
            set(cx + j, cy + i, colour);
            set(cx - 1 - j, cy + i, colour);
            set(cx + j, cy - 1 - i, colour);
            set(cx - 1 - j, cy - 1 - i, colour);
        }
        next = std::max(next, to + 1);
    }
}

void Surface::disc(std::int64_t cx, std::int64_t cy, std::int64_t r, QRgb colour) {
    if (r <= 0 || r > kMaxRadius) return;
    const Octant octant(r);
    const std::int64_t top = std::max<std::int64_t>(cy - r, 0);
    const std::int64_t bottom = std::min<std::int64_t>(cy + r - 1, height_ - 1);
    for (std::int64_t y = top; y <= bottom; ++y) {
        const std::int64_t k = y >= cy ? y - cy : cy - 1 - y;
        const std::int64_t i = octant.at(k);
        if (i >= 0) fillSpan(y, cx - 1 - i, cx + i, colour);
    }
    circle(cx, cy, r, colour);
}

void Surface::frame(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour, Stroke stroke) {
    if (r <= l || b <= t) return;
    const std::int64_t right = r - 1;
    const std::int64_t bottom = b - 1;
    if (stroke == Stroke::Solid) {
        fillSpan(t, l, right, colour);
        fillSpan(bottom, l, right, colour);
        for (std::int64_t y = std::max<std::int64_t>(t + 1, 0); y < std::min<std::int64_t>(bottom, height_); ++y) {
            set(l, y, colour);
            set(right, y, colour);
        }
        return;
    }
    // Dotted: every other pixel, walking the outline clockwise from the
    // top-left corner.
    std::int64_t step = 0;
    auto dot = [&](std::int64_t x, std::int64_t y) {
        if ((step++ & 1) == 0) set(x, y, colour);
    };
    for (std::int64_t x = l; x < right; ++x) dot(x, t);
    for (std::int64_t y = t; y < bottom; ++y) dot(right, y);
    for (std::int64_t x = right; x > l; --x) dot(x, bottom);
    for (std::int64_t y = bottom; y > t; --y) dot(l, y);
    if (right == l && bottom == t) set(l, t, colour);  // a one-pixel box
}

void Surface::fillBox(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour) {
    const std::int64_t top = std::max<std::int64_t>(t, 0);
    const std::int64_t bottom = std::min<std::int64_t>(b, height_);
    for (std::int64_t y = top; y < bottom; ++y) fillSpan(y, l, r - 1, colour);
}

}  // namespace qv::raster
