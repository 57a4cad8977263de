// The application icon: a ringed planet in front of a yellow star, on a dark
// rounded square of night sky. Everything is laid out in units of the side,
// so every size shows the same picture; small sizes take more samples per
// pixel. Outside the rounded square the icon is transparent.
#include <algorithm>
#include <cmath>

#include "pictures.h"

namespace qv::pictures {

namespace {

struct Vec3 {
    double x, y, z;
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 normalized() const {
        const double l = std::sqrt(dot(*this));
        return l > 0 ? *this * (1 / l) : *this;
    }
};

// The rounded square, in units of the side.
constexpr double kMargin = 0.035;
constexpr double kCorner = 0.19;
constexpr double kEdge = 0.014;  // the lighter border just inside it

// Signed distance to the rounded square: negative inside.
double TileDistance(double u, double v) {
    const double half = 0.5 - kMargin;
    const double qx = std::abs(u - 0.5) - (half - kCorner), qy = std::abs(v - 0.5) - (half - kCorner);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - kCorner;
}

// The star, upper right; the planet in front of it, lower left of centre.
constexpr double kStarX = 0.665, kStarY = 0.325, kStarRadius = 0.15;
constexpr double kPlanetX = 0.445, kPlanetY = 0.6, kPlanetRadius = 0.2;

// The rings, in planet radii, seen from a little above their plane: an
// ellipse rising to the right (angle kRingTurn), squashed to kRingOpen.
constexpr double kRingTurn = -0.35;
constexpr double kRingOpen = 0.28;
constexpr double kRingInner = 1.3, kRingOuter = 1.95;

// How much light the rings stop at a distance e (planet radii) from the
// planet's centre: fine ringlets, soft edges and one dark gap.
double RingDensity(double e, std::uint32_t seed) {
    if (e <= kRingInner || e >= kRingOuter) return 0;
    const double edges = Smooth(kRingInner, kRingInner + 0.08, e) * (1 - Smooth(kRingOuter - 0.1, kRingOuter, e));
    const double ringlets = 0.62 + 0.22 * std::sin(e * 37) + 0.16 * Noise(e * 14, 0.5, 0.5, seed);
    const double gap = std::exp(-(e - 1.66) * (e - 1.66) / (2 * 0.018 * 0.018));
    return Clamp01(edges * ringlets * (1 - 0.9 * gap));
}

}  // namespace

QImage ApplicationIcon(int size) {
    const double side = size;
    const std::uint32_t seed = 0x1C0A0001u;
    const int samples = size <= 64 ? 6 : 3;

    // Light from the star, falling on the planet from the upper right.
    const Vec3 light = Vec3{kStarX - kPlanetX, kStarY - kPlanetY, 0.3}.normalized();
    // The rings' frame: m along the long axis, f across it in the ring plane
    // (towards the viewer), n the plane's normal (up and towards the viewer).
    const double ct = std::cos(kRingTurn), st = std::sin(kRingTurn), open = std::sqrt(1 - kRingOpen * kRingOpen);
    const Vec3 m{ct, st, 0};
    const Vec3 f{-st * kRingOpen, ct * kRingOpen, open};
    const Vec3 n{st * open, -ct * open, kRingOpen};
    const double ringLight = 0.45 + 0.8 * std::max(0.0, light.dot(n));

    const Ramp starRamp{{0.0, Rgb(0, 0, 0)},       {0.14, Rgb(70, 10, 0)},     {0.34, Rgb(180, 45, 0)},
                        {0.52, Rgb(242, 112, 10)}, {0.68, Rgb(255, 175, 35)},  {0.82, Rgb(255, 225, 110)},
                        {1.0, Rgb(255, 255, 235)}};
    const Ramp bands{{0.0, Rgb(18, 58, 110)},   {0.22, Rgb(36, 118, 168)}, {0.42, Rgb(112, 196, 214)},
                     {0.55, Rgb(190, 226, 228)}, {0.7, Rgb(64, 150, 186)},  {0.86, Rgb(28, 86, 138)},
                     {1.0, Rgb(96, 170, 200)}};

    // The sky behind: the map's star field at this size.
    const Canvas sky = StarFieldCanvas(size, size, 0x1C0A0002u, 0.9);

    auto ringColour = [&](double e) { return Mix(Rgb(196, 164, 122), Rgb(238, 224, 194), Smooth(kRingInner, kRingOuter, e)); };

    auto shade = [&](double x, double y) -> Rgb {
        const double u = x / side, v = y / side;
        const double tile = TileDistance(u, v);
        if (tile >= 0) return Rgb();

        // Night sky: deep blue fading darker downwards, the star field, and
        // a pale border that keeps the square's shape on dark desktops.
        Rgb col = Mix(Rgb(22, 28, 64), Rgb(5, 6, 18), Smooth(0.0, 1.0, v));
        const Rgb& stars = sky.at(std::clamp(static_cast<int>(x), 0, size - 1), std::clamp(static_cast<int>(y), 0, size - 1));
        col += stars * 0.8;
        col += Rgb(88, 110, 190) * (0.45 * Smooth(-kEdge, 0.0, tile));

        // The star: a boiling disc in a ring of flames.
        const double sx = (u - kStarX) / kStarRadius, sy = (v - kStarY) / kStarRadius;
        const double sr = std::hypot(sx, sy);
        if (sr < 1) {
            const double mu = std::sqrt(1 - sr * sr);
            const double granules = Fbm(sx * 7, sy * 7, 1.3, 4, seed + 1);
            col = starRamp.at(Clamp01(0.6 + 0.31 * mu + 0.08 * granules));
        } else {
            const double q = sr - 1, ca = sx / sr, sa = sy / sr;
            const double tongue = 0.5 + 0.9 * Fbm(ca * 3.2 + 10, sa * 3.2 + 10, q * 3.0, 4, seed + 2);
            const double flame = std::exp(-q / 0.3) * (0.4 + 0.8 * tongue);
            const double halo = 0.2 * std::exp(-q * 2.2);
            col += starRamp.at(Clamp01((0.62 * flame + halo) * (1 - Smooth(1.6, 2.6, sr))));
        }

        // Where the sample lies in the rings' plane.
        const double px = (u - kPlanetX) / kPlanetRadius, py = (v - kPlanetY) / kPlanetRadius;
        const double along = px * ct + py * st, across = (-px * st + py * ct) / kRingOpen;
        const double e = std::hypot(along, across);
        auto ringAt = [&](double density) {
            // The planet's shadow darkens the rings on the side away from the star.
            const Vec3 p = m * along + f * across;
            const double b = p.dot(light), disc = b * b - (p.dot(p) - 1);
            const double shadow = (disc > 0 && b < 0) ? 0.82 * Smooth(0.0, 0.05, disc) : 0.0;
            col = Mix(col, ringColour(e) * (ringLight * (1 - shadow)), 0.9 * density);
        };
        const double density = RingDensity(e, seed + 3);
        const double rr = px * px + py * py;
        if (across < 0 && density > 0 && rr >= 1) ringAt(density);  // the far side, hidden behind the globe

        if (rr < 1) {
            // A banded globe whose equator lies in the rings' plane.
            const double pz = std::sqrt(1 - rr);
            const Vec3 normal{px, py, pz};
            const double lat = normal.dot(n) + 0.09 * Fbm(px * 3, py * 3, pz * 3, 4, seed + 4);
            const double t = 0.5 + 0.5 * std::sin(lat * kPi * 2.3 + 0.7 * std::sin(lat * 3.1));
            Rgb albedo = bands.at(t) * (0.92 + 0.14 * Fbm(px * 10, py * 2.5, pz * 10, 3, seed + 5));
            const double diffuse = std::max(0.0, normal.dot(light));
            double lit = 0.03 + 0.98 * std::pow(diffuse, 0.8);
            // The rings' shadow across the globe: follow the light back to their plane.
            const double towards = light.dot(n);
            if (std::abs(towards) > 1e-6) {
                const double s = -normal.dot(n) / towards;
                if (s > 0) {
                    const Vec3 hit = normal + light * s;
                    lit *= 1 - 0.75 * RingDensity(std::hypot(hit.dot(m), hit.dot(f)), seed + 3);
                }
            }
            const double rim = std::pow(1 - pz, 2.2);
            col = albedo * lit + Rgb(80, 210, 240) * (0.7 * rim * (0.15 + diffuse));
        } else {
            // A thin lit haze of air around the edge.
            const double over = std::sqrt(rr) - 1;
            if (over < 0.06) {
                const Vec3 edge = Vec3{px, py, 0}.normalized();
                col += Rgb(70, 190, 235) * (0.6 * Smooth(-0.3, 0.6, edge.dot(light)) * std::pow(1 - over / 0.06, 2));
            }
        }
        if (across >= 0 && density > 0) ringAt(density);  // the near side, in front of it
        return col;
    };

    Canvas colour(size, size), cover(size, size);
    colour.render(samples, shade);
    cover.render(samples, [&](double x, double y) { return TileDistance(x / side, y / side) < 0 ? Rgb(255, 255, 255) : Rgb(); });

    // Samples outside the square are black, so the colour sums are already
    // weighted by the coverage: premultiplied light.
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < size; ++x) {
            auto q = [](double value, int limit) { return std::clamp(static_cast<int>(std::lround(value)), 0, limit); };
            const int a = q(cover.at(x, y).r, 255);
            const Rgb& c = colour.at(x, y);
            line[x] = qRgba(q(c.r, a), q(c.g, a), q(c.b, a), a);
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace qv::pictures
