#include "ToolsPalette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "Icons.h"
#include "TrackList.h"
#include "chart/Genres.h"

namespace {
// Layout units to pixels: the palette is laid out in quarters of a character's width and
// eighths of its height, as dialogs of this kind are, for a 7 × 15-pixel character.
constexpr double kUnitX = 1.75;
constexpr double kUnitY = 1.85;
int Px(int units) {
    return static_cast<int>(units * kUnitX + 0.5);
}
int Py(int units) {
    return static_cast<int>(units * kUnitY + 0.5);
}
}  // namespace

ToolsPalette::ToolsPalette(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setWindowTitle("TOOLS");
    setFixedSize(Px(207), Py(192));

    auto frame = [this](const char* text, int left, int top, int width, int height) {
        auto* box = new QGroupBox(text, this);
        Place(box, left, top, width, height);
    };
    frame("Music Information", 77, 3, 127, 93);
    frame("Music Tools", 77, 100, 126, 59);
    auto label = [this](const char* text, int left, int top, int width) {
        auto* l = new QLabel(text, this);
        Place(l, left, top - 1, width + 4, 10);
    };
    label("TITLE", 94, 16, 19);
    label("Composer", 78, 32, 36);
    label("RYXer", 92, 48, 21);
    label("Ext. Genre", 79, 65, 34);
    label("Genre", 91, 81, 21);
    label("LV", 163, 82, 9);

    auto field = [this](int top, const char* hintText) {
        auto* edit = new QLineEdit(this);
        Place(edit, 116, top, 82, 12);
        Hint(edit, hintText);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
            emit songFieldsEdited();
            // Enter keeps the focus in the field until now; leaving it for another field of the
            // palette must not take the keyboard away from the author.
            if (edit->hasFocus()) emit done();
        });
        connect(edit, &QLineEdit::textEdited, this, &ToolsPalette::songFieldsTyped);
        return edit;
    };
    title = field(14, "Title of MIDI File.");
    composer = field(30, "Composer or Singer of MIDI File.");
    author = field(46, "Your Name!.");
    extGenre = field(63, "Extended Genre (As you Wish!)");
    connect(extGenre, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::string kept = FilterExtendedGenre(text.toStdString());
        if (kept.empty() && !text.isEmpty()) extGenre->setText(QString());
    });

    genre = new QComboBox(this);
    Place(genre, 116, 79, 44, 12);
    for (int g = 0; g < kGenreCount; ++g) genre->addItem(QString::fromStdString(GenreListText(g)));
    Hint(genre, "Main Genre.");
    level = new QComboBox(this);
    Place(level, 175, 79, 24, 12);
    for (int l = 0; l < kLevelCount; ++l) level->addItem(QString::fromStdString(LevelListText(l)));
    Hint(level, "Select Difficulty of RYX.");
    for (QComboBox* list : {genre, level}) {
        connect(list, &QComboBox::activated, this, [this] {
            emit songFieldsEdited();
            emit done();
        });
    }

    play = Button(MakeIcon(IconKind::Play), 83, "Play/Pause RYX. Shortcut 'F3'");
    stopButton =
        Button(MakeIcon(IconKind::Stop), 106, "Stop RYX Playing, Rewind to Start Position. Shortcut 'F4'");
    QToolButton* plus =
        Button(MakeIcon(IconKind::SelectAll), 129, "Select All Notes in Selected Track. Shortcut 'Ctrl+A'");
    minus = Button(MakeIcon(IconKind::DeselectAll), 152, "");
    ShowKeyChoice(true);
    QToolButton* settings = Button(MakeIcon(IconKind::Options), 175, "Options. Not Beginner. Shortcut 'F2'");
    connect(play, &QToolButton::clicked, this, &ToolsPalette::playPause);
    connect(stopButton, &QToolButton::clicked, this, &ToolsPalette::stop);
    connect(plus, &QToolButton::clicked, this, &ToolsPalette::selectAll);
    connect(minus, &QToolButton::clicked, this, &ToolsPalette::deselectAll);
    connect(settings, &QToolButton::clicked, this, &ToolsPalette::options);

    onlyTrack = new QCheckBox("Play only Selected Track", this);
    Place(onlyTrack, 83, 136, 110, 9);
    Hint(onlyTrack, "Play only in Selected Track. Shortcut 'F5'");
    onlyNotes = new QCheckBox("Play Only Selected Notes", this);
    Place(onlyNotes, 83, 147, 110, 9);
    Hint(onlyNotes, "Play only in Selected Note. Shortcut 'F6'");
    // The boxes show what the filter rules decided, so a click only asks; ShowBoxes answers.
    connect(onlyTrack, &QCheckBox::clicked, this, &ToolsPalette::selectedTrackBoxClicked);
    connect(onlyNotes, &QCheckBox::clicked, this, &ToolsPalette::selectedNotesBoxClicked);

    time = new QLineEdit(this);
    time->setReadOnly(true);
    time->setAlignment(Qt::AlignCenter);
    time->setFocusPolicy(Qt::NoFocus);
    Place(time, 3, 147, 70, 12);
    Hint(time, "Current MIDI Time / Total MIDI Time.");
    hint = new QLineEdit(this);
    hint->setReadOnly(true);
    hint->setFocusPolicy(Qt::NoFocus);
    Place(hint, 3, 163, 200, 12);
    rating = new QLabel(this);
    Place(rating, 5, 177, 198, 12);
    Hint(rating, "How hard the player's notes are, as osu!mania rates them, and the level that suggests.");

    tracks = new TrackList(this);
    tracks->setGeometry(5, 12, 123, 255);
    Hint(tracks, "Instruments List in MIDI file.");
    connect(tracks, &TrackList::rowChosen, this, &ToolsPalette::trackChosen);
    connect(tracks, &TrackList::clicked, this, &ToolsPalette::done);
    SetTransportEnabled(false);
    ShowBoxes({});
}

void ToolsPalette::Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Px(left), Py(top), Px(width), Py(height));
}

QToolButton* ToolsPalette::Button(const QIcon& icon, int left, const char* hintText) {
    auto* button = new QToolButton(this);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::NoFocus);
    Place(button, left, 111, 23, 22);
    Hint(button, hintText);
    connect(button, &QToolButton::clicked, this, &ToolsPalette::done);
    return button;
}

void ToolsPalette::Hint(QWidget* widget, const char* text) {
    widget->setProperty("ryxHint", QString(text));
    widget->setAttribute(Qt::WA_Hover);
    widget->installEventFilter(this);
}

bool ToolsPalette::eventFilter(QObject* watched, QEvent* event) {
    // The hint line names what the mouse is over and empties when it leaves it.
    if (event->type() == QEvent::Enter) hint->setText(watched->property("ryxHint").toString());
    if (event->type() == QEvent::Leave) hint->clear();
    return QDialog::eventFilter(watched, event);
}

void ToolsPalette::Fill(const PaletteFields& fields) {
    ShowSongFields({fields.title, fields.composer, fields.author, fields.extGenre,
                    static_cast<int16_t>(fields.level), static_cast<int16_t>(fields.genre)});
    tracks->Clear();
    for (const std::string& row : fields.trackRows) tracks->AddRow(QString::fromStdString(row));
    tracks->SelectRow(fields.selectedRow);
}

void ToolsPalette::ShowSongFields(const SongFields& fields) {
    title->setText(QString::fromStdString(fields.title));
    composer->setText(QString::fromStdString(fields.composer));
    author->setText(QString::fromStdString(fields.author));
    extGenre->setText(QString::fromStdString(fields.extGenre));
    genre->setCurrentIndex(fields.genre >= 0 && fields.genre < kGenreCount ? fields.genre : 0);
    level->setCurrentIndex(fields.level >= 0 && fields.level < kLevelCount ? fields.level : 0);
}

PaletteFields ToolsPalette::Fields() const {
    PaletteFields fields;
    fields.title = title->text().toStdString();
    fields.composer = composer->text().toStdString();
    fields.author = author->text().toStdString();
    fields.extGenre = extGenre->text().toStdString();
    fields.genre = genre->currentIndex();
    fields.level = level->currentIndex();
    for (int row = 0; row < tracks->RowCount(); ++row)
        fields.trackRows.push_back(tracks->RowText(row).toStdString());
    fields.selectedRow = tracks->SelectedRow();
    return fields;
}

void ToolsPalette::ShowKeyChoice(bool ctrlZUndoes) {
    minus->setProperty("ryxHint", ctrlZUndoes ? "Delete All Notes in Selected Track. Shortcut 'Ctrl+Shift+D'"
                                              : "Delete All Notes in Selected Track. Shortcut 'Ctrl+Z'");
}

void ToolsPalette::SetRating(const QString& text) {
    rating->setText(text);
}

QString ToolsPalette::RatingText() const {
    return rating->text();
}

void ToolsPalette::SetTimeText(const QString& text) {
    time->setText(text);
}

QString ToolsPalette::TimeText() const {
    return time->text();
}

void ToolsPalette::ShowBoxes(const PlayFilterBoxes& boxes) {
    onlyTrack->setChecked(boxes.selectedTrack);
    onlyTrack->setEnabled(boxes.selectedTrackEnabled);
    onlyNotes->setChecked(boxes.selectedNotes);
}

void ToolsPalette::SetTransportEnabled(bool enabled) {
    play->setEnabled(enabled);
    stopButton->setEnabled(enabled);
}

void ToolsPalette::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier) {
        event->accept();
        emit songFieldsEdited();
        emit save();
        return;
    }
    // Enter and Escape would close a dialog; the palette stays.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit done();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ToolsPalette::reject() {
    // Escape and the window's close button never close the palette; it lives with the program.
}
