// quorvane-make-pictures: paints the pictures and cursors built into the
// program.
//
//   quorvane-make-pictures OUT_DIR
//
// Writes OUT_DIR/pictures/<name>.png (map pictures, title, About lettering,
// button captions; opaque), OUT_DIR/cursors/<role>.png (32 x 32, black and
// white on transparent) and the application icon OUT_DIR/icon/icon.png
// (256 x 256) and OUT_DIR/icon/icon_48.png (48 x 48), a rounded square on
// transparent. The pictures come from fixed seeds, so two runs give the same
// bytes. Exit status: 0 when every file was written, 1 (with a
// one-line message on stderr) when one could not be, 2 on wrong usage.
//
// Text needs a font engine, hence a QGuiApplication; it runs on Qt's
// offscreen platform and needs no display.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string_view>
#include <string>
#include <vector>

#include "built_in_pictures.h"
#include "pictures.h"
#include "presentation/media/cursor_set.h"

using namespace qv::pictures;

namespace {

// The application icon's files under OUT_DIR/icon: the window and the
// desktop's icon theme take them at these sizes.
struct IconFile {
    const char* name;
    int size;
};
constexpr IconFile kIconFiles[] = {{"icon", 256}, {"icon_48", 48}};

// The painter of each picture of the built-in set, by name.
QImage Paint(std::string_view name, QSize size) {
    struct Caption {
        std::string_view name;
        const char* text;
    };
    static constexpr Caption kCaptions[] = {
        {"button_cancel", "Cancel"},          {"button_start_ship", "Start ship"},
        {"button_load_ship", "Load ship"},    {"button_build_ship", "Build ship"},
        {"button_sell_ship", "Sell ship"},    {"button_equip_ship", "Equip ship"},
        {"button_unload_ship", "Unload ship"}, {"button_equip_planet", "Equip planet"},
        {"button_sell", "Sell"},              {"button_buy", "Buy"},
        {"button_hyper_jump", "Hyper Jump"},  {"button_start_missile", "Start Missile"},
        {"button_ok", "Ok"},                  {"button_repair_planet", "Repair Planet"},
        {"button_repair_ship", "Repair Ship"},
    };
    if (name == "stars") return StarField();
    if (name == "star_yellow") return GlowingStar(false);
    if (name == "star_blue") return GlowingStar(true);
    if (name == "planet1") return Planet(1);
    if (name == "planet2") return Planet(2);
    if (name == "planet3") return Planet(3);
    if (name == "asteroid_rich") return Asteroid(false);
    if (name == "asteroid_spent") return Asteroid(true);
    if (name == "blast_small_a") return Blast(BlastKind::SmallA);
    if (name == "blast_small_b") return Blast(BlastKind::SmallB);
    if (name == "blast_large") return Blast(BlastKind::Large);
    if (name == "title") return Title();
    if (name == "about") return AboutLettering();
    for (const Caption& c : kCaptions)
        if (c.name == name) return ButtonCaption(size, QString::fromLatin1(c.text));
    return {};
}

bool Save(const QImage& img, const QString& path) {
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argc > 0 ? argv[0] : "quorvane-make-pictures");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("pictures")) || !out.mkpath(QStringLiteral("cursors")) ||
        !out.mkpath(QStringLiteral("icon"))) {
        std::fprintf(stderr, "cannot create the folders under %s\n", argv[1]);
        return 1;
    }
    for (const qv::media::PictureEntry& entry : qv::media::kBuiltInPictures) {
        const std::string name(entry.name);
        const QImage img = Paint(entry.name, QSize(entry.width, entry.height));
        if (img.isNull()) {
            std::fprintf(stderr, "no painter for the picture %s\n", name.c_str());
            return 1;
        }
        if (img.width() != entry.width || img.height() != entry.height) {
            std::fprintf(stderr, "%s came out %dx%d instead of %dx%d\n", name.c_str(), img.width(), img.height(),
                         entry.width, entry.height);
            return 1;
        }
        if (!Save(img, out.filePath(QStringLiteral("pictures/%1.png").arg(QString::fromStdString(name))))) return 1;
    }
    for (const qv::media::CursorEntry& entry : qv::media::kCursorTable) {
        if (entry.resource.empty()) continue;
        const std::string role(entry.name);
        const QImage img = CursorPicture(role.c_str());
        if (qAlpha(img.pixel(entry.hotX, entry.hotY)) == 0 && entry.role <= qv::media::CursorRole::ScrollUpRight) {
            std::fprintf(stderr, "the tip of cursor %s misses its hot spot\n", role.c_str());
            return 1;
        }
        if (!Save(img, out.filePath(QStringLiteral("cursors/%1.png").arg(QString::fromStdString(role))))) return 1;
    }
    for (const IconFile& icon : kIconFiles) {
        const QImage img = ApplicationIcon(icon.size);
        if (img.width() != icon.size || img.height() != icon.size) {
            std::fprintf(stderr, "the icon %s came out %dx%d instead of %dx%d\n", icon.name, img.width(), img.height(),
                         icon.size, icon.size);
            return 1;
        }
        if (!Save(img, out.filePath(QStringLiteral("icon/%1.png").arg(QLatin1String(icon.name))))) return 1;
    }
    return 0;
}
