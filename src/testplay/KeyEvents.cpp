#include "KeyEvents.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The fields of one line split at commas.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trim(line.substr(0, comma)));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

template <typename T>
bool Parse(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ReadKeyEvents(std::string_view text, std::vector<KeyEvent>& events, std::string& error) {
    events.clear();
    std::array<bool, Judge::kLanes> down{};
    double last = -std::numeric_limits<double>::infinity();
    int number = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = Trim(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        ++number;
        if (line.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        const std::vector<std::string_view> fields = Fields(line);
        KeyEvent event;
        if (fields.size() != 3 || !Parse(fields[0], event.ms) || !std::isfinite(event.ms) ||
            !Parse(fields[1], event.lane) || (fields[2] != "down" && fields[2] != "up"))
            return fail("expected ms,lane,down or ms,lane,up, not \"" + std::string(line) + "\"");
        event.down = fields[2] == "down";
        if (event.lane < 0 || event.lane >= Judge::kLanes)
            return fail("lane " + std::to_string(event.lane) + " is outside 0..6");
        if (event.ms < last) return fail("the time goes back (the events must be in time order)");
        bool& isDown = down[static_cast<std::size_t>(event.lane)];
        if (event.down == isDown)
            return fail(event.down ? "lane " + std::to_string(event.lane) + " is already down"
                                   : "lane " + std::to_string(event.lane) + " is not down");
        isDown = event.down;
        last = event.ms;
        events.push_back(event);
    }
    return true;
}

std::vector<KeyEvent> PerfectPlay(const std::vector<TestNote>& notes) {
    // Within a moment: a held note's key comes up, then keys go down, then a tap's key comes
    // up, so a lane is free again for a note at the end of a held one.
    struct Timed {
        KeyEvent event;
        int order;
    };
    std::vector<Timed> timed;
    for (const TestNote& note : notes) {
        timed.push_back({{note.timeMs, note.lane, true}, 1});
        if (note.endMs)
            timed.push_back({{*note.endMs, note.lane, false}, 0});
        else
            timed.push_back({{note.timeMs, note.lane, false}, 2});
    }
    std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) {
        return a.event.ms != b.event.ms ? a.event.ms < b.event.ms : a.order < b.order;
    });
    std::vector<KeyEvent> events;
    for (const Timed& t : timed) events.push_back(t.event);
    return events;
}

void JudgeRun(Judge& judge, const std::vector<KeyEvent>& events) {
    for (const KeyEvent& e : events) {
        if (e.down)
            judge.Press(e.lane, e.ms);
        else
            judge.Release(e.lane, e.ms);
    }
    judge.Advance(std::numeric_limits<double>::infinity());
}
