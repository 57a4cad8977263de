// The texts drawn over the map: the status line (every frame), and in idle
// frames the information panel of the hovered record, the computer-move box
// and the game-over text. Positions are the top-left corners of the texts.
// The texts over the map itself have a one-pixel black outline, so that they
// read over its lightest and darkest parts alike.
#pragma once

#include <QFont>
#include <QString>

#include <initializer_list>
#include <string>

class QPainter;

namespace qv {

struct Player;

// The small sans-serif font of every text on the map and the title screen.
QFont MapFont();

// A name from a race file: UTF-8 when it is valid UTF-8, else Latin-1.
QString GameText(const std::string& bytes);

class TextLayers {
public:
    TextLayers();

    // "Gold:", "Planets:", "Ships:" and "World Number:" with their values, in
    // the human player's colour (a dark one lightened to stand out against
    // the outline). Nothing without players; no world number without a
    // current world.
    void drawStatusLine(QPainter& painter) const;

    // The panels of the hovered planet, asteroid and ship (each when its
    // pointer is set), in white. A planet's and a ship's panel end with whose
    // it is ("Yours", "Computer N", "Neutral") after a small square of the
    // owner's colour. A panel that would reach past the view's right edge
    // moves left as a whole; a race or ship model name wider than 160 pixels
    // is cut short with "…".
    void drawPanels(QPainter& painter) const;

    // The rounded box with "Computer move" and the turn, while the computer
    // players move.
    void drawComputerMove(QPainter& painter) const;

    // "GAME OVER" once the human player has lost; "VICTORY" in its place
    // once no computer player is left in the game.
    void drawGameOver(QPainter& painter) const;

    // Writes text with its top-left corner at (x, y) in the painter's pen.
    void write(QPainter& painter, int x, int y, const QString& text) const;
    // The same, over a black outline one pixel wide.
    void writeOutlined(QPainter& painter, int x, int y, const QString& text) const;

    const QFont& font() const { return font_; }

private:
    // One text of a panel, at (dx, dy) from the panel's corner.
    struct PanelText {
        int dx;
        int dy;
        QString text;
    };
    // With an owner, the owner's line goes under the texts at ownerDy.
    void drawPanel(QPainter& painter, int left, int top, std::initializer_list<PanelText> texts,
                   const Player* owner = nullptr, int ownerDy = 0) const;
    // A name as a panel shows it.
    QString name(const QString& text) const;

    QFont font_;
    int ascent_ = 0;
};

}  // namespace qv
