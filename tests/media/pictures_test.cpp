// The built-in pictures: every one present with its size, opaque, and showing
// what it is for (a dark star field, glowing stars, shaded planets, rocks,
// fiery explosions, readable captions, a title with a dark place for the
// version line).
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

#include "built_in_pictures.h"

namespace {

struct Required {
    const char* name;
    int width;
    int height;
};

// The set the view loads, with the sizes its layout depends on.
constexpr Required kRequired[] = {
    {"stars", 800, 600},           {"star_yellow", 163, 158},      {"star_blue", 163, 158},
    {"planet1", 60, 60},           {"planet2", 60, 60},            {"planet3", 60, 60},
    {"asteroid_rich", 34, 34},     {"asteroid_spent", 34, 34},     {"blast_small_a", 30, 30},
    {"blast_small_b", 30, 30},     {"blast_large", 60, 60},        {"title", 800, 600},
    {"about", 277, 31},            {"button_cancel", 60, 25},      {"button_start_ship", 65, 25},
    {"button_load_ship", 70, 25},  {"button_build_ship", 70, 25},  {"button_sell_ship", 70, 25},
    {"button_equip_ship", 70, 25}, {"button_unload_ship", 76, 25}, {"button_equip_planet", 80, 24},
    {"button_sell", 70, 25},       {"button_buy", 70, 25},         {"button_hyper_jump", 80, 25},
    {"button_start_missile", 80, 25}, {"button_ok", 50, 25},       {"button_repair_planet", 88, 25},
    {"button_repair_ship", 89, 25},
};

QImage Load(const std::string& name) {
    return QImage(QStringLiteral(":/pictures/%1.png").arg(QString::fromStdString(name)));
}

double Luma(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

// Mean and maximum brightness over a rectangle.
std::pair<double, double> MeanMax(const QImage& img, const QRect& r) {
    double sum = 0, max = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const double l = Luma(img.pixel(x, y));
            sum += l;
            max = std::max(max, l);
        }
    return {sum / (r.width() * r.height()), max};
}

// Brightest of the four corner squares of side n.
double CornerMax(const QImage& img, int n) {
    const int w = img.width(), h = img.height();
    double m = 0;
    for (const QRect& r : {QRect(0, 0, n, n), QRect(w - n, 0, n, n), QRect(0, h - n, n, n), QRect(w - n, h - n, n, n)})
        m = std::max(m, MeanMax(img, r).second);
    return m;
}

template <typename Pred>
int Count(const QImage& img, Pred pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += pred(img.pixel(x, y)) ? 1 : 0;
    return n;
}

// Channel sums over the pixels brighter than a threshold.
struct ChannelMeans {
    double r = 0, g = 0, b = 0;
    int n = 0;
};
ChannelMeans MeansOfLit(const QImage& img, double threshold) {
    ChannelMeans m;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (Luma(c) <= threshold) continue;
            m.r += qRed(c);
            m.g += qGreen(c);
            m.b += qBlue(c);
            ++m.n;
        }
    if (m.n > 0) {
        m.r /= m.n;
        m.g /= m.n;
        m.b /= m.n;
    }
    return m;
}

// Mean brightness of the n brightest pixels.
double BrightestMean(const QImage& img, int n) {
    std::vector<double> l;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) l.push_back(Luma(img.pixel(x, y)));
    std::sort(l.rbegin(), l.rend());
    n = std::min<int>(n, static_cast<int>(l.size()));
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += l[static_cast<std::size_t>(i)];
    return sum / n;
}

}  // namespace

TEST(BuiltInPictures, EveryPictureIsThereOpaqueWithItsSize) {
    for (const Required& r : kRequired) {
        SCOPED_TRACE(r.name);
        const QImage img = Load(r.name);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.width(), r.width);
        EXPECT_EQ(img.height(), r.height);
        // Copied without transparency: every pixel fully opaque.
        EXPECT_EQ(Count(img, [](QRgb c) { return qAlpha(c) != 255; }), 0);
    }
}

TEST(BuiltInPictures, TheTableListsExactlyTheRequiredSet) {
    std::set<std::tuple<std::string, int, int>> required, listed;
    for (const Required& r : kRequired) required.emplace(r.name, r.width, r.height);
    for (const qv::media::PictureEntry& e : qv::media::kBuiltInPictures) listed.emplace(std::string(e.name), e.width, e.height);
    EXPECT_EQ(listed, required);
    EXPECT_EQ(qv::media::kBuiltInPictures.size(), std::size(kRequired));
}

TEST(BuiltInPictures, LoadingGivesRgb32ForPlainCopies) {
    const QImage planet = qv::media::LoadBuiltInPicture("planet2");
    ASSERT_FALSE(planet.isNull());
    EXPECT_EQ(planet.format(), QImage::Format_RGB32);
    EXPECT_EQ(planet, Load("planet2").convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(qv::media::LoadBuiltInPicture("planet4").isNull());
    EXPECT_TRUE(qv::media::LoadBuiltInPicture("").isNull());
}

TEST(MapPictures, StarFieldHasManyStarsButStaysDark) {
    const QImage img = Load("stars");
    const int total = img.width() * img.height();
    const int lit = Count(img, [](QRgb c) { return Luma(c) > 60; });
    const int dark = Count(img, [](QRgb c) { return Luma(c) < 30; });
    EXPECT_GT(lit, 1500);                // many stars
    EXPECT_GT(dark, total * 95 / 100);   // on a dark sky
    EXPECT_LT(MeanMax(img, img.rect()).first, 15.0);
    // A few bright coloured ones among the white.
    const int coloured = Count(img, [](QRgb c) {
        const int hi = std::max({qRed(c), qGreen(c), qBlue(c)}), lo = std::min({qRed(c), qGreen(c), qBlue(c)});
        return hi > 150 && hi - lo > 60;
    });
    EXPECT_GT(coloured, 10);
}

TEST(MapPictures, StarsGlowFromTheCentreInTheirColour) {
    for (const bool blue : {false, true}) {
        SCOPED_TRACE(blue ? "star_blue" : "star_yellow");
        const QImage img = Load(blue ? "star_blue" : "star_yellow");
        // The map puts the picture's (80, 80) on the star's position.
        const auto [centre, centreMax] = MeanMax(img, QRect(70, 70, 21, 21));
        EXPECT_GT(centre, 190.0);
        EXPECT_LT(CornerMax(img, 12), 4.0);
        // Brightness falls from the middle outwards.
        const double inner = MeanMax(img, QRect(100, 75, 10, 10)).first;  // on the disc
        const double rim = MeanMax(img, QRect(125, 75, 8, 10)).first;     // in the flames
        const double outer = MeanMax(img, QRect(150, 75, 8, 10)).first;   // beyond them
        EXPECT_GT(centre, inner);
        EXPECT_GT(inner, rim);
        EXPECT_GT(rim, outer);
        EXPECT_GT(rim, 25.0);
        // The flame rim's colour: orange for the yellow star, cyan-blue for the blue one.
        const ChannelMeans m = MeansOfLit(img.copy(QRect(0, 0, 163, 40)), 20);
        ASSERT_GT(m.n, 50);
        if (blue) EXPECT_GT(m.b, m.r + 60);
        else EXPECT_GT(m.r, m.b + 60);
    }
}

TEST(MapPictures, PlanetsAreShadedSpheresOnBlack) {
    for (const char* name : {"planet1", "planet2", "planet3"}) {
        SCOPED_TRACE(name);
        const QImage img = Load(name);
        EXPECT_LT(CornerMax(img, 6), 3.0);
        EXPECT_GT(MeanMax(img, QRect(22, 22, 16, 16)).first, 50.0);
        // Lit from the upper left: that side is brighter than the lower right.
        const double litSide = MeanMax(img, QRect(12, 14, 10, 10)).first;
        const double darkSide = MeanMax(img, QRect(38, 36, 10, 10)).first;
        EXPECT_GT(litSide, darkSide + 40);
        // Round: the disc covers about pi r^2 of the 3600 pixels.
        const int disc = Count(img, [](QRgb c) { return Luma(c) > 4; });
        EXPECT_GT(disc, 1900);
        EXPECT_LT(disc, 2700);
        // Surface detail: the lit side is not one flat colour.
        std::set<QRgb> colours;
        for (int y = 12; y < 30; ++y)
            for (int x = 12; x < 30; ++x) colours.insert(img.pixel(x, y));
        EXPECT_GT(colours.size(), 100u);
    }
    const ChannelMeans white = MeansOfLit(Load("planet1"), 40);
    EXPECT_LT(std::max({white.r, white.g, white.b}) - std::min({white.r, white.g, white.b}), 15.0);
    const int cyan = Count(Load("planet2"), [](QRgb c) { return qGreen(c) > qRed(c) + 50 && qBlue(c) > qRed(c) + 50; });
    EXPECT_GT(cyan, 400);
    const int grey = Count(Load("planet2"), [](QRgb c) {
        return Luma(c) > 60 && std::abs(qRed(c) - qBlue(c)) < 20 && std::abs(qRed(c) - qGreen(c)) < 20;
    });
    EXPECT_GT(grey, 100);
    const ChannelMeans brown = MeansOfLit(Load("planet3"), 40);
    EXPECT_GT(brown.r, brown.b + 20);
}

TEST(MapPictures, AsteroidsAreDarkAndPaleRocks) {
    const QImage rich = Load("asteroid_rich"), spent = Load("asteroid_spent");
    for (const QImage* img : {&rich, &spent}) {
        EXPECT_LT(CornerMax(*img, 4), 3.0);
        const int rock = Count(*img, [](QRgb c) { return Luma(c) > 6; });
        EXPECT_GT(rock, 250);   // a rock of a good size
        EXPECT_LT(rock, 1000);  // not a filled square
        // Shading: clearly lit and clearly shadowed parts.
        EXPECT_GT(Count(*img, [](QRgb c) { return Luma(c) > 100; }), 20);
    }
    // Compared on their sunlit parts: the rich rock dark, the spent one pale
    // and sandy.
    const double dark = BrightestMean(rich, 120), pale = BrightestMean(spent, 120);
    EXPECT_LT(dark, 140.0);
    EXPECT_GT(pale, 170.0);
    const ChannelMeans sand = MeansOfLit(spent, 100);
    EXPECT_GT(sand.r, sand.b + 40);
    EXPECT_NE(rich, spent);
}

TEST(MapPictures, ExplosionsAreFieryAndDifferInPhase) {
    const auto hot = [](QRgb c) {
        return qRed(c) > 180 && qRed(c) >= qGreen(c) && qGreen(c) >= qBlue(c) && qRed(c) - qBlue(c) > 80;
    };
    const QImage a = Load("blast_small_a"), b = Load("blast_small_b"), large = Load("blast_large");
    EXPECT_GT(Count(a, hot), 60);
    EXPECT_GT(Count(b, hot), 60);
    EXPECT_GT(Count(large, hot), 250);
    for (const QImage* img : {&a, &b, &large}) EXPECT_LT(CornerMax(*img, 3), 20.0);
    // The first picture is a white-hot flash; the second a cooler cloud.
    EXPECT_GT(MeanMax(a, QRect(12, 12, 6, 6)).first, 230.0);
    EXPECT_LT(MeanMax(b, QRect(12, 12, 6, 6)).first, MeanMax(a, QRect(12, 12, 6, 6)).first - 40);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    EXPECT_GT(differing, 200);
    EXPECT_GT(MeanMax(large, QRect(25, 25, 10, 10)).first, 220.0);
}

TEST(LetteringPictures, ButtonCaptionsAreDarkBlueOnLightGrey) {
    for (const Required& r : kRequired) {
        if (std::string(r.name).rfind("button_", 0) != 0) continue;
        SCOPED_TRACE(r.name);
        const QImage img = Load(r.name);
        for (const QPoint p : {QPoint(0, 0), QPoint(r.width - 1, 0), QPoint(0, r.height - 1), QPoint(r.width - 1, r.height - 1)}) {
            const QRgb c = img.pixel(p);
            EXPECT_GT(std::min({qRed(c), qGreen(c), qBlue(c)}), 180);
            EXPECT_LT(std::abs(qRed(c) - qBlue(c)), 20);
        }
        // The lettering: dark blue pixels, inside the picture, about centred.
        int n = 0, left = r.width, right = -1, top = r.height, bottom = -1;
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                const QRgb c = img.pixel(x, y);
                if (!(Luma(c) < 90 && qBlue(c) > qRed(c) + 40)) continue;
                ++n;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        EXPECT_GT(n, 12);
        EXPECT_GT(left, 0);
        EXPECT_LT(right, r.width - 1);
        EXPECT_GT(top, 2);
        EXPECT_LT(bottom, r.height - 3);
        EXPECT_NEAR((left + right) / 2.0, (r.width - 1) / 2.0, 3.0);
    }
}

TEST(LetteringPictures, AboutLetteringOnGrey) {
    const QImage img = Load("about");
    for (const QPoint p : {QPoint(0, 0), QPoint(276, 0), QPoint(0, 30), QPoint(276, 30)}) {
        const QRgb c = img.pixel(p);
        EXPECT_NEAR(qRed(c), 192, 16);
        EXPECT_EQ(qRed(c), qGreen(c));
        EXPECT_EQ(qGreen(c), qBlue(c));
    }
    EXPECT_GT(Count(img, [](QRgb c) { return Luma(c) < 90; }), 300);
}

TEST(LetteringPictures, TitleHasStarsLetteringAndADarkPlaceForTheVersion) {
    const QImage img = Load("title");
    // Where "Version - 1.11" is written in white.
    const auto [versionMean, versionMax] = MeanMax(img, QRect(340, 175, 121, 21));
    EXPECT_LT(versionMean, 25.0);
    EXPECT_LT(versionMax, 120.0);
    // Golden lettering in the upper part.
    const int gold = Count(img.copy(0, 30, 800, 160), [](QRgb c) {
        return qRed(c) > 200 && qGreen(c) > 110 && qBlue(c) < qGreen(c) - 40;
    });
    EXPECT_GT(gold, 4000);
    // A star field in the middle band, mostly dark.
    const QImage band = img.copy(0, 220, 800, 200);
    EXPECT_GT(Count(band, [](QRgb c) { return Luma(c) > 60; }), 300);
    EXPECT_LT(MeanMax(band, band.rect()).first, 40.0);
    // The lens flare's sun is the brightest spot, below the middle.
    EXPECT_GT(MeanMax(img, QRect(550, 475, 20, 16)).first, 240.0);
}
