// quorvane-cli play --plot: the Statistics graph written as a PNG picture of
// the dialog's size after the turns, the same for the same turns and other
// for others, beside the table, the JSON and the saved game without changing
// them; a long game still gives a picture; a picture that cannot be written,
// a game that cannot be read and a missing value are refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

const std::string kData = kDataOut.string();

RunResult Play(const fs::path& file, std::vector<std::string> args) {
    args.insert(args.begin(), {"play", file.string(), "--data", kData});
    return RunCli(args);
}

void MakeGame(const fs::path& file, const std::string& seed = "8") {
    const RunResult r = RunCli({"new", "--data", kData, "--seed", seed, "-o", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return v;
}

// The PNG signature, then the header chunk with the picture's size.
void ExpectPngOfDialogSize(const std::string& bytes) {
    ASSERT_GE(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndianAt(bytes, 16), 470u);
    EXPECT_EQ(BigEndianAt(bytes, 20), 290u);
    EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND");
}

TEST(PlayPlot, WritesThePictureAfterTheTurnsTheSameForTheSameTurns) {
    ScratchDir dir;
    MakeGame(dir / "g.zvq");
    const RunResult plain = Play(dir / "g.zvq", {"--turns", "4", "--seed", "3", "--autopilot"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;

    const RunResult plotted =
        Play(dir / "g.zvq", {"--turns", "4", "--seed", "3", "--autopilot", "--plot", (dir / "a.png").string()});
    ASSERT_EQ(plotted.exitCode, 0) << plotted.err;
    EXPECT_EQ(plotted.out, plain.out) << "the table is the same with the picture";
    EXPECT_EQ(plotted.err, "") << "no note of Qt's either";
    const std::string a = ReadBytes(dir / "a.png");
    ExpectPngOfDialogSize(a);

    // The same turns draw the same picture; more turns another one.
    ASSERT_EQ(Play(dir / "g.zvq", {"--turns", "4", "--seed", "3", "--autopilot", "--plot=" + (dir / "b.png").string()})
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(dir / "b.png"), a);
    ASSERT_EQ(Play(dir / "g.zvq", {"--turns", "9", "--seed", "3", "--autopilot", "--plot", (dir / "c.png").string()})
                  .exitCode,
              0);
    EXPECT_NE(ReadBytes(dir / "c.png"), a);
    // An existing picture is replaced.
    ASSERT_EQ(Play(dir / "g.zvq", {"--turns", "9", "--seed", "3", "--autopilot", "--plot", (dir / "a.png").string()})
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(dir / "a.png"), ReadBytes(dir / "c.png"));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.png", "b.png", "c.png", "g.zvq"})) << "no file left behind";
}

TEST(PlayPlot, GoesWithTheJsonAndTheSavedGameWithoutChangingThem) {
    ScratchDir dir;
    MakeGame(dir / "g.zvq");
    const RunResult alone = Play(dir / "g.zvq", {"--turns", "2", "--seed", "1", "--json", "-o", (dir / "a.zvq").string()});
    ASSERT_EQ(alone.exitCode, 0) << alone.err;
    const RunResult both = Play(dir / "g.zvq", {"--turns", "2", "--seed", "1", "--json", "-o",
                                                (dir / "b.zvq").string(), "--plot", (dir / "p.png").string()});
    ASSERT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(both.out, alone.out);
    EXPECT_EQ(ReadBytes(dir / "b.zvq"), ReadBytes(dir / "a.zvq"));
    ExpectPngOfDialogSize(ReadBytes(dir / "p.png"));
    // No turns: the graph of the game as it was opened.
    ASSERT_EQ(Play(dir / "g.zvq", {"--turns", "0", "--plot", (dir / "z.png").string()}).exitCode, 0);
    ExpectPngOfDialogSize(ReadBytes(dir / "z.png"));
}

TEST(PlayPlot, AGameLongerThanTheGraphIsWideStillGivesAPicture) {
    ScratchDir dir;
    MakeGame(dir / "g.zvq", "2");
    const RunResult r = Play(dir / "g.zvq", {"--turns", "430", "--seed", "6", "--plot", (dir / "long.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectPngOfDialogSize(ReadBytes(dir / "long.png"));
}

TEST(PlayPlot, WhatCannotBeDoneIsRefused) {
    ScratchDir dir;
    MakeGame(dir / "g.zvq");
    // A folder that does not exist: bad input, one line, nothing printed.
    const RunResult missing =
        Play(dir / "g.zvq", {"--turns", "1", "--seed", "1", "--plot", (dir / "none" / "p.png").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err.rfind("quorvane-cli play: ", 0), 0u) << missing.err;
    EXPECT_EQ(Lines(missing.err).size(), 1u) << missing.err;
    EXPECT_FALSE(fs::exists(dir / "none"));

    // A game that cannot be read draws nothing and leaves an old picture.
    WriteBytes(dir / "old.png", "old");
    WriteBytes(dir / "bad.zvq", "broken");
    const RunResult bad = Play(dir / "bad.zvq", {"--turns", "1", "--plot", (dir / "old.png").string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(ReadBytes(dir / "old.png"), "old");

    // --plot needs a value.
    const RunResult usage = Play(dir / "g.zvq", {"--turns", "1", "--plot"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.err.find("Try 'quorvane-cli play --help'."), std::string::npos) << usage.err;

    // The help tells of it.
    const RunResult help = RunCli({"play", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--plot <POWER.png>"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace qv::clitest
