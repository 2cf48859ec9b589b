#pragma once
// ConversionPipeline: the one way from a MIDI file's bytes to a chart, as steps over a song
// held in memory, each reporting its stages to the conversion log. The conversion session
// runs the steps with the temporary files between them ("Prefix.tmp" after Repair,
// "afterfix.tmp" after Convert); ConvertSongBytes runs them straight through for the tests,
// the fuzz target and anything else without files.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ConversionLog.h"
#include "chart/Chart.h"
#include "io/Status.h"

class CMidiSong;

// What the main window does for the conversion; any hook may be empty. A hook only shows or
// stops things and never changes the chart: every rule the chart goes through runs in the
// pipeline, so a chart converted without a window is the chart the editor shows.
struct ConversionHooks {
    std::function<void()> stopPlayback;    // stop playing, release the played song, position 0
    std::function<void()> clearTrackList;  // empty the palette's track list
    // Show the converted chart: palette, view position, caption, repaint.
    std::function<void(const CChart&)> showLoadedChart;
};

class ConversionPipeline {
  public:
    ConversionPipeline(CChart& chart, ConversionLog& log, ConversionHooks hooks = {});
    ~ConversionPipeline();

    // Reading the user's file failed before the repair could start: says why in the log.
    void ReportUnreadable(const Status& status);

    // Step 1: reads the song and runs the six repair checks (format, junk messages,
    // instrument patches, length, tempo, track count), each with its stage in the log. False
    // when the conversion stops (not a MIDI file, format 2), after the log says why.
    bool Repair(std::vector<uint8_t> midiFile);
    // The repaired song as a Standard MIDI File; empty before Repair or after Drop.
    std::vector<uint8_t> RepairedSong() const;

    // Step 2: builds the chart from the repaired song's file: stops playback, resets the
    // chart, reads the file with the program's own reader, builds the tracks, resets the song
    // information, runs FinishConvertedChart and shows the chart; then keeps the song without its
    // notes as the accompaniment and builds the tempo map from it. False (the log says why)
    // only when the file cannot be read.
    bool Convert(std::span<const uint8_t> repairedFile);
    // The accompaniment as a Standard MIDI File; empty before Convert or after Drop.
    std::vector<uint8_t> Accompaniment() const;

    // Drops the song held between the steps.
    void Drop();

  private:
    CChart& chart;
    ConversionLog& log;
    ConversionHooks hooks;
    std::unique_ptr<CMidiSong> song;
};

// Every step in memory, without hooks: the accompaniment, or nullopt when the conversion
// stopped (the log says why). The chart's midiPath is left empty.
std::optional<std::vector<uint8_t>> ConvertSongBytes(std::vector<uint8_t> midiFile, CChart& chart,
                                                     ConversionLog& log);
