#pragma once
#include "game_fixture.h"  // HandBuiltGameTest, RecordingPlatform
