// Race files read into races, refused with the reason, and ship pictures turned into pixel lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <tuple>

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/race_file.h"
#include "model/races.h"
#include "race_test_files.h"

namespace qv {
namespace {

using testing::RaceBytes;
using testing::SimpleRace;
using testing::TempDir;
using testing::WriteBytes;

class RaceLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&platform); }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }
    std::vector<std::string> RaceNames() const {
        std::vector<std::string> names;
        for (Race* r = g_races; r; r = r->next) names.push_back(r->name);
        return names;
    }
    HeadlessPlatform platform;
    TempDir dir;
};

// A race read field by field; its ship picture becomes the list of its non-black pixels in row order.
TEST_F(RaceLoaderTest, ReadsEveryFieldAndReversesModelsAndWeapons) {
    RaceBytes r;
    r.line("Traders of the rim").line("Rimfolk", "\n").u16(2).u16(3);
    r.model("Barge", "barge.bmp", 120, 150, 100, 3, 1000).model("Skiff", "none.bmp", 1, 2, 3, 0, 5, "\rX");
    r.weapon("Laser", 100, 10, 30, 500).weapon("Cannon", 150, 20, 60, 900).weapon("Ray", 200, 40, 90, 1500, "\n");
    WriteBytes(dir / "rim.race", r.bytes());
    std::filesystem::copy_file(std::filesystem::path(QUORVANE_TEST_FIXTURES) / "bitmaps/topdown-8.bmp",
                               dir / "barge.bmp");
    ASSERT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(DataDir(), dir.path());
    ASSERT_EQ(CountOf(g_races), 1);
    const Race& race = *g_races;
    EXPECT_EQ(std::tuple(race.name, race.description, race.fileName, race.shipModelCount, race.weaponCount),
              std::tuple("Rimfolk", "Traders of the rim", "rim.race", 2, 3));
    // The first model and weapon of the file end up last; "\rX" ends a line and takes the X.
    ASSERT_EQ(CountOf(race.shipModels), 2);
    const ShipModel& skiff = *race.shipModels;
    const ShipModel& m = *skiff.next;
    // The missing picture: a message, no picture, no pixels.
    EXPECT_EQ(platform.messages, std::vector<std::string>{"Unable to open bitmap file - none.bmp!"});
    EXPECT_EQ(std::tuple(skiff.name, skiff.pictureFile, skiff.speed, skiff.picture.empty(), skiff.pixels[0].colour),
              std::tuple("Skiff", "none.bmp", 1, true, 0u));
    EXPECT_EQ(std::tuple(m.name, m.pictureFile, m.speed, m.defence, m.survey, m.hold, m.cost),
              std::tuple("Barge", "barge.bmp", 120, 150, 100, 3, 1000));
    ASSERT_EQ(CountOf(race.weapons), 3);
    const Weapon& w = *race.weapons->next->next;
    EXPECT_EQ(
        std::tuple(race.weapons->name, race.weapons->next->name, w.name, w.range, w.minDamage, w.maxDamage, w.cost),
        std::tuple("Ray", "Cannon", "Laser", 100, 10, 30, 500));
    // 5 x 3 rows of indices 1 2 3 4 5 / 5 4 3 2 1 / 0 1 0 5 5 into black 0000FF 00FF00 FF0000 00FFFF C8285A.
    std::vector<int> places;
    std::vector<Colour> colours;
    for (const Pixel& p : std::span(m.pixels, 14)) places.insert(places.end(), {p.x, p.y}), colours.push_back(p.colour);
    const Colour a = 0x0000FF, b = 0x00FF00, c = 0xFF0000, d = 0x00FFFF, e = 0xC8285A;
    EXPECT_EQ(places,
              (std::vector{0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0, 1, 1, 1, 2, 1, 3, 1, 4, 1, 1, 2, 3, 2, 4, 2, 0, 0}));
    EXPECT_EQ(colours, (std::vector<Colour>{a, b, c, d, e, e, d, c, b, a, a, e, e, 0}));
}

TEST_F(RaceLoaderTest, FilesAreTakenInNameOrderAndBadOnesAreSkipped) {
    for (const char* name : {"delta", "alpha", "charlie", "bravo"})
        WriteBytes(dir / (std::string(name) + ".race"), SimpleRace(name));
    WriteBytes(dir / "notes.txt", {'x'});
    WriteBytes(dir / "echo.race.bak", SimpleRace("echo"));
    WriteBytes(dir / "bad.race", SimpleRace("Bad", 0));
    ASSERT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(RaceNames(), (std::vector<std::string>{"delta", "charlie", "bravo", "alpha"}));
    ASSERT_EQ(platform.messages.size(), 9u);  // two missing pictures per race, and the refusal
    EXPECT_EQ(platform.messages[2], "The race file \"bad.race\" was not loaded: the race has no ship model.");
    EXPECT_EQ(platform.exitCode, -1);
}

TEST_F(RaceLoaderTest, RefusedRacesGiveTheirReason) {
    auto withModel = [](const std::string& name) {  // weapon 2's damage bound is its least damage
        RaceBytes r;
        r.line("D").line("N").u16(1).u16(3).model(name, "p.bmp", 1, 2, 3, 0, 1);
        return r.weapon("W", 10, 7, 8, 1).weapon("Even", 10, 7, 7, 1).weapon("W", 10, 7, 8, 1).bytes();
    };
    RaceBytes least;  // the least a model and three weapons can take: 22 + 3 x 17 bytes
    least.line("", "\n").line("", "\n").u16(1).u16(3).model("", "", 0, 0, 0, 0, 0, "\n");
    for (int i = 0; i < 3; ++i) least.weapon("", 0, 0, 1, 0, "\n");
    auto cut = [](std::vector<std::uint8_t> b, std::size_t n) { return b.resize(b.size() - n), b; };
    const std::string early = "the file ends before ", needs = ", it needs at least three";
    const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
        {{}, early + "its ship model and weapon counts"},
        {cut(RaceBytes().line("D").line("N").u16(1).u16(3).bytes(), 1), early + "its ship model and weapon counts"},
        {RaceBytes().line("D").line("N").u16(0xFFFF).u16(0xFFFF).bytes(),
         early + "the 65535 ship models and 65535 weapons it announces"},
        {cut(least.bytes(), 1), early + "the 1 ship model and 3 weapons it announces"},
        {least.bytes(), ""},
        {cut(withModel(std::string(100, 'x')), 63), "the file ends inside ship model 1"},
        {cut(SimpleRace("Cut"), 2), "the file ends inside weapon 3"},
        {SimpleRace("NoModel", 0, 3), "the race has no ship model"},
        {SimpleRace("Two", 2, 2), "the race has 2 weapons" + needs},
        {SimpleRace("One", 2, 1), "the race has 1 weapon" + needs},
        {withModel("M"), "weapon 2 \"Even\" has a damage bound (7) that is not above its least damage (7)"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        TempDir folder;
        WriteBytes(folder / "bad.race", bytes);
        platform.messages.clear();
        ASSERT_TRUE(LoadRaces(folder.path()));
        EXPECT_EQ(CountOf(g_races), reason.empty());
        const std::string shown = "The race file \"bad.race\" was not loaded: " + reason + ".";
        EXPECT_EQ(platform.messages.front(), reason.empty() ? "Unable to open bitmap file - !" : shown);
        ResetGlobals();
    }
    const std::vector<std::uint8_t> whole = SimpleRace("Cut", 2, 3);
    RaceFile f;
    std::string why;
    for (std::size_t n = 0; n < whole.size(); ++n)  // cut anywhere, refused
        EXPECT_FALSE(ParseRaceFile(std::vector(whole.begin(), whole.begin() + static_cast<long>(n)), f, why)) << n;
    // What the layout cannot carry, which the authoring commands might give.
    ASSERT_TRUE(ParseRaceFile(whole, f, why)) << why;
    EXPECT_EQ(ValidateRaceFile(f), "");
    const std::pair<void (*)(RaceFile&), std::string> bad[] = {
        {[](RaceFile& r) { r.name = "a\nb"; }, "the race name holds a line-end character"},
        {[](RaceFile& r) { r.models[1].pictureFileEnd = "\r"; },
         "ship model 2's picture file has a line end that is neither LF nor CR LF"},
        {[](RaceFile& r) { r.models.resize(0x10000); }, "the race has more than 65535 ship models"},
    };
    for (const auto& [change, reason] : bad) {
        RaceFile r = f;
        change(r);
        EXPECT_EQ(ValidateRaceFile(r), reason);
    }
}

// A race file that cannot be read (a dangling link, a folder) ends the program.
TEST_F(RaceLoaderTest, AnUnreadableRaceFileEndsTheProgram) {
    for (bool link : {true, false}) {
        TempDir folder;
        WriteBytes(folder / "a.race", SimpleRace("A"));
        link ? std::filesystem::create_symlink(folder / "gone", folder / "b.race")
             : void(std::filesystem::create_directory(folder / "b.race"));
        WriteBytes(folder / "c.race", SimpleRace("C"));
        platform.exitCode = -1;
        EXPECT_FALSE(LoadRaces(folder.path()));
        EXPECT_EQ(std::tuple(platform.messages.back(), platform.exitCode, RaceNames()),
                  std::tuple("Unable to open data file!", 1, std::vector<std::string>{"A"}));
        ResetGlobals();
    }
}

// Only the top-left 30 x 30 of a picture counts, and at most 700 pixels.
TEST(PixelList, TheTopLeft30x30AtMost700Pixels) {
    ShipModel m;
    m.picture = Picture{40, 35, std::vector<Colour>(40 * 35, 0)};
    for (auto [x, y] : {std::pair(29, 0), std::pair(0, 29), std::pair(30, 3), std::pair(2, 30)})
        m.picture.pixels[y * 40 + x] = 0x010101 + x;
    m.pixels[5] = Pixel{9, 9, 9};  // stale entries are cleared
    BuildPixelList(m);
    EXPECT_EQ(std::tuple(m.pixels[0].x, m.pixels[0].y, m.pixels[1].x, m.pixels[1].y), std::tuple(29, 0, 0, 29));
    for (int i = 2; i < kPixelListSize; ++i) ASSERT_EQ(m.pixels[i].colour, 0u) << i;
    std::fill(m.picture.pixels.begin(), m.picture.pixels.end(), 0x2020FF);  // 900 lit pixels in the box
    BuildPixelList(m);
    const Pixel& last = m.pixels[kPixelListSize - 1];  // (9, 23): 23 full rows of 30 and 10 more
    EXPECT_EQ(std::tuple(last.x, last.y, last.colour), std::tuple(9, 23, 0x2020FFu));
}

TEST(DataFolder, CommandLineThenCurrentFolderThenInstalledData) {
    TempDir here, installed;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(here.path());
    ::setenv("QUORVANE_DATA_DIR", installed.path().c_str(), 1);
    EXPECT_EQ(ResolveDataDir("/some/where"), std::filesystem::path("/some/where"));
    EXPECT_EQ(ResolveDataDir(), installed.path());  // no race file here
    WriteBytes(here / "x.race", SimpleRace("X"));
    EXPECT_EQ(ResolveDataDir(), std::filesystem::path("."));
    ::unsetenv("QUORVANE_DATA_DIR");
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace qv
