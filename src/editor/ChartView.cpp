#include "ChartView.h"

#include <algorithm>
#include <limits>

#include "NoteText.h"
#include "io/Clamp.h"

ChartView::ChartView(CChart& chart, ViewGeometry geometry, ViewSettings settings)
    : geometry(std::move(geometry)), settings(settings.Sanitised()), chart(chart) {
    PlaceThumb();
}

Status ChartView::LoadBitmaps(const std::filesystem::path& dataDir) {
    const std::filesystem::path folder = dataDir / geometry.bitmapFolder;
    Status first;
    for (auto [surface, name] :
         {std::pair{&noteCells, "note.bmp"}, std::pair{&scrollBar, "scroll.bmp"},
          std::pair{&pressedButton, "scbutton.bmp"}, std::pair{&thumbImage, "scbutton.bmp"}}) {
        Status status = surface->CreateFromFile(folder / name);
        if (!status && first) first = status;
    }
    const int w = geometry.laneWidth, h = geometry.buttonHeight;
    pressedButton.SetSourceRect({0, 0, w, h});
    thumbImage.SetSourceRect({0, h, w, 2 * h});
    thumbImage.SetColourKey(0);
    return first;
}

void ChartView::ClearBeforeLoading() {
    if (hooks.stopPlayback) hooks.stopPlayback();
    if (hooks.clearTrackList) hooks.clearTrackList();
    SetPosition(0, false);
}

void ChartView::ResetForLoadedChart(const std::string& fileTitle) {
    loaded = true;
    songLength = SongLengthTicks(chart);
    ScaleThumb();
    SetPosition(0, false);
    if (hooks.fillPalette) hooks.fillPalette(chart);
    SetCurrentTrack(0);
    if (hooks.setCaption) hooks.setCaption("RYX Creator - [" + fileTitle + "]");
    Invalidate();
}

void ChartView::SetPosition(int32_t requested, bool notify) {
    position = std::clamp(requested, 0, std::max(songLength, 0));
    PlaceThumb();
    if (hooks.setTimeText) hooks.setTimeText(TimeReadout());
    if (notify && hooks.seek) hooks.seek(position);
}

bool ChartView::ScrollBy(int64_t delta) {
    const int64_t target = std::clamp<int64_t>(int64_t{position} + delta, 0, std::max(songLength, 0));
    if (target == position) return false;
    SetPosition(static_cast<int32_t>(target), true);
    Invalidate();
    return true;
}

void ChartView::SetCurrentTrack(int track) {
    if (track < 0 || track >= kTrackCount) return;
    currentTrack = track;
    rangeAnchor.reset();
    if (hooks.selectTrackRow) hooks.selectTrackRow(track);
}

void ChartView::ScaleThumb() {
    thumbScale = songLength / std::max(1, geometry.laneHeight - 3 * geometry.buttonHeight);
}

void ChartView::SetHeight(int height) {
    geometry = geometry.WithHeight(height);
    ScaleThumb();
    PlaceThumb();
    backgroundCleared = false;
    Invalidate();
}

void ChartView::PlaceThumb() {
    // Whole ticks a pixel put the song's end a few pixels past the track: the thumb stops at
    // the up button.
    const int travel = geometry.laneHeight - 3 * geometry.buttonHeight;
    const int rise = thumbScale > 0 ? std::min(position / thumbScale, travel) : 0;
    const int bottom = geometry.Bottom() - geometry.buttonHeight - rise;
    thumb = {geometry.ScrollX(), bottom - geometry.buttonHeight, geometry.ScrollX() + geometry.laneWidth,
             bottom};
}

int32_t ChartView::TimeAt(int y) const {
    const int64_t time = int64_t{geometry.Bottom() - y} * Interval() + position;
    return ClampToI32(time);
}

int ChartView::Zoom(int interval, int anchorY) {
    const int32_t anchored = TimeAt(anchorY);
    settings.interval = std::clamp(interval, kMinInterval, kMaxInterval);
    const int64_t position = anchored - int64_t{geometry.Bottom() - anchorY} * Interval();
    SetPosition(ClampToI32(std::max<int64_t>(position, 0)), true);
    Invalidate();
    return settings.interval;
}

int64_t ChartView::Offset(int32_t time) const {
    return (int64_t{time} - position) / Interval();
}

Rect ChartView::HeadRect(int32_t time, int column) const {
    const int64_t offset = std::clamp<int64_t>(Offset(time), -1000000, 1000000);
    const int left = geometry.ColumnX(column);
    const int bottom = geometry.Bottom() - static_cast<int>(offset);
    return {left, bottom - geometry.cellHeight, left + geometry.laneWidth, bottom};
}

std::string ChartView::TimeReadout() const {
    const TimeBase& time = chart.tempoMap.ChartTime();
    return MinutesSeconds(time.MsAt(std::max(position, 0)), true) + " / " +
           MinutesSeconds(time.MsAt(std::max(songLength, 0)), false);
}

void ChartView::Invalidate() {
    if (hooks.invalidate) hooks.invalidate();
}
