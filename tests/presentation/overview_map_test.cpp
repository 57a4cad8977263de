// The overview map: its placement for each world size, the marks of the
// star, planets, asteroids and ships, and the dotted 40 x 30 view frame.
#include <tuple>

#include "map_frame_fixture.h"

namespace qv::painttest {
namespace {

constexpr QRgb kOverviewBackground = 0xFF0F0000u;  // (15, 0, 0)
constexpr QRgb kYellow = 0xFFFFFF00u;

class OverviewMapTest : public MapFrameTest {};

TEST_F(OverviewMapTest, FrameSpansX685To784AndY10To109ForAWorldOf2000) {
    SetView(600, 400);
    const QImage frame = Frame();
    for (int y : {10, 50, 109}) {
        EXPECT_EQ(frame.pixel(685, y), kWhite) << y;
        EXPECT_EQ(frame.pixel(784, y), kWhite) << y;
        EXPECT_EQ(frame.pixel(684, y), kBlack) << y;
        EXPECT_EQ(frame.pixel(785, y), kBlack) << y;
    }
    for (int x : {685, 700, 784}) {
        EXPECT_EQ(frame.pixel(x, 10), kWhite) << x;
        EXPECT_EQ(frame.pixel(x, 109), kWhite) << x;
        EXPECT_EQ(frame.pixel(x, 9), kBlack) << x;
        EXPECT_EQ(frame.pixel(x, 110), kBlack) << x;
    }
    EXPECT_EQ(frame.pixel(686, 11), kOverviewBackground);
    EXPECT_EQ(frame.pixel(783, 108), kOverviewBackground);
}

TEST_F(OverviewMapTest, LeftEdgeIs785MinusATwentiethOfTheWorld) {
    for (const auto& [size, left, bottom] : {std::tuple{3000, 635, 159}, std::tuple{1000, 735, 59},
                                             std::tuple{2600, 655, 139}}) {
        g_worldSize = size;
        SetView(0, 0);
        const QImage frame = Frame();
        EXPECT_EQ(frame.pixel(left, 30), kWhite) << size;
        EXPECT_EQ(frame.pixel(left - 1, 30), kBlack) << size;
        EXPECT_EQ(frame.pixel(784, 30), kWhite) << size;
        EXPECT_EQ(frame.pixel(770, bottom), kWhite) << size;
        EXPECT_EQ(frame.pixel(770, bottom + 1), kBlack) << size;
        EXPECT_EQ(frame.pixel(770, bottom - 1), kOverviewBackground) << size;
    }
}

TEST_F(OverviewMapTest, MarksStarPlanetsAsteroidsAndFreeShipsAtOneTwentieth) {
    SetView(0, 0);
    AddPlanet(400, 800, 1, enemy);  // (705, 50)
    AddAsteroid(1000, 200);         // (735, 20)
    AddShip(1500, 1500);            // (760, 85)
    Planet* dock = AddPlanet(1800, 1800);
    auto* docked = new Ship;  // at a planet: not on the map
    docked->x = 200;
    docked->y = 200;
    docked->owner = enemy;
    dock->docks = docked;
    const QImage frame = Frame();

    // The star always at the centre: the box (733, 58) to (737, 62).
    EXPECT_EQ(frame.pixel(735, 60), kYellow);
    EXPECT_EQ(frame.pixel(734, 59), kYellow);
    EXPECT_EQ(frame.pixel(733, 60), kYellow);
    EXPECT_EQ(frame.pixel(736, 59), kYellow);
    EXPECT_EQ(frame.pixel(732, 60), kOverviewBackground);
    EXPECT_EQ(frame.pixel(737, 60), kOverviewBackground);
    EXPECT_EQ(frame.pixel(735, 57), kOverviewBackground);
    EXPECT_EQ(frame.pixel(735, 62), kOverviewBackground);

    // A planet: the box (704, 49) to (706, 51) filled in the owner's colour.
    for (const QPoint& p : {QPoint(704, 49), QPoint(705, 49), QPoint(704, 50), QPoint(705, 50)})
        EXPECT_EQ(frame.pixel(p), kEnemyRgb) << p.x() << "," << p.y();
    EXPECT_EQ(frame.pixel(703, 50), kOverviewBackground);
    EXPECT_EQ(frame.pixel(706, 50), kOverviewBackground);
    EXPECT_EQ(frame.pixel(705, 51), kOverviewBackground);

    EXPECT_EQ(frame.pixel(735, 20), kWhite);
    EXPECT_EQ(frame.pixel(736, 20), kOverviewBackground);
    EXPECT_EQ(frame.pixel(760, 85), kHumanRgb);
    EXPECT_EQ(frame.pixel(761, 85), kOverviewBackground);
    EXPECT_EQ(frame.pixel(695, 20), kOverviewBackground) << "docked ships are not shown";
}

TEST_F(OverviewMapTest, ViewFrameIsADotted40By30Box) {
    SetView(600, 400);  // the box (715, 30) to (755, 60)
    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(715, 30), kWhite);
    EXPECT_EQ(frame.pixel(716, 30), kOverviewBackground) << "dotted";
    EXPECT_EQ(frame.pixel(717, 30), kWhite);
    auto whiteInColumn = [&](int x) {
        int n = 0;
        for (int y = 30; y < 60; ++y) n += frame.pixel(x, y) == kWhite;
        return n;
    };
    auto whiteInRow = [&](int y) {
        int n = 0;
        for (int x = 715; x < 755; ++x) n += frame.pixel(x, y) == kWhite;
        return n;
    };
    EXPECT_EQ(whiteInColumn(715), 15);
    EXPECT_EQ(whiteInColumn(754), 15);
    EXPECT_EQ(whiteInRow(30), 20);
    EXPECT_EQ(whiteInRow(59), 20);
    EXPECT_EQ(whiteInColumn(714), 0);
    EXPECT_EQ(whiteInColumn(755), 0);
    EXPECT_EQ(whiteInRow(29), 0);
    EXPECT_EQ(whiteInRow(60), 0);
}

TEST_F(OverviewMapTest, OverviewCoversTheMapBelowIt) {
    SetView(0, 0);
    AddPlanet(680, 50);  // its picture covers (650, 20) to (710, 80)
    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(684, 50), kPlanet1.rgb());
    EXPECT_EQ(frame.pixel(685, 50), kWhite);
    EXPECT_EQ(frame.pixel(700, 70), kOverviewBackground);
}

}  // namespace
}  // namespace qv::painttest
