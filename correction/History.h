// Undo and redo of the editing. A step is one command (or one drag, from the
// press to the release) and keeps the section it changed as it was before
// and after: what a save writes of it and the editing state around it.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <vector>

#include "correction/CorrectionPanel.h"
#include "correction/Editing.h"
#include "wing/WingModel.h"

namespace quarvel {

// Everything the editing can change in one section.
struct SectionState {
    int section = -1;  // index k
    int secCorrection = 0;
    SurfacePair surfMode{}, splineOn{}, nspl{};
    int RU = 0, RL = 0;
    int u1 = 0, u2 = 0, l1 = 0, l2 = 0;
    int upperPoint = 0, lowerPoint = 0;
    int activeSurface = 0;
    std::array<SurfaceValues, WingModel::nsplMax> splX{}, splY{};
    std::vector<double> cpDes;

    // True when the wing differs between the two states; the selected
    // points, the surface being edited and the codes that the panel rewrites
    // on its own are no change by themselves.
    bool sameEdit(const SectionState& other) const;
    std::size_t bytes() const { return sizeof(*this) + cpDes.capacity() * sizeof(double); }
};

// The state of section k (section -1 when k is not a section).
SectionState captureSection(const WingModel& wing, int k);

class History {
public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxBytes = std::size_t(64) << 20;

    // Records a step unless it changes nothing; a new step ends every redo.
    // The oldest steps go once there are too many or they hold too much.
    void record(SectionState before, SectionState after);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The state to put back, or nothing.
    const SectionState* undo();
    const SectionState* redo();
    void clear();

private:
    struct Step {
        SectionState before, after;
    };
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0 .. done_) are done, the rest undone
    std::size_t bytes_ = 0;
};

// Undo and redo: put the section of the step back, make it the current
// section, keep its values inside their limits, drop the control-point
// selection. Nothing happens when there is no step.
Redraw undoEdit(WingModel& wing, EditingState& e, History& h);
Redraw redoEdit(WingModel& wing, EditingState& e, History& h);

}  // namespace quarvel
