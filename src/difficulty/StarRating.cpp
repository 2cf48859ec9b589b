#include "StarRating.h"

#include <algorithm>
#include <cmath>

#include "LegacySort.h"
#include "chart/TimedNotes.h"

namespace {

constexpr double kColumnDecayBase = 0.125;
constexpr double kOverallDecayBase = 0.30;
constexpr double kReleaseThreshold = 24;  // ms: where the release bonus is half
constexpr double kSectionLength = 400;    // ms
constexpr double kDecayWeight = 0.9;
constexpr double kStarScaling = 0.018;

double Decay(double value, double deltaMs, double base) {
    return value * std::pow(base, deltaMs / 1000);
}

// a − b beyond a millisecond.
bool DefinitelyBigger(double a, double b) {
    return a - 1 > b;
}

// The strain model, note by note, from the second note on.
class Strain {
  public:
    explicit Strain(int columns)
        : previousStarts(static_cast<std::size_t>(columns)),
          previousEnds(static_cast<std::size_t>(columns)),
          columnStrains(static_cast<std::size_t>(columns)) {}

    // The strain at `note`, `deltaMs` after the note before it.
    double At(const ManiaNote& note, double deltaMs) {
        const auto column = static_cast<std::size_t>(note.column);
        const auto start = static_cast<double>(note.startMs);
        const auto end = static_cast<double>(note.endMs);
        double closestEnd = std::abs(end - start);
        bool endOnBody = false;
        bool endAfterTail = false;
        for (double previousEnd : previousEnds) {
            endOnBody |= DefinitelyBigger(previousEnd, start) && DefinitelyBigger(end, previousEnd);
            endAfterTail |= DefinitelyBigger(previousEnd, end);
            closestEnd = std::min(closestEnd, std::abs(end - previousEnd));
        }
        const double endOnBodyBias = endOnBody ? 1 / (1 + std::exp(0.5 * (kReleaseThreshold - closestEnd))) : 0;
        const double endAfterTailWeight = endAfterTail ? 1.25 : 1.0;

        columnStrains[column] = Decay(columnStrains[column], start - previousStarts[column], kColumnDecayBase);
        columnStrains[column] += 2 * endAfterTailWeight;
        overall = Decay(overall, deltaMs, kOverallDecayBase);
        overall += (1 + endOnBodyBias) * endAfterTailWeight;
        // Within a chord the column strain is the chord's largest so far.
        const double columnStrain = deltaMs <= 1 ? std::max(previousColumnStrain, columnStrains[column]) : columnStrains[column];
        previousStarts[column] = start;
        previousEnds[column] = end;
        previousColumnStrain = columnStrain;
        return columnStrain + overall;
    }

    // The strain `sinceMs` after the last note, decayed: where a new section starts.
    double Decayed(double sinceMs) const {
        return Decay(previousColumnStrain, sinceMs, kColumnDecayBase) + Decay(overall, sinceMs, kOverallDecayBase);
    }

  private:
    std::vector<double> previousStarts;
    std::vector<double> previousEnds;
    std::vector<double> columnStrains;
    double previousColumnStrain = 0;
    double overall = 1;
};

}  // namespace

Difficulty RateNotes(std::vector<ManiaNote> notes, int columns) {
    Difficulty result;
    if (notes.size() < 2) return result;
    LegacySort(notes, [](const ManiaNote& a, const ManiaNote& b) {
        return static_cast<int>(a.startMs - b.startMs);
    });
    Strain strain(columns);
    std::vector<double> peaks;
    // The first note only serves as the one before the second; sections are 400 ms of the
    // song's clock, the first ending at the first multiple of 400 at or after the second note.
    double sectionEnd = std::ceil(static_cast<double>(notes[1].startMs) / kSectionLength) * kSectionLength;
    double peak = 0;
    for (std::size_t i = 1; i < notes.size(); ++i) {
        const auto start = static_cast<double>(notes[i].startMs);
        const auto previousStart = static_cast<double>(notes[i - 1].startMs);
        while (start > sectionEnd) {
            result.sections.push_back({sectionEnd - kSectionLength, peak});
            // A new section starts from the strain decayed to its start (the previous rated
            // note's, which for the second note is none: it never gets here).
            peak = strain.Decayed(sectionEnd - previousStart);
            sectionEnd += kSectionLength;
        }
        peak = std::max(peak, strain.At(notes[i], start - previousStart));
    }
    result.sections.push_back({sectionEnd - kSectionLength, peak});

    std::vector<double> sorted;
    for (const StrainSection& s : result.sections)
        if (s.peak > 0) sorted.push_back(s.peak);
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    double weight = 1;
    for (double s : sorted) {
        result.stars += s * weight;
        weight *= kDecayWeight;
    }
    result.stars *= kStarScaling;
    return result;
}

std::vector<ManiaNote> ManiaNotesOf(const CChart& chart) {
    std::vector<ManiaNote> notes;
    for (const TimedNote& n : TimedPlayerNotes(chart)) {
        const int64_t start = std::llround(n.timeMs);
        const int64_t end = n.endMs ? std::llround(*n.endMs) : start;
        notes.push_back({start, end > start ? end : start, std::clamp(n.lane, 0, 6)});
    }
    return notes;
}

Difficulty RateChart(const CChart& chart) {
    return RateNotes(ManiaNotesOf(chart));
}

int SuggestedLevel(double stars) {
    return std::clamp(static_cast<int>(std::lround(1.5 * stars)), 1, 10);
}
