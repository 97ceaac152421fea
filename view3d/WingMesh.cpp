#include "view3d/WingMesh.h"

#include <algorithm>
#include <cmath>

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
    for (int k = 0; k < mesh.meshSections; ++k) {
        for (int j = 0; j < mesh.meshPoints; ++j) {
            const int upper = N + j, lower = N - 1 - j;
            const double x = wing.X[upper];
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
            const float y = float(mesh.meshUpperInit[j][k]);
            const float z = float(mesh.meshZ[j][k]);
            if (f.minX > x) f.minX = x;
            if (x > f.maxX) f.maxX = x;
            if (f.minY > y) f.minY = y;
            if (y > f.maxY) f.maxY = y;
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

void resetView(const WingMesh& mesh, ViewFrame& f, Camera& camera) {
    computeBounds(mesh, f);
    camera.orthoZoom = {0.5f, 0.5f, 0.5f};

    f.Lx = f.maxX - f.minX;
    f.Ly = f.maxY - f.minY;
    f.Lz = f.maxZ - f.minZ;
    float largest = std::max({f.Lx, f.Ly, f.Lz});
    if (!(largest > 0.0f) || !std::isfinite(largest)) largest = 1.0f;
    for (float* L : {&f.Lx, &f.Ly, &f.Lz})
        if (!(*L > kFlat * largest)) *L = largest;

    f.cx = (f.maxX + f.minX) / 2;
    f.cy = (f.maxY + f.minY) / 2;
    f.cz = (f.maxZ + f.minZ) / 2;

    camera.eyeDistance = (f.Lz - f.cz) + f.Lz;
    camera.panX = camera.panY = 0.0f;

    f.left = -f.Ly;
    f.right = f.Ly;
    f.bottom = -f.Ly;
    f.top = f.Ly;
    f.zNear = -f.Lz;
    f.zFar = f.Lz;

    camera.rotX = 30.0f;
    camera.rotY = 20.0f;
    camera.rotZ = 0.0f;
    f.fovy = 45.0f;
    f.aspect = float((f.right - f.left) / (f.top - f.bottom));
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

}  // namespace quarvel
