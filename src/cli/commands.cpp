// The table of sub-commands: one row per command.
#include "cli/commands.h"

namespace qv::cli {

const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> table = {
        {
            "races",
            "",
            0,
            0,
            "List the races of a data folder with their ship models and weapons",
            "Loads every *.race file of the data folder as the game does and prints\n"
            "the races in the game's list order (the last file name first), each with\n"
            "its ship models and weapons in list order (the reverse of file order).\n"
            "Races the game refuses are reported on standard error and left out.\n"
            "Without --data the folder is the current folder when it holds a race\n"
            "file, else $QUORVANE_DATA_DIR, else the data installed with the program.",
            {
                {{"data"}, "DIR", "Load the races from DIR."},
                {{"json"},
                 "",
                 "Print a JSON array instead of tables: pixels are [x, y, colour]\n"
                 "with colours as 0x00BBGGRR integers, text that is not UTF-8\n"
                 "is read as Latin-1."},
            },
            {"quorvane-cli races", "quorvane-cli races --data build/bin/data --json"},
            &RunRaces,
        },
        {
            "race build",
            "SRC.json",
            1,
            1,
            "Build a race file from its readable JSON source",
            "Builds a race file from its JSON source, the form 'race show --json'\n"
            "prints. A source with a syntax error, a missing or unknown key, a value\n"
            "of the wrong type, a number outside 32 bits, or a race the game would\n"
            "refuse is rejected with the reason; then no file is written and an\n"
            "existing output file is left as it was.",
            {
                {{"o", "output"}, "NAME.race", "The race file to write (required).", true},
            },
            {"quorvane-cli race build data/races/compact.json -o compact.race"},
            &RunRaceBuild,
        },
        {
            "race show",
            "NAME.race",
            1,
            1,
            "Show a race file, or print its JSON source with --json",
            "Prints a race file in readable form, ship models and weapons in file\n"
            "order, and says whether the game would load it. With --json prints the\n"
            "source form 'race build' reads instead: building it gives back the very\n"
            "same bytes. A file that ends before what its counts announce is\n"
            "rejected.",
            {
                {{"json"}, "", "Print the JSON source form."},
            },
            {"quorvane-cli race show compact.race", "quorvane-cli race show compact.race --json > compact.json"},
            &RunRaceShow,
        },
        {
            "new",
            "",
            0,
            0,
            "Generate a new game from the New Game options",
            "Generates a game as the New Game dialog does, from the races of the data\n"
            "folder, and prints a summary of it; with --json prints the whole game\n"
            "instead, with -o saves it as a game the game can open. Option values are\n"
            "read without regard to case; an option left out takes the dialog's start\n"
            "value (several worlds, medium size, several resources, medium\n"
            "instability, several computer players, 2000 credits, the first race of\n"
            "the list). The same seed, options and races give the same game; without\n"
            "--seed the clock seeds it and the summary says with what.",
            {
                {{"worlds"}, "lots|several|few", "How many worlds."},
                {{"size"}, "huge|large|medium|small|tiny", "The size of the worlds."},
                {{"resources"}, "lots|several|few", "How many asteroids."},
                {{"unstability"}, "high|medium|low|none", "How unstable the worlds are."},
                {{"ai"}, "lots|several|few", "How many computer players."},
                {{"credits"}, "5000|3000|2000|1000|500", "The gold every player starts with."},
                {{"race"}, "NAME", "The race you lead (its name as 'races' lists it)."},
                {{"seed"}, "N", "Seed the generator with N (0 to 4294967295) instead of the clock."},
                {{"data"}, "DIR", "Load the races from DIR."},
                {{"o", "output"},
                 "FILE.zvq",
                 "Save the game to FILE.zvq (an existing file is replaced\n"
                 "only when the whole game was written)."},
                {{"json"}, "", "Print the game as JSON (the form 'dump' prints)."},
                {{"turns"},
                 "N",
                 "Then play N turns (0 to 1000000) as End Turn does, the\n"
                 "generator going on from the generation; print the players\n"
                 "table instead of the summary."},
                {{"autopilot"},
                 "",
                 "In those turns your side acts too, by the computer players'\n"
                 "rules, before them."},
                {{"check"},
                 "",
                 "Check the game's consistency before the turns and after each\n"
                 "one; stop at the first break with the turn and what broke\n"
                 "(exit code 1, nothing printed or saved)."},
            },
            {"quorvane-cli new --size tiny --worlds few --seed 7",
             "quorvane-cli new --ai lots --credits 500 --race 'Solar Compact' -o game.zvq",
             "quorvane-cli new --seed 3 --turns 100 --autopilot"},
            &RunNew,
        },
        {
            "play",
            "FILE.zvq",
            1,
            1,
            "Play turns of a saved game and show how the players stand",
            "Opens a saved game as the game does, plays N turns as End Turn does and\n"
            "prints a table of the players: position, colour (#RRGGBB), race,\n"
            "planets, ships, gold and power (planets x 1000 + ships x 100 + gold), your\n"
            "player first and the neutral player last (for it, the planets and ships it\n"
            "holds, counted on the map: the game keeps no counters for it). When you\n"
            "have lost the game, a line says on which turn; the others play on.\n"
            "With --json only the game as JSON is printed, the form 'dump' prints\n"
            "(\"gameOver\" tells whether you have lost). With -o the game after the\n"
            "turns is saved as well. When a turn leaves no computer player with a\n"
            "planet or a ship, a line names you the winner and the turn (\"victory\"\n"
            "in JSON); the turns asked for are played all the same, as the game plays\n"
            "on after a victory. The same file, seed and options play the same\n"
            "turns; without --seed the clock seeds them and the first line of the\n"
            "report says with what. A damaged file, or turns that would take the game\n"
            "past turn 1000000, are refused (exit code 1).\n"
            "With --plot the Statistics graph of the game after the turns is written\n"
            "as a PNG picture, as the game's Statistics dialog draws it: every\n"
            "player's power per turn in the player's colour, the neutral player left\n"
            "out; a game longer than 400 turns is squeezed into the graph's 400\n"
            "pixels. Turns before the saved game was opened show as 0, since a\n"
            "loaded game's power history starts empty.\n"
            "While the turns run, a progress bar is shown on standard error when it\n"
            "is a terminal.",
            {
                {{"turns"},
                 "N",
                 "Play N turns (0 to 1000000; 0 only opens the game and\n"
                 "prints or saves it).",
                 true},
                {{"seed"}, "N", "Seed the generator with N (0 to 4294967295) instead of the clock."},
                {{"data"}, "DIR", "Load the races from DIR (those the game was played with)."},
                {{"o", "output"},
                 "OUT.zvq",
                 "Save the game after the turns to OUT.zvq (an existing file\n"
                 "is replaced only when the whole game was written)."},
                {{"json"}, "", "Print the game after the turns as JSON instead of the table."},
                {{"plot"},
                 "POWER.png",
                 "Write the Statistics graph after the turns to POWER.png\n"
                 "(470 x 290; an existing file is replaced only when the\n"
                 "whole picture was written)."},
                {{"autopilot"},
                 "",
                 "Your side acts too, by the computer players' rules, before\n"
                 "them."},
                {{"check"},
                 "",
                 "Check the game's consistency before the turns and after each\n"
                 "one; stop at the first break with the turn and what broke\n"
                 "(exit code 1, nothing printed or saved)."},
                {{"events"},
                 "",
                 "Print each turn's report: what befell your side (ships lost\n"
                 "or hit, planets lost or taken, bodies thrown elsewhere,\n"
                 "ore unloaded); with --json as \"events\"."},
            },
            {"quorvane-cli play game.zvq --turns 50 --autopilot",
             "quorvane-cli play game.zvq --turns 200 --seed 9 --check -o later.zvq",
             "quorvane-cli play game.zvq --turns 100 --autopilot --plot power.png"},
            &RunPlay,
        },
        {
            "tournament",
            "",
            0,
            0,
            "Play many seeded games on autopilot and compare how the races fare",
            "A balance lab for race authors. Plays M matches: match i (from 0) is the\n"
            "game 'new' makes with the options given and seed S + i, every player on\n"
            "autopilot (your side too), for T turns or until one player is left. Then\n"
            "prints per race: the matches it played in, its players, its wins (the\n"
            "last player standing wins, else the highest power at the end among those\n"
            "not eliminated; ties share the win), the win rate (wins / matches) with\n"
            "its 95 % Wilson score interval, and per player the mean power, planets\n"
            "and ships at the end and how often it was eliminated (no planet, no ship).\n"
            "The matches run in J worker processes beside the tool; the results depend\n"
            "only on the options, the seed and the race files (not on --jobs, the\n"
            "shards or the machine). A match that crashes or runs past --match-timeout\n"
            "is reported with its seed and left out; the others go on, and the command\n"
            "ends with exit code 1 after the report. With --shard only some matches are\n"
            "played, for 'tournament merge' to combine. A bad option value is refused\n"
            "with exit code 1. A progress bar is shown on standard error when it is a\n"
            "terminal.",
            {
                {{"matches"}, "M", "Play M matches (1 to 10000000; 100 without it)."},
                {{"turns"}, "T", "Play up to T turns a match (1 to 100000; 200 without it)."},
                {{"seed"},
                 "S",
                 "Seed match i with S + i, modulo 2^32 (S from 0 to 4294967295; 1\n"
                 "without it)."},
                {{"worlds"}, "lots|several|few", "How many worlds (as 'new')."},
                {{"size"}, "huge|large|medium|small|tiny", "The size of the worlds."},
                {{"resources"}, "lots|several|few", "How many asteroids."},
                {{"unstability"}, "high|medium|low|none", "How unstable the worlds are."},
                {{"ai"}, "lots|several|few", "How many computer players."},
                {{"credits"}, "5000|3000|2000|1000|500", "The gold every player starts with."},
                {{"race"},
                 "NAME",
                 "The race of player 1 (the first race without it); the\n"
                 "others are drawn at random, as in 'new'."},
                {{"data"}, "DIR", "Load the races from DIR."},
                {{"jobs"}, "J", "Play J matches at a time (the number of processors without it)."},
                {{"match-timeout"},
                 "SECONDS",
                 "Kill a match that runs longer and report it (no limit\n"
                 "without it; with it, a slow machine may report matches a\n"
                 "fast one plays)."},
                {{"shard"}, "I/N", "Play only the matches i with i mod N = I (0 <= I < N)."},
                {{"json"}, "", "Print the results as JSON (what -o writes) instead of the table."},
                {{"csv"}, "", "Print one CSV row per player per match instead of the table."},
                {{"o", "output"},
                 "FILE.json",
                 "Write the results as JSON to FILE.json, for 'tournament\n"
                 "merge' or your own tools."},
                {{"plot"},
                 "POWER.png",
                 "Draw every race's mean power over the turns as a PNG\n"
                 "picture in the style of the Statistics graph, with a legend."},
            },
            {"quorvane-cli tournament --data mydata --matches 400 --turns 300 --ai lots -o results.json --plot "
             "power.png",
             "quorvane-cli tournament --matches 1000 --shard 2/8 -o shard-2.json"},
            &RunTournament,
        },
        {
            "tournament merge",
            "FILE.json...",
            1,
            1000000,
            "Combine the JSON results of a tournament's shards into its report",
            "Reads the JSON results of 'tournament --shard I/N -o FILE.json' runs and\n"
            "prints the report one run of the whole tournament gives: the same table,\n"
            "JSON, CSV and graph. The files must be of the same options and race files\n"
            "(the same race fingerprint), hold no match twice and together every match;\n"
            "else nothing is printed and the exit code is 1.",
            {
                {{"json"}, "", "Print the results as JSON instead of the table."},
                {{"csv"}, "", "Print one CSV row per player per match instead of the table."},
                {{"o", "output"}, "FILE.json", "Write the merged results as JSON to FILE.json."},
                {{"plot"}, "POWER.png", "Draw every race's mean power over the turns as a PNG picture."},
            },
            {"quorvane-cli tournament merge shard-*.json -o results.json"},
            &RunTournamentMerge,
        },
        {
            "dump",
            "FILE.zvq",
            1,
            1,
            "Print a saved game as JSON",
            "Reads a saved game as the game opens it and prints it as JSON: every\n"
            "list head first, every reference a 1-based position in its list (0 for\n"
            "none). As in the game, the planets, asteroids and ships of each world come\n"
            "back in the reverse of the saved game's order, nothing is selected and\n"
            "every power history is zero. A damaged file, or one that names a race or\n"
            "ship model the data folder does not have, is refused with the reason.",
            {
                {{"data"}, "DIR", "Load the races from DIR (those the game was played with)."},
            },
            {"quorvane-cli dump game.zvq"},
            &RunDump,
        },
        {
            "render",
            "[FILE.zvq]",
            0,
            1,
            "Draw one frame of a saved game's map as a PNG picture",
            "Opens a saved game as the game does and draws one frame of the map view\n"
            "as the game shows it between two moves: the star field, the world's\n"
            "star, planets, asteroids and ships with the selection circles, the\n"
            "overview map, the status line and the information panel of the hovered\n"
            "object. The world, the view and the selected or hovered object can be\n"
            "chosen; positions count from 1 in the world's lists as 'dump' prints\n"
            "them. A view reaching outside the map is moved into it. With --title the\n"
            "title screen is drawn instead, and no game is read. Needs no display.",
            {
                {{"o", "output"}, "OUT.png", "The picture to write (800 x 600; required).", true},
                {{"world"}, "N", "Show world N (1-based) instead of the one the game shows."},
                {{"view"}, "LEFT,TOP", "The map point at the view's top-left corner."},
                {{"select"},
                 "planet|asteroid|ship:N",
                 "Select the Nth planet, asteroid or free-flying ship of\n"
                 "the world shown, e.g. ship:3."},
                {{"hover"},
                 "planet|asteroid|ship:N",
                 "Show the information panel of that object, as when the\n"
                 "pointer is over it."},
                {{"data"}, "DIR", "Load the races from DIR (those the game was played with)."},
                {{"title"}, "", "Draw the title screen instead of a game."},
            },
            {"quorvane-cli render game.zvq --world 2 --select planet:1 -o frame.png",
             "quorvane-cli render --title -o title.png"},
            &RunRender,
        },
    };
    return table;
}

}  // namespace qv::cli
