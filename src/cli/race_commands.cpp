// quorvane-cli race build / race show: race files and their JSON sources.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "cli/plain_text.h"
#include "cli/race_json.h"
#include "model/race_file.h"

namespace qv::cli {

namespace {

std::string EndName(const std::string& end) {
    if (end == "\r\n") return "CR LF";
    if (end == "\n") return "LF";
    char buf[32];
    std::snprintf(buf, sizeof buf, "CR + 0x%02X", static_cast<unsigned>(static_cast<unsigned char>(end.back())));
    return buf;
}

// "lines end in CR LF", or for mixed ends "lines end in LF (5), CR LF (2)",
// the most common first.
std::string LineEndSummary(const RaceFile& race) {
    std::map<std::string, int> count = CountLineEnds(race);
    if (count.size() == 1) return "lines end in " + EndName(count.begin()->first);
    std::vector<std::pair<std::string, int>> byCount(count.begin(), count.end());
    std::stable_sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string out = "lines end in ";
    for (std::size_t i = 0; i < byCount.size(); ++i)
        out += (i ? ", " : "") + EndName(byCount[i].first) + " (" + std::to_string(byCount[i].second) + ")";
    return out;
}

std::string ShowPlain(const RaceFile& race, const std::string& fileName, std::size_t size) {
    bool latin1 = !IsUtf8(race.description) || !IsUtf8(race.name);
    for (const RaceFileModel& m : race.models) latin1 = latin1 || !IsUtf8(m.name) || !IsUtf8(m.pictureFile);
    for (const RaceFileWeapon& w : race.weapons) latin1 = latin1 || !IsUtf8(w.name);

    std::string out = DisplayText(race.name) + "\n";
    out += "  File:        " + DisplayText(fileName) + " (" + std::to_string(size) + " bytes)\n";
    out += "  Description: " + DisplayText(race.description) + "\n";
    out += "  Text:        " + std::string(latin1 ? "Latin-1" : "UTF-8") + ", " + LineEndSummary(race) + "\n";
    if (!race.trailing.empty())
        out += "  Trailing:    " + std::to_string(race.trailing.size()) + " bytes after the last weapon\n";

    out += "  Ship models, in file order:\n";
    TextTable models({{"Name"}, {"Speed", true}, {"Defence", true}, {"Survey", true}, {"Hold", true},
                      {"Cost", true}, {"Picture"}});
    for (const RaceFileModel& m : race.models)
        models.addRow({DisplayText(m.name), std::to_string(m.speed), std::to_string(m.defence),
                       std::to_string(m.survey), std::to_string(m.hold), std::to_string(m.cost),
                       DisplayText(m.pictureFile)});
    out += models.render("    ");
    out += "  Weapons, in file order:\n";
    TextTable weapons({{"Name"}, {"Range", true}, {"Damage", true}, {"Cost", true}});
    for (const RaceFileWeapon& w : race.weapons)
        weapons.addRow({DisplayText(w.name), std::to_string(w.range),
                        std::to_string(w.minDamage) + "-" + std::to_string(w.maxDamage), std::to_string(w.cost)});
    out += weapons.render("    ");

    const std::string why = ValidateRaceFile(race);
    out += why.empty() ? "  The game loads this race.\n" : "  The game refuses this race: " + DisplayText(why) + ".\n";
    return out;
}

}  // namespace

int RunRaceBuild(const QCommandLineParser& args) {
    const QString source = args.positionalArguments().first();
    const std::vector<std::uint8_t> json = ReadFileBytes(source);
    RaceFile race;
    std::string why;
    if (!RaceFromJson(std::string_view(reinterpret_cast<const char*>(json.data()), json.size()), race, why))
        throw Failure(LocalPath(source) + ": " + why);
    why = ValidateRaceFile(race);
    if (!why.empty()) throw Failure(LocalPath(source) + ": the game would refuse this race: " + why);
    WriteFileAtomically(args.value("output"), SerializeRaceFile(race));
    return kExitOk;
}

int RunRaceShow(const QCommandLineParser& args) {
    const QString path = args.positionalArguments().first();
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    RaceFile race;
    std::string why;
    if (!ParseRaceFile(bytes, race, why)) throw Failure(LocalPath(path) + ": " + why);
    if (args.isSet("json")) {
        WriteOut(RaceToJson(race));
        why = ValidateRaceFile(race);
        if (!why.empty())
            std::fprintf(stderr, "%s race show: note: the game refuses this race: %s\n", kProgramName,
                         DisplayText(why).c_str());
    } else {
        WriteOut(ShowPlain(race, LocalPath(path), bytes.size()));
    }
    return kExitOk;
}

}  // namespace qv::cli
