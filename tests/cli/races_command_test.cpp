// quorvane-cli races on hand-made data folders: which folder it reads, the
// races it leaves out, and the exit codes when nothing can be listed.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A race the game loads: two models and three weapons.
std::string GoodRace(const std::string& name) {
    RaceBytes r;
    r.line("Made for the tests").line(name).u16(2).u16(3);
    r.model("Hauler", "hauler.bmp", 100, 120, 90, 2, 500);
    r.model("Raider", "raider.bmp", 200, 90, 120, 0, 700);
    r.weapon("Gun", 100, 10, 30, 300).weapon("Cannon", 80, 40, 70, 800).weapon("Beam", 200, 20, 35, 1200);
    return r.bytes();
}

TEST(RacesCommand, ListsOnlyTheRacesTheGameAcceptsAndNamesTheOthers) {
    ScratchDir dir;
    WriteBytes(dir / "a_good.race", GoodRace("Good Folk"));
    RaceBytes two;  // two weapons only
    two.line("d").line("Two Guns").u16(1).u16(2).model("M", "m.bmp", 1, 1, 1, 1, 1);
    two.weapon("A", 1, 1, 2, 1).weapon("B", 1, 1, 2, 1);
    WriteBytes(dir / "b_two_weapons.race", two.bytes());
    const std::string good = GoodRace("Cut Short");
    WriteBytes(dir / "c_truncated.race", good.substr(0, good.size() - 3));
    RaceBytes flat;  // a weapon whose damage never varies
    flat.line("d").line("Flat").u16(1).u16(3).model("M", "m.bmp", 1, 1, 1, 1, 1);
    flat.weapon("A", 1, 1, 2, 1).weapon("B", 1, 5, 5, 1).weapon("C", 1, 1, 2, 1);
    WriteBytes(dir / "d_flat_damage.race", flat.bytes());
    WriteBytes(dir / "notes.txt", "not a race");

    const RunResult r = RunCli({"races", "--data", dir.path().string(), "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const Json races = ParseJson(r.out);
    ASSERT_EQ(races.size(), 1u);
    EXPECT_EQ(races[0]["file"].string, "a_good.race");
    EXPECT_EQ(races[0]["name"].string, "Good Folk");

    for (const char* refused : {"b_two_weapons.race", "c_truncated.race", "d_flat_damage.race"})
        EXPECT_NE(r.err.find(refused), std::string::npos) << refused << " in:\n" << r.err;
    EXPECT_EQ(r.err.find("a_good.race"), std::string::npos);
}

TEST(RacesCommand, PlainListingShowsEachRaceWithItsModelsAndWeaponsInListOrder) {
    ScratchDir dir;
    WriteBytes(dir / "first.race", GoodRace("First Folk"));
    WriteBytes(dir / "second.race", GoodRace("Second Folk"));
    const RunResult r = RunCli({"races", "--data", dir.path().string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The last file name heads the list, and inside a race the last model
    // and weapon of the file come first.
    const std::size_t second = r.out.find("Second Folk  (second.race)");
    const std::size_t first = r.out.find("First Folk  (first.race)");
    ASSERT_NE(second, std::string::npos) << r.out;
    ASSERT_NE(first, std::string::npos) << r.out;
    EXPECT_LT(second, first);
    const std::string block = r.out.substr(first);
    EXPECT_LT(block.find("Raider"), block.find("Hauler"));
    EXPECT_LT(block.find("Beam"), block.find("Cannon"));
    EXPECT_LT(block.find("Cannon"), block.find("Gun"));
    EXPECT_NE(block.find("Made for the tests"), std::string::npos);
    // A row holds every number of its model or weapon (no pictures here, so
    // no pixels).
    bool hauler = false, beam = false;
    for (const std::string& line : Lines(block)) {
        const std::vector<std::string> words = Words(line);
        if (!words.empty() && words[0] == "Hauler") {
            hauler = true;
            EXPECT_EQ(words, (std::vector<std::string>{"Hauler", "100", "120", "90", "2", "500", "hauler.bmp", "0"}));
        }
        if (!words.empty() && words[0] == "Beam") {
            beam = true;
            EXPECT_EQ(words, (std::vector<std::string>{"Beam", "200", "20-35", "1200"}));
        }
    }
    EXPECT_TRUE(hauler && beam) << block;
}

TEST(RacesCommand, ReadsTheCurrentFolderWhenItHoldsARaceFile) {
    ScratchDir dir;
    WriteBytes(dir / "zeta.race", GoodRace("Zeta Folk"));
    const RunResult r = RunCli({"races", "--json"}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json races = ParseJson(r.out);
    ASSERT_EQ(races.size(), 1u);
    EXPECT_EQ(races[0]["name"].string, "Zeta Folk");
}

TEST(RacesCommand, ExitsWithOneWhenThereIsNothingToList) {
    ScratchDir empty;
    ScratchDir refusedOnly;
    WriteBytes(refusedOnly / "broken.race", "too short");
    const std::string missing = (empty / "no-such-folder").string();

    for (bool json : {false, true}) {
        for (const std::string& folder : {empty.path().string(), refusedOnly.path().string(), missing}) {
            SCOPED_TRACE(folder + (json ? " --json" : ""));
            std::vector<std::string> args = {"races", "--data", folder};
            if (json) args.push_back("--json");
            const RunResult r = RunCli(args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out, "");
            const std::vector<std::string> lines = Lines(r.err);
            ASSERT_FALSE(lines.empty());
            // One line of its own, after the loader's message about broken.race.
            EXPECT_EQ(lines.size(), folder == refusedOnly.path().string() ? 2u : 1u) << r.err;
            EXPECT_NE(lines.back().find(folder == missing ? "no such folder" : "no race found"), std::string::npos)
                << r.err;
        }
    }
}

TEST(RacesCommand, AnUnreadableRaceFileEndsTheToolWithTheLoadersMessage) {
    ScratchDir dir;
    fs::create_symlink(dir / "gone.txt", dir / "a.race");  // listed, but cannot be opened
    WriteBytes(dir / "b.race", GoodRace("Fine"));
    const RunResult r = RunCli({"races", "--data", dir.path().string(), "--json"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Unable to open data file!\n");
}

}  // namespace
}  // namespace qv::clitest
