#include "SongTimeline.h"

#include <algorithm>
#include <array>

#include "ChannelState.h"
#include "smf/LibSmf.h"

namespace {

// The events of one library track as messages at chart ticks, notes left out.
void AddTrack(const CLibTrack& track, uint16_t resolution, std::vector<TimedMessage>& out) {
    uint64_t fileTick = 0;
    for (uint32_t i = 0; i < track.Count(); ++i) {
        const LibEvent event = track.Event(i);
        fileTick += event.delta;
        const int64_t tick = ChartTicksOf(static_cast<int64_t>(std::min<uint64_t>(fileTick, INT64_MAX)), resolution);
        if (event.status == kTempoStatus) {
            TimedMessage tempo = TimedMessage::Make(tick, kTempoMessage);
            tempo.tempo = LibEventValue(event);
            out.push_back(std::move(tempo));
        } else if (const SysExPayload* payload = track.PayloadOf(event)) {
            TimedMessage sysex = TimedMessage::Make(tick, kSysExMessage);
            sysex.sysex.assign(payload->bytes.begin(), payload->bytes.end());
            if (!sysex.sysex.empty() && sysex.sysex.back() == 0xF7) sysex.sysex.pop_back();
            out.push_back(std::move(sysex));
        } else if (event.status >= 0xA0 && event.status <= 0xEF) {
            out.push_back(TimedMessage::Make(tick, event.status, event.data1, event.data2));
        }
    }
}

}  // namespace

Status SongTimeline::FromSongBytes(std::span<const uint8_t> bytes, SongTimeline& out) {
    CLibSmf smf;
    if (Status status = smf.OpenBytes(std::vector<uint8_t>(bytes.begin(), bytes.end())); !status)
        return status;
    std::vector<CLibTrack> tracks(smf.FileTrackCount());
    for (CLibTrack& track : tracks) smf.AddTrack(track);
    smf.Read();
    out.messages.clear();
    for (const CLibTrack& track : tracks) AddTrack(track, smf.Resolution(), out.messages);
    // Stable, so messages of one tick keep their file order, tracks in file order.
    std::stable_sort(out.messages.begin(), out.messages.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.tick < b.tick; });
    std::vector<TimeBase::TempoChange> changes;
    for (const TimedMessage& m : out.messages)
        if (m.status == kTempoMessage) changes.push_back({m.tick, m.tempo});
    out.time = TimeBase(std::move(changes), kTicksPerQuarter);
    return {};
}

std::vector<TimedMessage> SongTimeline::StateAt(int64_t tick) const {
    std::array<ChannelState, 16> channels;
    for (const TimedMessage& m : messages) {
        if (m.tick >= tick) break;
        if (m.status >= 0x80 && m.status <= 0xEF) channels[m.status & 0x0F].Apply(m);
    }
    std::vector<TimedMessage> state;
    for (uint8_t channel = 0; channel < 16; ++channel) channels[channel].Restore(channel, tick, state);
    return state;
}
