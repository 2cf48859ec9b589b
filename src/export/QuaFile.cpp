#include <algorithm>
#include <cmath>
#include <cstdio>

#include "GameFiles.h"
#include "TextCleaning.h"

namespace {


// Quaver knows two signatures: three beats a measure, or four.
const char* Signature(const TimingPoint& p) {
    return p.numerator * 4 == 3 * p.denominator || p.numerator * 4 == 6 * p.denominator ? "Triple" : "Quadruple";
}

}  // namespace

std::string QuaText(const ExportChart& c) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    line("AudioFile: " + YamlQuoted(c.audioFile));
    line("SongPreviewTime: 0");
    line("BackgroundFile: ''");
    line("MapId: -1");
    line("MapSetId: -1");
    line("Mode: Keys7");
    line("Title: " + YamlQuoted(c.title));
    line("Artist: " + YamlQuoted(c.artist));
    line("Source: ''");
    line("Tags: " + YamlQuoted(c.genre));
    line("Creator: " + YamlQuoted(c.creator));
    line("DifficultyName: " + YamlQuoted("Lv " + std::to_string(c.level)));
    line("Description: ''");
    if (c.sampleFiles.empty()) {
        line("CustomAudioSamples: []");
    } else {
        line("CustomAudioSamples:");
        for (const std::string& file : c.sampleFiles) {
            line("- Path: " + YamlQuoted(file));
            line("  UnaffectedByRate: false");
        }
    }
    line("SoundEffects: []");
    line("TimingPoints:");
    for (const TimingPoint& p : c.timing) {
        line("- StartTime: " + std::to_string(std::llround(p.ms)));
        line("  Bpm: " + DecimalText(60'000'000.0 / std::max<uint32_t>(p.tempo, 1)));
        line(std::string("  Signature: ") + Signature(p));
    }
    line("SliderVelocities: []");
    line("HitObjects:");
    for (std::size_t i = 0; i < c.notes.size(); ++i) {
        const TimedNote& n = c.notes[i];
        const long long time = std::llround(n.timeMs);
        const long long end = n.endMs ? std::llround(*n.endMs) : time;
        line("- StartTime: " + std::to_string(time));
        line("  Lane: " + std::to_string(n.lane + 1));
        if (end > time) line("  EndTime: " + std::to_string(end));
        if (i < c.noteSamples.size() && c.noteSamples[i] >= 0) {
            line("  KeySounds:");
            line("  - Sample: " + std::to_string(c.noteSamples[i] + 1));  // Quaver counts samples from 1
            line("    Volume: 100");
        }
    }
    return out;
}
