// What the game commands leave on disk and print for a script to rely on:
// the same seed gives the same bytes, a file is written whole or not at all,
// and the pictures have the size they promise.
#include <gtest/gtest.h>

#include <cstdint>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

RunResult New(std::vector<std::string> args) {
    args.insert(args.begin(), {"new", "--data", kData});
    return RunCli(args);
}

RunResult Play(const fs::path& file, std::vector<std::string> args) {
    args.insert(args.begin(), {"play", file.string(), "--data", kData});
    return RunCli(args);
}

TEST(GameFiles, TheSameSeedGivesTheSameBytes) {
    ScratchDir dir;
    const auto made = [&](const std::string& seed, const std::string& name) {
        const RunResult r = New({"--seed", seed, "--size", "small", "--json", "-o", (dir / name).string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    };
    const std::string first = made("7", "a.zvq");
    EXPECT_EQ(made("7", "b.zvq"), first);
    EXPECT_EQ(ReadBytes(dir / "a.zvq"), ReadBytes(dir / "b.zvq"));
    EXPECT_NE(made("8", "c.zvq"), first);

    // Without a seed, the summary names the clock's seed, which gives the
    // same game again.
    const RunResult clock = New({"--size", "tiny"});
    ASSERT_EQ(clock.exitCode, 0) << clock.err;
    const std::string prefix = "New game from seed ";
    ASSERT_EQ(clock.out.rfind(prefix, 0), 0u) << clock.out;
    const std::string seed = clock.out.substr(prefix.size(), clock.out.find('\n') - prefix.size());
    EXPECT_EQ(New({"--size", "tiny", "--seed", seed}).out, clock.out);

    // play: the same file and seed play the same turns; the file played is
    // left alone.
    const auto play = [&](const std::string& seed, const std::string& name) {
        const RunResult r = Play(dir / "a.zvq", {"--turns", "20", "--seed", seed, "-o", (dir / name).string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("with seed " + seed), std::string::npos) << r.out;
        return r.out;
    };
    const std::string played = play("9", "p.zvq");
    EXPECT_EQ(play("9", "q.zvq"), played);
    EXPECT_EQ(ReadBytes(dir / "p.zvq"), ReadBytes(dir / "q.zvq"));
    play("10", "r.zvq");
    EXPECT_NE(ReadBytes(dir / "p.zvq"), ReadBytes(dir / "r.zvq"));
    EXPECT_EQ(ReadBytes(dir / "a.zvq"), ReadBytes(dir / "b.zvq"));
}

TEST(GameFiles, AFileIsReplacedOnlyByAWholeNewOne) {
    ScratchDir dir;
    const std::string g = (dir / "g.zvq").string();
    WriteBytes(g, "old game");
    fs::create_hard_link(g, dir / "old-link.zvq");
    // Refused runs leave the old file as it was.
    EXPECT_EQ(New({"--seed", "3", "--race", "Nobody", "-o", g}).exitCode, 1);
    EXPECT_EQ(New({"--seed", "3", "--size", "unknown", "-o", g}).exitCode, 2);
    EXPECT_EQ(Play(dir / "old-link.zvq", {"--turns", "1", "-o", g}).exitCode, 1);
    EXPECT_EQ(ReadBytes(g), "old game");
    // Onto a folder: refused, the folder left as it was.
    fs::create_directory(dir / "folder.zvq");
    EXPECT_EQ(New({"--seed", "3", "--size", "tiny", "-o", (dir / "folder.zvq").string()}).exitCode, 1);
    EXPECT_TRUE(fs::is_directory(dir / "folder.zvq"));
    fs::remove(dir / "folder.zvq");

    // A made game replaces the file as a new file: the old one's second name
    // still holds the old bytes, and no temporary file stays behind.
    const RunResult made = New({"--seed", "3", "--size", "tiny", "-o", g});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(made.out, "");  // with -o alone nothing is printed
    EXPECT_EQ(ReadBytes(dir / "old-link.zvq"), "old game");
    ASSERT_EQ(New({"--seed", "3", "--size", "tiny", "-o", (dir / "fresh.zvq").string()}).exitCode, 0);
    EXPECT_EQ(ReadBytes(g), ReadBytes(dir / "fresh.zvq"));

    // The same for a race file, and for a picture.
    WriteBytes(dir / "src.json", "{ \"name\": 1 }");
    WriteBytes(dir / "old.race", "old race");
    WriteBytes(dir / "old.png", "old picture");
    EXPECT_EQ(RunCli({"race", "build", (dir / "src.json").string(), "-o", (dir / "old.race").string()}).exitCode, 1);
    EXPECT_EQ(Play(dir / "old-link.zvq", {"--turns", "1", "--plot", (dir / "old.png").string()}).exitCode, 1);
    EXPECT_EQ(RunCli({"render", (dir / "old-link.zvq").string(), "-o", (dir / "old.png").string()}).exitCode, 1);
    EXPECT_EQ(ReadBytes(dir / "old.race"), "old race");
    EXPECT_EQ(ReadBytes(dir / "old.png"), "old picture");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"fresh.zvq", "g.zvq", "old-link.zvq", "old.png", "old.race", "src.json"}));
}

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return v;
}

TEST(GameFiles, PicturesArePngsOfTheirSize) {
    ScratchDir dir;
    const std::string g = (dir / "g.zvq").string();
    ASSERT_EQ(New({"--seed", "8", "--size", "tiny", "-o", g}).exitCode, 0);
    const RunResult table = Play(g, {"--turns", "4", "--seed", "3", "--autopilot"});
    struct Picture {
        std::vector<std::string> args;
        std::uint32_t width, height;
    };
    const std::vector<Picture> pictures = {
        {{"play", g, "--data", kData, "--turns", "4", "--seed", "3", "--autopilot", "--plot", "power.png"}, 470, 290},
        {{"play", g, "--data", kData, "--turns", "0", "--plot=power.png"}, 470, 290},
        {{"render", g, "--data", kData, "-o", "frame.png"}, 800, 600},
        {{"render", "--title", "--output", "frame.png"}, 800, 600},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.args[0] + " " + p.args[1] + " " + p.args.back());
        const RunResult r = RunCli(p.args, dir.path());
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "") << "no note of Qt's either";
        const std::string png = ReadBytes(dir / (p.args[0] == "play" ? "power.png" : "frame.png"));
        ASSERT_GE(png.size(), 33u);
        EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(png.substr(12, 4), "IHDR");
        EXPECT_EQ(BigEndianAt(png, 16), p.width);
        EXPECT_EQ(BigEndianAt(png, 20), p.height);
        EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
        if (p.args[0] == "play" && p.args[5] == "4") {
            EXPECT_EQ(r.out, table.out) << "the table beside the picture";
        }
    }
}

}  // namespace
}  // namespace qv::clitest
