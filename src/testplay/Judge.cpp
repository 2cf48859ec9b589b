#include "Judge.h"

#include <cmath>

const char* JudgementName(Judgement judgement) {
    switch (judgement) {
        case Judgement::Perfect: return "PERFECT";
        case Judgement::Great: return "GREAT";
        case Judgement::Good: return "GOOD";
        case Judgement::Bad: return "BAD";
        case Judgement::Miss: return "MISS";
        case Judgement::None: break;
    }
    return "";
}

const char* TailName(Tail tail) {
    switch (tail) {
        case Tail::Ok: return "OK";
        case Tail::Break: return "BREAK";
        case Tail::None: break;
    }
    return "";
}

Judge::Judge(std::vector<TestNote> newNotes, double speedPercent, double offset)
    : notes(std::move(newNotes)), results(notes.size()), scale(speedPercent / 100.0), offsetMs(offset) {
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int lane = notes[i].lane;
        if (lane >= 0 && lane < kLanes) lanes[static_cast<std::size_t>(lane)].push_back(i);
    }
}

void Judge::Advance(double ms) {
    const double bad = kWindowsMs.back() * scale;
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        const std::vector<std::size_t>& order = lanes[lane];
        while (nextInLane[lane] < order.size() && notes[order[nextInLane[lane]]].timeMs + bad < ms) {
            Judged(order[nextInLane[lane]], Judgement::Miss, std::nullopt);
            ++nextInLane[lane];
        }
        if (holding[lane] && *notes[*holding[lane]].endMs <= ms) {
            Ended(*holding[lane], Tail::Ok);
            holding[lane].reset();
        }
    }
}

std::optional<std::size_t> Judge::Press(int lane, double ms) {
    ms -= offsetMs;
    Advance(ms);
    if (lane < 0 || lane >= kLanes) return std::nullopt;
    const auto l = static_cast<std::size_t>(lane);
    if (nextInLane[l] >= lanes[l].size()) return std::nullopt;
    const std::size_t index = lanes[l][nextInLane[l]];
    const double delta = ms - notes[index].timeMs;
    // Notes before the press whose window passed were judged MISS above, so the earliest one
    // left is the only one whose window can hold it.
    std::optional<Judgement> judgement;
    constexpr std::array<Judgement, 4> kByWindow = {Judgement::Perfect, Judgement::Great, Judgement::Good,
                                                    Judgement::Bad};
    for (std::size_t w = 0; w < kWindowsMs.size() && !judgement; ++w)
        if (std::abs(delta) <= kWindowsMs[w] * scale) judgement = kByWindow[w];
    if (!judgement) return std::nullopt;
    ++nextInLane[l];
    Judged(index, *judgement, delta);
    if (notes[index].endMs) holding[l] = index;
    return index;
}

void Judge::Release(int lane, double ms) {
    ms -= offsetMs;
    Advance(ms);
    if (lane < 0 || lane >= kLanes) return;
    const auto l = static_cast<std::size_t>(lane);
    if (!holding[l]) return;
    const bool lateEnough = ms >= *notes[*holding[l]].endMs - kWindowsMs.back() * scale;
    Ended(*holding[l], lateEnough ? Tail::Ok : Tail::Break);
    holding[l].reset();
}

void Judge::Judged(std::size_t index, Judgement judgement, std::optional<double> delta) {
    results[index].judgement = judgement;
    results[index].deltaMs = delta;
    switch (judgement) {
        case Judgement::Perfect: ++counts.perfect; break;
        case Judgement::Great: ++counts.great; break;
        case Judgement::Good: ++counts.good; break;
        case Judgement::Bad: ++counts.bad; break;
        case Judgement::Miss: ++counts.miss; break;
        case Judgement::None: return;
    }
    AddToCombo(judgement != Judgement::Bad && judgement != Judgement::Miss);
}

void Judge::Ended(std::size_t index, Tail tail) {
    results[index].tail = tail;
    if (tail == Tail::Break) {
        ++counts.breaks;
        AddToCombo(false);
    }
}

void Judge::AddToCombo(bool keeps) {
    combo = keeps ? combo + 1 : 0;
    if (combo > maxCombo) maxCombo = combo;
}

double Judge::Accuracy() const {
    const int judged = counts.Judged();
    if (judged == 0) return 0;
    const double points = 300.0 * counts.perfect + 200.0 * counts.great + 100.0 * counts.good + 50.0 * counts.bad;
    return points / (300.0 * judged) * 100.0;
}
