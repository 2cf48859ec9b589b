#pragma once
// Playing one message on a FluidSynth synthesizer; shared by the live software-synthesizer
// port and the offline renderer so both sound the same.

#include "TimedMessage.h"

typedef struct _fluid_synth_t fluid_synth_t;

void SendToSynth(fluid_synth_t* synth, const TimedMessage& message);
