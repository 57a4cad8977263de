#include "turn/end_turn.h"

#include "model/globals.h"
#include "model/platform.h"
#include "turn/computer_players.h"
#include "turn/instability.h"
#include "turn/orbits.h"
#include "turn/turn_report.h"

namespace qv {

namespace {

// A docked or landed ship rests: its model's speed, doubled by an
// Accelerator (a Power Reactor adds nothing here).
void RenewResting(Ship* head) {
    for (Ship* s = head; s; s = s->next) {
        const int speed = s->model ? s->model->speed : 0;
        s->actionPoints = s->equip[kAccelerator] ? speed * 2 : speed;
        if (s->weapon) s->weaponReady = 1;
    }
}

}  // namespace

bool ComputersDefeated() {
    const Player* human = g_players;
    if (!human || !human->next || !human->next->next) return false;
    for (const Player* p = human->next; p->next; p = p->next)
        if (p->planetCount != 0 || p->shipCount != 0) return false;
    return true;
}

void CollectIncome() {
    for (Player* p = g_players; p; p = p->next) p->gold += p->planetCount * 100;
}

void RenewWorlds() {
    for (World* w = g_worlds; w; w = w->next) {
        for (Ship* s = w->ships; s; s = s->next) {
            const int speed = s->model ? s->model->speed : 0;
            s->actionPoints = s->equip[kAccelerator] ? speed + 50 : speed;
            if (s->equip[kPowerReactor]) s->actionPoints += 50;
            if (s->weapon) s->weaponReady = 1;
        }
        for (Planet* p = w->planets; p; p = p->next) {
            if (p->weapon) p->weaponReady = 1;
            if (p->equip[kGlobalBankSystem] && p->owner) p->owner->gold += 150;
            RenewResting(p->docks);
        }
        for (Asteroid* a = w->asteroids; a; a = a->next) RenewResting(a->ships);
    }
}

void OnEndTurn(bool autopilot) {
    if (!g_currentWorld || !g_players) return;
    Platform& platform = CurrentPlatform();
    platform.setCursor(kCursorWait);
    g_computerMove = 1;
    OpenTurnReport();
    // The "Computer move" box is on screen before the computer players move.
    platform.waitForFrame();
    ComputerPlayersTurn(autopilot);
    for (World* w = g_worlds; w; w = w->next) MoveWorldBodies(w);
    InstabilityEvents(g_unstability);
    CollectIncome();
    RenewWorlds();
    g_computerMove = 0;
    platform.setCursor(kCursorArrow);
    ++g_turn;
    if (g_players->planetCount == 0 && g_players->shipCount == 0) g_gameOver = 1;
    g_victory = !g_gameOver && ComputersDefeated();
    CloseTurnReport();
}

}  // namespace qv
