#include "wing/WingModel.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace quarvel {

namespace {

// From this size on a block is mapped rather than taken from the heap.
constexpr std::size_t kMappedBlock = 1 << 20;

}  // namespace

ZeroedBlock::ZeroedBlock(std::size_t bytes) : size_(bytes) {
    if (bytes == 0) return;
    if (bytes >= kMappedBlock) {
        void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p != MAP_FAILED) {
            data_ = p;
            mapped_ = true;
            return;
        }
    }
    data_ = std::calloc(bytes, 1);
    if (!data_) throw std::bad_alloc();
}

ZeroedBlock::ZeroedBlock(const ZeroedBlock& other) : ZeroedBlock(other.size_) {
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
    if (mapped_)
        ::munmap(data_, size_);
    else
        std::free(data_);
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
    for (auto* v : {&w.surfMode, &w.splineOn, &w.nspl}) f(*v);
}

}  // namespace

void WingModel::allocate() {
    forEachSectionArray(*this, [this](auto& v) { v.assign(static_cast<std::size_t>(nsec), {}); });
    X.assign(static_cast<std::size_t>(npt), 0.0);
    for (auto* g : {&cpInit, &cpdIn, &cpDes, &cpdOut}) g->resize(npt, nsec);
    splX.resize(nsplMax, nsec);
    splY.resize(nsplMax, nsec);
}

std::size_t WingModel::allocatedBytes() const {
    std::size_t bytes = X.capacity() * sizeof(double);
    forEachSectionArray(*this, [&bytes](const auto& v) { bytes += v.capacity() * sizeof(v[0]); });
    for (auto* g : {&cpInit, &cpdIn, &cpDes, &cpdOut}) bytes += g->bytes();
    return bytes + splX.bytes() + splY.bytes();
}

std::size_t WingModel::bytesFor(int npt, int nsec) {
    const auto points = std::size_t(npt), sections = std::size_t(nsec);
    WingModel sizes;
    std::size_t perSection = 0;
    forEachSectionArray(sizes, [&perSection](const auto& v) { perSection += sizeof(v[0]); });
    return points * sizeof(double) + 4 * points * sections * sizeof(double) + sections * perSection +
           2 * std::size_t(nsplMax) * sections * sizeof(SurfaceValues);
}

SectionOutput sectionOutput(const WingModel& w, int k) {
    SectionOutput out;
    if (k < 0 || k >= w.nsec) return out;
    out.secCorrection = w.secCorrection[k];
    out.modes = w.surfMode[k];
    // A corrected section's codes are rewritten from its regimes at the save.
    const bool corrected = w.secCorrection[k] == 2;
    out.codes = {corrected ? codeOfMode(w.surfMode[k][0]) : w.RU[k], corrected ? codeOfMode(w.surfMode[k][1]) : w.RL[k]};
    out.u1 = w.u1[k];
    out.u2 = w.u2[k];
    out.l1 = w.l1[k];
    out.l2 = w.l2[k];
    out.cpDes.resize(std::size_t(w.npt));
    for (int i = 0; i < w.npt; ++i) out.cpDes[std::size_t(i)] = w.cpDes[i][k];
    return out;
}

}  // namespace quarvel
