#include "view3d/WingMesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "view3d/ColourMap.h"

namespace quarvel {

namespace {

// Start values of the bounding-box search.
constexpr float kSeedMin = 1.0e6f;
constexpr float kSeedMax = -1.0e6f;

// An extent this small against the largest one counts as none.
constexpr float kFlat = 1.0e-6f;

}  // namespace

void allocateMesh(WingMesh& mesh, int points, int sections) {
    mesh.meshPoints = points;
    mesh.meshSections = sections;
    for (Grid<double>* g : {&mesh.meshX, &mesh.meshZ, &mesh.meshUpperInit, &mesh.meshLowerInit, &mesh.meshUpperDes,
                            &mesh.meshLowerDes})
        g->resize(points, sections);
    const MeshDetail all = fullDetail(points, sections);
    mesh.stations = all.stations;
    mesh.sections = all.sections;
}

double referenceChord(const std::vector<double>& B) {
    for (double b : B)
        if (b != 0.0 && std::isfinite(b)) return b;
    return 1.0;
}

void fillMesh(WingMesh& mesh, const WingModel& wing, MeshLayout layout) {
    fillMeshColumns(mesh, wing, layout, 0, mesh.meshSections - 1);
}

void fillMeshColumns(WingMesh& mesh, const WingModel& wing, MeshLayout layout, int first, int last) {
    const int N = wing.nhalf;
    const double c0 = referenceChord(wing.B);
    mesh.heightPerCp.resize(std::size_t(std::max(mesh.meshSections, 0)), 1.0);
    for (int c = std::max(first, 0); c <= last && c < mesh.meshSections; ++c) {
        const int k = mesh.sections[c];
        mesh.heightPerCp[c] = layout == MeshLayout::Planform ? wing.B[k] / c0 : 1.0;
        for (int r = 0; r < mesh.meshPoints; ++r) {
            const int j = mesh.stations[r];
            const int upper = N + j, lower = N - 1 - j;
            const double x = wing.X[upper][k];
            const double h[4] = {-wing.cpInit[upper][k], -wing.cpInit[lower][k], -wing.cpDes[upper][k],
                                 -wing.cpDes[lower][k]};
            double* out[4] = {&mesh.meshUpperInit[r][c], &mesh.meshLowerInit[r][c], &mesh.meshUpperDes[r][c],
                              &mesh.meshLowerDes[r][c]};
            if (layout == MeshLayout::Square) {
                mesh.meshX[r][c] = x;
                mesh.meshZ[r][c] = 2 * wing.ZREF[k];
                for (int s = 0; s < 4; ++s) *out[s] = h[s];
            } else {
                // Chord and Cp are scaled alike by the section's chord.
                const double ck = wing.B[k];
                mesh.meshX[r][c] = (x * ck + wing.XLE[k]) / c0;
                mesh.meshZ[r][c] = wing.Z[k] / c0;
                for (int s = 0; s < 4; ++s) *out[s] = h[s] * ck / c0;
            }
        }
    }
}

void computeBounds(const WingMesh& mesh, ViewFrame& f) {
    f.minX = f.minY = f.minZ = kSeedMin;
    f.maxX = f.maxY = f.maxZ = kSeedMax;
    for (int k = 0; k < mesh.meshSections; ++k) {
        for (int j = 0; j < mesh.meshPoints; ++j) {
            const float x = float(mesh.meshX[j][k]);
            const float z = float(mesh.meshZ[j][k]);
            for (const Grid<double>* g :
                 {&mesh.meshUpperInit, &mesh.meshLowerInit, &mesh.meshUpperDes, &mesh.meshLowerDes}) {
                const float y = float((*g)[j][k]);
                if (f.minY > y) f.minY = y;
                if (y > f.maxY) f.maxY = y;
            }
            if (f.minX > x) f.minX = x;
            if (x > f.maxX) f.maxX = x;
            if (f.minZ > z) f.minZ = z;
            if (z > f.maxZ) f.maxZ = z;
        }
    }
    // A side that no vertex reached would otherwise span -1e6 .. 1e6 the
    // wrong way round.
    auto collapse = [](float& lo, float& hi) {
        if (!(hi >= lo)) lo = hi = 0.0f;
    };
    collapse(f.minX, f.maxX);
    collapse(f.minY, f.maxY);
    collapse(f.minZ, f.maxZ);
}

namespace {

// A point of the mesh, relative to the frame's centre, as the camera's
// rotation turns it (the order of glRotate: x, then y, then z).
void rotate(const Camera& c, double (&p)[3]) {
    const double deg = 3.14159265358979323846 / 180.0;
    auto turn = [](double& a, double& b, double angle) {
        const double ca = std::cos(angle), sa = std::sin(angle);
        const double na = a * ca - b * sa, nb = a * sa + b * ca;
        a = na;
        b = nb;
    };
    turn(p[0], p[1], c.rotZ * deg);   // about z: x, y
    turn(p[2], p[0], c.rotY * deg);   // about y: z, x
    turn(p[1], p[2], c.rotX * deg);   // about x: y, z
}

// The perspective's default field: the box fills about this half angle.
constexpr double kDefaultHalfFov = 15.0 * 3.14159265358979323846 / 180.0;
// Room around the fitted wing.
constexpr double kMargin = 1.06;

}  // namespace

void resetView(const WingMesh& mesh, ViewFrame& f, Camera& camera) {
    computeBounds(mesh, f);
    camera.orthoZoom = {1.0f, 1.0f, 1.0f};

    const float trueLx = f.maxX - f.minX, trueLy = f.maxY - f.minY, trueLz = f.maxZ - f.minZ;
    f.Lx = trueLx;
    f.Ly = trueLy;
    f.Lz = trueLz;
    float largest = std::max({f.Lx, f.Ly, f.Lz});
    if (!(largest > 0.0f) || !std::isfinite(largest)) largest = 1.0f;
    for (float* L : {&f.Lx, &f.Ly, &f.Lz})
        if (!(*L > kFlat * largest)) *L = largest;

    f.cx = (f.maxX + f.minX) / 2;
    f.cy = (f.maxY + f.minY) / 2;
    f.cz = (f.maxZ + f.minZ) / 2;
    f.radius = 0.5f * std::sqrt(trueLx * trueLx + trueLy * trueLy + trueLz * trueLz);
    if (!(f.radius > kFlat * largest) || !std::isfinite(f.radius)) f.radius = 0.5f * largest;

    camera.panX = camera.panY = 0.0f;
    camera.rotX = kDefaultRotX;
    camera.rotY = kDefaultRotY;
    camera.rotZ = 0.0f;
    camera.eyeDistance = float(f.radius / std::sin(kDefaultHalfFov));

    // The eight corners as the default camera sees them.
    f.fitHalfWidth = f.fitHalfHeight = 0.0;
    f.fitTanX = f.fitTanY = 0.0;
    const double half[3] = {trueLx / 2.0, trueLy / 2.0, trueLz / 2.0};
    for (int corner = 0; corner < 8; ++corner) {
        double p[3];
        for (int i = 0; i < 3; ++i) p[i] = (corner >> i & 1) ? half[i] : -half[i];
        rotate(camera, p);
        const double depth = camera.eyeDistance - p[2];
        f.fitHalfWidth = std::max(f.fitHalfWidth, std::fabs(p[0]));
        f.fitHalfHeight = std::max(f.fitHalfHeight, std::fabs(p[1]));
        f.fitTanX = std::max(f.fitTanX, std::fabs(p[0]) / depth);
        f.fitTanY = std::max(f.fitTanY, std::fabs(p[1]) / depth);
    }
    // A wing seen edge on still gets a field of some size.
    const double least = 0.05 * f.radius;
    f.fitHalfWidth = std::max(f.fitHalfWidth, least);
    f.fitHalfHeight = std::max(f.fitHalfHeight, least);
    f.fitTanX = std::max(f.fitTanX, least / camera.eyeDistance);
    f.fitTanY = std::max(f.fitTanY, least / camera.eyeDistance);
}

Projection projectionFor(const ViewFrame& f, const Camera& camera, int width, int height) {
    Projection p;
    const double aspect = double(std::max(width, 1)) / double(std::max(height, 1));
    const double h = kMargin * std::max(f.fitHalfHeight, f.fitHalfWidth / aspect);
    p.left = -h * aspect;
    p.right = h * aspect;
    p.bottom = -h;
    p.top = h;
    p.zNear = -100.0 * f.radius;
    p.zFar = 100.0 * f.radius;
    const double t = kMargin * std::max(f.fitTanY, f.fitTanX / aspect);
    p.fovy = 2.0 * std::atan(t) * 180.0 / 3.14159265358979323846;
    p.aspect = aspect;
    p.perspectiveNear = 0.01 * f.radius;
    p.perspectiveFar = std::max(double(camera.eyeDistance), 0.0) + 4.0 * f.radius;
    return p;
}

void dragCamera(Camera& camera, const ViewFrame& frame, DragMode mode, int dx, int dy, int width, int height) {
    const float fx = float(dx) / float(std::max(width, 1));
    const float fy = float(dy) / float(std::max(height, 1));
    const float sx = float(0.5 * panFactor * fx * frame.Lx);
    const float sy = float(0.5 * panFactor * fy * frame.Lx);
    switch (mode) {
        case DragMode::Zoom: {
            const float f = 1.0f - (fy - fx);
            for (float& z : camera.orthoZoom) z *= f;
            camera.eyeDistance += 100.0f * (sx + sy);
            break;
        }
        case DragMode::Pan:
            camera.panX += 10.0f * sx;
            camera.panY -= 10.0f * sy;
            break;
        case DragMode::Rotate:
            camera.rotY -= float(dx) / 3.0f;
            camera.rotX -= float(dy) / 3.0f;
            break;
    }
}

const Grid<double>& layerHeights(const WingMesh& mesh, const MeshLayer& layer) {
    if (layer.surface == 0) return layer.design ? mesh.meshUpperDes : mesh.meshUpperInit;
    return layer.design ? mesh.meshLowerDes : mesh.meshLowerInit;
}

Vec3f quadNormal(const Vec3f& pjk, const Vec3f& pj1k, const Vec3f& pjk1, const Vec3f& fallback) {
    const double ax = double(pjk.x) - pj1k.x, ay = double(pjk.y) - pj1k.y, az = double(pjk.z) - pj1k.z;
    const double bx = double(pjk1.x) - pjk.x, by = double(pjk1.y) - pjk.y, bz = double(pjk1.z) - pjk.z;
    const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double edges = std::sqrt(ax * ax + ay * ay + az * az) * std::sqrt(bx * bx + by * by + bz * bz);
    // Parallel edges leave only rounding noise in the cross product; a NaN
    // fails the comparison too.
    if (!(len > 1.0e-9 * edges) || !std::isfinite(len)) return fallback;
    return Vec3f{float(nx / len), float(ny / len), float(nz / len)};
}

CpRange cpRangeOf(const WingMesh& mesh) {
    CpRange r{HUGE_VAL, -HUGE_VAL};
    for (const Grid<double>* g : {&mesh.meshUpperInit, &mesh.meshLowerInit, &mesh.meshUpperDes, &mesh.meshLowerDes})
        for (int k = 0; k < mesh.meshSections; ++k)
            for (int j = 0; j < mesh.meshPoints; ++j) {
                const double cp = mesh.cpOf((*g)[j][k], k);
                if (!std::isfinite(cp)) continue;
                r.lo = std::min(r.lo, cp);
                r.hi = std::max(r.hi, cp);
            }
    if (!(r.hi >= r.lo)) r.lo = r.hi = 0.0;
    return r;
}

void buildSurfaceArrays(const WingMesh& mesh, const Grid<double>& heights, const CpRange& range,
                        SurfaceArrays& out) {
    const int P = mesh.meshPoints, S = mesh.meshSections;
    const std::size_t n = std::size_t(std::max(P, 0)) * std::size_t(std::max(S, 0));
    out.position.resize(3 * n);
    out.normal.resize(3 * n);
    out.colour.resize(3 * n);
    int lo = 0, hi = 0;
    updateSurfaceColumns(mesh, heights, range, 0, S - 1, out, &lo, &hi);
}

void updateSurfaceColumns(const WingMesh& mesh, const Grid<double>& heights, const CpRange& range, int first,
                          int last, SurfaceArrays& out, int* lo, int* hi) {
    const int P = mesh.meshPoints, S = mesh.meshSections;
    first = std::max(first, 0);
    last = std::min(last, S - 1);
    *lo = 0;
    *hi = -1;
    if (first > last || P <= 0) return;
    for (int k = first; k <= last; ++k)
        for (int j = 0; j < P; ++j) {
            const std::size_t v = 3 * (std::size_t(k) * P + j);
            out.position[v] = float(mesh.meshX[j][k]);
            out.position[v + 1] = float(heights[j][k]);
            out.position[v + 2] = float(mesh.meshZ[j][k]);
            const Rgb8 c = mapColour(cpScalePosition(mesh.cpOf(heights[j][k], k), range.lo, range.hi));
            out.colour[v] = c.r;
            out.colour[v + 1] = c.g;
            out.colour[v + 2] = c.b;
        }
    // The normals of the columns beside the changed ones change too.
    const int n0 = std::max(first - 1, 0), n1 = std::min(last + 1, S - 1);
    std::fill(out.normal.begin() + 3 * std::size_t(n0) * P, out.normal.begin() + 3 * (std::size_t(n1) + 1) * P,
              0.0f);
    // Each quad's normal goes to its four corners, in the same order for
    // every vertex however many columns are updated.
    auto at = [&](int j, int k) {
        const float* p = &out.position[3 * (std::size_t(k) * P + j)];
        return Vec3f{p[0], p[1], p[2]};
    };
    for (int k = std::max(n0 - 1, 0); k <= n1 && k + 1 < S; ++k)
        for (int j = 0; j + 1 < P; ++j) {
            const Vec3f n = quadNormal(at(j, k), at(j + 1, k), at(j, k + 1), Vec3f{0, 0, 0});
            for (int corner = 0; corner < 4; ++corner) {
                const int kc = k + corner / 2;
                if (kc < n0 || kc > n1) continue;
                float* d = &out.normal[3 * (std::size_t(kc) * P + j + corner % 2)];
                d[0] += n.x;
                d[1] += n.y;
                d[2] += n.z;
            }
        }
    for (std::size_t v = std::size_t(n0) * P; v < (std::size_t(n1) + 1) * P; ++v) {
        float* d = &out.normal[3 * v];
        const float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (len > 0.0f && std::isfinite(len)) {
            d[0] /= len;
            d[1] /= len;
            d[2] /= len;
        } else {
            d[0] = straightUp.x;
            d[1] = straightUp.y;
            d[2] = straightUp.z;
        }
    }
    *lo = n0;
    *hi = n1;
}

namespace {

// 0, stride, 2 stride, ..., and the last index.
std::vector<int> every(int count, int stride) {
    std::vector<int> v;
    for (int i = 0; i < count; i += std::max(stride, 1)) v.push_back(i);
    if (count > 0 && v.back() != count - 1) v.push_back(count - 1);
    return v;
}

}  // namespace

std::vector<unsigned> triangleIndices(int points, int sections, int stride) {
    std::vector<unsigned> out;
    const std::vector<int> js = every(points, stride), ks = every(sections, stride);
    if (js.size() < 2) return out;
    out.reserve((2 * js.size() + 2) * ks.size());
    // One strip per band of sections, joined to the next by repeating its
    // last and the next one's first index (triangles without area).
    for (std::size_t b = 0; b + 1 < ks.size(); ++b) {
        if (b > 0) {
            out.push_back(out.back());
            out.push_back(unsigned(ks[b] * points + js[0]));
        }
        for (int j : js) {
            out.push_back(unsigned(ks[b] * points + j));
            out.push_back(unsigned(ks[b + 1] * points + j));
        }
    }
    return out;
}

std::vector<unsigned> gridLineIndices(int points, int sections, int pointStride, int sectionStride) {
    std::vector<unsigned> out;
    const std::vector<int> js = every(points, pointStride), ks = every(sections, sectionStride);
    for (int k : ks)
        for (std::size_t a = 0; a + 1 < js.size(); ++a) {
            out.push_back(unsigned(k * points + js[a]));
            out.push_back(unsigned(k * points + js[a + 1]));
        }
    for (int j : js)
        for (std::size_t b = 0; b + 1 < ks.size(); ++b) {
            out.push_back(unsigned(ks[b] * points + j));
            out.push_back(unsigned(ks[b + 1] * points + j));
        }
    return out;
}

int strideForBudget(long long quads, long long budgetQuads) {
    if (quads <= budgetQuads || budgetQuads <= 0) return 1;
    return int(std::ceil(std::sqrt(double(quads) / double(budgetQuads))));
}

}  // namespace quarvel

namespace quarvel {

long long quadBudget(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return std::max(1LL, (long long)width * height / kPixelsPerQuad);
}

long long MeshDetail::quads() const {
    if (stations.size() < 2 || sections.size() < 2) return 0;
    return (long long)(stations.size() - 1) * (long long)(sections.size() - 1);
}

namespace {

// first, first + stride, ..., and last.
std::vector<int> span(int first, int last, int stride) {
    std::vector<int> v;
    for (int i = first; i <= last; i += std::max(stride, 1)) v.push_back(i);
    if (!v.empty() && v.back() != last) v.push_back(last);
    return v;
}

// The quads of a span pair without building them.
long long quadsOf(int first, int last, int firstSection, int lastSection, int stride) {
    auto count = [&](int a, int b) { return b < a ? 0LL : (long long)((b - a + stride - 1) / stride) + 1; };
    const long long p = count(first, last), s = count(firstSection, lastSection);
    return p < 2 || s < 2 ? 0 : (p - 1) * (s - 1);
}

}  // namespace

MeshDetail fullDetail(int points, int sections) { return sampleDetail(0, points - 1, 0, sections - 1, -1); }

MeshDetail sampleDetail(int firstStation, int lastStation, int firstSection, int lastSection, long long budget) {
    int stride = 1;
    if (budget >= 0) {
        const long long all = quadsOf(firstStation, lastStation, firstSection, lastSection, 1);
        stride = strideForBudget(all, std::max(budget, 1LL));
        // The last station and section ride along with every stride.
        while (quadsOf(firstStation, lastStation, firstSection, lastSection, stride) > budget &&
               stride <= std::max(lastStation - firstStation, lastSection - firstSection))
            ++stride;
    }
    MeshDetail d;
    d.stations = span(firstStation, lastStation, stride);
    d.sections = span(firstSection, lastSection, stride);
    if (quadsOf(firstStation, lastStation, firstSection, lastSection, stride) > std::max(budget, 0LL) && budget >= 0) {
        // Not even one quad fits: draw nothing.
        d.stations.clear();
        d.sections.clear();
    }
    return d;
}

namespace {

using Matrix = std::array<double, 16>;

Matrix identity() {
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

// a * b, column-major.
Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double v = 0.0;
            for (int i = 0; i < 4; ++i) v += a[i * 4 + r] * b[c * 4 + i];
            m[c * 4 + r] = v;
        }
    return m;
}

Matrix translation(double x, double y, double z) {
    Matrix m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix scaling(double x, double y, double z) {
    Matrix m = identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

// As glRotate about one of the axes (0 x, 1 y, 2 z), degrees.
Matrix rotation(double degrees, int axis) {
    const double a = degrees * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
    Matrix m = identity();
    const int p = (axis + 1) % 3, q = (axis + 2) % 3;
    m[p * 4 + p] = c;
    m[q * 4 + q] = c;
    m[p * 4 + q] = s;
    m[q * 4 + p] = -s;
    return m;
}

}  // namespace

std::array<double, 16> sceneMatrix(const ViewFrame& frame, const Camera& camera, bool orthographic, int width,
                                   int height) {
    const Projection p = projectionFor(frame, camera, width, height);
    Matrix m{};
    if (orthographic) {
        m[0] = 2.0 / (p.right - p.left);
        m[5] = 2.0 / (p.top - p.bottom);
        m[10] = -2.0 / (p.zFar - p.zNear);
        m[12] = -(p.right + p.left) / (p.right - p.left);
        m[13] = -(p.top + p.bottom) / (p.top - p.bottom);
        m[14] = -(p.zFar + p.zNear) / (p.zFar - p.zNear);
        m[15] = 1.0;
        m = m * scaling(camera.orthoZoom[0], camera.orthoZoom[1], camera.orthoZoom[2]) *
            translation(-camera.panX, -camera.panY, 0.0);
    } else {
        const double f = 1.0 / std::tan(p.fovy * 3.14159265358979323846 / 360.0);
        m[0] = f / p.aspect;
        m[5] = f;
        m[10] = (p.perspectiveFar + p.perspectiveNear) / (p.perspectiveNear - p.perspectiveFar);
        m[11] = -1.0;
        m[14] = 2.0 * p.perspectiveFar * p.perspectiveNear / (p.perspectiveNear - p.perspectiveFar);
        m = m * translation(-camera.panX, -camera.panY, -camera.eyeDistance);
    }
    return m * rotation(camera.rotX, 0) * rotation(camera.rotY, 1) * rotation(camera.rotZ, 2) *
           translation(-frame.cx, -frame.cy, -frame.cz);
}

namespace {

// Cells of the coarse grid the visible window is found on, per direction.
constexpr int kVisibilityCells = 64;

}  // namespace

MeshWindow visibleWindow(const WingModel& wing, MeshLayout layout, const std::array<double, 16>& scene) {
    MeshWindow w;
    const int P = wing.nhalf, S = wing.nsec;
    if (P < 2 || S < 2) return w;
    const std::vector<int> js = span(0, P - 1, std::max(1, (P - 1 + kVisibilityCells - 1) / kVisibilityCells));
    const std::vector<int> ks = span(0, S - 1, std::max(1, (S - 1 + kVisibilityCells - 1) / kVisibilityCells));
    // The coarse mesh on the screen: per point the box of its four heights.
    WingMesh coarse;
    coarse.meshPoints = int(js.size());
    coarse.meshSections = int(ks.size());
    for (Grid<double>* g : {&coarse.meshX, &coarse.meshZ, &coarse.meshUpperInit, &coarse.meshLowerInit,
                            &coarse.meshUpperDes, &coarse.meshLowerDes})
        g->resize(coarse.meshPoints, coarse.meshSections);
    coarse.stations = js;
    coarse.sections = ks;
    fillMesh(coarse, wing, layout);
    struct Box {
        double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
        bool behind = false;
        void add(const Box& b) {
            x0 = std::min(x0, b.x0), x1 = std::max(x1, b.x1), y0 = std::min(y0, b.y0), y1 = std::max(y1, b.y1);
            behind = behind || b.behind;
        }
    };
    const int CP = coarse.meshPoints, CS = coarse.meshSections;
    // Per point and surface, where it lands on the screen.
    std::vector<Box> at(std::size_t(CP) * CS * 4);
    const Grid<double>* surfaces[4] = {&coarse.meshUpperInit, &coarse.meshLowerInit, &coarse.meshUpperDes,
                                       &coarse.meshLowerDes};
    for (int c = 0; c < CS; ++c)
        for (int r = 0; r < CP; ++r)
            for (int s = 0; s < 4; ++s) {
                Box& b = at[(std::size_t(c) * CP + r) * 4 + s];
                const double p[3] = {coarse.meshX[r][c], (*surfaces[s])[r][c], coarse.meshZ[r][c]};
                double clip[4];
                for (int i = 0; i < 4; ++i)
                    clip[i] = scene[i] * p[0] + scene[4 + i] * p[1] + scene[8 + i] * p[2] + scene[12 + i];
                if (!(clip[3] > 1e-12) || !std::isfinite(clip[0] + clip[1])) {
                    // At or behind the eye: counted as seen; not a number: never.
                    b.behind = std::isfinite(p[0] + p[1] + p[2]);
                    continue;
                }
                b.x0 = b.x1 = clip[0] / clip[3];
                b.y0 = b.y1 = clip[1] / clip[3];
            }
    int r0 = CP, r1 = -1, c0 = CS, c1 = -1;
    for (int c = 0; c + 1 < CS; ++c)
        for (int r = 0; r + 1 < CP; ++r) {
            bool seen = false;
            for (int s = 0; s < 4 && !seen; ++s) {
                Box cell;
                for (int corner = 0; corner < 4; ++corner)
                    cell.add(at[(std::size_t(c + corner / 2) * CP + r + corner % 2) * 4 + s]);
                seen = cell.behind;
                if (!seen && cell.x1 >= cell.x0) {
                    // A cell bulges between its corners: a margin of half its size.
                    const double mx = 0.5 * (cell.x1 - cell.x0), my = 0.5 * (cell.y1 - cell.y0);
                    seen = cell.x0 - mx <= 1.0 && cell.x1 + mx >= -1.0 && cell.y0 - my <= 1.0 && cell.y1 + my >= -1.0;
                }
            }
            if (!seen) continue;
            r0 = std::min(r0, r), r1 = std::max(r1, r + 1), c0 = std::min(c0, c), c1 = std::max(c1, c + 1);
        }
    if (r1 < 0) return w;
    w.firstStation = js[r0];
    w.lastStation = js[r1];
    w.firstSection = ks[c0];
    w.lastSection = ks[c1];
    return w;
}

MeshDetail chooseDetail(const WingModel& wing, MeshLayout layout, const ViewFrame& frame, const Camera& camera,
                        bool orthographic, int width, int height, int fills) {
    const MeshWindow w = visibleWindow(wing, layout, sceneMatrix(frame, camera, orthographic, width, height));
    if (w.empty()) return MeshDetail{};
    return sampleDetail(w.firstStation, w.lastStation, w.firstSection, w.lastSection,
                        quadBudget(width, height) / std::max(fills, 1));
}

void fillMesh(WingMesh& mesh, const WingModel& wing, MeshLayout layout, const MeshDetail& detail) {
    const int P = int(detail.stations.size()), S = int(detail.sections.size());
    mesh.meshPoints = P;
    mesh.meshSections = S;
    for (Grid<double>* g : {&mesh.meshX, &mesh.meshZ, &mesh.meshUpperInit, &mesh.meshLowerInit, &mesh.meshUpperDes,
                            &mesh.meshLowerDes})
        if (g->rows() != P || g->cols() != S) g->resize(P, S);
    mesh.stations = detail.stations;
    mesh.sections = detail.sections;
    fillMesh(mesh, wing, layout);
}

std::vector<unsigned long long> sectionDigests(const WingModel& wing) {
    std::vector<unsigned long long> out(std::size_t(std::max(wing.nsec, 0)));
    const int rows = 2 * std::max(wing.nhalf, 0);
    auto mix = [](unsigned long long h, double v) {
        unsigned long long bits;
        std::memcpy(&bits, &v, sizeof bits);
        return (h ^ bits) * 0x100000001b3ULL;
    };
    for (int k = 0; k < wing.nsec; ++k) {
        unsigned long long h = 0xcbf29ce484222325ULL;
        for (const Grid<double>* g : {&wing.X, &wing.cpInit, &wing.cpDes}) {
            const double* col = g->column(k);
            for (int i = 0; i < rows; ++i) h = mix(h, col[i]);
        }
        for (double v : {wing.B[k], wing.XLE[k], wing.Z[k], wing.ZREF[k]}) h = mix(h, v);
        out[std::size_t(k)] = h;
    }
    return out;
}

CpRange sectionCpRange(const WingModel& wing, int k) {
    CpRange r{HUGE_VAL, -HUGE_VAL};
    const int rows = 2 * std::max(wing.nhalf, 0);
    for (const Grid<double>* g : {&wing.cpInit, &wing.cpDes}) {
        const double* col = g->column(k);
        for (int i = 0; i < rows; ++i)
            if (std::isfinite(col[i])) r.lo = std::min(r.lo, col[i]), r.hi = std::max(r.hi, col[i]);
    }
    return r;
}

}  // namespace quarvel
