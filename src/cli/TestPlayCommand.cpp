#include "TestPlayCommand.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <string>

#include "document/ChartDocument.h"
#include "io/FileBytes.h"
#include "io/PathText.h"
#include "testplay/KeyEvents.h"

namespace {

constexpr uint64_t kLargestKeyFile = 64ull << 20;

double Rounded(double value, double places) {
    const double scale = std::pow(10.0, places);
    return std::round(value * scale) / scale;
}

nlohmann::ordered_json ResultsJson(const Judge& judge) {
    nlohmann::ordered_json notes = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < judge.Notes().size(); ++i) {
        const NoteResult& r = judge.Results()[i];
        nlohmann::ordered_json note;
        note["time"] = Rounded(judge.Notes()[i].timeMs, 3);
        note["lane"] = judge.Notes()[i].lane;
        note["judgement"] = r.judgement == Judgement::None ? nullptr : nlohmann::ordered_json(JudgementName(r.judgement));
        note["delta"] = r.deltaMs ? nlohmann::ordered_json(Rounded(*r.deltaMs, 3)) : nullptr;
        note["tail"] = r.tail == Tail::None ? nullptr : nlohmann::ordered_json(TailName(r.tail));
        notes.push_back(std::move(note));
    }
    const JudgeCounts& c = judge.Counts();
    nlohmann::ordered_json result;
    result["notes"] = std::move(notes);
    result["counts"] = {{"PERFECT", c.perfect}, {"GREAT", c.great}, {"GOOD", c.good},
                        {"BAD", c.bad},         {"MISS", c.miss},   {"BREAK", c.breaks}};
    result["maxCombo"] = judge.MaxCombo();
    result["accuracy"] = Rounded(judge.Accuracy(), 2);
    return result;
}

void PrintTotals(const Judge& judge, std::ostream& out) {
    const JudgeCounts& c = judge.Counts();
    out << "PERFECT " << c.perfect << "\nGREAT " << c.great << "\nGOOD " << c.good << "\nBAD " << c.bad
        << "\nMISS " << c.miss << "\nBREAK " << c.breaks << "\nMax combo " << judge.MaxCombo() << "\n";
    char accuracy[32];
    std::snprintf(accuracy, sizeof accuracy, "%.2f", judge.Accuracy());
    out << "Accuracy " << accuracy << "\n";
}

// The options' own faults, or empty.
std::string OptionsFault(const TestPlayOptions& o) {
    if (o.autoplay == o.input.has_value()) return "give either --input KEYS.csv or --autoplay";
    if (o.from < 0) return "--from must not be negative, not " + std::to_string(o.from);
    if (!(o.speed >= 25 && o.speed <= 200)) return "--speed must be 25..200 percent";
    if (!std::isfinite(o.offset)) return "--offset must be a number of milliseconds";
    return {};
}

}  // namespace

int RunTestPlay(const TestPlayOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
                std::ostream& err) {
    if (const std::string fault = OptionsFault(options); !fault.empty()) {
        err << "ryxtool: " << fault << "\n";
        return 2;
    }
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    if (Status status = document.OpenChart(options.chart); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    const std::vector<TestNote> notes = NotesToPlay(document.Chart(), options.from);
    std::vector<KeyEvent> events;
    if (options.input) {
        std::vector<uint8_t> bytes;
        if (Status status = ReadFileBytes(*options.input, bytes, kLargestKeyFile); !status) {
            err << "ryxtool: " << status.Message() << "\n";
            return 2;
        }
        std::string error;
        if (!ReadKeyEvents(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), events,
                           error)) {
            err << "ryxtool: " << PathText(*options.input) << ", " << error << "\n";
            return 2;
        }
    } else {
        events = PerfectPlay(notes);
    }
    // A perfect player needs no offset: its presses are the notes' own times.
    Judge judge(notes, options.speed, options.autoplay ? 0 : options.offset);
    JudgeRun(judge, events);
    if (options.json)
        out << ResultsJson(judge).dump() << "\n";
    else
        PrintTotals(judge, out);
    return 0;
}
