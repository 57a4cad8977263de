// The map pictures: star field, the two stars, three planets, two asteroids
// and the explosions. Each is shaded pixel by pixel from noise and simple
// lighting, with a fixed seed per picture.
#include <array>
#include <cmath>

#include "pictures.h"

namespace qv::pictures {

namespace {

struct Vec3 {
    double x, y, z;
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 normalized() const {
        const double l = std::sqrt(dot(*this));
        return l > 0 ? *this * (1 / l) : *this;
    }
};

// Sunlight for planets and asteroids comes from the upper left.
const Vec3 kLight = Vec3{-0.72, -0.5, 0.48}.normalized();

}  // namespace

// ---------------------------------------------------------------- star field

Canvas StarFieldCanvas(int width, int height, std::uint64_t seed, double nebula) {
    Canvas c(width, height);
    Rng rng(seed);
    const auto nebulaSeed = static_cast<std::uint32_t>(rng.next());

    // Faint nebula: noise with a period of whole picture widths, so that the
    // picture tiles. Cells of 200 pixels.
    const int cellsX = std::max(1, width / 200), cellsY = std::max(1, height / 200);
    if (nebula > 0) {
        c.render(1, [&](double x, double y) {
            const double u = x / width * cellsX, v = y / height * cellsY;
            const double n = Fbm(u, v, 0.31, 6, nebulaSeed, cellsX, cellsY);
            const double density = std::pow(Smooth(-0.05, 0.6, n), 1.6);
            const double hue = Smooth(-0.35, 0.35, Fbm(u, v, 2.73, 3, nebulaSeed + 17, cellsX, cellsY));
            const double wisps = 0.6 + 0.4 * Smooth(-0.3, 0.5, Fbm(u * 2, v * 2, 5.1, 4, nebulaSeed + 29, cellsX * 2, cellsY * 2));
            const Rgb tint = Mix(Rgb(16, 28, 78), Rgb(62, 18, 70), hue);
            return tint * (nebula * density * wisps);
        });
    }

    auto tint = [&rng]() {
        switch (rng.below(6)) {
            case 0: return Rgb(0.78, 0.87, 1.0);
            case 1: return Rgb(1.0, 0.9, 0.74);
            case 2: return Rgb(1.0, 0.8, 0.72);
            default: return Rgb(0.95, 0.96, 1.0);
        }
    };
    const double area = static_cast<double>(width) * height / (800.0 * 600.0);

    // Many faint stars, most of them barely there.
    const int faint = static_cast<int>(2600 * area);
    for (int i = 0; i < faint; ++i) {
        const double x = rng.range(0, width), y = rng.range(0, height);
        const double u = rng.unit();
        const double b = 28 + 150 * u * u * u * u;
        const Rgb col = tint() * b;
        if (b > 110) c.glow(x, y, 0.55, col * 1.3, true);
        else c.addWrapped(static_cast<int>(x), static_cast<int>(y), col);
    }
    // Fewer brighter ones with a small halo.
    const int medium = static_cast<int>(150 * area);
    for (int i = 0; i < medium; ++i) {
        const double x = rng.range(0, width), y = rng.range(0, height);
        const Rgb col = tint() * rng.range(170, 300);
        c.glow(x, y, 0.7, col, true);
        c.glow(x, y, 1.8, col * 0.06, true);
    }
    // A dozen bright coloured stars with a halo and four short spikes.
    static const std::array<Rgb, 6> kBright = {Rgb(165, 195, 255), Rgb(255, 205, 140), Rgb(255, 150, 120),
                                               Rgb(150, 250, 240), Rgb(255, 245, 195), Rgb(215, 170, 255)};
    const int bright = static_cast<int>(13 * area);
    for (int i = 0; i < bright; ++i) {
        const double x = std::floor(rng.range(0, width)) + 0.5, y = std::floor(rng.range(0, height)) + 0.5;
        const Rgb col = kBright[static_cast<std::size_t>(rng.below(static_cast<int>(kBright.size())))];
        const double size = rng.range(0.8, 1.3);
        c.glow(x, y, 0.85 * size, col * 1.6, true);
        c.glow(x, y, 3.2 * size, col * 0.16, true);
        const int spike = static_cast<int>(5 + 6 * size);
        for (int d = 2; d <= spike; ++d) {
            const double k = 0.55 * std::pow(1.0 - static_cast<double>(d) / (spike + 1), 2.0);
            const int ix = static_cast<int>(x), iy = static_cast<int>(y);
            c.addWrapped(ix + d, iy, col * k);
            c.addWrapped(ix - d, iy, col * k);
            c.addWrapped(ix, iy + d, col * k);
            c.addWrapped(ix, iy - d, col * k);
        }
    }
    return c;
}

QImage StarField() { return StarFieldCanvas(800, 600, 0x5EED0001, 0.7).toImage(); }

// -------------------------------------------------------------- glowing star

QImage GlowingStar(bool blue) {
    const Ramp yellow{{0.0, Rgb(0, 0, 0)},        {0.14, Rgb(70, 10, 0)},     {0.34, Rgb(180, 45, 0)},
                      {0.52, Rgb(242, 112, 10)},  {0.68, Rgb(255, 175, 35)},  {0.82, Rgb(255, 225, 110)},
                      {1.0, Rgb(255, 255, 235)}};
    const Ramp cyan{{0.0, Rgb(0, 0, 0)},       {0.14, Rgb(0, 14, 70)},      {0.34, Rgb(0, 80, 200)},
                    {0.52, Rgb(20, 185, 255)}, {0.68, Rgb(105, 232, 255)},  {0.82, Rgb(185, 246, 255)},
                    {1.0, Rgb(245, 255, 255)}};
    const Ramp& ramp = blue ? cyan : yellow;
    const std::uint32_t seed = blue ? 0x0B1E0002u : 0x5E110003u;
    const double cx = 80, cy = 80, radius = 38;

    Canvas c(163, 158);
    c.render(3, [&](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        const double r = std::hypot(dx, dy);
        double heat;
        if (r < radius) {
            // The disc: hot centre, darker limb, boiling granules and a few
            // darker patches.
            const double mu = std::sqrt(1 - (r / radius) * (r / radius));
            const double granules = Fbm(dx / 4.5, dy / 4.5, 1.3, 4, seed);
            const double patches = Smooth(-0.25, -0.5, Fbm(dx / 16, dy / 16, 7.7, 3, seed + 5));
            heat = 0.6 + 0.31 * mu + 0.08 * granules - 0.12 * patches * mu;
        } else {
            // The flame rim: tongues of fire whose length changes around the
            // disc and whose pattern changes with the distance.
            const double q = (r - radius) / radius;
            const double ca = dx / r, sa = dy / r;
            const double tongue = 0.5 + 0.9 * Fbm(ca * 3.2 + 10, sa * 3.2 + 10, q * 3.0, 4, seed + 1);
            const double length = 0.14 + 0.36 * Smooth(-0.45, 0.45, Fbm(ca * 2.1, sa * 2.1, 5.0, 3, seed + 2));
            const double flame = std::exp(-q / length) * (0.4 + 0.8 * tongue);
            const double halo = 0.14 * std::exp(-q * 3.5);
            heat = (0.62 * flame + halo) * (1 - Smooth(radius * 1.55, radius * 1.95, r));
        }
        return ramp.at(Clamp01(heat));
    });
    return c.toImage();
}

// ------------------------------------------------------------------- planets

QImage Planet(int picture) {
    const double cx = 30, cy = 30, radius = 27.2;
    const std::uint32_t seed = 0x91A0E700u + static_cast<std::uint32_t>(picture);
    // The globe turns a little towards the viewer so that its features are
    // not all centred; tilt about the x axis, then a turn about y.
    const double tilt = 0.35 + 0.1 * picture, spin = 0.9 * picture;

    Canvas c(60, 60);
    c.render(4, [&](double x, double y) {
        const double nx = (x - cx) / radius, ny = (y - cy) / radius;
        const double rr = nx * nx + ny * ny;
        if (rr >= 1) {
            // A thin lit haze outside the edge for the worlds with air.
            if (picture == 1) return Rgb();
            const double over = std::sqrt(rr) - 1;
            if (over > 0.09) return Rgb();
            const Vec3 n = Vec3{nx, ny, 0}.normalized();
            const double lit = Smooth(-0.3, 0.6, n.dot(kLight));
            const Rgb haze = picture == 2 ? Rgb(70, 190, 230) : Rgb(190, 150, 110);
            return haze * (0.55 * lit * std::pow(1 - over / 0.09, 2));
        }
        const double nz = std::sqrt(1 - rr);
        const Vec3 n{nx, ny, nz};
        // Surface point in the globe's own frame.
        const double y1 = ny * std::cos(tilt) - nz * std::sin(tilt);
        const double z1 = ny * std::sin(tilt) + nz * std::cos(tilt);
        const Vec3 p{nx * std::cos(spin) + z1 * std::sin(spin), y1, -nx * std::sin(spin) + z1 * std::cos(spin)};

        const double diffuse = std::max(0.0, n.dot(kLight));
        const double light = 0.035 + 0.98 * std::pow(diffuse, 0.8);
        const double rim = std::pow(1 - nz, 2.2);
        Rgb albedo;
        Rgb extra;
        if (picture == 1) {
            // White and grey: cratered grey ground under swirling white cloud.
            const double ground = Fbm(p.x * 2.4, p.y * 2.4, p.z * 2.4, 5, seed);
            const double pits = Smooth(0.15, 0.35, Fbm(p.x * 6, p.y * 6, p.z * 6, 2, seed + 3));
            Rgb rock = Mix(Rgb(92, 94, 100), Rgb(178, 178, 182), Smooth(-0.5, 0.5, ground));
            rock = rock * (1 - 0.25 * pits);
            const double warp = 0.9 * Fbm(p.x * 2, p.y * 2, p.z * 2, 3, seed + 7);
            const double cloud = Smooth(0.0, 0.32, Fbm(p.x * 2.2 + warp, p.y * 5.0, p.z * 2.2 - warp, 5, seed + 11));
            albedo = Mix(rock, Rgb(250, 251, 255), cloud);
            extra = Rgb(200, 215, 240) * (0.35 * rim * diffuse);
        } else if (picture == 2) {
            // Grey with cyan: cyan seas around grey land, a glint on the water
            // and a cyan rim of air.
            const double height = Fbm(p.x * 1.7, p.y * 1.7, p.z * 1.7, 6, seed);
            const double land = Smooth(0.04, 0.09, height);
            const Rgb sea = Mix(Rgb(8, 96, 140), Rgb(30, 185, 210), Smooth(-0.5, 0.05, height));
            const Rgb ground = Mix(Rgb(118, 120, 124), Rgb(188, 188, 190), Smooth(0.05, 0.5, height)) *
                               (0.85 + 0.25 * Fbm(p.x * 8, p.y * 8, p.z * 8, 2, seed + 5));
            albedo = Mix(sea, ground, land);
            const Vec3 half = (kLight + Vec3{0, 0, 1}).normalized();
            const double glint = std::pow(std::max(0.0, n.dot(half)), 28) * (1 - land);
            extra = Rgb(210, 250, 255) * (0.75 * glint) + Rgb(60, 205, 235) * (0.75 * rim * (0.2 + diffuse));
        } else {
            // Brown and grey: a banded world with a storm.
            const double warp = 0.45 * Fbm(p.x * 2.5, p.y * 2.5, p.z * 2.5, 4, seed + 3);
            const double lat = p.y * 3.4 + warp;
            static const Ramp bands{{0.0, Rgb(96, 62, 36)},    {0.25, Rgb(160, 112, 70)}, {0.45, Rgb(138, 132, 126)},
                                    {0.62, Rgb(186, 150, 108)}, {0.8, Rgb(112, 80, 52)},   {1.0, Rgb(150, 144, 138)}};
            const double t = 0.5 + 0.5 * std::sin(lat * kPi * 1.3 + 0.8 * std::sin(lat * 2.1));
            albedo = bands.at(t) * (0.9 + 0.18 * Fbm(p.x * 9, p.y * 2, p.z * 9, 3, seed + 9));
            const Vec3 storm = Vec3{0.45, 0.35, 0.82}.normalized();
            const double sd = (p - storm).dot(p - storm);
            albedo = Mix(albedo, Rgb(200, 120, 70), 0.8 * std::exp(-sd / 0.012));
            extra = Rgb(200, 160, 120) * (0.25 * rim * diffuse);
        }
        return albedo * light + extra;
    });
    return c.toImage();
}

// ----------------------------------------------------------------- asteroids

QImage Asteroid(bool spent) {
    Rng rng(spent ? 0xA57E0011 : 0xA57E0005);
    const double cx = 17, cy = 17;
    const auto seed = static_cast<std::uint32_t>(rng.next());

    // The outline: a lumpy circle from a few harmonics.
    struct Harmonic {
        int k;
        double amp, phase;
    };
    std::vector<Harmonic> harmonics;
    static constexpr double kAmp[] = {2.0, 1.1, 0.6, 0.3};
    for (int k = 2; k <= 5; ++k) harmonics.push_back({k, kAmp[k - 2] * rng.range(0.75, 1.2), rng.range(0, 2 * kPi)});
    auto outline = [&](double ca, double sa) {
        const double theta = std::atan2(sa, ca);
        double r = 12.0;
        for (const Harmonic& h : harmonics) r += h.amp * std::cos(h.k * theta + h.phase);
        r += 0.8 * Noise(ca * 1.6 + 4, sa * 1.6 + 4, 0.5, seed);
        return std::clamp(r, 8.5, 15.6);
    };
    struct Crater {
        double x, y, r, depth;
    };
    std::vector<Crater> craters;
    while (craters.size() < 7) {
        const bool big = craters.size() < 3;
        const double a = rng.range(0, 2 * kPi), d = rng.range(0, 9.5);
        const Crater cr{cx + d * std::cos(a), cy + d * std::sin(a), big ? rng.range(3.0, 4.5) : rng.range(1.5, 2.2),
                        rng.range(0.55, 0.8)};
        if (std::hypot(cr.x - cx, cr.y - cy) + cr.r * 0.5 < outline(std::cos(a), std::sin(a))) craters.push_back(cr);
    }
    auto height = [&](double x, double y) {
        const double dx = x - cx, dy = y - cy, r = std::hypot(dx, dy);
        const double edge = r > 0 ? outline(dx / r, dy / r) : outline(1, 0);
        const double rho = r / edge;
        if (rho >= 1) return -1.0;
        double h = std::sqrt(1 - rho * rho) * edge * 0.85;
        for (const Crater& cr : craters) {
            const double d = std::hypot(x - cr.x, y - cr.y) / cr.r;
            if (d < 1) h -= cr.depth * cr.r * (1 - d * d);
            h += cr.depth * cr.r * 0.35 * std::exp(-(d - 1) * (d - 1) / 0.06);
        }
        return h + 1.6 * Noise(x / 6.0, y / 6.0, 0.2, seed + 1) + 0.35 * Fbm(x / 1.8, y / 1.8, 0.7, 2, seed + 6);
    };

    const Rgb base = spent ? Rgb(232, 206, 156) : Rgb(128, 114, 102);
    Canvas c(34, 34);
    c.render(4, [&](double x, double y) {
        const double h = height(x, y);
        if (h < 0) return Rgb();
        const double e = 0.35;
        auto hs = [&](double sx, double sy) {
            const double v = height(sx, sy);
            return v < 0 ? 0.0 : v;
        };
        const Vec3 n = Vec3{-(hs(x + e, y) - hs(x - e, y)) / (2 * e), -(hs(x, y + e) - hs(x, y - e)) / (2 * e), 1}.normalized();
        const double diffuse = std::max(0.0, n.dot(kLight));
        const double mottle = 0.82 + 0.25 * Fbm(x / 2.2, y / 2.2, 3.3, 3, seed + 2);
        Rgb col = base * (mottle * (0.06 + 1.25 * std::pow(diffuse, 1.1)));
        if (!spent) {
            // A few glints of ore in the rich rock.
            const double ore = Smooth(0.42, 0.55, Noise(x / 1.6, y / 1.6, 9.1, seed + 3));
            col += Rgb(230, 190, 90) * (ore * (0.15 + 0.6 * diffuse));
        }
        return col;
    });
    return c.toImage();
}

// ---------------------------------------------------------------- explosions

QImage Blast(BlastKind kind) {
    static const Ramp fire{{0.0, Rgb(0, 0, 0)},        {0.12, Rgb(55, 6, 0)},     {0.3, Rgb(160, 28, 0)},
                           {0.48, Rgb(232, 82, 6)},    {0.66, Rgb(255, 150, 22)}, {0.8, Rgb(255, 212, 80)},
                           {0.92, Rgb(255, 246, 185)}, {1.0, Rgb(255, 255, 255)}};
    struct Look {
        int size;
        int blobs;
        double blobRadiusLo, blobRadiusHi, spread;  // fire balls around the centre
        double coreSigma, coreHeat;                   // the white-hot middle
        double heatScale, swirl, smoke;               // overall heat, turbulence, dark smoke
        double shell, shellRadius;                    // how much the fire is a ring, and its radius
        int sparks;
        double sparkLo, sparkHi;
        std::uint64_t seed;
    };
    Look look;
    switch (kind) {
        case BlastKind::SmallA: look = {30, 6, 4.5, 6.5, 3.5, 3.4, 0.6, 1.0, 1.3, 0.0, 0.0, 0.0, 10, 8.5, 13.0, 0xB1A5A}; break;
        case BlastKind::SmallB: look = {30, 14, 3.5, 5.8, 8.0, 2.2, 0.1, 1.05, 2.4, 0.45, 0.6, 8.0, 16, 10.5, 13.8, 0xB4A5B}; break;
        case BlastKind::Large: look = {60, 12, 8.0, 13.5, 11.5, 8.0, 0.55, 1.0, 2.6, 0.25, 0.0, 0.0, 26, 19.0, 28.0, 0xB1A5C}; break;
    }
    Rng rng(look.seed);
    const auto seed = static_cast<std::uint32_t>(rng.next());
    const double cx = look.size / 2.0, cy = look.size / 2.0;
    const double maxR = look.size / 2.0 - 1.0;

    struct Blob {
        double x, y, r;
    };
    std::vector<Blob> blobs;
    for (int i = 0; i < look.blobs; ++i) {
        const double a = rng.range(0, 2 * kPi), d = look.spread * std::sqrt(rng.unit());
        blobs.push_back({cx + d * std::cos(a), cy + d * std::sin(a), rng.range(look.blobRadiusLo, look.blobRadiusHi)});
    }
    const double scale = look.size / 30.0;

    Canvas c(look.size, look.size);
    c.render(3, [&](double x, double y) {
        // Turbulence bends the sample point, which makes the balls billow.
        const double wx = x + look.swirl * Noise(x / (3.2 * scale), y / (3.2 * scale), 0.5, seed);
        const double wy = y + look.swirl * Noise(x / (3.2 * scale), y / (3.2 * scale), 7.5, seed + 1);
        double field = 0;
        for (const Blob& b : blobs) {
            const double d = std::hypot(wx - b.x, wy - b.y) / b.r;
            if (d < 1) field += (1 - d * d) * (1 - d * d);
        }
        field = 1 - std::exp(-1.6 * field);
        const double r = std::hypot(x - cx, y - cy);
        const double grain = Fbm(x / (2.2 * scale), y / (2.2 * scale), 3.1, 3, seed + 2);
        const double core = look.coreHeat * std::exp(-r * r / (2 * look.coreSigma * look.coreSigma));
        const double shellAt = look.shellRadius * scale * (1 + 0.3 * Noise(x / (5 * scale), y / (5 * scale), 4.4, seed + 3));
        const double ring = std::exp(-(r - shellAt) * (r - shellAt) / (30.0 * scale * scale));
        double heat = look.heatScale * field * (0.78 + 0.35 * grain) * (1 - look.shell + look.shell * ring) + core;
        heat *= 1 - Smooth(maxR - 2.5 * scale, maxR, r);
        Rgb col = fire.at(Clamp01(heat));
        if (look.smoke > 0) {
            // Cooling soot darkens the outer, cooler parts of the fire.
            const double soot = look.smoke * Smooth(0.1, 0.6, Fbm(x / (4 * scale), y / (4 * scale), 9.9, 3, seed + 4)) *
                                (1 - Smooth(0.45, 0.8, heat));
            col = col * (1 - soot) + Rgb(40, 30, 26) * (soot * Smooth(0.05, 0.25, heat));
        }
        return col;
    });
    // Flying sparks: short bright streaks pointing away from the centre.
    for (int i = 0; i < look.sparks; ++i) {
        const double a = rng.range(0, 2 * kPi);
        const double d = rng.range(look.sparkLo, look.sparkHi);
        const double len = rng.range(1.0, 3.2) * scale;
        const Rgb col = rng.unit() < 0.5 ? Rgb(255, 205, 90) : Rgb(255, 125, 20);
        for (double t = 0; t <= len; t += 0.5) {
            const double rr = std::min(d - t, maxR - 0.5);
            c.add(static_cast<int>(cx + rr * std::cos(a)), static_cast<int>(cy + rr * std::sin(a)),
                  col * (0.85 * (1 - 0.6 * t / len)));
        }
    }
    return c.toImage();
}

}  // namespace qv::pictures
