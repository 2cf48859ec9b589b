#pragma once
// CheckDialog: the chart check's findings, one a line; a double click on a finding shows its
// place in the view.

#include <QDialog>
#include <functional>
#include <vector>

#include "difficulty/ChartCheck.h"

class QListWidget;

class CheckDialog : public QDialog {
    Q_OBJECT

  public:
    CheckDialog(const CChart& chart, std::vector<ChartFinding> findings, QWidget* owner);

    // The author asked to see this finding.
    std::function<void(const ChartFinding&)> showFinding;

    QListWidget* List() const { return list; }

  private:
    std::vector<ChartFinding> findings;
    QListWidget* list;
};
