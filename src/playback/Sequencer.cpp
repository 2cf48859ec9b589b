#include "Sequencer.h"

#include <algorithm>

#include "PlaySchedule.h"

uint32_t Sequencer::AudibleMask(const CChart& chart) {
    uint32_t mask = chart.player.muted ? 0 : 1u << kPlayerTrack;
    for (int t = 0; t < kTrackCount; ++t) {
        if (!chart.tracks[static_cast<std::size_t>(t)].muted) mask |= 1u << t;
    }
    return mask;
}

void Sequencer::Load(std::shared_ptr<const SongTimeline> newSong, const CChart& newChart) {
    Stop();
    song = std::move(newSong);
    chart = &newChart;
    // So nothing of the previous song (programs, controllers) lingers.
    SendGmReset();
}

void Sequencer::SendGmReset() {
    TimedMessage reset = TimedMessage::Make(0, kSysExMessage);
    reset.sysex = {0x7E, 0x7F, 0x09, 0x01};
    port->Send(reset);
}

void Sequencer::PlayNote(const TimedMessage& noteOn, int64_t length, double now) {
    port->Send(noteOn);
    TimedMessage noteOff =
        TimedMessage::Make(0, static_cast<uint8_t>(0x80 | (noteOn.status & 0x0F)), noteOn.data1);
    if (!Playing() || Paused()) {
        port->Send(noteOff);
        return;
    }
    // Its end joins the schedule in time order, as a song message so no filter drops it.
    // Its end waits in a fixed list, so a note by hand never grows the schedule.
    if (handCount == kHandNotes) {
        port->Send(handEnds[0].noteOff);
        std::move(handEnds.begin() + 1, handEnds.end(), handEnds.begin());
        --handCount;
    }
    handEnds[handCount++] = {Position(now) + std::max<int64_t>(length, 0), noteOff};
}

void Sequencer::EndHandNotes(int64_t tick) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < handCount; ++i) {
        if (handEnds[i].tick <= tick)
            port->Send(handEnds[i].noteOff);
        else
            handEnds[kept++] = handEnds[i];
    }
    handCount = kept;
}

std::vector<Sequencer::Entry> Sequencer::Build(const CChart& chart, const SongTimeline& song, int64_t tick) {
    constexpr std::size_t kRoomForNotesByHand = 256;
    std::vector<Entry> built;
    std::vector<ScheduledMessage> schedule = BuildPlaySchedule(chart, song, tick, /*leaveOutMuted=*/false, /*clicks=*/true);
    built.reserve(schedule.size() + kRoomForNotesByHand);
    for (ScheduledMessage& m : schedule) built.push_back({std::move(m.message), m.track, m.chosen});
    return built;
}

void Sequencer::Start(std::vector<Entry>& built, int64_t tick, double now) {
    SilenceSounding();
    schedule.swap(built);
    next = 0;
    transport.Start(song->Time(), tick, now);
}

void Sequencer::Pause(double now) {
    if (!Playing() || Paused()) return;
    // What was handed over ahead of its time is dropped below, so it is played after resuming.
    while (next > 0 && transport.DueAt(schedule[next - 1].message.tick) > now) --next;
    transport.Pause(now);
    SilenceSounding();
}

void Sequencer::Resume(double now) {
    transport.Resume(song->Time(), now);
}

void Sequencer::Stop() {
    SilenceSounding();
    schedule.clear();
    next = 0;
    transport.Stop();
}

double Sequencer::Pump(double now) {
    if (!Playing() || Paused()) return kNever;
    EndHandNotes(Position(now));
    double handDue = kNever;
    for (std::size_t i = 0; i < handCount; ++i) handDue = std::min(handDue, transport.DueAt(handEnds[i].tick));
    const double ahead = port->Lookahead();
    while (next < schedule.size()) {
        const Entry& entry = schedule[next];
        const double due = transport.DueAt(entry.message.tick);
        if (due > now + ahead) return std::min(due - ahead, handDue);
        if (!Play(entry, due)) return now + kRetrySeconds;
        ++next;
    }
    return handDue;
}

bool Sequencer::Play(const Entry& entry, double due) {
    const TimedMessage& m = entry.message;
    std::bitset<128>& channel = sounding[m.status & 0x0F];
    const std::size_t key = m.data1 & 0x7F;
    if (entry.track == kSongTrack) {
        // Tempo is the clock's business; a port has nothing to do with it.
        return m.status == kTempoMessage || port->SendAt(m, due);
    }
    if (m.IsNoteOn()) {
        if (!(audible & (1u << entry.track)) || (entry.chosen && (audible & kChosenSilent))) return true;
        if (!port->SendAt(m, due)) return false;
        channel.set(key);
        return true;
    }
    if (!channel.test(key)) return true;
    if (!port->SendAt(m, due)) return false;
    channel.reset(key);
    return true;
}

void Sequencer::SilenceSounding() {
    port->DropPending();
    EndHandNotes(INT64_MAX);
    for (std::size_t channel = 0; channel < sounding.size(); ++channel) {
        if (sounding[channel].none()) continue;
        for (std::size_t key = 0; key < 128; ++key) {
            if (sounding[channel].test(key))
                port->Send(TimedMessage::Make(transport.PausedTick(), static_cast<uint8_t>(0x80 | channel),
                                              static_cast<uint8_t>(key)));
        }
        sounding[channel].reset();
    }
}

void Sequencer::SetPort(OutputPort& newPort) {
    SilenceSounding();
    port = &newPort;
}
