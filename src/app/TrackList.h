#pragma once
// TrackList: the palette's list of the chart's tracks under a header ("Notes", "Instrument"),
// one 14-pixel row each (at most 16): the colour the track's player notes have, its note count
// and its instrument, with the selected row and the lit marks playback sets on the tracks that
// sound.

#include <QColor>
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
    // Adds a row, "<note count> <instrument>"; a 17th row is ignored.
    void AddRow(const QString& text);
    // The colour of the track's player notes, shown as a swatch at the row's left.
    void SetSwatch(int row, const QColor& colour);
    QColor Swatch(int row) const { return row >= 0 && row < kMaxRows ? swatches[static_cast<std::size_t>(row)] : QColor(); }
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
    // The columns: swatch, note count (right-aligned), instrument.
    static constexpr int kSwatch = 10;
    static constexpr int kCountLeft = 14;
    static constexpr int kCountWidth = 30;
    static constexpr int kNameLeft = 48;
    // Row 0 lies under the header.
    QRect RowRect(int row) const { return {0, (row + 1) * kRowHeight, width(), kRowHeight}; }

    QStringList rows;
    std::array<QColor, kMaxRows> swatches{};
    std::array<bool, kMaxRows> lit{};
    int selected = 0;
};
