#include "cli/game_json.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/json_writer.h"
#include "cli/race_json.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"

namespace qv::cli {

namespace {

const Race* RaceOf(const Player* owner) { return owner ? owner->race : nullptr; }

int OwnerIndex(const Player* owner) { return IndexOf<Player>(g_players, owner); }

int WeaponIndex(const Player* owner, const Weapon* weapon) {
    const Race* race = RaceOf(owner);
    return race ? IndexOf<Weapon>(race->weapons, weapon) : 0;
}

int PixelCount(const Ship& ship) {
    int n = 0;
    while (n < kPixelListSize && ship.pixels[n].colour != 0) ++n;
    return n;
}

void WriteShips(JsonWriter& w, std::string_view name, const Ship* head) {
    w.key(name).beginArray();
    for (const Ship* s = head; s; s = s->next) {
        const Race* race = RaceOf(s->owner);
        w.beginObject();
        w.field("x", s->x).field("y", s->y);
        w.field("owner", OwnerIndex(s->owner));
        w.field("model", race ? IndexOf<ShipModel>(race->shipModels, s->model) : 0);
        w.key("modelName").text(s->model ? std::string_view(s->model->name) : std::string_view());
        w.numbers("equip", s->equip, kShipEquipSlots);
        w.field("actionPoints", s->actionPoints).field("shieldPoints", s->shieldPoints);
        w.field("viewPoints", s->viewPoints).field("holds", s->holds).field("holdFull", s->holdFull);
        w.field("reserved", s->reserved);
        w.field("weapon", WeaponIndex(s->owner, s->weapon)).field("weaponReady", s->weaponReady);
        w.field("pixels", PixelCount(*s));
        w.endObject();
    }
    w.endArray();
}

void WritePlanets(JsonWriter& w, const Planet* head) {
    w.key("planets").beginArray();
    for (const Planet* p = head; p; p = p->next) {
        w.beginObject();
        w.field("x", p->x).field("y", p->y).field("picture", p->picture);
        w.field("owner", OwnerIndex(p->owner));
        w.field("shieldPoints", p->shieldPoints).field("reserved", p->reserved);
        w.field("orbitDirection", p->orbitDirection).field("orbitPeriod", p->orbitPeriod);
        w.numbers("equip", p->equip, kPlanetEquipSlots);
        w.field("weapon", WeaponIndex(p->owner, p->weapon)).field("weaponReady", p->weaponReady);
        WriteShips(w, "docks", p->docks);
        w.endObject();
    }
    w.endArray();
}

void WriteAsteroids(JsonWriter& w, const Asteroid* head) {
    w.key("asteroids").beginArray();
    for (const Asteroid* a = head; a; a = a->next) {
        w.beginObject();
        w.field("kind", a->kind).field("x", a->x).field("y", a->y);
        w.field("resources", a->resources).field("motion", a->motion).field("motionRate", a->motionRate);
        WriteShips(w, "ships", a->ships);
        w.endObject();
    }
    w.endArray();
}

void WriteWorld(JsonWriter& w, const World& world) {
    w.beginObject();
    w.field("number", world.number);
    const Star none;
    const Star& star = world.star ? *world.star : none;
    w.key("star").beginObject(true).field("kind", star.kind).field("x", star.x).field("y", star.y).endObject();
    WritePlanets(w, world.planets);
    WriteAsteroids(w, world.asteroids);
    WriteShips(w, "ships", world.ships);
    w.endObject();
}

void WritePlayer(JsonWriter& w, const Player& player) {
    w.beginObject();
    w.field("colour", player.colour).field("gold", player.gold);
    w.field("planetCount", player.planetCount).field("shipCount", player.shipCount);
    w.field("race", IndexOf<Race>(g_races, player.race));
    w.key("raceName").text(player.race ? std::string_view(player.race->name) : std::string_view());
    // The power of every turn so far, as far as the history holds.
    const auto turns = std::clamp<std::size_t>(static_cast<std::size_t>(std::max<std::int32_t>(g_turn, 0)), 0,
                                               player.power.size());
    w.numbers("power", player.power.data(), static_cast<int>(turns));
    w.endObject();
}

// The selected record and where it is in the shown world (index 0 when it is
// not in that world's lists, a docked ship for one); null when nothing is
// selected.
void WriteSelection(JsonWriter& w) {
    const char* kind = nullptr;
    int index = 0;
    if (g_currentWorld) {
        if (g_selPlanet) {
            kind = "planet";
            index = IndexOf<Planet>(g_currentWorld->planets, g_selPlanet);
        } else if (g_selAsteroid) {
            kind = "asteroid";
            index = IndexOf<Asteroid>(g_currentWorld->asteroids, g_selAsteroid);
        } else if (g_selShip) {
            kind = "ship";
            index = IndexOf<Ship>(g_currentWorld->ships, g_selShip);
        }
    }
    w.key("selected");
    if (!kind) {
        w.null();
        return;
    }
    w.beginObject(true);
    w.key("kind").text(kind);
    w.field("world", IndexOf<World>(g_worlds, g_currentWorld)).field("index", index);
    w.endObject();
}

const char* KindName(TurnEventKind kind) {
    switch (kind) {
        case TurnEventKind::ShipDestroyed: return "shipDestroyed";
        case TurnEventKind::ShipDamaged: return "shipDamaged";
        case TurnEventKind::PlanetLost: return "planetLost";
        case TurnEventKind::PlanetDestroyed: return "planetDestroyed";
        case TurnEventKind::PlanetCaptured: return "planetCaptured";
        case TurnEventKind::BodyMoved: return "bodyMoved";
        case TurnEventKind::Collision: return "collision";
        case TurnEventKind::OreUnloaded: return "oreUnloaded";
    }
    return "";
}

const char* BodyName(BodyKind body) {
    return body == BodyKind::Planet ? "planet" : body == BodyKind::Asteroid ? "asteroid" : "ship";
}

void WriteEvents(JsonWriter& w, const std::vector<TurnEvents>& turns) {
    w.key("events").beginArray();
    for (const TurnEvents& turn : turns) {
        w.beginObject();
        w.field("turn", turn.turn);
        w.key("events").beginArray();
        for (const TurnEvent& e : turn.events) {
            w.beginObject(true);
            w.key("kind").text(KindName(e.kind)).key("body").text(BodyName(e.body));
            w.field("world", e.world).field("x", e.x).field("y", e.y).field("by", e.by).field("amount", e.amount);
            w.field("toWorld", e.toWorld).field("toX", e.toX).field("toY", e.toY);
            w.key("model").text(e.model).key("text").text(DescribeEvent(e));
            w.endObject();
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
}

}  // namespace

std::string GameJson(const std::vector<TurnEvents>* events, int wonOnTurn) {
    JsonWriter w;
    w.beginObject();
    w.field("turn", g_turn).field("worldSize", g_worldSize);
    w.field("worldCount", g_worldCount).field("doubleWorldCount", g_doubleWorldCount);
    w.field("playerCount", g_playerCount).field("asteroidTotal", g_asteroidTotal);
    w.field("unstability", g_unstability);
    w.key("gameOver").boolean(g_gameOver != 0);
    w.field("currentWorld", IndexOf<World>(g_worlds, g_currentWorld));
    w.key("view").beginObject(true);
    w.field("left", g_viewLeft).field("top", g_viewTop).field("right", g_viewRight).field("bottom", g_viewBottom);
    w.endObject();
    WriteSelection(w);
    w.key("players").beginArray();
    for (const Player* p = g_players; p; p = p->next) WritePlayer(w, *p);
    w.endArray();
    w.key("worlds").beginArray();
    for (const World* world = g_worlds; world; world = world->next) WriteWorld(w, *world);
    w.endArray();
    if (events) WriteEvents(w, *events);
    if (wonOnTurn) {
        w.key("victory").beginObject(true);
        w.field("winner", 1).field("turn", wonOnTurn);
        w.endObject();
    }
    w.endObject();
    return w.finish();
}

}  // namespace qv::cli
