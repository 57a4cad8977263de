// race build: what it writes from a source, and every kind of source it
// refuses (exit 1, the reason on one line, no file written, an old file left
// as it was).
#include <gtest/gtest.h>

#include <stdexcept>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

const std::string kSource = R"({
  "name": "Test Folk",
  "description": "For the tests",
  "shipModels": [
    { "name": "Hauler", "pictureFile": "hauler.bmp", "speed": 100, "defence": 120, "survey": 90, "hold": 2, "cost": 500 },
    { "name": "Raider", "pictureFile": "raider.bmp", "speed": 200, "defence": 90, "survey": 120, "hold": 0, "cost": 700 }
  ],
  "weapons": [
    { "name": "Gun", "range": 100, "minDamage": 10, "maxDamage": 30, "cost": 300 },
    { "name": "Cannon", "range": 80, "minDamage": 40, "maxDamage": 70, "cost": 800 },
    { "name": "Beam", "range": 200, "minDamage": 20, "maxDamage": 35, "cost": 1200 }
  ]
}
)";

// The race file kSource describes, written by hand.
std::string SourceBytes() {
    RaceBytes r;
    r.line("For the tests").line("Test Folk").u16(2).u16(3);
    r.model("Hauler", "hauler.bmp", 100, 120, 90, 2, 500).model("Raider", "raider.bmp", 200, 90, 120, 0, 700);
    r.weapon("Gun", 100, 10, 30, 300).weapon("Cannon", 80, 40, 70, 800).weapon("Beam", 200, 20, 35, 1200);
    return r.bytes();
}

// kSource with one piece of text replaced (which must be there).
std::string Edit(const std::string& from, const std::string& to, std::string text = kSource) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("not in the source: " + from);
    return text.replace(at, from.size(), to);
}

// kSource (or text) with the part from `from` to the end of the next `to`
// replaced.
std::string Splice(const std::string& from, const std::string& to, const std::string& with,
                   std::string text = kSource) {
    const std::size_t start = text.find(from);
    const std::size_t end = start == std::string::npos ? start : text.find(to, start + from.size());
    if (end == std::string::npos) throw std::logic_error("not in the source: " + from + " ... " + to);
    return text.replace(start, end + to.size() - start, with);
}

RunResult Build(const fs::path& source, const fs::path& output) {
    return RunCli({"race", "build", source.string(), "-o", output.string()});
}

TEST(RaceBuild, WritesTheRaceFileTheSourceDescribes) {
    ScratchDir dir;
    WriteBytes(dir / "src.json", kSource);
    WriteBytes(dir / "out.race", "an older file");
    const RunResult r = Build(dir / "src.json", dir / "out.race");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadBytes(dir / "out.race"), SourceBytes());
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.race", "src.json"}));  // no temporary file left
}

TEST(RaceBuild, AcceptsRedundantOptionalKeysAndShowPrintsTheCanonicalForm) {
    // Optional keys spelling out the defaults, upper-case hexadecimal, a
    // number in exponent form and keys in another order.
    std::string source = Edit("  \"shipModels\"",
                              "  \"encoding\": \"utf-8\",\n  \"lineEnd\": \"\\r\\n\",\n"
                              "  \"lineEnds\": { \"name\": \"\\r\\n\" },\n  \"shipModels\"");
    source = Edit("\"cost\": 500 }", "\"cost\": 5e2, \"lineEnds\": { \"pictureFile\": \"\\n\" } }", source);
    source = Edit("{ \"name\": \"Gun\", \"range\": 100,", "{ \"range\": 100, \"name\": \"Gun\",", source);
    source = Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": \"0A0b\"\n}", source);
    ScratchDir dir;
    WriteBytes(dir / "src.json", source);
    const RunResult r = Build(dir / "src.json", dir / "out.race");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    RaceBytes expected;
    expected.line("For the tests").line("Test Folk").u16(2).u16(3);
    expected.model("Hauler", "hauler.bmp", 100, 120, 90, 2, 500, "\r\n", "\n");
    expected.model("Raider", "raider.bmp", 200, 90, 120, 0, 700);
    expected.weapon("Gun", 100, 10, 30, 300).weapon("Cannon", 80, 40, 70, 800).weapon("Beam", 200, 20, 35, 1200);
    expected.raw("\x0a\x0b");
    EXPECT_EQ(ReadBytes(dir / "out.race"), expected.bytes());

    const RunResult shown = RunCli({"race", "show", (dir / "out.race").string(), "--json"});
    std::string canonical = Edit("\"cost\": 500 }", "\"cost\": 500, \"lineEnds\": { \"pictureFile\": \"\\n\" } }");
    canonical = Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": \"0a0b\"\n}", canonical);
    EXPECT_EQ(shown.out, canonical);
}

TEST(RaceBuild, RefusesEveryMalformedSourceWithTheReason) {
    struct Case {
        std::string what;
        std::string source;
        std::string reason;
    };
    const std::vector<Case> cases = {
        // Not JSON, or not the right JSON.
        {"syntax", kSource.substr(0, kSource.size() - 3), "invalid JSON at line"},
        {"syntax place", Edit("\"survey\": 90,", "\"survey\": 90,,"), "invalid JSON at line 5, column"},
        {"array", "[1, 2]", "the source must be a JSON object"},
        {"empty", "", "invalid JSON"},
        // Missing fields.
        {"no name", Edit("  \"name\": \"Test Folk\",\n", ""), "\"name\" is missing at the top level"},
        {"no description", Edit("  \"description\": \"For the tests\",\n", ""), "\"description\" is missing"},
        {"no models", Splice("  \"shipModels\": [", "  ],\n", ""), "\"shipModels\" is missing at the top level"},
        {"no model cost", Edit("\"hold\": 0, \"cost\": 700 ", "\"hold\": 0 "), "\"cost\" is missing in ship model 2"},
        {"no picture", Edit("\"pictureFile\": \"hauler.bmp\", ", ""), "\"pictureFile\" is missing in ship model 1"},
        {"no max damage", Edit("\"maxDamage\": 35, ", ""), "\"maxDamage\" is missing in weapon 3"},
        {"no weapons", Splice(",\n  \"weapons\": [", "\n  ]", ""), "\"weapons\" is missing at the top level"},
        // Wrong types.
        {"speed as text", Edit("\"speed\": 100", "\"speed\": \"100\""),
         "\"speed\" in ship model 1 must be a number, not a string"},
        {"name as number", Edit("\"name\": \"Gun\"", "\"name\": 7"), "\"name\" in weapon 1 must be a string, not a number"},
        {"hold null", Edit("\"hold\": 2", "\"hold\": null"), "\"hold\" in ship model 1 must be a number, not null"},
        {"cost true", Edit("\"cost\": 300", "\"cost\": true"), "\"cost\" in weapon 1 must be a number, not true"},
        {"models object", Splice("\"shipModels\": [", "  ],", "\"shipModels\": {},"),
         "\"shipModels\" must be an array, not an object"},
        {"weapon as number", Edit("{ \"name\": \"Gun\", \"range\": 100, \"minDamage\": 10, \"maxDamage\": 30, \"cost\": 300 }", "3"),
         "weapon 1 must be an object, not a number"},
        {"description array", Edit("\"For the tests\"", "[\"For the tests\"]"), "\"description\" at the top level must be a string"},
        // Numbers out of 32 bits, or not whole.
        {"too big", Edit("\"cost\": 500", "\"cost\": 2147483648"), "outside the 32-bit range"},
        {"too small", Edit("\"range\": 80", "\"range\": -2147483649"), "\"range\" in weapon 2 is -2147483649, outside"},
        {"huge", Edit("\"survey\": 90", "\"survey\": 1e12"), "\"survey\" in ship model 1 is 1000000000000, outside"},
        {"fraction", Edit("\"minDamage\": 10", "\"minDamage\": 10.5"), "\"minDamage\" in weapon 1 must be a whole number"},
        // Unknown keys, so that a typo cannot pass for a default.
        {"top typo", Edit("  \"name\": \"Test Folk\",", "  \"name\": \"Test Folk\", \"nmae\": \"x\","),
         "unknown key \"nmae\" at the top level"},
        {"model typo", Edit("\"speed\": 200", "\"sped\": 1, \"speed\": 200"), "unknown key \"sped\" in ship model 2"},
        {"weapon typo", Edit("\"range\": 80", "\"rnage\": 80, \"range\": 80"), "unknown key \"rnage\" in weapon 2"},
        {"line ends typo", Edit("\"cost\": 300 }", "\"cost\": 300, \"lineEnds\": { \"pictureFile\": \"\\n\" } }"),
         "\"lineEnds\" in weapon 1 names \"pictureFile\", which is not one of its lines"},
        {"line ends not object", Edit("\"cost\": 700 }", "\"cost\": 700, \"lineEnds\": [\"\\n\"] }"),
         "\"lineEnds\" in ship model 2 must be an object"},
        // Line ends that the file format cannot hold.
        {"end too long", Edit("  \"shipModels\"", "  \"lineEnd\": \"\\r\\n\\n\",\n  \"shipModels\""), "\"lineEnd\" must be"},
        {"lone CR", Edit("  \"shipModels\"", "  \"lineEnd\": \"\\r\",\n  \"shipModels\""), "\"lineEnd\" must be"},
        {"CR wide char", Edit("  \"shipModels\"", "  \"lineEnd\": \"\\r\\u0100\",\n  \"shipModels\""), "\"lineEnd\" must be"},
        {"end not text", Edit("\"cost\": 500 }", "\"cost\": 500, \"lineEnds\": { \"name\": \"x\" } }"),
         "\"lineEnds\" entry \"name\" in ship model 1 must be"},
        // Text the encoding cannot hold.
        {"bad encoding", Edit("  \"shipModels\"", "  \"encoding\": \"ascii\",\n  \"shipModels\""), "\"encoding\" must be"},
        {"not latin1", Edit("\"Beam\"", "\"Beam \\u20ac\"", Edit("  \"shipModels\"", "  \"encoding\": \"latin1\",\n  \"shipModels\"")),
         "\"name\" in weapon 3 holds U+20AC, which Latin-1 cannot hold"},
        {"lone surrogate", Edit("\"Raider\"", "\"Raider \\ud800\""), "\"name\" in ship model 2 holds an unpaired UTF-16 surrogate"},
        // Trailing bytes.
        {"odd hex", Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": \"abc\"\n}"), "odd number of digits"},
        {"not hex", Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": \"zz\"\n}"), "hexadecimal digit pairs"},
        {"hex number", Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": 12\n}"), "hexadecimal digit pairs, not a number"},
        // Well-formed, but a race the game refuses.
        {"no model", Splice("\"shipModels\": [", "  ],", "\"shipModels\": [],"),
         "the game would refuse this race: the race has no ship model"},
        {"two weapons", Edit(",\n    { \"name\": \"Beam\", \"range\": 200, \"minDamage\": 20, \"maxDamage\": 35, \"cost\": 1200 }", ""),
         "the game would refuse this race: the race has 2 weapons, it needs at least three"},
        {"flat damage", Edit("\"maxDamage\": 70", "\"maxDamage\": 40"),
         "the game would refuse this race: weapon 2 \"Cannon\" has a damage bound (40) that is not above its least damage (40)"},
        {"inverted damage", Edit("\"maxDamage\": 35", "\"maxDamage\": 5"), "weapon 3 \"Beam\" has a damage bound (5)"},
        {"line feed in text", Edit("\"Hauler\"", "\"Hau\\nler\""), "the game would refuse this race: ship model 1's name holds a line-end character"},
        {"CR in text", Edit("\"For the tests\"", "\"For\\rthe tests\""), "the description holds a line-end character"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool oldFile : {false, true}) {
            ScratchDir dir;
            WriteBytes(dir / "src.json", c.source);
            if (oldFile) WriteBytes(dir / "out.race", "the old race file");
            const RunResult r = Build(dir / "src.json", dir / "out.race");
            EXPECT_EQ(r.exitCode, 1) << c.source;
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
            EXPECT_EQ(r.err.rfind("quorvane-cli race build: " + (dir / "src.json").string() + ": ", 0), 0u) << r.err;
            EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
            if (oldFile) {
                EXPECT_EQ(ReadBytes(dir / "out.race"), "the old race file");
                EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.race", "src.json"}));
            } else {
                EXPECT_EQ(dir.entries(), std::vector<std::string>{"src.json"});
            }
        }
    }
}

TEST(RaceBuild, ReportsFilesItCannotReadOrWrite) {
    ScratchDir dir;
    const RunResult missing = Build(dir / "absent.json", dir / "out.race");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(Lines(missing.err).size(), 1u);
    EXPECT_NE(missing.err.find("cannot read " + (dir / "absent.json").string()), std::string::npos) << missing.err;

    WriteBytes(dir / "src.json", kSource);
    const RunResult unwritable = Build(dir / "src.json", dir / "no-such-folder" / "out.race");
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(Lines(unwritable.err).size(), 1u);
    EXPECT_NE(unwritable.err.find("cannot write " + (dir / "no-such-folder" / "out.race").string()),
              std::string::npos)
        << unwritable.err;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"src.json"});
}

}  // namespace
}  // namespace qv::clitest
