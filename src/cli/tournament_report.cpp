// The tournament's report, from the results of its matches: a table per race
// (text), the same as JSON with what a merge of shards needs (the options,
// the races' fingerprint, every match's players and the sums of the power
// curves), a CSV row per player per match, and the mean power graph. Every
// figure is computed from the matches in match order, so a run, a run with
// other jobs and a merge of shards give the very same bytes.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/plain_text.h"
#include "cli/tournament.h"
#include "presentation/power_graph.h"
#include "presentation/text_layers.h"

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

// ---- Figures per race ----

struct RaceFigures {
    int matches = 0;  // matches in which it played
    int players = 0;  // its players in those matches
    double wins = 0;
    std::int64_t power = 0, planets = 0, ships = 0;  // summed at the end
    int eliminated = 0;

    double mean(std::int64_t sum) const { return players ? static_cast<double>(sum) / players : 0; }
};

std::vector<RaceFigures> Figures(const TournamentResults& results) {
    std::vector<RaceFigures> figures(results.setup.races.size());
    for (const MatchResult& match : results.matches) {
        if (!match.ok()) continue;
        const std::vector<double> shares = WinShares(match);
        std::set<int> present;
        for (std::size_t i = 0; i < match.players.size(); ++i) {
            const PlayerResult& p = match.players[i];
            RaceFigures& f = figures[static_cast<std::size_t>(p.race - 1)];
            ++f.players;
            f.wins += shares[i];
            f.power += p.power;
            f.planets += p.planets;
            f.ships += p.ships;
            f.eliminated += p.eliminated;
            present.insert(p.race);
        }
        for (const int race : present) ++figures[static_cast<std::size_t>(race - 1)].matches;
    }
    return figures;
}

struct Interval {
    double low = 0, high = 0;
};

// The Wilson score interval of a rate of wins out of n at 95 % (z = 1.96).
Interval Wilson(double wins, int n) {
    if (n <= 0) return {0, 0};
    const double z = 1.959963984540054, p = wins / n, z2n = z * z / n;
    const double centre = (p + z2n / 2) / (1 + z2n);
    const double half = z / (1 + z2n) * std::sqrt(p * (1 - p) / n + z2n / (4 * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::string Percent(double rate) { return FixedText(100 * rate, 1) + " %"; }

std::string OptionText(const QStringList& values, std::int32_t index) {
    return index >= 0 && index < values.size() ? values[index].toStdString() : "?";
}

std::string RaceName(const TournamentSetup& setup, int race) {
    return race >= 1 && race <= static_cast<int>(setup.races.size())
               ? DisplayText(setup.races[static_cast<std::size_t>(race - 1)])
               : "?";
}

int PlayedToTheEnd(const TournamentResults& results) {
    return static_cast<int>(
        std::count_if(results.matches.begin(), results.matches.end(), [](const MatchResult& m) { return m.ok(); }));
}

// ---- Reading JSON ----

[[noreturn]] void Bad(const std::string& what) { throw Failure(what); }

QJsonValue Member(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) Bad(std::string("no \"") + key + "\"");
    return value;
}

std::int64_t Whole(const QJsonValue& value, const char* what, std::int64_t low, std::int64_t high) {
    const double d = value.toDouble(std::nan(""));
    if (!value.isDouble() || d != std::floor(d) || d < static_cast<double>(low) || d > static_cast<double>(high))
        Bad(std::string("\"") + what + "\" is not a whole number from " + std::to_string(low) + " to " +
            std::to_string(high));
    return static_cast<std::int64_t>(d);
}

std::int64_t Whole(const QJsonObject& object, const char* key, std::int64_t low, std::int64_t high) {
    return Whole(Member(object, key), key, low, high);
}

constexpr std::int64_t kBig = std::int64_t{1} << 53;  // the whole numbers a JSON reader keeps exactly

QJsonArray Array(const QJsonObject& object, const char* key) {
    const QJsonValue value = Member(object, key);
    if (!value.isArray()) Bad(std::string("\"") + key + "\" is not an array");
    return value.toArray();
}

QJsonObject Object(const QJsonValue& value, const char* what) {
    if (!value.isObject()) Bad(std::string(what) + " is not an object");
    return value.toObject();
}

std::string Text(const QJsonObject& object, const char* key) {
    const QJsonValue value = Member(object, key);
    if (!value.isString()) Bad(std::string("\"") + key + "\" is not a string");
    return value.toString().toStdString();
}

std::int32_t ListIndex(const QJsonObject& options, const char* key, const QStringList& values) {
    const qsizetype index = values.indexOf(QString::fromStdString(Text(options, key)));
    if (index < 0) Bad(std::string("unknown \"") + key + "\"");
    return static_cast<std::int32_t>(index);
}

MatchResult ReadMatch(const QJsonObject& object, const TournamentSetup& setup, bool withHistory) {
    MatchResult match;
    match.match = static_cast<int>(Whole(object, "match", 0, setup.matches - 1));
    match.seed = static_cast<std::uint32_t>(Whole(object, "seed", 0, 0xFFFFFFFFll));
    match.turns = static_cast<int>(Whole(object, "turns", 0, setup.turns));
    for (const QJsonValue& value : Array(object, "players")) {
        const QJsonObject p = Object(value, "a player");
        PlayerResult player;
        player.race = static_cast<int>(Whole(p, "race", 1, static_cast<std::int64_t>(setup.races.size())));
        player.planets = Whole(p, "planets", 0, kBig);
        player.ships = Whole(p, "ships", 0, kBig);
        player.gold = Whole(p, "gold", -kBig, kBig);
        player.power = Whole(p, "power", -kBig, kBig);
        const QJsonValue eliminated = Member(p, "eliminated");
        if (!eliminated.isBool()) Bad("\"eliminated\" is not true or false");
        player.eliminated = eliminated.toBool();
        match.players.push_back(player);
        if (!withHistory) continue;
        std::vector<std::int32_t> history;
        for (const QJsonValue& v : Array(p, "history"))
            history.push_back(static_cast<std::int32_t>(Whole(v, "history", INT32_MIN, INT32_MAX)));
        if (static_cast<int>(history.size()) != match.turns) Bad("a history of the wrong length");
        match.history.push_back(std::move(history));
    }
    if (match.players.empty()) Bad("a match without players");
    return match;
}

void WritePlayers(JsonWriter& w, const MatchResult& match, bool withHistory) {
    const std::vector<double> shares = WinShares(match);
    w.key("players").beginArray();
    for (std::size_t i = 0; i < match.players.size(); ++i) {
        const PlayerResult& p = match.players[i];
        w.beginObject();
        w.field("race", p.race).field("planets", p.planets).field("ships", p.ships);
        w.field("gold", p.gold).field("power", p.power);
        w.key("eliminated").boolean(p.eliminated);
        if (withHistory) {
            w.key("history").beginArray();
            for (const std::int32_t v : match.history[i]) w.number(v);
            w.endArray();
        } else {
            w.key("win").real(shares[i], 4);
        }
        w.endObject();
    }
    w.endArray();
}

// ---- The graph ----

// Colours of the races' lines, 0x00BBGGRR, told apart on the grey.
constexpr Colour kRaceColours[] = {0x0000C0, 0xC04000, 0x008000, 0x0080E0, 0x800080,
                                   0x808000, 0x004080, 0xC000C0, 0x404040, 0x00A0A0};

// The smallest of 1, 2, 5 x 10^k at or above value.
std::int64_t NiceTop(double value) {
    std::int64_t step = 1;
    for (;;) {
        for (const int m : {1, 2, 5})
            if (static_cast<double>(step * m) >= value) return step * m;
        step *= 10;
    }
}

}  // namespace

bool TournamentSetup::operator==(const TournamentSetup& o) const {
    return matches == o.matches && turns == o.turns && seed == o.seed &&
           game.worldsQuantityOption == o.game.worldsQuantityOption &&
           game.worldsSizeOption == o.game.worldsSizeOption && game.resourcesOption == o.game.resourcesOption &&
           game.unstabilityOption == o.game.unstabilityOption && game.aiPlayersOption == o.game.aiPlayersOption &&
           game.creditsOption == o.game.creditsOption && game.raceOption == o.game.raceOption && races == o.races &&
           fingerprint == o.fingerprint;
}

void TournamentResults::add(MatchResult match) {
    if (match.ok()) {
        for (std::size_t i = 0; i < match.players.size() && i < match.history.size(); ++i) {
            std::vector<std::int64_t>& sums = powerSums[static_cast<std::size_t>(match.players[i].race - 1)];
            const std::vector<std::int32_t>& history = match.history[i];
            std::int64_t last = 0;
            for (std::size_t t = 0; t < sums.size(); ++t) {
                if (t < history.size()) last = history[t];
                sums[t] += last;
            }
        }
    }
    match.history.clear();
    matches.push_back(std::move(match));
}

std::vector<double> WinShares(const MatchResult& match) {
    std::vector<double> shares(match.players.size(), 0.0);
    const auto standing = [&](std::size_t i) { return !match.players[i].eliminated; };
    bool anyStanding = false;
    for (std::size_t i = 0; i < match.players.size(); ++i) anyStanding = anyStanding || standing(i);
    std::int64_t best = 0;
    bool first = true;
    for (std::size_t i = 0; i < match.players.size(); ++i) {
        if (anyStanding && !standing(i)) continue;
        if (first || match.players[i].power > best) best = match.players[i].power;
        first = false;
    }
    std::vector<std::size_t> winners;
    for (std::size_t i = 0; i < match.players.size(); ++i)
        if ((!anyStanding || standing(i)) && match.players[i].power == best) winners.push_back(i);
    for (const std::size_t i : winners) shares[i] = 1.0 / static_cast<double>(winners.size());
    return shares;
}

std::string RaceFingerprint(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".race") files.push_back(it->path());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    std::uint64_t hash = 0xcbf29ce484222325ull;
    const auto mix = [&](const std::string& bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001b3ull;
        }
        hash ^= 0xFF;  // ends the piece, so that "ab" + "c" differs from "a" + "bc"
        hash *= 0x100000001b3ull;
    };
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw Failure("cannot read " + file.string());
        mix(file.filename().string());
        mix(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string MatchLine(const MatchResult& match) {
    JsonWriter w;
    w.beginObject(true);
    w.field("match", match.match).field("seed", match.seed).field("turns", match.turns);
    WritePlayers(w, match, true);
    w.endObject();
    return w.finish();
}

MatchResult ReadMatchLine(const std::string& text, const TournamentSetup& setup) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        Bad("not a line of JSON: " + error.errorString().toStdString());
    return ReadMatch(doc.object(), setup, true);
}

std::string ReportText(const TournamentResults& results) {
    const TournamentSetup& s = results.setup;
    const NewGameOptions& g = s.game;
    const std::uint32_t last = s.seed + static_cast<std::uint32_t>(s.matches - 1);
    std::string out = "Tournament of " + std::to_string(s.matches) + (s.matches == 1 ? " match" : " matches") +
                      " (seeds " + std::to_string(s.seed) + " to " + std::to_string(last) + "), up to " +
                      std::to_string(s.turns) + " turns each, every player on autopilot\n";
    out += "  worlds " + OptionText(kQuantities, g.worldsQuantityOption) + ", size " +
           OptionText(kSizes, g.worldsSizeOption) + ", resources " + OptionText(kQuantities, g.resourcesOption) +
           ", unstability " + OptionText(kUnstabilities, g.unstabilityOption) + ", ai " +
           OptionText(kQuantities, g.aiPlayersOption) + ", credits " + OptionText(kCredits, g.creditsOption) +
           "; player 1 is " + RaceName(s, g.raceOption + 1) + "\n";
    out += "  races " + s.fingerprint + "\n";
    if (results.shardCount > 1)
        out += "  shard " + std::to_string(results.shardIndex) + "/" + std::to_string(results.shardCount) +
               ": the matches i with i mod " + std::to_string(results.shardCount) + " = " +
               std::to_string(results.shardIndex) + "\n";
    const int ok = PlayedToTheEnd(results);
    int early = 0;
    long long earlyTurns = 0;
    for (const MatchResult& m : results.matches)
        if (m.ok() && m.turns < s.turns) {
            ++early;
            earlyTurns += m.turns;
        }
    out += "  " + std::to_string(ok) + " of " + std::to_string(results.matches.size()) +
           " matches played: " + std::to_string(early) + " ended with one player left";
    if (early) out += " (after " + FixedText(static_cast<double>(earlyTurns) / early, 1) + " turns on average)";
    out += ", " + std::to_string(ok - early) + " went all " + std::to_string(s.turns) + " turns\n";
    // Player 1 moves first and always has the same race: its share of the
    // wins tells how much of its race's rate the seat makes.
    double firstSeat = 0;
    for (const MatchResult& m : results.matches)
        if (m.ok()) firstSeat += WinShares(m).front();
    if (ok)
        out += "  player 1 (" + RaceName(s, g.raceOption + 1) + ", moving first) won " + FixedText(firstSeat, 2) +
               " of them (" + Percent(firstSeat / ok) + ")\n";

    out += "Races (win rate: wins / matches played, 95 % Wilson interval; means per player at the end):\n";
    TextTable table({{"Race"},
                     {"Matches", true},
                     {"Players", true},
                     {"Wins", true},
                     {"Win rate", true},
                     {"95 % interval", true},
                     {"Power", true},
                     {"Planets", true},
                     {"Ships", true},
                     {"Eliminated", true}});
    const std::vector<RaceFigures> figures = Figures(results);
    for (std::size_t r = 0; r < figures.size(); ++r) {
        const RaceFigures& f = figures[r];
        if (!f.players) {
            table.addRow({RaceName(s, static_cast<int>(r) + 1), "0", "0", "-", "-", "-", "-", "-", "-", "-"});
            continue;
        }
        const Interval ci = Wilson(f.wins, f.matches);
        table.addRow({RaceName(s, static_cast<int>(r) + 1), std::to_string(f.matches), std::to_string(f.players),
                      FixedText(f.wins, 2), Percent(f.wins / f.matches), Percent(ci.low) + " - " + Percent(ci.high),
                      FixedText(f.mean(f.power), 0), FixedText(f.mean(f.planets), 2), FixedText(f.mean(f.ships), 1),
                      Percent(static_cast<double>(f.eliminated) / f.players)});
    }
    out += table.render("  ");
    const std::size_t failed = results.matches.size() - static_cast<std::size_t>(ok);
    if (failed) {
        out += "Failed matches (" + std::to_string(failed) + "), left out of the figures:\n";
        for (const MatchResult& m : results.matches)
            if (!m.ok())
                out += "  match " + std::to_string(m.match) + ", seed " + std::to_string(m.seed) + ": " +
                       DisplayText(m.failure) + "\n";
    }
    return out;
}

std::string ReportJson(const TournamentResults& results) {
    const TournamentSetup& s = results.setup;
    JsonWriter w;
    w.beginObject();
    w.field("matches", s.matches).field("turns", s.turns).field("seed", s.seed);
    w.key("options").beginObject(true);
    w.key("worlds").text(OptionText(kQuantities, s.game.worldsQuantityOption));
    w.key("size").text(OptionText(kSizes, s.game.worldsSizeOption));
    w.key("resources").text(OptionText(kQuantities, s.game.resourcesOption));
    w.key("unstability").text(OptionText(kUnstabilities, s.game.unstabilityOption));
    w.key("ai").text(OptionText(kQuantities, s.game.aiPlayersOption));
    w.key("credits").text(OptionText(kCredits, s.game.creditsOption));
    w.field("race", s.game.raceOption + 1);
    w.endObject();
    w.key("races").beginArray(true);
    for (const std::string& name : s.races) w.text(name);
    w.endArray();
    w.key("raceFingerprint").text(s.fingerprint);
    w.key("shard").beginObject(true).field("index", results.shardIndex).field("count", results.shardCount).endObject();

    w.key("winRateInterval").text("Wilson score interval, 95 %");
    w.key("summary").beginArray();
    const std::vector<RaceFigures> figures = Figures(results);
    for (std::size_t r = 0; r < figures.size(); ++r) {
        const RaceFigures& f = figures[r];
        const Interval ci = Wilson(f.wins, f.matches);
        w.beginObject(true);
        w.key("race").text(s.races[r]);
        w.field("matches", f.matches).field("players", f.players);
        w.key("wins").real(f.wins, 4);
        w.key("winRate").real(f.matches ? f.wins / f.matches : 0, 4);
        w.key("winRateLow").real(ci.low, 4).key("winRateHigh").real(ci.high, 4);
        w.key("meanPower").real(f.mean(f.power), 2).key("meanPlanets").real(f.mean(f.planets), 4);
        w.key("meanShips").real(f.mean(f.ships), 4);
        w.key("eliminatedRate").real(f.players ? static_cast<double>(f.eliminated) / f.players : 0, 4);
        w.endObject();
    }
    w.endArray();

    w.key("failures").beginArray();
    for (const MatchResult& m : results.matches)
        if (!m.ok()) {
            w.beginObject(true).field("match", m.match).field("seed", m.seed);
            w.key("reason").text(m.failure).endObject();
        }
    w.endArray();

    w.key("results").beginArray();
    for (const MatchResult& m : results.matches) {
        if (!m.ok()) continue;
        w.beginObject(true).field("match", m.match).field("seed", m.seed).field("turns", m.turns);
        WritePlayers(w, m, false);
        w.endObject();
    }
    w.endArray();

    w.key("powerSums").beginArray();
    for (const std::vector<std::int64_t>& sums : results.powerSums) {
        w.beginArray(true);
        for (const std::int64_t v : sums) w.number(v);
        w.endArray();
    }
    w.endArray();
    w.endObject();
    return w.finish();
}

std::string ReportCsv(const TournamentResults& results) {
    std::string out = "match,seed,turns,player,race,planets,ships,gold,power,eliminated,win\n";
    for (const MatchResult& m : results.matches) {
        if (!m.ok()) continue;
        const std::vector<double> shares = WinShares(m);
        for (std::size_t i = 0; i < m.players.size(); ++i) {
            const PlayerResult& p = m.players[i];
            std::string race = "\"";
            for (const char c : RaceName(results.setup, p.race))
                race += c == '"' ? std::string("\"\"") : std::string(1, c);
            race += '"';
            out += std::to_string(m.match) + "," + std::to_string(m.seed) + "," + std::to_string(m.turns) + "," +
                   std::to_string(i + 1) + "," + race + "," + std::to_string(p.planets) + "," +
                   std::to_string(p.ships) + "," + std::to_string(p.gold) + "," + std::to_string(p.power) + "," +
                   (p.eliminated ? "1" : "0") + "," + FixedText(shares[i], 4) + "\n";
        }
    }
    return out;
}

std::vector<std::uint8_t> ReportPlot(const TournamentResults& results) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw Failure("--plot needs the GUI application for its fonts");
    const TournamentSetup& s = results.setup;
    const std::vector<RaceFigures> figures = Figures(results);
    // The Statistics graph's scale (50 power a pixel) fits 10000; higher
    // means are drawn to a scale whose top is written beside "Power".
    double highest = 0;
    std::vector<std::size_t> shown;
    for (std::size_t r = 0; r < figures.size(); ++r) {
        if (!figures[r].players) continue;
        shown.push_back(r);
        for (const std::int64_t sum : results.powerSums[r])
            highest = std::max(highest, static_cast<double>(sum) / figures[r].players);
    }
    const std::int64_t top = NiceTop(std::max(highest, 10000.0));
    PowerGraphData data;
    data.turn = s.turns + 1;  // the history starts with turn 0, at power 0
    for (const std::size_t r : shown) {
        PowerLine line;
        line.colour = kRaceColours[r % std::size(kRaceColours)];
        line.power.push_back(0);
        for (const std::int64_t sum : results.powerSums[r]) {
            const double mean = static_cast<double>(sum) / figures[r].players;
            line.power.push_back(static_cast<std::int32_t>(std::lround(mean * 10000.0 / static_cast<double>(top))));
        }
        data.lines.push_back(std::move(line));
    }
    constexpr int kLegendTop = 238, kLegendRow = 14;
    const int rows = static_cast<int>((shown.size() + 1) / 2);
    const int height = std::max(kStatisticsClientSize.height(), kLegendTop + rows * kLegendRow + 6);
    QImage image = PowerGraphImage(data, QSize(kStatisticsClientSize.width(), height));
    QPainter painter(&image);
    painter.setFont(MapFont());
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    const int afterPower = 4 + painter.fontMetrics().horizontalAdvance(QStringLiteral("Power")) + 8;
    painter.drawText(QPoint(afterPower, 4 + ascent),
                     QString("(mean of each race's players; top of the axis %1)").arg(top));
    painter.drawText(QPoint(8, 224 + ascent), "0");
    const QString last = QString::number(s.turns);
    painter.drawText(
        QPoint(PowerGraphX(s.turns + 1, s.turns + 1) - painter.fontMetrics().horizontalAdvance(last) / 2, 224 + ascent),
        last);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const int x = 14 + static_cast<int>(k % 2) * 228, y = kLegendTop + static_cast<int>(k / 2) * kLegendRow;
        const QColor colour(kRaceColours[shown[k] % std::size(kRaceColours)] & 0xFF,
                            (kRaceColours[shown[k] % std::size(kRaceColours)] >> 8) & 0xFF,
                            (kRaceColours[shown[k] % std::size(kRaceColours)] >> 16) & 0xFF);
        painter.setPen(QPen(colour, 3));
        painter.drawLine(x, y + 6, x + 20, y + 6);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x + 26, y + ascent),
                         QString::fromStdString(RaceName(s, static_cast<int>(shown[k]) + 1)));
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw Failure("cannot encode the power graph as PNG");
    return std::vector<std::uint8_t>(png.begin(), png.end());
}

TournamentResults ReadResultsFile(const QString& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const std::string name = LocalPath(path);
    try {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())), &error);
        if (error.error != QJsonParseError::NoError) Bad("not JSON: " + error.errorString().toStdString());
        if (!doc.isObject()) Bad("not a JSON object");
        const QJsonObject top = doc.object();
        TournamentResults results;
        TournamentSetup& s = results.setup;
        s.matches = static_cast<int>(Whole(top, "matches", 1, kMaxTournamentMatches));
        s.turns = static_cast<int>(Whole(top, "turns", 1, kMaxTournamentTurns));
        s.seed = static_cast<std::uint32_t>(Whole(top, "seed", 0, 0xFFFFFFFFll));
        for (const QJsonValue& v : Array(top, "races")) {
            if (!v.isString()) Bad("a race name is not a string");
            s.races.push_back(v.toString().toStdString());
        }
        const QJsonObject options = Object(Member(top, "options"), "\"options\"");
        s.game.worldsQuantityOption = ListIndex(options, "worlds", kQuantities);
        s.game.worldsSizeOption = ListIndex(options, "size", kSizes);
        s.game.resourcesOption = ListIndex(options, "resources", kQuantities);
        s.game.unstabilityOption = ListIndex(options, "unstability", kUnstabilities);
        s.game.aiPlayersOption = ListIndex(options, "ai", kQuantities);
        s.game.creditsOption = ListIndex(options, "credits", kCredits);
        s.game.raceOption =
            static_cast<std::int32_t>(Whole(options, "race", 1, static_cast<std::int64_t>(s.races.size())) - 1);
        s.fingerprint = Text(top, "raceFingerprint");
        const QJsonObject shard = Object(Member(top, "shard"), "\"shard\"");
        results.shardCount = static_cast<int>(Whole(shard, "count", 1, kMaxTournamentMatches));
        results.shardIndex = static_cast<int>(Whole(shard, "index", 0, results.shardCount - 1));
        for (const QJsonValue& v : Array(top, "results"))
            results.matches.push_back(ReadMatch(Object(v, "a result"), s, false));
        for (const QJsonValue& v : Array(top, "failures")) {
            const QJsonObject f = Object(v, "a failure");
            MatchResult m;
            m.match = static_cast<int>(Whole(f, "match", 0, s.matches - 1));
            m.seed = static_cast<std::uint32_t>(Whole(f, "seed", 0, 0xFFFFFFFFll));
            m.failure = Text(f, "reason");
            if (m.failure.empty()) Bad("a failure without a reason");
            results.matches.push_back(std::move(m));
        }
        std::sort(results.matches.begin(), results.matches.end(),
                  [](const MatchResult& a, const MatchResult& b) { return a.match < b.match; });
        const QJsonArray sums = Array(top, "powerSums");
        if (static_cast<std::size_t>(sums.size()) != s.races.size()) Bad("\"powerSums\" is not one list per race");
        for (const QJsonValue& list : sums) {
            if (!list.isArray() || list.toArray().size() != s.turns) Bad("\"powerSums\" is not one sum per turn");
            std::vector<std::int64_t> race;
            for (const QJsonValue& v : list.toArray()) race.push_back(Whole(v, "powerSums", -kBig, kBig));
            results.powerSums.push_back(std::move(race));
        }
        return results;
    } catch (const Failure& e) {
        throw Failure(name + ": not the results of a tournament: " + e.what());
    }
}

TournamentResults MergeResults(const std::vector<TournamentResults>& shards, const std::vector<QString>& names) {
    TournamentResults merged;
    merged.setup = shards.front().setup;
    merged.powerSums.assign(merged.setup.races.size(),
                            std::vector<std::int64_t>(static_cast<std::size_t>(merged.setup.turns), 0));
    std::map<int, std::size_t> from;  // match -> the file that holds it
    for (std::size_t k = 0; k < shards.size(); ++k) {
        const TournamentResults& shard = shards[k];
        const TournamentSetup& s = shard.setup;
        if (!(s == merged.setup)) {
            const bool races = s.races != merged.setup.races || s.fingerprint != merged.setup.fingerprint;
            throw Failure(
                LocalPath(names[k]) + " and " + LocalPath(names.front()) + " are results of different " +
                (races ? "races (race fingerprint " + s.fingerprint + " against " + merged.setup.fingerprint + ")"
                       : std::string("options")) +
                ": only shards of one tournament can be merged");
        }
        for (const MatchResult& m : shard.matches) {
            const auto [at, fresh] = from.emplace(m.match, k);
            if (!fresh)
                throw Failure("match " + std::to_string(m.match) + " is in both " + LocalPath(names[at->second]) +
                              " and " + LocalPath(names[k]));
            merged.matches.push_back(m);
        }
        for (std::size_t r = 0; r < merged.powerSums.size(); ++r)
            for (std::size_t t = 0; t < merged.powerSums[r].size(); ++t)
                merged.powerSums[r][t] += shard.powerSums[r][t];
    }
    if (static_cast<int>(from.size()) != merged.setup.matches) {
        int missing = 0;
        while (from.count(missing)) ++missing;
        throw Failure("the files hold " + std::to_string(from.size()) + " of the " +
                      std::to_string(merged.setup.matches) + " matches (match " + std::to_string(missing) +
                      " is missing): give every shard");
    }
    std::sort(merged.matches.begin(), merged.matches.end(),
              [](const MatchResult& a, const MatchResult& b) { return a.match < b.match; });
    return merged;
}

}  // namespace qv::cli
