// quorvane-cli races: the races of a data folder as the game loads them.
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "cli/plain_text.h"
#include "cli/race_json.h"
#include "model/globals.h"
#include "model/races.h"
#include "model/records.h"

namespace qv::cli {

namespace {

// The entries of a model's pixel list before the first one of colour 0.
int PixelCount(const ShipModel& model) {
    int n = 0;
    while (n < kPixelListSize && model.pixels[n].colour != 0) ++n;
    return n;
}

std::string Text(const std::string& bytes) { return JsonString(TextAsUtf8(bytes)); }

std::string RaceJson(const Race& race) {
    std::string out = "  {\n";
    out += "    \"file\": " + Text(race.fileName) + ",\n";
    out += "    \"name\": " + Text(race.name) + ",\n";
    out += "    \"description\": " + Text(race.description) + ",\n";
    out += "    \"shipModels\": [";
    for (const ShipModel* m = race.shipModels; m; m = m->next) {
        out += m == race.shipModels ? "\n" : ",\n";
        out += "      {\n";
        out += "        \"name\": " + Text(m->name) + ",\n";
        out += "        \"speed\": " + std::to_string(m->speed) + ",\n";
        out += "        \"defence\": " + std::to_string(m->defence) + ",\n";
        out += "        \"survey\": " + std::to_string(m->survey) + ",\n";
        out += "        \"hold\": " + std::to_string(m->hold) + ",\n";
        out += "        \"cost\": " + std::to_string(m->cost) + ",\n";
        out += "        \"pictureFile\": " + Text(m->pictureFile) + ",\n";
        out += "        \"pixels\": [";
        const int count = PixelCount(*m);
        for (int i = 0; i < count; ++i) {
            const Pixel& p = m->pixels[i];
            if (i > 0) out += ", ";
            out += "[" + std::to_string(p.x) + ", " + std::to_string(p.y) + ", " + std::to_string(p.colour) + "]";
        }
        out += "]\n      }";
    }
    out += race.shipModels ? "\n    ],\n" : "],\n";
    out += "    \"weapons\": [";
    for (const Weapon* w = race.weapons; w; w = w->next) {
        out += w == race.weapons ? "\n" : ",\n";
        out += "      { \"name\": " + Text(w->name) + ", \"range\": " + std::to_string(w->range) +
               ", \"minDamage\": " + std::to_string(w->minDamage) + ", \"maxDamage\": " +
               std::to_string(w->maxDamage) + ", \"cost\": " + std::to_string(w->cost) + " }";
    }
    out += race.weapons ? "\n    ]\n" : "]\n";
    return out + "  }";
}

std::string RacePlain(const Race& race) {
    std::string out = DisplayText(race.name) + "  (" + DisplayText(race.fileName) + ")\n";
    out += "  " + DisplayText(race.description) + "\n";
    out += "  Ship models:\n";
    TextTable models({{"Name"},
                      {"Speed", true},
                      {"Defence", true},
                      {"Survey", true},
                      {"Hold", true},
                      {"Cost", true},
                      {"Picture"},
                      {"Pixels", true}});
    for (const ShipModel* m = race.shipModels; m; m = m->next)
        models.addRow({DisplayText(m->name), std::to_string(m->speed), std::to_string(m->defence),
                       std::to_string(m->survey), std::to_string(m->hold), std::to_string(m->cost),
                       DisplayText(m->pictureFile), std::to_string(PixelCount(*m))});
    out += models.render("    ");
    out += "  Weapons:\n";
    TextTable weapons({{"Name"}, {"Range", true}, {"Damage", true}, {"Cost", true}});
    for (const Weapon* w = race.weapons; w; w = w->next)
        weapons.addRow({DisplayText(w->name), std::to_string(w->range),
                        std::to_string(w->minDamage) + "-" + std::to_string(w->maxDamage), std::to_string(w->cost)});
    out += weapons.render("    ");
    return out;
}

}  // namespace

int RunRaces(const QCommandLineParser& args) {
    namespace fs = std::filesystem;
    const std::string given = args.isSet("data") ? LocalPath(args.value("data")) : std::string();
    if (!given.empty() && !fs::is_directory(given)) throw Failure("no such folder: " + given);
    const fs::path dir = ResolveDataDir(given);
    LoadRaces(dir);  // refused races are reported on standard error by the loader
    if (!g_races) {
        DestroyRaces();
        throw Failure("no race found in " + dir.string());
    }

    std::string out;
    if (args.isSet("json")) {
        out = "[\n";
        for (const Race* race = g_races; race; race = race->next)
            out += RaceJson(*race) + (race->next ? ",\n" : "\n");
        out += "]\n";
    } else {
        out = "Races in " + dir.string() + ", in game order:\n";
        for (const Race* race = g_races; race; race = race->next) out += "\n" + RacePlain(*race);
    }
    DestroyRaces();
    WriteOut(out);
    return kExitOk;
}

}  // namespace qv::cli
