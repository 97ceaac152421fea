#include "correction/History.h"

#include <utility>

namespace quarvel {

namespace {

Redraw putBack(WingModel& w, EditingState& e, const SectionStates* states) {
    if (!states || states->empty()) return {};
    for (const SectionState& s : *states) restoreSection(w, s);
    const int k = states->front().section;
    if (k >= 0 && k < w.nsec) w.curSection = k + 1;
    return showChangedSection(w, w.curSection - 1, e);
}

}  // namespace

Redraw showChangedSection(WingModel& w, int k, EditingState& e) {
    // The counts may have changed under the selection.
    e.selectedControlPoint = -1;
    e.draggingControlPoint = 0;
    if (!keepSectionOnSurfaces(w, k)) return {};
    Redraw r;
    r.plot = true;
    r.planform = true;
    return r;
}

SectionStates captureSections(const WingModel& w, const std::vector<int>& ks) {
    SectionStates states;
    states.reserve(ks.size());
    for (int k : ks) states.push_back(captureSection(w, k));
    return states;
}

void History::record(SectionState before, SectionState after, std::string line) {
    SectionStates b, a;
    b.push_back(std::move(before));
    a.push_back(std::move(after));
    record(std::move(b), std::move(a), std::move(line));
}

void History::record(SectionStates before, SectionStates after, std::string line) {
    if (before.size() != after.size()) return;
    // Sections the step left alone are not kept, but the first stays: it
    // becomes current again on undo.
    Step step;
    step.line = std::move(line);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].section < 0 || before[i].section != after[i].section) return;
        if (i > 0 && before[i].sameEdit(after[i])) continue;
        step.bytes += before[i].bytes() + after[i].bytes();
        step.before.push_back(std::move(before[i]));
        step.after.push_back(std::move(after[i]));
    }
    if (step.before.empty()) return;
    if (step.before.size() == 1 && step.before.front().sameEdit(step.after.front())) return;
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= steps_.front().bytes;
        if (!steps_.front().line.empty()) oldLines_.push_back(std::move(steps_.front().line));
        steps_.pop_front();
    }
    done_ = steps_.size();
}

const SectionStates* History::undo() {
    if (!canUndo()) return nullptr;
    return &steps_[--done_].before;
}

const SectionStates* History::redo() {
    if (!canRedo()) return nullptr;
    return &steps_[done_++].after;
}

void History::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    oldLines_.clear();
}

std::vector<std::string> History::journal() const {
    std::vector<std::string> lines = oldLines_;
    for (std::size_t i = 0; i < done_; ++i)
        if (!steps_[i].line.empty()) lines.push_back(steps_[i].line);
    return lines;
}

Redraw undoEdit(WingModel& w, EditingState& e, History& h) { return putBack(w, e, h.undo()); }

Redraw redoEdit(WingModel& w, EditingState& e, History& h) { return putBack(w, e, h.redo()); }

}  // namespace quarvel
