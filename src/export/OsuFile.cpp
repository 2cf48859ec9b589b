#include <algorithm>
#include <cmath>
#include <cstdio>

#include "GameFiles.h"
#include "TextCleaning.h"

namespace {

// osu! counts a measure in beats of the timing point's length, a quarter note here.
int QuarterBeats(const TimingPoint& p) {
    return std::max(1, static_cast<int>(std::lround(p.numerator * 4.0 / p.denominator)));
}


}  // namespace

std::string OsuText(const ExportChart& c, const OsuSettings& settings) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    line("osu file format v14");
    line("");
    line("[General]");
    line("AudioFilename: " + (c.audioFile.empty() ? std::string("virtual") : c.audioFile));
    line("AudioLeadIn: 0");
    line("PreviewTime: -1");
    line("Countdown: 0");
    line("SampleSet: Normal");
    line("StackLeniency: 0.7");
    line("Mode: 3");
    line("LetterboxInBreaks: 0");
    line("SpecialStyle: 0");
    line("WidescreenStoryboard: 0");
    line("");
    line("[Metadata]");
    line("Title:" + OneLine(c.title));
    line("TitleUnicode:" + OneLine(c.title));
    line("Artist:" + OneLine(c.artist));
    line("ArtistUnicode:" + OneLine(c.artist));
    line("Creator:" + OneLine(c.creator));
    line("Version:Lv " + std::to_string(c.level));
    line("Source:");
    line("Tags:" + OneLine(c.genre));
    line("BeatmapID:0");
    line("BeatmapSetID:-1");
    line("");
    line("[Difficulty]");
    line("HPDrainRate:" + DecimalText(settings.hpDrain));
    line("CircleSize:7");
    line("OverallDifficulty:" + DecimalText(settings.overallDifficulty));
    line("ApproachRate:5");
    line("SliderMultiplier:1.4");
    line("SliderTickRate:1");
    line("");
    line("[Events]");
    line("//Background and Video events");
    line("//Break Periods");
    line("");
    line("[TimingPoints]");
    for (const TimingPoint& p : c.timing)
        line(std::to_string(std::llround(p.ms)) + "," + DecimalText(std::max<uint32_t>(p.tempo, 1) / 1000.0) + "," +
             std::to_string(QuarterBeats(p)) + ",0,0,100,1,0");
    line("");
    line("[HitObjects]");
    for (std::size_t i = 0; i < c.notes.size(); ++i) {
        const TimedNote& n = c.notes[i];
        const long long time = std::llround(n.timeMs);
        const std::string x = std::to_string(kOsuColumnX[n.lane]) + ",192," + std::to_string(time) + ",";
        const std::string sample =
            i < c.noteSamples.size() && c.noteSamples[i] >= 0 ? c.sampleFiles[static_cast<std::size_t>(c.noteSamples[i])] : "";
        const long long end = n.endMs ? std::llround(*n.endMs) : time;
        if (end > time)
            line(x + "128,0," + std::to_string(end) + ":0:0:0:0:" + sample);
        else
            line(x + "1,0,0:0:0:0:" + sample);
    }
    return out;
}
