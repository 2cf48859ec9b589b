#include "EventText.h"

#include <cstdarg>
#include <cstdio>

#include "SmfFile.h"

namespace {

std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// Texts go through "%s", which ends at a zero byte, and are printed whole.
std::string Quoted(const char* label, const std::string& text) {
    return std::string(label) + " '" + text + "'";
}

}  // namespace

bool IsExtendedEvent(const CNote& event) {
    return (event.status & 0x70) == 0x70 && (event.status & 0x0F) == 4;
}

std::string MetaDescription(const CMetaEvent& m) {
    switch (m.type) {
        case 0x00: return Format("sequence # %d", m.sequenceNumber);
        case 0x01: return Quoted("text event", m.textValue);
        case 0x02: return Quoted("copyright notice", m.textValue);
        case 0x03: return Quoted("sequence or track name", m.textValue);
        case 0x04: return Quoted("instrument name", m.textValue);
        case 0x05: return Quoted("lyric", m.textValue);
        case 0x06: return Quoted("marker", m.textValue);
        case 0x07: return Quoted("cue point", m.textValue);
        case 0x20: return Format("channel prefix %d", static_cast<int>(m.channelPrefix));
        case 0x2F: return "end of track";
        case 0x51: return Format("%ld microseconds per MIDI quarter note", static_cast<long>(m.tempoUs));
        case 0x54: {
            const int fps = m.smpteFormat == 0 ? 24 : m.smpteFormat == 1 ? 25 : 30;
            return Format("SMPTE offset: %d frames/sec %s, %02d:%02d:%02d:%02d.%02d", fps,
                          m.smpteFormat == 2 ? "drop" : "non-drop", m.smpteHour, m.smpteMinute, m.smpteSecond,
                          m.smpteFrame, m.smpteSubframe);
        }
        case 0x58:
            return Format(
                "time signature %d/%d, %d MIDI clocks per beat, _%d_ notated 32nd notes per 24 MIDI clocks",
                m.timeSigNumerator, m.timeSigDenominator, m.timeSigClocks, m.timeSig32nds);
        case 0x59:
            return Format("key signature: %d %s(s), %s", static_cast<int>(m.keyCount),
                          m.keySharps ? "sharp" : "flat", m.keyMinor != 0 ? "minor" : "major");
        case 0x7F: return "sequencer specific";
        default: return "";
    }
}

std::string EventText(const CNote& e) {
    std::string text = Format("%8ld ", static_cast<long>(e.time));
    if (!IsExtendedEvent(e)) {
        return text + Format("%8ld %d %d %d %5ld %5ld", static_cast<long>(e.timeMs), e.status, e.key,
                             e.velocity, static_cast<long>(e.length), static_cast<long>(e.lengthMs));
    }
    const bool meta = e.data && e.data->kind == CEventData::kMeta;
    return text + "ed: " + (meta ? MetaDescription(e.data->meta) : std::string());
}

bool EventsEqual(const CNote& a, const CNote& b) {
    if (a.time != b.time) return false;
    if (IsExtendedEvent(a) && IsExtendedEvent(b)) return EventText(a) == EventText(b);
    return a.status == b.status && a.key == b.key && a.velocity == b.velocity;
}

std::string TrackEndsEarlyText(int track) {
    return "Warning: track " + std::to_string(track) +
           " ends before its declared length (the file is cut short); its events up to there are kept.";
}
