#pragma once
// ConversionSession: one MIDI file's way to a chart, as the "Convert MIDI" dialog runs it,
// without the dialog. The dialog shows `log`, enables its buttons from okEnabled and
// cancelEnabled, and forwards its OK and CANCEL buttons.
//
// OK in the prepared state repairs the song and goes straight on to convert it; OK in the
// converted state writes the accompaniment (the song without its notes) and finishes. The
// steps are those of ConversionPipeline; between them the session writes the temporary
// files "Prefix.tmp" (the repaired song) and "afterfix.tmp" (the accompaniment, which becomes
// the chart's song) to the run's private folder, through `fs`.

#include <filesystem>
#include <string>

#include "ConversionLog.h"
#include "ConversionPipeline.h"
#include "chart/Chart.h"
#include "io/FileSystem.h"

class ConversionSession {
  public:
    enum class State { Prepared = 0, Repaired = 1, Converted = 2 };
    enum class Outcome {
        Stopped,    // the file cannot be converted, or a temporary file cannot be written
        Converted,  // the chart is built; OK again finishes
        Finished,   // the accompaniment is written; the dialog closes
    };

    static constexpr const char* kPrefixName = "Prefix.tmp";
    static constexpr const char* kAfterfixName = "afterfix.tmp";

    ConversionSession(CChart& chart, std::filesystem::path tempDir, ConversionHooks hooks = {},
                      FileSystem& fs = NativeFileSystem());

    // Readies the session for the MIDI file at `midiPath`; `title` is its name without extension.
    void Prepare(const std::filesystem::path& midiPath, const std::string& title);
    Outcome Ok();
    // In the repaired state drops the repaired song; nothing else is undone.
    void Cancel();

    State state = State::Prepared;
    bool okEnabled = true;
    bool cancelEnabled = true;
    std::filesystem::path path;  // the file the next step reads
    ConversionLog log;
    // Why the session stopped when the system failed it (a temporary file that cannot be
    // written), rather than the MIDI file; Ok() otherwise.
    Status systemFailure;

  private:
    Outcome Repair();
    Outcome Convert();
    Outcome Finish();
    // Writes `bytes` to the temporary file `name` and makes it the path the next step reads;
    // on failure the log says so and the session stops.
    bool WriteTemporary(const char* name, const std::vector<uint8_t>& bytes);
    Outcome Stop();

    std::filesystem::path tempDir;
    FileSystem& fs;
    ConversionPipeline pipeline;
    CChart& chart;
};
