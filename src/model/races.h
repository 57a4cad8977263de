// Loading the races: every "*.race" file of the data folder becomes a Race
// record with its ship models (pictures turned into pixel lists) and weapons.
#pragma once

#include <filesystem>
#include <string>

#include "model/race_file.h"
#include "model/records.h"

namespace qv {

// Where the race files, ship pictures and sounds are: the folder given on the
// command line when there is one; else the current directory when it holds a
// race file; else the installed data folder (QUORVANE_DATA_DIR of the
// environment, else the folder the build installed).
std::filesystem::path ResolveDataDir(const std::string& overrideDir = {});

// The data folder races were last loaded from (sounds are played from it).
const std::filesystem::path& DataDir();

// Loads every "*.race" file of dir, in order of file name, into g_races
// (each race inserted at the head, so the last file comes first). A file
// that cannot be opened shows "Unable to open data file!" and ends the
// program with exit code 1; when the platform returns from that, loading
// stops and false is returned. A race file with bad data is refused with a
// message naming the file and the reason, and the others load.
bool LoadRaces(const std::filesystem::path& dir);

// Builds a Race record (not linked anywhere) from a race file's contents,
// loading each model's picture from dir. The caller owns the record.
Race* BuildRace(const RaceFile& file, const std::filesystem::path& dir);

// Fills a model's pixel list from its picture: every non-black colour of the
// top-left 30 x 30 in row order, at most 700; the rest of the list is zero.
void BuildPixelList(ShipModel& model);

// Frees one race with its models and weapons.
void FreeRace(Race* race);

}  // namespace qv
