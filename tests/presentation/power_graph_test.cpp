// The Statistics graph: axes and labels, each player's line in its colour at
// the places its powers give, the neutral player left out, a game longer than
// the graph is wide squeezed without losing a turn, the cases without turns
// or history, and the picture `quorvane-cli play --plot` writes.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "presentation/power_graph.h"
#include "presentation/raster.h"

namespace qv {
namespace {

constexpr Colour kHuman = 0x0000FF;     // red
constexpr Colour kComputer = 0x008000;  // green
constexpr Colour kNeutralLine = 0xFF0000;  // blue: must never be drawn

QRgb Rgb(Colour c) { return raster::ToRgb(c); }
const QRgb kBlack = qRgb(0, 0, 0);

// True when some pixel of column x between rows top and bottom has the colour.
bool ColumnHas(const QImage& image, int x, int top, int bottom, QRgb colour) {
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y)
        if (image.pixel(x, y) == colour) return true;
    return false;
}

int CountOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

bool AnyDarkIn(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

// The graph as every segment drawn one by one, to compare the squeezed long
// game with.
QImage EverySegment(const PowerGraphData& data) {
    QImage image = PowerGraphImage(PowerGraphData{0, {}});
    QPainter painter(&image);
    for (const PowerLine& line : data.lines) {
        painter.setPen(QPen(QColor(Rgb(line.colour)), 1));
        int x = 11;
        int y = 219;
        for (int i = 1; i <= data.turn; ++i) {
            const int nx = PowerGraphX(i, data.turn);
            const int ny = 220 - line.power[static_cast<std::size_t>(i - 1)] / 50;
            painter.drawLine(x, y, nx, ny);
            x = nx;
            y = ny;
        }
    }
    return image;
}

TEST(PowerGraph, XAndYFollowTheTurnsAndThePower) {
    // Up to 400 turns: segments of 400 / turns pixels.
    EXPECT_EQ(PowerGraphX(0, 4), 11);
    EXPECT_EQ(PowerGraphX(1, 4), 111);
    EXPECT_EQ(PowerGraphX(4, 4), 411);
    EXPECT_EQ(PowerGraphX(3, 3), 11 + 3 * 133) << "the last segment ends short of the axis' end";
    EXPECT_EQ(PowerGraphX(7, 7), 11 + 7 * 57);
    EXPECT_EQ(PowerGraphX(400, 400), 411);
    EXPECT_EQ(PowerGraphX(300, 300), 311);
    // Longer: squeezed so that the whole history spans the 400 pixels.
    EXPECT_EQ(PowerGraphX(401, 401), 411);
    EXPECT_EQ(PowerGraphX(200, 401), 11 + 199);
    EXPECT_EQ(PowerGraphX(1000000, 1000000), 411);
    EXPECT_EQ(PowerGraphX(2500, 1000000), 12);
    // No turns: every point at the start.
    EXPECT_EQ(PowerGraphX(5, 0), 11);

    EXPECT_EQ(PowerGraphY(0), 220);
    EXPECT_EQ(PowerGraphY(5000), 120);
    EXPECT_EQ(PowerGraphY(11000), 0);
    EXPECT_EQ(PowerGraphY(11050), -1) << "above 11000 the line leaves the top";
    EXPECT_EQ(PowerGraphY(49), 220) << "integer division";
    EXPECT_EQ(PowerGraphY(-49), 220);
    EXPECT_EQ(PowerGraphY(-100), 222);
}

TEST(PowerGraph, DrawsTheAxesTheLabelsAndEachLineInItsColour) {
    // Three turns played: g_turn = 4, segments of 100 pixels.
    PowerGraphData data;
    data.turn = 4;
    data.lines.push_back({kHuman, {5000, 5000, 7500, 2500}});  // y 120, 120, 70, 170
    data.lines.push_back({kComputer, {1000, 1000, 1000, 1000}});  // y 200
    const QImage image = PowerGraphImage(data);
    ASSERT_EQ(image.size(), QSize(470, 290));
    const QRgb background = kStatisticsBackground.rgb();

    // Axes: (10, 20) down to (10, 220), on to (410, 220).
    for (const QPoint p : {QPoint(10, 20), QPoint(10, 120), QPoint(10, 220), QPoint(200, 220), QPoint(410, 219 + 1)})
        EXPECT_EQ(image.pixel(p), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(10, 19), background) << "the axis starts at 20";
    EXPECT_EQ(image.pixel(9, 120), background);
    EXPECT_EQ(image.pixel(200, 221), background);
    EXPECT_EQ(image.pixel(430, 120), background);
    // "Power" at (4, 4) and "Turn" at (415, 215).
    EXPECT_TRUE(AnyDarkIn(image, QRect(4, 4, 40, 16)));
    EXPECT_TRUE(AnyDarkIn(image, QRect(415, 215, 40, 16)));
    EXPECT_FALSE(AnyDarkIn(image, QRect(60, 0, 300, 18)));

    // The human line: from (11, 219) through (111, 120), (211, 120),
    // (311, 70) to (411, 170).
    const QRgb human = Rgb(kHuman);
    for (const QPoint p : {QPoint(111, 120), QPoint(160, 120), QPoint(211, 120), QPoint(311, 70), QPoint(361, 120),
                           QPoint(411, 170)})
        EXPECT_EQ(image.pixel(p), human) << p.x() << "," << p.y();
    EXPECT_TRUE(ColumnHas(image, 61, 167, 172, human)) << "the first segment rises from (11, 219)";
    EXPECT_TRUE(ColumnHas(image, 261, 93, 97, human));
    EXPECT_FALSE(ColumnHas(image, 160, 0, 119, human));
    EXPECT_FALSE(ColumnHas(image, 160, 121, 289, human));
    EXPECT_FALSE(ColumnHas(image, 420, 0, 289, human)) << "nothing beyond the last turn";

    // The computer line: up from (11, 219) to (111, 200), then flat.
    const QRgb computer = Rgb(kComputer);
    for (int x : {111, 150, 300, 411}) EXPECT_EQ(image.pixel(x, 200), computer) << x;
    EXPECT_TRUE(ColumnHas(image, 61, 208, 211, computer));
}

TEST(PowerGraph, CollectsEveryPlayerButTheNeutralOneInPlayerOrder) {
    ResetGlobals();
    for (Colour c : {kNeutralLine, kComputer, kHuman}) {
        auto* p = new Player;
        p->colour = c;
        // Lines apart from each other: 100 x (colour mod 97) + turn.
        for (int t = 0; t < 10; ++t) p->power[static_cast<std::size_t>(t)] = static_cast<std::int32_t>(c % 97 * 100 + t);
        InsertAtHead(g_players, p);
    }
    g_turn = 3;
    const PowerGraphData data = CollectPowerGraph();
    EXPECT_EQ(data.turn, 3);
    ASSERT_EQ(data.lines.size(), 2u);
    EXPECT_EQ(data.lines[0].colour, kHuman);
    EXPECT_EQ(data.lines[1].colour, kComputer);
    const std::int32_t base = kHuman % 97 * 100;
    EXPECT_EQ(data.lines[0].power, (std::vector<std::int32_t>{base, base + 1, base + 2}));

    // The neutral player is never drawn, whatever its history holds.
    const QImage image = PowerGraphImage(data);
    EXPECT_EQ(CountOf(image, Rgb(kNeutralLine)), 0);
    EXPECT_GT(CountOf(image, Rgb(kHuman)), 0);

    // A history longer than the game is cut at the turn; a game without
    // turns, and one with the neutral player alone, have no points.
    g_turn = 0;
    EXPECT_TRUE(CollectPowerGraph().lines[0].power.empty());
    ResetGlobals();
    InsertAtHead(g_players, new Player);
    g_turn = 5;
    EXPECT_TRUE(CollectPowerGraph().lines.empty());
    ResetGlobals();
}

TEST(PowerGraph, APowerAboveElevenThousandLeavesTheTopAndTheLineIsCutThere) {
    PowerGraphData data;
    data.turn = 1;
    data.lines.push_back({kHuman, {15000}});  // to (411, -80)
    const QImage image = PowerGraphImage(data);
    const QRgb human = Rgb(kHuman);
    // The line crosses the top edge near x = 11 + 400 * 219 / 299 = 304.
    bool atTop = false;
    for (int x = 295; x <= 315; ++x) atTop = atTop || image.pixel(x, 0) == human;
    EXPECT_TRUE(atTop);
    EXPECT_FALSE(ColumnHas(image, 330, 0, 289, human));
}

TEST(PowerGraph, WithoutTurnsOnlyTheAxesAreDrawn) {
    const QImage empty = PowerGraphImage(PowerGraphData{0, {}});
    for (int turn : {0, -3}) {
        SCOPED_TRACE(turn);
        PowerGraphData data;
        data.turn = turn;
        data.lines.push_back({kHuman, {9000, 9000}});
        const QImage image = PowerGraphImage(data);
        EXPECT_EQ(image, empty);
        EXPECT_EQ(CountOf(image, Rgb(kHuman)), 0);
    }
    EXPECT_EQ(empty.pixel(10, 100), kBlack);
}

TEST(PowerGraph, TurnsBeyondTheHistoryAreDrawnAsNoPower) {
    // A loaded game: six turns but three entries.
    PowerGraphData data;
    data.turn = 6;  // segments of 66 pixels
    data.lines.push_back({kHuman, {5000, 5000, 5000}});
    const QImage image = PowerGraphImage(data);
    const QRgb human = Rgb(kHuman);
    EXPECT_EQ(image.pixel(150, 120), human);
    // From (209, 120) down to (275, 220), then along the axis to (407, 220).
    EXPECT_TRUE(ColumnHas(image, 242, 168, 172, human));
    EXPECT_EQ(image.pixel(300, 220), human);
    EXPECT_EQ(image.pixel(407, 220), human);
}

TEST(PowerGraph, AGameLongerThanTheGraphIsSqueezedWithoutLosingATurn) {
    PowerGraphData data;
    data.turn = 1000;
    PowerLine line{kHuman, std::vector<std::int32_t>(1000, 1000)};  // y 200
    line.power[500] = 10000;                                       // one spike, y 20
    for (int t = 700; t < 1000; ++t) line.power[static_cast<std::size_t>(t)] = (t % 2) ? 4000 : 2000;
    // The computer line first, so that the human line is drawn over it.
    data.lines.push_back({kComputer, std::vector<std::int32_t>(1000, 8000)});  // y 60
    data.lines.push_back(line);
    const QImage image = PowerGraphImage(data);
    const QRgb human = Rgb(kHuman);

    // The whole game spans the graph: every column from 11 to 411 has the
    // line, and it ends at the axis' end.
    for (int x = 11; x <= 411; ++x) ASSERT_TRUE(ColumnHas(image, x, 0, 289, human)) << x;
    EXPECT_FALSE(ColumnHas(image, 412, 0, 289, human));
    // The spike of turn 500 (point 501, x = 11 + 501 * 400 / 1000) is there.
    EXPECT_EQ(image.pixel(211, 20), human);
    // Turns going up and down inside one column show as a stroke over the
    // column's range.
    for (int y = 140; y <= 180; ++y) EXPECT_EQ(image.pixel(390, y), human) << y;
    EXPECT_EQ(image.pixel(300, 60), Rgb(kComputer));

    // It is the picture every segment drawn one by one gives.
    EXPECT_EQ(image, EverySegment(data));
}

TEST(PowerGraph, UpToFourHundredTurnsEverySegmentIsDrawnAsItIs) {
    for (int turns : {1, 3, 7, 150, 400}) {
        SCOPED_TRACE(turns);
        PowerGraphData data;
        data.turn = turns;
        PowerLine line{kComputer, {}};
        for (int t = 0; t < turns; ++t) line.power.push_back(1000 + (t * 7919) % 9000);
        data.lines.push_back(line);
        EXPECT_EQ(PowerGraphImage(data), EverySegment(data));
    }
}

// ---- quorvane-cli play --plot ----------------------------------------------

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(QUORVANE_CLI), args);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(PowerGraph, PlayWritesTheGraphOfTheGameAfterItsTurns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = QStringLiteral(QUORVANE_DATA_OUT);
    const QString game = dir.filePath("game.zvq");
    const QString plot = dir.filePath("power.png");
    const CliRun made = RunCli({"new", "--seed", "11", "--data", data, "-o", game});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const CliRun played = RunCli({"play", game, "--turns", "6", "--seed", "2", "--autopilot", "--data", data, "--json",
                                  "--plot", plot});
    ASSERT_EQ(played.exitCode, 0) << played.err.toStdString();

    // The graph the game itself would draw from the players of the JSON.
    const QJsonObject json = QJsonDocument::fromJson(played.out).object();
    const QJsonArray players = json["players"].toArray();
    ASSERT_GE(players.size(), 2);
    PowerGraphData expected;
    expected.turn = json["turn"].toInt();
    ASSERT_EQ(expected.turn, 7);
    for (int i = 0; i + 1 < players.size(); ++i) {
        const QJsonObject p = players[i].toObject();
        PowerLine line;
        line.colour = static_cast<Colour>(p["colour"].toInteger());
        for (const QJsonValue v : p["power"].toArray()) line.power.push_back(v.toInt());
        expected.lines.push_back(line);
    }
    const QImage written = QImage(plot).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written, PowerGraphImage(expected));

    // The loaded game's history starts empty: turn 0, before the game was
    // opened, shows no power; the turns played show the players' power.
    const PowerLine& human = expected.lines.front();
    ASSERT_EQ(human.power.size(), 7u);
    EXPECT_EQ(human.power[0], 0);
    EXPECT_GT(human.power[6], 0);
    // The line drawn last ends on top of the others, in its colour.
    const PowerLine& top = expected.lines.back();
    const int x = PowerGraphX(7, 7);
    const int y = PowerGraphY(top.power[6]);
    if (y >= 0) {
        EXPECT_EQ(written.pixel(x, y), Rgb(top.colour));
    }
    // The neutral player's colour appears nowhere on the lines.
    const Colour neutral = static_cast<Colour>(players.last().toObject()["colour"].toInteger());
    EXPECT_FALSE(ColumnHas(written, x, 0, 219, Rgb(neutral)));
}

}  // namespace
}  // namespace qv
