#pragma once
// SplitRenderer: renders a play schedule through a FluidSynth synthesizer block by block,
// splitting each block at the sample where a message is due, so a message takes effect on its
// own sample rather than at the start or end of the block that holds it; the synthesizer
// itself starts voices on its own 64-sample steps, and that is all the error there is. The
// audio is whatever block size the caller asks for: the offline render's, or a sound card's.
// Renders on the caller's thread; sends nothing anywhere else.

#include <cstdint>
#include <vector>

#include "MusicClock.h"
#include "PlaySchedule.h"

struct _fluid_synth_t;

class SplitRenderer {
  public:
    // `schedule` (time order) and `clock` must outlive the renderer; sample 0 is the clock's
    // start point.
    SplitRenderer(_fluid_synth_t* synth, int sampleRate, const std::vector<ScheduledMessage>& schedule,
                  const MusicClock& clock);

    // Renders the next `frames` frames as interleaved stereo into `out`.
    void Render(int16_t* out, int frames);
    // Every message has been sent.
    bool Finished() const { return next == schedule.size(); }
    int64_t FramesRendered() const { return rendered; }

  private:
    // The frame a message is due at.
    int64_t DueFrame(const ScheduledMessage& message) const;

    _fluid_synth_t* synth;
    int sampleRate;
    const std::vector<ScheduledMessage>& schedule;
    const MusicClock& clock;
    std::size_t next = 0;
    int64_t rendered = 0;
};
