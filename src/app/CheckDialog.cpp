#include "CheckDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CheckDialog::CheckDialog(const CChart& chart, std::vector<ChartFinding> found, QWidget* owner)
    : QDialog(owner), findings(std::move(found)) {
    setWindowTitle("Check Chart");
    list = new QListWidget(this);
    for (const ChartFinding& finding : findings)
        list->addItem(QString::fromStdString(FindingLine(chart, finding)));
    list->setMinimumSize(520, 200);
    connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = list->row(item);
        if (showFinding && row >= 0 && row < static_cast<int>(findings.size()))
            showFinding(findings[static_cast<std::size_t>(row)]);
    });
    auto* close = new QPushButton("OK", this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(findings.empty() ? "Nothing found: the chart is ready to play."
                                                  : "Double-click a finding to see it in the view.",
                                 this));
    layout->addWidget(list, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
}
