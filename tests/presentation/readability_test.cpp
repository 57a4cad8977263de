// What the map shows must read over the star field: pictures, status line and hover panels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/globals.h"
#include "model/world_generation.h"
#include "presentation/map_painter.h"
#include "presentation/raster.h"
#include "presentation/text_layers.h"

namespace qv {
namespace {

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Over a light field a picture leaves its black corners to the field and keeps its brightest pixel and, for
// planets and asteroids, its darkest within 6 of the middle (the night side); over black it is drawn as painted.
TEST(MapPictures, ShowOnlyTheirBodyOverTheStarField) {
    const PictureSet set = PictureSet::Load();
    constexpr QRgb kField = qRgb(170, 190, 230);
    for (int i = static_cast<int>(PictureRole::StarYellow); i <= static_cast<int>(PictureRole::BlastLarge); ++i) {
        const auto role = static_cast<PictureRole>(i);
        const QImage painted = QImage(PictureSet::ResourcePath(role)).convertToFormat(QImage::Format_RGB32);
        const int w = painted.width(), h = painted.height();
        QImage light = Solid(w + 20, h + 20, kField), black = Solid(w + 20, h + 20, qRgb(0, 0, 0));
        raster::Surface(light).blit(set.get(role), 10, 10);
        raster::Surface(black).blit(set.get(role), 10, 10);
        SCOPED_TRACE(InfoOf(role).name);
        EXPECT_EQ(black.copy(10, 10, w, h), painted);
        for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(light.pixel(corner + QPoint(10, 10)), kField);
        const auto sum = [&](QPoint p) { return qGray(painted.pixel(p)); };
        QPoint brightest, darkest(w / 2, h / 2);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (sum({x, y}) > sum(brightest)) brightest = {x, y};
                if (std::hypot(x - w / 2, y - h / 2) <= 6 && sum({x, y}) < sum(darkest)) darkest = {x, y};
            }
        EXPECT_EQ(light.pixel(brightest + QPoint(10, 10)), painted.pixel(brightest));
        const bool body = role >= PictureRole::Planet1 && role <= PictureRole::AsteroidSpent;
        EXPECT_TRUE(!body || light.pixel(darkest + QPoint(10, 10)) == painted.pixel(darkest)) << sum(darkest);
    }
}

// Texts at (x, top), white on black, in the map's font.
QImage Lettering(int width, int height, int top, std::initializer_list<std::pair<int, QString>> texts) {
    QImage image = Solid(width, height, qRgb(0, 0, 0));
    QPainter p(&image);
    p.setFont(MapFont());
    p.setPen(Qt::white);
    for (const auto& [x, text] : texts) p.drawText(x, top + QFontMetrics(MapFont()).ascent(), text);
    return image;
}

// The contrast ratio between the middle luminance of the letters (pixels they cover for 7/8 and more) and
// of the ring around them (untouched pixels next to a covered one).
double LetterContrast(const QImage& frame, const QImage& letters) {
    auto luminance = [](QRgb c) {
        auto lin = [](int v) { return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
    };
    auto covered = [&](int x, int y) { return letters.rect().contains(x, y) && qRed(letters.pixel(x, y)) >= 224; };
    std::vector<double> inside, ring;
    for (int y = 0; y < letters.height(); ++y)
        for (int x = 0; x < letters.width(); ++x)
            if (covered(x, y)) inside.push_back(luminance(frame.pixel(x, y)));
            else if (qRed(letters.pixel(x, y)) == 0 &&
                     (covered(x - 1, y) || covered(x + 1, y) || covered(x, y - 1) || covered(x, y + 1)))
                ring.push_back(luminance(frame.pixel(x, y)));
    std::ranges::sort(inside), std::ranges::sort(ring);
    const double a = inside[inside.size() / 2], b = ring[ring.size() / 2];
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The status line in every player colour, and a white panel, stand out by 4.5 : 1 on dark and light ground.
TEST(MapTexts, ReadInEveryPlayerColourOnLightAndDarkGround) {
    ResetGlobals();
    Player human;
    Planet planet;
    std::tie(human.gold, human.planetCount, human.shipCount, planet.shieldPoints) = std::tuple(2000, 3, 12, 500);
    const QImage status = Lettering(
        320, 30, 5, {{5, "Gold:"}, {50, "2000"}, {110, "Planets:"}, {170, "3"}, {200, "Ships:"}, {255, "12"}});
    const QImage panel = Lettering(800, 230, 200, {{650, "Shield Points:"}, {750, "500"}});
    for (const QRgb ground : {qRgb(12, 8, 30), qRgb(240, 236, 220)}) {
        PictureSet pictures;
        pictures.set(PictureRole::Stars, Solid(800, 600, ground));
        MapPainter painter(pictures);
        g_players = &human;
        for (const Colour colour : kPlayerColours) {
            human.colour = colour;
            painter.compose(FrameKind::Idle, {});
            EXPECT_GE(LetterContrast(painter.backBuffer(), status), 4.5) << std::hex << colour << " on " << ground;
        }
        std::tie(g_players, g_hoverPlanet) = std::tuple(nullptr, &planet);
        painter.compose(FrameKind::Idle, {});
        EXPECT_GE(LetterContrast(painter.backBuffer(), panel), 4.5) << "panel on " << std::hex << ground;
        g_hoverPlanet = nullptr;
    }
}

// The columns with ink in rows top .. top + 15.
std::vector<int> LitColumns(const QImage& frame, int top) {
    std::vector<int> lit;
    for (int x = 0; x < frame.width(); ++x)
        for (int y = top; y < top + 16 && (lit.empty() || lit.back() != x); ++y)
            if (frame.pixel(x, y) != qRgb(0, 0, 0)) lit.push_back(x);
    return lit;
}

// A hovered planet of each shipped race shows its race's name whole, the panel moved left as one inside the
// view; a modder's over-long name shows its start as written, ending in "…".
TEST(MapTexts, PanelNamesShowWholeInsideTheView) {
    ResetGlobals();
    const QString modded = QStringLiteral("The Most Serene Concord of the Outer Nebulae");
    QStringList names{modded};
    const QDir races(QStringLiteral(QUORVANE_FRAMES "/../../../data/races"));
    for (const QString& file : races.entryList({"*.json"})) {
        QFile f(races.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        names << QJsonDocument::fromJson(f.readAll()).object().value("name").toString();
    }
    ASSERT_EQ(names.size(), 5);
    PictureSet pictures;
    pictures.set(PictureRole::Stars, Solid(800, 600, qRgb(0, 0, 0)));
    MapPainter painter(pictures);
    Race race;
    Player owner;
    Planet planet;
    std::tie(owner.race, planet.owner, planet.shieldPoints, g_hoverPlanet) = std::tuple(&race, &owner, 500, &planet);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        race.name = name.toStdString();
        painter.compose(FrameKind::Idle, {});
        const QImage& frame = painter.backBuffer();
        const QImage shield = Lettering(1200, 230, 200, {{650, "Shield Points:"}, {750, "500"}});
        const std::vector<int> raceLine = LitColumns(frame, 180), shieldLine = LitColumns(frame, 200);
        ASSERT_TRUE(!raceLine.empty() && !shieldLine.empty());
        const int dx = shieldLine.front() - LitColumns(shield, 200).front();  // the panel's move
        EXPECT_LT(std::max(raceLine.back(), shieldLine.back()), 799);
        EXPECT_EQ(frame.copy(0, 196, 800, 20), shield.copy(-dx, 196, 800, 20));  // the owner line below is not here
        auto shows = [&](const QString& text) {
            return frame.copy(0, 176, 800, 20) ==
                   Lettering(1200, 230, 180, {{650, "Race:"}, {720, text}}).copy(-dx, 176, 800, 20);
        };
        bool shown = name != modded && shows(name);
        for (qsizetype k = 3; name == modded && k < name.size(); ++k) shown = shown || shows(name.left(k) + u'…');
        EXPECT_TRUE(shown);
    }
    g_hoverPlanet = nullptr;
}

}  // namespace
}  // namespace qv
