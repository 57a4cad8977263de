// The document's new-document steps that belong to the game itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "model/globals.h"

namespace qv {

// The first new-document request, at start-up: loads the races from dataDir
// and leaves the title screen on show (g_newDocCount = 1). False when loading
// had to end the program.
bool StartUp(const std::filesystem::path& dataDir);

// What follows the New Game dialog's OK: pauses the drawing thread, destroys
// the running game, keeps the chosen seven options in the document's
// options (the scroll speed stays), clears the selection, generates the new
// game, resumes drawing, and starts it at turn 1 with the chosen
// instability. With no race loaded it shows a message and changes nothing.
bool StartNewGame(NewGameOptions& documentOptions, const NewGameOptions& chosen,
                  std::optional<std::uint32_t> seed = std::nullopt);

}  // namespace qv
