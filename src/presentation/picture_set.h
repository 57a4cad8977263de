// The pictures the map, the title screen and the dialogs draw: one QImage
// per role, loaded once and shared read-only afterwards. The pictures drawn
// over the star field (the stars, planets, asteroids and blasts) are painted
// on black; they are kept in Format_ARGB32_Premultiplied with that black
// background transparent, so that only the body shows on the field. The
// others are opaque, in Format_RGB32.
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstddef>

namespace qv {

enum class PictureRole : int {
    Stars,          // 800 x 600, the map background
    StarYellow,     // 163 x 158, star of kind 1
    StarBlue,       // 163 x 158, star of kind 2
    Planet1,        // 60 x 60
    Planet2,        // 60 x 60
    Planet3,        // 60 x 60
    AsteroidRich,   // 34 x 34, resources left
    AsteroidSpent,  // 34 x 34, nothing left
    BlastSmallA,    // 30 x 30
    BlastSmallB,    // 30 x 30
    BlastLarge,     // 60 x 60
    Title,          // 800 x 600
    About,          // 277 x 31
    ButtonCancel,
    ButtonStartShip,
    ButtonLoadShip,
    ButtonBuildShip,
    ButtonSellShip,
    ButtonEquipShip,
    ButtonUnloadShip,
    ButtonEquipPlanet,
    ButtonSell,
    ButtonBuy,
    ButtonHyperJump,
    ButtonStartMissile,
    ButtonOk,
    ButtonRepairPlanet,
    ButtonRepairShip,
};

inline constexpr int kPictureRoleCount = static_cast<int>(PictureRole::ButtonRepairShip) + 1;

struct PictureInfo {
    const char* name;  // resource name: ":/pictures/<name>.png"
    int width;
    int height;
    const char* caption;  // the text a button picture carries, else null
};

const PictureInfo& InfoOf(PictureRole role);

class PictureSet {
public:
    // Every role with its generated stand-in.
    PictureSet();

    // The pictures from the resources ":/pictures/<name>.png"; a role whose
    // resource is missing, unreadable or of another size keeps its stand-in.
    static PictureSet Load();

    // Replaces one picture, given opaque on black (converted to Format_RGB32,
    // then to the role's format). A null image puts the stand-in back.
    void set(PictureRole role, const QImage& image);

    const QImage& get(PictureRole role) const { return images_[index(role)]; }

    // True when the picture came from its resource, not a stand-in.
    bool loaded(PictureRole role) const { return loaded_[index(role)]; }

    // A plain picture of the role's size: recognisable shapes on black for
    // the map pictures, the caption on grey for the buttons.
    static QImage StandIn(PictureRole role);

    static QString ResourcePath(PictureRole role);

private:
    static std::size_t index(PictureRole role) { return static_cast<std::size_t>(role); }

    std::array<QImage, kPictureRoleCount> images_;
    std::array<bool, kPictureRoleCount> loaded_{};
};

}  // namespace qv
