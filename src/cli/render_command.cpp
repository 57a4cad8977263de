// quorvane-cli render: one idle frame of a saved game, drawn by the map
// painter the game uses and written as a PNG picture; or the title screen.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/counted.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"
#include "model/saved_game.h"
#include "presentation/map_painter.h"
#include "presentation/picture_set.h"
#include "presentation/title_screen.h"

namespace qv::cli {

namespace {

std::string Text(const QString& text) { return text.toStdString(); }

int WholeNumber(const QString& text, const QString& option) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) throw UsageError(Text("--" + option + " wants a whole number, not '" + text + "'"));
    return value;
}

// --select and --hover: "planet:3", "asteroid:1", "ship:12".
struct RecordChoice {
    QString kind;
    int index = 0;
};

RecordChoice ParseChoice(const QCommandLineParser& args, const QString& option) {
    const QString value = args.value(option);
    const qsizetype colon = value.indexOf(':');
    RecordChoice choice;
    if (colon > 0) {
        choice.kind = value.left(colon).trimmed().toLower();
        choice.index = WholeNumber(value.mid(colon + 1), option);
    }
    if (choice.kind != "planet" && choice.kind != "asteroid" && choice.kind != "ship")
        throw UsageError(Text("--" + option + " wants planet:N, asteroid:N or ship:N, not '" + value + "'"));
    return choice;
}

template <typename T>
T* Chosen(T* head, const RecordChoice& choice) {
    T* record = RecordAt(head, choice.index);
    if (!record) {
        throw Failure("world " + std::to_string(g_currentWorld->number) + " has " +
                      Counted(CountOf(head), Text(choice.kind)) + " in its list, no " + Text(choice.kind) + " " +
                      std::to_string(choice.index));
    }
    return record;
}

// Points the selection (or hover) pointers at the chosen record of the
// current world; the other two stay null.
void Choose(const RecordChoice& choice, Planet*& planet, Asteroid*& asteroid, Ship*& ship) {
    planet = nullptr;
    asteroid = nullptr;
    ship = nullptr;
    if (choice.kind == "planet") planet = Chosen(g_currentWorld->planets, choice);
    else if (choice.kind == "asteroid") asteroid = Chosen(g_currentWorld->asteroids, choice);
    else ship = Chosen(g_currentWorld->ships, choice);
}

// --world N (1-based).
void ChooseWorld(const QCommandLineParser& args) {
    const int number = WholeNumber(args.value("world"), "world");
    World* world = RecordAt(g_worlds, number);
    if (!world)
        throw Failure("no world " + std::to_string(number) + "; the game has " + std::to_string(CountOf(g_worlds)) +
                      " worlds");
    g_currentWorld = world;
}

// --view LEFT,TOP, moved into the map when it reaches outside.
void ChooseView(const QCommandLineParser& args) {
    const QStringList parts = args.value("view").split(',');
    if (parts.size() != 2) throw UsageError(Text("--view wants LEFT,TOP, not '" + args.value("view") + "'"));
    const int left = WholeNumber(parts[0], "view");
    const int top = WholeNumber(parts[1], "view");
    g_viewLeft = std::clamp(left, 0, std::max(0, g_worldSize - kViewWidth));
    g_viewTop = std::clamp(top, 0, std::max(0, g_worldSize - kViewHeight));
    g_viewRight = g_viewLeft + kViewWidth;
    g_viewBottom = g_viewTop + kViewHeight;
}

void WritePng(const QString& path, const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw Failure("cannot encode the picture as PNG");
    WriteFileAtomically(path, std::vector<std::uint8_t>(png.begin(), png.end()));
}

}  // namespace

int RunRender(const QCommandLineParser& args) {
    const QStringList files = args.positionalArguments();
    if (args.isSet("title")) {
        if (!files.isEmpty()) throw UsageError("--title draws no game: leave out " + Text(files.first()));
        WritePng(args.value("output"), TitleScreenImage(PictureSet::Load()));
        return kExitOk;
    }
    if (files.isEmpty()) throw UsageError("missing argument FILE.zvq");

    const std::vector<std::uint8_t> bytes = ReadFileBytes(files.first());
    GameScope scope;
    StartWithRaces(args);
    NewGameOptions documentOptions;
    if (!LoadGameBytes(bytes.data(), bytes.size(), LocalPath(files.first()), documentOptions))
        return kExitBadInput;  // the game named the file and the problem

    if (args.isSet("world")) ChooseWorld(args);
    if (!g_currentWorld) throw Failure("the game shows no world");
    if (args.isSet("view")) ChooseView(args);
    if (args.isSet("select")) Choose(ParseChoice(args, "select"), g_selPlanet, g_selAsteroid, g_selShip);
    if (args.isSet("hover")) Choose(ParseChoice(args, "hover"), g_hoverPlanet, g_hoverAsteroid, g_hoverShip);

    MapPainter painter(PictureSet::Load());
    painter.compose(FrameKind::Idle, FrameRequests{});
    painter.present();
    WritePng(args.value("output"), painter.frontImage());
    return kExitOk;
}

}  // namespace qv::cli
