// Feeds arbitrary bytes to the race file reader. Whatever it accepts must be
// written back byte for byte, and a race that passes the checks must build
// into records (without pictures) and free cleanly.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/platform.h"
#include "model/race_file.h"
#include "model/races.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qv::HeadlessPlatform quiet;
    qv::SetPlatform(&quiet);
    quiet.messages.clear();

    qv::RaceFile file;
    std::string why;
    if (!qv::ParseRaceFile(data, size, file, why)) return 0;
    const std::vector<std::uint8_t> again = qv::SerializeRaceFile(file);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    if (!qv::ValidateRaceFile(file).empty()) return 0;
    // Picture names point nowhere useful: a folder that does not exist.
    qv::Race* race = qv::BuildRace(file, "/nonexistent-quorvane-fuzz");
    if (race->shipModelCount != static_cast<std::int32_t>(file.models.size())) std::abort();
    qv::FreeRace(race);
    return 0;
}
