#include "view3d/WingMesh.h"

#include <algorithm>
#include <cmath>

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
}

double referenceChord(const std::vector<double>& B) {
    for (double b : B)
        if (b != 0.0 && std::isfinite(b)) return b;
    return 1.0;
}

void fillMesh(WingMesh& mesh, const WingModel& wing, MeshLayout layout) {
    const int N = wing.nhalf;
    const double c0 = referenceChord(wing.B);
    mesh.heightPerCp.assign(std::size_t(std::max(mesh.meshSections, 0)), 1.0);
    if (layout == MeshLayout::Planform)
        for (int k = 0; k < mesh.meshSections; ++k) mesh.heightPerCp[k] = wing.B[k] / c0;
    for (int k = 0; k < mesh.meshSections; ++k) {
        for (int j = 0; j < mesh.meshPoints; ++j) {
            const int upper = N + j, lower = N - 1 - j;
            const double x = wing.X[upper][k];
            const double h[4] = {-wing.cpInit[upper][k], -wing.cpInit[lower][k], -wing.cpDes[upper][k],
                                 -wing.cpDes[lower][k]};
            double* out[4] = {&mesh.meshUpperInit[j][k], &mesh.meshLowerInit[j][k], &mesh.meshUpperDes[j][k],
                              &mesh.meshLowerDes[j][k]};
            if (layout == MeshLayout::Square) {
                mesh.meshX[j][k] = x;
                mesh.meshZ[j][k] = 2 * wing.ZREF[k];
                for (int s = 0; s < 4; ++s) *out[s] = h[s];
            } else {
                // Chord and Cp are scaled alike by the section's chord.
                const double ck = wing.B[k];
                mesh.meshX[j][k] = (x * ck + wing.XLE[k]) / c0;
                mesh.meshZ[j][k] = wing.Z[k] / c0;
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
    out.normal.assign(3 * n, 0.0f);
    out.colour.resize(3 * n);
    for (int k = 0; k < S; ++k)
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
    // Each quad's normal goes to its four corners.
    auto at = [&](int j, int k) {
        const float* p = &out.position[3 * (std::size_t(k) * P + j)];
        return Vec3f{p[0], p[1], p[2]};
    };
    for (int k = 0; k + 1 < S; ++k)
        for (int j = 0; j + 1 < P; ++j) {
            const Vec3f n = quadNormal(at(j, k), at(j + 1, k), at(j, k + 1), Vec3f{0, 0, 0});
            for (int corner = 0; corner < 4; ++corner) {
                float* d = &out.normal[3 * (std::size_t(k + corner / 2) * P + j + corner % 2)];
                d[0] += n.x;
                d[1] += n.y;
                d[2] += n.z;
            }
        }
    for (std::size_t v = 0; v < n; ++v) {
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
