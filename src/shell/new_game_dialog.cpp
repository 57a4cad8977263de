#include "shell/new_game_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "shell/picture_button.h"

namespace qv::shell {

namespace {

const char* const kLabels[NewGameDialog::kListCount] = {"Worlds Quantity", "Worlds Size", "Resources", "Unstability",
                                                        "AI Players",      "Credits",     "Race Type"};

const QStringList kEntries[NewGameDialog::RaceType] = {
    {"Lots", "Several", "Few"},
    {"Huge", "Large", "Medium", "Small", "Tiny"},
    {"Lots", "Several", "Few"},
    {"High", "Medium", "Low", "None"},
    {"Lots", "Several", "Few"},
    {"5000", "3000", "2000", "1000", "500"},
};

const char* const kObjectNames[NewGameDialog::kListCount] = {"worldsQuantity", "worldsSize", "resources", "unstability",
                                                             "aiPlayers",      "credits",    "raceType"};

}  // namespace

const char* NewGameDialog::Label(List which) { return kLabels[which]; }

NewGameDialog::NewGameDialog(const NewGameOptions& remembered, const Race* races, QWidget* parent)
    : QDialog(parent), scrollSpeed_(remembered.scrollSpeedOption) {
    setWindowTitle(QStringLiteral("New Game"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* grid = new QGridLayout;
    for (int i = 0; i < kListCount; ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(kObjectNames[i]));
        combo->setMinimumWidth(150);
        auto* label = new QLabel(QString::fromLatin1(kLabels[i]), this);
        label->setBuddy(combo);
        grid->addWidget(label, i, 0);
        grid->addWidget(combo, i, 1);
        lists_[i] = combo;
    }

    // First the fixed lists, each set to the remembered entry.
    const std::int32_t indexes[RaceType] = {remembered.worldsQuantityOption, remembered.worldsSizeOption,
                                            remembered.resourcesOption,      remembered.unstabilityOption,
                                            remembered.aiPlayersOption,      remembered.creditsOption};
    for (int i = 0; i < RaceType; ++i) {
        lists_[i]->addItems(kEntries[i]);
        lists_[i]->setCurrentIndex(indexes[i] >= 0 && indexes[i] < lists_[i]->count() ? indexes[i] : -1);
    }

    // Then the buttons' pictures.
    const PictureSet& pictures = ShellPictures();
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    cancel_ = MakePictureButton(pictures, PictureRole::ButtonCancel, QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // The race names come last, so the race list opens with nothing chosen.
    for (const Race* r = races; r; r = r->next) lists_[RaceType]->addItem(QString::fromStdString(r->name));
    lists_[RaceType]->setCurrentIndex(-1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

NewGameOptions NewGameDialog::chosen() const {
    NewGameOptions o;
    o.worldsQuantityOption = lists_[WorldsQuantity]->currentIndex();
    o.worldsSizeOption = lists_[WorldsSize]->currentIndex();
    o.resourcesOption = lists_[Resources]->currentIndex();
    o.unstabilityOption = lists_[Unstability]->currentIndex();
    o.aiPlayersOption = lists_[AiPlayers]->currentIndex();
    o.creditsOption = lists_[Credits]->currentIndex();
    o.raceOption = lists_[RaceType]->currentIndex();
    o.scrollSpeedOption = scrollSpeed_;
    return o;
}

}  // namespace qv::shell
