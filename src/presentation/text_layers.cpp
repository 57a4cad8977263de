#include "presentation/text_layers.h"

#include <QByteArrayView>
#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

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

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    return 0.2126 * Linear(c.red()) + 0.7152 * Linear(c.green()) + 0.0722 * Linear(c.blue());
}

// A text colour that stands out against the black outline: a dark player
// colour is made lighter, its hue and saturation kept, in steps of 1/32 of
// the way to white, until its relative luminance reaches 0.25 (a contrast
// of 6 : 1 against black).
QColor OverOutline(const QColor& colour) {
    float hue = 0, saturation = 0, lightness = 0;
    colour.getHslF(&hue, &saturation, &lightness);
    QColor lifted = colour;
    for (int step = 1; step <= 32 && Luminance(lifted) < 0.25; ++step)
        lifted = QColor::fromHslF(hue, saturation, lightness + (1 - lightness) * static_cast<float>(step) / 32);
    return lifted;
}

// The panels' lines stay inside the view, this far from its right edge.
constexpr int kPanelRight = kViewWidth - 4;
// The widest a name on a panel is drawn; a longer one ends in "…".
constexpr int kNameWidth = 160;

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

void TextLayers::writeOutlined(QPainter& painter, int x, int y, const QString& text) const {
    const QPen pen = painter.pen();
    painter.setPen(kBlack);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) write(painter, x + dx, y + dy, text);
    painter.setPen(pen);
    write(painter, x, y, text);
}

void TextLayers::drawStatusLine(QPainter& painter) const {
    const Player* human = g_players;
    if (!human) return;
    painter.setFont(font_);
    painter.setPen(OverOutline(ColourOf(human)));
    writeOutlined(painter, 5, 5, QStringLiteral("Gold:"));
    writeOutlined(painter, 50, 5, QString::number(human->gold));
    writeOutlined(painter, 110, 5, QStringLiteral("Planets:"));
    writeOutlined(painter, 170, 5, QString::number(human->planetCount));
    writeOutlined(painter, 200, 5, QStringLiteral("Ships:"));
    writeOutlined(painter, 255, 5, QString::number(human->shipCount));
    writeOutlined(painter, 500, 5, QStringLiteral("World Number:"));
    if (g_currentWorld) writeOutlined(painter, 605, 5, QString::number(g_currentWorld->number));
}

// The panel's texts keep their places towards one another; the whole panel
// moves left as far as its widest line needs to end inside the view. The
// owner's line: a 9 x 9 square of the owner's colour, outlined in black like
// the texts, then the label.
void TextLayers::drawPanel(QPainter& painter, int left, int top, std::initializer_list<PanelText> texts,
                           const Player* owner, int ownerDy) const {
    const QFontMetrics metrics(font_);
    constexpr int kSwatch = 9, kLabelDx = 14;
    const QString label = owner || ownerDy ? QString::fromStdString(OwnerLabel(owner)) : QString();
    int right = 0;
    for (const PanelText& t : texts) right = std::max(right, left + t.dx + metrics.horizontalAdvance(t.text));
    if (!label.isEmpty()) right = std::max(right, left + kLabelDx + metrics.horizontalAdvance(label));
    left -= std::max(0, right - kPanelRight);
    for (const PanelText& t : texts) writeOutlined(painter, left + t.dx, top + t.dy, t.text);
    if (label.isEmpty()) return;
    const int swatchTop = top + ownerDy + ascent_ - kSwatch;
    painter.fillRect(left - 1, swatchTop - 1, kSwatch + 2, kSwatch + 2, kBlack);
    painter.fillRect(left, swatchTop, kSwatch, kSwatch, ColourOf(owner));
    writeOutlined(painter, left + kLabelDx, top + ownerDy, label);
}

QString TextLayers::name(const QString& text) const {
    return QFontMetrics(font_).elidedText(text, Qt::ElideRight, kNameWidth);
}

void TextLayers::drawPanels(QPainter& painter) const {
    if (!g_hoverPlanet && !g_hoverAsteroid && !g_hoverShip) return;
    painter.setFont(font_);
    painter.setPen(kWhite);
    if (const Planet* planet = g_hoverPlanet) {
        drawPanel(painter, 650, 180,
                  {{0, 0, QStringLiteral("Race:")},
                   {70, 0, name(RaceName(planet->owner))},
                   {0, 20, QStringLiteral("Shield Points:")},
                   {100, 20, QString::number(planet->shieldPoints)}},
                  planet->owner, 40);
    }
    if (const Asteroid* asteroid = g_hoverAsteroid) {
        drawPanel(painter, 650, 200,
                  {{0, 0, QStringLiteral("Resources:")}, {100, 0, QString::number(asteroid->resources)}});
    }
    if (const Ship* ship = g_hoverShip) {
        const QString holds = ship->holds == 0      ? QStringLiteral("No Holds.")
                              : ship->holdFull == 1 ? QStringLiteral("Full Holds.")
                                                    : QStringLiteral("Empty Holds.");
        drawPanel(painter, 600, 180,
                  {{0, 0, QStringLiteral("Race:")},
                   {50, 0, name(RaceName(ship->owner))},
                   {0, 20, QStringLiteral("Ship Type:")},
                   {80, 20, name(ship->model ? GameText(ship->model->name) : QString())},
                   {0, 40, QStringLiteral("Shield Points:")},
                   {100, 40, QString::number(ship->shieldPoints)},
                   {0, 60, holds}},
                  ship->owner, 80);
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
    if (g_gameOver != 1 && g_victory != 1) return;
    painter.setFont(font_);
    painter.setPen(kWhite);
    writeOutlined(painter, 100, 300, g_gameOver == 1 ? QStringLiteral("GAME OVER") : QStringLiteral("VICTORY"));
}

}  // namespace qv
