// The handbook: F1 opens it on the title screen and in a game, Escape closes it, its links lead to their
// sections, its pictures load, and its tables say what the catalogue and the race files say.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextTable>
#include <QWindow>
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

// A key pressed and released, or a left click, through the window system as the user gives them.
using Now = QWindowSystemInterface::SynchronousDelivery;
void Key(QWidget* window, int key) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QWindowSystemInterface::handleKeyEvent<Now>(window->windowHandle(), type, key, Qt::NoModifier);
}
void Click(QWidget* widget, QPoint at) {
    const QPointF local = widget->mapTo(widget->window(), at), global = widget->mapToGlobal(at);
    QWindow* const window = widget->window()->windowHandle();
    QWindowSystemInterface::handleMouseEvent<Now>(window, local, global, Qt::LeftButton, Qt::LeftButton,
                                                  QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Now>(window, local, global, {}, Qt::LeftButton,
                                                  QEvent::MouseButtonRelease);
}

// Every table of the page whose first heading is `heading`, as rows of cell texts (headings left out).
std::vector<std::vector<QStringList>> Tables(QTextDocument* page, const QString& heading) {
    std::vector<std::vector<QStringList>> tables;
    for (QTextBlock b = page->begin(); b.isValid(); b = b.next()) {
        QTextTable* table = QTextCursor(b).currentTable();
        if (!table || table->cellAt(0, 0).firstCursorPosition().block() != b) continue;
        if (table->cellAt(0, 0).firstCursorPosition().block().text() != heading) continue;
        std::vector<QStringList> rows;
        for (int r = 1; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c)
                cells << table->cellAt(r, c).firstCursorPosition().block().text();
            rows.push_back(cells);
        }
        tables.push_back(rows);
    }
    return tables;
}

TEST_F(Handbook, F1OpensItOnTheTitleScreenAndInAGameItsLinksAndPicturesWorkAndEscapeClosesIt) {
    for (bool game : {false, true}) {
        SCOPED_TRACE(game ? "in a game" : "on the title screen");
        if (game) {
            ASSERT_TRUE(NewGame());
        }
        EXPECT_EQ(g_currentWorld != nullptr, game);
        frame().activateWindow();
        ASSERT_TRUE(Active(&frame()));
        Key(&frame(), Qt::Key_F1);
        HandbookDialog* const handbook = frame().handbook();
        ASSERT_TRUE(handbook && Active(handbook));
        QTextBrowser* const page = handbook->browser();
        EXPECT_EQ(handbook->windowTitle(), "How to Play");
        if (!game) {
            // Every link leads to an anchor of the page; a click on one scrolls to it.
            QSet<QString> names;
            QStringList links;
            QTextCursor races;
            for (QTextBlock b = page->document()->begin(); b.isValid(); b = b.next())
                for (auto f = b.begin(); !f.atEnd(); ++f) {
                    const QTextCharFormat format = f.fragment().charFormat();
                    for (const QString& name : format.anchorNames()) names.insert(name);
                    if (!format.anchorHref().isEmpty()) links << format.anchorHref();
                    if (format.anchorHref() == "#races")
                        races = QTextCursor(page->document()), races.setPosition(f.fragment().position() + 1);
                }
            EXPECT_GE(links.size(), 14);
            for (const QString& link : links) EXPECT_TRUE(names.contains(link.mid(1))) << link.toStdString();
            ASSERT_FALSE(races.isNull());
            page->setTextCursor(races);  // the link in sight
            page->ensureCursorVisible();
            const int before = page->verticalScrollBar()->value();
            Click(page->viewport(), page->cursorRect(races).center());
            EXPECT_TRUE(SpinUntil([&] { return page->source().fragment() == "races"; }));
            EXPECT_GT(page->verticalScrollBar()->value(), before + page->viewport()->height());
            // Every picture loads, and none is of one colour.
            int pictures = 0;
            for (QTextBlock b = page->document()->begin(); b.isValid(); b = b.next())
                for (auto f = b.begin(); !f.atEnd(); ++f) {
                    if (!f.fragment().charFormat().isImageFormat()) continue;
                    const QString name = f.fragment().charFormat().toImageFormat().name();
                    const QImage image = QImage::fromData(
                        page->loadResource(QTextDocument::ImageResource, page->source().resolved(name)).toByteArray());
                    ASSERT_FALSE(image.isNull()) << name.toStdString();
                    QImage flat(image.size(), image.format());
                    flat.fill(image.pixel(0, 0));
                    EXPECT_NE(image, flat) << name.toStdString();
                    ++pictures;
                }
            EXPECT_GE(pictures, 4 + 9 + 8);  // the game's pictures, the cursors, the buttons
        }
        Key(handbook, Qt::Key_Escape);
        EXPECT_TRUE(SpinUntil([&] { return !handbook->isVisible(); }));
    }
}

TEST_F(Handbook, ItsTablesAreTheCatalogueAndTheRaces) {
    frame().OnHowToPlay();
    QTextDocument* const page = frame().handbook()->browser()->document();
    // The planet's items, then the ship's: name, cost, half of it back; what buying adds at once.
    const auto equipment = Tables(page, "Equipment");
    ASSERT_EQ(equipment.size(), 2u);
    std::vector<QStringList> catalogue, shown;
    const auto add = [&](const auto& items) {
        for (const CatalogueItem& item : items)
            catalogue.push_back({item.name, QString::number(item.price), QString::number(item.price / 2)});
    };
    add(kPlanetEquipment);
    add(kShipEquipment);
    std::map<QString, QString> does;
    for (const auto& table : equipment)
        for (const QStringList& row : table) shown.push_back(row.mid(0, 3)), does[row[0]] = row[3];
    EXPECT_EQ(shown, catalogue);
    EXPECT_TRUE(does["Protective Shield"].startsWith(QString("+%1 shield points").arg(kShieldBonus)));
    EXPECT_TRUE(does["Protective Screen"].startsWith(QString("+%1 shield points").arg(kScreenBonus)));
    EXPECT_TRUE(does["Power Reactor"].startsWith(QString("+%1 shield points, +%2 view points, +%3 action points")
                                                     .arg(kReactorShieldBonus)
                                                     .arg(kReactorViewBonus)
                                                     .arg(kReactorActionBonus)));
    // Each race's models and weapons, in the game's list order.
    const auto models = Tables(page, "Model"), weapons = Tables(page, "Weapon");
    std::size_t n = 0;
    for (const Race* race = g_races; race; race = race->next, ++n) {
        SCOPED_TRACE(race->name);
        ASSERT_LT(n, models.size());
        std::vector<QStringList> expected;
        for (const ShipModel* m = race->shipModels; m; m = m->next)
            expected.push_back({QString::fromStdString(m->name), QString::number(m->speed), QString::number(m->survey),
                                QString::number(m->hold), QString::number(m->defence), QString::number(m->cost)});
        EXPECT_EQ(models[n], expected);
        expected.clear();
        int i = 0;
        for (const Weapon* w = race->weapons; w; w = w->next)  // a hit takes min + a draw below max - min
            expected.push_back({QString::fromStdString(w->name), QString::number(w->range),
                                QString("%1\u2013%2").arg(w->minDamage).arg(w->maxDamage - 1), QString::number(w->cost),
                                QString::number(w->cost / 2), ++i <= 3 ? "yes" : "no"});
        EXPECT_EQ(weapons[n], expected);
    }
    EXPECT_EQ(n, models.size());
    EXPECT_EQ(n, weapons.size());
}

}  // namespace
}  // namespace qv::shell::test
