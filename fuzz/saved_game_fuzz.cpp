// Feeds arbitrary bytes to the saved-game loader, with four races of four
// ship models and four weapons loaded (as the shipped races are). A file it
// accepts must save, load and save again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/race_file.h"
#include "model/races.h"
#include "model/saved_game.h"

namespace {

void LoadTestRaces() {
    for (int r = 0; r < 4; ++r) {
        qv::RaceFile file;
        file.name = "Race " + std::to_string(r + 1);
        for (int i = 0; i < 4; ++i) {
            qv::RaceFileModel m;
            m.name = "Model " + std::to_string(i + 1);
            m.speed = 100 + i;
            file.models.push_back(m);
            qv::RaceFileWeapon w;
            w.name = "Weapon " + std::to_string(i + 1);
            w.minDamage = 10;
            w.maxDamage = 20 + i;
            file.weapons.push_back(w);
        }
        qv::InsertAtHead(qv::g_races, qv::BuildRace(file, "/nonexistent-quorvane-fuzz"));
    }
}

std::vector<std::uint8_t> LoadAndSave(const std::uint8_t* data, std::size_t size, qv::NewGameOptions& options) {
    if (!qv::LoadGameBytes(data, size, "fuzz.zvq", options)) std::abort();
    std::vector<std::uint8_t> bytes = qv::SaveGameBytes(options);
    if (bytes.size() != qv::SavedGameSize()) std::abort();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qv::HeadlessPlatform quiet;
    static bool ready = false;
    if (!ready) {
        qv::SetPlatform(&quiet);
        LoadTestRaces();
        ready = true;
    }
    quiet.messages.clear();
    qv::NewGameOptions options;
    if (!qv::LoadGameBytes(data, size, "fuzz.zvq", options)) return 0;
    // Loading reverses the lists inside each world, so two rounds bring a
    // saved file back to itself.
    const std::vector<std::uint8_t> once = qv::SaveGameBytes(options);
    const std::vector<std::uint8_t> twice = LoadAndSave(once.data(), once.size(), options);
    const std::vector<std::uint8_t> thrice = LoadAndSave(twice.data(), twice.size(), options);
    if (thrice != once) std::abort();
    qv::DestroyGame();
    return 0;
}
