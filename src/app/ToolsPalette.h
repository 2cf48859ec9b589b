#pragma once
// ToolsPalette: the floating "TOOLS" window beside the main window: the song information
// fields, the track list, the transport and editing buttons, the two play filter boxes, the
// time read-out and a hint line for whatever the mouse is over. It only shows and forwards:
// every action is a signal the main window acts on. Moving between the text fields (click,
// Tab, Shift+Tab) keeps the keyboard in the palette; Enter in a field, a choice in the genre
// or level list and a button end with done(), so the main window takes the focus back.

#include <QDialog>
#include <array>

#include "editor/EditStep.h"
#include "editor/PaletteFill.h"
#include "editor/PlayFilterBoxes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TrackList;

class ToolsPalette : public QDialog {
    Q_OBJECT

  public:
    explicit ToolsPalette(QWidget* owner);

    void Fill(const PaletteFields& fields);
    // Shows the song information fields (after undo or redo) and leaves the track list.
    void ShowSongFields(const SongFields& fields);
    // The fields as a save takes them; the current track is the selected row.
    PaletteFields Fields() const;
    // The Delete All button's hint names its key: Ctrl+Shift+D, or Ctrl+Z with the classic keys.
    void ShowKeyChoice(bool ctrlZUndoes);
    void SetTimeText(const QString& text);
    // "Difficulty: 3.42 stars (level 5 suggested)", or empty.
    void SetRating(const QString& text);
    QString RatingText() const;
    void ShowBoxes(const PlayFilterBoxes& boxes);
    // Play/Pause and Stop stay greyed until the sound engine exists.
    void SetTransportEnabled(bool enabled);

    TrackList* Tracks() const { return tracks; }
    QLineEdit* ExtendedGenreField() const { return extGenre; }
    // The four text fields in their tab order: title, composer, author, extended genre.
    std::array<QLineEdit*, 4> TextFields() const { return {title, composer, author, extGenre}; }
    QString TimeText() const;
    QLineEdit* HintLine() const { return hint; }
    QToolButton* DeleteAllButton() const { return minus; }
    QCheckBox* SelectedTrackBox() const { return onlyTrack; }
    QCheckBox* SelectedNotesBox() const { return onlyNotes; }

  signals:
    void playPause();
    void stop();
    void selectAll();
    void deselectAll();
    void options();
    void selectedTrackBoxClicked();
    void selectedNotesBoxClicked();
    void trackChosen(int row);
    // A song information field was committed: Enter or leaving a text field, or a choice in
    // the genre or level list.
    void songFieldsEdited();
    // A text field's text was typed in (not yet committed).
    void songFieldsTyped();
    // Ctrl+S in the palette: the field being typed in is committed first.
    void save();
    void done();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Places `widget` at a rectangle given in the palette's layout units.
    void Place(QWidget* widget, int left, int top, int width, int height);
    QToolButton* Button(const QIcon& icon, int left, const char* hintText);
    void Hint(QWidget* widget, const char* text);

    QLineEdit* title;
    QLineEdit* composer;
    QLineEdit* author;
    QLineEdit* extGenre;
    QComboBox* genre;
    QComboBox* level;
    QToolButton* play;
    QToolButton* stopButton;
    QToolButton* minus;
    QCheckBox* onlyTrack;
    QCheckBox* onlyNotes;
    QLineEdit* time;
    QLineEdit* hint;
    QLabel* rating;
    TrackList* tracks;
};
