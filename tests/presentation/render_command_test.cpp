// quorvane-cli render, run as a child process on a generated game: the
// picture it writes, the options that choose what is shown, and its errors.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(QUORVANE_CLI), args);
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

const QString kData = QStringLiteral(QUORVANE_DATA_OUT);

// True when the two pictures differ only inside area.
bool SameOutside(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!area.contains(x, y) && a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        game = dir.filePath("game.zvq");
        const CliRun made = RunCli({"new", "--seed", "3", "--data", kData, "-o", game});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        const CliRun dumped = RunCli({"dump", game, "--data", kData});
        ASSERT_EQ(dumped.exitCode, 0) << dumped.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(dumped.out).object();
        worldSize = json["worldSize"].toInt();
        const QJsonArray worlds = json["worlds"].toArray();
        for (int i = 0; i < worlds.size() && worldWithPlanet == 0; ++i)
            if (!worlds[i].toObject()["planets"].toArray().isEmpty()) worldWithPlanet = i + 1;
        ASSERT_GT(worldWithPlanet, 0);
        const QJsonObject planet = worlds[worldWithPlanet - 1].toObject()["planets"].toArray()[0].toObject();
        planetX = planet["x"].toInt();
        planetY = planet["y"].toInt();
    }

    // Renders with the extra options; the picture, or a null one on failure.
    QImage Render(const QStringList& options, const QString& name = "frame.png") {
        const QString out = dir.filePath(name);
        const CliRun run = RunCli(QStringList{"render", game, "--data", kData, "-o", out} + options);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir dir;
    QString game;
    int worldSize = 0;
    int worldWithPlanet = 0;
    int planetX = 0;
    int planetY = 0;
};

TEST_F(RenderCommandTest, WritesAFrameOfTheChosenWorldAndView) {
    const QString world = QString::number(worldWithPlanet);
    const QString view = QString::number(planetX - 400) + "," + QString::number(planetY - 300);
    const QImage plain = Render({"--world", world, "--view", view});
    ASSERT_EQ(plain.size(), QSize(800, 600));

    // The view is moved into the map.
    EXPECT_EQ(Render({"--world", world, "--view", "-500,-70000"}, "a.png"),
              Render({"--world", world, "--view", "0,0"}, "b.png"));
    const QString far = QString::number(worldSize) + "," + QString::number(worldSize);
    const QString corner = QString::number(worldSize - 800) + "," + QString::number(worldSize - 600);
    EXPECT_EQ(Render({"--world", world, "--view", far}, "a.png"), Render({"--world", world, "--view", corner}, "b.png"));

    // Hovering shows the panel and changes nothing else.
    const QImage hovered = Render({"--world", world, "--view", view, "--hover", "planet:1"}, "hover.png");
    const QRect panel(640, 175, 160, 45);
    EXPECT_NE(hovered, plain);
    EXPECT_TRUE(SameOutside(hovered, plain, panel));

    // Selecting draws the circle of 35 around the planet, in the middle of
    // the view unless the view had to be moved.
    const QImage selected = Render({"--world", world, "--view", view, "--select", "PLANET:1"}, "select.png");
    EXPECT_NE(selected, plain);
    if (planetX >= 400 && planetX <= worldSize - 400 && planetY >= 300 && planetY <= worldSize - 300) {
        EXPECT_NE(selected.pixel(365, 300), plain.pixel(365, 300));
    }
}

TEST_F(RenderCommandTest, DrawsTheTitleScreenWithoutAGame) {
    const QString out = dir.filePath("title.png");
    const CliRun run = RunCli({"render", "--title", "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(800, 600));
}

TEST_F(RenderCommandTest, RefusesWhatItCannotShow) {
    const QString out = dir.filePath("never.png");
    for (const auto& [args, code] : std::vector<std::pair<QStringList, int>>{
             {{"render", game, "--data", kData, "--world", "99", "-o", out}, 1},
             {{"render", game, "--data", kData, "--select", "planet:999", "-o", out}, 1},
             {{"render", game, "--data", kData, "--select", "moon:1", "-o", out}, 2},
             {{"render", game, "--data", kData, "--hover", "ship", "-o", out}, 2},
             {{"render", game, "--data", kData, "--view", "10", "-o", out}, 2},
             {{"render", game, "--data", kData, "--world", "two", "-o", out}, 2},
             {{"render", "--data", kData, "-o", out}, 2},
             {{"render", game, "--title", "-o", out}, 2},
             {{"render", game, "--data", kData}, 2},
             {{"render", dir.filePath("missing.zvq"), "--data", kData, "-o", out}, 1},
         }) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, code) << args.join(' ').toStdString() << "\n" << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << args.join(' ').toStdString();
    }
}

}  // namespace
