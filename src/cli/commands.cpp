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
                {{"json"}, "", "Print a JSON array instead of tables: pixels are [x, y, colour]\n"
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
            {"quorvane-cli race show compact.race",
             "quorvane-cli race show compact.race --json > compact.json"},
            &RunRaceShow,
        },
    };
    return table;
}

}  // namespace qv::cli
