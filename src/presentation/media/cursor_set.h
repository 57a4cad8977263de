// The sixteen mouse cursors of the map view: what each announces, its built-in
// picture (32 x 32, black outline and white fill on transparent) and its hot
// spot. The standard arrow is the system's own and has no picture.
//
// quorvane-make-pictures paints the pictures under the names given here, and
// the view builds its cursors with CursorFor once, on the GUI thread.
#pragma once

#include <QCursor>

#include <array>
#include <string_view>

#include "model/cursor_kinds.h"

namespace qv::media {

// The roles are the map's cursors as the orders name them: gun sight
// (Attack), an arrow down onto an oval with MOVE, JUMP or LAND, a question
// mark (Information), a rocket (Missile), an arrow inside a ring with a
// second ring behind it (HyperJump), and the eight scroll arrows.
using CursorRole = ::qv::MapCursor;

struct CursorEntry {
    CursorRole role;
    std::string_view name;      // also the picture's file name without ".png"
    std::string_view resource;  // Qt resource path; empty for the standard arrow
    int hotX;
    int hotY;
};

// In the order of CursorRole.
inline constexpr std::array<CursorEntry, 16> kCursorTable = {{
    {CursorRole::Standard, "standard", "", 0, 0},
    {CursorRole::ScrollUpLeft, "scroll_up_left", ":/cursors/scroll_up_left.png", 0, 0},
    {CursorRole::ScrollDownRight, "scroll_down_right", ":/cursors/scroll_down_right.png", 31, 31},
    {CursorRole::ScrollDownLeft, "scroll_down_left", ":/cursors/scroll_down_left.png", 0, 31},
    {CursorRole::ScrollUp, "scroll_up", ":/cursors/scroll_up.png", 15, 0},
    {CursorRole::ScrollDown, "scroll_down", ":/cursors/scroll_down.png", 16, 31},
    {CursorRole::ScrollRight, "scroll_right", ":/cursors/scroll_right.png", 31, 16},
    {CursorRole::ScrollLeft, "scroll_left", ":/cursors/scroll_left.png", 0, 15},
    {CursorRole::ScrollUpRight, "scroll_up_right", ":/cursors/scroll_up_right.png", 31, 0},
    {CursorRole::Attack, "attack", ":/cursors/attack.png", 15, 15},
    {CursorRole::Move, "move", ":/cursors/move.png", 15, 14},
    {CursorRole::Jump, "jump", ":/cursors/jump.png", 15, 14},
    {CursorRole::Land, "land", ":/cursors/land.png", 15, 14},
    {CursorRole::Information, "information", ":/cursors/information.png", 15, 16},
    {CursorRole::Missile, "missile", ":/cursors/missile.png", 16, 15},
    {CursorRole::HyperJump, "hyper_jump", ":/cursors/hyper_jump.png", 18, 15},
}};

constexpr const CursorEntry& CursorEntryFor(CursorRole role) { return kCursorTable[static_cast<std::size_t>(role)]; }

// The cursor for a role: the system arrow for Standard, otherwise the built-in
// picture with its hot spot (the system arrow too if the picture is missing).
// Needs a QGuiApplication; call it on the GUI thread.
QCursor CursorFor(CursorRole role);

}  // namespace qv::media
