// The game logic's only way out: message boxes, sound cues, cursors, the
// clock, ending the process, and the hand-shakes with the drawing thread.
// The window installs its own implementation; HeadlessPlatform answers every
// hand-shake at once and keeps what was shown, for tests and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/cursor_kinds.h"
#include "model/records.h"

namespace qv {

// The two instability rings.
enum class RingKind { First, Second };

class Platform {
public:
    virtual ~Platform() = default;

    // Information box with an OK button.
    virtual void messageBox(const std::string& text) = 0;
    // Question box with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // Plays a ".wav" file by name; returns at once and never waits.
    virtual void playCue(const std::string& fileName) = 0;
    // Shows a cursor until the next change (numbered as in cursor_kinds.h).
    virtual void setCursor(int cursor) = 0;
    // The clock in whole seconds.
    virtual std::int64_t now() = 0;
    // Ends the program with the exit code. An implementation that cannot end
    // the process (a test's) returns, and the caller stops what it was doing.
    virtual void endProcess(int code) = 0;

    // Hand-shakes with the drawing thread.
    virtual void pauseDrawing() = 0;
    virtual void resumeDrawing() = 0;
    // Asks the drawing thread for one frame and waits until it is drawn.
    virtual void waitForFrame() = 0;
    // Waits until no frame asked for is still pending.
    virtual void waitFrameIdle() = 0;
    virtual void showExplosion(Planet* planet) = 0;
    virtual void showExplosion(Asteroid* asteroid) = 0;
    virtual void showExplosion(Ship* ship) = 0;
    // Shows an instability ring of the level (1..3) at the event's source
    // (First) or target (Second) and waits until it is drawn.
    virtual void showRing(RingKind which, int level) = 0;
    virtual void changeScrollStep(int step) = 0;
};

// The platform the logic calls. Starts as a HeadlessPlatform that prints
// messages to standard error.
Platform& CurrentPlatform();
// Installs another platform (null puts the default back). The caller keeps
// ownership and must keep it alive while it is installed.
void SetPlatform(Platform* platform);

// Answers every hand-shake at once and records what the logic showed.
class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(bool printMessages = false) : print_(printMessages) {}

    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void playCue(const std::string& fileName) override;
    void setCursor(int cursor) override;
    std::int64_t now() override;
    void endProcess(int code) override;

    void pauseDrawing() override { ++pauses; }
    void resumeDrawing() override { ++resumes; }
    void waitForFrame() override { ++frameWaits; }
    void waitFrameIdle() override { ++idleWaits; }
    void showExplosion(Planet*) override { ++explosions; }
    void showExplosion(Asteroid*) override { ++explosions; }
    void showExplosion(Ship*) override { ++explosions; }
    void showRing(RingKind, int) override { ++rings; }
    void changeScrollStep(int step) override { scrollStep = step; }

    // What was shown, in order.
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> cues;
    int cursor = 0;
    int exitCode = -1;  // -1 until endProcess is called
    int pauses = 0, resumes = 0, frameWaits = 0, idleWaits = 0, explosions = 0, rings = 0;
    int scrollStep = -1;

    // The answer askYesNo gives.
    bool answerYes = true;
    // The clock; 0 = the real clock.
    std::int64_t fixedNow = 0;
    // When set, endProcess really ends the process (the command line).
    bool exitForReal = false;

private:
    bool print_;
};

}  // namespace qv
