// The readable source form of a race file: a JSON object that keeps every
// byte of the file, so that a race file printed with RaceToJson and read back
// with RaceFromJson serializes to the very same bytes.
//
//   {
//     "name": "Solar Compact",
//     "description": "One line of flavour text",
//     "shipModels": [
//       { "name": "Mule", "pictureFile": "compact_mule.bmp", "speed": 120, "defence": 150,
//         "survey": 100, "hold": 3, "cost": 1000 },          <- on one line
//       ...
//     ],
//     "weapons": [
//       { "name": "Pulse Laser", "range": 120, "minDamage": 20, "maxDamage": 45, "cost": 600 },
//       ...
//     ]
//   }
//
// Ship models and weapons come in file order. Optional keys, printed only
// when needed:
//   "lineEnd"        (top level, after "description") the end of every text
//                    line when it is not "\r\n";
//   "encoding"       (top level) "latin1" when some text line is not UTF-8:
//                    then every text is one character per byte;
//   "lineEnds"       (last key of the object that owns the lines) an object
//                    {"<field>": "<end>"} for lines whose end differs from
//                    "lineEnd": "description" and "name" at the top level,
//                    "name" and "pictureFile" in a ship model, "name" in a
//                    weapon;
//   "trailingBytes"  (last top-level key) the bytes after the last weapon, in
//                    hexadecimal.
// A line end is "\n", "\r\n", or "\r" followed by any one character from
// U+0000 to U+00FF (that byte). Unknown keys are an error.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "model/race_file.h"

namespace qv::cli {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Each byte as the character of the same number.
std::string Latin1ToUtf8(std::string_view bytes);

// Text of a race file for display: UTF-8 text as it is, else read as Latin-1.
std::string TextAsUtf8(std::string_view bytes);

// A quoted JSON string for UTF-8 text. Control characters, U+FEFF, the
// line and paragraph separators and Unicode non-characters are written as
// \u escapes; any other character as it is.
std::string JsonString(std::string_view utf8);

// The canonical source form of a race file, ending with a line feed.
std::string RaceToJson(const RaceFile& race);

// How many text lines of the race end in each kind of line end.
std::map<std::string, int> CountLineEnds(const RaceFile& race);

// Reads the source form. On a syntax error, a missing or unknown key, a value
// of the wrong type or a number outside 32 bits returns false with a
// one-line reason. Does not check what the game needs of a race
// (ValidateRaceFile does).
bool RaceFromJson(std::string_view json, RaceFile& out, std::string& error);

}  // namespace qv::cli
