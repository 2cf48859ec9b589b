#include "ChartPainter.h"

#include <algorithm>
#include <string>
#include <span>

#include "chart/BeatGrid.h"

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBeatLine = 0xD4D4D4;
constexpr Colour kMeasureLine = 0x808080;
constexpr Colour kMeasureNumber = 0xC8C8C8;  // on the black margin

class NotePainter {
  public:
    NotePainter(const ChartView& view, DrawScreen& screen) : view(view), g(view.geometry), screen(screen) {}

    // Draws notes in time order in the lanes starting at `firstColumn`; false once a note lies
    // above the lanes, which ends the scan.
    bool Draw(const CNote& note, int firstColumn, int colourTrack) {
        const int x = g.ColumnX(firstColumn + note.lane);
        const NoteCells cells = NoteCells::For(note.selected, colourTrack);
        const int interval = view.Interval();
        if (note.time >= view.position) {
            const int64_t offset = view.Offset(note.time);
            if (offset > g.TopLimit()) return false;
            const int yb = g.Bottom() - static_cast<int>(offset);
            if (!view.IsLong(note)) {
                Cell(cells.shortHead, x, yb - g.cellHeight);
                return true;
            }
            if (note.longNote) {
                int64_t bodyLen = note.length / interval;
                if (offset + bodyLen > g.laneHeight) bodyLen = g.laneHeight - offset;
                Body(cells, x, yb, bodyLen);
            }
            Cell(cells.longHead, x, yb - g.cellHeight);
        } else if (note.longNote) {
            const int64_t bodyLen = std::min<int64_t>(
                (int64_t{note.time} + note.length - view.position) / interval, g.laneHeight);
            Body(cells, x, g.Bottom(), bodyLen);
        }
        return true;
    }

  private:
    void Body(const NoteCells& cells, int x, int bottom, int64_t bodyLen) {
        for (int64_t k = g.cellHeight; k < bodyLen; k += g.cellHeight)
            Cell(cells.slice, x, bottom - static_cast<int>(k));
        if (bodyLen > g.cellHeight) Cell(cells.cap, x, bottom - static_cast<int>(bodyLen));
    }

    void Cell(int cell, int x, int y) {
        screen.Blit(view.noteCells, {0, cell * g.cellHeight, g.laneWidth, (cell + 1) * g.cellHeight}, x, y);
    }

    const ChartView& view;
    const ViewGeometry& g;
    DrawScreen& screen;
};

bool Passed(const CNote& note, int32_t position) {
    return int64_t{note.time} + note.length < position;
}

// Digits three pixels wide and five high, a row a byte (bit 2 the left pixel): small enough
// for a measure number in the margin left of the lanes.
constexpr uint8_t kDigits[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7},
                                    {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1},
                                    {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

// `number` with its last digit ending at `right`, its bottom row at `bottom`; digits left of
// `left` are not drawn.
void PaintNumber(DrawScreen& screen, int64_t number, int left, int right, int bottom, Colour colour) {
    const std::string digits = std::to_string(number);
    // Three digits fit the margin only without a gap between them.
    const int pitch = digits.size() > 2 ? 3 : 4;
    int x = right - static_cast<int>(digits.size()) * pitch + (pitch - 3);
    for (char c : digits) {
        const uint8_t* rows = kDigits[c - '0'];
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if ((rows[row] >> (2 - column) & 1) && x + column >= left)
                    screen.FillRect({x + column, bottom - 4 + row, x + column + 1, bottom - 3 + row}, colour);
        x += pitch;
    }
}

// The scroll bar's image is the layout's height: in a taller view its up button and track
// stay on top, its down button goes to the bottom, and the track's last row fills between.
void PaintScrollBar(const ChartView& view, DrawScreen& screen) {
    const ViewGeometry& g = view.geometry;
    const DrawSurface& bar = view.scrollBar;
    const int imageHeight = bar.Height();
    if (imageHeight <= 0) return;
    if (g.laneHeight <= imageHeight) {
        screen.Blit(bar, g.ScrollX(), g.margin);
        return;
    }
    const int upper = imageHeight - g.buttonHeight;  // up button and track
    screen.Blit(bar, {0, 0, bar.Width(), upper}, g.ScrollX(), g.margin);
    for (int y = g.margin + upper; y < g.Bottom() - g.buttonHeight; ++y)
        screen.Blit(bar, {0, upper - 1, bar.Width(), upper}, g.ScrollX(), y);
    screen.Blit(bar, {0, upper, bar.Width(), imageHeight}, g.ScrollX(), g.Bottom() - g.buttonHeight);
}

// Beat lines one pixel, measure lines two, across every lane where the note's bottom edge
// would be; drawn before the notes, so a note always covers them.
void PaintBeatLines(const ChartView& view, DrawScreen& screen) {
    const ViewGeometry& g = view.geometry;
    const int64_t top = int64_t{view.position} + int64_t{g.laneHeight} * view.Interval();
    for (const GridLine& line : BeatLines(view.Chart().tempoMap, view.position, top)) {
        const int64_t y = g.Bottom() - 1 - view.Offset(static_cast<int32_t>(line.tick));
        if (y < g.margin || y >= g.Bottom()) continue;
        for (int column = 0; column < 15; ++column) {
            if (column == 7) continue;  // the scroll column
            const int left = g.ColumnX(column);
            screen.HLine(left, left + g.laneWidth - 1, static_cast<int>(y),
                         line.measure ? kMeasureLine : kBeatLine);
            if (line.measure && y - 1 >= g.margin)
                screen.HLine(left, left + g.laneWidth - 1, static_cast<int>(y - 1), kMeasureLine);
        }
        // The measure's number in the margin left of the track area, just above its line.
        if (line.measure && y - 2 >= g.margin + 5)
            PaintNumber(screen, line.number, 0, g.margin - 1, static_cast<int>(y - 2), kMeasureNumber);
    }
}

void PaintRubberBand(const ChartView& view, DrawScreen& screen) {
    const ViewGeometry& g = view.geometry;
    const DragState& d = view.drag;
    if (!d.rubberBand || d.mouseX > g.TrackArea().right) return;
    const int64_t anchorY = std::clamp<int64_t>(g.Bottom() - view.Offset(d.anchorTime), g.margin, g.Bottom());
    const int top = static_cast<int>(std::min<int64_t>(anchorY, d.mouseY));
    const int bottom = static_cast<int>(std::max<int64_t>(anchorY, d.mouseY));
    screen.Outline(std::min(d.anchorX, d.mouseX), top, std::max(d.anchorX, d.mouseX), bottom, kBlack);
}

}  // namespace

std::optional<Colour> PlayerNoteColour(const ChartView& view, int track) {
    const ViewGeometry& g = view.geometry;
    const int cell = NoteCells::For(true, track & 15).shortHead;
    const int y = cell * g.cellHeight + g.cellHeight / 4;
    if (view.noteCells.Width() <= g.laneWidth / 2 || view.noteCells.Height() <= y) return std::nullopt;
    return view.noteCells.At(g.laneWidth / 2, y);
}

void PaintChartView(ChartView& view, DrawScreen& screen) {
    const ViewGeometry& g = view.geometry;
    if (!view.backgroundCleared) {
        screen.Clear(kBlack);
        view.backgroundCleared = true;
    }
    for (int c = 0; c < 15; ++c) {
        const int left = g.ColumnX(c);
        screen.FillRect({left, g.margin, left + g.laneWidth, g.Bottom()}, kWhite);
    }
    // The left margin holds the measure numbers, which move with the music.
    screen.FillRect({0, 0, g.margin, g.height}, kBlack);
    PaintScrollBar(view, screen);

    if (view.HasChart()) {
        if (view.settings.beatLines) PaintBeatLines(view, screen);
        NotePainter painter(view, screen);
        for (const CNote& note : view.CurrentTrack().Notes()) {
            if (note.hidden || Passed(note, view.position)) continue;
            if (!painter.Draw(note, 0, view.currentTrack)) break;
        }
        for (const CNote& entry : view.Chart().selection.Notes()) {
            if (Passed(entry, view.position)) continue;
            if (!painter.Draw(entry, 8, entry.track & 15)) break;
        }
        screen.BlitKeyed(view.thumbImage, view.thumb.left, view.thumb.top);
        if (view.drag.upHeld) screen.Blit(view.pressedButton, g.ScrollX(), g.margin);
        if (view.drag.downHeld) screen.Blit(view.pressedButton, g.ScrollX(), g.Bottom() - g.buttonHeight);
        PaintRubberBand(view, screen);
    }
    screen.Present();
}
