// The wing being edited: one CpInput file's worth of sections, contours and
// regimes, plus the per-section editing state that the windows work on.
//
// Index conventions used everywhere in the program:
//  - a contour index i runs 0 .. npt-1; the upper surface is nhalf .. 2*nhalf-1
//    in the order of the file's point rows, the lower surface nhalf-1 down to 0;
//    with an odd npt the last index belongs to no row and stays 0.0;
//  - surface index s: 0 upper, 1 lower;
//  - per-section arrays are indexed k = section number - KTE1 (0-based);
//    curSection is 1-based;
//  - interval ends u1, u2, l1, l2 and the selected points upperPoint,
//    lowerPoint are 1-based point numbers (point p is contour index p-1); a
//    spinner shows point p as p + ioff.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace quarvel {

// A rows x cols table read as grid[row][col], like the pointer-of-arrays
// layout it replaces. It is stored column by column: for the Cp grids
// ([point][section]) one section's contour lies in one run of memory, which
// is how the reader, the plot, the spline and the mesh walk it.
// Zero-filled storage for the large tables. A large block comes from the
// system zeroed and mapped in one call, not page by page as each page is
// first touched, in huge pages where it can: a 200-section wing's Cp grids
// are thousands of small pages.
class ZeroedBlock {
public:
    ZeroedBlock() = default;
    // Not cleared, its bytes are whatever they were: for a block that is
    // written through at once.
    explicit ZeroedBlock(std::size_t bytes, bool cleared = true);
    ZeroedBlock(const ZeroedBlock& other);
    ZeroedBlock& operator=(const ZeroedBlock& other);
    ZeroedBlock(ZeroedBlock&& other) noexcept { swap(other); }
    ZeroedBlock& operator=(ZeroedBlock&& other) noexcept {
        swap(other);
        return *this;
    }
    ~ZeroedBlock() { release(); }

    void* data() const { return data_; }
    std::size_t size() const { return size_; }
    void swap(ZeroedBlock& other) noexcept;

private:
    void release();
    void* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;  // bytes mapped, 0 for a block from the heap
};

template <typename T>
class Grid {
    static_assert(std::is_trivially_copyable_v<T>, "a grid holds plain values");

public:
    // One row, its columns a stride apart.
    template <typename U>
    class Row {
    public:
        Row(U* first, std::size_t stride) : first_(first), stride_(stride) {}
        U& operator[](int col) const { return first_[static_cast<std::size_t>(col) * stride_]; }

    private:
        U* first_;
        std::size_t stride_;
    };

    Grid() = default;
    Grid(int rows, int cols) { resize(rows, cols); }

    // Sizes the grid and fills it with zeros (not cleared: values as they
    // come, for a grid that is written through at once).
    void resize(int rows, int cols, bool cleared = true) {
        rows_ = rows;
        cols_ = cols;
        block_ = ZeroedBlock(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) * sizeof(T), cleared);
    }
    Row<T> operator[](int row) { return {data() + row, static_cast<std::size_t>(rows_)}; }
    Row<const T> operator[](int row) const { return {data() + row, static_cast<std::size_t>(rows_)}; }
    // Column col as one contiguous run of rows() values.
    const T* column(int col) const { return data() + static_cast<std::size_t>(col) * rows_; }
    T* column(int col) { return data() + static_cast<std::size_t>(col) * rows_; }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    std::size_t bytes() const { return block_.size(); }

private:
    T* data() const { return static_cast<T*>(block_.data()); }

    int rows_ = 0;
    int cols_ = 0;
    ZeroedBlock block_;
};

using SurfacePair = std::array<int, 2>;      // [s]: 0 upper, 1 lower
using SurfaceValues = std::array<double, 2>;

// Regime of a surface as the program works with it.
enum SurfaceMode {
    MODE_NONE = 0,          // "No correction", code 0
    MODE_CP_EDITION = 1,    // "Cp correction" + "Cp edition", code 1
    MODE_CP_INTERP = 2,     // "Cp correction" + "Cp interpolation", code 1
    MODE_GEOM = 3,          // "Geom interpolation", code -10
    MODE_THICKNESS = 4,     // "Save thickness distr.", code -1
    MODE_MAX_THICKNESS = 5  // "Save max.thickness", code -2
};

// The values of secCorrection: "Yes sec. correction" and "No sec. correction".
enum SectionCorrection { SECTION_NOT_CORRECTED = 1, SECTION_CORRECTED = 2 };

// The two flow values of the wing a user may edit: MACH and ALPHA.
enum class FlowValue { Mach, Alpha };

// Code written to the files for a surface mode.
int codeOfMode(int mode);

// The regime's name as the panel labels it ("Cp edition", "Geom interpolation").
const char* modeName(int mode);

struct WingModel {
    // Fixed sizes of the spline editing.
    static constexpr int nsplMin = 3;
    static constexpr int nsplMax = 21;

    // Wing-level values; the capitalised names are the file formats' labels.
    std::string title;
    double MACH = 0.0;
    double ALPHA = 0.0;
    int ITE1 = 0, ITE2 = 0, KTE1 = 0, KTE2 = 0;
    std::string inputFileName;
    std::string outputFileName;

    // Sizes derived from the head.
    int npt = 0, nsec = 0, nhalf = 0, ioff = 0;
    int u1Min = 0, u2Max = 0, l1Min = 0, l2Max = 0;

    // Chord positions and Cp, all [i][k]: every section block of a file
    // carries its own X column, and real measurements put their taps at other
    // chord positions at each span station.
    Grid<double> X, cpInit, cpdIn, cpDes, cpdOut;

    // Per-section values, index k.
    std::vector<double> ZREF, Z, CN, EP, CYD, EPD, PLE, PTE, XLE, B;
    std::vector<int> RU, RL;
    // RU and RL as the file gave them; RU and RL follow the regimes.
    std::vector<int> fileRU, fileRL;
    std::vector<int> IU1, IU2, IL1, IL2;
    std::vector<int> u1, u2, l1, l2;
    std::vector<int> upperPoint, lowerPoint;
    std::vector<int> outIU1, outIU2, outIL1, outIL2;
    std::vector<int> secCorrection;  // 2 corrected, 1 not
    std::vector<int> activeSurface;  // 0 upper, 1 lower
    std::vector<SurfacePair> surfMode, splineOn, nspl;
    // "Shape the change": 1 while the control points of a surface in spline
    // editing hold the change of its design Cp rather than the Cp itself;
    // shapeBase[k][s] is then the surface's design Cp (every contour index)
    // that the change is added to, and empty otherwise.
    std::vector<SurfacePair> shapeOn;
    std::vector<std::array<std::vector<double>, 2>> shapeBase;

    // Spline control points: splX[j][k][s], j < nsplMax.
    Grid<SurfaceValues> splX, splY;

    // Running state.
    int curSection = 1;  // 1-based

    // Sizes every array from npt and nsec (already set) and zero-fills them.
    void allocate();
    // The same for a reader that writes every value of X, cpInit, cpdIn and
    // cpDes at once: those four are left uncleared.
    void allocateForReading();
    bool empty() const { return nsec == 0; }
    void allocateGrids(bool clearRead);
    // Bytes held by the arrays (for the memory budget).
    std::size_t allocatedBytes() const;
    // Bytes that allocate() takes for these sizes, known before it runs.
    static std::size_t bytesFor(int npt, int nsec);
};

// Everything the editing can change in one section: what a save writes of it
// (the correction flag, the regimes and codes, the intervals and the design
// Cp) and the editing state around it. Undo keeps these, and comparing two of
// them tells whether a command changed the wing.
struct SectionState {
    int section = -1;  // index k
    // The wing's MACH and ALPHA when it was taken: a step that changes them
    // keeps them with the section that was current.
    double MACH = 0.0, ALPHA = 0.0;
    int secCorrection = 0;
    SurfacePair surfMode{}, splineOn{}, nspl{}, shapeOn{};
    int RU = 0, RL = 0;
    int u1 = 0, u2 = 0, l1 = 0, l2 = 0;
    std::array<int, 4> outIntervals{};  // outIU1, outIU2, outIL1, outIL2
    int upperPoint = 0, lowerPoint = 0;
    int activeSurface = 0;
    std::array<SurfaceValues, WingModel::nsplMax> splX{}, splY{};
    std::vector<double> cpDes;
    std::array<std::vector<double>, 2> shapeBase;

    // The codes a save writes: a corrected section's come from its regimes.
    SurfacePair codes() const;
    // The two states write the same block to the CpOutput file.
    bool sameOutput(const SectionState& other) const;
    // The wing differs between the two states; the selected points, the
    // surface being edited and the codes that the panel rewrites on its own
    // are no change by themselves.
    bool sameEdit(const SectionState& other) const;
    std::size_t bytes() const;
};

// The state of section k (section -1 when k is not a section).
SectionState captureSection(const WingModel& wing, int k);

// Puts a captured state back into its section; a state of another wing's
// size is ignored.
void restoreSection(WingModel& wing, const SectionState& state);

}  // namespace quarvel
