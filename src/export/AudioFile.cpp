#include "AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <memory>

#include "io/PathText.h"
#include "playback/WavRenderer.h"

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Vorbis quality (0..1) for about 160 kbit/s of 44.1 kHz stereo.
constexpr double kVorbisQuality = 0.5;
constexpr std::size_t kChunkFrames = 44100;

}  // namespace

Status WriteAudioFile(const std::filesystem::path& path, const std::vector<int16_t>& samples, AudioFormat format,
                      const std::function<void(double)>& progress) {
    SF_INFO info{};
    info.samplerate = kRenderSampleRate;
    info.channels = 2;
    info.format = format == AudioFormat::Ogg ? SF_FORMAT_OGG | SF_FORMAT_VORBIS : SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(PathText(path).c_str(), SFM_WRITE, &info));
    if (!file) {
        Status status = Status::Fail(ErrorCode::CreateOutput, PathText(path));
        status.reason = sf_strerror(nullptr);
        return status;
    }
    if (format == AudioFormat::Ogg) {
        double quality = kVorbisQuality;
        sf_command(file.get(), SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }
    const std::size_t frames = samples.size() / 2;
    for (std::size_t done = 0; done < frames;) {
        const std::size_t chunk = std::min(kChunkFrames, frames - done);
        const sf_count_t written =
            sf_writef_short(file.get(), samples.data() + done * 2, static_cast<sf_count_t>(chunk));
        if (written != static_cast<sf_count_t>(chunk)) {
            Status status = Status::Fail(ErrorCode::WriteOutput, PathText(path));
            status.reason = sf_strerror(file.get());
            return status;
        }
        done += chunk;
        if (progress) progress(static_cast<double>(done) / static_cast<double>(frames));
    }
    // Closing writes what the encoder still holds; a failure there is a failed write too.
    if (sf_close(file.release()) != 0) return Status::Fail(ErrorCode::WriteOutput, PathText(path));
    return {};
}
