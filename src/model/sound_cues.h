// The sound cues the game plays, by the names of their ".wav" files in the
// data folder. The platform plays them; every rule names its cue from here.
#pragma once

namespace qv {

inline constexpr const char* kCueShot = "FirstW.wav";          // a weapon fires
inline constexpr const char* kCueMissile = "Stinger.wav";      // the nuclear missile is launched
inline constexpr const char* kCueCapture = "PCapture.wav";     // a planet changes hands
inline constexpr const char* kCueLanding = "Landing.wav";      // a ship lands, docks or takes off
inline constexpr const char* kCueCollision = "Medexpl.wav";    // bodies collide on the world shown
inline constexpr const char* kCueShipBuilt = "BldShip.wav";    // a ship is bought in the shipyard
inline constexpr const char* kCueStepOpens = "Feedbk04.wav";   // a further step of the planet panel opens
inline constexpr const char* kCueStepCloses = "Feedbk03.wav";  // ... and closes

}  // namespace qv
