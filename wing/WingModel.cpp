#include "wing/WingModel.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include <sys/mman.h>

namespace quarvel {

namespace {

// From this size on a block is mapped rather than taken from the heap.
constexpr std::size_t kMappedBlock = 1 << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;

}  // namespace

ZeroedBlock::ZeroedBlock(std::size_t bytes, bool cleared) : size_(bytes) {
    if (bytes == 0) return;
    if (bytes >= kMappedBlock) {
        // Whole huge pages where the system gives them, all mapped at once:
        // far fewer pages for the system to fault in and account for.
        const std::size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* p = ::mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            const auto start = reinterpret_cast<std::uintptr_t>(p);
            const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
            if (aligned > start) ::munmap(p, aligned - start);
            const std::uintptr_t end = start + mapped + kHugePage;
            if (end > aligned + mapped) ::munmap(reinterpret_cast<void*>(aligned + mapped), end - (aligned + mapped));
            data_ = reinterpret_cast<void*>(aligned);
            ::madvise(data_, mapped, MADV_HUGEPAGE);
            // A system without the advice faults the pages in as they are cleared.
            if (::madvise(data_, mapped, MADV_POPULATE_WRITE) != 0) std::memset(data_, 0, bytes);
            mapped_ = mapped;
            return;
        }
    }
    data_ = cleared ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (!data_) throw std::bad_alloc();
}

ZeroedBlock::ZeroedBlock(const ZeroedBlock& other) : ZeroedBlock(other.size_, false) {
    if (size_) std::memcpy(data_, other.data_, size_);
}

ZeroedBlock& ZeroedBlock::operator=(const ZeroedBlock& other) {
    if (this != &other) {
        ZeroedBlock copy(other);
        swap(copy);
    }
    return *this;
}

void ZeroedBlock::swap(ZeroedBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
}

void ZeroedBlock::release() {
    if (!data_) return;
    if (!mapped_) {
        std::free(data_);
    } else {
        ::munmap(data_, mapped_);
    }
    data_ = nullptr;
}

int codeOfMode(int mode) {
    switch (mode) {
    case MODE_CP_EDITION:
    case MODE_CP_INTERP: return 1;
    case MODE_GEOM: return -10;
    case MODE_THICKNESS: return -1;
    case MODE_MAX_THICKNESS: return -2;
    default: return 0;
    }
}

const char* modeName(int mode) {
    switch (mode) {
    case MODE_CP_EDITION: return "Cp edition";
    case MODE_CP_INTERP: return "Cp interpolation";
    case MODE_GEOM: return "Geom interpolation";
    case MODE_THICKNESS: return "Save thickness distr.";
    case MODE_MAX_THICKNESS: return "Save max.thickness";
    default: return "No correction";
    }
}

namespace {

// Calls f on every per-section array of the wing.
template <typename Wing, typename F>
void forEachSectionArray(Wing& w, F&& f) {
    for (auto* v : {&w.ZREF, &w.Z, &w.CN, &w.EP, &w.CYD, &w.EPD, &w.PLE, &w.PTE, &w.XLE, &w.B}) f(*v);
    for (auto* v : {&w.RU, &w.RL, &w.fileRU, &w.fileRL, &w.IU1, &w.IU2, &w.IL1, &w.IL2, &w.u1, &w.u2, &w.l1,
                    &w.l2, &w.upperPoint, &w.lowerPoint, &w.outIU1, &w.outIU2, &w.outIL1, &w.outIL2,
                    &w.secCorrection, &w.activeSurface})
        f(*v);
    for (auto* v : {&w.surfMode, &w.splineOn, &w.nspl, &w.shapeOn}) f(*v);
}

}  // namespace

void WingModel::allocate() { allocateGrids(true); }

void WingModel::allocateForReading() { allocateGrids(false); }

void WingModel::allocateGrids(bool clearRead) {
    forEachSectionArray(*this, [this](auto& v) { v.assign(static_cast<std::size_t>(nsec), {}); });
    shapeBase.assign(static_cast<std::size_t>(nsec), {});
    for (auto* g : {&X, &cpInit, &cpdIn, &cpDes}) g->resize(npt, nsec, clearRead);
    cpdOut.resize(npt, nsec);
    splX.resize(nsplMax, nsec);
    splY.resize(nsplMax, nsec);
}

std::size_t WingModel::allocatedBytes() const {
    std::size_t bytes = 0;
    forEachSectionArray(*this, [&bytes](const auto& v) { bytes += v.capacity() * sizeof(v[0]); });
    for (auto* g : {&X, &cpInit, &cpdIn, &cpDes, &cpdOut}) bytes += g->bytes();
    bytes += shapeBase.capacity() * sizeof(shapeBase[0]);
    for (const auto& pair : shapeBase)
        for (const auto& base : pair) bytes += base.capacity() * sizeof(double);
    return bytes + splX.bytes() + splY.bytes();
}

std::size_t WingModel::bytesFor(int npt, int nsec) {
    const auto points = std::size_t(npt), sections = std::size_t(nsec);
    WingModel sizes;
    std::size_t perSection = 0;
    forEachSectionArray(sizes, [&perSection](const auto& v) { perSection += sizeof(v[0]); });
    return 5 * points * sections * sizeof(double) + sections * perSection +
           2 * std::size_t(nsplMax) * sections * sizeof(SurfaceValues) +
           sections * sizeof(std::array<std::vector<double>, 2>);
}

namespace {

// Compared by their bits, so that a NaN read from a file is no change.
template <typename T>
bool sameBits(const T* a, const T* b, std::size_t n) {
    return n == 0 || std::memcmp(a, b, n * sizeof(T)) == 0;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && sameBits(a.data(), b.data(), a.size());
}

}  // namespace

SurfacePair SectionState::codes() const {
    if (secCorrection != SECTION_CORRECTED) return {RU, RL};
    return {codeOfMode(surfMode[0]), codeOfMode(surfMode[1])};
}

bool SectionState::sameOutput(const SectionState& o) const {
    return section == o.section && sameBits(&MACH, &o.MACH, 1) && sameBits(&ALPHA, &o.ALPHA, 1) &&
           secCorrection == o.secCorrection && surfMode == o.surfMode &&
           codes() == o.codes() && u1 == o.u1 && u2 == o.u2 && l1 == o.l1 && l2 == o.l2 &&
           outIntervals == o.outIntervals && sameBits(cpDes, o.cpDes);
}

bool SectionState::sameEdit(const SectionState& o) const {
    return sameOutput(o) && splineOn == o.splineOn && nspl == o.nspl && shapeOn == o.shapeOn &&
           sameBits(splX.data(), o.splX.data(), splX.size()) && sameBits(splY.data(), o.splY.data(), splY.size()) &&
           sameBits(shapeBase[0], o.shapeBase[0]) && sameBits(shapeBase[1], o.shapeBase[1]);
}

std::size_t SectionState::bytes() const {
    return sizeof(*this) + (cpDes.capacity() + shapeBase[0].capacity() + shapeBase[1].capacity()) * sizeof(double);
}

SectionState captureSection(const WingModel& w, int k) {
    SectionState s;
    if (k < 0 || k >= w.nsec) return s;
    s.section = k;
    s.MACH = w.MACH;
    s.ALPHA = w.ALPHA;
    s.secCorrection = w.secCorrection[k];
    s.surfMode = w.surfMode[k];
    s.splineOn = w.splineOn[k];
    s.nspl = w.nspl[k];
    s.shapeOn = w.shapeOn[k];
    s.RU = w.RU[k];
    s.RL = w.RL[k];
    s.u1 = w.u1[k];
    s.u2 = w.u2[k];
    s.l1 = w.l1[k];
    s.l2 = w.l2[k];
    s.outIntervals = {w.outIU1[k], w.outIU2[k], w.outIL1[k], w.outIL2[k]};
    s.upperPoint = w.upperPoint[k];
    s.lowerPoint = w.lowerPoint[k];
    s.activeSurface = w.activeSurface[k];
    for (int j = 0; j < WingModel::nsplMax; ++j) {
        s.splX[std::size_t(j)] = w.splX[j][k];
        s.splY[std::size_t(j)] = w.splY[j][k];
    }
    s.cpDes.assign(w.cpDes.column(k), w.cpDes.column(k) + w.npt);
    s.shapeBase = w.shapeBase[k];
    return s;
}

void restoreSection(WingModel& w, const SectionState& s) {
    const int k = s.section;
    if (k < 0 || k >= w.nsec || s.cpDes.size() != std::size_t(w.npt)) return;
    w.MACH = s.MACH;
    w.ALPHA = s.ALPHA;
    w.secCorrection[k] = s.secCorrection;
    w.surfMode[k] = s.surfMode;
    w.splineOn[k] = s.splineOn;
    w.nspl[k] = s.nspl;
    w.shapeOn[k] = s.shapeOn;
    w.RU[k] = s.RU;
    w.RL[k] = s.RL;
    w.u1[k] = s.u1;
    w.u2[k] = s.u2;
    w.l1[k] = s.l1;
    w.l2[k] = s.l2;
    w.outIU1[k] = s.outIntervals[0];
    w.outIU2[k] = s.outIntervals[1];
    w.outIL1[k] = s.outIntervals[2];
    w.outIL2[k] = s.outIntervals[3];
    w.upperPoint[k] = s.upperPoint;
    w.lowerPoint[k] = s.lowerPoint;
    w.activeSurface[k] = s.activeSurface;
    for (int j = 0; j < WingModel::nsplMax; ++j) {
        w.splX[j][k] = s.splX[std::size_t(j)];
        w.splY[j][k] = s.splY[std::size_t(j)];
    }
    for (int i = 0; i < w.npt; ++i) w.cpDes[i][k] = s.cpDes[std::size_t(i)];
    w.shapeBase[k] = s.shapeBase;
}

}  // namespace quarvel
