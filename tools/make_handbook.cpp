// quorvane-make-handbook: fills the numbers into the player's handbook.
//
//   quorvane-make-handbook TEMPLATE.html DATA_DIR OUT.html
//
// The handbook's text (resources/handbook/handbook.html.in) names its numbers
// as @NAME@; this tool replaces every one with the value the game itself
// uses: prices and bonuses from the catalogue, reaches from the map's rules,
// the races' ship models and weapons from the race files of DATA_DIR, and
// what a turn pays and renews as the turn engine does it, measured by running
// it on a few records. A name it does not know, or a race folder without
// races, is an error: the handbook never shows a number typed twice.
// Exit status: 0 written, 1 failed (one line on stderr), 2 wrong usage.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "economy/equipment_trade.h"
#include "model/catalogue.h"
#include "model/globals.h"
#include "model/map_rules.h"
#include "model/platform.h"
#include "model/races.h"
#include "model/world_generation.h"
#include "turn/end_turn.h"
#include "turn/instability.h"
#include "turn/orbits.h"

namespace {

using namespace qv;

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

std::string Num(long long value) { return std::to_string(value); }

// What buying one item added to a fresh ship or planet.
struct Gain {
    int shield = 0, view = 0, action = 0, holds = 0;
};

// Buys the item of the slot through the real trade, for a human player rich
// enough, and reports what it added.
Gain BuyAndMeasure(bool planet, int slot) {
    Player human;
    human.gold = 1000000;
    g_players = &human;
    Planet p;
    Ship s;
    p.owner = s.owner = &human;
    const Gain before =
        planet ? Gain{p.shieldPoints, 0, 0, 0} : Gain{s.shieldPoints, s.viewPoints, s.actionPoints, s.holds};
    EquipmentTrade trade = planet ? EquipmentTrade::ForPlanet(&p) : EquipmentTrade::ForShip(&s);
    const std::string name = trade.catalogue()[static_cast<std::size_t>(slot)].name;
    for (int row = 0; row < static_cast<int>(trade.buyRows().size()); ++row)
        if (trade.buyRows()[static_cast<std::size_t>(row)].name == name) trade.buy(row);
    g_players = nullptr;
    if (planet) return {p.shieldPoints - before.shield, 0, 0, 0};
    return {s.shieldPoints - before.shield, s.viewPoints - before.view, s.actionPoints - before.action,
            s.holds - before.holds};
}

// What the end of a turn pays and renews, measured on a one-world game of
// hand-made records.
struct TurnFigures {
    int incomePerPlanet = 0, bank = 0, acceleratorInSpace = 0, reactorInSpace = 0, restingFactor = 0;
};

TurnFigures MeasureTurn() {
    TurnFigures figures;
    Player owner;
    owner.planetCount = 1;
    g_players = &owner;
    CollectIncome();
    figures.incomePerPlanet = owner.gold;

    ShipModel model;
    model.speed = 100;
    Ship accelerated, powered, resting;
    for (Ship* s : {&accelerated, &powered, &resting}) s->model = &model;
    accelerated.equip[kAccelerator] = 1;
    powered.equip[kPowerReactor] = 1;
    resting.equip[kAccelerator] = 1;
    accelerated.next = &powered;
    Planet planet;
    planet.owner = &owner;
    planet.equip[kGlobalBankSystem] = 1;
    planet.docks = &resting;
    World world;
    world.ships = &accelerated;
    world.planets = &planet;
    g_worlds = g_lastWorld = &world;
    owner.gold = 0;
    RenewWorlds();
    figures.bank = owner.gold;
    figures.acceleratorInSpace = accelerated.actionPoints - model.speed;
    figures.reactorInSpace = powered.actionPoints - model.speed;
    figures.restingFactor = resting.actionPoints / model.speed;
    g_worlds = g_lastWorld = nullptr;
    g_players = nullptr;
    return figures;
}

// A row of <td> cells.
std::string Row(const std::vector<std::string>& cells, const char* cell = "td") {
    std::string row = "<tr>";
    for (const std::string& c : cells) row += std::string("<") + cell + ">" + c + "</" + cell + ">";
    return row + "</tr>\n";
}

// The catalogue's fixed items with their prices and what each does.
std::string EquipmentTable(bool planet, const std::map<std::string, std::string>& does) {
    std::string table = "<table class=\"catalogue\" id=\"" + std::string(planet ? "planet" : "ship") +
                        "-equipment\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n" +
                        Row({"Equipment", "Cost", "Sold for", "What it does"}, "th");
    for (const EquipItem& item : planet ? PlanetCatalogue(nullptr) : ShipCatalogue(nullptr)) {
        const auto it = does.find(item.name);
        if (it == does.end()) throw std::runtime_error("no description of " + item.name);
        table += Row({Escaped(item.name), Num(item.buyPrice), Num(item.sellPrice), it->second});
    }
    return table + "</table>";
}

// Every race in the game's list order: its models as the Build Ship list
// shows them, its weapons with the three the Equip lists sell marked.
std::string RacesSection() {
    std::string text;
    for (const Race* race = g_races; race; race = race->next) {
        text += "<h3>" + Escaped(race->name) + "</h3>\n<p>" + Escaped(race->description) + "</p>\n";
        text += "<table class=\"models\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n" +
                Row({"Model", "Speed", "Survey", "Hold", "Defence", "Cost"}, "th");
        for (const ShipModel* m = race->shipModels; m; m = m->next)
            text += Row({Escaped(m->name), Num(m->speed), Num(m->survey), Num(m->hold), Num(m->defence), Num(m->cost)});
        text += "</table>\n<p></p><table class=\"weapons\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n" +
                Row({"Weapon", "Range", "Damage", "Cost", "Sold for", "In the Equip lists"}, "th");
        int n = 0;
        for (const Weapon* w = race->weapons; w; w = w->next) {
            ++n;
            const int highest = w->maxDamage > w->minDamage ? w->maxDamage - 1 : w->minDamage;
            text += Row({Escaped(w->name), Num(w->range), Num(w->minDamage) + "&ndash;" + Num(highest), Num(w->cost),
                         Num(w->cost / 2), n <= kRaceWeaponsOffered ? "yes" : "no"});
        }
        text += "</table>\n";
    }
    return text;
}

std::string InstabilityTable() {
    const char* names[] = {"High", "Medium", "Low", "None"};
    std::string table = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n" +
                        Row({"Unstability", "Events each turn", "Radius of a region"}, "th");
    for (int level = 0; level < 4; ++level) {
        const InstabilityLevel l = LevelOf(level);
        table += Row({names[level], Num(l.events), l.events ? Num(l.radius) : "&ndash;"});
    }
    return table + "</table>";
}

std::string WorldSizes() {
    const char* names[] = {"Huge", "Large", "Medium", "Small", "Tiny"};
    std::string text;
    for (int option = 0; option < 5; ++option) {
        const std::string size = Num(WorldSizeFor(option));
        text += std::string(option ? ", " : "") + names[option] + " " + size + "&nbsp;&times;&nbsp;" + size;
    }
    return text;
}

std::map<std::string, std::string> Values() {
    const TurnFigures turn = MeasureTurn();
    const Gain shield = BuyAndMeasure(true, kProtectiveShield);
    const Gain hold = BuyAndMeasure(false, kAdditionalHold);
    const Gain screen = BuyAndMeasure(false, kProtectiveScreen);
    const Gain reactor = BuyAndMeasure(false, kPowerReactor);
    Player one;
    one.planetCount = 1;
    const long long powerPlanet = PlayerPower(one);
    one = Player{};
    one.shipCount = 1;
    const long long powerShip = PlayerPower(one);

    std::map<std::string, std::string> v = {
        {"PLANET_SHIELD", Num(kPlanetShieldMax)},
        {"PLANET_SHIELD_PROTECTED", Num(kPlanetShieldMaxProtected)},
        {"REPAIR_PLANET", Num(kRepairPricePerPoint)},
        {"REPAIR_SHIP", Num(kShipRepairPricePerPoint)},
        {"ORE_PER_HOLD", Num(kOrePerHold)},
        {"ORE_BONUS_MOST", Num(kOreBonusDraw - 1)},
        {"CAPTURE_SHIELD", Num(kCaptureShieldPoints)},
        {"MISSILE_REACH", Num(kMissileReach)},
        {"LANDING_REACH", Num(kLandingReach)},
        {"DOCKING_REACH", Num(kDockingReach)},
        {"LAUNCH_RADIUS", Num(kLaunchRadius)},
        {"SHIP_SHOT_MARGIN", Num(kShipHitRadius)},
        {"PLANET_SHOT_MARGIN", Num(kPlanetHitRadius)},
        {"PLANET_COLLISION", Num(kPlanetCollision)},
        {"PLANET_ASTEROID_COLLISION", Num(kPlanetAsteroidCollision)},
        {"ASTEROID_HIT", Num(kAsteroidHit)},
        {"ASTEROID_COLLISION", Num(kAsteroidCollision)},
        {"STAR_CAPTURE", Num(kStarCapture)},
        {"INCOME_PER_PLANET", Num(turn.incomePerPlanet)},
        {"POWER_PLANET", Num(powerPlanet)},
        {"POWER_SHIP", Num(powerShip)},
        {"WEAPONS_OFFERED", Num(kRaceWeaponsOffered)},
        {"WORLD_SIZES", WorldSizes()},
        {"INSTABILITY_TABLE", InstabilityTable()},
        {"RACES", RacesSection()},
    };
    const std::string protectedShield = Num(kPlanetShieldMaxProtected);
    const std::map<std::string, std::string> planetDoes = {
        {"Hyper Stabilizer",
         "Listed under Buildings. No rule of the game reads it: it does not keep the planet "
         "from instability (the Protective Shield does)."},
        {"Protective Shield", "+" + Num(shield.shield) + " shield points at once; a full shield of " + protectedShield +
                                  " for Repair Planet; the planet is never torn away by "
                                  "instability."},
        {"Global Bank System", "+" + Num(turn.bank) + " gold at the end of every turn."},
    };
    const std::map<std::string, std::string> shipDoes = {
        {"Accelerator", "+" + Num(turn.acceleratorInSpace) +
                            " action points every turn in space; a docked or "
                            "landed ship gets " +
                            Num(turn.restingFactor) + " &times; its speed."},
        {"Space Scanner", "Listed under Equipment. No rule of the game reads it."},
        {"Additional Hold", "+" + Num(hold.holds) + " hold."},
        {"Hyper Module",
         "One jump at once to a point beyond the ship's reach in the same world (Jump cursor); "
         "used up, and the ship has no action points left."},
        {"Hyper Jumper",
         "One jump into another world: SHM in Ship Options, show the world, click there. Used "
         "up; the ship arrives with no action points."},
        {"Protective Screen", "+" + Num(screen.shield) + " shield points at once, and " + Num(kScreenBonus) +
                                  " more in the full shield Repair Ship restores."},
        {"Power Reactor", "+" + Num(reactor.shield) + " shield points, +" + Num(reactor.view) + " view points, +" +
                              Num(reactor.action) + " action points at once; +" + Num(turn.reactorInSpace) +
                              " action points every turn in space."},
        {"Destructive Nuclear Missile",
         "Start Rocket in Ship Options, then click an enemy ship or planet, or "
         "an asteroid, closer than " +
             Num(kMissileReach) + ": it is destroyed. Used up."},
    };
    v["PLANET_EQUIPMENT"] = EquipmentTable(true, planetDoes);
    v["SHIP_EQUIPMENT"] = EquipmentTable(false, shipDoes);
    return v;
}

std::string Fill(const std::string& text, const std::map<std::string, std::string>& values) {
    std::string out;
    std::size_t at = 0;
    for (;;) {
        const std::size_t open = text.find('@', at);
        if (open == std::string::npos) return out + text.substr(at);
        const std::size_t close = text.find('@', open + 1);
        if (close == std::string::npos) throw std::runtime_error("an @ without its closing @");
        const std::string name = text.substr(open + 1, close - open - 1);
        const auto it = values.find(name);
        if (it == values.end()) throw std::runtime_error("no value for @" + name + "@");
        out += text.substr(at, open - at) + it->second;
        at = close + 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: quorvane-make-handbook TEMPLATE.html DATA_DIR OUT.html\n");
        return 2;
    }
    HeadlessPlatform platform(true);
    SetPlatform(&platform);
    int status = 0;
    try {
        std::ifstream in(argv[1], std::ios::binary);
        std::stringstream source;
        source << in.rdbuf();
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        if (!LoadRaces(argv[2]) || !g_races) throw std::runtime_error(std::string("no race in ") + argv[2]);
        const std::string page = Fill(source.str(), Values());
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        out << page;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorvane-make-handbook: %s\n", e.what());
        status = 1;
    }
    ResetGlobals();
    SetPlatform(nullptr);
    return status;
}
