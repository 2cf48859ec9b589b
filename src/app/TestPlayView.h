#pragma once
// What test-play shows: over the chart area, the judgement line at its bottom, a lane lit while
// its key is down, the last judgement with its delta, the combo and the running accuracy; and
// the results when a run ends.

#include <QDialog>
#include <QString>

#include "document/TestPlayRun.h"
#include "editor/ViewGeometry.h"

class QPainter;

void PaintTestPlay(QPainter& painter, const ViewGeometry& geometry, const TestPlayRun& run);

// "GREAT −23 ms", "MISS", or empty before the first judgement.
QString JudgementText(const TestPlayRun::Shown& shown);

// The results: counts, max combo, accuracy, and the mean and spread of the deltas (a hint for
// the audio offset). Retry or Close.
class TestPlayResults : public QDialog {
  public:
    TestPlayResults(const Judge& judge, QWidget* parent = nullptr);
    static QString Text(const Judge& judge);
    bool RetryChosen() const { return retry; }

  private:
    bool retry = false;
};
