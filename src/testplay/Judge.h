#pragma once
// Judge: judges a player's key presses against the notes of a test-play, all on the song's
// clock in milliseconds.
// - Windows, in real milliseconds either side of a note: PERFECT 20, GREAT 50, GOOD 100,
//   BAD 150 (edges included); at a playback speed of S % they are S/100 of that in song time.
// - A press in a lane judges the earliest not yet judged note of that lane whose window holds
//   it; a press with no such note is ignored. A note whose BAD window has passed unjudged is
//   a MISS.
// - A held note whose head was hit: its tail is OK when the key is let go no earlier than the
//   BAD window before its end, or held past the end; an earlier release is a BREAK.
// - Combo: +1 for each PERFECT, GREAT or GOOD; BAD, MISS and BREAK end it. Accuracy weighs
//   PERFECT 300, GREAT 200, GOOD 100, BAD 50 against 300 for every note judged.
// - The audio offset is taken off every key event before judging.
// Events must come in time order. Not thread-safe: one owner.

#include <array>
#include <optional>
#include <vector>

#include "TestNotes.h"

enum class Judgement { None, Perfect, Great, Good, Bad, Miss };
enum class Tail { None, Ok, Break };

const char* JudgementName(Judgement judgement);  // "PERFECT" .. "MISS", "" for None
const char* TailName(Tail tail);                 // "OK", "BREAK", "" for None

struct NoteResult {
    Judgement judgement = Judgement::None;
    std::optional<double> deltaMs;  // press − note, song milliseconds, for a press that judged it
    Tail tail = Tail::None;
};

struct JudgeCounts {
    int perfect = 0, great = 0, good = 0, bad = 0, miss = 0, breaks = 0;
    int Judged() const { return perfect + great + good + bad + miss; }
};

class Judge {
  public:
    static constexpr int kLanes = 7;
    static constexpr std::array<double, 4> kWindowsMs = {20, 50, 100, 150};

    // `notes` in time order; `speedPercent` the playback speed; `offsetMs` the audio offset.
    explicit Judge(std::vector<TestNote> notes, double speedPercent = 100, double offsetMs = 0);

    // A key goes down in `lane` at song time `ms`: the note it judged, or nothing.
    std::optional<std::size_t> Press(int lane, double ms);
    // The key of `lane` comes up at `ms`.
    void Release(int lane, double ms);
    // Time has come to `ms`: notes whose BAD window has passed are MISS, held notes held past
    // their end are OK.
    void Advance(double ms);

    const std::vector<TestNote>& Notes() const { return notes; }
    const std::vector<NoteResult>& Results() const { return results; }
    const JudgeCounts& Counts() const { return counts; }
    int Combo() const { return combo; }
    int MaxCombo() const { return maxCombo; }
    // In percent, 0 when nothing was judged.
    double Accuracy() const;
    // The window scale: song milliseconds per real millisecond.
    double Scale() const { return scale; }

  private:
    void Judged(std::size_t index, Judgement judgement, std::optional<double> delta);
    void Ended(std::size_t index, Tail tail);
    void AddToCombo(bool keeps);

    std::vector<TestNote> notes;
    std::vector<NoteResult> results;
    // Per lane, the notes in time order and the first not yet judged.
    std::array<std::vector<std::size_t>, kLanes> lanes;
    std::array<std::size_t, kLanes> nextInLane{};
    // Per lane, the held note whose head was hit and whose tail is not judged yet.
    std::array<std::optional<std::size_t>, kLanes> holding;
    double scale = 1;
    double offsetMs = 0;
    JudgeCounts counts;
    int combo = 0;
    int maxCombo = 0;
};
