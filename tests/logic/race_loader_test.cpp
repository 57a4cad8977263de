// Reading race files into races: the byte layout, the order of files, models
// and weapons, refused races, and ship pictures turned into pixel lists.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/race_file.h"
#include "model/races.h"
#include "race_test_files.h"

namespace qv {
namespace {

using testing::BlankPicture;
using testing::Bitmap24;
using testing::RaceBytes;
using testing::Set;
using testing::SimpleRace;
using testing::TempDir;
using testing::WriteBytes;

class RaceLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    // The messages about race files (pictures aside).
    std::vector<std::string> RaceMessages() const {
        std::vector<std::string> out;
        for (const std::string& m : platform.messages)
            if (m.rfind("Unable to open bitmap file", 0) != 0) out.push_back(m);
        return out;
    }

    std::vector<std::string> RaceNames() const {
        std::vector<std::string> names;
        for (Race* r = g_races; r; r = r->next) names.push_back(r->name);
        return names;
    }

    HeadlessPlatform platform;
    TempDir dir;
};

TEST_F(RaceLoaderTest, ReadsTheLayoutAndReversesModelsAndWeapons) {
    // One model (speed 120, defence 150, survey 100, hold 3, cost 1000) and
    // three weapons, every line ending in CR LF.
    RaceBytes r;
    r.line("Traders of the rim").line("Rimfolk").u16(1).u16(3);
    r.model("Barge", "barge.bmp", 120, 150, 100, 3, 1000);
    r.weapon("Laser", 100, 10, 30, 500).weapon("Cannon", 150, 20, 60, 900);
    r.weapon("Ray", 200, 40, 90, 1500);
    const std::vector<std::uint8_t>& b = r.bytes();
    // The numbers sit right after the text lines, little-endian.
    const std::vector<std::uint8_t> counts = {0x01, 0x00, 0x03, 0x00};
    const std::size_t countsAt = std::string("Traders of the rim\r\nRimfolk\r\n").size();
    EXPECT_TRUE(std::equal(counts.begin(), counts.end(), b.begin() + countsAt));
    const std::vector<std::uint8_t> speed = {0x78, 0x00, 0x00, 0x00, 0x96, 0x00, 0x00, 0x00};
    const std::size_t speedAt = countsAt + 4 + std::string("Barge\r\nbarge.bmp\r\n").size();
    EXPECT_TRUE(std::equal(speed.begin(), speed.end(), b.begin() + speedAt));
    WriteBytes(dir / "rim.race", b);

    ASSERT_TRUE(LoadRaces(dir.path()));
    ASSERT_NE(g_races, nullptr);
    Race& race = *g_races;
    EXPECT_EQ(race.name, "Rimfolk");  // the second line
    EXPECT_EQ(race.description, "Traders of the rim");
    EXPECT_EQ(race.fileName, "rim.race");
    EXPECT_EQ(race.shipModelCount, 1);
    EXPECT_EQ(race.weaponCount, 3);
    ASSERT_NE(race.shipModels, nullptr);
    const ShipModel& m = *race.shipModels;
    EXPECT_EQ(m.name, "Barge");
    EXPECT_EQ(m.pictureFile, "barge.bmp");
    EXPECT_EQ(m.speed, 120);
    EXPECT_EQ(m.defence, 150);
    EXPECT_EQ(m.survey, 100);
    EXPECT_EQ(m.hold, 3);
    EXPECT_EQ(m.cost, 1000);
    // The first weapon of the file ends up last: race weapon 1 is "Ray".
    ASSERT_EQ(CountOf(race.weapons), 3);
    EXPECT_EQ(RecordAt(race.weapons, 1)->name, "Ray");
    EXPECT_EQ(RecordAt(race.weapons, 2)->name, "Cannon");
    const Weapon& last = *RecordAt(race.weapons, 3);
    EXPECT_EQ(last.name, "Laser");
    EXPECT_EQ(last.range, 100);
    EXPECT_EQ(last.minDamage, 10);
    EXPECT_EQ(last.maxDamage, 30);
    EXPECT_EQ(last.cost, 500);
}

TEST_F(RaceLoaderTest, ModelsComeInReverseFileOrder) {
    WriteBytes(dir / "a.race", SimpleRace("A", 4, 5));
    ASSERT_TRUE(LoadRaces(dir.path()));
    ASSERT_NE(g_races, nullptr);
    std::vector<std::string> models, weapons;
    for (ShipModel* m = g_races->shipModels; m; m = m->next) models.push_back(m->name);
    for (Weapon* w = g_races->weapons; w; w = w->next) weapons.push_back(w->name);
    EXPECT_EQ(models, (std::vector<std::string>{"M4", "M3", "M2", "M1"}));
    EXPECT_EQ(weapons, (std::vector<std::string>{"W5", "W4", "W3", "W2", "W1"}));
    EXPECT_EQ(RecordAt(g_races->shipModels, 4)->speed, 101);
}

TEST_F(RaceLoaderTest, FilesAreTakenInNameOrderWhateverTheFolderOrder) {
    // Created out of order; the last name in sorted order becomes the head.
    for (const char* name : {"delta", "alpha", "charlie", "bravo"})
        WriteBytes(dir / (std::string(name) + ".race"), SimpleRace(name));
    WriteBytes(dir / "notes.txt", {'x'});
    WriteBytes(dir / "echo.race.bak", SimpleRace("echo"));
    ASSERT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(RaceNames(), (std::vector<std::string>{"delta", "charlie", "bravo", "alpha"}));
    EXPECT_TRUE(RaceMessages().empty());
}

TEST_F(RaceLoaderTest, LineEndsLfAndCrLfReadTheSame) {
    RaceBytes lf, crlf, mixed;
    lf.line("D", "\n").line("N", "\n").u16(1).u16(3);
    crlf.line("D").line("N").u16(1).u16(3);
    mixed.line("D", "\n").line("N").u16(1).u16(3);
    lf.model("Ship", "p.bmp", 1, 2, 3, 4, 5, "\n");
    crlf.model("Ship", "p.bmp", 1, 2, 3, 4, 5);
    mixed.line("Ship").line("p.bmp", "\n").i32(1).i32(2).i32(3).i32(4).i32(5);
    for (RaceBytes* r : {&lf, &crlf, &mixed})
        for (int i = 0; i < 3; ++i) r->weapon("Gun", 10, 1, 2, 3, i == 1 ? "\n" : "\r\n");
    for (RaceBytes* r : {&lf, &crlf, &mixed}) {
        RaceFile f;
        std::string why;
        ASSERT_TRUE(ParseRaceFile(r->bytes(), f, why)) << why;
        EXPECT_EQ(f.description, "D");
        EXPECT_EQ(f.name, "N");
        ASSERT_EQ(f.models.size(), 1u);
        EXPECT_EQ(f.models[0].name, "Ship");
        EXPECT_EQ(f.models[0].pictureFile, "p.bmp");
        EXPECT_EQ(f.models[0].cost, 5);
        ASSERT_EQ(f.weapons.size(), 3u);
        EXPECT_EQ(f.weapons[1].name, "Gun");
        EXPECT_TRUE(f.trailing.empty());
        // Written back, the same bytes.
        EXPECT_EQ(SerializeRaceFile(f), r->bytes());
    }
}

TEST_F(RaceLoaderTest, ACarriageReturnConsumesExactlyOneMoreByte) {
    // "Name\rX" reads as "Name" and swallows the X.
    RaceBytes r;
    r.line("D").line("Name", "\rX").u16(1).u16(3);
    r.model("Ship", "p.bmp", 7, 8, 9, 0, 10);
    for (int i = 0; i < 3; ++i) r.weapon("Gun", 10, 1, 2, 3);
    RaceFile f;
    std::string why;
    ASSERT_TRUE(ParseRaceFile(r.bytes(), f, why)) << why;
    EXPECT_EQ(f.name, "Name");
    EXPECT_EQ(f.nameEnd, "\rX");
    EXPECT_EQ(f.models[0].speed, 7);
    EXPECT_EQ(SerializeRaceFile(f), r.bytes());
}

TEST_F(RaceLoaderTest, AFileThatEndsEarlyIsRefusedAtEveryLength) {
    const std::vector<std::uint8_t> whole = SimpleRace("Cut", 2, 3);
    RaceFile f;
    std::string why;
    ASSERT_TRUE(ParseRaceFile(whole, f, why));
    for (std::size_t n = 0; n < whole.size(); ++n) {
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(n));
        EXPECT_FALSE(ParseRaceFile(part, f, why)) << "length " << n;
        EXPECT_FALSE(why.empty());
    }
}

TEST_F(RaceLoaderTest, CountsTheFileCannotHoldAreRefusedBeforeReading) {
    RaceBytes r;
    r.line("D").line("Greedy").u16(0xFFFF).u16(0xFFFF);
    WriteBytes(dir / "greedy.race", r.bytes());
    WriteBytes(dir / "good.race", SimpleRace("Good"));
    ASSERT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(RaceNames(), (std::vector<std::string>{"Good"}));
    ASSERT_EQ(RaceMessages().size(), 1u);
    EXPECT_NE(RaceMessages()[0].find("greedy.race"), std::string::npos);
    EXPECT_NE(RaceMessages()[0].find("65535 ship models"), std::string::npos);
}

TEST_F(RaceLoaderTest, BadRacesAreRefusedWithTheReasonAndTheOthersLoad) {
    WriteBytes(dir / "a_good.race", SimpleRace("First"));
    WriteBytes(dir / "b_nomodel.race", SimpleRace("NoModel", 0, 3));
    WriteBytes(dir / "c_twoweapons.race", SimpleRace("TwoWeapons", 2, 2));
    RaceBytes flat;
    flat.line("D").line("Flat").u16(1).u16(3).model("S", "p.bmp", 1, 1, 1, 0, 1);
    flat.weapon("Ok", 10, 5, 9, 1).weapon("Even", 10, 7, 7, 1).weapon("Ok2", 10, 1, 2, 1);
    WriteBytes(dir / "d_flat.race", flat.bytes());
    std::vector<std::uint8_t> cut = SimpleRace("Cut");
    cut.resize(cut.size() - 2);
    WriteBytes(dir / "e_cut.race", cut);
    WriteBytes(dir / "f_good.race", SimpleRace("Last"));

    ASSERT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(RaceNames(), (std::vector<std::string>{"Last", "First"}));
    ASSERT_EQ(RaceMessages().size(), 4u);
    const char* expected[][2] = {{"b_nomodel.race", "no ship model"},
                                 {"c_twoweapons.race", "2 weapons"},
                                 {"d_flat.race", "\"Even\""},
                                 {"e_cut.race", "ends inside weapon 3"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NE(RaceMessages()[i].find(expected[i][0]), std::string::npos) << RaceMessages()[i];
        EXPECT_NE(RaceMessages()[i].find(expected[i][1]), std::string::npos) << RaceMessages()[i];
    }
    EXPECT_EQ(platform.exitCode, -1);
}

TEST_F(RaceLoaderTest, NoRaceFilesLeavesTheRaceListEmpty) {
    EXPECT_TRUE(LoadRaces(dir.path()));
    EXPECT_EQ(g_races, nullptr);
    EXPECT_TRUE(RaceMessages().empty());
}

TEST_F(RaceLoaderTest, AnUnopenableRaceFileEndsTheProgram) {
    WriteBytes(dir / "a.race", SimpleRace("A"));
    std::filesystem::create_symlink(dir / "missing-target", dir / "b.race");
    WriteBytes(dir / "c.race", SimpleRace("C"));
    EXPECT_FALSE(LoadRaces(dir.path()));
    ASSERT_EQ(RaceMessages().size(), 1u);
    EXPECT_EQ(RaceMessages()[0], "Unable to open data file!");
    EXPECT_EQ(platform.exitCode, 1);
}

TEST_F(RaceLoaderTest, AFolderNamedLikeARaceFileCannotBeOpenedEither) {
    std::filesystem::create_directory(dir / "folder.race");
    EXPECT_FALSE(LoadRaces(dir.path()));
    EXPECT_EQ(RaceMessages(), (std::vector<std::string>{"Unable to open data file!"}));
    EXPECT_EQ(platform.exitCode, 1);
}

TEST_F(RaceLoaderTest, AMissingPictureLeavesTheModelWithoutPixels) {
    WriteBytes(dir / "a.race", SimpleRace("A", 1, 3, "ghost.bmp"));
    ASSERT_TRUE(LoadRaces(dir.path()));
    ASSERT_NE(g_races, nullptr);
    EXPECT_EQ(platform.messages,
              (std::vector<std::string>{"Unable to open bitmap file - ghost.bmp!"}));
    EXPECT_TRUE(g_races->shipModels->picture.empty());
    EXPECT_EQ(g_races->shipModels->pixels[0].colour, 0u);
}

TEST_F(RaceLoaderTest, PicturesAreReadFromTheRaceFolder) {
    Picture pic = BlankPicture(30, 30);
    Set(pic, 3, 0, 0xFFFFFF);
    Set(pic, 0, 1, 0x0000FF);
    Set(pic, 29, 29, 0x123456);
    WriteBytes(dir / "ship.bmp", Bitmap24(pic));
    WriteBytes(dir / "a.race", SimpleRace("A", 1, 3, "ship.bmp"));
    ASSERT_TRUE(LoadRaces(dir.path()));
    ASSERT_NE(g_races, nullptr);
    EXPECT_TRUE(platform.messages.empty());
    const ShipModel& m = *g_races->shipModels;
    EXPECT_EQ(m.picture.width, 30);
    const Pixel* p = m.pixels;
    EXPECT_EQ(p[0].x, 3);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_EQ(p[0].colour, 0xFFFFFFu);
    EXPECT_EQ(p[1].x, 0);
    EXPECT_EQ(p[1].y, 1);
    EXPECT_EQ(p[1].colour, 0x0000FFu);
    EXPECT_EQ(p[2].x, 29);
    EXPECT_EQ(p[2].y, 29);
    EXPECT_EQ(p[2].colour, 0x123456u);
    EXPECT_EQ(p[3].colour, 0u);
    EXPECT_EQ(DataDir(), dir.path());
}

TEST(PixelList, KeepsNonBlackPixelsOfTheTopLeft30x30InRowOrder) {
    ShipModel m;
    m.picture = BlankPicture(40, 35);
    Set(m.picture, 5, 2, 0x010101);
    Set(m.picture, 1, 7, 0x00FF00);
    Set(m.picture, 29, 29, 0xFFFFFF);
    Set(m.picture, 30, 3, 0x00FFFF);   // outside the 30 x 30 box
    Set(m.picture, 2, 30, 0x00FFFF);   // outside too
    m.pixels[5] = Pixel{9, 9, 9};      // stale entries are cleared
    BuildPixelList(m);
    EXPECT_EQ(m.pixels[0].x, 5);
    EXPECT_EQ(m.pixels[0].y, 2);
    EXPECT_EQ(m.pixels[1].x, 1);
    EXPECT_EQ(m.pixels[1].y, 7);
    EXPECT_EQ(m.pixels[2].x, 29);
    EXPECT_EQ(m.pixels[2].colour, 0xFFFFFFu);
    for (int i = 3; i < kPixelListSize; ++i) ASSERT_EQ(m.pixels[i].colour, 0u) << i;
}

TEST(PixelList, AllBlackIsEmptyAndSmallPicturesGiveWhatTheyHave) {
    ShipModel black;
    black.picture = BlankPicture(30, 30);
    BuildPixelList(black);
    EXPECT_EQ(black.pixels[0].colour, 0u);

    ShipModel small;
    small.picture = BlankPicture(4, 3);
    for (Colour& c : small.picture.pixels) c = 0x808080;
    BuildPixelList(small);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(small.pixels[i].x, i % 4);
        EXPECT_EQ(small.pixels[i].y, i / 4);
    }
    EXPECT_EQ(small.pixels[12].colour, 0u);

    ShipModel none;  // no picture at all
    BuildPixelList(none);
    EXPECT_EQ(none.pixels[0].colour, 0u);
}

TEST(PixelList, AtMost700PixelsAreKept) {
    ShipModel m;
    m.picture = BlankPicture(30, 30);
    for (Colour& c : m.picture.pixels) c = 0x2020FF;  // 900 lit pixels
    BuildPixelList(m);
    // The 700th pixel is (9, 23): 23 full rows of 30 and 10 more.
    EXPECT_EQ(m.pixels[kPixelListSize - 1].x, 9);
    EXPECT_EQ(m.pixels[kPixelListSize - 1].y, 23);
    EXPECT_EQ(m.pixels[kPixelListSize - 1].colour, 0x2020FFu);
}

TEST(DataFolder, CommandLineThenCurrentFolderThenInstalledData) {
    TempDir here, installed;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(here.path());
    ::setenv("QUORVANE_DATA_DIR", installed.path().c_str(), 1);

    EXPECT_EQ(ResolveDataDir("/some/where"), std::filesystem::path("/some/where"));
    // No race file here: the installed data folder.
    EXPECT_EQ(ResolveDataDir(), installed.path());
    WriteBytes(here / "x.race", SimpleRace("X"));
    EXPECT_EQ(ResolveDataDir(), std::filesystem::path("."));

    ::unsetenv("QUORVANE_DATA_DIR");
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace qv
