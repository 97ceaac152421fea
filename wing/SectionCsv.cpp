#include "wing/SectionCsv.h"

#include "wing/Numbers.h"

namespace quarvel {

std::string formatSectionCsv(const WingModel& w, int k) {
    if (k < 0 || k >= w.nsec) return {};
    std::string out = "X,Cp initial upper,Cp design upper,Cp initial lower,Cp design lower\n";
    for (int r = 0; r < w.nhalf; ++r) {
        const int iu = w.nhalf + r;
        const int il = w.nhalf - 1 - r;
        for (double v : {w.X[iu][k], w.cpInit[iu][k], w.cpDes[iu][k], w.cpInit[il][k], w.cpDes[il][k]}) {
            appendFixed(out, v, 6);
            out += ',';
        }
        out.back() = '\n';
    }
    return out;
}

}  // namespace quarvel
