#include "turn/consistency.h"

#include <map>
#include <set>

#include "model/globals.h"
#include "model/counted.h"
#include "model/lists.h"

namespace qv {

namespace {

// Far more records than any game holds: a longer walk is a loop.
constexpr int kLongestList = 1000000;

template <typename T>
std::string CheckLinks(const T* head, const std::string& what) {
    if (head && head->prev) return what + ": the head has a predecessor";
    int n = 0;
    for (const T* p = head; p; p = p->next) {
        if (++n > kLongestList) return what + ": the list does not end";
        if (p->next && p->next->prev != p) return what + ": record " + std::to_string(n) + " is badly linked";
    }
    return {};
}

template <typename T>
bool Holds(const T* head, const T* rec) {
    for (const T* p = head; p; p = p->next)
        if (p == rec) return true;
    return false;
}

class Checker {
public:
    std::string run() {
        if (!g_players) return g_worlds ? "worlds without players" : std::string();
        if (std::string r = CheckLinks(g_players, "the players"); !r.empty()) return r;
        if (std::string r = CheckLinks(g_worlds, "the worlds"); !r.empty()) return r;
        for (const Player* p = g_players; p; p = p->next) players_.insert(p);
        neutral_ = LastOf(g_players);
        int number = 0;
        for (World* w = g_worlds; w; w = w->next) {
            ++number;
            if (std::string r = world(*w, "world " + std::to_string(number)); !r.empty()) return r;
        }
        if (g_currentWorld && !Holds(g_worlds, static_cast<const World*>(g_currentWorld)))
            return "the world shown is not a world of the game";
        if (g_lastWorld != LastOf(g_worlds)) return "the last world is not the tail of the world list";
        if (!pointer(g_selPlanet, planets_) || !pointer(g_hoverPlanet, planets_)) return "a planet pointer is stale";
        if (!pointer(g_selAsteroid, asteroids_) || !pointer(g_hoverAsteroid, asteroids_))
            return "an asteroid pointer is stale";
        if (!pointer(g_selShip, ships_) || !pointer(g_hoverShip, ships_) || !pointer(g_dockSelection, ships_))
            return "a ship pointer is stale";
        for (const Player* p = g_players; p != neutral_; p = p->next) {
            const int index = IndexOf(g_players, p);
            if (p->planetCount != planetsOf_[p])
                return "player " + std::to_string(index) + " counts " + Counted(p->planetCount, "planet") +
                       " but owns " + std::to_string(planetsOf_[p]);
            if (p->shipCount != shipsOf_[p])
                return "player " + std::to_string(index) + " counts " + Counted(p->shipCount, "ship") +
                       " but owns " + std::to_string(shipsOf_[p]);
        }
        return {};
    }

private:
    template <typename T>
    static bool pointer(const T* p, const std::set<const void*>& live) {
        return !p || live.count(p);
    }

    std::string owner(const Player* o, const std::string& what) {
        if (!o) return what + " has no owner";
        if (!players_.count(o)) return what + " belongs to no player of the game";
        if (!o->race) return what + " belongs to a player without a race";
        return {};
    }

    std::string ships(const Ship* head, const std::string& what) {
        if (std::string r = CheckLinks(head, what); !r.empty()) return r;
        int n = 0;
        for (const Ship* s = head; s; s = s->next) {
            const std::string name = "ship " + std::to_string(++n) + " " + what;
            ships_.insert(s);
            if (std::string r = owner(s->owner, name); !r.empty()) return r;
            ++shipsOf_[s->owner];
            if (!Holds(static_cast<const ShipModel*>(s->owner->race->shipModels), s->model))
                return name + " is of a model not of its owner's race";
            if (s->weapon && !Holds(static_cast<const Weapon*>(s->owner->race->weapons), s->weapon))
                return name + " carries a weapon not of its owner's race";
        }
        return {};
    }

    std::string world(const World& w, const std::string& name) {
        if (!w.star) return name + " has no star";
        if (std::string r = ships(w.ships, "in the space of " + name); !r.empty()) return r;
        if (std::string r = CheckLinks(w.asteroids, "the asteroids of " + name); !r.empty()) return r;
        int n = 0;
        for (const Asteroid* a = w.asteroids; a; a = a->next) {
            asteroids_.insert(a);
            if (std::string r = ships(a->ships, "on asteroid " + std::to_string(++n) + " of " + name); !r.empty())
                return r;
        }
        if (std::string r = CheckLinks(w.planets, "the planets of " + name); !r.empty()) return r;
        n = 0;
        for (const Planet* p = w.planets; p; p = p->next) {
            const std::string what = "planet " + std::to_string(++n) + " of " + name;
            planets_.insert(p);
            if (std::string r = owner(p->owner, what); !r.empty()) return r;
            ++planetsOf_[p->owner];
            if (p->weapon && !Holds(static_cast<const Weapon*>(p->owner->race->weapons), p->weapon))
                return what + " carries a weapon not of its owner's race";
            if (std::string r = ships(p->docks, "docked at " + what); !r.empty()) return r;
        }
        return {};
    }

    std::set<const Player*> players_;
    const Player* neutral_ = nullptr;
    std::set<const void*> planets_, asteroids_, ships_;
    std::map<const Player*, int> planetsOf_, shipsOf_;
};

}  // namespace

std::string CheckConsistency() { return Checker().run(); }

}  // namespace qv
