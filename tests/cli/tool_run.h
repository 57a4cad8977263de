// Runs quorvane-cli as a user would: in a folder, without QUORVANE_DATA_DIR (it finds its data through
// --data or beside itself), with what it printed and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/temp_folder.h"

namespace qv {

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// env is put before the tool ("NAME=value ...").
inline ToolRun RunTool(const std::vector<std::string>& args, const std::string& env = "",
                       const std::filesystem::path& cwd = std::filesystem::current_path()) {
    testsupport::TempFolder io;
    std::string command = "cd '" + cwd.string() + "' && exec env -u QUORVANE_DATA_DIR " + env + " '" QUORVANE_CLI "'";
    for (const std::string& a : args) command += " '" + a + "'";
    FILE* pipe = popen((command + " </dev/null 2>'" + (io / "err").string() + "'").c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    std::ifstream err(io / "err", std::ios::binary);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            out,
            {std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>()}};
}

}  // namespace qv
