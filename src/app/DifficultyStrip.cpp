#include "DifficultyStrip.h"

#include <QPainter>
#include <algorithm>

DifficultyStrip::DifficultyStrip(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setToolTip("How hard each moment of the player's notes is: green calm, red the hardest");
}

void DifficultyStrip::SetSections(std::vector<StrainSection> newSections, double newSongMs) {
    sections = std::move(newSections);
    songMs = newSongMs;
    highest = 0;
    for (const StrainSection& s : sections) highest = std::max(highest, s.peak);
    update();
}

void DifficultyStrip::SetPosition(double ms) {
    if (ms == position) return;
    position = ms;
    update();
}

QColor DifficultyStrip::ColourAt(int x) const {
    if (songMs <= 0 || highest <= 0 || width() <= 0) return QColor(40, 40, 40);
    const double from = songMs * x / width();
    const double to = songMs * (x + 1) / width();
    double peak = 0;
    for (const StrainSection& s : sections)
        if (s.startMs < to && s.startMs + 400 > from) peak = std::max(peak, s.peak);
    if (peak <= 0) return QColor(40, 40, 40);
    // Green through yellow to red as the strain nears the song's highest.
    const double share = std::clamp(peak / highest, 0.0, 1.0);
    const int red = static_cast<int>(std::min(1.0, 2 * share) * 230);
    const int green = static_cast<int>(std::min(1.0, 2 * (1 - share)) * 200);
    return QColor(red, green, 40);
}

void DifficultyStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int x = 0; x < width(); ++x) {
        painter.setPen(ColourAt(x));
        painter.drawLine(x, 0, x, height() - 1);
    }
    if (songMs > 0) {
        const int at = static_cast<int>(position / songMs * width());
        painter.fillRect(std::clamp(at - 1, 0, std::max(width() - 2, 0)), 0, 2, height(), Qt::white);
    }
}
