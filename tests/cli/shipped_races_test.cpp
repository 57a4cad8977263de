// The four shipped races: they load as the game loads them, `races --json`
// reports them as their sources say, and their numbers make a game in which
// computer players can arm themselves and every race plays differently.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "cli_test_support.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/races.h"
#include "turn/computer_players.h"

namespace qv::clitest {
namespace {

int PixelCount(const ShipModel& m) {
    int n = 0;
    while (n < kPixelListSize && m.pixels[n].colour != 0) ++n;
    return n;
}

template <typename T>
std::vector<const T*> ListOf(const T* head) {
    std::vector<const T*> items;
    for (const T* p = head; p; p = p->next) items.push_back(p);
    return items;
}

class ShippedRaces : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        ASSERT_TRUE(LoadRaces(kDataOut));
        for (const Race* r = g_races; r; r = r->next) byName[r->name] = r;
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    const Race& race(const std::string& name) const { return *byName.at(name); }

    HeadlessPlatform platform;
    std::map<std::string, const Race*> byName;
};

TEST_F(ShippedRaces, LoadInGameOrderWithEveryShipPicture) {
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front();
    std::vector<std::string> files, names;
    for (const Race* r = g_races; r; r = r->next) {
        files.push_back(r->fileName);
        names.push_back(r->name);
    }
    // The last file name heads the list.
    EXPECT_EQ(files, (std::vector<std::string>{"vess.race", "korrath.race", "elyssi.race", "compact.race"}));
    EXPECT_EQ(names, (std::vector<std::string>{"Vess Swarm", "Korrath Dominion", "Elyssi Choir", "Solar Compact"}));

    // Models in list order (the reverse of the file), the cargo model last.
    const std::map<std::string, std::vector<std::string>> pictures = {
        {"Solar Compact", {"compact_bastion.bmp", "compact_warden.bmp", "compact_lancer.bmp", "compact_mule.bmp"}},
        {"Vess Swarm", {"vess_queen.bmp", "vess_hornet.bmp", "vess_stinger.bmp", "vess_gatherer.bmp"}},
        {"Korrath Dominion",
         {"korrath_dreadnought.bmp", "korrath_ironclad.bmp", "korrath_talon.bmp", "korrath_barge.bmp"}},
        {"Elyssi Choir", {"elyssi_cantor.bmp", "elyssi_lumen.bmp", "elyssi_whisper.bmp", "elyssi_seed.bmp"}},
    };
    for (const auto& [name, expected] : pictures) {
        SCOPED_TRACE(name);
        std::vector<std::string> files;
        for (const ShipModel* m : ListOf(race(name).shipModels)) {
            files.push_back(m->pictureFile);
            EXPECT_FALSE(m->picture.empty()) << m->pictureFile;
            EXPECT_GT(PixelCount(*m), 0) << m->pictureFile;
        }
        EXPECT_EQ(files, expected);
        EXPECT_GE(race(name).weaponCount, 3);
    }
}

TEST_F(ShippedRaces, RacesJsonReportsWhatTheSourcesSayInListOrder) {
    const RunResult r = RunCli({"races", "--data", kData, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const QJsonArray listed = ParseJson(r.out).toArray();

    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(kSourceDir / "data" / "races"))
        if (entry.path().extension() == ".json") sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    std::reverse(sources.begin(), sources.end());
    ASSERT_EQ(sources.size(), 4u);
    ASSERT_EQ(listed.size(), 4);

    const Race* loaded = g_races;
    for (std::size_t i = 0; i < sources.size(); ++i, loaded = loaded->next) {
        SCOPED_TRACE(sources[i].filename().string());
        const QJsonObject source = ParseJson(ReadBytes(sources[i])).toObject();
        const QJsonObject race = listed[static_cast<qsizetype>(i)].toObject();
        EXPECT_EQ(Keys(race), (std::set<std::string>{"file", "name", "description", "shipModels", "weapons"}));
        EXPECT_EQ(Text(race["file"]), sources[i].stem().string() + ".race");
        EXPECT_EQ(race["name"], source["name"]);
        EXPECT_EQ(race["description"], source["description"]);

        // Models and weapons in list order: the file's last first.
        const QJsonArray models = race["shipModels"].toArray(), sourceModels = source["shipModels"].toArray();
        const std::vector<const ShipModel*> loadedModels = ListOf(loaded->shipModels);
        ASSERT_EQ(models.size(), sourceModels.size());
        ASSERT_EQ(loadedModels.size(), static_cast<std::size_t>(models.size()));
        for (qsizetype k = 0; k < models.size(); ++k) {
            const QJsonObject m = models[k].toObject(), s = sourceModels[sourceModels.size() - 1 - k].toObject();
            SCOPED_TRACE(Text(s["name"]));
            EXPECT_EQ(Keys(m), (std::set<std::string>{"name", "speed", "defence", "survey", "hold", "cost",
                                                      "pictureFile", "pixels"}));
            for (const char* key : {"name", "pictureFile", "speed", "defence", "survey", "hold", "cost"})
                EXPECT_EQ(m[key], s[key]) << key;
            // The pixel list as the game holds it, up to its first black entry.
            const ShipModel& lm = *loadedModels[static_cast<std::size_t>(k)];
            const QJsonArray pixels = m["pixels"].toArray();
            ASSERT_EQ(pixels.size(), PixelCount(lm));
            EXPECT_GT(pixels.size(), 0);
            for (qsizetype p = 0; p < pixels.size(); ++p) {
                ASSERT_EQ(pixels[p].toArray().size(), 3);
                EXPECT_EQ(pixels[p][0].toInteger(), lm.pixels[p].x);
                EXPECT_EQ(pixels[p][1].toInteger(), lm.pixels[p].y);
                EXPECT_EQ(pixels[p][2].toInteger(), static_cast<long long>(lm.pixels[p].colour));
            }
        }
        const QJsonArray weapons = race["weapons"].toArray(), sourceWeapons = source["weapons"].toArray();
        ASSERT_EQ(weapons.size(), sourceWeapons.size());
        for (qsizetype k = 0; k < weapons.size(); ++k) {
            const QJsonObject w = weapons[k].toObject(), s = sourceWeapons[sourceWeapons.size() - 1 - k].toObject();
            EXPECT_EQ(Keys(w), (std::set<std::string>{"name", "range", "minDamage", "maxDamage", "cost"}));
            EXPECT_EQ(w, s) << Text(s["name"]);
        }
    }
}

TEST_F(ShippedRaces, WithoutDataTheToolFindsTheDataBesideIt) {
    ScratchDir elsewhere;  // no race file here, and no QUORVANE_DATA_DIR
    const RunResult found = RunCli({"races", "--json"}, elsewhere.path());
    const RunResult given = RunCli({"races", "--data", kData, "--json"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, given.out);
}

// ---- The numbers as a game ---------------------------------------------------

// What a computer player's planet builds with its gold, by the game's own
// choices: an armed warship when the chosen model and weapon together cost
// less than the gold, a cargo ship when the chosen cargo model has a hold and
// costs less than half the gold.
const ShipModel* ArmedWarship(Race& race, int gold) {
    ShipModel* war = ChooseWarModel(&race, gold);
    const Weapon* weapon = war ? ChooseWeapon(&race, gold, *war) : nullptr;
    if (!war || !weapon || static_cast<std::int64_t>(war->cost) + weapon->cost >= gold) return nullptr;
    return war;
}

const ShipModel* CargoShip(Race& race, int gold) {
    const ShipModel* cargo = ChooseCargoModel(&race, gold);
    return cargo && cargo->hold != 0 && cargo->cost < gold / 2 ? cargo : nullptr;
}

TEST_F(ShippedRaces, EachRaceHasOneCargoModelAndWarshipsThatTradeOff) {
    const std::map<std::string, std::string> cargo = {{"Solar Compact", "compact_mule.bmp"},
                                                      {"Vess Swarm", "vess_gatherer.bmp"},
                                                      {"Korrath Dominion", "korrath_barge.bmp"},
                                                      {"Elyssi Choir", "elyssi_seed.bmp"}};
    for (const auto& [name, cargoPicture] : cargo) {
        SCOPED_TRACE(name);
        std::vector<const ShipModel*> warships;
        for (const ShipModel* m : ListOf(race(name).shipModels)) {
            EXPECT_GE(m->speed, 80);
            EXPECT_LE(m->speed, 260);
            EXPECT_GE(m->defence, 60);
            EXPECT_LE(m->defence, 400);
            EXPECT_GE(m->survey, 60);
            EXPECT_LE(m->survey, 300);
            EXPECT_GE(m->cost, 200);
            EXPECT_LE(m->cost, 3500);
            if (m->pictureFile == cargoPicture) {
                EXPECT_GE(m->hold, 1);
                EXPECT_LE(m->hold, 6);
                // A full hold sells for about 100 gold a unit: the ship pays
                // for itself within four trips.
                EXPECT_LE(m->cost, 4 * 100 * m->hold) << m->name;
            } else {
                EXPECT_EQ(m->hold, 0) << m->name;
                warships.push_back(m);
            }
        }
        ASSERT_EQ(warships.size(), 3u);
        // A dearer warship is a better one by the computer's measure, so a
        // richer computer player builds bigger ships...
        std::sort(warships.begin(), warships.end(), [](auto a, auto b) { return a->cost < b->cost; });
        for (std::size_t i = 1; i < warships.size(); ++i) {
            EXPECT_GT(warships[i]->cost, warships[i - 1]->cost);
            EXPECT_GT(warships[i]->speed + warships[i]->defence + warships[i]->survey,
                      warships[i - 1]->speed + warships[i - 1]->defence + warships[i - 1]->survey);
        }
        // ...but none is best at everything: the fastest is not the toughest.
        const auto fastest = *std::max_element(warships.begin(), warships.end(),
                                               [](auto a, auto b) { return a->speed < b->speed; });
        const auto toughest = *std::max_element(warships.begin(), warships.end(),
                                                [](auto a, auto b) { return a->defence < b->defence; });
        EXPECT_NE(fastest, toughest);
        EXPECT_LT(toughest->speed, fastest->speed);

        std::vector<int> ranges;
        for (const Weapon* w : ListOf(race(name).weapons)) {
            EXPECT_GT(w->maxDamage, w->minDamage) << w->name;
            EXPECT_GE(w->minDamage, 10);
            EXPECT_LE(w->maxDamage, 150);
            EXPECT_GE(w->range, 60);
            EXPECT_LE(w->range, 300);
            EXPECT_GE(w->cost, 200);
            EXPECT_LE(w->cost, 2500);
            ranges.push_back(w->range);
        }
        EXPECT_GE(ranges.size(), 3u);
        std::sort(ranges.begin(), ranges.end());
        EXPECT_EQ(std::adjacent_find(ranges.begin(), ranges.end()), ranges.end()) << "two weapons share a range";
    }
}

TEST_F(ShippedRaces, ComputerPlayersBuildCargoShipsAtOnceAndArmThemselvesInTheEnd) {
    // A planet earns 100 gold a turn. The computer's choice starts from the
    // head of a list, which is the last model and weapon of the race file:
    // the flagship and the dearest weapon, so a computer player arms itself
    // once it can pay for both, and carries ore until then.
    for (Race* r = g_races; r; r = r->next) {
        for (int start : {500, 1000, 2000, 3000, 5000}) {
            SCOPED_TRACE(r->name + " starting with " + std::to_string(start));
            int armedTurn = -1, cargoTurn = -1;
            for (int turn = 0; turn <= 80 && (armedTurn < 0 || cargoTurn < 0); ++turn) {
                const int gold = start + 100 * turn;
                if (armedTurn < 0 && ArmedWarship(*r, gold)) armedTurn = turn;
                if (cargoTurn < 0 && CargoShip(*r, gold)) cargoTurn = turn;
            }
            EXPECT_GE(armedTurn, 0);
            EXPECT_LE(armedTurn, 60);
            EXPECT_GE(cargoTurn, 0);
            EXPECT_LE(cargoTurn, 15);
            if (start >= 2000) {
                EXPECT_EQ(cargoTurn, 0);
            }
        }
        // The warship a computer player arms is never its cargo model.
        for (int gold = 500; gold <= 10000; gold += 50) {
            if (const ShipModel* ship = ArmedWarship(*r, gold)) {
                EXPECT_EQ(ship->hold, 0) << r->name << " with " << gold << " gold arms " << ship->name;
            }
        }
    }
}

struct RaceAverages {
    double speed = 0, defence = 0, survey = 0, cost = 0, range = 0, maxDamage = 0;
    int cheapestWarship = 0, fastest = 0, longestRange = 0;
};

RaceAverages Averages(const Race& race) {
    RaceAverages a;
    const auto models = ListOf(race.shipModels);
    const auto weapons = ListOf(race.weapons);
    a.cheapestWarship = 1 << 30;
    for (const ShipModel* m : models) {
        a.speed += m->speed;
        a.defence += m->defence;
        a.survey += m->survey;
        a.cost += m->cost;
        a.fastest = std::max(a.fastest, m->speed);
        if (m->hold == 0) a.cheapestWarship = std::min(a.cheapestWarship, m->cost);
    }
    for (const Weapon* w : weapons) {
        a.range += w->range;
        a.maxDamage += w->maxDamage;
        a.longestRange = std::max(a.longestRange, w->range);
    }
    for (double* v : {&a.speed, &a.defence, &a.survey, &a.cost}) *v /= static_cast<double>(models.size());
    for (double* v : {&a.range, &a.maxDamage}) *v /= static_cast<double>(weapons.size());
    return a;
}

TEST_F(ShippedRaces, EachRacePlaysToItsCharacter) {
    std::map<std::string, RaceAverages> a;
    for (const auto& [name, r] : byName) a[name] = Averages(*r);
    const RaceAverages& compact = a.at("Solar Compact");
    const RaceAverages& vess = a.at("Vess Swarm");
    const RaceAverages& korrath = a.at("Korrath Dominion");
    const RaceAverages& elyssi = a.at("Elyssi Choir");
    for (const auto& [name, other] : a) {
        SCOPED_TRACE(name);
        if (name != "Vess Swarm") {  // cheap, fast, fragile: the swarm
            EXPECT_LT(vess.cheapestWarship, other.cheapestWarship);
            EXPECT_GT(vess.fastest, other.fastest);
            EXPECT_LT(vess.cost, other.cost);
            EXPECT_LT(vess.defence, other.defence);
        }
        if (name != "Korrath Dominion") {  // armoured, slow, dear, hard-hitting at short range
            EXPECT_GT(korrath.defence, other.defence);
            EXPECT_LT(korrath.speed, other.speed);
            EXPECT_GT(korrath.cost, other.cost);
            EXPECT_GT(korrath.maxDamage, other.maxDamage);
            EXPECT_LT(korrath.range, other.range);
        }
        if (name != "Elyssi Choir") {  // sees and strikes from afar
            EXPECT_GT(elyssi.survey, other.survey);
            EXPECT_GT(elyssi.longestRange, other.longestRange);
            EXPECT_GT(elyssi.range, other.range);
        }
    }
    // The Elyssi break easily and pay for their reach; the Compact sits in
    // the middle of everything.
    EXPECT_LT(elyssi.defence, compact.defence);
    EXPECT_GT(elyssi.cost, compact.cost);
    EXPECT_GT(compact.defence, vess.defence);
    EXPECT_LT(compact.defence, korrath.defence);
    EXPECT_GT(compact.speed, korrath.speed);
    EXPECT_LT(compact.speed, vess.speed);
}

}  // namespace
}  // namespace qv::clitest
