// Painting, checked pixel by pixel with test artwork whose cells are solid, distinct colours.

#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/ChartPainter.h"
#include "editor/DrawScreen.h"

namespace {

Colour CellColour(int cell) {
    return 0x200011u | static_cast<Colour>(cell) << 8;
}
constexpr Colour kScroll = 0x777777, kPressed = 0x333333, kThumb = 0x444444;

// Artwork of the large layout: 68 solid note cells, a plain scroll column, the pressed button
// above a thumb whose left half is black (transparent).
void GiveTestArtwork(ChartView& view) {
    const ViewGeometry& g = view.geometry;
    std::vector<Colour> cells;
    for (int cell = 0; cell < 68; ++cell)
        cells.insert(cells.end(), g.laneWidth * g.cellHeight, CellColour(cell));
    view.noteCells.CreateFromPixels(g.laneWidth, 68 * g.cellHeight, cells);
    view.scrollBar.CreateFromPixels(g.laneWidth, g.laneHeight,
                                    std::vector<Colour>(g.laneWidth * g.laneHeight, kScroll));
    std::vector<Colour> buttons(g.laneWidth * g.buttonHeight, kPressed);
    for (int y = 0; y < g.buttonHeight; ++y)
        for (int x = 0; x < g.laneWidth; ++x) buttons.push_back(x < g.laneWidth / 2 ? 0 : kThumb);
    view.pressedButton.CreateFromPixels(g.laneWidth, 2 * g.buttonHeight, buttons);
    view.thumbImage.CreateFromPixels(g.laneWidth, 2 * g.buttonHeight, buttons);
    view.pressedButton.SetSourceRect({0, 0, g.laneWidth, g.buttonHeight});
    view.thumbImage.SetSourceRect({0, g.buttonHeight, g.laneWidth, 2 * g.buttonHeight});
    view.thumbImage.SetColourKey(0);
}

struct Painted : EditorFixture {
    DrawScreen Paint() {
        GiveTestArtwork(view);
        DrawScreen screen(view.geometry.width, view.geometry.height);
        PaintChartView(view, screen);
        return screen;
    }
    // Colour inside column `column` at y.
    static Colour At(const DrawScreen& s, int column, int y) {
        return s.At(ViewGeometry::Large().ColumnX(column) + 3, y);
    }
};

}  // namespace

TEST(Painter, EmptyViewBackgroundLanesAndScrollColumn) {
    Painted p;
    DrawScreen screen = p.Paint();
    EXPECT_EQ(screen.At(0, 0), 0x000000u);     // margin
    EXPECT_EQ(screen.At(42, 300), 0x000000u);  // gap between lanes 0 and 1
    EXPECT_EQ(Painted::At(screen, 0, 300), 0xFFFFFFu);
    EXPECT_EQ(Painted::At(screen, 14, 300), 0xFFFFFFu);
    EXPECT_EQ(Painted::At(screen, 7, 300), kScroll);
    EXPECT_EQ(screen.At(539, 599), 0x000000u);
}

TEST(Painter, NotesAtTheTopOfTheLanes) {
    Painted p;
    const int32_t top = 570 * 10;  // offset exactly topLimit
    p.Add(top, 60);                // lane 0: drawn at the top
    p.Add(top + 10, 62);           // lane 1: one pixel more stops the scan
    p.Add(top + 20, 64);           // lane 2: never reached
    p.Load();
    DrawScreen s = p.Paint();
    EXPECT_EQ(Painted::At(s, 0, 10), CellColour(64));
    EXPECT_EQ(Painted::At(s, 0, 19), CellColour(64));
    EXPECT_EQ(Painted::At(s, 0, 20), 0xFFFFFFu);
    EXPECT_EQ(Painted::At(s, 1, 10), 0xFFFFFFu);
    EXPECT_EQ(Painted::At(s, 2, 10), 0xFFFFFFu);
}

TEST(Painter, CellsByStateAndTrackInBothAreas) {
    Painted p;
    p.Add(1000, 60, 3, 100);   // short
    p.Add(2000, 62, 3, 768);   // long, not held
    p.Add(3000, 64, 3, 2000);  // long, held
    p.Load();
    p.view.SetCurrentTrack(3);
    p.chart.tracks[3].At(2).longNote = true;
    DrawScreen unselected = p.Paint();
    auto headY = [](int32_t time) { return 590 - time / 10 - 5; };
    EXPECT_EQ(Painted::At(unselected, 0, headY(1000)), CellColour(64));
    EXPECT_EQ(Painted::At(unselected, 1, headY(2000)), CellColour(65));
    EXPECT_EQ(Painted::At(unselected, 2, headY(3000)), CellColour(65));
    EXPECT_EQ(Painted::At(unselected, 2, headY(3000) - 20), CellColour(67));  // body slice
    // 2000 ticks is a body of 200 pixels: the cap sits at its top.
    EXPECT_EQ(Painted::At(unselected, 2, 590 - 300 - 200), CellColour(66));
    EXPECT_EQ(Painted::At(unselected, 2, 590 - 300 - 201), 0xFFFFFFu);

    p.editor.SelectAll();
    DrawScreen selected = p.Paint();
    EXPECT_EQ(Painted::At(selected, 0, headY(1000)), CellColour(3));
    EXPECT_EQ(Painted::At(selected, 1, headY(2000)), CellColour(16 + 3));
    EXPECT_EQ(Painted::At(selected, 2, 590 - 300 - 200), CellColour(32 + 3));
    EXPECT_EQ(Painted::At(selected, 2, headY(3000) - 20), CellColour(48 + 3));
    // The chart area shows the copies in columns 8 + lane with their own track's colours.
    EXPECT_EQ(Painted::At(selected, 8, headY(1000)), CellColour(3));
    EXPECT_EQ(Painted::At(selected, 10, 590 - 300 - 200), CellColour(32 + 3));
}

TEST(Painter, LongBodiesAreCutAtTheTopAndPassedHeldNotesShowTheirBody) {
    Painted p;
    p.Add(5000, 60, 0, 2000);  // offset 500 at position 0: a 200-pixel body cut to 80
    p.Add(9000, 62, 0, 2000);
    p.Load();
    p.chart.tracks[0].At(0).longNote = true;
    p.chart.tracks[0].At(1).longNote = true;
    DrawScreen s = p.Paint();
    EXPECT_EQ(Painted::At(s, 0, 10), CellColour(66));  // the cap at the top edge
    EXPECT_EQ(Painted::At(s, 0, 30), CellColour(67));

    // At position 6000 the first note's head has passed: a body of 100 pixels rises from the
    // bottom edge, with no head.
    p.view.SetPosition(6000, false);
    s = p.Paint();
    EXPECT_EQ(Painted::At(s, 0, 589), CellColour(67));
    EXPECT_EQ(Painted::At(s, 0, 490), CellColour(66));
    EXPECT_EQ(Painted::At(s, 0, 489), 0xFFFFFFu);
    for (int y = 10; y < 590; ++y) ASSERT_NE(Painted::At(s, 0, y), CellColour(65)) << y;
    // A passed note that is not held draws nothing.
    p.chart.tracks[0].At(0).longNote = false;
    s = p.Paint();
    EXPECT_EQ(Painted::At(s, 0, 589), 0xFFFFFFu);
}

TEST(Painter, ThumbButtonsAndRubberBand) {
    Painted p;
    p.Add(0, 60);
    p.Add(100000, 60);
    p.Load();
    DrawScreen s = p.Paint();
    // At position 0 the thumb sits on the down button; its black half lets the column show.
    EXPECT_EQ(s.At(p.view.geometry.ScrollX() + 20, 560), kThumb);
    EXPECT_EQ(s.At(p.view.geometry.ScrollX() + 5, 560), kScroll);

    const Rect up = p.view.geometry.UpButton();
    p.editor.LeftButtonDown(up.left + 20, up.top + 5, false);
    s = p.Paint();
    EXPECT_EQ(s.At(up.left + 3, up.top + 3), kPressed);
    p.editor.LeftButtonUp(up.left + 20, up.top + 5);

    p.editor.LeftButtonDown(100, 300, false);
    p.editor.MouseMove(150, 250);
    s = p.Paint();
    EXPECT_EQ(s.At(120, 250), 0x000000u);  // top edge of the outline
    EXPECT_EQ(s.At(100, 270), 0x000000u);  // left edge
    EXPECT_EQ(s.At(120, 270), 0xFFFFFFu);  // inside stays as it was
}

TEST(ViewGeometry, LayoutsLanesAndThumb) {
    EXPECT_FALSE(ViewGeometry::ForScreenWidth(900).large);
    EXPECT_TRUE(ViewGeometry::ForScreenWidth(901).large);
    const ViewGeometry g = ViewGeometry::Large();
    EXPECT_EQ(g.ChartArea(), (Rect{285, 0, 540, 600}));
    EXPECT_EQ(g.DownButton(), (Rect{255, 570, 285, 590}));
    EXPECT_EQ(ViewGeometry::Small().UpButton(), (Rect{180, 5, 200, 15}));
    struct Case {
        int x, trackLane, chartLane;
    };
    for (Case c : {Case{0, 0, 0}, Case{42, 0, 0}, Case{43, 1, 0}, Case{217, 5, 0}, Case{218, 6, 0},
                   Case{322, 6, 0}, Case{323, 6, 1}, Case{497, 6, 5}, Case{498, 6, 6}}) {
        EXPECT_EQ(g.TrackLaneAt(c.x), c.trackLane) << c.x;
        EXPECT_EQ(g.ChartLaneAt(c.x), c.chartLane) << c.x;
    }

    EditorFixture short_;
    short_.Add(0, 60, 0, 100);  // song length 100: thumb scale 0
    short_.Load();
    EXPECT_EQ(short_.view.thumbScale, 0);
    short_.view.SetPosition(100, false);
    EXPECT_EQ(short_.view.thumb.bottom, 570);  // stays on the down button
    EXPECT_EQ(short_.timeText, "0:00.0 / 0:01");  // minutes and seconds, the length rounded up

    EditorFixture long_;
    long_.Add(12000, 60, 0, 2000);  // song length 14000, thumb scale 14000 / 520 = 26
    long_.Load();
    long_.view.SetPosition(2600, false);
    EXPECT_EQ(long_.view.thumb.bottom, 570 - 100);
    long_.view.SetPosition(-5, false);
    EXPECT_EQ(long_.view.position, 0);
    long_.view.SetPosition(99999, false);
    EXPECT_EQ(long_.view.position, 14000);
    EXPECT_EQ(long_.timeText, "0:09.1 / 0:10");  // 14000 ticks at 120 bpm: 9.11 s
}

TEST(DrawSurface, LoadsBitmapsAndLayeredImagesAndNamesFailures) {
    // A 2 x 2 24-bit bitmap, bottom-up rows padded to 4 bytes: red, green / blue, white.
    std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                                0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,  // bottom row:
                                                                                    // blue, white
                                0, 0, 0xFF, 0, 0xFF, 0, 0, 0};                      // top row: red, green
    DrawSurface surface;
    ASSERT_TRUE(surface.CreateFromBytes(bmp));
    EXPECT_EQ(surface.At(0, 0), 0xFF0000u);
    EXPECT_EQ(surface.At(1, 0), 0x00FF00u);
    EXPECT_EQ(surface.At(0, 1), 0x0000FFu);
    EXPECT_EQ(surface.At(1, 1), 0xFFFFFFu);

    // A layered image of 2 x 1 RGB pixels, raw planes: R, G, B.
    std::vector<uint8_t> psd = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0,    0,    0,    0,    0,    3,   0, 0,
                                0,   1,   0,   0,   0, 2, 0, 8, 0,    3,    0,    0,    0,    0,   0, 0,
                                0,   0,   0,   0,   0, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    ASSERT_TRUE(surface.CreateFromBytes(psd));
    EXPECT_EQ(surface.At(0, 0), 0x103050u);
    EXPECT_EQ(surface.At(1, 0), 0x204060u);

    EXPECT_EQ(surface.CreateFromFile("/nonexistent/note.bmp").Message().rfind("Can't Find File", 0), 0u);
    EXPECT_FALSE(surface.HasImage());
    EXPECT_EQ(surface.CreateFromBytes(std::vector<uint8_t>{'B', 'M', 1}).Message(), "Can't Open Header");
    EXPECT_EQ(surface.CreateFromBytes(std::vector<uint8_t>(40, 'x')).Message(), "Not BMP Format");
    std::vector<uint8_t> broken(bmp.begin(), bmp.begin() + 30);
    EXPECT_EQ(surface.CreateFromBytes(broken).Message(), "Can't Load File");
    // A top-down bitmap claiming 16 million rows in 70 bytes is refused before any allocation.
    std::vector<uint8_t> tall = bmp;
    tall[22] = 0x82, tall[23] = 0x40, tall[24] = 0x00, tall[25] = 0xFF;
    EXPECT_EQ(surface.CreateFromBytes(tall).Message(), "Not Enough Bitmap Memory");

    // Blits from a surface without an image draw nothing.
    DrawScreen screen(4, 4);
    screen.Clear(0x123456);
    screen.Blit(surface, 0, 0);
    EXPECT_EQ(screen.At(0, 0), 0x123456u);
}

TEST(ChartView, ShippedArtworkLoadsForBothLayouts) {
    CChart chart;
    for (ViewGeometry g : {ViewGeometry::Large(), ViewGeometry::Small()}) {
        ChartView view(chart, g);
        EXPECT_TRUE(view.LoadBitmaps(RYX_SOURCE_DIR "/data"));
        EXPECT_GE(view.noteCells.Height(), 68 * g.cellHeight);
        EXPECT_EQ(view.noteCells.Width(), g.laneWidth);
        EXPECT_EQ(view.scrollBar.Height(), g.laneHeight);
        EXPECT_EQ(view.thumbImage.Height(), 2 * g.buttonHeight);
    }
    ChartView missing(chart, ViewGeometry::Large());
    EXPECT_EQ(missing.LoadBitmaps("/nonexistent").Message(),
              "Can't Find File (/nonexistent/common/1024x720/note.bmp): No such file or directory");
}

TEST(ChartView, AZeroIntervalNeverDivides) {
    Painted p;
    p.Add(1000, 60);
    p.Load();
    p.view.settings.interval = 0;
    EXPECT_EQ(p.view.Offset(1000), 1000);
    EXPECT_EQ(p.view.TimeAt(590), 0);
    p.view.SetPosition(995, false);
    DrawScreen s = p.Paint();                           // must not trap
    EXPECT_EQ(Painted::At(s, 0, 580), CellColour(64));  // one tick a pixel: the note 5 pixels up
}

TEST(DrawScreen, EveryPrimitiveClipsToTheBuffer) {
    struct Case {
        const char* what;
        Rect rect;
        int changed;  // pixels of the 10 x 10 screen that change
    };
    const int big = 1 << 30;
    const std::vector<Case> cases = {
        {"inside", {2, 3, 5, 7}, 12},
        {"right of the buffer", {121, 0, 150, 5}, 0},
        {"below the buffer", {0, 12, 5, 20}, 0},
        {"inverted", {8, 8, 2, 2}, 0},
        {"empty", {4, 4, 4, 9}, 0},
        {"over every edge", {-big, -big, big, big}, 100},
        {"left part outside", {-5, 0, 3, 2}, 6},
    };
    DrawSurface cell;
    cell.CreateFromPixels(3, 3, std::vector<Colour>(9, 0x00FF00));
    for (const Case& c : cases) {
        DrawScreen screen(10, 10);
        screen.FillRect(c.rect, 0xFFFFFF);
        EXPECT_EQ(std::count(screen.Pixels().begin(), screen.Pixels().end(), 0xFFFFFFu), c.changed) << c.what;
        // Blits, lines and outlines at the same coordinates stay inside too.
        screen.Blit(cell, c.rect, c.rect.left, c.rect.top);
        screen.BlitKeyed(cell, c.rect.right, c.rect.bottom);
        screen.HLine(c.rect.left, c.rect.right, c.rect.top, 1);
        screen.VLine(c.rect.left, c.rect.top, c.rect.bottom, 1);
        screen.Outline(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom, 2);
        EXPECT_EQ(screen.Pixels().size(), 100u);
    }
    DrawScreen screen(10, 10);
    screen.Blit(cell, 8, -1);  // the corner that lands inside is drawn
    EXPECT_EQ(screen.At(9, 1), 0x00FF00u);
    EXPECT_EQ(screen.At(8, 0), 0x00FF00u);
    EXPECT_EQ(std::count(screen.Pixels().begin(), screen.Pixels().end(), 0x00FF00u), 4);
}

TEST(Painter, BeatLinesLieUnderTheNotesOnlyWhenAskedFor) {
    Painted p;
    p.Add(3072, 60);  // the first beat of measure 2, lane 0
    p.Load();
    const int measureY = 590 - 1 - 307;  // the bottom row of a note cell at 3072
    const int beatY = 590 - 1 - 76;
    EXPECT_EQ(Painted::At(p.Paint(), 1, measureY), 0xFFFFFFu);  // off by default
    p.view.settings.beatLines = true;
    DrawScreen s = p.Paint();
    EXPECT_EQ(Painted::At(s, 1, measureY), 0x808080u);
    EXPECT_EQ(Painted::At(s, 1, measureY - 1), 0x808080u);  // measures are two pixels
    EXPECT_EQ(Painted::At(s, 1, beatY), 0xD4D4D4u);
    EXPECT_EQ(Painted::At(s, 1, beatY - 1), 0xFFFFFFu);
    EXPECT_EQ(Painted::At(s, 9, beatY), 0xD4D4D4u);                    // the player's lanes too
    EXPECT_EQ(Painted::At(s, 0, measureY), CellColour(64));            // the note covers its line
    EXPECT_EQ(s.At(p.view.geometry.ScrollX() + 2, beatY), 0x777777u);  // never over the scroll column

    // Measure 2's number in the margin left of the lanes, just above its line: the eleven
    // pixels of a small "2", and nothing of it without the beat lines.
    auto numberPixels = [&](const DrawScreen& screen) {
        int count = 0;
        for (int y = measureY - 7; y < measureY; ++y)
            for (int x = 0; x < 10; ++x) count += screen.At(x, y) == 0xC8C8C8u;
        return count;
    };
    EXPECT_EQ(numberPixels(s), 11);
    p.view.settings.beatLines = false;
    EXPECT_EQ(numberPixels(p.Paint()), 0);
    // Scrolled on, the number moves with its line and leaves nothing behind on the same screen.
    p.view.settings.beatLines = true;
    DrawScreen screen(p.view.geometry.width, p.view.geometry.height);
    PaintChartView(p.view, screen);
    p.view.SetPosition(200, false);
    PaintChartView(p.view, screen);
    int left = 0;
    for (int y = 0; y < p.view.geometry.height; ++y)
        for (int x = 0; x < 10; ++x) left += screen.At(x, y) == 0xC8C8C8u;
    EXPECT_EQ(left, 11);  // measure 2's "2" alone: measure 1's line and its "1" went below the lanes
}

TEST(ViewGeometry, ZoomKeepsTheTimeUnderTheMouse) {
    EditorFixture f;
    f.Add(100000, 60, 0, 100);
    f.Load();
    struct Case {
        int32_t position;
        int y;
        int interval;
        int expectedInterval;
    };
    const Case cases[] = {{20000, 300, 5, 5}, {20000, 40, 15, 15}, {20000, 580, 7, 7}, {50000, 100, 3, 5},
                          {50000, 500, 40, 15}};
    for (const Case& c : cases) {
        f.view.settings.interval = 10;
        f.view.SetPosition(c.position, false);
        const int32_t before = f.view.TimeAt(c.y);
        EXPECT_EQ(f.view.Zoom(c.interval, c.y), c.expectedInterval);
        EXPECT_EQ(f.view.TimeAt(c.y), before) << c.y << " at " << c.interval;
    }
    // Near the song's start the view cannot go below 0: the start stays at the bottom.
    f.view.settings.interval = 10;
    f.view.SetPosition(100, false);
    f.view.Zoom(15, 40);
    EXPECT_EQ(f.view.position, 0);
}

TEST(ViewGeometry, ATallerViewShowsMoreTimeAndHitsAndScrollsAlike) {
    for (int height : {600, 601, 800, 1400}) {
        EditorFixture f;
        f.view.SetHeight(height);
        const ViewGeometry& g = f.view.geometry;
        EXPECT_EQ(g.height, height);
        EXPECT_EQ(g.Bottom(), height - 10);
        // A note just below the top of the lanes is shown and a click on its head selects it.
        const int32_t top = (g.laneHeight - 2 * g.cellHeight) * f.view.Interval();
        const uint32_t near = f.Add(top, 60);
        f.Add(200000, 62);  // a long song
        f.Load();
        EXPECT_LT(f.view.HeadRect(top, 0).bottom, g.Bottom());
        EXPECT_GE(f.view.HeadRect(top, 0).top, g.margin);
        f.ClickNote(near);
        EXPECT_EQ(f.SelectedTimes(), std::vector<int32_t>{top}) << height;
        // The thumb runs from above the down button at the start to below the up button at the end.
        EXPECT_EQ(f.view.thumb.bottom, g.Bottom() - g.buttonHeight);
        f.view.SetPosition(f.view.songLength, false);
        EXPECT_GE(f.view.thumb.top, g.margin + g.buttonHeight) << height;
        EXPECT_LE(f.view.thumb.top, g.margin + 2 * g.buttonHeight) << height;
    }
    // Never shorter than the layout.
    EXPECT_EQ(ViewGeometry::Small().WithHeight(100).height, 400);
    EXPECT_EQ(ViewGeometry::Small().WithHeight(700).laneHeight, 690);
}
