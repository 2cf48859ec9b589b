#include "SoundLibraryLog.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <glib.h>
#include <jack/jack.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace {

// The libraries' callbacks carry no object of ours, so the log they write to is the one
// process-wide thing of the sound layer, and only they and the two functions below reach it.
struct SoundLog {
    std::mutex lock;
    std::deque<std::string> lines;
    std::string lastError;
    bool echo = false;
};

SoundLog& Log() {
    static SoundLog log;
    return log;
}

constexpr std::size_t kKeptLines = 64;

void Add(const char* library, bool error, const std::string& text) {
    SoundLog& log = Log();
    std::lock_guard guard(log.lock);
    std::string line = std::string(library) + ": " + text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (error) log.lastError = text;
    if (log.echo) std::fprintf(stderr, "%s\n", line.c_str());
    log.lines.push_back(std::move(line));
    if (log.lines.size() > kKeptLines) log.lines.pop_front();
}

void FromFluid(int level, const char* message, void*) {
    Add("fluidsynth", level <= FLUID_ERR, message ? message : "");
}

void FromAlsa(const char* file, int line, const char* function, int error, const char* format, ...) {
    (void)file, (void)line, (void)function, (void)error;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Add("alsa", false, text);
}

void FromJackError(const char* message) {
    Add("jack", false, message ? message : "");
}

// FluidSynth's SoundFont reader reports damaged files as GLib criticals.
void FromGLib(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
    const bool error = (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL)) != 0;
    Add(domain ? domain : "glib", error, message ? message : "");
}

}  // namespace

void RouteSoundLibraryMessages() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        const char* echo = std::getenv("RYX_SOUND_LOG");
        Log().echo = echo && *echo;
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, FromFluid, nullptr);
        snd_lib_error_set_handler(FromAlsa);
        jack_set_error_function(FromJackError);
        jack_set_info_function(FromJackError);
        g_log_set_default_handler(FromGLib, nullptr);
    });
}

std::string LastSoundLibraryError() {
    SoundLog& log = Log();
    std::lock_guard guard(log.lock);
    return log.lastError;
}
