#include "correction/History.h"

#include <cstring>

namespace quarvel {

namespace {

// Compared by their bits, so that a NaN read from a file is no change.
template <typename T>
bool sameBits(const T* a, const T* b, std::size_t n) {
    return n == 0 || std::memcmp(a, b, n * sizeof(T)) == 0;
}

void restoreSection(WingModel& w, const SectionState& s) {
    const int k = s.section;
    if (k < 0 || k >= w.nsec || s.cpDes.size() != std::size_t(w.npt)) return;
    w.secCorrection[k] = s.secCorrection;
    w.surfMode[k] = s.surfMode;
    w.splineOn[k] = s.splineOn;
    w.nspl[k] = s.nspl;
    w.RU[k] = s.RU;
    w.RL[k] = s.RL;
    w.u1[k] = s.u1;
    w.u2[k] = s.u2;
    w.l1[k] = s.l1;
    w.l2[k] = s.l2;
    w.upperPoint[k] = s.upperPoint;
    w.lowerPoint[k] = s.lowerPoint;
    w.activeSurface[k] = s.activeSurface;
    for (int j = 0; j < WingModel::nsplMax; ++j) {
        w.splX[j][k] = s.splX[std::size_t(j)];
        w.splY[j][k] = s.splY[std::size_t(j)];
    }
    for (int i = 0; i < w.npt; ++i) w.cpDes[i][k] = s.cpDes[std::size_t(i)];
    w.curSection = k + 1;
}

Redraw putBack(WingModel& w, EditingState& e, const SectionState* s) {
    if (!s) return {};
    restoreSection(w, *s);
    // The counts may have changed under the selection.
    e.selectedControlPoint = -1;
    e.draggingControlPoint = 0;
    if (!keepSectionInLimits(w)) return {};
    Redraw r;
    r.plot = true;
    r.planform = true;
    return r;
}

}  // namespace

bool SectionState::sameEdit(const SectionState& o) const {
    return section == o.section && secCorrection == o.secCorrection && surfMode == o.surfMode &&
           splineOn == o.splineOn && nspl == o.nspl && u1 == o.u1 && u2 == o.u2 && l1 == o.l1 && l2 == o.l2 &&
           sameBits(splX.data(), o.splX.data(), splX.size()) && sameBits(splY.data(), o.splY.data(), splY.size()) &&
           cpDes.size() == o.cpDes.size() && sameBits(cpDes.data(), o.cpDes.data(), cpDes.size());
}

SectionState captureSection(const WingModel& w, int k) {
    SectionState s;
    if (k < 0 || k >= w.nsec) return s;
    s.section = k;
    s.secCorrection = w.secCorrection[k];
    s.surfMode = w.surfMode[k];
    s.splineOn = w.splineOn[k];
    s.nspl = w.nspl[k];
    s.RU = w.RU[k];
    s.RL = w.RL[k];
    s.u1 = w.u1[k];
    s.u2 = w.u2[k];
    s.l1 = w.l1[k];
    s.l2 = w.l2[k];
    s.upperPoint = w.upperPoint[k];
    s.lowerPoint = w.lowerPoint[k];
    s.activeSurface = w.activeSurface[k];
    for (int j = 0; j < WingModel::nsplMax; ++j) {
        s.splX[std::size_t(j)] = w.splX[j][k];
        s.splY[std::size_t(j)] = w.splY[j][k];
    }
    s.cpDes.assign(w.cpDes.column(k), w.cpDes.column(k) + w.npt);
    return s;
}

void History::record(SectionState before, SectionState after) {
    if (before.section < 0 || before.sameEdit(after)) return;
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().before.bytes() + steps_.back().after.bytes();
        steps_.pop_back();
    }
    bytes_ += before.bytes() + after.bytes();
    steps_.push_back({std::move(before), std::move(after)});
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= steps_.front().before.bytes() + steps_.front().after.bytes();
        steps_.pop_front();
    }
    done_ = steps_.size();
}

const SectionState* History::undo() {
    if (!canUndo()) return nullptr;
    return &steps_[--done_].before;
}

const SectionState* History::redo() {
    if (!canRedo()) return nullptr;
    return &steps_[done_++].after;
}

void History::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

Redraw undoEdit(WingModel& w, EditingState& e, History& h) { return putBack(w, e, h.undo()); }

Redraw redoEdit(WingModel& w, EditingState& e, History& h) { return putBack(w, e, h.redo()); }

}  // namespace quarvel
