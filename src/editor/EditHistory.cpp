#include "EditHistory.h"

bool EditHistory::Commit() {
    if (open.Empty()) return false;
    // The steps that could have been redone are gone; so is a clean point among them.
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(done), steps.end());
    if (clean && *clean > done) clean.reset();
    steps.push_back(std::move(open));
    open = EditStep();
    ++done;
    if (steps.size() > kDepth) {
        steps.pop_front();
        --done;
        if (clean) clean = *clean == 0 ? std::nullopt : std::optional(*clean - 1);
    }
    return true;
}

const EditStep* EditHistory::Undo(CChart& chart) {
    Commit();
    if (done == 0) return nullptr;
    const EditStep& step = steps[--done];
    step.Undo(chart);
    return &step;
}

const EditStep* EditHistory::Redo(CChart& chart) {
    if (!open.Empty() || done == steps.size()) return nullptr;
    const EditStep& step = steps[done++];
    step.Redo(chart);
    return &step;
}

void EditHistory::Clear() {
    steps.clear();
    open = EditStep();
    done = 0;
    clean = 0;
}

void EditHistory::MarkClean() {
    Commit();
    clean = done;
}
