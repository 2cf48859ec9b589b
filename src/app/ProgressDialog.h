#pragma once
// ProgressDialog: the small window shown while a long job runs (opening a chart file, an
// export): a bar and the text of the current step.

#include <QDialog>
#include <string_view>

class QLabel;
class QProgressBar;

class ProgressDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ProgressDialog(QWidget* owner);
    // Moves the bar and shows the step's text, painting at once (the load does not return to
    // the event loop between its steps).
    void Step(int position, std::string_view text);
    // The same for a job measured in shares of the whole (0..1).
    void Share(double share, std::string_view text);

  private:
    QProgressBar* bar;
    QLabel* text;
};
