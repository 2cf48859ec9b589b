#include "PickNotesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

PickNotesDialog::PickNotesDialog(double stars, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Pick Notes");
    starsBox = new QDoubleSpinBox(this);
    starsBox->setRange(0.5, 10);
    starsBox->setSingleStep(0.1);
    starsBox->setDecimals(2);
    starsBox->setSuffix(" stars");
    starsBox->setValue(stars);
    tracksBox = new QComboBox(this);
    tracksBox->addItems({"The current track", "Every track"});
    auto* form = new QFormLayout;
    form->addRow("Difficulty", starsBox);
    form->addRow("Notes from", tracksBox);
    auto* explain = new QLabel(
        "The player's notes are chosen anew: strong beats first, then the longest, loudest and highest, "
        "each in its lane, never too close, until the rating is reached. Undo brings back the notes you had.",
        this);
    explain->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explain);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

double PickNotesDialog::Stars() const {
    return starsBox->value();
}

bool PickNotesDialog::AllTracks() const {
    return tracksBox->currentIndex() == 1;
}
