#include "ConversionSession.h"

#include "smf/SmfLayout.h"

ConversionSession::ConversionSession(CChart& chart, std::filesystem::path tempDir, ConversionHooks hooks,
                                     FileSystem& fs)
    : tempDir(std::move(tempDir)), fs(fs), pipeline(chart, log, std::move(hooks)), chart(chart) {}

void ConversionSession::Prepare(const std::filesystem::path& midiPath, const std::string& title) {
    pipeline.Drop();
    systemFailure = {};
    path = midiPath;
    log.Prepare(title);
    state = State::Prepared;
    okEnabled = true;
    cancelEnabled = true;
}

ConversionSession::Outcome ConversionSession::Ok() {
    switch (state) {
        case State::Prepared: return Repair();
        case State::Repaired: return Convert();
        case State::Converted: return Finish();
    }
    return Outcome::Stopped;
}

void ConversionSession::Cancel() {
    if (state == State::Repaired) pipeline.Drop();
}

bool ConversionSession::WriteTemporary(const char* name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path target = tempDir / name;
    if (Status status = WriteTemporaryFile(fs, target, bytes); !status) {
        systemFailure = status;
        log.Append(std::string(" -Unable to write the temporary file \"") + name + "\"" +
                   (status.reason.empty() ? "" : ": " + status.reason) + ".\r\n");
        return false;
    }
    path = target;
    return true;
}

ConversionSession::Outcome ConversionSession::Stop() {
    okEnabled = false;
    cancelEnabled = true;
    return Outcome::Stopped;
}

ConversionSession::Outcome ConversionSession::Repair() {
    okEnabled = false;
    cancelEnabled = false;
    std::vector<uint8_t> file;
    if (Status read = ReadSmfFileBytes(path, file); !read) {
        pipeline.ReportUnreadable(read);
        cancelEnabled = true;
        return Outcome::Stopped;
    }
    if (!pipeline.Repair(std::move(file))) {
        cancelEnabled = true;
        return Outcome::Stopped;
    }
    state = State::Repaired;
    return Convert();
}

ConversionSession::Outcome ConversionSession::Convert() {
    okEnabled = false;
    cancelEnabled = false;
    const std::vector<uint8_t> repaired = pipeline.RepairedSong();
    if (!WriteTemporary(kPrefixName, repaired) || !pipeline.Convert(repaired)) return Stop();
    state = State::Converted;
    okEnabled = true;
    cancelEnabled = false;
    return Outcome::Converted;
}

ConversionSession::Outcome ConversionSession::Finish() {
    if (!WriteTemporary(kAfterfixName, pipeline.Accompaniment())) return Stop();
    chart.songInfo.midiPath = PathText(path);
    return Outcome::Finished;
}
