#pragma once
// ProgressDialog: the small window shown while a chart file is opened: a bar over the load's
// six steps and the text of the current one.

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

  private:
    QProgressBar* bar;
    QLabel* text;
};
