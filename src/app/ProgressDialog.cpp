#include "ProgressDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

ProgressDialog::ProgressDialog(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint) {
    bar = new QProgressBar(this);
    bar->setRange(0, 6);
    bar->setTextVisible(false);
    text = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(text);
    setFixedSize(260, 70);
}

void ProgressDialog::Share(double share, std::string_view step) {
    constexpr int kSteps = 1000;
    bar->setRange(0, kSteps);
    Step(static_cast<int>(share * kSteps), step);
}

void ProgressDialog::Step(int position, std::string_view step) {
    if (bar->maximum() < position) bar->setMaximum(position);
    bar->setValue(position);
    if (!step.empty()) text->setText(QString::fromUtf8(step.data(), static_cast<int>(step.size())));
    repaint();
}
