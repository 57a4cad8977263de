#include "presentation/text_layers.h"

#include <QByteArrayView>
#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStringDecoder>

#include "model/globals.h"
#include "model/records.h"
#include "presentation/raster.h"

namespace qv {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBoxGrey(128, 128, 128);

QColor ColourOf(const Player* player) {
    return QColor::fromRgb(raster::ToRgb(player ? player->colour : kNeutralColour));
}

QString RaceName(const Player* owner) {
    return owner && owner->race ? GameText(owner->race->name) : QString();
}

}  // namespace

QFont MapFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    // 13 pixels keeps every label clear of the value written after it.
    font.setPixelSize(13);
    return font;
}

QString GameText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

TextLayers::TextLayers() : font_(MapFont()), ascent_(QFontMetrics(font_).ascent()) {}

void TextLayers::write(QPainter& painter, int x, int y, const QString& text) const {
    painter.drawText(QPoint(x, y + ascent_), text);
}

void TextLayers::drawStatusLine(QPainter& painter) const {
    const Player* human = g_players;
    if (!human) return;
    painter.setFont(font_);
    painter.setPen(ColourOf(human));
    write(painter, 5, 5, QStringLiteral("Gold:"));
    write(painter, 50, 5, QString::number(human->gold));
    write(painter, 110, 5, QStringLiteral("Planets:"));
    write(painter, 170, 5, QString::number(human->planetCount));
    write(painter, 200, 5, QStringLiteral("Ships:"));
    write(painter, 255, 5, QString::number(human->shipCount));
    write(painter, 500, 5, QStringLiteral("World Number:"));
    if (g_currentWorld) write(painter, 605, 5, QString::number(g_currentWorld->number));
}

void TextLayers::drawPanels(QPainter& painter) const {
    if (!g_hoverPlanet && !g_hoverAsteroid && !g_hoverShip) return;
    painter.setFont(font_);
    painter.setPen(kWhite);
    if (const Planet* planet = g_hoverPlanet) {
        write(painter, 650, 180, QStringLiteral("Race:"));
        write(painter, 720, 180, RaceName(planet->owner));
        write(painter, 650, 200, QStringLiteral("Shield Points:"));
        write(painter, 750, 200, QString::number(planet->shieldPoints));
    }
    if (const Asteroid* asteroid = g_hoverAsteroid) {
        write(painter, 650, 200, QStringLiteral("Resources:"));
        write(painter, 750, 200, QString::number(asteroid->resources));
    }
    if (const Ship* ship = g_hoverShip) {
        write(painter, 600, 180, QStringLiteral("Race:"));
        write(painter, 650, 180, RaceName(ship->owner));
        write(painter, 600, 200, QStringLiteral("Ship Type:"));
        write(painter, 680, 200, ship->model ? GameText(ship->model->name) : QString());
        write(painter, 600, 220, QStringLiteral("Shield Points:"));
        write(painter, 700, 220, QString::number(ship->shieldPoints));
        const QString holds = ship->holds == 0      ? QStringLiteral("No Holds.")
                              : ship->holdFull == 1 ? QStringLiteral("Full Holds.")
                                                    : QStringLiteral("Empty Holds.");
        write(painter, 600, 240, holds);
    }
}

void TextLayers::drawComputerMove(QPainter& painter) const {
    if (g_computerMove != 1) return;
    // The box (300, 250) to (500, 300), corners of a 10 x 10 ellipse.
    QPen pen(kRed);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.setBrush(kBoxGrey);
    painter.drawRoundedRect(QRect(300, 250, 199, 49), 5, 5);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font_);
    painter.setPen(kBlack);
    write(painter, 350, 255, QStringLiteral("Computer move"));
    write(painter, 370, 275, QStringLiteral("TURN - "));
    write(painter, 420, 275, QString::number(g_turn));
}

void TextLayers::drawGameOver(QPainter& painter) const {
    if (g_gameOver != 1) return;
    painter.setFont(font_);
    painter.setPen(kWhite);
    write(painter, 100, 300, QStringLiteral("GAME OVER"));
}

}  // namespace qv
