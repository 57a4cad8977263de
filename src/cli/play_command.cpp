// quorvane-cli play, and the turns "new --turns" plays: End Turn run again
// and again on a game, with the players' standings at the end.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/game_json.h"
#include "cli/plain_text.h"
#include "cli/progress_bar.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/records.h"
#include "model/saved_game.h"
#include "presentation/power_graph.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"
#include "turn/turn_report.h"

namespace qv::cli {

namespace {

// The planets and ships a player holds, counted on the map.
struct Holdings {
    long long planets = 0;
    long long ships = 0;
};

long long ShipsOf(const Ship* head, const Player* player) {
    long long n = 0;
    for (const Ship* s = head; s; s = s->next) n += s->owner == player;
    return n;
}

Holdings HoldingsOf(const Player* player) {
    Holdings h;
    for (const World* w = g_worlds; w; w = w->next) {
        h.ships += ShipsOf(w->ships, player);
        for (const Asteroid* a = w->asteroids; a; a = a->next) h.ships += ShipsOf(a->ships, player);
        for (const Planet* p = w->planets; p; p = p->next) {
            h.planets += p->owner == player;
            h.ships += ShipsOf(p->docks, player);
        }
    }
    return h;
}

std::string TurnsText(int n) { return std::to_string(n) + (n == 1 ? " turn" : " turns"); }

// --plot: the Statistics graph of the running game as a PNG picture, written
// whole or not at all. Its texts need the fonts of the GUI application that
// main() makes for it.
void WritePowerPlot(const QString& path) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw Failure("--plot needs the GUI application for its fonts");
    const QImage image = PowerGraphImage(CollectPowerGraph());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw Failure("cannot encode the power graph as PNG");
    WriteFileAtomically(path, std::vector<std::uint8_t>(png.begin(), png.end()));
}

// --events: "Turn N:" and the report's lines of every turn that has some.
std::string EventsText(const std::vector<TurnEvents>& turns) {
    std::string out = "Events:\n";
    if (turns.empty()) out += "  none\n";
    for (const TurnEvents& turn : turns) {
        out += "  Turn " + std::to_string(turn.turn) + ":\n";
        for (const TurnEvent& e : turn.events) out += "    " + DisplayText(DescribeEvent(e)) + "\n";
    }
    return out;
}

}  // namespace

TurnRequest TurnOptions(const QCommandLineParser& args) {
    TurnRequest request;
    request.autopilot = args.isSet("autopilot");
    request.check = args.isSet("check");
    request.events = args.optionNames().contains(QStringLiteral("events"));
    if (!args.isSet("turns")) return request;
    request.given = true;
    const QString text = args.value("turns");
    bool digits = !text.isEmpty() && text.size() <= 7;
    for (const QChar c : text) digits = digits && c >= u'0' && c <= u'9';
    const int value = digits ? text.toInt() : -1;
    if (value < 0 || value > kMaxTurns)
        throw UsageError(
            ("--turns: '" + text + "' is not a whole number from 0 to " + QString::number(kMaxTurns)).toStdString());
    request.turns = value;
    return request;
}

TurnsPlayed PlayTurns(const TurnRequest& request) {
    TurnsPlayed played;
    played.firstTurn = g_turn;
    // The power history holds an entry per turn: a saved game whose turn
    // counter is absurd would make it grow without bound.
    if (g_turn > kMaxTurns || g_turn < 0 || g_turn + request.turns > kMaxTurns)
        throw Failure("the game is at turn " + std::to_string(g_turn) + "; turns are played only up to turn " +
                      std::to_string(kMaxTurns));
    if (request.check) {
        if (const std::string report = CheckConsistency(); !report.empty())
            throw Failure("before turn " + std::to_string(g_turn) + ": " + report + " (no turn played)");
    }
    ProgressBar progress("turn", request.turns);
    for (int i = 0; i < request.turns; ++i) {
        const int turn = g_turn;
        const bool lostBefore = g_gameOver != 0;
        OnEndTurn(request.autopilot);
        ++played.played;
        if (!lostBefore && g_gameOver != 0) played.lostOnTurn = turn;
        if (request.events && !LastTurnEvents().empty()) played.events.push_back({turn, LastTurnEvents()});
        if (request.check) {
            if (const std::string report = CheckConsistency(); !report.empty())
                throw Failure("turn " + std::to_string(turn) + ": " + report + " (stopped after " +
                              std::to_string(played.played) + " of " + TurnsText(request.turns) + ")");
        }
        progress.show(i + 1);
        // The game plays on after a victory, as after a lost game: the turns
        // asked for are all played, and the same file and seed save the same
        // game as they always did.
        if (g_victory && !played.wonOnTurn) played.wonOnTurn = turn;
    }
    return played;
}

std::string PlayersTable(const TurnsPlayed& played, const std::string& indent) {
    TextTable table(
        {{"Player"}, {"Colour"}, {"Race"}, {"Planets", true}, {"Ships", true}, {"Gold", true}, {"Power", true}});
    int position = 1;
    for (const Player* p = g_players; p; p = p->next, ++position) {
        const bool neutral = !p->next && p != g_players;
        const std::string race = p->race ? DisplayText(p->race->name) : "-";
        if (neutral) {
            // The game keeps no counters and no treasury for the neutral
            // player (it never acts): what it holds is counted on the map.
            const Holdings h = HoldingsOf(p);
            table.addRow(
                {"neutral", ColourText(p->colour), race, std::to_string(h.planets), std::to_string(h.ships), "-", "-"});
            continue;
        }
        const std::int64_t power = PlayerPower(*p);
        table.addRow({position == 1 ? "1 (you)" : std::to_string(position), ColourText(p->colour), race,
                      std::to_string(p->planetCount), std::to_string(p->shipCount), std::to_string(p->gold),
                      std::to_string(power)});
    }
    std::string out = table.render(indent);
    if (g_gameOver) {
        out += "The human player has lost";
        if (played.lostOnTurn) out += " (turn " + std::to_string(played.lostOnTurn) + ")";
        out += "; the other players played on.\n";
    }
    if (played.wonOnTurn) {
        const std::string race = g_players && g_players->race ? DisplayText(g_players->race->name) : "-";
        out += "Victory: the winner is 1 (you), " + race + ", on turn " + std::to_string(played.wonOnTurn) +
               "; no computer player holds a planet or a ship.\n";
    }
    return out;
}

int RunPlay(const QCommandLineParser& args) {
    const QString path = args.positionalArguments().first();
    const TurnRequest request = TurnOptions(args);
    const std::optional<std::uint32_t> given = SeedOption(args);
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);

    GameScope scope;
    StartWithRaces(args);
    NewGameOptions documentOptions;
    if (!LoadGameBytes(bytes.data(), bytes.size(), LocalPath(path), documentOptions))
        return kExitBadInput;  // the game named the file and the problem
    // As the game does when it has no seed: the clock; the report says
    // which seed plays the same turns again.
    const std::uint32_t seed = given ? *given : static_cast<std::uint32_t>(CurrentPlatform().now());
    SeedRand(seed);
    const TurnsPlayed played = PlayTurns(request);

    const bool json = args.isSet("json");
    const std::string text =
        json ? GameJson(request.events ? &played.events : nullptr, played.wonOnTurn) : std::string();
    if (args.isSet("output")) WriteFileAtomically(args.value("output"), SaveGameBytes(documentOptions));
    if (args.isSet("plot")) WritePowerPlot(args.value("plot"));
    if (json) {
        WriteOut(text);
        return kExitOk;
    }
    std::string out = LocalPath(path) + ": " + TurnsText(played.played) + " from turn " +
                      std::to_string(played.firstTurn) + " with seed " + std::to_string(seed) +
                      (request.autopilot ? ", on autopilot" : "") + "\n";
    out += GameLine();
    if (request.events) out += EventsText(played.events);
    out += "Players:\n" + PlayersTable(played);
    WriteOut(out);
    return kExitOk;
}

}  // namespace qv::cli
