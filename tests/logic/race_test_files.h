#pragma once
#include "game_fixture.h"  // TempDir, WriteBytes, RaceBytes, SimpleRace, Bitmap24
