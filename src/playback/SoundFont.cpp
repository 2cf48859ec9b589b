#include "SoundFont.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <memory>
#include <system_error>

#include "SoundLibraryLog.h"
#include "io/PathText.h"

std::filesystem::path DefaultSoundFont() {
    if (const char* chosen = std::getenv("RYX_SOUNDFONT"); chosen && *chosen) return chosen;
    return "/usr/share/sounds/sf2/default-GM.sf2";
}

Status LoadSoundFont(fluid_synth_t* synth, const std::filesystem::path& soundFont) {
    RouteSoundLibraryMessages();
    std::error_code error;
    if (std::filesystem::is_regular_file(soundFont, error) &&
        fluid_synth_sfload(synth, PathText(soundFont).c_str(), 1) != FLUID_FAILED)
        return {};
    Status status = Status::Fail(ErrorCode::OpenInput, PathText(soundFont));
    const std::string reason = LastSoundLibraryError();
    status.reason = "not a SoundFont that loads" + (reason.empty() ? "" : " (" + reason + ")");
    return status;
}

Status CheckSoundFont(const std::filesystem::path& soundFont) {
    RouteSoundLibraryMessages();
    const auto settings = std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)>(
        new_fluid_settings(), delete_fluid_settings);
    const auto synth = std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)>(
        new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth) return Status::Fail(ErrorCode::OutOfMemory);
    return LoadSoundFont(synth.get(), soundFont);
}
