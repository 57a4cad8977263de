// A check of the running game's consistency, for tests and the command line.
#pragma once

#include <string>

namespace qv {

// Empty when the game holds together; else a report of the first break:
// every player but the neutral one owns as many planets and ships as its
// counters say; every list is well linked; every owner, ship model and
// weapon is a live record of the owner's race; the shown world and the
// selection and hover pointers are null or live.
std::string CheckConsistency();

}  // namespace qv
