#include "model/new_game.h"

#include "model/platform.h"
#include "model/races.h"
#include "model/world_generation.h"

namespace qv {

bool StartUp(const std::filesystem::path& dataDir) {
    if (!LoadRaces(dataDir)) return false;
    g_newDocCount = 1;
    return true;
}

bool StartNewGame(NewGameOptions& documentOptions, const NewGameOptions& chosen,
                  std::optional<std::uint32_t> seed) {
    // Nothing is torn down when no game could be built.
    if (!g_races) {
        CurrentPlatform().messageBox(
            "No race is loaded, so no game can be started. Put race files (*.race) in the "
            "game's data folder.");
        return false;
    }
    Platform& platform = CurrentPlatform();
    platform.pauseDrawing();
    DestroyGame();
    const std::int32_t scrollSpeed = documentOptions.scrollSpeedOption;
    documentOptions = chosen;
    documentOptions.scrollSpeedOption = scrollSpeed;
    g_selShip = nullptr;
    g_selPlanet = nullptr;
    g_selAsteroid = nullptr;
    GenerateWorld(documentOptions, seed);
    platform.resumeDrawing();
    g_turn = 1;
    g_unstability = documentOptions.unstabilityOption;
    g_gameOver = 0;
    g_victory = 0;
    ++g_gameNumber;
    ++g_newDocCount;
    return true;
}

}  // namespace qv
