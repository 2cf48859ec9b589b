#pragma once
// OptionsDialog: the modal "OPTION" window: the view's frame skip, note interval and scroll
// speed, the shortest long note, the wind-instrument length trim on a chosen track, and the
// output port. Nothing changes until OK, except the port, which switches at once.

#include <QDialog>
#include <QKeySequenceEdit>
#include <QSpinBox>
#include <array>
#include <functional>
#include <optional>

#include "AppSettings.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSlider;

class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    // `trackRows` are the palette's track list rows, row i being track i; `ports` the sound
    // engine's output ports with `currentPort` chosen.
    OptionsDialog(const AppSettings& settings, const QStringList& trackRows, const QStringList& ports,
                  int currentPort, QWidget* owner);

    // Switches the output port at once when another is chosen (CANCEL does not undo it);
    // returns the port that is current afterwards, which the list then shows.
    std::function<int(int index)> changePort;

    // The settings as the dialog leaves them (after OK).
    AppSettings Applied(AppSettings settings) const;
    // The track whose lengths to trim, when "Option to Edit" is on and a track is chosen.
    std::optional<int> TrimTrack() const;

    QSlider* IntervalSlider() const { return interval; }
    QRadioButton* BeatButton(int i) const { return beats[i]; }
    QCheckBox* EditBox() const { return edit; }
    QSlider* WindSlider() const { return wind; }
    QComboBox* TrackChoice() const { return instrument; }
    QComboBox* PortChoice() const { return port; }
    QCheckBox* BeatLinesBox() const { return beatLines; }
    QCheckBox* ClassicKeysBox() const { return classicKeys; }

  private:
    // Moves the controls to `settings` ("DEFAULT" moves them to the defaults).
    void Show(const AppSettings& settings);
    void EnableWindControls(bool on);

    QSlider* frameSkip;
    QSlider* interval;
    QSlider* scroll;
    QSlider* wind;
    QRadioButton* beats[3];
    QCheckBox* edit;
    QCheckBox* beatLines;
    QCheckBox* classicKeys;  // checked: Ctrl+Z is Delete All
    std::array<QKeySequenceEdit*, 7> testKeys{};  // test-play's keys, lanes 0..6
    QSpinBox* offset;                             // test-play's audio offset, ms
    QComboBox* instrument;
    QComboBox* port;
    QWidget* windControls;
};
