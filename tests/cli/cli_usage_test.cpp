// quorvane-cli as scripts see it: help texts, and exit code 2 with a hint to
// the help (and nothing on standard output) for every kind of wrong usage.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace qv::clitest {
namespace {

TEST(CliHelp, GeneralHelpListsEveryCommandWithExamples) {
    for (const char* flag : {"--help", "-h"}) {
        SCOPED_TRACE(flag);
        const RunResult r = RunCli({flag});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        for (const char* command : {"races", "race build", "race show"})
            EXPECT_NE(r.out.find("\n  " + std::string(command) + " "), std::string::npos) << command;
        const std::size_t examples = r.out.find("Examples:");
        ASSERT_NE(examples, std::string::npos);
        EXPECT_NE(r.out.find("quorvane-cli race build ", examples), std::string::npos);
        EXPECT_NE(r.out.find("quorvane-cli race show ", examples), std::string::npos);
        EXPECT_NE(r.out.find("quorvane-cli races", examples), std::string::npos);
    }
}

TEST(CliHelp, EachCommandHasItsOwnHelp) {
    struct Case {
        std::vector<std::string> args;
        std::string usage;
        std::vector<std::string> options;
    };
    const std::vector<Case> cases = {
        {{"races", "--help"}, "Usage: quorvane-cli races", {"--data <DIR>", "--json"}},
        {{"race", "build", "--help"}, "Usage: quorvane-cli race build SRC.json -o NAME.race", {"-o, --output"}},
        {{"race", "show", "-h"}, "Usage: quorvane-cli race show NAME.race", {"--json"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.usage);
        const RunResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind(c.usage, 0), 0u) << r.out;
        for (const std::string& option : c.options) EXPECT_NE(r.out.find(option), std::string::npos) << option;
        EXPECT_NE(r.out.find("Examples:"), std::string::npos);
    }
    // The group word alone with --help lists its commands.
    const RunResult group = RunCli({"race", "--help"});
    EXPECT_EQ(group.exitCode, 0);
    EXPECT_NE(group.out.find("race build"), std::string::npos);
    EXPECT_NE(group.out.find("race show"), std::string::npos);
}

TEST(CliUsage, WrongUsageExitsWithTwoAndPointsToTheHelp) {
    struct Case {
        std::vector<std::string> args;
        std::string reason;  // part of the first line of standard error
        std::string hint;    // the help the last line points to
    };
    const std::vector<Case> cases = {
        {{}, "missing command", "quorvane-cli --help"},
        {{"conquer"}, "unknown command 'conquer'", "quorvane-cli --help"},
        {{"--json"}, "unknown option '--json'", "quorvane-cli --help"},
        {{"race"}, "race: missing command", "quorvane-cli race --help"},
        {{"race", "paint", "x.race"}, "race: unknown command 'paint'", "quorvane-cli race --help"},
        {{"races", "--colour"}, "Unknown option 'colour'", "quorvane-cli races --help"},
        {{"races", "extra"}, "unexpected argument 'extra'", "quorvane-cli races --help"},
        {{"races", "--data"}, "Missing value after '--data'", "quorvane-cli races --help"},
        {{"race", "build", "src.json"}, "missing option -o NAME.race", "quorvane-cli race build --help"},
        {{"race", "build", "-o", "out.race"}, "missing argument SRC.json", "quorvane-cli race build --help"},
        {{"race", "build", "a.json", "b.json", "-o", "out.race"}, "unexpected argument 'b.json'",
         "quorvane-cli race build --help"},
        {{"race", "show"}, "missing argument NAME.race", "quorvane-cli race show --help"},
        {{"race", "show", "x.race", "--yaml"}, "Unknown option 'yaml'", "quorvane-cli race show --help"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += " " + a;
        SCOPED_TRACE("quorvane-cli" + joined);
        const RunResult r = RunCli(c.args, dir.path());
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = Lines(r.err);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_NE(lines.back().find("'" + c.hint + "'"), std::string::npos) << r.err;
    }
    // Nothing was written by the refused build commands.
    EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace qv::clitest
