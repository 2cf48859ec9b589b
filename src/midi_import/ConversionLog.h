#pragma once
// What the conversion dialog shows: the status text of the current stage, the progress
// position (0..13) and the log, whose lines end with "\r\n". The dialog only displays this
// object; OnChange tells it when to refresh.

#include <functional>
#include <string>
#include <string_view>

class ConversionLog {
  public:
    static constexpr int kProgressSteps = 13;

    // Starts a new log for the file `title`: one line naming it, empty status, position 0.
    void Prepare(std::string_view title);

    // Starts a stage: its status text, the next progress position and its opening line. The
    // track-count stage moves the bar only after its line is written (`moveAfterLine`).
    void BeginStage(std::string_view status, std::string_view openingLine, bool moveAfterLine = false);
    // Appends result text to the log.
    void Append(std::string_view text);

    const std::string& Text() const { return text; }
    const std::string& Status() const { return status; }
    int ProgressPos() const { return progressPos; }
    // Lines of the log as its edit box counts them (line breaks + 1).
    int LogLines() const { return logLines; }
    // First visible line: the log is scrolled down in steps of six lines.
    int TopLine() const { return (logLines / 6) * 6; }

    std::function<void(const ConversionLog&)> onChange;

  private:
    void Changed();

    std::string text;
    std::string status;
    int progressPos = 0;
    int logLines = 1;
};
