#pragma once
// CMainFrame: the main window. It owns the open chart and everything that shows or edits it
// (view, note editor, tools palette, conversion and progress dialogs, settings) and carries
// out the file commands. Like the rest of src/app it only shows and forwards: the rules live
// in the core folders. Everything runs on the user-interface thread.

#include <QMainWindow>
#include <filesystem>
#include <array>
#include <functional>
#include <optional>
#include <memory>
#include <vector>

#include "AppSettings.h"
#include "RegistryKey.h"
#include "io/FileSystem.h"
#include "document/ChartDocument.h"
#include "midi_import/MidiInfoManager.h"

class ChartViewWidget;
class DifficultyStrip;
class QAction;
class QLabel;
class QTimer;
class QDialog;
class ConvertDialog;
class HelpWindow;
class ProgressDialog;
class ToolsPalette;

struct AppFolders {
    std::filesystem::path data;     // "Instlist.txt", "common/", help pages, demo song
    std::filesystem::path temp;     // this run's private folder for temporary files
    std::filesystem::path home;     // the user's home folder: where file dialogs start at first
};

class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // What the user answers to "Save changes?".
    enum class SaveAnswer { Save, Discard, Cancel };

    // `engine` plays the chart (the system's ports in the program, a recording port in tests).
    CMainFrame(const AppFolders& folders, const CMidiInfoManager& instruments,
               std::unique_ptr<SoundEngine> engine);
    ~CMainFrame() override;

    // Opens a file as its extension says: a MIDI file (.mid, .midi, .rmi, any case) prepares
    // the conversion dialog for it; a chart (.ryx) is opened.
    void OpenFile(const std::filesystem::path& path);
    void OpenMidiFile(const std::filesystem::path& path);
    // False, after an error box naming the file and the reason, when it cannot be read; the
    // chart on screen is then untouched.
    bool OpenChartFile(const std::filesystem::path& path);
    // Saves to `path` (Save As without the dialog); false after an error box.
    bool SaveChartTo(const std::filesystem::path& path);

    // The menu commands.
    void OpenMidi();
    void OpenChart();
    bool Save();
    bool SaveAs();
    // Lists the chart check's findings; a double click shows one in the view.
    void CheckChartCommand();
    // Edit › Pick Notes: the player's notes chosen for a star rating.
    void PickNotesCommand();
    void PlayPause();
    void Stop();
    // Test-play from the view position, by the player or by itself; ended by Escape or the
    // song's end, which show the results.
    void TestPlay(bool autoplay);
    // Playback speed in percent, 25..200, in steps of 5; the metronome on or off.
    void SetSpeed(int percent);
    void SetMetronome(bool on);
    // The note interval changes by `steps` (negative: zoom in), the time at height `y` (the
    // view's centre when none) staying where it is; the Options' Note Interval follows.
    void Zoom(int steps, std::optional<int> y = std::nullopt);
    // File › Export: the chart for osu!mania (.osz), Quaver (.qp) or BMS (a folder).
    void Export(GameFormat format);
    void Options();
    void Help();
    void About();

    // True when the chart differs from what was last opened or saved: it was converted and
    // never saved, the edit history is away from its clean point, or a song information field
    // holds typed text that differs from the chart's.
    bool HasUnsavedChanges() const;
    void Undo();
    void Redo();

    // The dialogs a test answers in place of the user: the file dialogs (an empty path is
    // Cancel), the "Save changes?" question and the error boxes.
    std::function<std::filesystem::path(const QString& title, const QString& filter, bool save,
                                        const std::filesystem::path& proposed)>
        chooseFile;
    std::function<SaveAnswer()> askSaveChanges;
    // "The chart file changed on disk since it was opened or saved: overwrite it?"; true to save.
    std::function<bool()> askOverwriteChanged;
    std::function<void(const QString& message)> showError;
    // Export: whether each player note gets its own sound; what was written.
    std::function<bool()> askKeysounds;
    std::function<void(const QString& message)> showInfo;
    // Runs a modal dialog; tests answer it in place of the user.
    std::function<int(QDialog& dialog)> runDialog;

    CChart& Chart() { return chart; }
    ChartView& View() { return view; }
    ChartViewWidget* ViewWidget() const { return viewWidget; }
    ToolsPalette* Palette() const { return palette; }
    ConvertDialog* Converter() const { return converter; }
    HelpWindow* HelpShown() const { return help; }
    const std::filesystem::path& ChartPath() const { return doc.Path(); }
    ChartDocument& Document() { return doc; }
    const AppSettings& Settings() const { return settings; }
    const PlayController& Player() const { return *doc.Player(); }
    QString BeatReadoutText() const;
    // One frame of playback: the view follows the music clock (the frame timer's work).
    void FollowPlayback();
    // Beat and measure lines under the notes on or off (View menu, Options).
    void SetBeatLines(bool on);

    // Ends a test-play run and shows its results (Retry starts it again).
    void FinishTestPlay();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void ConnectPalette();
    void ConnectViewHooks();
    void OnEditorCommand(EditorCommand command);
    // Asks "Save changes?" when there are unsaved edits; false when the user cancels (or the
    // save failed), so the command that asked must not go on.
    bool MaySetChartAside();
    void RememberFolder(const std::filesystem::path& chosen);
    // Where the file dialogs start: the folder last used, or the home folder.
    std::filesystem::path DialogFolder() const;
    // A chart was opened or converted: it takes the song information the palette shows (what
    // a save would store) and starts a clean history.
    void ChartLoaded();
    // The song information fields as the palette shows them.
    SongFields ShownSongFields() const;
    // The palette's song information fields as one undoable step, when they changed.
    void CommitSongFields();
    // True while the palette's song information fields hold text not yet committed that
    // differs from the chart's.
    bool SongFieldsTyped() const;
    // The caption with "*" after the file name while there are unsaved changes, and the
    // Undo and Redo items enabled when there is something to undo or redo.
    void ShowEditState();
    // The Edit menu's key texts for the Ctrl+Z choice of the options.
    void ShowKeyChoice();
    // Opens `address` in the desktop's handler, or the help window at `helpSection` when the
    // build has no address (and the help's start with no section).
    void OpenLink(const char* address, const char* helpSection);
    void FocusView();
    // Playback stops and forgets the song: the port changes or the window closes.
    void StopForNewChart();
    // The measure:beat and tempo read-out at the view position, in the status line.
    void ShowBeatReadout();
    // The star rating of the player's notes in the palette, the strain strip under the view.
    void ShowRating();

    AppFolders folders;
    const CMidiInfoManager& instruments;
    RegistryKey key;
    AppSettings settings;

    std::unique_ptr<SoundEngine> engine;
    ChartDocument doc;
    // The document's parts this window shows and forwards to, by their short names.
    CChart& chart;
    ChartView& view;
    NoteEditor& editor;
    QTimer* frameTimer = nullptr;  // every FRAMESKIP milliseconds while playing
    QAction* beatLinesAction = nullptr;
    QAction* metronomeAction = nullptr;
    QLabel* speedReadout = nullptr;  // "Speed 75 %" while not 100 %
    QString hoverText;               // the details of the note under the mouse, while shown
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* deleteAllAction = nullptr;
    QLabel* beatReadout = nullptr;  // the measure:beat and tempo read-out
    // Test-play: its keys, whether the run is by itself, and the offset between the key
    // events' own clock and the steady clock (the least seen: the least delay).
    std::array<int, 7> testKeys{};
    bool testAutoplay = false;
    std::optional<double> keyClockOffset;

    ChartViewWidget* viewWidget = nullptr;
    DifficultyStrip* strip = nullptr;
    ToolsPalette* palette = nullptr;
    ConvertDialog* converter = nullptr;
    ProgressDialog* progress = nullptr;
    HelpWindow* help = nullptr;  // made when first asked for

};
