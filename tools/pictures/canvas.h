// Drawing helpers of quorvane-make-pictures: a seeded random generator,
// gradient noise, colour ramps and a floating-point canvas that adds light.
// Everything here is deterministic: the same calls give the same pixels.
#pragma once

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace qv::pictures {

inline constexpr double kPi = 3.14159265358979323846;

// Small fast generator (SplitMix64); std distributions differ between
// standard libraries, this does not.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(unit() * n); }

private:
    std::uint64_t state_;
};

inline std::uint32_t Hash(int x, int y, int z, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h = (h << 11) | (h >> 21);
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

inline int Wrap(int i, int period) {
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

// Gradient (Perlin) noise in three dimensions, about -1..1. A positive
// period makes the noise repeat along x or y after that many lattice cells,
// which is how the star field tiles without a seam.
inline double Noise(double x, double y, double z, std::uint32_t seed, int periodX = 0, int periodY = 0) {
    static constexpr int kGrad[12][3] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1}, {-1, 0, 1},
                                         {1, 0, -1}, {-1, 0, -1}, {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}};
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const int z0 = static_cast<int>(std::floor(z));
    const double fx = x - x0, fy = y - y0, fz = z - z0;
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    auto corner = [&](int dx, int dy, int dz) {
        const std::uint32_t h = Hash(Wrap(x0 + dx, periodX), Wrap(y0 + dy, periodY), z0 + dz, seed) % 12;
        return kGrad[h][0] * (fx - dx) + kGrad[h][1] * (fy - dy) + kGrad[h][2] * (fz - dz);
    };
    const double u = fade(fx), v = fade(fy), w = fade(fz);
    auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
    const double x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), u);
    const double x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), u);
    const double x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), u);
    const double x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w);
}

// Fractal sum of octaves, about -1..1. Periods double with each octave.
inline double Fbm(double x, double y, double z, int octaves, std::uint32_t seed, int periodX = 0, int periodY = 0) {
    double sum = 0, amp = 1, norm = 0, f = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise(x * f, y * f, z * f, seed + 101u * static_cast<std::uint32_t>(o), periodX * static_cast<int>(f),
                           periodY * static_cast<int>(f));
        norm += amp;
        amp *= 0.5;
        f *= 2;
    }
    return sum / norm;
}

inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double Smooth(double e0, double e1, double v) {
    const double t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

struct Rgb {
    double r = 0, g = 0, b = 0;
    Rgb() = default;
    Rgb(double r_, double g_, double b_) : r(r_), g(g_), b(b_) {}
    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator*(double k) const { return {r * k, g * k, b * k}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r / 255.0, g * o.g / 255.0, b * o.b / 255.0}; }
    Rgb& operator+=(const Rgb& o) {
        r += o.r;
        g += o.g;
        b += o.b;
        return *this;
    }
    double luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

inline Rgb Mix(const Rgb& a, const Rgb& b, double t) { return a * (1 - t) + b * t; }

// A colour ramp: stops at rising positions, linear between them.
class Ramp {
public:
    Ramp(std::initializer_list<std::pair<double, Rgb>> stops) : stops_(stops) {}
    Rgb at(double t) const {
        if (t <= stops_.front().first) return stops_.front().second;
        for (std::size_t i = 1; i < stops_.size(); ++i) {
            if (t <= stops_[i].first) {
                const auto& [t0, c0] = stops_[i - 1];
                const auto& [t1, c1] = stops_[i];
                return Mix(c0, c1, (t - t0) / (t1 - t0));
            }
        }
        return stops_.back().second;
    }

private:
    std::vector<std::pair<double, Rgb>> stops_;
};

// Light in 0..255 per channel (more is allowed and clipped on output).
class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h) {}
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb& at(int x, int y) { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    const Rgb& at(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }

    void add(int x, int y, const Rgb& c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) at(x, y) += c;
    }
    // Adds with the picture repeating in both directions.
    void addWrapped(int x, int y, const Rgb& c) { at(Wrap(x, w_), Wrap(y, h_)) += c; }

    // A round glow, Gaussian with the given radius (sigma), peak colour at the centre.
    void glow(double cx, double cy, double sigma, const Rgb& peak, bool wrap = false) {
        const int reach = static_cast<int>(std::ceil(sigma * 3.5));
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int x = static_cast<int>(std::floor(cx)) + dx, y = static_cast<int>(std::floor(cy)) + dy;
                const double ex = x + 0.5 - cx, ey = y + 0.5 - cy;
                const double k = std::exp(-(ex * ex + ey * ey) / (2 * sigma * sigma));
                if (k < 0.002) continue;
                if (wrap) addWrapped(x, y, peak * k);
                else add(x, y, peak * k);
            }
        }
    }

    // Fills every pixel with the mean of n x n samples of shade(x, y), taken in
    // picture coordinates (pixel (0, 0) covers 0..1 x 0..1).
    void render(int n, const std::function<Rgb(double, double)>& shade) {
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                Rgb sum;
                for (int sy = 0; sy < n; ++sy)
                    for (int sx = 0; sx < n; ++sx) sum += shade(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
                at(x, y) += sum * (1.0 / (n * n));
            }
        }
    }

    QImage toImage() const {
        QImage img(w_, h_, QImage::Format_RGB32);
        for (int y = 0; y < h_; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w_; ++x) {
                const Rgb& c = at(x, y);
                auto q = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
                line[x] = qRgb(q(c.r), q(c.g), q(c.b));
            }
        }
        return img;
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

}  // namespace qv::pictures
