// quorvane-cli new / dump: generating a game from the New Game options, and
// reading a saved game, both shown as the game JSON of game_json.h.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/game_json.h"
#include "cli/plain_text.h"
#include "cli/race_json.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/races.h"
#include "model/records.h"
#include "model/saved_game.h"

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

}  // namespace

// The entries of each New Game list, in the order of the option indexes.
const QStringList kQuantities = {"lots", "several", "few"};
const QStringList kSizes = {"huge", "large", "medium", "small", "tiny"};
const QStringList kUnstabilities = {"high", "medium", "low", "none"};
const QStringList kCredits = {"5000", "3000", "2000", "1000", "500"};

namespace {

// The index of the option's value in values (any case), or fallback when the
// option is not given.
std::int32_t ListOption(const QCommandLineParser& args, const QString& name, const QStringList& values,
                        std::int32_t fallback) {
    if (!args.isSet(name)) return fallback;
    const QString value = args.value(name);
    const qsizetype index = values.indexOf(value.toLower());
    if (index < 0)
        throw UsageError(("--" + name + ": unknown value '" + value + "' (expected " + values.join(", ") + ")")
                             .toStdString());
    return static_cast<std::int32_t>(index);
}

}  // namespace

// The race option: 0 (the head of the list) without --race, else the
// position of the race of that name, counting the head as 0. The name is
// matched exactly, else without regard to case when that finds only one race.
std::int32_t RaceOption(const QCommandLineParser& args, const fs::path& dir) {
    if (!args.isSet("race")) return 0;
    const QString wanted = args.value("race");
    const std::string bytes = wanted.toStdString();
    std::int32_t index = 0;
    for (const Race* r = g_races; r; r = r->next, ++index)
        if (r->name == bytes || TextAsUtf8(r->name) == bytes) return index;

    std::int32_t found = -1;
    index = 0;
    for (const Race* r = g_races; r; r = r->next, ++index) {
        if (QString::fromStdString(TextAsUtf8(r->name)).compare(wanted, Qt::CaseInsensitive) != 0) continue;
        if (found >= 0)
            throw Failure("race name '" + bytes + "' matches more than one race when case is ignored; give it exactly");
        found = index;
    }
    if (found >= 0) return found;

    std::string known;
    for (const Race* r = g_races; r; r = r->next) known += (known.empty() ? "'" : ", '") + DisplayText(r->name) + "'";
    throw Failure("unknown race '" + bytes + "'; the races in " + dir.string() + " are " + known);
}

namespace {

// The number of the first world where player owns a planet, 0 when none.
int HomeWorld(const Player* player) {
    for (const World* w = g_worlds; w; w = w->next)
        for (const Planet* p = w->planets; p; p = p->next)
            if (p->owner == player) return w->number;
    return 0;
}


// What "new --turns" prints: the game, then the players after the turns.
std::string PlayedSummary(std::uint32_t seed, const TurnRequest& request, const TurnsPlayed& played) {
    std::string out = "New game from seed " + std::to_string(seed) + ", then " + std::to_string(played.played) +
                      (played.played == 1 ? " turn" : " turns") + (request.autopilot ? " on autopilot" : "") + "\n";
    out += GameLine();
    out += "Players:\n" + PlayersTable(played);
    return out;
}

std::string Summary(std::uint32_t seed) {
    std::string out = "New game from seed " + std::to_string(seed) + "\n";
    out += GameLine();
    out += "  Shown: world " + std::to_string(g_currentWorld ? g_currentWorld->number : 0) + "\n";

    out += "Players:\n";
    TextTable players({{"Player"}, {"Colour"}, {"Race"}, {"Gold", true}, {"Planets", true}, {"Home world", true}});
    int number = 1;
    for (const Player* p = g_players; p; p = p->next, ++number) {
        const bool neutral = !p->next && p != g_players;
        const std::string name = neutral ? "neutral" : number == 1 ? "1 (you)" : std::to_string(number);
        const int home = neutral ? 0 : HomeWorld(p);
        players.addRow({name, ColourText(p->colour), p->race ? DisplayText(p->race->name) : "-",
                        std::to_string(p->gold), std::to_string(p->planetCount),
                        home ? std::to_string(home) : "-"});
    }
    out += players.render("  ");

    out += "Worlds:\n";
    TextTable worlds({{"World", true}, {"Planets", true}, {"Asteroids", true}});
    for (const World* w = g_worlds; w; w = w->next)
        worlds.addRow({std::to_string(w->number), std::to_string(CountOf(w->planets)),
                       std::to_string(CountOf(w->asteroids))});
    out += worlds.render("  ");
    return out;
}

}  // namespace

// ---- Shared with play_command.cpp ---------------------------------------------

GameScope::~GameScope() {
    DestroyGame();
    DestroyRaces();
}

std::optional<std::uint32_t> SeedOption(const QCommandLineParser& args) {
    if (!args.isSet("seed")) return std::nullopt;
    const QString text = args.value("seed");
    bool digits = !text.isEmpty();
    for (const QChar c : text) digits = digits && c >= u'0' && c <= u'9';
    bool ok = false;
    const qulonglong value = digits ? text.toULongLong(&ok, 10) : 0;
    if (!digits || !ok || value > 0xFFFFFFFFull)
        throw UsageError(("--seed: '" + text + "' is not a whole number from 0 to 4294967295").toStdString());
    return static_cast<std::uint32_t>(value);
}

// Refused races are reported on standard error by the loader; a race file
// that cannot be opened ends the program there.
fs::path StartWithRaces(const QCommandLineParser& args) {
    const std::string given = args.isSet("data") ? LocalPath(args.value("data")) : std::string();
    if (!given.empty() && !fs::is_directory(given)) throw Failure("no such folder: " + given);
    const fs::path dir = ResolveDataDir(given);
    if (!StartUp(dir)) throw Failure("cannot load the races of " + dir.string());
    if (!g_races) throw Failure("no race found in " + dir.string());
    return dir;
}

std::string ColourText(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

std::string GameLine() {
    const std::string unstability =
        g_unstability >= 0 && g_unstability < kUnstabilities.size() ? kUnstabilities[g_unstability].toStdString() : "?";
    return "  " + std::to_string(g_worldCount) + " worlds of " + std::to_string(g_worldSize) + " x " +
           std::to_string(g_worldSize) + ", " + std::to_string(g_asteroidTotal) + " asteroids, instability " +
           unstability + ", turn " + std::to_string(g_turn) + "\n";
}

NewGameOptions NewGameChoice(const QCommandLineParser& args) {
    NewGameOptions chosen;
    chosen.worldsQuantityOption = ListOption(args, "worlds", kQuantities, chosen.worldsQuantityOption);
    chosen.worldsSizeOption = ListOption(args, "size", kSizes, chosen.worldsSizeOption);
    chosen.resourcesOption = ListOption(args, "resources", kQuantities, chosen.resourcesOption);
    chosen.unstabilityOption = ListOption(args, "unstability", kUnstabilities, chosen.unstabilityOption);
    chosen.aiPlayersOption = ListOption(args, "ai", kQuantities, chosen.aiPlayersOption);
    chosen.creditsOption = ListOption(args, "credits", kCredits, chosen.creditsOption);
    return chosen;
}

int RunNew(const QCommandLineParser& args) {
    NewGameOptions chosen = NewGameChoice(args);
    const std::optional<std::uint32_t> given = SeedOption(args);
    const TurnRequest request = TurnOptions(args);
    // Without a seed the clock seeds the game, as in the game; taking it here
    // lets the summary say which seed gives the same game again.
    const std::uint32_t seed = given ? *given : static_cast<std::uint32_t>(CurrentPlatform().now());

    GameScope scope;
    const fs::path dir = StartWithRaces(args);
    chosen.raceOption = RaceOption(args, dir);

    NewGameOptions documentOptions;
    if (!StartNewGame(documentOptions, chosen, seed)) return kExitBadInput;  // the game said why
    // The turns go on with the generator where generation left it.
    const TurnsPlayed played = PlayTurns(request);

    const bool json = args.isSet("json");
    const std::string text = json ? GameJson() : std::string();
    if (args.isSet("output")) WriteFileAtomically(args.value("output"), SaveGameBytes(documentOptions));
    if (json) WriteOut(text);
    else if (!args.isSet("output")) WriteOut(request.given ? PlayedSummary(seed, request, played) : Summary(seed));
    return kExitOk;
}

int RunDump(const QCommandLineParser& args) {
    const QString path = args.positionalArguments().first();
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    GameScope scope;
    StartWithRaces(args);
    NewGameOptions documentOptions;
    if (!LoadGameBytes(bytes.data(), bytes.size(), LocalPath(path), documentOptions))
        return kExitBadInput;  // the game named the file and the problem
    WriteOut(GameJson());
    return kExitOk;
}

}  // namespace qv::cli
