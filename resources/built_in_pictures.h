// The pictures built into the program (Qt resources under :/pictures/), with
// the size each one has. quorvane-make-pictures paints them; the view loads
// them once when its window is prepared.
#pragma once

#include <QImage>

#include <array>
#include <string_view>

namespace qv::media {

struct PictureEntry {
    std::string_view name;  // ":/pictures/<name>.png"
    int width;
    int height;
};

inline constexpr std::array<PictureEntry, 28> kBuiltInPictures = {{
    {"stars", 800, 600},              // the map background, a star field on black
    {"star_yellow", 163, 158},        // star of kind 1
    {"star_blue", 163, 158},          // star of kind 2
    {"planet1", 60, 60},              // white and grey
    {"planet2", 60, 60},              // grey with cyan
    {"planet3", 60, 60},              // brown and grey
    {"asteroid_rich", 34, 34},        // dark rock: resources left
    {"asteroid_spent", 34, 34},       // pale sandy rock: none left
    {"blast_small_a", 30, 30},        // small explosion, first picture
    {"blast_small_b", 30, 30},        // small explosion, second picture
    {"blast_large", 60, 60},          // planet explosion
    {"title", 800, 600},              // title screen
    {"about", 277, 31},               // title lettering for the About box
    {"button_cancel", 60, 25},
    {"button_start_ship", 65, 25},
    {"button_load_ship", 70, 25},
    {"button_build_ship", 70, 25},
    {"button_sell_ship", 70, 25},
    {"button_equip_ship", 70, 25},
    {"button_unload_ship", 76, 25},
    {"button_equip_planet", 80, 24},
    {"button_sell", 70, 25},
    {"button_buy", 70, 25},
    {"button_hyper_jump", 80, 25},
    {"button_start_missile", 80, 25},
    {"button_ok", 50, 25},
    {"button_repair_planet", 88, 25},
    {"button_repair_ship", 89, 25},
}};

// The picture of that name as an opaque Format_RGB32 image, ready for plain
// copies (QPainter::drawImage of RGB32 onto RGB32 copies without blending);
// a null image when there is no such picture.
QImage LoadBuiltInPicture(std::string_view name);

}  // namespace qv::media
