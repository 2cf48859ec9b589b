#pragma once
// DifficultyStrip: a thin strip under the chart view showing the strain of each 400 ms section
// of the song, from calm (green) to the hardest passage (red), with a mark where the view is:
// the hard passages at a glance.

#include <QWidget>
#include <vector>

#include "difficulty/StarRating.h"

class DifficultyStrip : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHeight = 8;

    explicit DifficultyStrip(QWidget* parent = nullptr);
    // The sections of the player's notes across a song of `songMs` milliseconds.
    void SetSections(std::vector<StrainSection> sections, double songMs);
    // Where the view is, milliseconds.
    void SetPosition(double ms);
    // The colour at x (tests look at it): the hardest section there.
    QColor ColourAt(int x) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<StrainSection> sections;
    double songMs = 0;
    double highest = 0;
    double position = 0;
};
