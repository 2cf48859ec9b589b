#pragma once
// ChartDocument: the open chart as a document, shared by the editor's window and ryxtool: the
// chart, the view over it with its note editor and edit history, the file it came from, the
// conversion session that makes charts from MIDI files, and the player. It holds the rules of
// the file and transport commands, so the window only shows and forwards and a command line
// tool does the very same thing:
// - opening: a chart file replaces the chart only when it reads whole; a MIDI file prepares the
//   conversion, and the chart is replaced when the conversion finishes;
// - the dirty state: converted and never saved, an edit history away from its clean point, or
//   song information typed but not committed; a plain query that changes nothing;
// - the save policy: the current track recorded, the song information committed, every
//   visible note of the current track chosen (as an undoable step) when the player has none;
// - no edits while the chart plays; Play and its end by one rule for the window and ryxtool.
// User-interface thread only.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "difficulty/ChartCheck.h"
#include "chart/ChartFile.h"
#include "editor/ChartView.h"
#include "editor/NoteEditor.h"
#include "difficulty/PickNotes.h"
#include "editor/PaletteFill.h"
#include "export/Exporter.h"
#include "io/FileSystem.h"
#include "midi_import/ConversionSession.h"
#include "playback/PlayController.h"
#include "TestPlayRun.h"
#include "playback/SoundEngine.h"

class ChartDocument {
  public:
    // What a save did besides saving: the notes it chose for the player (when it had none),
    // and whether the player still has no notes to hit.
    struct SaveOutcome {
        Status status;
        int chosenNotes = 0;
        int chosenTrack = -1;
        bool playerEmpty = false;
    };

    // `engine` plays the chart; without one (a command that never plays) there is no player.
    // The run's private temporary folder `tempDir` holds the song files.
    ChartDocument(std::filesystem::path tempDir, ViewGeometry geometry, ViewSettings settings,
                  SoundEngine* engine = nullptr);

    CChart& Chart() { return chart; }
    const CChart& Chart() const { return chart; }
    ChartView& View() { return view; }
    const ChartView& View() const { return view; }
    NoteEditor& Editor() { return editor; }
    const NoteEditor& Editor() const { return editor; }
    ConversionSession& Conversion() { return *session; }
    // Null without an engine.
    PlayController* Player() { return player.get(); }
    const PlayController* Player() const { return player.get(); }
    // The chart file; empty for a chart converted from MIDI and not yet saved.
    const std::filesystem::path& Path() const { return path; }
    // The name the caption and the first save propose: the chart file's or the MIDI file's.
    const std::string& FileTitle() const { return fileTitle; }

    // Hooks of the window: the conversion session's (clear the track list while converting) and
    // one for every time the chart was replaced by an open or a conversion.
    ConversionHooks conversionHooks;
    std::function<void()> chartReplaced;

    // Reads the chart file at `chartPath`; on success the chart, its path, the view (position
    // 0, track 0) and a clean history are the new chart's. On failure nothing changes.
    Status OpenChart(const std::filesystem::path& chartPath, const LoadProgress& progress = {});
    // Prepares the conversion of the MIDI file at `midiPath`; the chart stays as it is until
    // the conversion replaces it (Conversion().Ok() up to Finished).
    void PrepareConversion(const std::filesystem::path& midiPath);
    // A chart just opened or converted takes the song information as the window shows it
    // (the title falls back to the file's name, the author to the stored one), and its
    // history starts there.
    void TakeShownSongInfo(const PaletteFields& shown);

    // Saves to `target` with the save policy. `fields` are the song information as the author
    // sees it, committed first; `currentTrack` the track shown.
    SaveOutcome SaveTo(const std::filesystem::path& target, const SongFields& fields, int currentTrack,
                       FileSystem& fs = NativeFileSystem());
    // True when the chart file changed on disk since this document read or wrote it.
    bool ChangedOnDisk() const;
    // True when the chart differs from what was last opened or saved (`typed`: the song
    // information as shown, when it may hold uncommitted text).
    bool HasUnsavedChanges(const std::optional<SongFields>& typed = {}) const;
    // The song information as shown becomes one undoable step when it differs.
    void CommitSongFields(const SongFields& fields);

    // Edits, undo and redo are refused while the chart plays or is test-played.
    bool MayEdit() const { return !Playing() && !TestPlaying(); }
    bool Undo();
    bool Redo();

    // Shows a chart check finding: its track current, the view just below its time.
    void ShowFinding(const ChartFinding& finding);

    // Play/Pause from the view position, Stop (the view back to 0), and one frame of playback
    // (the view follows the music; `ended` at the song's end). PlayPause says why when nothing
    // started or paused.
    Status PlayPause();
    // Plays from `position` (chart ticks), pausing first what plays.
    Status PlayFrom(int32_t position);
    // Stops: the view goes back to where playing last started; when already stopped, to the
    // song's start.
    void Stop();
    int32_t FollowPlayback(bool& ended);
    bool Playing() const { return player && player->Playing(); }

    // Pick Notes: the player's notes chosen from `track` (the current one; nothing: every track)
    // so their rating lands near `stars`, as one undoable step; refused (nothing changes) while
    // the chart plays.
    PickResult PickPlayerNotes(double stars, std::optional<int> track);

    // Exports the chart for a game with its song (read from the chart's song file), as
    // ExportChartFiles does; the song file's faults too.
    Status Export(const ExportOptions& options, ExportResult& result,
                  const std::function<void(double, const std::string&)>& progress = {});

    // Test-play from the view position (playing stops first); why not when it cannot start.
    Status StartTestPlay(bool autoplay, double offsetMs);
    // One frame of test-play: the view follows what is heard; true once the song has ended.
    bool FollowTestPlay();
    // Ends the run; the view returns to where it started.
    void EndTestPlay();
    bool TestPlaying() const { return testRun && testRun->Running(); }
    // Null without an engine.
    TestPlayRun* TestPlay() { return testRun.get(); }

  private:
    void Converted();
    void Replaced(const std::filesystem::path& newPath, std::string title);

    std::filesystem::path tempDir;
    CChart chart;
    ChartView view;
    NoteEditor editor;
    std::unique_ptr<ConversionSession> session;
    std::unique_ptr<PlayController> player;
    std::unique_ptr<TestPlayRun> testRun;
    int32_t playStartedAt = 0;  // the view position where Play last started playing
    bool stopped = true;        // Stop was the last of Play and Stop
    std::filesystem::path path;
    std::optional<FileStamp> stamp;  // the chart file as this document last read or wrote it
    std::string fileTitle;
    std::string pendingTitle;  // the MIDI file's, until its conversion replaces the chart
};
