#pragma once
// EditHistory: the undo and redo steps of the open chart, and the clean point: where the
// chart was last opened, converted or saved. A gesture records into the open step (Record)
// and ends with Commit; undo and redo move one committed step at a time. The history holds at
// most kDepth steps, forgetting the oldest; a new step after undoing forgets the steps that
// could have been redone.

#include <cstddef>
#include <deque>
#include <optional>

#include "EditStep.h"

class EditHistory {
  public:
    static constexpr std::size_t kDepth = 1000;

    // The open step: what the gesture under way has changed so far (empty at its start).
    EditStep& Record() { return open; }
    // Ends the open step: kept as the next undo step, or dropped when it changed nothing.
    // True when a step was kept.
    bool Commit();

    // Undoes the last step (committing the open one first); the step, or null when there is
    // nothing to undo.
    const EditStep* Undo(CChart& chart);
    const EditStep* Redo(CChart& chart);
    bool CanUndo() const { return done > 0 || !open.Empty(); }
    bool CanRedo() const { return done < steps.size() && open.Empty(); }

    // Another chart was opened or converted: no steps, and clean.
    void Clear();
    // The chart as it is now is the saved one.
    void MarkClean();
    // The chart is as it was at the clean point. An open step with changes is not clean.
    bool IsClean() const { return open.Empty() && clean == done; }

  private:
    std::deque<EditStep> steps;
    std::size_t done = 0;              // steps applied; steps[done..] can be redone
    std::optional<std::size_t> clean = 0;  // `done` at the clean point; none once forgotten
    EditStep open;
};
