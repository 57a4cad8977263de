#include "turn/turn_report.h"

#include "model/globals.h"
#include "model/lists.h"

namespace qv {

namespace {

struct Report {
    std::vector<TurnEvent> events;
    bool open = false;
    std::uint32_t game = 0;  // g_gameNumber of the game the turn was played in
};

Report& TheReport() {
    static Report report;
    return report;
}

bool Recording() { return TheReport().open && g_players; }
bool Human(const Player* player) { return player && player == g_players; }
int WorldNumber(const World* world) { return world ? world->number : 0; }
std::string ModelName(const Ship& ship) { return ship.model ? ship.model->name : std::string(); }

void Add(TurnEvent event) { TheReport().events.push_back(std::move(event)); }

TurnEvent At(TurnEventKind kind, BodyKind body, const World* world, int x, int y) {
    TurnEvent e;
    e.kind = kind;
    e.body = body;
    e.world = WorldNumber(world);
    e.x = x;
    e.y = y;
    return e;
}

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string YourShip(const TurnEvent& e) { return "your " + (e.model.empty() ? std::string("ship") : e.model); }

std::string Carrying(int ships) { return "an asteroid with " + Counted(ships, "ship of yours", "ships of yours"); }

}  // namespace

const std::vector<TurnEvent>& LastTurnEvents() {
    static const std::vector<TurnEvent> none;
    return TheReport().game == g_gameNumber ? TheReport().events : none;
}

void OpenTurnReport() {
    TheReport().events.clear();
    TheReport().open = true;
    TheReport().game = g_gameNumber;
}

void CloseTurnReport() { TheReport().open = false; }

void ClearTurnReport() {
    TheReport().events.clear();
    TheReport().open = false;
}

int HumanShipsIn(const Ship* head) {
    int n = 0;
    for (const Ship* s = head; s; s = s->next) n += Human(s->owner);
    return n;
}

int PlayerPosition(const Player* player) { return IndexOf(g_players, player); }

std::string PlayerLabel(int position) { return position == 1 ? "you" : OwnerLabel(RecordAt(g_players, position)); }

void RecordShipHit(const World* world, const Ship& target, const Player* shooter, int damage) {
    if (!Recording() || !Human(target.owner)) return;
    TurnEvent e = At(TurnEventKind::ShipDestroyed, BodyKind::Ship, world, target.x, target.y);
    e.by = PlayerPosition(shooter);
    e.model = ModelName(target);
    if (target.shieldPoints > 0) {
        e.kind = TurnEventKind::ShipDamaged;
        e.amount = damage;
    }
    Add(std::move(e));
}

void RecordPlanetHit(const World* world, const Planet& planet, const Player* shooter, const Player* formerOwner,
                     bool destroyed, int dockedShips) {
    if (!Recording()) return;
    TurnEvent e = At(TurnEventKind::PlanetLost, BodyKind::Planet, world, planet.x, planet.y);
    if (Human(formerOwner)) {
        e.kind = destroyed ? TurnEventKind::PlanetDestroyed : TurnEventKind::PlanetLost;
        e.by = PlayerPosition(shooter);
        e.amount = destroyed ? dockedShips : 0;
    } else if (Human(shooter) && !destroyed) {
        e.kind = TurnEventKind::PlanetCaptured;
        e.by = PlayerPosition(formerOwner);
    } else {
        return;
    }
    Add(std::move(e));
}

void RecordMoved(const World* from, BodyKind body, const Player* owner, int x, int y, const World* to, int toX, int toY,
                 const std::string& model, int ships) {
    if (!Recording() || (!Human(owner) && ships == 0)) return;
    TurnEvent e = At(TurnEventKind::BodyMoved, body, from, x, y);
    e.amount = ships;
    e.toWorld = WorldNumber(to);
    e.toX = toX;
    e.toY = toY;
    e.model = model;
    Add(std::move(e));
}

void RecordCollision(const World* world, BodyKind body, int x, int y, bool humansBody, int humanShips) {
    if (!Recording() || (!humansBody && humanShips == 0)) return;
    TurnEvent e = At(TurnEventKind::Collision, body, world, x, y);
    e.amount = humanShips;
    Add(std::move(e));
}

void RecordOreUnloaded(const World* world, const Planet& planet, const Ship& ship, int gold) {
    if (!Recording() || !Human(ship.owner)) return;
    TurnEvent e = At(TurnEventKind::OreUnloaded, BodyKind::Ship, world, planet.x, planet.y);
    e.amount = gold;
    e.model = ModelName(ship);
    Add(std::move(e));
}

std::string DescribeEvent(const TurnEvent& e) {
    std::string line = "World " + std::to_string(e.world) + ": ";
    const std::string by = PlayerLabel(e.by);
    switch (e.kind) {
        case TurnEventKind::ShipDestroyed: return line + YourShip(e) + " destroyed by " + by;
        case TurnEventKind::ShipDamaged:
            return line + YourShip(e) + " hit by " + by + ", " + Counted(e.amount, "shield point", "shield points") +
                   " lost";
        case TurnEventKind::PlanetLost: return line + "your planet captured by " + by;
        case TurnEventKind::PlanetDestroyed:
            line += "your planet destroyed by " + by;
            if (e.amount > 0) line += ", " + Counted(e.amount, "docked ship", "docked ships") + " lost with it";
            return line;
        case TurnEventKind::PlanetCaptured:
            return line + (e.by == 0 || by == "Neutral" ? std::string("a neutral planet") : "a planet of " + by) +
                   " captured";
        case TurnEventKind::BodyMoved: {
            const std::string what = e.body == BodyKind::Ship     ? YourShip(e)
                                     : e.body == BodyKind::Planet ? std::string("your planet")
                                                                  : Carrying(e.amount);
            // An event may throw a region to another place of its own world.
            if (e.toWorld == e.world) return line + what + " thrown to another place of this world";
            return line + what + " thrown into world " + std::to_string(e.toWorld);
        }
        case TurnEventKind::Collision:
            if (e.body == BodyKind::Planet) {
                line += "your planet destroyed in a collision";
                if (e.amount > 0) line += ", " + Counted(e.amount, "docked ship", "docked ships") + " lost with it";
                return line;
            }
            return line + Carrying(e.amount) + " destroyed in a collision";
        case TurnEventKind::OreUnloaded:
            return line + "ore unloaded from " + YourShip(e) + ", " + std::to_string(e.amount) + " gold";
    }
    return line;
}

std::string SummariseEvents(const std::vector<TurnEvent>& events) {
    int shipsLost = 0, shipsHit = 0, planetsLost = 0, planetsDestroyed = 0, captured = 0, moved = 0, ore = 0;
    for (const TurnEvent& e : events) {
        switch (e.kind) {
            case TurnEventKind::ShipDestroyed: ++shipsLost; break;
            case TurnEventKind::ShipDamaged: ++shipsHit; break;
            case TurnEventKind::PlanetLost: ++planetsLost; break;
            case TurnEventKind::PlanetDestroyed: ++planetsDestroyed, shipsLost += e.amount; break;
            case TurnEventKind::PlanetCaptured: ++captured; break;
            case TurnEventKind::BodyMoved: ++moved; break;
            case TurnEventKind::Collision:
                planetsDestroyed += e.body == BodyKind::Planet;
                shipsLost += e.amount;
                break;
            case TurnEventKind::OreUnloaded: ore += e.amount; break;
        }
    }
    std::string out;
    auto part = [&](int n, const std::string& text) {
        if (n == 0) return;
        if (!out.empty()) out += ", ";
        out += text;
    };
    part(shipsLost, Counted(shipsLost, "ship lost", "ships lost"));
    part(shipsHit, Counted(shipsHit, "ship hit", "ships hit"));
    part(planetsLost, Counted(planetsLost, "planet lost", "planets lost"));
    part(planetsDestroyed, Counted(planetsDestroyed, "planet destroyed", "planets destroyed"));
    part(captured, Counted(captured, "planet captured", "planets captured"));
    part(moved, Counted(moved, "body thrown elsewhere", "bodies thrown elsewhere"));
    part(ore, std::to_string(ore) + " gold from ore");
    return out;
}

}  // namespace qv
