#include "TestPlayRun.h"

#include <algorithm>

#include "chart/SongEnd.h"
#include "io/FileBytes.h"

Status TestPlayRun::Start(int32_t fromTick, const std::filesystem::path& songPath, bool withAutoplay,
                          double offsetMs) {
    End();
    chart.UpdatePlayerTrack();
    std::vector<TestNote> notes = NotesToPlay(chart, fromTick);
    if (notes.empty()) return Status::Fail(ErrorCode::NothingToPlay);
    std::vector<uint8_t> bytes;
    SongTimeline song;
    Status read = ReadFileBytes(songPath, bytes);
    if (read) read = SongTimeline::FromSongBytes(bytes, song);
    if (!read) return read;

    endMs = 0;
    for (const TestNote& n : notes) endMs = std::max(endMs, n.endMs.value_or(n.timeMs));
    endMs = std::min(endMs + 1000.0, chart.tempoMap.ChartTime().MsAt(PlayEndTick(chart)));
    autoplay = withAutoplay;
    autoEvents = autoplay ? PerfectPlay(notes) : std::vector<KeyEvent>();
    nextAuto = 0;
    // A perfect player needs no offset: its presses are the notes' own times.
    // At another playback speed the windows, real milliseconds, cover more or less song time.
    judge.emplace(std::move(notes), engine.SpeedPercent(), autoplay ? 0 : offsetMs);
    down.fill(false);
    last = {};
    missesSeen = 0;
    startTick = fromTick;

    engine.LoadSong(std::move(song), chart);
    uint32_t mask = Sequencer::kChosenSilent;
    for (int t = 0; t < kTrackCount; ++t) mask |= 1u << t;  // every track: the song as it is
    engine.SetAudible(mask);
    engine.SetStartPoint(fromTick);
    engine.StartSegment(kLeadInSeconds);
    running = true;
    return {};
}

int32_t TestPlayRun::TickNow() const {
    const double ms = SongMsNow();
    const int64_t tick = chart.tempoMap.ChartTime().TickAtMs(ms);
    return static_cast<int32_t>(std::clamp<int64_t>(tick, 0, INT32_MAX));
}

void TestPlayRun::Press(int lane, double songMs) {
    const std::optional<std::size_t> hit = judge->Press(lane, songMs);
    if (!hit) return;
    const NoteResult& r = judge->Results()[*hit];
    last = {r.judgement, r.deltaMs};
    engine.PlayNote(chart.PlayerNotes()[judge->Notes()[*hit].playerIndex]);
}

void TestPlayRun::Release(int lane, double songMs) {
    judge->Release(lane, songMs);
}

void TestPlayRun::KeyDown(int lane, double secondsAgo) {
    if (!running || autoplay || lane < 0 || lane >= Judge::kLanes) return;
    bool& isDown = down[static_cast<std::size_t>(lane)];
    if (isDown) return;  // a key held down repeats; only its first press counts
    isDown = true;
    Press(lane, engine.HeardSongMs(secondsAgo));
}

void TestPlayRun::KeyUp(int lane, double secondsAgo) {
    if (!running || autoplay || lane < 0 || lane >= Judge::kLanes) return;
    bool& isDown = down[static_cast<std::size_t>(lane)];
    if (!isDown) return;
    isDown = false;
    Release(lane, engine.HeardSongMs(secondsAgo));
}

bool TestPlayRun::Frame() {
    if (!running) return false;
    const double now = SongMsNow();
    for (; nextAuto < autoEvents.size() && autoEvents[nextAuto].ms <= now; ++nextAuto) {
        const KeyEvent& e = autoEvents[nextAuto];
        down[static_cast<std::size_t>(e.lane)] = e.down;
        if (e.down)
            Press(e.lane, e.ms);
        else
            Release(e.lane, e.ms);
    }
    judge->Advance(now);
    if (judge->Counts().miss != static_cast<int>(missesSeen)) {
        missesSeen = static_cast<std::size_t>(judge->Counts().miss);
        last = {Judgement::Miss, std::nullopt};
    }
    return now > endMs;
}

void TestPlayRun::End() {
    if (!running) return;
    engine.StopSegment();
    running = false;
    down.fill(false);
}
