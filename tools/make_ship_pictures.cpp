// quorvane-make-ship-pictures: turns the text pixel art of data/ships into the
// 30 x 30 ship pictures the game loads.
//
//   quorvane-make-ship-pictures OUT_DIR SOURCE.txt...
//
// Each SOURCE.txt becomes OUT_DIR/<its name without .txt>.bmp, an uncompressed
// 24-bit bottom-up Windows bitmap. Exit status: 0 when every picture was
// written, 1 (with a one-line message on stderr) when a source is bad or a
// file cannot be written, 2 on wrong usage.
//
// Source format (see also data/ships/README.md):
//   # comment lines
//   palette: c = #RRGGBB      one line per colour character
//   30 rows of 30 characters, top row first, the ship's nose at the top
// Built in: '.' is black (transparent on the map), 'W' is pure white (drawn in
// the owner's colour). Pure black cannot be a palette colour; at most 700
// pixels may be lit.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "pixel_art.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR SOURCE.txt...\n", argc > 0 ? argv[0] : "quorvane-make-ship-pictures");
        return 2;
    }
    const fs::path outDir = argv[1];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir)) {
        std::fprintf(stderr, "cannot create the folder %s\n", outDir.string().c_str());
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const fs::path source = argv[i];
        if (source.extension() != ".txt") {
            std::fprintf(stderr, "%s: a picture source must end in .txt\n", source.string().c_str());
            return 2;
        }
        qv::art::PixelArt art;
        std::string error;
        if (!qv::art::LoadPixelArt(source.string(), art, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const std::vector<std::uint8_t> bytes = qv::art::EncodeBitmap(art);
        const fs::path target = outDir / (source.stem().string() + ".bmp");
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", target.string().c_str());
            return 1;
        }
    }
    return 0;
}
