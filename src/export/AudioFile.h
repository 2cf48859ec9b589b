#pragma once
// Writing rendered audio (interleaved 16-bit stereo at the render's rate) as a file the games
// play: OGG Vorbis at about 160 kbit/s, or WAV.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "io/Status.h"

enum class AudioFormat { Ogg, Wav };

// Writes `samples` to `path`; CreateOutput or WriteOutput with the library's reason. `progress` (0..1) is told
// as the encoding goes on.
Status WriteAudioFile(const std::filesystem::path& path, const std::vector<int16_t>& samples, AudioFormat format,
                      const std::function<void(double)>& progress = {});
