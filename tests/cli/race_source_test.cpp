// race show --json and race build: any race file the game accepts, printed
// as its source and built again, gives the same bytes (line ends of every
// kind, Latin-1 or odd UTF-8 text, trailing bytes, extreme numbers); a
// source that does not describe a race is refused with the reason.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

using namespace std::string_literals;

// Prints bytes as a source, builds it again and expects the same bytes, and
// the rebuilt file to print as the same source. Returns the source.
std::string RoundTrip(const std::string& bytes) {
    ScratchDir dir;
    WriteBytes(dir / "x.race", bytes);
    const RunResult shown = RunCli({"race", "show", (dir / "x.race").string(), "--json"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.err, "");
    WriteBytes(dir / "x.json", shown.out);
    const RunResult built = RunCli({"race", "build", (dir / "x.json").string(), "-o", (dir / "y.race").string()});
    EXPECT_EQ(built.exitCode, 0) << built.err << "\nsource:\n" << shown.out;
    if (built.exitCode != 0) return shown.out;
    EXPECT_EQ(ReadBytes(dir / "y.race"), bytes) << "source:\n" << shown.out;
    EXPECT_EQ(RunCli({"race", "show", (dir / "y.race").string(), "--json"}).out, shown.out);
    return shown.out;
}

TEST(RaceSource, EveryShippedRacePrintsAsItsSourceAndBuildsBackTheSameBytes) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kSourceDir / "data" / "races")) {
        if (entry.path().extension() != ".json") continue;
        ++count;
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        EXPECT_EQ(RoundTrip(ReadBytes(kDataOut / (stem + ".race"))), ReadBytes(entry.path()));
    }
    EXPECT_EQ(count, 4);
}

TEST(RaceSource, OddFilesTheGameAcceptsComeBackByteForByte) {
    // Lines ending in LF only: one top-level key says so.
    RaceBytes lf;
    lf.line("Plain LF", "\n").line("Unix Folk", "\n").u16(1).u16(3).model("Ferry", "f.bmp", 1, 2, 3, 4, 5, "\n", "\n");
    lf.weapon("A", 1, 1, 2, 1, "\n").weapon("B", 1, 1, 2, 1, "\n").weapon("C", 1, 1, 2, 1, "\n");
    const QJsonObject plain = ParseJson(RoundTrip(lf.bytes())).toObject();
    EXPECT_EQ(Text(plain["lineEnd"]), "\n");
    EXPECT_FALSE(plain.contains("lineEnds"));
    EXPECT_FALSE(plain["shipModels"][0].toObject().contains("lineEnds"));

    // Mixed ends: the common one at the top, the others per line.
    RaceBytes mixed;
    mixed.line("Mixed", "\n").line("Mostly CR LF").u16(2).u16(3).model("One", "one.bmp", 1, 2, 3, 4, 5);
    mixed.model("Two", "two.bmp", 1, 2, 3, 0, 5, "\r\n", "\n");
    mixed.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1, "\n");
    const QJsonObject overridden = ParseJson(RoundTrip(mixed.bytes())).toObject();
    EXPECT_FALSE(overridden.contains("lineEnd"));
    EXPECT_EQ(Keys(overridden["lineEnds"].toObject()), std::set<std::string>{"description"});
    EXPECT_EQ(Text(overridden["shipModels"][1]["lineEnds"]["pictureFile"]), "\n");
    EXPECT_EQ(Text(overridden["weapons"][2]["lineEnds"]["name"]), "\n");

    // A CR followed by any byte, which the game takes as the line's end.
    RaceBytes odd;
    odd.line("Odd ends", "\rA").line("Cr Folk", "\r\r").u16(2).u16(4);
    odd.model("One", "one.bmp", 1, 2, 3, 4, 5, "\r\0"s, "\r\xff").model("Two", "two.bmp", 1, 2, 3, 0, 5, "\r\"", "\r\\");
    odd.weapon("A", 1, 1, 2, 1, "\r\xe9").weapon("B", 1, 1, 2, 1, "\r ").weapon("C", 1, 1, 2, 1, "\r\t");
    odd.weapon("D", 1, 1, 2, 1, "\r\x85");
    const QJsonObject ends = ParseJson(RoundTrip(odd.bytes())).toObject();
    EXPECT_EQ(Text(ends["lineEnd"]), "\r\0"s);  // each end once: the smallest is the common one
    EXPECT_EQ(Text(ends["shipModels"][0]["lineEnds"]["pictureFile"]), "\r\xc3\xbf");
    EXPECT_FALSE(ends.contains("encoding"));  // line ends are not text

    // A CR that swallows the first byte of the number after it.
    RaceBytes swallow;
    swallow.line("d").line("Swallow").u16(1).u16(3);
    swallow.line("Model", "\r").raw("\x07").line("pic.bmp").i32(1).i32(2).i32(3).i32(4).i32(5);
    swallow.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
    RoundTrip(swallow.bytes());

    // Text that is not UTF-8 is Latin-1, every byte a character.
    RaceBytes latin;
    latin.line("Une cit\xe9 libre \xa0\xbb").line("Cit\xe9 Libre").u16(1).u16(3);
    latin.model("Ros\xc3\xa9", "nef\xff.bmp", 1, 2, 3, 4, 5);
    latin.weapon("Lance \x85", 1, 1, 2, 1).weapon("\x01\x7f", 1, 1, 2, 1).weapon("\xe0\xe8", 1, 1, 2, 1);
    const QJsonObject latin1 = ParseJson(RoundTrip(latin.bytes())).toObject();
    EXPECT_EQ(Text(latin1["encoding"]), "latin1");
    EXPECT_EQ(Text(latin1["name"]), "Cit\xc3\xa9 Libre");
    EXPECT_EQ(Text(latin1["shipModels"][0]["name"]), "Ros\xc3\x83\xc2\xa9");

    // UTF-8 keeps every character, the invisible ones escaped.
    const std::vector<std::string> texts = {
        "Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x9a\x80",
        "\xef\xbb\xbf" "Byte order mark first",
        "Non-characters \xef\xbf\xbf \xef\xbf\xbe \xef\xb7\x90 \xf4\x8f\xbf\xbf",
        "Separators \xe2\x80\xa8 \xe2\x80\xa9 and C1 \xc2\x85",
        "Controls \t \x01 \x1f \x7f and NUL \0 end"s,
        "Quotes \" and backslashes \\ and slash /",
    };
    RaceBytes utf8;
    utf8.line(texts[0]).line(texts[1]).u16(2).u16(3).model(texts[2], texts[3], 1, 2, 3, 4, 5);
    utf8.model("", "plain.bmp", 1, 2, 3, 0, 5);
    utf8.weapon(texts[4], 1, 1, 2, 1).weapon(texts[5], 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
    const std::string text = RoundTrip(utf8.bytes());
    const QJsonObject unicode = ParseJson(text).toObject();
    EXPECT_FALSE(unicode.contains("encoding"));
    EXPECT_EQ(Text(unicode["description"]), texts[0]);
    EXPECT_EQ(Text(unicode["shipModels"][0]["pictureFile"]), texts[3]);
    EXPECT_EQ(Text(unicode["weapons"][0]["name"]), texts[4]);
    EXPECT_EQ(Text(unicode["weapons"][1]["name"]), texts[5]);
    EXPECT_NE(text.find("Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"), std::string::npos);
    EXPECT_NE(text.find("\\ufeffByte order mark"), std::string::npos);
    EXPECT_NE(text.find("NUL \\u0000 end"), std::string::npos);

    // Bytes after the last weapon, as hexadecimal.
    RaceBytes tail;
    tail.line("d").line("Tail").u16(1).u16(3).model("M", "m.bmp", 1, 2, 3, 4, 5);
    tail.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1).raw("\x00\xff\r\nmore"s);
    EXPECT_EQ(Text(ParseJson(RoundTrip(tail.bytes()))["trailingBytes"]), "00ff0d0a6d6f7265");

    // The smallest file: empty text everywhere, every line ending in LF.
    RaceBytes smallest;
    smallest.line("", "\n").line("", "\n").u16(1).u16(3).model("", "", 1, 2, 3, 4, 5, "\n", "\n");
    smallest.weapon("", 1, 1, 2, 1, "\n").weapon("", 1, 1, 2, 1, "\n").weapon("", 1, 1, 2, 1, "\n");
    RoundTrip(smallest.bytes());

    // Extreme numbers and long lists.
    RaceBytes extremes;
    extremes.line("Numbers").line("Extremes").u16(300).u16(260);
    for (int i = 0; i < 300; ++i)
        extremes.model("Model " + std::to_string(i), "m.bmp", INT_MIN, INT_MAX, -1, 0, i * 7919 - 1000000);
    for (int i = 0; i < 260; ++i) extremes.weapon("Weapon " + std::to_string(i), -i, INT_MIN, INT_MAX, i);
    const QJsonObject numbers = ParseJson(RoundTrip(extremes.bytes())).toObject();
    EXPECT_EQ(numbers["shipModels"][0]["speed"].toInteger(), INT_MIN);
    EXPECT_EQ(numbers["weapons"][259]["range"].toInteger(), -259);
}

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

// kSource (or text) with one piece of it replaced (which must be there).
std::string Edit(const std::string& from, const std::string& to, std::string text = kSource) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("not in the source: " + from);
    return text.replace(at, from.size(), to);
}

TEST(RaceSource, BuildTakesRedundantKeysAndShowPrintsTheCanonicalForm) {
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
    const RunResult r = RunCli({"race", "build", (dir / "src.json").string(), "-o", (dir / "out.race").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");

    RaceBytes expected;
    expected.line("For the tests").line("Test Folk").u16(2).u16(3);
    expected.model("Hauler", "hauler.bmp", 100, 120, 90, 2, 500, "\r\n", "\n");
    expected.model("Raider", "raider.bmp", 200, 90, 120, 0, 700);
    expected.weapon("Gun", 100, 10, 30, 300).weapon("Cannon", 80, 40, 70, 800).weapon("Beam", 200, 20, 35, 1200);
    expected.raw("\x0a\x0b");
    EXPECT_EQ(ReadBytes(dir / "out.race"), expected.bytes());

    std::string canonical = Edit("\"cost\": 500 }", "\"cost\": 500, \"lineEnds\": { \"pictureFile\": \"\\n\" } }");
    canonical = Edit("\n  ]\n}", "\n  ],\n  \"trailingBytes\": \"0a0b\"\n}", canonical);
    EXPECT_EQ(RunCli({"race", "show", (dir / "out.race").string(), "--json"}).out, canonical);
}

TEST(RaceSource, BuildRefusesWhatIsNotARaceWithTheReason) {
    const std::string top = "  \"shipModels\"";
    const auto topKey = [&](const std::string& entry) { return Edit(top, "  " + entry + ",\n" + top); };
    const struct {
        std::string source, reason;
    } cases[] = {
        {kSource.substr(0, kSource.size() - 3), "invalid JSON at line"},
        {Edit("\"survey\": 90,", "\"survey\": 90,,"), "invalid JSON at line 5, column"},
        {"[1, 2]", "the source must be a JSON object"},
        {Edit("  \"name\": \"Test Folk\",\n", ""), "\"name\" is missing at the top level"},
        {Edit("\"hold\": 0, \"cost\": 700 ", "\"hold\": 0 "), "\"cost\" is missing in ship model 2"},
        {Edit("\"maxDamage\": 35, ", ""), "\"maxDamage\" is missing in weapon 3"},
        {Edit("\"speed\": 100", "\"speed\": \"100\""), "\"speed\" in ship model 1 must be a number, not a string"},
        {Edit("\"name\": \"Gun\"", "\"name\": 7"), "\"name\" in weapon 1 must be a string, not a number"},
        {Edit("\"cost\": 300", "\"cost\": true"), "\"cost\" in weapon 1 must be a number, not true"},
        {kSource.substr(0, kSource.find("\"weapons\"")) + "\"weapons\": {}\n}\n", "\"weapons\" must be an array, not an object"},
        {Edit("{ \"name\": \"Gun\", \"range\": 100, \"minDamage\": 10, \"maxDamage\": 30, \"cost\": 300 }", "3"),
         "weapon 1 must be an object, not a number"},
        {Edit("{ \"name\": \"Hauler\"", "null, { \"name\": \"Hauler\""), "ship model 1 must be an object, not null"},
        {Edit("\"cost\": 500", "\"cost\": 2147483648"), "outside the 32-bit range"},
        {Edit("\"range\": 80", "\"range\": -2147483649"), "\"range\" in weapon 2 is -2147483649, outside"},
        {Edit("\"minDamage\": 10", "\"minDamage\": 10.5"), "\"minDamage\" in weapon 1 must be a whole number"},
        {Edit("\"speed\": 200", "\"sped\": 1, \"speed\": 200"), "unknown key \"sped\" in ship model 2"},
        {topKey("\"nmae\": \"x\""), "unknown key \"nmae\" at the top level"},
        {Edit("\"cost\": 300 }", "\"cost\": 300, \"lineEnds\": { \"pictureFile\": \"\\n\" } }"),
         "\"lineEnds\" in weapon 1 names \"pictureFile\", which is not one of its lines"},
        {Edit("\"cost\": 700 }", "\"cost\": 700, \"lineEnds\": [\"\\n\"] }"), "\"lineEnds\" in ship model 2 must be an object"},
        {topKey("\"lineEnd\": \"\\r\\n\\n\""), "\"lineEnd\" must be"},
        {topKey("\"lineEnd\": \"\\r\""), "\"lineEnd\" must be"},
        {topKey("\"lineEnd\": \"\\r\\u0100\""), "\"lineEnd\" must be"},
        {topKey("\"lineEnd\": 10"), "\"lineEnd\" must be"},
        {topKey("\"encoding\": \"ascii\""), "\"encoding\" must be \"latin1\" or \"utf-8\""},
        {Edit("\"Beam\"", "\"Beam \\u20ac\"", topKey("\"encoding\": \"latin1\"")),
         "\"name\" in weapon 3 holds U+20AC, which Latin-1 cannot hold"},
        {Edit("\"Raider\"", "\"Raider \\ud800\""), "\"name\" in ship model 2 holds an unpaired UTF-16 surrogate"},
        {topKey("\"trailingBytes\": \"abc\""), "odd number of digits"},
        {topKey("\"trailingBytes\": \"zz\""), "hexadecimal digit pairs"},
        {topKey("\"trailingBytes\": 12"), "hexadecimal digit pairs, not a number"},
        {Edit("\"maxDamage\": 70", "\"maxDamage\": 40"), "the game would refuse this race: weapon 2 \"Cannon\""},
        {Edit("\"Hauler\"", "\"Hau\\nler\""), "the game would refuse this race: ship model 1's name holds a line-end"},
    };
    ScratchDir dir;
    const std::string src = (dir / "src.json").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        WriteBytes(src, c.source);
        const RunResult r = RunCli({"race", "build", src, "-o", (dir / "out.race").string()});
        EXPECT_EQ(r.exitCode, 1) << c.source;
        EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
        EXPECT_EQ(r.err.rfind("quorvane-cli race build: " + src + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"src.json"});
    }
}

}  // namespace
}  // namespace qv::clitest
