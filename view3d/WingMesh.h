// The 3D view's geometry without any window or GL: the four Cp surfaces of
// the wing as a mesh over chordwise stations and sections, the view frame
// and default camera derived from it, the eight layers the view can draw,
// and the quads of one layer with their face normals.
//
// Coordinates are OpenGL's: x along the chord, y the height (minus Cp, so
// suction points up), z along the span.
#pragma once

#include <array>
#include <vector>

#include "wing/WingModel.h"

namespace quarvel {

// How the sections are placed: every section on the unit chord side by side
// at twice its ZREF ("Cp on square"), or at its leading edge and span
// position, scaled by its chord relative to the first section's
// ("Cp on PlanForm").
enum class MeshLayout { Square, Planform };

// Six tables [j][k]: station j = 0 .. meshPoints-1, section k = 0 ..
// meshSections-1. Station j is point row j of the wing: upper contour index
// nhalf + j, lower nhalf - 1 - j, both at X[nhalf + j].
struct WingMesh {
    int meshPoints = 0;    // the wing's nhalf
    int meshSections = 0;  // the wing's nsec
    Grid<double> meshX, meshZ;
    Grid<double> meshUpperInit, meshLowerInit;  // from cpInit
    Grid<double> meshUpperDes, meshLowerDes;    // from cpDes
    // Height per unit of minus Cp in each section: 1 on the square, the
    // section's chord over the reference chord on the planform.
    std::vector<double> heightPerCp;
    // The wing's station and section of each mesh row and column: all of
    // them, or those a level of detail keeps (see MeshDetail).
    std::vector<int> stations, sections;

    // The Cp a height of section k stands for.
    double cpOf(double height, int k) const {
        const double s = heightPerCp[k];
        return s != 0.0 ? -height / s : 0.0;
    }
};

void allocateMesh(WingMesh& mesh, int points, int sections);

// Overwrites all six tables from the wing, which must hold at least
// 2 * mesh.meshPoints contour points and mesh.meshSections sections. With an
// odd npt the last contour index belongs to no row and is never read.
void fillMesh(WingMesh& mesh, const WingModel& wing, MeshLayout layout);

// The chord every planform-layout length is divided by: the first section's,
// or, when that is 0, the first non-zero one (1 when all are 0), so that a
// wing with a pointed root still has finite coordinates.
double referenceChord(const std::vector<double>& B);

// Bounding box, extents and centre of the view, and how large the wing
// looks from the default camera: its half width and height across the
// screen (orthographic) and the tangents of the half angles it fills from
// the default eye distance (perspective), so that any canvas shape fits it.
struct ViewFrame {
    float minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
    float Lx = 0, Ly = 0, Lz = 0;
    float cx = 0, cy = 0, cz = 0;
    float radius = 1;  // half the diagonal of the box
    double fitHalfWidth = 1, fitHalfHeight = 1;
    double fitTanX = 1, fitTanY = 1;
};

// Camera state; angles in degrees. orthoZoom 1 and the default eyeDistance
// show the whole wing.
struct Camera {
    float rotX = 0, rotY = 0, rotZ = 0;
    float panX = 0, panY = 0;
    float eyeDistance = 0;
    std::array<float, 3> orthoZoom{};
};

// The default camera: looking steeply down on the wing at about three
// quarters from the front (leading edge towards the viewer), so that the
// suction plateau and the shock behind it show over the leading edge.
constexpr float kDefaultRotX = 65.0f;
constexpr float kDefaultRotY = 135.0f;

// Box of all four surfaces: the whole wing.
// An empty mesh, or one whose values are all NaN, gives a box at 0.
void computeBounds(const WingMesh& mesh, ViewFrame& frame);

// computeBounds, then the extents, centre, the camera's defaults and the
// fit. An extent that is 0 (a single section, a constant Cp, all stations
// at one x) takes the largest of the three, or 1 if all are 0, so that
// every size is positive.
void resetView(const WingMesh& mesh, ViewFrame& frame, Camera& camera);

// The projection of a paint on a width x height canvas: the orthographic box
// or the perspective's field of view, both fitting the frame's wing with a
// margin at the canvas's aspect ratio.
struct Projection {
    double left = -1, right = 1, bottom = -1, top = 1, zNear = -1, zFar = 1;  // orthographic
    double fovy = 30, aspect = 1, perspectiveNear = 0.01, perspectiveFar = 10;  // perspective, degrees
};
Projection projectionFor(const ViewFrame& frame, const Camera& camera, int width, int height);

// sin(45) with the argument in radians, as the mouse pan and zoom have
// always used it.
constexpr double panFactor = 0.8509035245341184;

enum class DragMode { Rotate, Pan, Zoom };

// One mouse drag step of dx, dy pixels (stored position minus the previous
// pointer position) on a width x height canvas.
void dragCamera(Camera& camera, const ViewFrame& frame, DragMode mode, int dx, int dy, int width, int height);

// One of the eight surface layers: which mesh table it shows and whether
// filled or as a grid. The view's "Grid" and "Fill" check buttons and their
// colours are numbered by control(): upper before lower, Cp init before
// Cp des, Grid before Fill.
struct MeshLayer {
    int number;  // 1 .. 8
    int surface;  // 0 upper, 1 lower
    bool design;  // false: cpInit, true: cpDes
    bool filled;  // filled polygons, else the grid lines
    int control() const { return surface * 4 + (design ? 2 : 0) + (filled ? 1 : 0); }
};

// Indexed by layer number - 1.
constexpr std::array<MeshLayer, 8> meshLayers{{
    {1, 0, false, true},
    {2, 1, false, true},
    {3, 0, true, true},
    {4, 1, true, true},
    {5, 0, false, false},
    {6, 1, false, false},
    {7, 0, true, false},
    {8, 1, true, false},
}};

// The order the view paints them in: each surface's fill, then its grid.
constexpr std::array<int, 8> layerPaintOrder{1, 5, 2, 6, 3, 7, 4, 8};

const Grid<double>& layerHeights(const WingMesh& mesh, const MeshLayer& layer);

struct Vec3f {
    float x = 0, y = 0, z = 0;
};

constexpr Vec3f straightUp{0.0f, 1.0f, 0.0f};

// Unit normal of the quad from P(j,k) with edges a = P(j,k) - P(j+1,k) and
// b = P(j,k+1) - P(j,k), that is a x b normalised; when a and b are parallel
// or either is empty, there is no such normal and the fallback is returned.
Vec3f quadNormal(const Vec3f& pjk, const Vec3f& pj1k, const Vec3f& pjk1, const Vec3f& fallback);


// One surface as arrays for OpenGL's vertex arrays: vertex (j, k) at index
// k * meshPoints + j, with its position, a unit normal (the mean of the
// normals of the quads around it, pointing up out of the surface) and the
// colour of its Cp on the colour scale.
struct SurfaceArrays {
    std::vector<float> position, normal;  // three per vertex
    std::vector<unsigned char> colour;     // red, green, blue per vertex
    double cpMin = 0.0, cpMax = 0.0;       // of the finite Cp values
};

// Range of the colour scale: the Cp of every vertex of the four surfaces.
struct CpRange {
    double lo = 0.0, hi = 0.0;
};
CpRange cpRangeOf(const WingMesh& mesh);

void buildSurfaceArrays(const WingMesh& mesh, const Grid<double>& heights, const CpRange& range,
                        SurfaceArrays& out);

// A triangle strip over the quads between every stride-th station and
// section, the last station and section always included.
std::vector<unsigned> triangleIndices(int points, int sections, int stride);
// The grid's lines (two indices each) through every pointStride-th station
// and sectionStride-th section, the last ones included.
std::vector<unsigned> gridLineIndices(int points, int sections, int pointStride, int sectionStride);

// Lines the grid draws at most in each direction: a denser grid hides the
// colours under it.
constexpr int kGridLinesMax = 60;

// The stride that keeps about budgetQuads quads of a points x sections mesh.
int strideForBudget(long long quads, long long budgetQuads);

}  // namespace quarvel

namespace quarvel {

// ---- Level of detail: what a paint of a pane of given pixels draws ----

// A drawn quad covers at least about this many pixels of the pane: finer
// quads would not show, yet cost as much.
constexpr long long kPixelsPerQuad = 12;

// The quads a width x height pane draws at most, all shown fills together.
long long quadBudget(int width, int height);

// The stations (wing point rows j) and sections the mesh holds, both
// increasing; the mesh row and column i is the wing's station stations[i]
// and section sections[i].
struct MeshDetail {
    std::vector<int> stations, sections;
    long long quads() const;
    bool operator==(const MeshDetail& o) const { return stations == o.stations && sections == o.sections; }
    bool operator!=(const MeshDetail& o) const { return !(*this == o); }
};

// Every station and section of a points x sections wing.
MeshDetail fullDetail(int points, int sections);

// Stations first .. last and sections firstSection .. lastSection through
// every stride-th one, the last always included, with one stride for both
// directions, the smallest that keeps the quads within budget.
MeshDetail sampleDetail(int firstStation, int lastStation, int firstSection, int lastSection, long long budget);

// The camera of a paint as one matrix (column-major, as OpenGL keeps it):
// the projection, the camera's zoom, pan and turn, and the frame's centre.
std::array<double, 16> sceneMatrix(const ViewFrame& frame, const Camera& camera, bool orthographic, int width,
                                   int height);

// The index rectangle of the wing a paint can show, found on a coarse grid
// of the wing's cells, each of them tried with a margin around it.
struct MeshWindow {
    int firstStation = 0, lastStation = -1, firstSection = 0, lastSection = -1;
    bool empty() const { return lastStation <= firstStation || lastSection <= firstSection; }
};
MeshWindow visibleWindow(const WingModel& wing, MeshLayout layout, const std::array<double, 16>& scene);

// What a paint of the wing on a width x height pane draws: the visible
// window, sampled to the pane's budget shared among the shown fills. Zoomed
// in far enough, the visible region comes at full detail.
MeshDetail chooseDetail(const WingModel& wing, MeshLayout layout, const ViewFrame& frame, const Camera& camera,
                        bool orthographic, int width, int height, int fills);

// The mesh of the wing at the given detail, sized for it.
void fillMesh(WingMesh& mesh, const WingModel& wing, MeshLayout layout, const MeshDetail& detail);

// Refills mesh columns first .. last from the wing (the sections they hold).
void fillMeshColumns(WingMesh& mesh, const WingModel& wing, MeshLayout layout, int first, int last);

// Updates the arrays of one surface for mesh columns first .. last: their
// positions and colours, and the normals of those columns and their
// neighbours, exactly as a full buildSurfaceArrays would leave them. The
// columns of vertices the update rewrote: *lo .. *hi.
void updateSurfaceColumns(const WingMesh& mesh, const Grid<double>& heights, const CpRange& range, int first,
                          int last, SurfaceArrays& out, int* lo, int* hi);

// One number per section that changes when anything the view shows of it
// does (its X and Cp along the contour, its chord, leading edge and span).
std::vector<unsigned long long> sectionDigests(const WingModel& wing);

// The range of the initial and design Cp of section k, over every point the
// mesh's stations stand for.
CpRange sectionCpRange(const WingModel& wing, int k);

}  // namespace quarvel
