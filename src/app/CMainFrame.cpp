#include "CMainFrame.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QKeyEvent>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ChartViewWidget.h"
#include "CheckDialog.h"
#include "DifficultyStrip.h"
#include "ConvertDialog.h"
#include "HelpWindow.h"
#include "Icons.h"
#include "Logo.h"
#include "OptionsDialog.h"
#include "PickNotesDialog.h"
#include "TestPlayKeys.h"
#include "TestPlayView.h"
#include "ProgressDialog.h"
#include "ToolsPalette.h"
#include "TrackList.h"
#include "chart/BeatGrid.h"
#include "difficulty/ChartCheck.h"
#include "chart/ChartFile.h"
#include "chart/SongEnd.h"
#include "difficulty/StarRating.h"
#include "document/FileKind.h"
#include "editor/ChartPainter.h"
#include "editor/NoteText.h"
#include "editor/PaletteFill.h"
#include "io/Clamp.h"

namespace {

const char* kChartFilter = "RYX File (*.ryx)";
constexpr int kMessageMs = 10000;  // how long a status line message stays
const char* kMidiFilter = "Midi File (*.mid *.midi *.rmi);;All Files (*)";

ViewGeometry GeometryForThisScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ViewGeometry::ForScreenWidth(screen ? screen->geometry().width() : 1024);
}

ViewSettings ViewSettingsOf(const AppSettings& s) {
    ViewSettings v;
    v.interval = s.interval;
    v.scroll = s.scroll;
    v.longLength = s.longLength;
    v.beatLines = s.beatLines;
    return v;
}

// `stored`, when a window of `size` placed there shows enough of its top edge on some screen
// to be grabbed and moved (40 × 10 pixels); else `fallback`.
QPoint OnSomeScreen(QPoint stored, QSize size, QPoint fallback) {
    const QRect topEdge(stored, QSize(size.width(), 20));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(topEdge);
        if (shown.width() >= std::min(size.width(), 40) && shown.height() >= 10) return stored;
    }
    return fallback;
}

}  // namespace

CMainFrame::CMainFrame(const AppFolders& folders, const CMidiInfoManager& instruments,
                       std::unique_ptr<SoundEngine> soundEngine)
    : folders(folders),
      instruments(instruments),
      settings(AppSettings::Read(key, PathText(folders.home))),
      engine(std::move(soundEngine)),
      doc(folders.temp, GeometryForThisScreen(), ViewSettingsOf(settings), engine.get()),
      chart(doc.Chart()),
      view(doc.View()),
      editor(doc.Editor()) {
    setWindowTitle("RYX Creator");
    setWindowIcon(MakeIcon(IconKind::Program));
    setAcceptDrops(true);

    // The view paints what it can: a missing image leaves its cells empty and says which.
    if (Status status = view.LoadBitmaps(folders.data); !status)
        QMessageBox::warning(this, "RYX Creator", QString::fromStdString(status.Message()));

    viewWidget = new ChartViewWidget(view, editor, this);
    viewWidget->onHelp = [this] { Help(); };
    viewWidget->isPlaying = [this] { return doc.Playing(); };
    viewWidget->setMouseTracking(true);  // note details as the mouse passes over notes
    viewWidget->onHover = [this](const std::optional<NoteEditor::Hovered>& hovered) {
        if (!hovered) {
            if (!hoverText.isEmpty() && statusBar()->currentMessage() == hoverText) statusBar()->clearMessage();
            hoverText.clear();
            return;
        }
        // The track list's row names the track's instrument after its program number.
        const QString row = palette->Tracks()->RowText(hovered->note.track);
        const QString name = row.section(' ', 1);
        hoverText = QString::fromStdString(
            NoteDetails(chart, hovered->note, hovered->playerNote, name.toStdString()));
        statusBar()->showMessage(hoverText);
    };
    viewWidget->onZoom = [this](int steps, int y) { Zoom(steps, y); };
    viewWidget->onPlayFrom = [this](int32_t position) {
        if (doc.TestPlaying()) return;
        if (Status status = doc.PlayFrom(position); !status) {
            statusBar()->showMessage(QString::fromStdString(status.Message()), kMessageMs);
            return;
        }
        frameTimer->start(std::max(settings.frameSkip, 1));
    };
    frameTimer = new QTimer(this);
    connect(frameTimer, &QTimer::timeout, this, &CMainFrame::FollowPlayback);
    // The view, and under it the difficulty of each moment of the song.
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(viewWidget, 1);
    strip = new DifficultyStrip(central);
    column->addWidget(strip);
    setCentralWidget(central);
    BuildMenus();
    engine->SetMetronome(settings.metronome);

    palette = new ToolsPalette(this);
    palette->ShowKeyChoice(settings.ctrlZUndoes);
    progress = new ProgressDialog(this);

    doc.conversionHooks.clearTrackList = [this] { palette->Tracks()->Clear(); };
    doc.chartReplaced = [this] { frameTimer->stop(); };
    converter = new ConvertDialog(doc.Conversion(), this);
    converter->onFinished = [this] {
        ChartLoaded();
        ShowBeatReadout();  // the tempo map is complete once the conversion is
        FocusView();
    };

    ConnectViewHooks();
    ConnectPalette();

    chooseFile = [this](const QString& title, const QString& filter, bool save,
                        const std::filesystem::path& proposed) {
        const QString start = QString::fromStdString(PathText(proposed));
        const QString chosen = save ? QFileDialog::getSaveFileName(this, title, start, filter)
                                    : QFileDialog::getOpenFileName(this, title, start, filter);
        return PathFromText(chosen.toStdString());
    };
    askSaveChanges = [this] {
        const auto answer = QMessageBox::question(
            this, "RYX Creator", "Save changes?",
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        return answer == QMessageBox::Save      ? SaveAnswer::Save
               : answer == QMessageBox::Discard ? SaveAnswer::Discard
                                                : SaveAnswer::Cancel;
    };
    showError = [this](const QString& message) { QMessageBox::warning(this, "Error", message); };
    showInfo = [this](const QString& message) { QMessageBox::information(this, "RYX Creator", message); };
    askKeysounds = [this] {
        return QMessageBox::question(this, "Export",
                                     "Give each player note its own sound (keysounds)?\n\nThe song's audio then "
                                     "leaves the player's notes out, and each note sounds when it is hit.",
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    askOverwriteChanged = [this] {
        return QMessageBox::question(this, "RYX Creator",
                                     QString::fromStdString("The chart file " + PathText(doc.Path()) +
                                                            " changed on disk since it was opened or saved "
                                                            "here. Overwrite it?"),
                                     QMessageBox::Save | QMessageBox::Cancel,
                                     QMessageBox::Cancel) == QMessageBox::Save;
    };
    runDialog = [](QDialog& dialog) { return dialog.exec(); };

    // The status line shows the measure, beat and tempo; made now so the window's fixed size
    // includes it and the view keeps its own size.
    statusBar()->setSizeGripEnabled(false);
    // A permanent part of the status line, which menu hints never cover.
    speedReadout = new QLabel(this);
    statusBar()->addPermanentWidget(speedReadout);
    beatReadout = new QLabel(this);
    statusBar()->addPermanentWidget(beatReadout);  // at the right: messages show at the left
    // The layout's width always; taller as the author likes (and maximised), the view's lanes
    // showing more time; never shorter than the layout.
    adjustSize();
    setFixedWidth(width());
    setMinimumHeight(height());
    if (settings.windowHeight > height()) resize(width(), settings.windowHeight);
    // Stored positions from another screen layout could put a window where no screen shows it.
    const AppSettings defaults;
    move(OnSomeScreen({settings.windowX, settings.windowY}, size(), {defaults.windowX, defaults.windowY}));
    palette->move(OnSomeScreen({settings.toolX, settings.toolY}, palette->size(), {defaults.toolX, defaults.toolY}));
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenus() {
    // The texts after the tab are shown as the shortcuts; the keys themselves go to the view,
    // so no menu shortcut can take them first.
    auto add = [this](QMenu* menu, const char* text, auto slot) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu("File(&F)");
    add(file, "Open MIDI(&M)...\tCtrl+M", [this] { OpenMidi(); });
    add(file, "Open RYX(&V)...\tCtrl+V", [this] { OpenChart(); });
    add(file, "Save(&S)...\tCtrl+S", [this] { Save(); });
    add(file, "Save As(&A)...\tCtrl+D", [this] { SaveAs(); });
    QMenu* exportMenu = file->addMenu("Export(&E)");
    add(exportMenu, "osu!mania (.osz)...", [this] { Export(GameFormat::Osu); });
    add(exportMenu, "Quaver (.qp)...", [this] { Export(GameFormat::Quaver); });
    add(exportMenu, "BMS (folder)...", [this] { Export(GameFormat::Bms); });
    file->addSeparator();
    add(file, "Exit(&X)", [this] { close(); });

    QMenu* edit = menuBar()->addMenu("Edit(&E)");
    undoAction = add(edit, "Undo(&U)", [this] { Undo(); });
    redoAction = add(edit, "Redo(&R)\tCtrl+Y", [this] { Redo(); });
    edit->addSeparator();
    add(edit, "Select All(&S)\tCtrl+A", [this] { editor.SelectAll(); });
    deleteAllAction = add(edit, "Delete All(&D)", [this] { editor.DeselectAll(); });
    edit->addSeparator();
    add(edit, "Play/Pause(&P)\tF3", [this] { PlayPause(); });
    add(edit, "Stop(&S)\tF4", [this] { Stop(); });
    // Keys the view does not know: real shortcuts of the window.
    QAction* testPlay = add(edit, "Test Play(&T)", [this] { TestPlay(false); });
    testPlay->setShortcut(QKeySequence(Qt::Key_F7));
    QAction* autoplay = add(edit, "Autoplay", [this] { TestPlay(true); });
    autoplay->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    addAction(testPlay);
    addAction(autoplay);
    edit->addSeparator();
    add(edit, "Check Chart(&C)...", [this] { CheckChartCommand(); });
    add(edit, "Pick Notes(&K)...", [this] { PickNotesCommand(); });
    edit->addSeparator();
    add(edit, "Options(&O)\tF2", [this] { Options(); });

    QMenu* viewMenu = menuBar()->addMenu("View(&V)");
    beatLinesAction = add(viewMenu, "Beat Lines(&B)", [this] { SetBeatLines(!settings.beatLines); });
    beatLinesAction->setCheckable(true);
    beatLinesAction->setChecked(settings.beatLines);
    QAction* zoomIn = add(viewMenu, "Zoom In(&I)", [this] { Zoom(-1); });
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut = add(viewMenu, "Zoom Out(&O)", [this] { Zoom(1); });
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    addAction(zoomIn);
    addAction(zoomOut);
    metronomeAction = add(viewMenu, "Metronome(&M)", [this] { SetMetronome(!settings.metronome); });
    metronomeAction->setCheckable(true);
    metronomeAction->setChecked(settings.metronome);
    QMenu* speed = viewMenu->addMenu("Speed(&P)");
    // Keys the view does not know: real shortcuts of the window.
    const std::pair<const char*, QKeySequence> speedItems[] = {
        {"Slower", QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)},
        {"Faster", QKeySequence(Qt::CTRL | Qt::Key_BracketRight)},
        {"Normal Speed", QKeySequence()}};
    for (const auto& [text, keys] : speedItems) {
        QAction* item = speed->addAction(text);
        item->setShortcut(keys);
        addAction(item);
        const int step = QString(text) == "Slower" ? -5 : QString(text) == "Faster" ? 5 : 0;
        connect(item, &QAction::triggered, this,
                [this, step] { SetSpeed(step == 0 ? 100 : engine->SpeedPercent() + step); });
    }
    metronomeAction->setShortcut(QKeySequence(Qt::Key_M));
    addAction(metronomeAction);

    QMenu* info = menuBar()->addMenu("Info(&I)");
    add(info, "Help(&H)\tF1", [this] { Help(); });
    add(info, "About RYX Creator...(&A)", [this] { About(); });
    info->addSeparator();
    add(info, "Connect to RYX Hall(&V)", [this] { OpenLink(RYX_HALL_URL, "community"); });
    add(info, "Tech Support(&Q)", [this] { OpenLink(RYX_SUPPORT_URL, "support"); });
    ShowKeyChoice();
    ShowEditState();
}

void CMainFrame::ShowKeyChoice() {
    editor.ctrlZUndoes = settings.ctrlZUndoes;
    undoAction->setText(settings.ctrlZUndoes ? "Undo(&U)\tCtrl+Z" : "Undo(&U)\tAlt+Backspace");
    deleteAllAction->setText(settings.ctrlZUndoes ? "Delete All(&D)\tCtrl+Shift+D" : "Delete All(&D)\tCtrl+Z");
    if (palette) palette->ShowKeyChoice(settings.ctrlZUndoes);
}

void CMainFrame::ShowRating() {
    if (!palette || !strip) return;  // the window is still being built
    if (!view.HasChart()) {
        palette->SetRating({});
        strip->SetSections({}, 0);
        return;
    }
    const Difficulty difficulty = RateChart(chart);
    palette->SetRating(difficulty.stars > 0 ? QString("Difficulty: %1 stars (level %2 suggested)")
                                                  .arg(difficulty.stars, 0, 'f', 2)
                                                  .arg(SuggestedLevel(difficulty.stars))
                                            : QString("Difficulty: choose player notes to rate"));
    strip->SetSections(difficulty.sections, chart.tempoMap.ChartTime().MsAt(view.songLength));
}

void CMainFrame::ShowEditState() {
    ShowRating();
    const bool chartOpen = view.HasChart();
    const bool dirty = HasUnsavedChanges();
    setWindowTitle(chartOpen ? QString::fromStdString("RYX Creator - [" + doc.FileTitle() + (dirty ? "*" : "") + "]")
                             : QString("RYX Creator"));
    undoAction->setEnabled(chartOpen && editor.history.CanUndo());
    redoAction->setEnabled(chartOpen && editor.history.CanRedo());
}

void CMainFrame::Undo() {
    if (!doc.MayEdit()) return;
    CommitSongFields();
    doc.Undo();
}

void CMainFrame::Redo() {
    if (!doc.MayEdit()) return;
    CommitSongFields();
    doc.Redo();
}

void CMainFrame::ConnectViewHooks() {
    view.hooks.setTimeText = [this](const std::string& text) {
        palette->SetTimeText(QString::fromStdString(text));
        strip->SetPosition(chart.tempoMap.ChartTime().MsAt(std::max(view.position, 0)));
        ShowBeatReadout();
    };
    view.hooks.setCaption = [this](const std::string&) { ShowEditState(); };
    view.hooks.fillPalette = [this](const CChart& loaded) {
        std::string stored = AppSettings::StoredAuthor(key);
        palette->Fill(FillFromChart(loaded, doc.FileTitle(), stored.empty() ? std::nullopt : std::optional(stored),
                                    [this](int32_t code) { return instruments.NameOf(code); }));
        for (int row = 0; row < palette->Tracks()->RowCount(); ++row)
            if (const std::optional<Colour> colour = PlayerNoteColour(view, row))
                palette->Tracks()->SetSwatch(row, QColor::fromRgb(*colour));
    };
    view.hooks.selectTrackRow = [this](int row) { palette->Tracks()->SelectRow(row); };
    view.hooks.clearTrackList = [this] { palette->Tracks()->Clear(); };
    view.hooks.invalidate = [this] { viewWidget->update(); };
    doc.Player()->setLit = [this](int row, bool lit) { palette->Tracks()->SetLit(row, lit); };
    editor.onCommand = [this](EditorCommand command) { OnEditorCommand(command); };
    editor.onBoxesChanged = [this] {
        palette->ShowBoxes(editor.boxes);
        doc.Player()->FilterChanged();
    };
    editor.onHistoryChanged = [this](const EditStep* restored) {
        if (restored && restored->ChangesSongFields()) palette->ShowSongFields(SongFieldsOf(chart.songInfo));
        ShowEditState();
    };
    editor.setBusy = [](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    };
}

void CMainFrame::ConnectPalette() {
    connect(palette, &ToolsPalette::selectAll, this, [this] { editor.SelectAll(); });
    connect(palette, &ToolsPalette::deselectAll, this, [this] { editor.DeselectAll(); });
    connect(palette, &ToolsPalette::selectedTrackBoxClicked, this, [this] {
        if (view.HasChart()) editor.TogglePlaySelectedTrack();
        palette->ShowBoxes(editor.boxes);
        doc.Player()->FilterChanged();
    });
    connect(palette, &ToolsPalette::selectedNotesBoxClicked, this, [this] {
        if (view.HasChart()) editor.TogglePlaySelectedNotes();
        palette->ShowBoxes(editor.boxes);
        doc.Player()->FilterChanged();
    });
    connect(palette, &ToolsPalette::playPause, this, [this] { PlayPause(); });
    connect(palette, &ToolsPalette::stop, this, [this] { Stop(); });
    palette->SetTransportEnabled(true);
    connect(palette, &ToolsPalette::trackChosen, this, [this](int row) {
        view.SetCurrentTrack(row);
        editor.boxes.CurrentTrackChanged(chart, row);
        doc.Player()->FilterChanged();
        view.Invalidate();
    });
    connect(palette, &ToolsPalette::options, this, [this] { Options(); });
    connect(palette, &ToolsPalette::songFieldsEdited, this, [this] { CommitSongFields(); });
    connect(palette, &ToolsPalette::songFieldsTyped, this, [this] { ShowEditState(); });
    connect(palette, &ToolsPalette::save, this, [this] { Save(); });
    connect(palette, &ToolsPalette::done, this, [this] { FocusView(); });
}

void CMainFrame::OnEditorCommand(EditorCommand command) {
    switch (command) {
        case EditorCommand::OpenMidi: OpenMidi(); break;
        case EditorCommand::OpenChart: OpenChart(); break;
        case EditorCommand::Save: Save(); break;
        case EditorCommand::SaveAs: SaveAs(); break;
        case EditorCommand::Options: Options(); break;
        case EditorCommand::PlayPause: PlayPause(); break;
        case EditorCommand::Stop: Stop(); break;
    }
}

void CMainFrame::FocusView() {
    activateWindow();
    viewWidget->setFocus();
}

void CMainFrame::RememberFolder(const std::filesystem::path& chosen) {
    settings.lastPath = PathText(chosen.parent_path());
    key.SetString("LastPath", settings.lastPath);
    key.Sync();
}

std::filesystem::path CMainFrame::DialogFolder() const {
    // A folder that was moved or removed since would open the dialog somewhere arbitrary.
    std::error_code error;
    const std::filesystem::path last = PathFromText(settings.lastPath);
    return !last.empty() && std::filesystem::is_directory(last, error) ? last : folders.home;
}

void CMainFrame::OpenFile(const std::filesystem::path& path) {
    switch (KindOfFile(path)) {
        case FileKind::Midi:
            if (MaySetChartAside()) OpenMidiFile(path);
            break;
        case FileKind::Chart:
            if (MaySetChartAside()) OpenChartFile(path);
            break;
        case FileKind::Other: showError(QString::fromStdString("Not a MIDI file or a chart file: " + PathText(path)));
    }
}

void CMainFrame::Export(GameFormat format) {
    if (!view.HasChart() || doc.Playing() || doc.TestPlaying()) return;
    CommitSongFields();
    const char* title = format == GameFormat::Osu ? "Export for osu!mania" : format == GameFormat::Quaver ? "Export for Quaver" : "Export for BMS";
    const char* filter = format == GameFormat::Osu      ? "osu! beatmap archive (*.osz)"
                         : format == GameFormat::Quaver ? "Quaver map archive (*.qp)"
                                                        : "BMS folder (*)";
    const char* extension = format == GameFormat::Osu ? ".osz" : format == GameFormat::Quaver ? ".qp" : "";
    std::filesystem::path output =
        chooseFile(title, filter, true, DialogFolder() / (doc.FileTitle() + extension));
    if (output.empty()) return;
    if (format != GameFormat::Bms && output.extension() != extension) output += extension;
    RememberFolder(output);
    ExportOptions options;
    options.format = format;
    options.output = output;
    options.keysounds = askKeysounds();
    options.soundFont = AppSettings::ChosenSoundFont(key);
    progress->show();
    ExportResult result;
    const Status status = doc.Export(options, result, [this](double share, const std::string& step) {
        progress->Share(share, step);
    });
    progress->hide();
    FocusView();
    if (!status) {
        showError(QString::fromStdString(status.Message()));
        return;
    }
    QString files;
    for (const std::string& file : result.files) files += "\n  " + QString::fromStdString(file);
    showInfo(QString::fromStdString("Exported to " + PathText(result.output) + ":") + files);
}

void CMainFrame::OpenMidi() {
    if (!MaySetChartAside()) return;
    const std::filesystem::path chosen =
        chooseFile("Open Midi File", kMidiFilter, false, DialogFolder());
    if (!chosen.empty()) OpenMidiFile(chosen);
}

void CMainFrame::OpenMidiFile(const std::filesystem::path& path) {
    RememberFolder(path);
    // The open chart and its path stay as they are until the conversion replaces the chart.
    doc.PrepareConversion(path);
    converter->ShowPrepared();
}

void CMainFrame::OpenChart() {
    if (!MaySetChartAside()) return;
    const std::filesystem::path chosen =
        chooseFile("Load", kChartFilter, false, DialogFolder());
    if (!chosen.empty()) OpenChartFile(chosen);
}

bool CMainFrame::OpenChartFile(const std::filesystem::path& path) {
    RememberFolder(path);
    progress->show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Status status =
        doc.OpenChart(path, [this](int position, std::string_view text) { progress->Step(position, text); });
    QGuiApplication::restoreOverrideCursor();
    progress->hide();
    if (!status) {
        showError(QString::fromStdString(status.Message()));
        return false;
    }
    ShowBeatReadout();
    ChartLoaded();
    FocusView();
    return true;
}

bool CMainFrame::Save() {
    if (!view.HasChart()) return false;
    if (doc.Path().empty()) return SaveAs();
    // Another program or a second window may have saved the file since: ask before losing that.
    if (doc.ChangedOnDisk() && !askOverwriteChanged()) return false;
    return SaveChartTo(doc.Path());
}

bool CMainFrame::SaveAs() {
    if (!view.HasChart()) return false;
    const std::filesystem::path folder = DialogFolder();
    const std::filesystem::path chosen =
        chooseFile(doc.Path().empty() ? "Save" : "Save As", kChartFilter, true, folder / (doc.FileTitle() + ".ryx"));
    if (chosen.empty()) return false;
    std::filesystem::path target = chosen;
    if (target.extension().empty()) target += ".ryx";
    RememberFolder(target);
    return SaveChartTo(target);
}

bool CMainFrame::SaveChartTo(const std::filesystem::path& path) {
    const ChartDocument::SaveOutcome saved =
        doc.SaveTo(path, ShownSongFields(), palette->Fields().selectedRow);
    if (saved.chosenNotes > 0)
        statusBar()->showMessage(QString("No player notes: the %1 notes of track %2 were chosen")
                                     .arg(saved.chosenNotes)
                                     .arg(saved.chosenTrack),
                                 kMessageMs);
    if (!saved.status) {
        showError(QString::fromStdString(saved.status.Message()));
        return false;
    }
    // Saved, but a chart without notes to hit is no game: say so.
    if (saved.playerEmpty)
        showError(
            "The chart is saved, but the player has no notes to hit: choose some notes and save again.");
    ShowEditState();
    viewWidget->update();
    return true;
}

void CMainFrame::ChartLoaded() {
    doc.TakeShownSongInfo(palette->Fields());
}

SongFields CMainFrame::ShownSongFields() const {
    CSongInfo shown = chart.songInfo;
    StorePaletteFields(palette->Fields(), shown);
    return SongFieldsOf(shown);
}

bool CMainFrame::SongFieldsTyped() const {
    return ShownSongFields() != SongFieldsOf(chart.songInfo);
}

void CMainFrame::CommitSongFields() {
    doc.CommitSongFields(ShownSongFields());
}

bool CMainFrame::HasUnsavedChanges() const {
    // The palette exists once a chart can: before, there is nothing to lose.
    return view.HasChart() && doc.HasUnsavedChanges(ShownSongFields());
}

bool CMainFrame::MaySetChartAside() {
    if (!HasUnsavedChanges()) return true;
    switch (askSaveChanges()) {
        case SaveAnswer::Save: return Save();
        case SaveAnswer::Discard: return true;
        case SaveAnswer::Cancel: return false;
    }
    return false;
}

void CMainFrame::PlayPause() {
    if (!view.HasChart()) return;
    FocusView();
    if (Status status = doc.PlayPause(); !status) {
        statusBar()->showMessage(QString::fromStdString(status.Message()), kMessageMs);
        return;
    }
    if (doc.Playing()) {
        // Playing, but perhaps not heard: the status line says why.
        if (const std::string problem = engine->CurrentPortProblem(); !problem.empty())
            statusBar()->showMessage(QString::fromStdString(problem), kMessageMs);
        frameTimer->start(std::max(settings.frameSkip, 1));
    } else {
        frameTimer->stop();
    }
}

void CMainFrame::Stop() {
    doc.Stop();
    frameTimer->stop();
}

void CMainFrame::SetSpeed(int percent) {
    engine->SetSpeed(percent);
    const int now = engine->SpeedPercent();
    speedReadout->setText(now == 100 ? QString() : QString("Speed %1 %").arg(now));
    statusBar()->showMessage(QString("Playback speed %1 %").arg(now), kMessageMs);
}

void CMainFrame::Zoom(int steps, std::optional<int> y) {
    if (!view.HasChart()) return;
    const ViewGeometry& g = view.geometry;
    settings.interval = view.Zoom(view.settings.interval + steps, y.value_or((g.margin + g.Bottom()) / 2));
    // 10 chart ticks a pixel is 100 %.
    statusBar()->showMessage(QString("Zoom %1 %").arg(1000 / settings.interval), kMessageMs);
}

void CMainFrame::SetMetronome(bool on) {
    settings.metronome = on;
    engine->SetMetronome(on);
    metronomeAction->setChecked(on);
    statusBar()->showMessage(on ? "Metronome on" : "Metronome off", kMessageMs);
}

void CMainFrame::TestPlay(bool autoplay) {
    if (!view.HasChart() || doc.TestPlaying()) return;
    CommitSongFields();
    FocusView();
    frameTimer->stop();
    if (Status status = doc.StartTestPlay(autoplay, settings.offsetMs); !status) {
        statusBar()->showMessage(QString::fromStdString(status.Message()), kMessageMs);
        return;
    }
    testAutoplay = autoplay;
    testKeys = TestKeyCodes(settings.testKeys);
    qApp->installEventFilter(this);
    viewWidget->overlay = [this](QPainter& painter) {
        if (doc.TestPlaying()) PaintTestPlay(painter, view.geometry, *doc.TestPlay());
    };
    // Smooth scrolling: a frame about every screen refresh, whatever FRAMESKIP says.
    constexpr int kTestPlayFrameMs = 8;
    frameTimer->start(kTestPlayFrameMs);
}

void CMainFrame::FinishTestPlay() {
    if (!doc.TestPlaying()) return;
    frameTimer->stop();
    qApp->removeEventFilter(this);
    doc.EndTestPlay();
    viewWidget->overlay = nullptr;
    viewWidget->update();
    TestPlayResults results(doc.TestPlay()->Results(), this);
    runDialog(results);
    FocusView();
    if (results.RetryChosen()) TestPlay(testAutoplay);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (!doc.TestPlaying() || (!press && event->type() != QEvent::KeyRelease))
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (press && key->key() == Qt::Key_Escape) {
        // Once the event has been handled: the results come up after it.
        QTimer::singleShot(0, this, &CMainFrame::FinishTestPlay);
        return true;
    }
    const int lane = LaneOfKey(testKeys, key->key());
    if (lane < 0 || key->isAutoRepeat()) return true;  // no editing keys while test-playing
    // The key happened when its event says, not when it is handled: its age, on the steady
    // clock, from the event's own time stamp.
    const double steadyMs = std::chrono::duration<double, std::milli>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count();
    double age = 0;
    if (key->timestamp() != 0) {
        const double offset = steadyMs - static_cast<double>(key->timestamp());
        keyClockOffset = keyClockOffset ? std::min(*keyClockOffset, offset) : offset;
        age = (offset - *keyClockOffset) / 1000.0;
    }
    if (press)
        doc.TestPlay()->KeyDown(lane, age);
    else
        doc.TestPlay()->KeyUp(lane, age);
    viewWidget->update();
    return true;
}

void CMainFrame::FollowPlayback() {
    if (doc.TestPlaying()) {
        if (doc.FollowTestPlay()) FinishTestPlay();
        return;
    }
    bool ended = false;
    doc.FollowPlayback(ended);
    if (!doc.Playing()) frameTimer->stop();
}

void CMainFrame::SetBeatLines(bool on) {
    settings.beatLines = on;
    view.settings.beatLines = on;
    beatLinesAction->setChecked(on);
    view.Invalidate();
}

QString CMainFrame::BeatReadoutText() const {
    return beatReadout->text();
}

void CMainFrame::ShowBeatReadout() {
    if (!view.HasChart()) return;
    beatReadout->setText(QString::fromStdString(BeatReadout(chart.tempoMap, view.position)));
}

void CMainFrame::StopForNewChart() {
    doc.Player()->ChartReplaced();
    frameTimer->stop();
}

void CMainFrame::PickNotesCommand() {
    if (!view.HasChart() || !doc.MayEdit()) return;
    CommitSongFields();
    const double current = RateChart(chart).stars;
    PickNotesDialog dialog(current > 0 ? std::round(current * 100) / 100 : 2.0, this);
    if (runDialog(dialog) != QDialog::Accepted) return;
    const std::optional<int> track = dialog.AllTracks() ? std::nullopt : std::optional(view.currentTrack);
    const PickResult result = doc.PickPlayerNotes(dialog.Stars(), track);
    statusBar()->showMessage(QString("Picked %1 notes: %2 stars for %3%4")
                                 .arg(result.notes.size())
                                 .arg(result.stars, 0, 'f', 2)
                                 .arg(dialog.Stars(), 0, 'f', 2)
                                 .arg(result.withinTolerance ? "" : " (as close as these notes allow)"),
                             kMessageMs);
    FocusView();
}

void CMainFrame::CheckChartCommand() {
    if (!view.HasChart()) return;
    CommitSongFields();
    CheckDialog dialog(chart, CheckChart(chart, view.CollisionWindow()), this);
    dialog.showFinding = [this](const ChartFinding& finding) { doc.ShowFinding(finding); };
    runDialog(dialog);
    FocusView();
}

void CMainFrame::Options() {
    // The settings cannot change under a playing chart.
    if (doc.Playing()) return;
    QStringList rows;
    for (const std::string& row : palette->Fields().trackRows) rows.push_back(QString::fromStdString(row));
    QStringList ports;
    for (int i = 0; i < engine->PortCount(); ++i)
        ports.push_back(QString::fromStdString(engine->PortName(i)));
    OptionsDialog dialog(settings, rows, ports, engine->CurrentPort(), this);
    dialog.changePort = [this](int index) {
        StopForNewChart();  // the song is loaded again on the new port at the next Play
        if (Status status = engine->ChangePort(index); !status) showError(QString::fromStdString(status.Message()));
        return engine->CurrentPort();
    };
    if (runDialog(dialog) == QDialog::Accepted) {
        settings = dialog.Applied(settings);
        view.settings = ViewSettingsOf(settings).Sanitised();
        beatLinesAction->setChecked(settings.beatLines);
        ShowKeyChoice();
        if (std::optional<int> track = dialog.TrimTrack(); track && *track < kTrackCount)
            editor.TrimTrack(*track, settings.windLengthDecrease);
        view.SetPosition(view.position, false);
        view.Invalidate();
    }
    FocusView();
}

void CMainFrame::Help() {
    OpenLink("", "");
}

void CMainFrame::OpenLink(const char* address, const char* helpSection) {
    // An address the build was given opens as it is; without one, the help page's section
    // about it does, so no menu item leads nowhere.
    if (address && *address) {
        QDesktopServices::openUrl(QUrl(address));
        return;
    }
    const std::filesystem::path page = folders.data / "help" / "index.html";
    if (!std::filesystem::exists(page)) {
        showError(QString::fromStdString("The help pages are missing: " + PathText(page)));
        return;
    }
    if (!help) help = new HelpWindow(page, this);
    help->ShowSection(helpSection);
}

void CMainFrame::About() {
    QDialog about(this);
    about.setWindowTitle("About RYX Creator");
    auto* logo = new QLabel(&about);
    logo->setPixmap(LoadLogo(folders.data));
    auto* text = new QLabel("RYX Creator " RYX_VERSION
                            "\nA chart editor for rhythm-game authors.\nMade by the RYX Creator developers; "
                            "free to use and share.",
                            &about);
    auto* ok = new QPushButton("OK", &about);
    connect(ok, &QPushButton::clicked, &about, &QDialog::accept);
    auto* layout = new QVBoxLayout(&about);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignRight);
    runDialog(about);
    FocusView();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!MaySetChartAside()) {
        event->ignore();
        return;
    }
    StopForNewChart();
    settings.windowX = x();
    settings.windowY = y();
    settings.windowHeight = isMaximized() ? settings.windowHeight : height();
    settings.toolX = palette->x();
    settings.toolY = palette->y();
    settings.WriteAtShutDown(key, palette->Fields().author, PathText(folders.home));
    settings.WritePalettePosition(key);
    converter->hide();
    palette->hide();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    OpenFile(PathFromText(urls.first().toLocalFile().toStdString()));
}
