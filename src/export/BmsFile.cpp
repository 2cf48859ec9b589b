#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>

#include "GameFiles.h"
#include "TextCleaning.h"

namespace {

// BMS names objects with two base-36 digits, "01" to "ZZ".
std::string Base36(int value) {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return {kDigits[(value / 36) % 36], kDigits[value % 36]};
}

constexpr int kSongAudio = 1;          // #WAV01: the song's audio
constexpr int kFirstSample = 2;        // #WAV02..: the notes' own sounds
constexpr int kSilent = 36 * 36 - 1;   // "ZZ", defined nowhere: a note without a sound of its own
constexpr int kWholeNote = 4 * kTicksPerQuarter;


// The objects of one channel in one measure, by their tick within it.
using Line = std::map<int64_t, int>;

class Body {
  public:
    explicit Body(const std::vector<Measure>& measures) : measures(measures) {}

    // Places object `id` on `channel` at chart tick `tick` (nothing outside the measures).
    void Place(int channel, int64_t tick, int id) {
        auto m = std::upper_bound(measures.begin(), measures.end(), tick,
                                  [](int64_t t, const Measure& measure) { return t < measure.tick; });
        if (m == measures.begin() || tick >= measures.back().tick + measures.back().length) return;
        const auto index = static_cast<std::size_t>(std::distance(measures.begin(), m) - 1);
        lines[{index, channel}][tick - measures[index].tick] = id;
    }

    // "#mmmcc:..." for every measure and channel with objects, each line with as many slots
    // as its objects' positions need; measure lengths other than 4/4 on channel 02.
    std::string Text() const {
        std::string out;
        for (std::size_t i = 0; i < measures.size(); ++i) {
            if (measures[i].length != kWholeNote)
                out += Header(i, 2) + DecimalText(static_cast<double>(measures[i].length) / kWholeNote) + "\r\n";
            for (auto it = lines.lower_bound({i, 0}); it != lines.end() && it->first.first == i; ++it) {
                const int64_t length = measures[i].length;
                int64_t step = length;
                for (const auto& [offset, id] : it->second) step = std::gcd(step, offset);
                std::string data(static_cast<std::size_t>(length / step) * 2, '0');
                for (const auto& [offset, id] : it->second)
                    data.replace(static_cast<std::size_t>(offset / step) * 2, 2, Base36(id));
                out += Header(i, it->first.second) + data + "\r\n";
            }
        }
        return out;
    }

  private:
    static std::string Header(std::size_t measure, int channel) {
        char text[16];
        std::snprintf(text, sizeof text, "#%03zu%02d:", measure, channel);
        return text;
    }

    const std::vector<Measure>& measures;
    std::map<std::pair<std::size_t, int>, Line> lines;
};

// The gauge's total, as BMS players expect it for this many notes.
int Total(std::size_t notes) {
    const double n = static_cast<double>(notes);
    return std::max(160, static_cast<int>(std::lround(7.605 * n / (0.01 * n + 6.5))));
}

}  // namespace

std::string BmsText(const ExportChart& c) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    const uint32_t firstTempo = c.timing.empty() ? kDefaultTempo : std::max<uint32_t>(c.timing.front().tempo, 1);
    line("*---------------------- HEADER FIELD");
    line("#PLAYER 1");
    line("#GENRE " + OneLine(c.genre));
    line("#TITLE " + OneLine(c.title));
    line("#ARTIST " + OneLine(c.artist));
    line("#BPM " + DecimalText(60'000'000.0 / firstTempo));
    line("#PLAYLEVEL " + std::to_string(c.level));
    line("#RANK 2");
    line("#TOTAL " + std::to_string(Total(c.notes.size())));
    line("#LNTYPE 1");
    if (!c.audioFile.empty()) line("#WAV" + Base36(kSongAudio) + " " + c.audioFile);
    for (std::size_t s = 0; s < c.sampleFiles.size(); ++s)
        line("#WAV" + Base36(kFirstSample + static_cast<int>(s)) + " " + c.sampleFiles[s]);

    Body body(c.measures);
    if (!c.audioFile.empty()) body.Place(1, 0, kSongAudio);
    // Each later tempo is defined once (#BPMxx) and set on channel 08 where it starts.
    std::map<uint32_t, int> tempoIds;
    for (std::size_t i = 1; i < c.timing.size(); ++i) {
        const uint32_t tempo = std::max<uint32_t>(c.timing[i].tempo, 1);
        if (tempo == std::max<uint32_t>(c.timing[i - 1].tempo, 1)) continue;
        const auto [it, added] = tempoIds.emplace(tempo, static_cast<int>(tempoIds.size()) + 1);
        if (added) line("#BPM" + Base36(it->second) + " " + DecimalText(60'000'000.0 / tempo));
        if (!c.measures.empty() && c.timing[i].tick <= c.measures.back().tick + c.measures.back().length)
            body.Place(8, c.timing[i].tick, it->second);
    }
    for (std::size_t i = 0; i < c.notes.size(); ++i) {
        const TimedNote& n = c.notes[i];
        const int id = i < c.noteSamples.size() && c.noteSamples[i] >= 0 ? kFirstSample + c.noteSamples[i] : kSilent;
        if (n.endTick && *n.endTick > n.tick) {
            // A held note: its start and end on the lane's long-note channel.
            body.Place(kBmsLongChannel[n.lane], n.tick, id);
            body.Place(kBmsLongChannel[n.lane], *n.endTick, id);
        } else {
            body.Place(kBmsChannel[n.lane], n.tick, id);
        }
    }
    line("");
    line("*---------------------- MAIN DATA FIELD");
    out += body.Text();
    return out;
}
