#include "view3d/MeshColours.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {

const Grid<double>& initialOf(const WingMesh& m, int surface) {
    return surface == 0 ? m.meshUpperInit : m.meshLowerInit;
}
const Grid<double>& designOf(const WingMesh& m, int surface) { return surface == 0 ? m.meshUpperDes : m.meshLowerDes; }

}  // namespace

double largestDeltaCp(const WingMesh& mesh) {
    double largest = 0.0;
    for (int surface = 0; surface < 2; ++surface)
        for (int k = 0; k < mesh.meshSections; ++k)
            for (int j = 0; j < mesh.meshPoints; ++j) {
                const double d = mesh.cpOf(designOf(mesh, surface)[j][k], k) -
                                 mesh.cpOf(initialOf(mesh, surface)[j][k], k);
                if (std::isfinite(d)) largest = std::max(largest, std::fabs(d));
            }
    return largest;
}

void surfaceColours(const WingMesh& mesh, int surface, ColourBy by, const CpRange& range, double deltaMax,
                    std::vector<unsigned char>& colour) {
    const int P = mesh.meshPoints, S = mesh.meshSections;
    colour.resize(3 * std::size_t(std::max(P, 0)) * std::size_t(std::max(S, 0)));
    const Grid<double>& initial = initialOf(mesh, surface);
    const Grid<double>& design = designOf(mesh, surface);
    for (int k = 0; k < S; ++k)
        for (int j = 0; j < P; ++j) {
            const double init = mesh.cpOf(initial[j][k], k), des = mesh.cpOf(design[j][k], k);
            Rgb8 c;
            switch (by) {
            case ColourBy::InitialCp: c = mapColour(cpScalePosition(init, range.lo, range.hi)); break;
            case ColourBy::DesignCp: c = mapColour(cpScalePosition(des, range.lo, range.hi)); break;
            case ColourBy::DeltaCp: c = divergingColour(deltaMax > 0.0 ? (des - init) / deltaMax : 0.0); break;
            }
            const std::size_t v = 3 * (std::size_t(k) * P + j);
            colour[v] = c.r;
            colour[v + 1] = c.g;
            colour[v + 2] = c.b;
        }
}

}  // namespace quarvel
