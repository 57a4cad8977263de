// race show --json and race build are inverse: any race file the game
// accepts, printed as its source and built again, gives the same bytes:
// line ends of every kind, Latin-1 text, odd characters, trailing bytes.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

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
    const RunResult again = RunCli({"race", "show", (dir / "y.race").string(), "--json"});
    EXPECT_EQ(again.out, shown.out);
    return shown.out;
}

// Every key of a model or weapon object other than its own fields.
std::set<std::string> ExtraKeys(const Json& object) {
    static const std::set<std::string> fields = {"name", "pictureFile", "speed", "defence", "survey", "hold",
                                                 "cost", "range", "minDamage", "maxDamage"};
    std::set<std::string> extra;
    for (const std::string& key : object.keys())
        if (!fields.count(key)) extra.insert(key);
    return extra;
}

TEST(RaceRoundTrip, EveryShippedRacePrintsAsItsSourceAndBuildsBackTheSameBytes) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kSourceDir / "data" / "races")) {
        if (entry.path().extension() != ".json") continue;
        ++count;
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        const std::string built = ReadBytes(kDataOut / (stem + ".race"));
        EXPECT_EQ(RoundTrip(built), ReadBytes(entry.path()));
    }
    EXPECT_EQ(count, 4);
}

TEST(RaceRoundTrip, LineFeedEndingsAreOneTopLevelKey) {
    RaceBytes r;
    r.line("Plain LF", "\n").line("Unix Folk", "\n").u16(2).u16(3);
    r.model("Ferry", "ferry.bmp", 100, 100, 100, 4, 900, "\n", "\n");
    r.model("Spear", "spear.bmp", 180, 90, 110, 0, 800, "\n", "\n");
    r.weapon("Gun", 100, 10, 30, 300, "\n").weapon("Cannon", 80, 40, 70, 800, "\n");
    r.weapon("Beam", 200, 20, 35, 1200, "\n");
    const Json source = ParseJson(RoundTrip(r.bytes()));
    EXPECT_EQ(source.keys(), (std::vector<std::string>{"name", "description", "lineEnd", "shipModels", "weapons"}));
    EXPECT_EQ(source["lineEnd"].string, "\n");
    EXPECT_EQ(source["name"].string, "Unix Folk");
    EXPECT_EQ(source["description"].string, "Plain LF");
    ASSERT_EQ(source["shipModels"].size(), 2u);
    EXPECT_EQ(source["shipModels"][0]["name"].string, "Ferry");  // file order
    EXPECT_EQ(source["shipModels"][0]["hold"].integer(), 4);
    EXPECT_EQ(source["weapons"][2]["name"].string, "Beam");
    for (const Json* list : {&source["shipModels"], &source["weapons"]})
        for (const Json& item : list->items) EXPECT_TRUE(ExtraKeys(item).empty());
}

TEST(RaceRoundTrip, MixedEndingsKeepTheCommonEndAndOverrideTheOthers) {
    {
        SCOPED_TRACE("mostly CR LF");
        RaceBytes r;
        r.line("Mixed", "\n").line("Mostly CR LF").u16(2).u16(3);
        r.model("One", "one.bmp", 1, 2, 3, 4, 5);
        r.model("Two", "two.bmp", 1, 2, 3, 0, 5, "\r\n", "\n");
        r.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1, "\n");
        const Json source = ParseJson(RoundTrip(r.bytes()));
        EXPECT_FALSE(source.has("lineEnd"));
        ASSERT_TRUE(source.has("lineEnds"));
        EXPECT_EQ(source["lineEnds"].keys(), std::vector<std::string>{"description"});
        EXPECT_EQ(source["lineEnds"]["description"].string, "\n");
        EXPECT_TRUE(ExtraKeys(source["shipModels"][0]).empty());
        EXPECT_EQ(source["shipModels"][1]["lineEnds"].keys(), std::vector<std::string>{"pictureFile"});
        EXPECT_EQ(source["shipModels"][1]["lineEnds"]["pictureFile"].string, "\n");
        EXPECT_TRUE(ExtraKeys(source["weapons"][1]).empty());
        EXPECT_EQ(source["weapons"][2]["lineEnds"]["name"].string, "\n");
    }
    {
        SCOPED_TRACE("mostly LF");
        RaceBytes r;
        r.line("Mixed", "\n").line("Mostly LF", "\r\n").u16(1).u16(3);
        r.model("One", "one.bmp", 1, 2, 3, 4, 5, "\n", "\r\n");
        r.weapon("A", 1, 1, 2, 1, "\n").weapon("B", 1, 1, 2, 1, "\n").weapon("C", 1, 1, 2, 1, "\n");
        const Json source = ParseJson(RoundTrip(r.bytes()));
        EXPECT_EQ(source["lineEnd"].string, "\n");
        EXPECT_EQ(source["lineEnds"].keys(), std::vector<std::string>{"name"});
        EXPECT_EQ(source["lineEnds"]["name"].string, "\r\n");
        EXPECT_EQ(source["shipModels"][0]["lineEnds"]["pictureFile"].string, "\r\n");
        EXPECT_FALSE(source["shipModels"][0]["lineEnds"].has("name"));
    }
}

TEST(RaceRoundTrip, CarriageReturnFollowedByAnyOtherByteIsKept) {
    using namespace std::string_literals;
    {
        SCOPED_TRACE("one odd end per line");
        RaceBytes r;
        r.line("Odd ends", "\rA").line("Cr Folk", "\r\r").u16(2).u16(4);
        r.model("One", "one.bmp", 1, 2, 3, 4, 5, "\r\0"s, "\r\xff");
        r.model("Two", "two.bmp", 1, 2, 3, 0, 5, "\r\"", "\r\\");
        r.weapon("A", 1, 1, 2, 1, "\r\xe9").weapon("B", 1, 1, 2, 1, "\r ").weapon("C", 1, 1, 2, 1, "\r\t");
        r.weapon("D", 1, 1, 2, 1, "\r\x85");
        const Json source = ParseJson(RoundTrip(r.bytes()));
        // Each end occurs once: the smallest becomes the common one. The
        // byte after CR is written as the character of that number.
        EXPECT_EQ(source["lineEnd"].string, "\r\0"s);
        EXPECT_EQ(source["lineEnds"]["description"].string, "\rA");
        EXPECT_EQ(source["lineEnds"]["name"].string, "\r\r");
        EXPECT_EQ(source["shipModels"][0]["lineEnds"].keys(), std::vector<std::string>{"pictureFile"});
        EXPECT_EQ(source["shipModels"][0]["lineEnds"]["pictureFile"].string, "\r\xc3\xbf");
        EXPECT_EQ(source["weapons"][0]["lineEnds"]["name"].string, "\r\xc3\xa9");
        EXPECT_FALSE(source.has("encoding"));  // line ends are not text
    }
    {
        SCOPED_TRACE("the same odd end everywhere");
        RaceBytes r;
        r.line("All CR Z", "\rZ").line("Z Folk", "\rZ").u16(1).u16(3);
        r.model("One", "one.bmp", 1, 2, 3, 4, 5, "\rZ", "\rZ");
        r.weapon("A", 1, 1, 2, 1, "\rZ").weapon("B", 1, 1, 2, 1, "\rZ").weapon("C", 1, 1, 2, 1, "\rZ");
        const Json source = ParseJson(RoundTrip(r.bytes()));
        EXPECT_EQ(source["lineEnd"].string, "\rZ");
        EXPECT_FALSE(source.has("lineEnds"));
    }
    {
        SCOPED_TRACE("a CR that swallows the first byte of a number");
        RaceBytes r;
        r.line("d").line("Swallow").u16(1).u16(3);
        r.line("Model", "\r").raw("\x07").line("pic.bmp").i32(1).i32(2).i32(3).i32(4).i32(5);
        r.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
        RoundTrip(r.bytes());
    }
}

TEST(RaceRoundTrip, TextThatIsNotUtf8IsWrittenAsLatin1) {
    RaceBytes r;
    r.line("Une cit\xe9 libre \xa0\xbb").line("Cit\xe9 Libre").u16(2).u16(3);
    r.model("Ros\xc3\xa9", "rose.bmp", 1, 2, 3, 4, 5);  // UTF-8 bytes, read one by one
    r.model("Nef", "nef\xff.bmp", 1, 2, 3, 0, 5);
    r.weapon("Lance \x85", 1, 1, 2, 1).weapon("\x01\x7f", 1, 1, 2, 1).weapon("\xe0\xe8", 1, 1, 2, 1);
    const Json source = ParseJson(RoundTrip(r.bytes()));
    EXPECT_EQ(source["encoding"].string, "latin1");
    EXPECT_EQ(source["name"].string, "Cit\xc3\xa9 Libre");
    EXPECT_EQ(source["description"].string, "Une cit\xc3\xa9 libre \xc2\xa0\xc2\xbb");
    EXPECT_EQ(source["shipModels"][0]["name"].string, "Ros\xc3\x83\xc2\xa9");
    EXPECT_EQ(source["shipModels"][1]["pictureFile"].string, "nef\xc3\xbf.bmp");
    EXPECT_EQ(source["weapons"][0]["name"].string, "Lance \xc2\x85");
    EXPECT_EQ(source["weapons"][2]["name"].string, "\xc3\xa0\xc3\xa8");
}

TEST(RaceRoundTrip, Utf8TextKeepsEveryCharacter) {
    using namespace std::string_literals;
    const std::vector<std::string> texts = {
        "Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x9a\x80",  // é, two CJK characters, an emoji
        "\xef\xbb\xbf" "Byte order mark first",
        "Non-characters \xef\xbf\xbf \xef\xbf\xbe \xef\xb7\x90 \xf4\x8f\xbf\xbf",
        "Separators \xe2\x80\xa8 \xe2\x80\xa9 and C1 \xc2\x85",
        "Controls \t \x01 \x1f \x7f and NUL \0 end"s,
        "Quotes \" and backslashes \\ and slash /",
        "",
    };
    RaceBytes r;
    r.line(texts[0]).line(texts[1]).u16(2).u16(3);
    r.model(texts[2], texts[3], 1, 2, 3, 4, 5);
    r.model(texts[6], "plain.bmp", 1, 2, 3, 0, 5);
    r.weapon(texts[4], 1, 1, 2, 1).weapon(texts[5], 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
    const std::string text = RoundTrip(r.bytes());
    const Json source = ParseJson(text);
    EXPECT_FALSE(source.has("encoding"));
    EXPECT_EQ(source["description"].string, texts[0]);
    EXPECT_EQ(source["name"].string, texts[1]);
    EXPECT_EQ(source["shipModels"][0]["name"].string, texts[2]);
    EXPECT_EQ(source["shipModels"][0]["pictureFile"].string, texts[3]);
    EXPECT_EQ(source["shipModels"][1]["name"].string, "");
    EXPECT_EQ(source["weapons"][0]["name"].string, texts[4]);
    EXPECT_EQ(source["weapons"][1]["name"].string, texts[5]);
    // Readable characters stay as they are; the invisible ones are escaped.
    EXPECT_NE(text.find("Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"), std::string::npos);
    EXPECT_NE(text.find("\\ufeffByte order mark"), std::string::npos);
    EXPECT_NE(text.find("NUL \\u0000 end"), std::string::npos);
}

TEST(RaceRoundTrip, TrailingBytesAreKeptAsHexadecimal) {
    RaceBytes r;
    r.line("d").line("Tail").u16(1).u16(3).model("M", "m.bmp", 1, 2, 3, 4, 5);
    r.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
    r.raw(std::string("\x00\xff\r\nmore", 8));
    const Json source = ParseJson(RoundTrip(r.bytes()));
    EXPECT_EQ(source.keys().back(), "trailingBytes");
    EXPECT_EQ(source["trailingBytes"].string, "00ff0d0a6d6f7265");
}

TEST(RaceRoundTrip, TheSmallestFilesTheGameAcceptsSurvive) {
    // Empty text everywhere, every line ending in a lone LF: 22 bytes per
    // model and 17 per weapon, nothing to spare.
    RaceBytes r;
    r.line("", "\n").line("", "\n").u16(1).u16(3).model("", "", 1, 2, 3, 4, 5, "\n", "\n");
    r.weapon("", 1, 1, 2, 1, "\n").weapon("", 1, 1, 2, 1, "\n").weapon("", 1, 1, 2, 1, "\n");
    ASSERT_EQ(r.bytes().size(), 2u + 4u + 22u + 3u * 17u);
    const Json source = ParseJson(RoundTrip(r.bytes()));
    EXPECT_EQ(source["name"].string, "");
    EXPECT_EQ(source["weapons"].size(), 3u);
}

TEST(RaceRoundTrip, ExtremeNumbersAndLongListsSurvive) {
    RaceBytes r;
    r.line("Numbers").line("Extremes").u16(300).u16(260);
    for (int i = 0; i < 300; ++i)
        r.model("Model " + std::to_string(i), "m.bmp", INT_MIN, INT_MAX, -1, 0, i * 7919 - 1000000);
    for (int i = 0; i < 260; ++i) r.weapon("Weapon " + std::to_string(i), -i, INT_MIN, INT_MAX, i);
    const Json source = ParseJson(RoundTrip(r.bytes()));
    ASSERT_EQ(source["shipModels"].size(), 300u);
    ASSERT_EQ(source["weapons"].size(), 260u);
    EXPECT_EQ(source["shipModels"][299]["name"].string, "Model 299");
    EXPECT_EQ(source["shipModels"][0]["speed"].integer(), INT_MIN);
    EXPECT_EQ(source["shipModels"][0]["defence"].integer(), INT_MAX);
    EXPECT_EQ(source["weapons"][259]["range"].integer(), -259);
}

// ---- race show --------------------------------------------------------------

TEST(RaceShow, RefusesAFileThatEndsBeforeItsCountsAreMet) {
    // 21 bytes up to the counts, a 129-byte model, three 19-byte weapons.
    RaceBytes r;
    r.line("Cut").line("Short Folk").u16(1).u16(3).model(std::string(100, 'L'), "m.bmp", 1, 2, 3, 4, 5);
    r.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1).weapon("C", 1, 1, 2, 1);
    const std::string whole = r.bytes();
    ASSERT_EQ(whole.size(), 21u + 129u + 3u * 19u);
    struct Cut {
        std::size_t size;
        std::string reason;
    };
    const std::vector<Cut> cuts = {
        {0, "before its ship model and weapon counts"},
        {3, "before its ship model and weapon counts"},
        {19, "before its ship model and weapon counts"},  // inside the counts
        {22, "1 ship models and 3 weapons it announces"},  // one byte after the counts
        {21 + 102 + 7 + 10, "inside ship model 1"},        // inside the model's numbers
        {whole.size() - 10, "inside weapon 3"},
        {whole.size() - 1, "inside weapon 3"},
    };
    ScratchDir dir;
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.size);
        WriteBytes(dir / "cut.race", whole.substr(0, cut.size));
        for (bool json : {false, true}) {
            std::vector<std::string> args = {"race", "show", (dir / "cut.race").string()};
            if (json) args.push_back("--json");
            const RunResult r = RunCli(args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
            EXPECT_NE(r.err.find("cut.race: "), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(cut.reason), std::string::npos) << r.err;
        }
    }
    // Counts far beyond what the file holds.
    RaceBytes huge;
    huge.line("d").line("n").u16(0xFFFF).u16(0xFFFF);
    WriteBytes(dir / "huge.race", huge.bytes());
    const RunResult tooMany = RunCli({"race", "show", (dir / "huge.race").string()});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_NE(tooMany.err.find("65535 ship models"), std::string::npos) << tooMany.err;

    const RunResult missing = RunCli({"race", "show", (dir / "absent.race").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(Lines(missing.err).size(), 1u);
    EXPECT_NE(missing.err.find("absent.race"), std::string::npos);
}

TEST(RaceShow, PlainFormListsTheFileInFileOrderAndSaysWhetherTheGameLoadsIt) {
    ScratchDir dir;
    RaceBytes good;
    good.line("Readable", "\n").line("Show Folk").u16(2).u16(3);
    good.model("Barge", "barge.bmp", 90, 260, 70, 5, 900).model("Talon", "talon.bmp", 140, 230, 80, 0, 750);
    good.weapon("Hammer", 90, 70, 130, 1400).weapon("Ram", 60, 90, 150, 2000).weapon("Mortar", 150, 60, 120, 2500);
    good.raw("xyz");
    WriteBytes(dir / "good.race", good.bytes());
    const RunResult r = RunCli({"race", "show", (dir / "good.race").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Show Folk\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Readable"), std::string::npos);
    EXPECT_NE(r.out.find("(" + std::to_string(good.bytes().size()) + " bytes)"), std::string::npos);
    EXPECT_NE(r.out.find("UTF-8, lines end in CR LF (8), LF (1)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("3 bytes after the last weapon"), std::string::npos);
    EXPECT_LT(r.out.find("Barge"), r.out.find("Talon"));
    EXPECT_LT(r.out.find("Hammer"), r.out.find("Mortar"));
    EXPECT_NE(r.out.find("60-120"), std::string::npos);
    EXPECT_NE(r.out.find("The game loads this race."), std::string::npos);

    // A file that parses but that the game refuses is still shown, with the
    // reason; its source can be printed to be mended.
    RaceBytes two;
    two.line("d").line("Two Guns").u16(1).u16(2).model("M", "m.bmp", 1, 2, 3, 4, 5);
    two.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1);
    WriteBytes(dir / "two.race", two.bytes());
    const RunResult plain = RunCli({"race", "show", (dir / "two.race").string()});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_NE(plain.out.find("The game refuses this race: the race has 2 weapons"), std::string::npos) << plain.out;
    const RunResult json = RunCli({"race", "show", (dir / "two.race").string(), "--json"});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(ParseJson(json.out)["weapons"].size(), 2u);
    EXPECT_NE(json.err.find("refuses this race"), std::string::npos);
}

}  // namespace
}  // namespace qv::clitest
