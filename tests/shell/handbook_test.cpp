// The handbook: F1 opens it on the title screen and in a game, Escape closes it; its links, pictures and tables.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextTable>
#include <QWindow>
#include <span>
#include <qpa/qwindowsysteminterface.h>

#include "model/catalogue.h"
#include "shell/handbook_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

// The window on its title screen: no game yet.
class Handbook : public ShellTest {
protected:
    void SetUp() override {
        ResetGlobals();
        ResetDrawingFlags();
        QSettings(kSettingsOrganisation, kSettingsApplication).clear();
        app_ = std::make_unique<CZarvonApp>();
        platform().setAutoAnswer(true);
        StartOptions options{{}, QStringLiteral(QUORVANE_DATA_OUT), drawing(), true};
        ASSERT_TRUE(app_->InitInstance(options));
    }
    bool Active(QWidget* window) {
        return SpinUntil([&] { return QGuiApplication::focusWindow() == window->windowHandle(); });
    }
};

// A key pressed and released through the window system, as the user gives it.
using Now = QWindowSystemInterface::SynchronousDelivery;
void Key(QWidget* window, int key) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QWindowSystemInterface::handleKeyEvent<Now>(window->windowHandle(), type, key, Qt::NoModifier);
}

TEST_F(Handbook, F1OpensItOnTheTitleScreenAndInAGameItsLinksPicturesAndTablesWorkAndEscapeClosesIt) {
    for (bool game : {false, true}) {
        SCOPED_TRACE(game ? "in a game" : "on the title screen");
        ASSERT_TRUE(!game || NewGame());
        EXPECT_EQ(g_currentWorld != nullptr, game);
        frame().activateWindow();
        ASSERT_TRUE(Active(&frame()));
        Key(&frame(), Qt::Key_F1);
        HandbookDialog* const handbook = frame().handbook();
        ASSERT_TRUE(handbook && Active(handbook));
        QTextBrowser* const page = handbook->browser();
        EXPECT_EQ(handbook->windowTitle(), "How to Play");
        if (!game) {
            // The page's tables by first heading, as rows of cell texts; its links, anchors and pictures.
            std::map<QString, std::vector<std::vector<QStringList>>> tables;
            QSet<QString> names;
            QStringList links;
            QTextCursor races;
            int pictures = 0;
            for (QTextBlock b = page->document()->begin(); b.isValid(); b = b.next()) {
                QTextTable* table = QTextCursor(b).currentTable();
                if (table && table->cellAt(0, 0).firstCursorPosition().block() == b) {
                    auto& rows = tables[b.text()].emplace_back();
                    for (int r = 1; r < table->rows(); ++r)
                        for (int c = 0; c < table->columns(); ++c)
                            (c ? rows.back() : rows.emplace_back())
                                << table->cellAt(r, c).firstCursorPosition().block().text();
                }
                for (auto f = b.begin(); !f.atEnd(); ++f) {
                    const QTextCharFormat format = f.fragment().charFormat();
                    for (const QString& name : format.anchorNames()) names.insert(name);
                    if (!format.anchorHref().isEmpty()) links << format.anchorHref();
                    if (format.anchorHref() == "#races")
                        races = QTextCursor(page->document()), races.setPosition(f.fragment().position() + 1);
                    if (!format.isImageFormat()) continue;
                    const QString name = format.toImageFormat().name();  // loads, and is not of one colour
                    const QImage image =
                        QImage::fromData(page->loadResource(QTextDocument::ImageResource, page->source().resolved(name))
                                             .toByteArray())
                            .convertToFormat(QImage::Format_ARGB32);
                    ASSERT_FALSE(image.isNull()) << name.toStdString();
                    EXPECT_NE(image, image.scaled(1, 1).scaled(image.size())) << name.toStdString();
                    ++pictures;
                }
            }
            EXPECT_GE(pictures, 4 + 9 + 8);  // the game's pictures, the cursors, the buttons
            EXPECT_GE(links.size(), 14);
            for (const QString& link : links) EXPECT_TRUE(names.contains(link.mid(1))) << link.toStdString();
            // The planet's items then the ship's: name, cost, half of it back; what buying adds at once.
            std::vector<QStringList> catalogue, shown;
            using Items = std::span<const CatalogueItem>;
            for (Items items : {Items(kPlanetEquipment), Items(kShipEquipment)})
                for (const CatalogueItem& item : items)
                    catalogue.push_back({item.name, QString::number(item.price), QString::number(item.price / 2)});
            std::map<QString, QString> does;
            for (const auto& equipment : tables["Equipment"])
                for (const QStringList& row : equipment) shown.push_back(row.mid(0, 3)), does[row[0]] = row[3];
            EXPECT_EQ(tables["Equipment"].size(), 2u);
            EXPECT_EQ(shown, catalogue);
            EXPECT_TRUE(does["Protective Shield"].startsWith(QString::asprintf("+%d shield points", kShieldBonus)));
            EXPECT_TRUE(does["Protective Screen"].startsWith(QString::asprintf("+%d shield points", kScreenBonus)));
            EXPECT_TRUE(does["Power Reactor"].startsWith(
                QString::asprintf("+%d shield points, +%d view points, +%d action points", kReactorShieldBonus,
                                  kReactorViewBonus, kReactorActionBonus)));
            // Each race's models and weapons, in the game's list order.
            std::vector<std::vector<QStringList>> models, weapons;
            for (const Race* race = g_races; race; race = race->next) {
                models.emplace_back(), weapons.emplace_back();
                for (const ShipModel* m = race->shipModels; m; m = m->next)
                    models.back().push_back({QString::fromStdString(m->name), QString::number(m->speed),
                                             QString::number(m->survey), QString::number(m->hold),
                                             QString::number(m->defence), QString::number(m->cost)});
                int i = 0;
                for (const Weapon* w = race->weapons; w; w = w->next)  // a hit takes min + a draw below max - min
                    weapons.back().push_back({QString::fromStdString(w->name), QString::number(w->range),
                                              QString("%1\u2013%2").arg(w->minDamage).arg(w->maxDamage - 1),
                                              QString::number(w->cost), QString::number(w->cost / 2),
                                              ++i <= 3 ? "yes" : "no"});
            }
            EXPECT_EQ(tables["Model"], models);
            EXPECT_EQ(tables["Weapon"], weapons);
            // A left click on the races link, in sight, scrolls to its section.
            ASSERT_FALSE(races.isNull());
            page->setTextCursor(races);
            page->ensureCursorVisible();
            const int before = page->verticalScrollBar()->value();
            const QPoint at = page->cursorRect(races).center();
            const QPointF local = page->viewport()->mapTo(handbook, at), global = page->viewport()->mapToGlobal(at);
            for (auto [buttons, type] : {std::pair(Qt::MouseButtons(Qt::LeftButton), QEvent::MouseButtonPress),
                                         std::pair(Qt::MouseButtons(), QEvent::MouseButtonRelease)})
                QWindowSystemInterface::handleMouseEvent<Now>(handbook->windowHandle(), local, global, buttons,
                                                              Qt::LeftButton, type);
            EXPECT_TRUE(SpinUntil([&] { return page->source().fragment() == "races"; }));
            EXPECT_GT(page->verticalScrollBar()->value(), before + page->viewport()->height());
        }
        Key(handbook, Qt::Key_Escape);
        EXPECT_TRUE(SpinUntil([&] { return !handbook->isVisible(); }));
    }
}

}  // namespace
}  // namespace qv::shell::test
