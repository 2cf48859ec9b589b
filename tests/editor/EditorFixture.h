#pragma once
// A chart view over a chart built in code, with the pixel positions of notes worked out the
// way the view places them (large layout: margin 10, pitch 35, lanes 580 high, cells 10 high).

#include <string>
#include <vector>

#include "chart/FinishLoadedChart.h"
#include "editor/ChartView.h"
#include "editor/NoteEditor.h"
#include "support/TestChart.h"

struct EditorFixture {
    EditorFixture() : view(chart, ViewGeometry::Large()), editor(view) {
        view.hooks.invalidate = [this] { ++repaints; };
        view.hooks.seek = [this](int32_t position) { seeks.push_back(position); };
        view.hooks.selectTrackRow = [this](int row) { rows.push_back(row); };
        view.hooks.setTimeText = [this](const std::string& text) { timeText = text; };
        editor.onCommand = [this](EditorCommand command) { commands.push_back(command); };
    }

    // Adds a note to `track` (lane from its key) and returns its index.
    uint32_t Add(int32_t time, uint8_t key, uint16_t track = 0, int32_t length = 100) {
        chart.tracks[track].Append(MakeNote(time, key, track, length));
        chart.usedTrackCount = std::max<uint16_t>(chart.usedTrackCount, static_cast<uint16_t>(track + 1));
        return chart.tracks[track].Count() - 1;
    }
    // Loads the chart into the view as the editor does after a load.
    void Load() {
        FinishConvertedChart(chart);
        view.ResetForLoadedChart("test");
    }

    // The middle of the head of a note at `time` in `column` (lane, or lane + 8 for the chart area).
    int X(int column) const { return view.geometry.ColumnX(column) + view.geometry.laneWidth / 2; }
    int Y(int32_t time) const { return view.HeadRect(time, 0).top + view.geometry.cellHeight / 2; }

    void Click(int x, int y) {
        editor.LeftButtonDown(x, y, false);
        editor.LeftButtonUp(x, y);
    }
    void ClickNote(uint32_t index) {
        const CNote& n = chart.tracks[view.currentTrack].At(index);
        Click(X(n.lane), Y(n.time));
    }
    std::vector<int32_t> SelectedTimes() const {
        std::vector<int32_t> times;
        for (const CNote& n : chart.selection.Notes()) times.push_back(n.time);
        return times;
    }

    CChart chart;
    ChartView view;
    NoteEditor editor;
    int repaints = 0;
    std::vector<int32_t> seeks;
    std::vector<int> rows;
    std::vector<EditorCommand> commands;
    std::string timeText;
};
