#pragma once
// ChartView: the state of the chart view that the main window shows: the open chart, the view
// position (chart ticks at the bottom edge of the lanes), the song length, the scroll thumb,
// the current track, the drag state of the mouse, and the four cell images. Painting is
// ChartPainter's; mouse and keys are NoteEditor's. Everything runs on the user-interface
// thread; what belongs to the window (palette, caption, playback) goes out through hooks.
//
// The view shows one chart object for its whole life: the main window owns both and makes the
// chart first, so the chart outlives the view. Opening or converting replaces the chart's
// contents, never the object.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "DrawSurface.h"
#include "ViewGeometry.h"
#include "ViewSettings.h"
#include "chart/Chart.h"
#include "chart/SongEnd.h"

// What the main window does for the view; any hook may be empty. A hook only shows or stops
// things and never changes the chart.
struct ViewHooks {
    std::function<void(int32_t)> seek;                    // playback follows a position set with notify
    // The palette's time read-out, given anew whenever the view position or the song changes,
    // so every read-out of the window describes the view position (never the mouse).
    std::function<void(const std::string&)> setTimeText;
    std::function<void(const std::string&)> setCaption;   // the main window's caption
    std::function<void(const CChart&)> fillPalette;       // the palette's part of the load reset
    std::function<void(int)> selectTrackRow;              // the palette's track list row
    std::function<void()> clearTrackList;
    std::function<void()> stopPlayback;
    std::function<void()> invalidate;  // request a repaint
};

// What the mouse is doing; read by the painter, changed by NoteEditor.
struct DragState {
    bool upHeld = false;
    bool downHeld = false;
    bool thumbDrag = false;
    int thumbGrabOffset = 0;  // thumb bottom - press y
    bool rubberBand = false;
    int32_t anchorTime = 0;
    int anchorX = 0;
    int anchorY = 0;
    int anchorLane = 0;
    int mouseX = 0;
    int mouseY = 0;
};

class ChartView {
  public:
    // `chart` must outlive the view.
    ChartView(CChart& chart, ViewGeometry geometry, ViewSettings settings = {});

    // Loads "note.bmp", "scroll.bmp" and "scbutton.bmp" (twice: the pressed button, and the
    // thumb with colour key 0) from dataDir / the layout's folder. A file that cannot be read
    // leaves its surface empty (its blits draw nothing) and the others are still loaded; the
    // first failure is returned, naming its file.
    Status LoadBitmaps(const std::filesystem::path& dataDir);

    // Before the open and convert commands replace the chart: stop playback, empty the track
    // list, position 0. The chart itself is replaced whole by the load, so it is not touched
    // here: a load that fails leaves it as it was.
    void ClearBeforeLoading();

    // After the chart was converted or opened (and went through FinishConvertedChart or
    // FinishOpenedChart): song length, thumb scale, position 0 with its read-out, track 0, the
    // palette fill, the caption "RYX Creator - [<fileTitle>]" and a repaint.
    void ResetForLoadedChart(const std::string& fileTitle);

    // Clamps `position` to 0..song length, stores it, places the thumb and gives the read-out;
    // with `notify` playback follows.
    void SetPosition(int32_t position, bool notify);

    // One scroll step of `delta` ticks: clamps, and when the position changes sets it with
    // notify and repaints. False when nothing changed (a
    // repeating scroll then ends).
    bool ScrollBy(int64_t delta);

    // The view becomes `height` pixels tall (its layout's height at least): more time shows,
    // the position stays, the scroll bar's scale follows.
    void SetHeight(int height);

    // Makes track `track` current (the range anchor is dropped with it).
    void SetCurrentTrack(int track);

    // time(y) = (bottom - y) × INTERVAL + position.
    int32_t TimeAt(int y) const;
    // Zoom: the note interval becomes `interval` (bounded to 5..15), the time at height
    // `anchorY` staying where it is (as far as the song's start allows). Returns the interval.
    int Zoom(int interval, int anchorY);
    static constexpr int kMinInterval = 5;
    static constexpr int kMaxInterval = 15;
    // Pixels from the lanes' bottom edge up to the note's start (truncated toward zero).
    int64_t Offset(int32_t time) const;
    // The head cell of a note at `time` in `column`.
    Rect HeadRect(int32_t time, int column) const;
    // "<view position> / <song length>" as minutes and seconds: "1:23.4 / 3:15".
    std::string TimeReadout() const;
    void Invalidate();

    // True once a chart was converted or opened; until then the view shows nothing and
    // ignores the mouse and keys.
    bool HasChart() const { return loaded; }
    CChart& Chart() { return chart; }
    const CChart& Chart() const { return chart; }
    CNoteTrack& CurrentTrack() { return chart.tracks[static_cast<std::size_t>(currentTrack)]; }
    const CNoteTrack& CurrentTrack() const { return chart.tracks[static_cast<std::size_t>(currentTrack)]; }
    // INTERVAL, never below 1 whatever the settings hold, so no time-to-pixel step divides by 0.
    int Interval() const { return settings.interval < 1 ? 1 : settings.interval; }
    bool IsLong(const CNote& note) const { return note.length >= settings.longLength; }
    // Ticks between two selected notes of one lane: one note cell's height.
    int32_t CollisionWindow() const { return geometry.cellHeight * Interval(); }

    ViewGeometry geometry;
    ViewSettings settings;
    ViewHooks hooks;
    int32_t position = 0;
    int32_t songLength = 0;
    int32_t thumbScale = 0;  // ticks per pixel of thumb travel; 0 keeps the thumb on the down button
    Rect thumb;
    int currentTrack = 0;
    std::optional<uint32_t> rangeAnchor;  // index of a note of the current track
    DragState drag;
    bool backgroundCleared = false;
    DrawSurface noteCells, scrollBar, pressedButton, thumbImage;

  private:
    void PlaceThumb();
    // Ticks a pixel of thumb travel, from the song's length and the lanes' height.
    void ScaleThumb();

    CChart& chart;
    bool loaded = false;
};

