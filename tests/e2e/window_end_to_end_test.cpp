// The real program under xvfb-run, driven with xdotool, read back from the X server: a saved game played (a ship
// built and launched, a turn ended), saved, opened again, and a new game started from it; a turn that costs a ship
// summed up over the map.
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
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
#include <functional>

namespace {

QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// Polls for up to a minute (a loaded machine).
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    for (t.start(); !done(); QThread::msleep(100))
        if (t.elapsed() > 60000) return false;
    return true;
}

int Exec(const QString& program, const QStringList& args, QString* output = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return -1;
    if (output) *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitCode();
}

void Xdo(const QStringList& args) { ASSERT_EQ(Exec("xdotool", args), 0) << args.join(' ').toStdString(); }
void Click(QPoint at) { Xdo({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}); }

double Changed(const QImage& a, const QImage& b, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return double(n) / (r.width() * r.height());
}

// The window with the keyboard: its title and place (no window manager: no frames).
QRect Focused(QString* title) {
    QString out;
    Exec("xdotool", {"getwindowfocus", "getwindowname", "getwindowgeometry", "--shell"}, &out);
    *title = out.section('\n', 0, 0);
    auto value = [&](const char* key) { return out.section(QString("\n%1=").arg(key), 1).section('\n', 0, 0).toInt(); };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

// Waits until a window titled title... at most maxWidth wide has the keyboard and has been drawn over before.
QRect WaitForWindow(const QString& title, const QImage& before, int maxWidth = 1024) {
    QRect at;
    QString name;
    auto shown = [&] {
        at = Focused(&name);
        return name.startsWith(title) && !at.isEmpty() && at.width() <= maxWidth &&
               Changed(before, Screen(), at & before.rect()) > 0.1;
    };
    return WaitFor(shown) ? at : QRect();
}

// The program, with the pointer out of its way; the map's place on the screen once it shows.
QRect Start(QProcess& program, const QString& game) {
    Xdo({"mousemove", "1000", "740"});
    const QImage before = Screen();
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QUORVANE_PROGRAM, {game});
    const QRect window = WaitForWindow("Quorvane", before);
    return window.width() == 800 ? QRect(0, window.bottom() - 599, 800, 600) : QRect();
}

// alt+F4 and Yes to the exit question (titled like the game, smaller than the window).
void Exit(QProcess& program) {
    const QImage shown = Screen();
    Xdo({"key", "alt+F4"});
    ASSERT_FALSE(WaitForWindow("Quorvane", shown, 700).isEmpty()) << "no exit question";
    Xdo({"key", "y"});
    EXPECT_TRUE(program.waitForFinished(60000) && program.exitCode() == 0);
}

TEST(Window, BuildAndLaunchAShipEndATurnSaveOpenAgainAndStartANewGame) {
    const QString game = QDir::current().filePath("game.zvq");
    Exec(QUORVANE_CLI, {"new", "--seed", "11", "--size", "small", "-o", game});
    auto dump = [&] {
        QString text;
        Exec(QUORVANE_CLI, {"dump", game}, &text);
        return QJsonDocument::fromJson(text.toUtf8()).object();
    };
    const QJsonObject start = dump();
    QPoint home;
    for (const QJsonValue p : start["worlds"][start["currentWorld"].toInt() - 1]["planets"].toArray())
        if (p["owner"].toInt() == 1)
            home = {p["x"].toInt() - start["view"]["left"].toInt(), p["y"].toInt() - start["view"]["top"].toInt()};
    ASSERT_TRUE(QRect(80, 80, 640, 440).contains(home)) << "the home planet is not in view";

    QProcess first;
    const QRect view = Start(first, game);
    ASSERT_FALSE(view.isEmpty()) << "no main window";
    home += view.topLeft();
    const QImage before = Screen();
    Click(home);  // selects the planet
    Click(home);  // opens its panel
    const QRect panel = WaitForWindow("Planet Options", before);
    ASSERT_FALSE(panel.isEmpty()) << "no planet panel";
    const QImage shown = Screen();
    Click(panel.topLeft() + QPoint(338, 105));  // Repair Planet: not damaged, says a message box
    ASSERT_FALSE(WaitForWindow("Quorvane", shown, 400).isEmpty()) << "no message";
    Xdo({"key", "Return"});
    QString focused;  // the panel has the keyboard again and stays on top, its buttons at work
    EXPECT_TRUE(WaitFor([&] {
        return Focused(&focused), focused == "Planet Options" && Changed(shown, Screen(), panel) < 0.02;
    })) << "the panel is hidden";
    Click(panel.topLeft() + QPoint(338, 25));  // Build Ship
    const QRect yard = WaitForWindow("Build Ship", shown);
    ASSERT_FALSE(yard.isEmpty()) << "no shipyard";
    Click(yard.topLeft() + QPoint(268, 224));  // Buy, no model chosen: nothing bought
    Click(yard.topLeft() + QPoint(40, 78));    // the fourth model, the cheapest of the shipped races
    Click(yard.topLeft() + QPoint(268, 224));  // Buy
    Click(yard.topLeft() + QPoint(340, 224));  // OK
    ASSERT_TRUE(WaitFor([&] { return Focused(&focused), focused == "Planet Options"; })) << "the shipyard stayed";
    Click(panel.topLeft() + QPoint(220, 35));   // the docked ship
    Click(panel.topLeft() + QPoint(335, 145));  // Start Ship
    Click(panel.topLeft() + QPoint(428, 255));  // OK
    Xdo({"mousemove", "1000", "740"});
    // The status line counts one ship more, and the ship stands beside the planet.
    const QRect ships(255, view.top() + 3, 30, 16), gold(50, view.top() + 3, 55, 16);
    EXPECT_TRUE(WaitFor([&] {
        const QImage now = Screen();
        return Changed(before, now, ships) > 0.02 &&
               Changed(before, now, QRect(home - QPoint(70, 70), QSize(140, 140))) > 0.02;
    })) << "no ship launched";
    const QImage launched = Screen();
    QString races;  // only the fourth model's cost was spent
    Exec(QUORVANE_CLI, {"races", "--json"}, &races);
    const int cost =
        QJsonDocument::fromJson(races.toUtf8())[start["players"][0]["race"].toInt() - 1]["shipModels"][3]["cost"]
            .toInt();
    Xdo({"key", "ctrl+s"});
    EXPECT_TRUE(WaitFor([&] {
        return dump()["players"][0]["gold"].toInt() == start["players"][0]["gold"].toInt() - cost;
    })) << "gold spent on a ship nobody chose";
    Xdo({"key", "End"});  // the gold grows
    EXPECT_TRUE(WaitFor([&] { return Changed(launched, Screen(), gold) > 0.02; })) << "End changed nothing";
    Xdo({"key", "ctrl+s"});  // to the file it came from, without asking
    ASSERT_TRUE(WaitFor([&] { return dump()["turn"].toInt() == 2; })) << "the game was not saved";
    const QImage saved = Screen();
    Exit(first);

    // Opened again, the window shows the game as it was saved; New replaces it.
    QProcess second;
    ASSERT_EQ(Start(second, game), view);
    EXPECT_TRUE(WaitFor([&] { return Changed(saved, Screen(), view) < 0.05; })) << "not the game saved";
    const QImage reopened = Screen();
    Xdo({"key", "ctrl+n"});
    ASSERT_FALSE(WaitForWindow("New Game", reopened).isEmpty()) << "no New Game dialog";
    Xdo({"key", "Return"});
    EXPECT_TRUE(WaitFor([&] { return Changed(reopened, Screen(), view) > 0.02; })) << "no new game";
    Exit(second);
}

// The file's bytes with the 32-bit value at `at` replaced.
void Put32(QByteArray& bytes, qsizetype at, int value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
}
// Where a record starting with the place (x, y) is in the file, -1 unless there is exactly one.
qsizetype RecordAt(const QByteArray& bytes, int x, int y) {
    QByteArray place(8, 0);
    Put32(place, 0, x), Put32(place, 4, y);
    const qsizetype at = bytes.indexOf(place);
    return at >= 0 && bytes.indexOf(place, at + 1) < 0 ? at : -1;
}

// A game whose next End Turn costs the player a ship, whatever the seed: a ship of the player's with one shield
// point put on a computer player's planet that no other ship is near, the planet's weapon taken away (a computer
// player buys one at once, ready, and fires it at the first enemy ship in reach); then the map says so for a few
// seconds under the status line, and Ctrl+R lists it.
TEST(Window, AShipLostInTheTurnIsSummedUpOverTheMapAndInTheTurnReport) {
    const QString game = QDir::current().filePath("lost.zvq");
    Exec(QUORVANE_CLI, {"new", "--seed", "11", "--size", "small", "--turns", "30", "--autopilot", "-o", game});
    QString text;
    Exec(QUORVANE_CLI, {"dump", game}, &text);
    const QJsonObject start = QJsonDocument::fromJson(text.toUtf8()).object();
    const int players = start["players"].toArray().size();
    QJsonObject ship, planet;
    for (const QJsonValue w : start["worlds"].toArray())
        for (const QJsonValue p : w["planets"].toArray()) {
            if (p["owner"].toInt() < 2 || p["owner"].toInt() == players || !planet.isEmpty()) continue;
            QJsonObject mine;
            int near = 0;
            for (const QJsonValue s : w["ships"].toArray()) {
                if (s["owner"].toInt() == 1 && mine.isEmpty()) mine = s.toObject();
                else near += std::hypot(s["x"].toInt() - p["x"].toInt(), s["y"].toInt() - p["y"].toInt()) < 400;
            }
            if (!mine.isEmpty() && !near) ship = mine, planet = p.toObject();
        }
    ASSERT_FALSE(planet.isEmpty()) << "no ship of the player's beside a lone computer planet";
    QFile file(game);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype onPlanet = RecordAt(bytes, planet["x"].toInt(), planet["y"].toInt());
    const qsizetype onShip = RecordAt(bytes, ship["x"].toInt(), ship["y"].toInt());
    ASSERT_TRUE(onPlanet >= 0 && onShip >= 0);
    Put32(bytes, onPlanet + 56, 0);  // x y picture direction period shield reserved equip[6] owner | weapon
    Put32(bytes, onShip, planet["x"].toInt());
    Put32(bytes, onShip + 4, planet["y"].toInt());
    Put32(bytes, onShip + 22, 1);  // x y actionPoints reserved holds, holdFull readiness (a byte each) | shield
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    file.close();

    QProcess program;
    const QRect view = Start(program, game);
    ASSERT_FALSE(view.isEmpty()) << "no main window";
    // The light of the summary's white letters under the status line.
    const QRect line(5, view.top() + 25, 300, 16);
    auto white = [&](const QImage& shot) {
        int n = 0;
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = line.left(); x <= line.right(); ++x) n += qGray(shot.pixel(x, y)) > 180;
        return n;
    };
    const int before = white(Screen());
    Xdo({"key", "End"});
    EXPECT_TRUE(WaitFor([&] { return white(Screen()) > before + 80; })) << "no summary after the turn";
    const QImage summed = Screen();
    Xdo({"key", "ctrl+r"});
    const QRect report = WaitForWindow("Turn Report", summed, 700);
    EXPECT_FALSE(report.isEmpty()) << "no Turn Report";
    Xdo({"key", "Escape"});
    EXPECT_TRUE(WaitFor([&] { return white(Screen()) < before + 40; })) << "the summary stays";
    Exit(program);
}

}  // namespace

// A scratch home and folder for the program (the display is xvfb-run's).
int main(int argc, char** argv) {
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, scratch.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QUORVANE_DATA_DIR", QUORVANE_DATA_OUT);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
