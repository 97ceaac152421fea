#include "wing/SectionSurface.h"

namespace quarvel {

std::vector<int> intervalIndices(const WingModel& w, int k, int s) {
    std::vector<int> indices;
    if (s == 0) {
        for (int p = w.u1[k]; p <= w.u2[k]; ++p) indices.push_back(p - 1);
    } else {
        for (int p = w.l2[k]; p >= w.l1[k]; --p) indices.push_back(p - 1);
    }
    return indices;
}

}  // namespace quarvel
