// Undo and redo of the editing. A step is one command (or one drag, from the
// press to the release) and keeps the sections it changed as they were
// before and after: what a save writes of them and the editing state around
// them (SectionState).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "correction/CorrectionPanel.h"
#include "correction/Editing.h"
#include "wing/WingModel.h"

namespace quarvel {

// The sections of a step, the one that was current first.
using SectionStates = std::vector<SectionState>;

// The states of the sections ks (indices k), in that order.
SectionStates captureSections(const WingModel& wing, const std::vector<int>& ks);

class History {
public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxBytes = std::size_t(64) << 20;

    // Records a step unless it changes nothing; a new step ends every redo.
    // The oldest steps go once there are too many or they hold too much.
    // before and after hold the same sections in the same order; only the
    // sections that changed are kept. line is the step's journal entry (the
    // design script lines of its operation), kept with it.
    void record(SectionState before, SectionState after, std::string line = {});
    void record(SectionStates before, SectionStates after, std::string line = {});
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The states to put back, or nothing.
    const SectionStates* undo();
    const SectionStates* redo();
    void clear();
    // The journal entries of the steps done since the last clear, in order:
    // undone steps are left out, steps too old to undo are not.
    std::vector<std::string> journal() const;

private:
    struct Step {
        SectionStates before, after;
        std::size_t bytes = 0;
        std::string line;
    };
    std::vector<std::string> oldLines_;  // entries of the steps dropped as too old
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0 .. done_) are done, the rest undone
    std::size_t bytes_ = 0;
};

// After a change made outside the panel's commands (undo, an import): keeps
// the values of section k on their surfaces, drops the control-point
// selection, and redraws plot and planform.
Redraw showChangedSection(WingModel& wing, int k, EditingState& e);

// Undo and redo: put the sections of the step back, make the first of them
// the current section, keep its values inside their limits, drop the
// control-point selection. Nothing happens when there is no step.
Redraw undoEdit(WingModel& wing, EditingState& e, History& h);
Redraw redoEdit(WingModel& wing, EditingState& e, History& h);

}  // namespace quarvel
