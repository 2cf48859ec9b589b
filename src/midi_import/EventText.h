#pragma once
// Text forms of events read by CSmfFile, used to print them and to compare extended events.

#include <string>

#include "EventData.h"
#include "chart/Note.h"

// True for the in-memory marker of a system-exclusive or meta event.
bool IsExtendedEvent(const CNote& event);

// "sequence or track name 'Piano'", "time signature 6/8, ...", ...; empty for system
// exclusive and unknown types.
std::string MetaDescription(const CMetaEvent& meta);

// One line: the time, then for channel events timeMs, status, key, velocity, length and
// lengthMs; for extended events "ed: " and the meta description.
std::string EventText(const CNote& event);

// The warning for a track chunk whose data ends before its declared length ("track 2", the
// number `ryxtool events` prints), without a line end.
std::string TrackEndsEarlyText(int track);

// Same time and, for channel events, the same status, key and velocity; for extended
// events, the same text form.
bool EventsEqual(const CNote& a, const CNote& b);
