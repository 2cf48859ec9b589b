// The document's rules without a window: which files open how, the dirty state, the save
// policy, no edits while playing, and Play's start and end.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "document/ChartDocument.h"
#include "chart/SongEnd.h"
#include "difficulty/StarRating.h"
#include "document/FileKind.h"
#include "playback/OutputPort.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

namespace {

const std::filesystem::path kDemo = std::filesystem::path(RYX_SOURCE_DIR) / "data" / "demo.mid";

// A document with the demo song converted, as the window has it after Open MIDI, OK, OK.
struct Converted {
    explicit Converted(SoundEngine* engine = nullptr) : document(temp.Path(), ViewGeometry::Large(), {}, engine) {
        document.PrepareConversion(kDemo);
        document.Conversion().Ok();
        document.Conversion().Ok();
        document.TakeShownSongInfo(FillFromChart(document.Chart(), "demo", {}, {}));
    }
    SongFields Fields() const { return SongFieldsOf(document.Chart().songInfo); }
    ScratchFolder temp, folder;
    ChartDocument document;
};

std::vector<std::unique_ptr<OutputPort>> RecordingPorts() {
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<RecordingPort>());
    return ports;
}

}  // namespace

TEST(Document, FilesOpenByTheirKind) {
    for (auto [name, kind] : {std::pair{"a.mid", FileKind::Midi}, std::pair{"B.MIDI", FileKind::Midi},
                              std::pair{"c.Rmi", FileKind::Midi}, std::pair{"d.ryx", FileKind::Chart},
                              std::pair{"E.RYX", FileKind::Chart}, std::pair{"f.txt", FileKind::Other},
                              std::pair{"mid", FileKind::Other}})
        EXPECT_EQ(KindOfFile(name), kind) << name;
}

TEST(Document, DirtyStateIsAPlainQuery) {
    Converted c;
    ChartDocument& doc = c.document;
    EXPECT_TRUE(doc.HasUnsavedChanges());  // converted, on no disk yet
    EXPECT_EQ(doc.FileTitle(), "demo");
    ASSERT_TRUE(doc.SaveTo(c.folder / "demo.ryx", c.Fields(), 0).status);
    EXPECT_FALSE(doc.HasUnsavedChanges());

    // Typed but not committed: dirty, and asking commits nothing.
    SongFields typed = c.Fields();
    typed.title = "Typed";
    EXPECT_TRUE(doc.HasUnsavedChanges(typed));
    EXPECT_EQ(doc.Chart().songInfo.title, "demo");

    // Committed, then undone back to the saved chart: clean again.
    doc.CommitSongFields(typed);
    EXPECT_TRUE(doc.HasUnsavedChanges());
    EXPECT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.HasUnsavedChanges());

    // Reopened: the file's chart, clean, with its path; a failed open changes nothing.
    ASSERT_TRUE(doc.OpenChart(c.folder / "demo.ryx"));
    EXPECT_FALSE(doc.HasUnsavedChanges());
    EXPECT_EQ(doc.Path(), c.folder / "demo.ryx");
    EXPECT_FALSE(doc.OpenChart(c.folder / "missing.ryx"));
    EXPECT_EQ(doc.Path(), c.folder / "demo.ryx");
}

TEST(Document, SavePolicyChoosesTheCurrentTracksNotesAsAnUndoableStep) {
    Converted c;
    ChartDocument& doc = c.document;
    ASSERT_EQ(doc.Chart().selection.Count(), 0);
    const ChartDocument::SaveOutcome saved = doc.SaveTo(c.folder / "chosen.ryx", c.Fields(), 1);
    ASSERT_TRUE(saved.status);
    EXPECT_EQ(saved.chosenTrack, 1);
    EXPECT_EQ(saved.chosenNotes, static_cast<int>(doc.Chart().tracks[1].Count()));
    EXPECT_FALSE(saved.playerEmpty);
    EXPECT_EQ(doc.Chart().songInfo.currentTrack, 1);
    EXPECT_TRUE(doc.Undo());  // the choice is an edit like any other
    EXPECT_EQ(doc.Chart().selection.Count(), 0);
    EXPECT_TRUE(doc.HasUnsavedChanges());

    // Changed on disk by someone else since it was saved here.
    EXPECT_FALSE(doc.ChangedOnDisk());
    WriteBytes(c.folder / "chosen.ryx", {1, 2, 3});
    EXPECT_TRUE(doc.ChangedOnDisk());
}

TEST(Document, NoEditsWhilePlayingAndPlayEndsAtTheSongsEnd) {
    SoundEngine engine(RecordingPorts());
    Converted c(&engine);
    ChartDocument& doc = c.document;
    doc.CommitSongFields([&] {
        SongFields f = c.Fields();
        f.title = "edited";
        return f;
    }());
    doc.View().SetPosition(doc.View().songLength - 50, false);
    ASSERT_TRUE(doc.PlayPause());
    EXPECT_TRUE(doc.Playing());
    EXPECT_FALSE(doc.MayEdit());
    EXPECT_FALSE(doc.Undo());
    EXPECT_EQ(doc.Chart().songInfo.title, "edited");
    bool ended = false;
    for (int i = 0; i < 400 && !ended; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        doc.FollowPlayback(ended);
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(doc.View().position, PlayEndTick(doc.Chart()));
    EXPECT_FALSE(doc.Playing());
    EXPECT_TRUE(doc.Undo());

    // Play that cannot play says why.
    EXPECT_EQ(doc.PlayPause().code, ErrorCode::NothingToPlay);  // at the end
    doc.Stop();
    std::filesystem::remove(doc.Chart().songInfo.midiPath);
    doc.Player()->ChartReplaced();  // the song is read again at the next Play
    EXPECT_EQ(doc.PlayPause().code, ErrorCode::OpenInput);
}

TEST(Document, StopGoesBackWherePlayStartedThenToTheStartAndPlayFromAnywhere) {
    SoundEngine engine(RecordingPorts());
    Converted c(&engine);
    ChartDocument& doc = c.document;
    doc.View().SetPosition(3000, true);
    ASSERT_TRUE(doc.PlayPause());
    bool ended = false;
    for (int i = 0; i < 200 && doc.View().position <= 3000; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        doc.FollowPlayback(ended);
    }
    EXPECT_GT(doc.View().position, 3000);
    doc.Stop();
    EXPECT_FALSE(doc.Playing());
    EXPECT_EQ(doc.View().position, 3000);
    doc.Stop();
    EXPECT_EQ(doc.View().position, 0);

    // Play from a time (Ctrl+click), then from another while playing: Stop returns to the last.
    ASSERT_TRUE(doc.PlayFrom(6000));
    EXPECT_TRUE(doc.Playing());
    ASSERT_TRUE(doc.PlayFrom(9000));
    EXPECT_TRUE(doc.Playing());
    EXPECT_GE(engine.Position(), 9000);
    doc.Stop();
    EXPECT_EQ(doc.View().position, 9000);
}

TEST(Document, AConvertedSongOpensAtItsFirstNotesMeasure) {
    // The first note in the third measure's second beat (96 file ticks a quarter, 4/4).
    ScratchFolder folder, temp;
    const Bytes song = Smf(1, 96, {Track({Tempo(0, 500000)}),
                                   Track({Ev(2 * 384 + 96, {0x90, 60, 100}), Ev(96, {0x80, 60, 0})})});
    WriteBytes(folder / "late.mid", song);
    ChartDocument doc(temp.Path(), ViewGeometry::Large(), {});
    doc.PrepareConversion(folder / "late.mid");
    doc.Conversion().Ok();
    doc.Conversion().Ok();
    ASSERT_TRUE(doc.View().HasChart());
    EXPECT_EQ(doc.View().position, 2 * 3072);
}

TEST(Document, PickNotesOnTheDemoSongForOneToFourStars) {
    Converted c;
    ChartDocument& doc = c.document;
    for (double target : {1.0, 2.0, 3.0, 4.0}) {
        const PickResult result = doc.PickPlayerNotes(target, std::nullopt);
        ASSERT_FALSE(result.notes.empty()) << target;
        EXPECT_DOUBLE_EQ(result.stars, RateChart(doc.Chart()).stars);
        // The demo is short and calm: what it can reach it reaches within 5 %, beyond that it
        // takes every note it can and says so.
        if (result.withinTolerance) {
            EXPECT_NEAR(result.stars, target, 0.05 * target);
        } else {
            EXPECT_LT(result.stars, target);
        }
        // Nothing for the check to find but, perhaps, the level set before.
        for (const ChartFinding& f : CheckChart(doc.Chart(), doc.View().CollisionWindow()))
            EXPECT_EQ(f.text.rfind("level ", 0), 0u) << target << ": " << f.text;
    }
    EXPECT_TRUE(doc.Undo());  // each pick was one step
}
