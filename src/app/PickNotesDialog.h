#pragma once
// PickNotesDialog: Edit › Pick Notes asks for the star rating to reach and where to take the
// notes from (the current track, or every track).

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

class PickNotesDialog : public QDialog {
    Q_OBJECT

  public:
    PickNotesDialog(double stars, QWidget* parent = nullptr);
    double Stars() const;
    bool AllTracks() const;
    QDoubleSpinBox* StarsBox() const { return starsBox; }
    QComboBox* TracksBox() const { return tracksBox; }

  private:
    QDoubleSpinBox* starsBox;
    QComboBox* tracksBox;
};
