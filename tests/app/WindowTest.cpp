// The editor's window on Qt's offscreen platform, driven through its own entry points and
// events: a whole session from MIDI file to saved chart, the palette's rules, the settings,
// the conversion dialog's states, the unsaved-changes prompt and damaged files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "app/AppSettings.h"
#include "app/CMainFrame.h"
#include "app/ChartViewWidget.h"
#include "app/CheckDialog.h"
#include "app/ConvertDialog.h"
#include "app/DifficultyStrip.h"
#include "difficulty/StarRating.h"
#include "app/HelpWindow.h"
#include "app/OptionsDialog.h"
#include "app/PickNotesDialog.h"
#include "app/RegistryKey.h"
#include "app/ToolsPalette.h"
#include "app/TrackList.h"
#include "chart/BeatGrid.h"
#include "chart/ChartFile.h"
#include "editor/ChartPainter.h"
#include "testplay/TestNotes.h"
#include "chart/Selection.h"
#include "cli/CommandHelpers.h"
#include "midi_import/ConversionPipeline.h"
#include "playback/OutputPort.h"
#include "playback/SoundEngine.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

namespace {

const std::filesystem::path kData = std::filesystem::path(RYX_SOURCE_DIR) / "data";

// One application for the whole test program, with its settings in a folder of its own.
std::filesystem::path SettingsFile() {
    static ScratchFolder config;
    static const bool set = qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path().string()));
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own globals may be gone by the time static objects are.
    static QApplication* app = new QApplication(argc, argv);
    (void)set;
    (void)app;
    return config.Path() / "FENWOLT" / "RYXTOOL10.conf";
}

struct Window {
    explicit Window(bool keepSettings = false) {
        if (!keepSettings) std::filesystem::remove(SettingsFile());
        CMidiInfoManager::Read(kData / "Instlist.txt", instruments);
        std::vector<std::unique_ptr<OutputPort>> ports;
        ports.push_back(std::make_unique<RecordingPort>());
        ports.push_back(std::make_unique<RecordingPort>());
        frame = std::make_unique<CMainFrame>(AppFolders{kData, temp.Path(), kData}, instruments,
                                             std::make_unique<SoundEngine>(std::move(ports)));
        frame->showError = [this](const QString& message) { errors.push_back(message.toStdString()); };
        frame->askSaveChanges = [this] {
            ++questions;
            return answer;
        };
        frame->chooseFile = [this](const QString&, const QString&, bool, const std::filesystem::path&) {
            return chosen;
        };
    }
    // Converts the demo song as the author does: open it, OK, OK.
    void ConvertDemo() {
        frame->OpenFile(kData / "demo.mid");
        QTest::mouseClick(frame->Converter()->OkButton(), Qt::LeftButton);
        QTest::mouseClick(frame->Converter()->OkButton(), Qt::LeftButton);
    }
    // Clicks the head of note `index` of the current track.
    void ClickNote(uint32_t index) {
        const ChartView& view = frame->View();
        const CNote& note = view.CurrentTrack().Notes()[index];
        const Rect head = view.HeadRect(note.time, note.lane);
        QTest::mouseClick(frame->ViewWidget(), Qt::LeftButton, {},
                          QPoint((head.left + head.right) / 2, (head.top + head.bottom) / 2));
    }

    ScratchFolder temp, folder;
    CMidiInfoManager instruments;
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> errors;
    int questions = 0;
    CMainFrame::SaveAnswer answer = CMainFrame::SaveAnswer::Cancel;
    std::filesystem::path chosen;
};

}  // namespace

TEST(Window, AWholeSessionSavesWhatTheSameStepsGiveWithoutAWindow) {
    Window w;
    w.frame->OpenFile(kData / "demo.mid");
    ConvertDialog* dialog = w.frame->Converter();
    EXPECT_TRUE(dialog->OkButton()->hasFocus() || !dialog->isActiveWindow());
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->Progress()->value(), 13);
    EXPECT_FALSE(dialog->CancelButton()->isEnabled());
    // The log's top line is always a whole number of sixes.
    const int top = dialog->Log()->verticalScrollBar()->value();
    EXPECT_EQ(top % 6, 0);
    EXPECT_GT(top, 0);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    ASSERT_FALSE(w.frame->Converter()->isVisible());
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [demo*]");  // on no disk yet
    EXPECT_EQ(w.frame->Palette()->Tracks()->RowCount(), 4);
    // Each row shows its track's player-note colour, one colour a track.
    QSet<QRgb> swatches;
    for (int row = 0; row < 4; ++row) swatches.insert(w.frame->Palette()->Tracks()->Swatch(row).rgb());
    EXPECT_EQ(swatches.size(), 4);
    EXPECT_EQ(w.frame->Palette()->Tracks()->Swatch(1).rgb() & 0xFFFFFF, *PlayerNoteColour(w.frame->View(), 1));
    w.ClickNote(0);
    w.ClickNote(4);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 2);
    EXPECT_TRUE(w.frame->HasUnsavedChanges());
    w.chosen = w.folder / "session";  // Save asks for a name; the extension is added
    ASSERT_TRUE(w.frame->Save());
    EXPECT_FALSE(w.frame->HasUnsavedChanges());
    EXPECT_EQ(w.frame->ChartPath(), w.folder / "session.ryx");

    // The same steps without a window.
    CChart chart;
    ConversionLog log;
    std::optional<std::vector<uint8_t>> song = ConvertSongBytes(ReadBytes(kData / "demo.mid"), chart, log);
    ASSERT_TRUE(song);
    WriteBytes(w.folder / "song.mid", *song);
    chart.songInfo.midiPath = PathText(w.folder / "song.mid");
    chart.songInfo.title = "demo";
    chart.songInfo.author = "Unknown";
    ASSERT_TRUE(Select(chart, 0, 0, kDefaultCollisionWindow));
    ASSERT_TRUE(Select(chart, 0, 4, kDefaultCollisionWindow));
    ASSERT_TRUE(SaveChartFile(chart, w.folder / "bare.ryx", w.temp.Path()));
    EXPECT_EQ(DumpJson(w.folder / "session.ryx", w.temp.Path()),
              DumpJson(w.folder / "bare.ryx", w.temp.Path()));

    // Reopened and saved again, the chart is the same file.
    ASSERT_TRUE(w.frame->OpenChartFile(w.folder / "session.ryx"));
    EXPECT_EQ(w.frame->Chart().selection.Count(), 2);
    ASSERT_TRUE(w.frame->SaveChartTo(w.folder / "again.ryx"));
    EXPECT_EQ(ReadBytes(w.folder / "again.ryx"), ReadBytes(w.folder / "session.ryx"));
    EXPECT_TRUE(w.errors.empty());
}

TEST(Window, UnsavedEditsAreNeverLostWithoutAsking) {
    Window w;
    w.ConvertDemo();
    w.frame->show();
    EXPECT_FALSE(w.frame->close());  // converted, never saved: the question, cancelled
    EXPECT_EQ(w.questions, 1);
    w.chosen = w.folder / "asked.ryx";
    ASSERT_TRUE(w.frame->Save());
    w.frame->close();  // nothing edited since the save: no question
    EXPECT_EQ(w.questions, 1);

    w.frame->show();
    w.ClickNote(0);
    w.answer = CMainFrame::SaveAnswer::Cancel;
    EXPECT_FALSE(w.frame->close());
    EXPECT_TRUE(w.frame->isVisible());
    w.frame->OpenFile(kData / "demo.mid");  // Open MIDI asks too, and Cancel keeps everything
    EXPECT_EQ(w.questions, 3);
    EXPECT_FALSE(w.frame->Converter()->isVisible());
    w.answer = CMainFrame::SaveAnswer::Discard;
    EXPECT_TRUE(w.frame->close());
}

TEST(Window, ASaveNeverOverwritesUnaskedOrReadOnly) {
    Window w;
    w.ConvertDemo();
    w.chosen = w.folder / "shared.ryx";
    ASSERT_TRUE(w.frame->Save());
    int asked = 0;
    bool overwrite = false;
    w.frame->askOverwriteChanged = [&] {
        ++asked;
        return overwrite;
    };
    ASSERT_TRUE(w.frame->Save());  // unchanged on disk: no question
    EXPECT_EQ(asked, 0);

    // Another program saved the file meanwhile.
    const Bytes theirs(100, 'x');
    WriteBytes(w.folder / "shared.ryx", theirs);
    EXPECT_FALSE(w.frame->Save());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadBytes(w.folder / "shared.ryx"), theirs);
    overwrite = true;
    ASSERT_TRUE(w.frame->Save());
    EXPECT_NE(ReadBytes(w.folder / "shared.ryx"), theirs);

    // A read-only chart is refused with the reason; Save As still saves it elsewhere.
    std::filesystem::permissions(w.folder / "shared.ryx", std::filesystem::perms::owner_read);
    const Bytes before = ReadBytes(w.folder / "shared.ryx");
    EXPECT_FALSE(w.frame->Save());
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_NE(w.errors[0].find("shared.ryx is read-only"), std::string::npos) << w.errors[0];
    EXPECT_EQ(ReadBytes(w.folder / "shared.ryx"), before);
    w.chosen = w.folder / "copy.ryx";
    EXPECT_TRUE(w.frame->SaveAs());
}

TEST(Window, CancellingAConversionLeavesTheOpenChartAsItWas) {
    Window w;
    w.ConvertDemo();
    w.chosen = w.folder / "kept.ryx";
    ASSERT_TRUE(w.frame->Save());
    const std::vector<uint8_t> saved = ReadBytes(w.folder / "kept.ryx");

    WriteBytes(w.folder / "broken.mid", Bytes(40, 'x'));
    w.frame->OpenFile(w.folder / "broken.mid");
    ConvertDialog* dialog = w.frame->Converter();
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_TRUE(
        dialog->Log()->toPlainText().endsWith("User Selected File is not MIDI file. (MIDI Header Error)"));
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    EXPECT_TRUE(dialog->CancelButton()->isEnabled());
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(w.frame->ChartPath(), w.folder / "kept.ryx");
    ASSERT_TRUE(w.frame->Save());  // still the chart that was open, saved where it was
    EXPECT_EQ(ReadBytes(w.folder / "kept.ryx"), saved);
}

TEST(Window, ADamagedChartShowsWhyAndChangesNothing) {
    Window w;
    w.ConvertDemo();
    WriteBytes(w.folder / "damaged.ryx", {9, 0, 0, 0, 1, 2});
    EXPECT_FALSE(w.frame->OpenChartFile(w.folder / "damaged.ryx"));
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_NE(w.errors[0].find("damaged.ryx"), std::string::npos) << w.errors[0];
    EXPECT_NE(w.errors[0].find("Not a chart file"), std::string::npos) << w.errors[0];
    EXPECT_EQ(w.frame->Chart().usedTrackCount, 4);
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [demo*]");
}

TEST(Palette, FieldsBoxesAndTrackList) {
    Window w;
    ToolsPalette* palette = w.frame->Palette();
    // Before a chart is loaded the filter boxes refuse to stay on.
    QTest::mouseClick(palette->SelectedTrackBox(), Qt::LeftButton);
    EXPECT_FALSE(palette->SelectedTrackBox()->isChecked());

    w.ConvertDemo();
    QTest::keyClicks(palette->ExtendedGenreField(), "Chip");
    EXPECT_EQ(palette->ExtendedGenreField()->text(), "Chip");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\xc3\xa9"));
    QApplication::sendEvent(palette->ExtendedGenreField(), &accented);
    EXPECT_EQ(palette->ExtendedGenreField()->text(), "");

    QTest::mouseClick(palette->SelectedNotesBox(), Qt::LeftButton);
    EXPECT_TRUE(palette->SelectedNotesBox()->isChecked());
    EXPECT_FALSE(palette->SelectedTrackBox()->isEnabled());
    EXPECT_TRUE(w.frame->Chart().tracks[0].muted);
    EXPECT_FALSE(w.frame->Chart().player.muted);

    TrackList* tracks = palette->Tracks();
    QTest::mouseClick(tracks, Qt::LeftButton, {}, QPoint(20, 3 * TrackList::kRowHeight + 3));  // under the header
    EXPECT_EQ(tracks->SelectedRow(), 2);
    EXPECT_EQ(w.frame->View().currentTrack, 2);
    QTest::mouseClick(tracks, Qt::LeftButton, {}, QPoint(20, 12 * TrackList::kRowHeight));  // below the rows
    QTest::mouseClick(tracks, Qt::LeftButton, {}, QPoint(20, 3));                         // the header
    EXPECT_EQ(w.frame->View().currentTrack, 2);
    EXPECT_EQ(w.frame->View().currentTrack, 2);
    for (int i = 0; i < 20; ++i) tracks->AddRow("extra");
    EXPECT_EQ(tracks->RowCount(), TrackList::kMaxRows);
}

TEST(Palette, TypingStaysInThePaletteUntilEnter) {
    Window w;
    w.ConvertDemo();
    w.chosen = w.folder / "typed.ryx";
    ASSERT_TRUE(w.frame->Save());  // which chooses the first track's 48 notes
    EXPECT_EQ(w.frame->statusBar()->currentMessage(), "No player notes: the 48 notes of track 0 were chosen");
    w.frame->show();
    ToolsPalette* palette = w.frame->Palette();
    palette->show();
    palette->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(palette));
    auto [title, composer, author, extGenre] = palette->TextFields();
    composer->setFocus();
    composer->end(false);

    // Typing shows "*" at once; Tab commits the field and the keys stay in the palette.
    QTest::keyClicks(composer, " Jr");
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [typed*]");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::qWait(50);  // a window activation would arrive by now
    EXPECT_EQ(QApplication::focusWidget(), author);
    EXPECT_EQ(QApplication::activeWindow(), palette);
    EXPECT_EQ(w.frame->Chart().songInfo.composer, "Unknown Jr");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(author->selectedText(), author->text());
    EXPECT_EQ(w.frame->Chart().selection.Count(), 48);
    EXPECT_FALSE(w.frame->Chart().selectionChanged);  // not a Select All in the chart
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), composer);

    // Ctrl+S in a field commits it, then saves.
    composer->end(false);
    QTest::keyClicks(composer, "!");
    QTest::keyClick(composer, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [typed]");
    EXPECT_EQ(DumpJson(w.folder / "typed.ryx", w.temp.Path())["composer"], "Unknown Jr!");

    // Enter hands the keyboard back to the chart.
    w.frame->ViewWidget()->clearFocus();
    QTest::keyClick(composer, Qt::Key_Return);
    EXPECT_EQ(w.frame->focusWidget(), w.frame->ViewWidget());
}

TEST(Settings, BoundsDefaultsAndRoundTrip) {
    SettingsFile();
    {
        std::filesystem::remove(SettingsFile());
        RegistryKey key;
        EXPECT_FALSE(key.Existed());
        const AppSettings fresh = AppSettings::Read(key, "/opt/ryx");
        EXPECT_EQ(fresh.windowX, 10);
        EXPECT_EQ(fresh.toolX, 600);
        EXPECT_TRUE(fresh.ctrlZUndoes);
        EXPECT_EQ(fresh.lastPath, "/opt/ryx");
        EXPECT_EQ(AppSettings::StoredAuthor(key), "Unknown");
        key.SetDword("WINDOWX", 801);
        key.SetDword("WINDOWY", -50);
        key.SetDword("TOOLX", 800);
        key.SetDword("TOOLY", 601);
        key.SetDword("INTERVAL", 0);
        key.SetDword("SCROLL", 151);
        key.SetDword("FRAMESKIP", -1);
        key.SetDword("LONG", 500);
        key.SetDword("GRID", 5);
        key.SetDword("CTRLZUNDO", 2);
        key.SetString("RYXER", "An author with a name far too long");
        key.Sync();
    }
    RegistryKey key;
    ASSERT_TRUE(key.Existed());
    AppSettings read = AppSettings::Read(key, "/opt/ryx");
    EXPECT_EQ(read.windowX, 10);
    EXPECT_EQ(read.windowY, -50);
    EXPECT_EQ(read.toolX, 800);
    EXPECT_EQ(read.toolY, 10);
    EXPECT_EQ(read.interval, 10);
    EXPECT_EQ(read.scroll, 100);
    EXPECT_EQ(read.frameSkip, 40);
    EXPECT_EQ(read.longLength, 768);
    EXPECT_FALSE(read.beatLines);
    EXPECT_TRUE(read.ctrlZUndoes);
    EXPECT_EQ(AppSettings::StoredAuthor(key), "An author with a na");

    read.interval = 7;
    read.longLength = 384;
    read.windowX = 123;
    read.beatLines = true;
    read.ctrlZUndoes = false;  // the classic keys, kept once chosen
    read.WriteAtShutDown(key, "Kim", "/opt/ryx");
    RegistryKey again;
    const AppSettings back = AppSettings::Read(again, "/opt/ryx");
    EXPECT_EQ(back.interval, 7);
    EXPECT_EQ(back.longLength, 384);
    EXPECT_EQ(back.windowX, 123);
    EXPECT_TRUE(back.beatLines);
    EXPECT_FALSE(back.ctrlZUndoes);
    EXPECT_EQ(AppSettings::StoredAuthor(again), "Kim");
}

TEST(Window, HelpOpensInAWindowOfTheProgram) {
    Window w;
    EXPECT_EQ(w.frame->HelpShown(), nullptr);
    QTest::keyClick(w.frame->ViewWidget(), Qt::Key_F1);
    ASSERT_NE(w.frame->HelpShown(), nullptr);
    EXPECT_TRUE(w.frame->HelpShown()->isVisible());
    QTextBrowser* browser = w.frame->HelpShown()->Browser();
    EXPECT_TRUE(browser->source().path().endsWith("help/index.html"));
    EXPECT_TRUE(browser->toPlainText().contains("Classic keys: Ctrl+Z deletes all notes of the track"));
    EXPECT_TRUE(browser->openExternalLinks());
    EXPECT_TRUE(w.errors.empty());
}

TEST(Settings, WindowsOffEveryScreenComeBackToTheirDefaults) {
    struct Case {
        int x, y;
        QPoint expected;
    };
    for (Case c : {Case{-5000, 10, {10, 10}}, Case{30, -400, {10, 10}}, Case{20, 30, {20, 30}}}) {
        {
            std::filesystem::remove(SettingsFile());
            RegistryKey key;
            key.SetDword("WINDOWX", c.x);
            key.SetDword("WINDOWY", c.y);
            key.Sync();
        }
        Window w(/*keepSettings=*/true);
        EXPECT_EQ(w.frame->pos(), c.expected) << c.x << "," << c.y;
    }
}

TEST(Options, SlidersBeatsDefaultsAndTheLengthTrim) {
    Window w;
    w.ConvertDemo();
    // Note interval 10 sits at 10; the slider's right end is the smallest interval.
    w.frame->runDialog = [](QDialog& dialog) {
        auto& options = static_cast<OptionsDialog&>(dialog);
        EXPECT_EQ(options.IntervalSlider()->value(), 10);
        EXPECT_TRUE(options.BeatButton(2)->isChecked());
        options.IntervalSlider()->setValue(15);
        // Each slider shows its value and unit as it moves.
        QStringList values;
        for (QLabel* value : dialog.findChildren<QLabel*>("value")) values.push_back(value->text());
        EXPECT_EQ(values, (QStringList{"40 ms", "5", "100 %", "0.30 s"}));
        options.BeatButton(1)->setChecked(true);
        return int(QDialog::Accepted);
    };
    w.frame->Options();
    EXPECT_EQ(w.frame->Settings().interval, 5);
    EXPECT_EQ(w.frame->Settings().longLength, 384);
    EXPECT_EQ(w.frame->View().settings.interval, 5);

    // DEFAULT then CANCEL changes nothing.
    w.frame->runDialog = [](QDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "DEFAULT") button->click();
        return int(QDialog::Rejected);
    };
    w.frame->Options();
    EXPECT_EQ(w.frame->Settings().interval, 5);

    // The trim on the bass track: a bass note ends 75 chart ticks before the next one of its
    // key (450 of 480 file ticks a quarter): apart enough for d = 6, too close for d = 10.
    const CNoteTrack& bass = w.frame->Chart().tracks[1];
    const CNote first = bass.Notes()[0], second = bass.Notes()[1];
    w.frame->runDialog = [](QDialog& dialog) {
        auto& options = static_cast<OptionsDialog&>(dialog);
        options.EditBox()->setChecked(true);
        options.WindSlider()->setValue(10);
        options.TrackChoice()->setCurrentIndex(1);
        return int(QDialog::Accepted);
    };
    w.frame->Options();
    EXPECT_EQ(bass.Notes()[0].length, second.time - first.time - 100);
    EXPECT_EQ(w.frame->Settings().windLengthDecrease, 10);
    w.frame->Undo();  // the trim is one step
    EXPECT_EQ(bass.Notes()[0].length, first.length);
}

TEST(Playback, PlayPauseStopAndOptionsWhilePlaying) {
    Window w;
    w.ConvertDemo();
    w.frame->PlayPause();
    ASSERT_TRUE(w.frame->Player().Playing());
    int optionsShown = 0;
    w.frame->runDialog = [&](QDialog&) {
        ++optionsShown;
        return int(QDialog::Rejected);
    };
    w.frame->Options();  // refused while playing
    EXPECT_EQ(optionsShown, 0);
    QTest::qWait(120);
    w.frame->FollowPlayback();
    EXPECT_GT(w.frame->View().position, 0);
    w.frame->PlayPause();  // pause
    EXPECT_FALSE(w.frame->Player().Playing());
    w.frame->Stop();
    EXPECT_EQ(w.frame->View().position, 0);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(w.frame->Palette()->Tracks()->RowText(row).isEmpty(), false);

    // The port list shows the engine's ports and switches at once.
    w.frame->runDialog = [&](QDialog& dialog) {
        auto& options = static_cast<OptionsDialog&>(dialog);
        EXPECT_EQ(options.PortChoice()->count(), 2);
        EXPECT_TRUE(options.PortChoice()->isEnabled());
        ++optionsShown;
        return int(QDialog::Rejected);
    };
    w.frame->Options();
    EXPECT_EQ(optionsShown, 1);
}

TEST(Window, BeatLinesToggleAndTheMeasureReadout) {
    Window w;
    w.ConvertDemo();
    EXPECT_EQ(w.frame->BeatReadoutText(), "1:1  112.0 BPM");  // the demo song starts at 112
    const QSize size = w.frame->ViewWidget()->size();
    EXPECT_FALSE(w.frame->View().settings.beatLines);
    w.frame->SetBeatLines(true);
    EXPECT_TRUE(w.frame->View().settings.beatLines);
    EXPECT_EQ(w.frame->ViewWidget()->size(), size);
    w.frame->View().ScrollBy(4 * 3072);  // four measures on, where the tempo is 128
    EXPECT_EQ(w.frame->BeatReadoutText(), "5:1  128.0 BPM");
}

TEST(Window, ReadoutsDescribeTheViewPositionWhileTheThumbIsDragged) {
    Window w;
    WriteBytes(w.folder / "long.mid", BusySong(7, 2, 1500));  // several minutes
    w.frame->OpenFile(w.folder / "long.mid");
    QTest::mouseClick(w.frame->Converter()->OkButton(), Qt::LeftButton);
    QTest::mouseClick(w.frame->Converter()->OkButton(), Qt::LeftButton);
    w.frame->show();
    const ChartView& view = w.frame->View();
    ASSERT_GT(view.thumbScale, 0);
    auto expectReadouts = [&](const char* when) {
        EXPECT_EQ(w.frame->BeatReadoutText().toStdString(), BeatReadout(w.frame->Chart().tempoMap, view.position))
            << when << " at " << view.position;
        EXPECT_EQ(w.frame->Palette()->TimeText().toStdString(), view.TimeReadout()) << when;
    };
    const QPoint grab((view.thumb.left + view.thumb.right) / 2, view.thumb.bottom - 2);
    QTest::mousePress(w.frame->ViewWidget(), Qt::LeftButton, {}, grab);
    const int top = view.geometry.margin, bottom = view.geometry.Bottom();
    for (int y : {grab.y() - 40, top + 100, top - 30, bottom - 200, grab.y() - 7}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(grab.x(), y), w.frame->ViewWidget()->mapToGlobal(QPointF(grab.x(), y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.frame->ViewWidget(), &move);
        expectReadouts("dragging");
    }
    const int32_t dragged = view.position;
    EXPECT_GT(dragged, 0);
    QTest::mouseRelease(w.frame->ViewWidget(), Qt::LeftButton, {}, QPoint(grab.x(), grab.y() - 7));
    expectReadouts("released");
    QTest::keyClick(w.frame->ViewWidget(), Qt::Key_Up);  // one small step on from there
    EXPECT_EQ(view.position, dragged + view.settings.scroll);
    expectReadouts("after Up");
}

TEST(Window, UndoAndRedoDriveTheUnsavedMarkAndThePrompt) {
    Window w;
    w.ConvertDemo();
    w.frame->show();
    auto key = [&](int qtKey, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(w.frame->ViewWidget(), static_cast<Qt::Key>(qtKey), modifiers);
    };
    QAction* undo = nullptr;
    for (QAction* action : w.frame->findChildren<QAction*>())
        if (action->text().startsWith("Undo")) undo = action;
    ASSERT_TRUE(undo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo(&U)\tCtrl+Z");  // undo unless the author chose the classic keys

    w.ClickNote(0);
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [demo*]");
    EXPECT_TRUE(undo->isEnabled());
    QLineEdit* genre = w.frame->Palette()->ExtendedGenreField();
    const QString before = genre->text();
    genre->setText("Chiptune");
    emit genre->editingFinished();  // one step of its own
    EXPECT_EQ(w.frame->Chart().songInfo.extGenre, "Chiptune");

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(genre->text(), before);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 1);
    key(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 0);
    EXPECT_FALSE(undo->isEnabled());  // back where it was converted, which is on no disk yet
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [demo*]");
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(genre->text(), "Chiptune");
    EXPECT_EQ(w.frame->Chart().selection.Count(), 1);

    // Saved, then undone: unsaved again, and the prompt asks; redone: clean again.
    w.chosen = w.folder / "undo.ryx";
    ASSERT_TRUE(w.frame->Save());
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [undo]");
    w.frame->Undo();
    EXPECT_EQ(w.frame->windowTitle(), "RYX Creator - [undo*]");
    w.frame->close();
    EXPECT_EQ(w.questions, 1);
    w.frame->Redo();
    EXPECT_TRUE(w.frame->close());
    EXPECT_EQ(w.questions, 1);

    // Ctrl+Shift+D is Delete All; with the classic keys, Ctrl+Z is, and the palette says so.
    w.frame->show();
    w.ClickNote(4);
    key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 0);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 2);
    w.frame->runDialog = [](QDialog& dialog) {
        static_cast<OptionsDialog&>(dialog).ClassicKeysBox()->setChecked(true);
        return int(QDialog::Accepted);
    };
    w.frame->Options();
    EXPECT_EQ(undo->text(), "Undo(&U)\tAlt+Backspace");
    EXPECT_TRUE(w.frame->Palette()->DeleteAllButton()->property("ryxHint").toString().endsWith("'Ctrl+Z'"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.frame->Chart().selection.Count(), 0);

    // Opening a chart starts a new history.
    ASSERT_TRUE(w.frame->OpenChartFile(w.folder / "undo.ryx"));
    EXPECT_FALSE(undo->isEnabled());
}

TEST(Window, CheckChartListsFindingsAndShowsOne) {
    Window w;
    w.ConvertDemo();  // nothing chosen yet
    w.frame->runDialog = [&](QDialog& dialog) {
        auto& check = static_cast<CheckDialog&>(dialog);
        EXPECT_EQ(check.List()->count(), 1);
        EXPECT_EQ(check.List()->item(0)->text(), "the player has no notes to hit");
        check.showFinding({2, 5000, 3, "example"});
        return int(QDialog::Accepted);
    };
    w.frame->CheckChartCommand();
    EXPECT_EQ(w.frame->View().currentTrack, 2);
    EXPECT_EQ(w.frame->View().position, 4800);
}

TEST(TestPlay, KeysJudgedOnTheHeardClockThenResultsAndTheViewBack) {
    Window w;
    w.ConvertDemo();
    ChartDocument& doc = w.frame->Document();
    doc.Editor().SelectAll();
    const std::vector<TestNote> notes = NotesToPlay(w.frame->Chart(), 0);
    ASSERT_GE(notes.size(), 2u);
    std::size_t chord = 0;  // the notes of the first moment
    while (chord < notes.size() && notes[chord].timeMs == notes[0].timeMs) ++chord;
    w.frame->TestPlay(false);  // F7
    ASSERT_TRUE(doc.TestPlaying());
    EXPECT_FALSE(doc.MayEdit());
    EXPECT_LT(doc.TestPlay()->SongMsNow(), notes[0].timeMs - 1000);  // the lead-in counts up to it
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (doc.TestPlay()->SongMsNow() < notes[0].timeMs && std::chrono::steady_clock::now() < deadline)
        QTest::qWait(1);
    // Keys S D F Space J K L are lanes 0..6.
    const Qt::Key keys[] = {Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_Space, Qt::Key_J, Qt::Key_K, Qt::Key_L};
    for (std::size_t i = 0; i < chord; ++i) QTest::keyPress(w.frame->ViewWidget(), keys[notes[i].lane]);
    EXPECT_TRUE(doc.TestPlay()->LaneDown(notes[0].lane));
    QString results;
    w.frame->runDialog = [&](QDialog& dialog) {
        results = dialog.findChild<QLabel*>("results")->text();
        return int(QDialog::Rejected);
    };
    QTest::keyPress(w.frame->ViewWidget(), Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_FALSE(doc.TestPlaying());
    EXPECT_TRUE(doc.MayEdit());
    EXPECT_EQ(w.frame->View().position, 0);  // back where the run started
    const JudgeCounts& c = doc.TestPlay()->Results().Counts();
    EXPECT_EQ(c.perfect + c.great + c.good, static_cast<int>(chord)) << results.toStdString();
    EXPECT_EQ(c.miss, 0);
    for (std::size_t i = 0; i < chord; ++i) {
        const std::optional<double> delta = doc.TestPlay()->Results().Results()[i].deltaMs;
        ASSERT_TRUE(delta);
        EXPECT_GE(*delta, -1.0);
        EXPECT_LE(*delta, 100.0);
    }
    EXPECT_TRUE(results.startsWith("PERFECT ")) << results.toStdString();
    EXPECT_TRUE(results.contains(QString("Max combo %1").arg(chord))) << results.toStdString();
}

TEST(Export, FileMenuExportsWithAProgressAndNamesWhatItWrote) {
    Window w;
    w.ConvertDemo();
    w.frame->Document().Editor().SelectAll();
    QString info;
    w.frame->showInfo = [&](const QString& message) { info = message; };
    w.frame->askKeysounds = [] { return false; };
    w.chosen = w.folder / "demo";  // the archive's extension is added
    w.frame->Export(GameFormat::Osu);
    EXPECT_TRUE(w.errors.empty()) << (w.errors.empty() ? "" : w.errors.front());
    EXPECT_TRUE(std::filesystem::is_regular_file(w.folder / "demo.osz"));
    EXPECT_TRUE(info.startsWith(QString::fromStdString("Exported to " + (w.folder / "demo.osz").string())))
        << info.toStdString();
    EXPECT_TRUE(info.contains("audio.ogg"));

    // A chart without player notes says so and writes nothing.
    w.frame->Document().Editor().DeselectAll();
    w.chosen = w.folder / "none";
    w.frame->Export(GameFormat::Bms);
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_EQ(w.errors.front(), "The chart has no player notes to export; choose some first");
    EXPECT_FALSE(std::filesystem::exists(w.folder / "none"));
}

TEST(Difficulty, ThePaletteRatesThePlayersNotesAfterEachEditAndTheStripShowsTheHardPassages) {
    Window w;
    w.ConvertDemo();
    EXPECT_EQ(w.frame->Palette()->RatingText(), "Difficulty: choose player notes to rate");
    w.frame->Document().Editor().SelectAll();
    const Difficulty rated = RateChart(w.frame->Chart());
    ASSERT_GT(rated.stars, 0);
    EXPECT_EQ(w.frame->Palette()->RatingText(), QString("Difficulty: %1 stars (level %2 suggested)")
                                                    .arg(rated.stars, 0, 'f', 2)
                                                    .arg(SuggestedLevel(rated.stars)));
    // The strip is coloured where the notes are, and dark where the song has none.
    const DifficultyStrip* strip = w.frame->findChild<DifficultyStrip*>();
    ASSERT_NE(strip, nullptr);
    int coloured = 0;
    for (int x = 0; x < strip->width(); ++x) coloured += strip->ColourAt(x) != QColor(40, 40, 40);
    EXPECT_GT(coloured, strip->width() / 2);
    w.frame->Undo();
    EXPECT_EQ(w.frame->Palette()->RatingText(), "Difficulty: choose player notes to rate");
}

TEST(Difficulty, PickNotesChoosesForTheRatingAsOneUndoableStep) {
    Window w;
    w.ConvertDemo();
    w.frame->runDialog = [](QDialog& dialog) {
        auto& pick = static_cast<PickNotesDialog&>(dialog);
        pick.StarsBox()->setValue(1.5);
        pick.TracksBox()->setCurrentIndex(1);  // every track
        return int(QDialog::Accepted);
    };
    w.frame->PickNotesCommand();
    EXPECT_NEAR(RateChart(w.frame->Chart()).stars, 1.5, 0.075);
    EXPECT_TRUE(w.frame->statusBar()->currentMessage().startsWith("Picked ")) << w.frame->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(w.frame->Palette()->RatingText().startsWith("Difficulty: 1."));
    w.frame->Undo();
    EXPECT_EQ(w.frame->Chart().PlayerNotes().size(), 0u);
}
