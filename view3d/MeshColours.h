// What the fills of the 3D view are coloured by: the initial Cp, the design
// Cp, or the change the design makes (design minus initial Cp) on a
// diverging map centred on no change.
#pragma once

#include <vector>

#include "view3d/ColourMap.h"
#include "view3d/WingMesh.h"

namespace quarvel {

enum class ColourBy { InitialCp, DesignCp, DeltaCp };

// The largest |design - initial Cp| over the vertices of both surfaces
// (finite values only); 0 when the design changes nothing.
double largestDeltaCp(const WingMesh& mesh);

// The colour of every vertex (j, k) of a surface (0 upper, 1 lower) at
// 3 * (k * meshPoints + j): its initial or design Cp on the Cp scale of
// range, or its change on the diverging map, deltaMax at either end. The
// same for both of the surface's layers, so that the initial and the
// design surface of one point take one colour.
void surfaceColours(const WingMesh& mesh, int surface, ColourBy by, const CpRange& range, double deltaMax,
                    std::vector<unsigned char>& colour);

}  // namespace quarvel
