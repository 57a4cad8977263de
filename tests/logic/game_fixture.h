// A fixture with three races loaded from race files and a quiet platform,
// and a maker of ships with recognisable fields.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/races.h"
#include "race_test_files.h"

namespace qv::testing {

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        // Distinct stock sizes, so that a lookup in the wrong race shows.
        WriteBytes(dir / "alpha.race", SimpleRace("Alpha", 3, 3));
        WriteBytes(dir / "beta.race", SimpleRace("Beta", 2, 4));
        WriteBytes(dir / "gamma.race", SimpleRace("Gamma", 4, 3));
        ASSERT_TRUE(StartUp(dir.path()));
        platform.messages.clear();  // the pictures of the test races do not exist
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    void NewGame(const NewGameOptions& chosen, std::uint32_t seed) { ASSERT_TRUE(StartNewGame(options, chosen, seed)); }

    // A ship of the owner's race: model n (1-based), weapon w (0 = none), its
    // fields and picture's pixel list filled with values derived from them.
    static Ship* MakeShip(Player* owner, int model, int weapon, int x, int y) {
        auto* s = new Ship{.x = x, .y = y, .owner = owner, .model = RecordAt(owner->race->shipModels, model)};
        s->weapon = weapon ? RecordAt(owner->race->weapons, weapon) : nullptr;
        s->actionPoints = 7 * x % 300;
        s->shieldPoints = 100 + model;
        s->viewPoints = 50 + weapon;
        s->holds = model;
        s->holdFull = static_cast<std::uint8_t>(model % 2);
        s->weaponReady = static_cast<std::uint8_t>(weapon > 0);
        for (int k = 0; k < kShipEquipSlots; ++k) s->equip[k] = (k + x) % 2;
        for (int i = 0; i < kPixelListSize; ++i)
            s->pixels[i] = Pixel{i % 30, i / 30, static_cast<Colour>(0x10000 + i + x)};
        ++owner->shipCount;
        return s;
    }

    HeadlessPlatform platform;
    TempDir dir;
    NewGameOptions options;
};

}  // namespace qv::testing
