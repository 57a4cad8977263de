// The flags the game thread and the drawing thread hand the frames over by.
// Every flag is an atomic; a change is announced with NotifyDrawingFlags()
// so that a side waiting for it wakes (no side ever spins).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

#include "model/records.h"

namespace qv {

// 1 = the drawing thread must not touch the game records (from program start).
extern std::atomic<int> g_pauseDrawing;
// 1 = the drawing thread is parked (or has ended).
extern std::atomic<int> g_drawingPaused;
// 1 = the drawing thread ends after its next idle frame (or at once when parked).
extern std::atomic<int> g_exitDrawing;
// The scroll speed, 0..100 (the Game Options slider): see ScrollDistance.
extern std::atomic<int> g_scrollStep;

// Scroll flags, set by the pointer and key handlers; non-zero = scroll.
extern std::atomic<int> g_scrollUp, g_scrollDown, g_scrollLeft, g_scrollRight;
extern std::atomic<int> g_scrollUpRight, g_scrollDownRight, g_scrollUpLeft, g_scrollDownLeft;

// The game thread sets 1; the drawing thread sets 0 once a frame's ships are
// drawn.
extern std::atomic<int> g_frameWait;

// One-shot requests: an explosion on this record, a ring of this level
// (1..3); the drawing thread draws each once and clears it.
extern std::atomic<Planet*> g_explodingPlanet;
extern std::atomic<Asteroid*> g_explodingAsteroid;
extern std::atomic<Ship*> g_explodingShip;
extern std::atomic<int> g_ringFirst, g_ringSecond;

// Wakes whoever waits for a flag to change.
void NotifyDrawingFlags();

// Blocks the calling thread until done() returns true, testing it again each
// time NotifyDrawingFlags() is called. done() runs under the flags' own
// mutex, so a flag it stores is seen together with the test by every other
// waiter. The form with a deadline also returns when the deadline passes and
// gives done()'s last answer.
void WaitDrawingFlags(const std::function<bool()>& done);
bool WaitDrawingFlags(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline);

// Puts every flag back to its program-start value (tests).
void ResetDrawingFlags();

}  // namespace qv
