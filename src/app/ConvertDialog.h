#pragma once
// ConvertDialog: the "Convert MIDI" window, a view of the conversion session: the 0..13
// progress bar, the stage's status text, the log (read-only, its top line always a multiple of
// six) and OK / CANCEL as the session enables them. OK is the default button and has the focus
// whenever it is enabled, so Enter, Enter converts and closes.

#include <QDialog>
#include <functional>

#include "midi_import/ConversionSession.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class ConvertDialog : public QDialog {
    Q_OBJECT

  public:
    ConvertDialog(ConversionSession& session, QWidget* owner);

    // Shows the dialog for the MIDI file the session was just prepared for.
    void ShowPrepared();

    // The chart was replaced by the conversion (OK in the prepared state got that far).
    std::function<void()> onConverted;
    // The accompaniment is written: the chart is complete.
    std::function<void()> onFinished;

    QPushButton* OkButton() const { return ok; }
    QPushButton* CancelButton() const { return cancel; }
    QPlainTextEdit* Log() const { return log; }
    QProgressBar* Progress() const { return bar; }

  protected:
    void reject() override;

  private:
    void PressOk();
    // Shows the session's log, status, bar and button states; paints at once, as the
    // conversion runs without returning to the event loop between its stages.
    void Refresh();

    ConversionSession& session;
    QProgressBar* bar;
    QLabel* status;
    QPlainTextEdit* log;
    QPushButton* ok;
    QPushButton* cancel;
};
