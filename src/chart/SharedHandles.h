#pragma once
// Reference-counted handles that the MIDI import stages pass between each other.
//
// A handle is null or shares one body with every copy of itself: copying adds a reference,
// releasing (reset or destruction) drops one, and the body is destroyed with its last
// reference. Readers must test a handle for null before looking through it.

#include <cstddef>
#include <memory>
#include <vector>

// The extra bytes of a system-exclusive or meta event; defined by the MIDI file reader.
// Chart code only carries the handle around and never looks inside.
class CEventData;

// Shared handle to the extra data of the MIDI event a note came from.
using CSharedData = std::shared_ptr<const CEventData>;

// Shared, counted array of elements (CNote or 32-bit integers).
template <typename T>
using CSharedArray = std::shared_ptr<std::vector<T>>;

// A new array body of `count` value-initialised elements, held by one handle.
template <typename T>
CSharedArray<T> MakeSharedArray(std::size_t count) {
    return std::make_shared<std::vector<T>>(count);
}
