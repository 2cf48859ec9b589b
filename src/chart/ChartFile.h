#pragma once
// Loading a chart file into the open chart and saving the open chart, without any window.
// The editor's Open, Save and Save As commands choose the file and show progress and errors;
// these functions do the file work in between and return what went wrong.

#include <filesystem>
#include <functional>
#include <string_view>

#include "Chart.h"
#include "Selection.h"
#include "io/FileSystem.h"
#include "io/Status.h"

// Names of the temporary files, kept in the run's private temporary folder.
inline constexpr std::string_view kInfoTempName = "inf.tmp";
inline constexpr std::string_view kSongTempName = "mid.tmp";

// Called as the load moves on: the position 1..6 of the progress bar and its text.
using LoadProgress = std::function<void(int position, std::string_view text)>;

// Reads the chart file at `chartPath` into `chart`: song information, the tempo map of its
// song, the 16 tracks, usedTrackCount, the player track and the selection list rebuilt from
// it, selectionChanged cleared, and the rules of FinishOpenedChart applied (stored lanes kept). The segments are
// written to "inf.tmp" and "mid.tmp" in `tempDir`, and the song information's midiPath names
// "mid.tmp".
//
// Everything is read and checked before anything changes: on failure `chart` and its song
// (the file its midiPath names) are exactly as they were. "inf.tmp" may have been replaced
// by then; nothing reads it but a save, which always writes it anew first.
Status LoadChartFile(CChart& chart, const std::filesystem::path& chartPath,
                     const std::filesystem::path& tempDir, const LoadProgress& progress = {},
                     FileSystem& fs = NativeFileSystem());

// Saves `chart` to `chartPath`: selects every visible note of the current track
// (songInfo.currentTrack) when no note is selected, so a saved chart has player notes whenever
// that track has any (`collisionWindow` as for Select); writes the chart information to
// "inf.tmp" in `tempDir`, rebuilding the player track from the selection list first when
// selectionChanged is set, and joins it with the song at songInfo.midiPath into the chart
// file. A `chartPath` that is a symbolic link keeps pointing at the saved chart.
//
// Refuses with TooManyNotes, before writing anything, when a track or the player's notes
// exceed what a chart file can hold. On any failure the previous chart file is untouched.
Status SaveChartFile(CChart& chart, const std::filesystem::path& chartPath,
                     const std::filesystem::path& tempDir, FileSystem& fs = NativeFileSystem(),
                     int32_t collisionWindow = kDefaultCollisionWindow);
