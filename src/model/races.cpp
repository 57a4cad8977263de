#include "model/races.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <system_error>
#include <vector>

#include "model/bitmap.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

fs::path g_dataDir = ".";

bool HasRaceFile(const fs::path& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".race") return true;
    }
    return false;
}

fs::path ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

// The "*.race" files of dir, sorted by name so that every machine sees the
// races in the same order (saved games name races by position).
std::vector<fs::path> RaceFilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".race") files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return files;
}

// Reads the whole file; false when it cannot be opened or read (a folder
// named like a race file included).
bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace

fs::path ResolveDataDir(const std::string& overrideDir) {
    if (!overrideDir.empty()) return fs::path(overrideDir);
    if (HasRaceFile(".")) return fs::path(".");
    if (const char* env = std::getenv("QUORVANE_DATA_DIR"); env && *env) return fs::path(env);
    const fs::path exeDir = ExecutableDir();
    if (!exeDir.empty()) {
        for (const fs::path& candidate : {exeDir / "data", exeDir / ".." / "share" / "quorvane"}) {
            if (HasRaceFile(candidate)) return candidate.lexically_normal();
        }
    }
    return fs::path(".");
}

const fs::path& DataDir() { return g_dataDir; }

void BuildPixelList(ShipModel& model) {
    std::fill(std::begin(model.pixels), std::end(model.pixels), Pixel{});
    const Picture& pic = model.picture;
    int n = 0;
    const int rows = std::min(pic.height, 30);
    const int cols = std::min(pic.width, 30);
    for (int y = 0; y < rows && n < kPixelListSize; ++y) {
        for (int x = 0; x < cols && n < kPixelListSize; ++x) {
            Colour c = pic.at(x, y);
            if (c != 0) model.pixels[n++] = Pixel{x, y, c};
        }
    }
}

Race* BuildRace(const RaceFile& file, const fs::path& dir) {
    auto* race = new Race;
    race->description = file.description;
    race->name = file.name;
    race->shipModelCount = static_cast<std::int32_t>(file.models.size());
    race->weaponCount = static_cast<std::int32_t>(file.weapons.size());
    for (const RaceFileModel& m : file.models) {
        auto* model = new ShipModel;
        model->name = m.name;
        model->pictureFile = m.pictureFile;
        model->speed = m.speed;
        model->defence = m.defence;
        model->survey = m.survey;
        model->hold = m.hold;
        model->cost = m.cost;
        InsertAtHead(race->shipModels, model);
        if (LoadBitmap((dir / m.pictureFile).string(), m.pictureFile, model->picture))
            BuildPixelList(*model);
        else
            model->picture = Picture{};
    }
    for (const RaceFileWeapon& w : file.weapons) {
        auto* weapon = new Weapon;
        weapon->name = w.name;
        weapon->range = w.range;
        weapon->minDamage = w.minDamage;
        weapon->maxDamage = w.maxDamage;
        weapon->cost = w.cost;
        InsertAtHead(race->weapons, weapon);
    }
    return race;
}

void FreeRace(Race* race) {
    if (!race) return;
    FreeList(race->shipModels);
    FreeList(race->weapons);
    delete race;
}

bool LoadRaces(const fs::path& dir) {
    g_dataDir = dir;
    for (const fs::path& path : RaceFilesIn(dir)) {
        std::vector<std::uint8_t> bytes;
        if (!ReadWholeFile(path, bytes)) {
            CurrentPlatform().messageBox("Unable to open data file!");
            CurrentPlatform().endProcess(1);
            return false;
        }
        const std::string fileName = path.filename().string();
        RaceFile file;
        std::string why;
        if (ParseRaceFile(bytes, file, why)) why = ValidateRaceFile(file);
        if (!why.empty()) {
            CurrentPlatform().messageBox("The race file \"" + fileName +
                                         "\" was not loaded: " + why + ".");
            continue;
        }
        Race* race = BuildRace(file, dir);
        race->fileName = fileName;
        InsertAtHead(g_races, race);
    }
    return true;
}

}  // namespace qv
