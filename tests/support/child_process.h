// Runs a program as a child process and collects what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv::testsupport {

struct ChildResult {
    int exitCode = -1;  // -1 when the child did not end by itself
    std::string out;
    std::string err;
};

struct ChildOptions {
    std::filesystem::path cwd;            // the test's own folder when empty
    std::vector<std::string> dropEnv;     // names left out of the child's environment
};

// Runs program with args, standard input from /dev/null, and waits for it.
// Throws std::runtime_error when the program cannot be started.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     const ChildOptions& options = {});

}  // namespace qv::testsupport
