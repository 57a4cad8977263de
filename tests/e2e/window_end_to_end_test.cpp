// The real program on a real X display (its own Xvfb): the title screen, a
// saved game named on the command line drawn in the window, a turn ended
// with the End key, and the way out through the exit question. Keys go in
// with xdotool; the screen is read back from the X server.
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString kQuorvane = QStringLiteral(QUORVANE_PROGRAM);
const QString kCli = QStringLiteral(QUORVANE_CLI);
const QString kData = QStringLiteral(QUORVANE_DATA_OUT);

QTemporaryDir* g_scratch = nullptr;

QImage Screen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

// Share of the 800 x 600 picture found in the screen at (0, top), from 0 to 1.
double Match(const QImage& screen, const QImage& picture, int top) {
    if (screen.width() < 800 || screen.height() < top + 600) return 0;
    long same = 0;
    for (int y = 0; y < 600; y += 2)
        for (int x = 0; x < 800; x += 2) same += screen.pixel(x, top + y) == picture.pixel(x, y) ? 1 : 0;
    return same / (400.0 * 300.0);
}

// The map view's top edge on the screen: where the picture matches best
// below the menu bar.
int ViewTop(const QImage& screen, const QImage& picture, double* best) {
    int top = 0;
    *best = 0;
    for (int y = 0; y <= 60; ++y) {
        const double m = Match(screen, picture, y);
        if (m > *best) {
            *best = m;
            top = y;
        }
    }
    return top;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(100);
    }
    return true;
}

int RunProgram(const QString& program, const QStringList& args, QString* output = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000)) return -1;
    if (output) *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void Key(const QString& key) { ASSERT_EQ(RunProgram("xdotool", {"key", key}), 0) << "xdotool key " << key.toStdString(); }

QImage Render(const QStringList& args) {
    const QString out = g_scratch->filePath("render.png");
    QFile::remove(out);
    QString text;
    QStringList command{QStringLiteral("render")};
    command << args << QStringLiteral("-o") << out;
    EXPECT_EQ(RunProgram(kCli, command, &text), 0) << command.join(" ").toStdString() << "\n"
        << text.toStdString();
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

// Clicks the left button at a point of the screen, once the pointer is there.
// (xdotool's --sync waits for a motion, so a pointer already there is not
// moved again.)
void Click(int x, int y) {
    QString at;
    RunProgram("xdotool", {"getmouselocation", "--shell"}, &at);
    if (!at.contains(QString("X=%1\nY=%2\n").arg(x).arg(y)))
        ASSERT_EQ(RunProgram("xdotool", {"mousemove", "--sync", QString::number(x), QString::number(y)}), 0);
    ASSERT_EQ(RunProgram("xdotool", {"click", "1"}), 0);
}

// Pixels of the two pictures that differ inside the rectangle.
int Differences(const QImage& a, const QImage& b, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// The window that has the keyboard, as the X server tells: its name and
// where it lies (no window manager, so no frames).
struct XWindow {
    QString name;
    QRect geometry;
};

XWindow Focused() {
    QString out;
    if (RunProgram("xdotool", {"getwindowfocus", "getwindowname", "getwindowgeometry"}, &out) != 0) return {};
    XWindow w;
    w.name = out.section('\n', 0, 0);
    const qsizetype at = out.indexOf("Position: "), size = out.indexOf("Geometry: ");
    if (at < 0 || size < 0) return w;
    const QStringList xy = out.mid(at + 10).section(' ', 0, 0).split(',');
    const QStringList wh = out.mid(size + 10).section('\n', 0, 0).trimmed().split('x');
    if (xy.size() == 2 && wh.size() == 2) w.geometry = QRect(xy[0].toInt(), xy[1].toInt(), wh[0].toInt(), wh[1].toInt());
    return w;
}

// Waits (generously: a loaded machine under a sanitizer) until the window
// named title has the keyboard and has been drawn over what the screen
// showed before (it takes input from then on); its place on the screen, or
// an empty rectangle.
QRect WaitForDialog(const QString& title, const QImage& before) {
    QRect at;
    WaitFor([&] {
        const XWindow w = Focused();
        if (w.name != title || w.geometry.isEmpty()) return false;
        at = w.geometry;
        return Differences(before, Screen(), at.intersected(QRect(0, 0, before.width(), before.height()))) >
               at.width() * at.height() / 10;
    }, 30000);
    return at;
}

// The exit question (a small box titled like the game) has the keyboard.
bool WaitForQuestion() {
    return WaitFor([] {
        const XWindow w = Focused();
        return w.name == "Quorvane" && w.geometry.width() > 0 && w.geometry.width() < 700;
    }, 30000);
}

// The main window (800 wide, under a title that begins with the game's
// name) has the keyboard again.
bool WaitForMainWindow() {
    return WaitFor([] {
        const XWindow w = Focused();
        return w.name.startsWith("Quorvane") && w.geometry.width() == 800;
    }, 30000);
}

// The world shown in a saved game, as quorvane-cli dump gives it, and the
// view's map rectangle.
QJsonObject ShownWorld(const QString& game, QJsonObject* view) {
    QString text;
    EXPECT_EQ(RunProgram(kCli, {"dump", game}, &text), 0);
    const QJsonObject dump = QJsonDocument::fromJson(text.toUtf8()).object();
    *view = dump["view"].toObject();
    return dump["worlds"].toArray()[dump["currentWorld"].toInt() - 1].toObject();
}

// The program, started from a scratch folder with a home of its own.
class Program {
public:
    explicit Program(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", g_scratch->filePath("home"));
        env.insert("XDG_CONFIG_HOME", g_scratch->filePath("home/config"));
        env.insert("XDG_DATA_HOME", g_scratch->filePath("home/data"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QUORVANE_DATA_DIR", kData);
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(g_scratch->path());
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(kQuorvane, args);
        started_ = process_.waitForStarted(10000);
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    bool started() const { return started_; }
    bool running() { return process_.state() == QProcess::Running; }
    // Waits until the picture fills the map view; the view's top edge on the
    // screen, or -1 when it never showed (best: the best share seen).
    int waitForMap(const QImage& picture, double threshold, double* best) {
        int top = -1;
        *best = 0;
        const bool shown = WaitFor([&] {
            top = ViewTop(Screen(), picture, best);
            return *best > threshold;
        }, 30000);
        // Keys and clicks go to the window once it has the keyboard.
        return shown && WaitForMainWindow() ? top : -1;
    }
    // Closes the window and answers Yes to the exit question; the exit code.
    int exitThroughQuestion() {
        Key("alt+F4");
        if (!WaitForQuestion()) return -2;
        Key("y");
        return finish(30000);
    }
    // Waits for the end; the exit code, or -1 when it did not end normally.
    int finish(int ms) {
        if (!process_.waitForFinished(ms)) return -1;
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QProcess process_;
    bool started_ = false;
};

TEST(Window, TitleScreenGameFromTheCommandLineEndTurnAndExit) {
    ASSERT_TRUE(QDir().mkpath(g_scratch->filePath("home")));
    // The pointer rests outside the window, away from the map's edges.
    RunProgram("xdotool", {"mousemove", "1000", "740"});

    // 1. Without a file: the title screen, then out through the question.
    const QImage title = Render({"--title"});
    ASSERT_EQ(title.size(), QSize(800, 600));
    {
        Program program({});
        ASSERT_TRUE(program.started());
        double best = 0;
        EXPECT_GE(program.waitForMap(title, 0.98, &best), 0) << "the title screen never showed; best match " << best;
        EXPECT_EQ(program.exitThroughQuestion(), 0);
    }

    // 2. A saved game named on the command line.
    const QString game = g_scratch->filePath("game.zvq");
    QString text;
    ASSERT_EQ(RunProgram(kCli, {"new", "--seed", "11", "--size", "small", "-o", game}, &text), 0)
        << text.toStdString();
    const QImage expected = Render({game});
    ASSERT_EQ(expected.size(), QSize(800, 600));

    Program program({game});
    ASSERT_TRUE(program.started());
    double best = 0;
    const int top = program.waitForMap(expected, 0.95, &best);
    ASSERT_GE(top, 0) << "the game's map never showed; best match " << best;
    EXPECT_GT(top, 10);  // the menu bar above the map
    const QImage before = Screen();
    before.save(g_scratch->filePath("e2e-game.png"));

    // 3. End turns with the End key: the planets move, the gold grows (the
    // status line's number changes).
    const QRect gold(50, top + 3, 55, 16);
    Key("End");
    QImage after;
    EXPECT_TRUE(WaitFor([&] {
        after = Screen();
        return after.copy(gold) != before.copy(gold);
    }, 20000)) << "End changed nothing in the status line";
    EXPECT_LT(Match(after, expected, top), best);  // the map moved on
    after.save(g_scratch->filePath("e2e-after-turn.png"));

    // 4. Out through the question: No keeps the game, Yes ends it.
    Key("alt+F4");
    QImage asked;
    EXPECT_TRUE(WaitFor([&] {
        asked = Screen();
        return asked.copy(QRect(250, top + 200, 300, 200)) != after.copy(QRect(250, top + 200, 300, 200));
    }, 10000)) << "no question box";
    asked.save(g_scratch->filePath("e2e-question.png"));
    EXPECT_TRUE(WaitForQuestion());
    Key("n");
    EXPECT_TRUE(WaitForMainWindow()) << "the keyboard did not come back to the game";
    EXPECT_TRUE(program.running());
    EXPECT_EQ(program.exitThroughQuestion(), 0);
}

// A game some turns old in which the player has a planet and a ship in
// the view shown: the player selects the planet and opens its panel,
// selects the ship and moves it.
TEST(Window, MapOrdersSelectOpenAPanelAndMoveAShip) {
    ASSERT_TRUE(QDir().mkpath(g_scratch->filePath("home")));
    RunProgram("xdotool", {"mousemove", "1000", "740"});
    const QString game = g_scratch->filePath("orders.zvq");
    QString text;
    ASSERT_EQ(RunProgram(kCli, {"new", "--seed", "1", "--turns", "15", "--autopilot", "-o", game}, &text), 0)
        << text.toStdString();
    QJsonObject view;
    const QJsonObject world = ShownWorld(game, &view);
    const int left = view["left"].toInt(), top = view["top"].toInt();
    auto inView = [&](const QJsonObject& o, int margin) {
        const int x = o["x"].toInt() - left, y = o["y"].toInt() - top;
        return x > margin && x < 800 - margin && y > margin && y < 600 - margin;
    };
    QJsonObject planet, ship;
    for (const QJsonValue v : world["planets"].toArray())
        if (v["owner"].toInt() == 1 && inView(v.toObject(), 60) && planet.isEmpty()) planet = v.toObject();
    for (const QJsonValue v : world["ships"].toArray())
        if (v["owner"].toInt() == 1 && inView(v.toObject(), 60) && v["actionPoints"].toInt() > 90 && ship.isEmpty())
            ship = v.toObject();
    ASSERT_FALSE(planet.isEmpty()) << "no own planet in view in this game";
    ASSERT_FALSE(ship.isEmpty()) << "no own ship with action points in view in this game";
    // The ship moves 80 to the left or right, where nothing else lies.
    const int sx = ship["x"].toInt() - left, sy = ship["y"].toInt() - top;
    const int tx = sx > 400 ? sx - 80 : sx + 80, ty = sy;
    for (const char* kind : {"planets", "asteroids", "ships"})
        for (const QJsonValue v : world[kind].toArray())
            ASSERT_GT(std::hypot(v["x"].toInt() - left - tx, v["y"].toInt() - top - ty), 45.0)
                << "the move's target is not free";

    const QImage expected = Render({game});
    Program program({game});
    ASSERT_TRUE(program.started());
    double best = 0;
    const int viewTop = program.waitForMap(expected, 0.95, &best);
    ASSERT_GE(viewTop, 0) << "the game's map never showed; best match " << best;

    // The planet: a first click selects it (a circle is drawn round it), a
    // second opens its panel, which Escape closes again.
    const int px = planet["x"].toInt() - left, py = planet["y"].toInt() - top + viewTop;
    const QRect around(px - 40, py - 40, 80, 80);
    const QImage before = Screen();
    Click(px, py);
    QImage selected;
    EXPECT_TRUE(WaitFor([&] {
        selected = Screen();
        return Differences(before, selected, around) > 40;
    }, 10000)) << "no selection circle round the planet";
    Click(px, py);
    ASSERT_FALSE(WaitForDialog("Planet Options", selected).isEmpty()) << "the planet's panel did not open";
    Screen().save(g_scratch->filePath("e2e-planet-panel.png"));
    Key("Escape");
    EXPECT_TRUE(WaitFor([&] {
        return Differences(Screen(), selected, QRect(200, viewTop + 150, 400, 300)) < 2000;
    }, 10000)) << "the panel did not close";

    // The ship: selected, then moved; its picture leaves its place and
    // turns up at the target.
    const QRect from(sx - 15, sy + viewTop - 15, 30, 30), to(tx - 15, ty + viewTop - 15, 30, 30);
    const QImage unselected = Screen();
    Click(sx, sy + viewTop);
    QImage chosen;
    EXPECT_TRUE(WaitFor([&] {
        chosen = Screen();
        return Differences(unselected, chosen, from.adjusted(-25, -25, 25, 25)) > 40;
    }, 10000)) << "no selection circle round the ship";
    Click(tx, ty + viewTop);
    QImage moved;
    EXPECT_TRUE(WaitFor([&] {
        moved = Screen();
        return Differences(chosen, moved, to) > 60 && Differences(chosen, moved, from) > 60;
    }, 10000)) << "the ship was not seen at its new place";
    moved.save(g_scratch->filePath("e2e-ship-moved.png"));
    RunProgram("xdotool", {"mousemove", "1000", "740"});

    EXPECT_EQ(program.exitThroughQuestion(), 0);
}

// The player opens the home planet's panel, buys a ship in the shipyard,
// launches it and sees it on the map beside the planet.
TEST(Window, BuildAShipAndLaunchIt) {
    ASSERT_TRUE(QDir().mkpath(g_scratch->filePath("home")));
    RunProgram("xdotool", {"mousemove", "1000", "740"});
    const QString game = g_scratch->filePath("shipyard.zvq");
    QString text;
    ASSERT_EQ(RunProgram(kCli, {"new", "--seed", "11", "--size", "small", "-o", game}, &text), 0) << text.toStdString();
    QJsonObject view;
    const QJsonObject world = ShownWorld(game, &view);
    QJsonObject home;
    for (const QJsonValue v : world["planets"].toArray())
        if (v["owner"].toInt() == 1) home = v.toObject();
    ASSERT_FALSE(home.isEmpty()) << "the player's home planet is not in the world shown";

    const QImage expected = Render({game});
    Program program({game});
    ASSERT_TRUE(program.started());
    double best = 0;
    const int viewTop = program.waitForMap(expected, 0.95, &best);
    ASSERT_GE(viewTop, 0) << "the game's map never showed; best match " << best;

    const int px = home["x"].toInt() - view["left"].toInt(), py = home["y"].toInt() - view["top"].toInt() + viewTop;
    ASSERT_TRUE(px > 80 && px < 720 && py > viewTop + 80 && py < viewTop + 520) << "the home planet is not in view";
    const QImage before = Screen();
    const QRect ships(255, viewTop + 3, 30, 16);  // the status line's ship count
    Click(px, py);  // selects the planet
    ASSERT_TRUE(WaitFor([&] { return Differences(before, Screen(), QRect(px - 40, py - 40, 80, 80)) > 40; }, 10000))
        << "no selection circle round the planet";
    QImage shown = Screen();
    Click(px, py);  // opens its panel
    const QRect panel = WaitForDialog("Planet Options", shown);
    ASSERT_FALSE(panel.isEmpty()) << "no Planet Options taking input";
    shown = Screen();
    Click(panel.x() + 338, panel.y() + 25);  // Build Ship
    const QRect yard = WaitForDialog("Build Ship", shown);
    ASSERT_FALSE(yard.isEmpty()) << "no Build Ship taking input";
    Screen().save(g_scratch->filePath("e2e-shipyard.png"));
    Click(yard.x() + 40, yard.y() + 78);   // the fourth model, the cheapest of the shipped races
    Click(yard.x() + 268, yard.y() + 224);  // Buy
    Click(yard.x() + 340, yard.y() + 224);  // OK
    ASSERT_TRUE(WaitFor([] { return Focused().name == "Planet Options"; }, 30000)) << "Build Ship did not close";
    Click(panel.x() + 220, panel.y() + 35);  // the first docked ship
    Click(panel.x() + 335, panel.y() + 145);  // Start Ship
    Click(panel.x() + 428, panel.y() + 255);  // OK
    ASSERT_TRUE(WaitForMainWindow()) << "Planet Options did not close";
    RunProgram("xdotool", {"mousemove", "1000", "740"});

    // A ship stands on the circle of 50 round the planet, and the status
    // line counts it.
    const QRect ring(px - 70, py - 70, 140, 140);
    QImage after;
    EXPECT_TRUE(WaitFor([&] {
        after = Screen();
        return Differences(before, after, ships) > 5 && Differences(before, after, ring) > 60;
    }, 10000)) << "no launched ship seen";
    after.save(g_scratch->filePath("e2e-launched.png"));

    EXPECT_EQ(program.exitThroughQuestion(), 0);
}

}  // namespace

// Starts an X server of its own, runs the tests against it and stops it.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid()) return 1;
    g_scratch = &scratch;
    if (const QByteArray keep = qgetenv("QUORVANE_E2E_KEEP"); !keep.isEmpty()) scratch.setAutoRemove(false);

    QProcess xvfb;
    xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!xvfb.waitForStarted(10000)) {
        std::fprintf(stderr, "window test: cannot start Xvfb (scripts/setup installs it)\n");
        return 1;
    }
    QByteArray number;
    QElapsedTimer t;
    t.start();
    while (!number.contains('\n') && t.elapsed() < 20000) {
        xvfb.waitForReadyRead(200);
        number += xvfb.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        std::fprintf(stderr, "window test: Xvfb gave no display number\n");
        return 1;
    }
    const QByteArray display = ":" + number.trimmed();
    qputenv("DISPLAY", display);
    QDir(scratch.path()).mkdir("runtime");
    QFile::setPermissions(scratch.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", scratch.filePath("runtime").toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");

    int result = 1;
    {
        QGuiApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (!qgetenv("QUORVANE_E2E_KEEP").isEmpty()) std::printf("window test: pictures kept in %s\n", qPrintable(scratch.path()));
    xvfb.terminate();
    if (!xvfb.waitForFinished(5000)) xvfb.kill();
    return result;
}
