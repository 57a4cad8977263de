// The sub-commands of quorvane-cli and what they share.
//
// Adding a sub-command: write its run function in a file of its own (one file
// per group of commands), declare it below and add one row to the table in
// commands.cpp. The dispatcher in main.cpp does the rest: it matches the
// command words, parses the options the row declares, checks the number of
// arguments and the required options, and prints "--help".
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/game_json.h"

namespace qv {
struct NewGameOptions;
}

namespace qv::cli {

inline constexpr char kProgramName[] = "quorvane-cli";

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // unreadable file, refused race, invalid JSON...
inline constexpr int kExitUsage = 2;     // unknown command or option, missing argument

struct OptionEntry {
    QStringList names;    // e.g. {"o", "output"}: one letter gives "-o", more gives "--output"
    QString valueName;    // empty for a flag
    QString description;
    bool required = false;
};

struct CommandEntry {
    QString name;       // one or two words: "races", "race build"
    QString arguments;  // the positional part of the usage line, e.g. "SRC.json"
    int minArgs = 0;
    int maxArgs = 0;
    QString summary;      // one line in the list of commands
    QString description;  // the body of "<command> --help"
    std::vector<OptionEntry> options;
    QStringList examples;  // also listed by the general help
    int (*run)(const QCommandLineParser& args) = nullptr;
};

// Every sub-command, in the order the help lists them.
const std::vector<CommandEntry>& Commands();

// Ends the running command with exit code 1; what() is a one-line reason.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Ends the running command with exit code 2 and a hint to its help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A path given on the command line, in the bytes the file system expects.
std::string LocalPath(const QString& argument);

// The whole content of a file; throws Failure naming the file when it cannot
// be read.
std::vector<std::uint8_t> ReadFileBytes(const QString& path);

// Writes a file through a temporary file in the same folder renamed over the
// target at the end, so that a failed write leaves any old file as it was.
// Throws Failure naming the file when it cannot be written.
void WriteFileAtomically(const QString& path, const std::vector<std::uint8_t>& bytes);

// Writes bytes to standard output as they are.
void WriteOut(const std::string& text);

// ---- Shared by the game commands (game_commands.cpp, play_command.cpp) -----

// Destroys the game and the races when the command ends, however it ends.
struct GameScope {
    GameScope() = default;
    GameScope(const GameScope&) = delete;
    GameScope& operator=(const GameScope&) = delete;
    ~GameScope();
};

// The --seed given, or none; throws UsageError unless it is a whole number
// from 0 to 2^32 - 1.
std::optional<std::uint32_t> SeedOption(const QCommandLineParser& args);

// Loads the races of --data (or the usual data folder) as the game does at
// start-up; throws Failure when there is no folder or no race.
std::filesystem::path StartWithRaces(const QCommandLineParser& args);

// #RRGGBB for a 0x00BBGGRR colour.
std::string ColourText(std::uint32_t colour);

// "  3 worlds of 2000 x 2000, 30 asteroids, instability medium, turn 1" and
// a line feed, for the running game.
std::string GameLine();

// What --turns, --autopilot and --check ask for.
struct TurnRequest {
    bool given = false;  // --turns was on the command line
    int turns = 0;
    bool autopilot = false;
    bool check = false;
    bool events = false;  // keep each turn's report (--events)
};

// The most turns one command plays.
inline constexpr int kMaxTurns = 1000000;

// Reads --turns N (0 to kMaxTurns), --autopilot and --check; throws
// UsageError for a value that is not such a number.
TurnRequest TurnOptions(const QCommandLineParser& args);

// What playing the turns did.
struct TurnsPlayed {
    int firstTurn = 0;  // g_turn before the first one
    int played = 0;
    int lostOnTurn = 0;  // the turn the human player lost, 0 when not lost here
    int wonOnTurn = 0;   // the turn that left no computer player in the game, 0 when none did
    std::vector<TurnEvents> events;  // with TurnRequest::events, the turns whose report is not empty
};

// Plays the turns on the running game, continuing its generator; an
// autopilot match stops at the turn that wins it. With
// check the game is checked before the first turn and after every one; the
// first break throws Failure naming the turn and what broke. A progress bar
// goes to standard error while it runs when that is a terminal.
TurnsPlayed PlayTurns(const TurnRequest& request);

// The players of the running game: position, colour, race, planets, ships,
// gold and power, the human player first and the neutral player last, every
// line starting with indent; then, without indent, a line when the human
// player has lost or has won.
std::string PlayersTable(const TurnsPlayed& played, const std::string& indent = "  ");

// ---- Shared by new and the tournament (game_commands.cpp) ------------------

// The entries of each New Game list, in the order of the option indexes.
extern const QStringList kQuantities;     // --worlds, --resources, --ai
extern const QStringList kSizes;          // --size
extern const QStringList kUnstabilities;  // --unstability
extern const QStringList kCredits;        // --credits

// The New Game options of --worlds, --size, --resources, --unstability, --ai
// and --credits (any case), the dialog's start values for those left out;
// throws UsageError for an unknown value.
NewGameOptions NewGameChoice(const QCommandLineParser& args);

// The race option of --race: 0 (the head of the list) without it, else the
// position of the race of that name in the loaded races; throws Failure
// naming the races of dir when there is none such.
std::int32_t RaceOption(const QCommandLineParser& args, const std::filesystem::path& dir);

// ---- The tournament (tournament_*.cpp) --------------------------------------

int RunTournament(const QCommandLineParser& args);       // tournament_command.cpp
int RunTournamentMerge(const QCommandLineParser& args);  // tournament_command.cpp

// The run functions, one group per file.
int RunRaces(const QCommandLineParser& args);      // races_command.cpp
int RunRaceBuild(const QCommandLineParser& args);  // race_commands.cpp
int RunRaceShow(const QCommandLineParser& args);   // race_commands.cpp
int RunNew(const QCommandLineParser& args);        // game_commands.cpp
int RunDump(const QCommandLineParser& args);       // game_commands.cpp
int RunPlay(const QCommandLineParser& args);       // play_command.cpp
int RunRender(const QCommandLineParser& args);     // render_command.cpp

}  // namespace qv::cli
