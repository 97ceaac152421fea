#include "correction/ImportRegimes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "correction/Smoothing.h"
#include "correction/SpanTools.h"
#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Chord positions this close are one station: a CpOutput keeps X to four
// decimals, so the X of the same station may differ by half the last of them.
constexpr double kSameStation = 0.5e-4 + 1e-12;

// Design Cp of surface s of section k at chord position x: the value of a
// point at the same station, else linear between the surface's points (by
// increasing X), the end values beyond them.
double surfaceCpAt(const WingModel& w, int k, int s, double x) {
    const int from = s == 0 ? w.nhalf : w.nhalf - 1;
    const int step = s == 0 ? 1 : -1;
    double xPrev = w.X[from][k], cpPrev = w.cpDes[from][k];
    if (x <= xPrev + kSameStation) return cpPrev;
    for (int r = 1; r < w.nhalf; ++r) {
        const int i = from + r * step;
        const double xi = w.X[i][k], cpi = w.cpDes[i][k];
        if (std::fabs(x - xi) <= kSameStation) return cpi;
        if (x <= xi) return xi > xPrev ? cpPrev + (cpi - cpPrev) * (x - xPrev) / (xi - xPrev) : cpi;
        xPrev = xi;
        cpPrev = cpi;
    }
    return cpPrev;
}

// The point of wing "to" with the file number of point "point" of wing "from".
int samePoint(const WingModel& to, const WingModel& from, int point) {
    return int(std::clamp<long long>((long long)point + from.ioff - to.ioff, 1, to.npt));
}

// The old file's interval values of section o, as it would write them: the
// files share their point numbers, and a 0 stays 0 while it names the same
// default end. Values that would name another interval here leave the
// numbers that takeSetUp wrote.
void carryIntervalValues(WingModel& w, int k, const WingModel& old, int o) {
    const std::array<int*, 4> out{&w.outIU1[k], &w.outIU2[k], &w.outIL1[k], &w.outIL2[k]};
    const std::array<int, 4> values{old.outIU1[o], old.outIU2[o], old.outIL1[o], old.outIL2[o]};
    for (int s = 0; s < 2; ++s) {
        const std::pair<int, int> interval = s == 0 ? std::pair{w.u1[k], w.u2[k]} : std::pair{w.l1[k], w.l2[k]};
        if (intervalNamed(w, s, values[2 * s], values[2 * s + 1]) != interval) continue;
        *out[2 * s] = values[2 * s];
        *out[2 * s + 1] = values[2 * s + 1];
    }
}

}  // namespace

ImportResult importRegimes(WingModel& w, const WingModel& old) {
    ImportResult result;
    for (int k = 0; k < w.nsec; ++k) {
        const long long number = (long long)w.KTE1 + k;
        const long long ko = number - old.KTE1;
        if (ko < 0 || ko >= old.nsec) {
            result.missing.push_back(int(number));
            continue;
        }
        const int o = int(ko);
        takeSetUp(w, k, old.secCorrection[o], old.surfMode[o], {old.RU[o], old.RL[o]}, samePoint(w, old, old.u1[o]),
                  samePoint(w, old, old.u2[o]), samePoint(w, old, old.l1[o]), samePoint(w, old, old.l2[o]));
        carryIntervalValues(w, k, old, o);
        for (int s = 0; s < 2; ++s) {
            if (!inCpEdition(w, k, s)) continue;
            for (int r = 0; r < w.nhalf; ++r) {
                const int i = s == 0 ? w.nhalf + r : r;
                w.cpDes[i][k] = w.cpInit[i][k];
            }
            for (int i : intervalIndices(w, k, s)) w.cpDes[i][k] = surfaceCpAt(old, o, s, w.X[i][k]);
        }
        result.sections.push_back(k);
    }
    return result;
}

std::optional<ImportResult> importRegimesFrom(WingModel& wing, const std::string& path, FileError* error) {
    const std::optional<WingModel> old = readCpInput(path, error);
    if (!old) return std::nullopt;
    return importRegimes(wing, *old);
}

std::string missingSectionsNote(const ImportResult& result, const std::string& oldPath) {
    if (result.missing.empty()) return {};
    const std::vector<int>& m = result.missing;
    std::string text = (m.size() == 1 ? "Section " : "Sections ") + numberRuns(m);
    const std::string name = oldPath.substr(oldPath.find_last_of('/') + 1);
    text += (result.missing.size() == 1 ? " is not in " : " are not in ") + name;
    text += result.missing.size() == 1 ? " and stays as it is." : " and stay as they are.";
    return text;
}

}  // namespace quarvel
