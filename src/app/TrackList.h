#pragma once
// TrackList: the palette's list of the chart's tracks, one 14-pixel row each (at most 16), with
// the selected row and the lit marks playback sets on the tracks that sound.

#include <QStringList>
#include <QWidget>
#include <array>

class TrackList : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRowHeight = 14;
    static constexpr int kMaxRows = 16;

    explicit TrackList(QWidget* parent = nullptr);

    void Clear();
    // Adds a row; a 17th row is ignored.
    void AddRow(const QString& text);
    void SelectRow(int row);
    int SelectedRow() const { return selected; }
    int RowCount() const { return static_cast<int>(rows.size()); }
    QString RowText(int row) const { return rows.value(row); }
    void SetLit(int row, bool lit);

  signals:
    // A click chose another row.
    void rowChosen(int row);
    // Any click on the list, chosen or not (the palette gives the focus back).
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRect RowRect(int row) const { return {0, row * kRowHeight, width(), kRowHeight}; }

    QStringList rows;
    std::array<bool, kMaxRows> lit{};
    int selected = 0;
};
