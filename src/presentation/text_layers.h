// The texts drawn over the map: the status line (every frame), and in idle
// frames the information panel of the hovered record, the computer-move box
// and the game-over text. Positions are the top-left corners of the texts.
#pragma once

#include <QFont>
#include <QString>

#include <string>

class QPainter;

namespace qv {

// The small sans-serif font of every text on the map and the title screen.
QFont MapFont();

// A name from a race file: UTF-8 when it is valid UTF-8, else Latin-1.
QString GameText(const std::string& bytes);

class TextLayers {
public:
    TextLayers();

    // "Gold:", "Planets:", "Ships:" and "World Number:" with their values, in
    // the human player's colour. Nothing without players; no world number
    // without a current world.
    void drawStatusLine(QPainter& painter) const;

    // The panels of the hovered planet, asteroid and ship (each when its
    // pointer is set), in white.
    void drawPanels(QPainter& painter) const;

    // The rounded box with "Computer move" and the turn, while the computer
    // players move.
    void drawComputerMove(QPainter& painter) const;

    // "GAME OVER" once the human player has lost.
    void drawGameOver(QPainter& painter) const;

    // Writes text with its top-left corner at (x, y) in the painter's pen.
    void write(QPainter& painter, int x, int y, const QString& text) const;

    const QFont& font() const { return font_; }

private:
    QFont font_;
    int ascent_ = 0;
};

}  // namespace qv
