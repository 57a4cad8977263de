// The texts over the map: the status line in every frame; the information
// panels, the computer-move box and "GAME OVER" in idle frames only.
#include <QFontMetrics>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "map_frame_fixture.h"

namespace qv::painttest {
namespace {

constexpr QRgb kBoxGrey = 0xFF808080u;

struct Text {
    QString text;
    int x;
    int y;
};

class TextLayersTest : public MapFrameTest {
protected:
    // The black frame with the texts written in colour at their places.
    static QImage Expected(const std::vector<Text>& texts, QColor colour) {
        QImage image = Solid(kViewWidth, kViewHeight, Qt::black);
        QPainter p(&image);
        const TextLayers layers;
        p.setFont(layers.font());
        p.setPen(colour);
        for (const Text& t : texts) layers.write(p, t.x, t.y, t.text);
        return image;
    }
};

const QRect kStatusArea(0, 0, 680, 30);
const QRect kGoldArea(45, 0, 63, 30);
const QRect kPlanetPanelArea(640, 175, 160, 45);
const QRect kShipPanelArea(590, 175, 210, 85);
const QRect kHoldsArea(590, 238, 210, 22);

TEST_F(TextLayersTest, StatusLineShowsTheHumanPlayersTotalsAndTheWorldNumber) {
    human->gold = 2000;
    human->planetCount = 3;
    human->shipCount = 12;
    world->number = 65535;
    const QImage frame = Frame();
    const QImage expected = Expected({{"Gold:", 5, 5},
                                      {"2000", 50, 5},
                                      {"Planets:", 110, 5},
                                      {"3", 170, 5},
                                      {"Ships:", 200, 5},
                                      {"12", 255, 5},
                                      {"World Number:", 500, 5},
                                      {"65535", 605, 5}},
                                     QColor::fromRgb(kHumanRgb));
    EXPECT_TRUE(SameIn(frame, expected, kStatusArea));

    human->shipCount = 13;
    EXPECT_FALSE(SameIn(Frame(), expected, kStatusArea)) << "a changed total shows in the next frame";
    EXPECT_TRUE(SameIn(Frame(FrameKind::Scroll), Frame(), kStatusArea)) << "scroll frames show it too";
}

TEST_F(TextLayersTest, NegativeGoldIsWrittenWithItsMinusSign) {
    human->gold = -1234;
    const QImage negative = Frame();
    const QImage expected = Expected({{"-1234", 50, 5}}, QColor::fromRgb(kHumanRgb));
    EXPECT_TRUE(SameIn(negative, expected, kGoldArea));
    human->gold = 1234;
    EXPECT_FALSE(SameIn(Frame(), expected, kGoldArea));
}

TEST_F(TextLayersTest, StatusLineTakesTheColourOfTheFirstPlayer) {
    human->colour = 0x00FF0000;  // blue
    human->gold = 5;
    const QImage frame = Frame();
    EXPECT_TRUE(SameIn(frame, Expected({{"5", 50, 5}}, QColor(0, 0, 255)), kGoldArea));
}

TEST_F(TextLayersTest, PlanetAndAsteroidPanelsShowTheirValuesInIdleFramesOnly) {
    Planet* p = AddPlanet(100, 400, 1, enemy);
    p->shieldPoints = 432;
    race->name = "Sol\xE9 Pact";  // Latin-1
    g_hoverPlanet = p;
    const QImage expected = Expected(
        {{"Race:", 650, 180}, {QString::fromUtf8("Sol\u00E9 Pact"), 720, 180}, {"Shield Points:", 650, 200}, {"432", 750, 200}},
        Qt::white);
    EXPECT_TRUE(SameIn(Frame(), expected, kPlanetPanelArea));
    EXPECT_EQ(LitIn(Frame(FrameKind::Scroll), kPlanetPanelArea), 0);

    g_hoverPlanet = nullptr;
    g_hoverAsteroid = AddAsteroid(100, 500, -7);
    EXPECT_TRUE(SameIn(Frame(), Expected({{"Resources:", 650, 200}, {"-7", 750, 200}}, Qt::white), kPlanetPanelArea));
    EXPECT_EQ(LitIn(Frame(FrameKind::Scroll), kPlanetPanelArea), 0);

    g_hoverAsteroid = nullptr;
    EXPECT_EQ(LitIn(Frame(), kShipPanelArea), 0) << "no panel without a hovered object";
}

TEST_F(TextLayersTest, ShipPanelShowsRaceModelShieldAndHolds) {
    Ship* s = AddShip(100, 400, enemy);
    s->shieldPoints = 75;
    s->holds = 2;
    s->holdFull = 0;
    g_hoverShip = s;
    EXPECT_TRUE(SameIn(Frame(),
                       Expected({{"Race:", 600, 180},
                                 {"Testers", 650, 180},
                                 {"Ship Type:", 600, 200},
                                 {"Scout", 680, 200},
                                 {"Shield Points:", 600, 220},
                                 {"75", 700, 220},
                                 {"Empty Holds.", 600, 240}},
                                Qt::white),
                       kShipPanelArea));
    EXPECT_EQ(LitIn(Frame(FrameKind::Scroll), kShipPanelArea), 0);

    for (const auto& [holds, full, text] : {std::tuple{2, 1, "Full Holds."}, std::tuple{0, 1, "No Holds."},
                                           std::tuple{0, 0, "No Holds."}, std::tuple{1, 0, "Empty Holds."}}) {
        s->holds = holds;
        s->holdFull = static_cast<std::uint8_t>(full);
        EXPECT_TRUE(SameIn(Frame(), Expected({{text, 600, 240}}, Qt::white), kHoldsArea))
            << holds << " holds, full " << full;
    }
}

TEST_F(TextLayersTest, ComputerMoveBoxShowsTheTurnInIdleFramesOnly) {
    g_computerMove = 1;
    g_turn = 7;
    const QImage frame = Frame();
    // The rounded box (300, 250) to (500, 300): red outline, grey inside.
    EXPECT_EQ(frame.pixel(300, 275), kRed);
    EXPECT_EQ(frame.pixel(499, 275), kRed);
    EXPECT_EQ(frame.pixel(400, 250), kRed);
    EXPECT_EQ(frame.pixel(400, 299), kRed);
    EXPECT_EQ(frame.pixel(299, 275), kBlack);
    EXPECT_EQ(frame.pixel(500, 275), kBlack);
    EXPECT_EQ(frame.pixel(400, 249), kBlack);
    EXPECT_EQ(frame.pixel(400, 300), kBlack);
    EXPECT_EQ(frame.pixel(310, 290), kBoxGrey);
    EXPECT_EQ(frame.pixel(300, 250), kBlack) << "rounded corners";

    // Black text on the grey: "Computer move" and "TURN - " stay, the number
    // follows the turn.
    auto darkIn = [](const QImage& image, const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += qGray(image.pixel(x, y)) < 64;
        return n;
    };
    const QRect title(345, 253, 140, 18);
    const QRect label(365, 273, 53, 18);
    const QRect number(419, 273, 60, 18);
    EXPECT_GT(darkIn(frame, title), 40);
    EXPECT_GT(darkIn(frame, label), 15);
    EXPECT_GT(darkIn(frame, number), 3);
    g_turn = 1234;
    const QImage later = Frame();
    EXPECT_TRUE(SameIn(frame, later, title));
    EXPECT_TRUE(SameIn(frame, later, label));
    EXPECT_FALSE(SameIn(frame, later, number));

    const QImage scroll = Frame(FrameKind::Scroll);
    EXPECT_EQ(scroll.pixel(310, 290), kBlack);
    EXPECT_EQ(LitIn(scroll, QRect(290, 240, 220, 70)), 0);

    g_computerMove = 0;
    EXPECT_EQ(LitIn(Frame(), QRect(290, 240, 220, 70)), 0);
}

TEST_F(TextLayersTest, GameOverIsWrittenInWhiteOnTopOfTheMapInIdleFramesOnly) {
    const QRect area(95, 295, 130, 25);
    g_gameOver = 1;
    EXPECT_TRUE(SameIn(Frame(), Expected({{"GAME OVER", 100, 300}}, Qt::white), area));
    EXPECT_EQ(LitIn(Frame(FrameKind::Scroll), area), 0);

    AddPlanet(130, 310);  // under the text
    const QImage over = Frame();
    int white = 0;
    for (int y = 300; y < 316; ++y)
        for (int x = 100; x < 160; ++x) white += over.pixel(x, y) == kWhite;
    EXPECT_GT(white, 20);
    g_gameOver = 0;
    EXPECT_EQ(Frame().pixel(110, 305), kPlanet1.rgb());
}

TEST(TextLayout, EveryLabelEndsBeforeTheValueWrittenAfterIt) {
    const QFontMetrics metrics(MapFont());
    const std::vector<std::pair<QString, int>> labels = {
        {"Gold:", 50 - 5},           {"Planets:", 170 - 110},       {"Ships:", 255 - 200},
        {"World Number:", 605 - 500}, {"Race:", 720 - 650},          {"Shield Points:", 750 - 650},
        {"Resources:", 750 - 650},   {"Race:", 650 - 600},          {"Ship Type:", 680 - 600},
        {"Shield Points:", 700 - 600}, {"TURN - ", 420 - 370},      {"Computer move", 499 - 350},
    };
    for (const auto& [label, room] : labels) EXPECT_LT(metrics.horizontalAdvance(label), room) << label.toStdString();
    EXPECT_LE(metrics.height(), 20) << "panel lines are 20 apart";
}

TEST(TextLayout, RaceTextIsUtf8WhenValidElseLatin1) {
    EXPECT_EQ(GameText("Sol\xC3\xA9"), QString::fromUtf8("Sol\u00E9"));
    EXPECT_EQ(GameText("Sol\xE9"), QString::fromUtf8("Sol\u00E9"));
    EXPECT_EQ(GameText(""), QString());
}

}  // namespace
}  // namespace qv::painttest
