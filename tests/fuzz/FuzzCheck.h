// What the fuzz targets share: stopping on a broken invariant, and the
// check that the CpOutput text of a wing reads back as CpInput.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/WingInvariants.h"
#include "wing/CpFiles.h"
#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"

namespace quarvel::fuzz {

// Reports the fault on stderr and aborts, which libFuzzer (and the corpus
// replay) takes as a crash with the input that caused it.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void requireSound(const std::string& fault, const char* when) {
    if (!fault.empty()) fail(std::string(when) + ": " + fault);
}

// The wing's CpOutput text as it stands must read back as a sound wing of
// the same size and title, with the same regime codes in its corrected
// sections and the same X, initial Cp and design Cp column wherever the
// number fits its columns; saved again, it writes the same text.
inline void requireReadsBack(const WingModel& w, const char* when) {
    const std::string text = formatCpOutput(w);
    FileError err;
    const auto back = parseCpInput(text, "written.cpd", &err);
    if (!back) fail(std::string(when) + ": the written file does not read back: " + err.message());
    requireSound(test::wingFault(*back), "written file read back");
    if (back->npt != w.npt || back->nsec != w.nsec || back->ITE1 != w.ITE1 || back->KTE1 != w.KTE1)
        fail(std::string(when) + ": the written file reads back with other counts");
    if (back->title != w.title) fail(std::string(when) + ": the title reads back as \"" + back->title + "\"");
    // A number that fits its columns comes back as printed, to 4 decimals.
    const auto same = [](double read, double written) {
        return std::fabs(written) >= 100.0 || read == parseDecimal(formatFixed(written, 4)).value;
    };
    for (int k = 0; k < w.nsec; ++k) {
        const std::string at = std::string(when) + ": section index " + std::to_string(k);
        if (w.secCorrection[k] == 2 && (back->RU[k] != w.RU[k] || back->RL[k] != w.RL[k]))
            fail(at + " reads back with other codes");
        for (int i = 0; i < 2 * w.nhalf; ++i) {
            if (!same(back->cpInit[i][k], w.cpInit[i][k]) || !same(back->cpdIn[i][k], w.cpdOut[i][k]))
                fail(at + ", contour index " + std::to_string(i) + ": a Cp reads back changed");
            if (!same(back->X[i][k], w.X[i][k])) fail(at + ", contour index " + std::to_string(i) + ": X changed");
        }
    }
    // Opened and saved again, a written file writes the same bytes, unless a
    // point is numbered 0 (the files read it as a default interval end) or
    // the editing made a design Cp or CYD wider than its column.
    bool fits = w.ITE1 > 0;
    for (int k = 0; k < w.nsec && fits; ++k) {
        fits = fitsOutputField(cpoutput::CYD, cydToWrite(w, k));
        for (int i = 0; i < 2 * w.nhalf && fits; ++i) fits = fitsOutputField(cpoutput::CPDU, w.cpdOut[i][k]);
    }
    WingModel again = *back;
    prepareOutput(again);
    if (fits && formatCpOutput(again) != text)
        fail(std::string(when) + ": the written file, opened and saved, changes");
}

// What every reader target checks of an open: a refusal names the file and
// a line within it; a wing is sound, prepared for output sound, and its
// CpOutput text reads back.
inline void requireOpenedSoundly(std::optional<WingModel>& wing, const FileError& err, const std::string& path,
                                 std::string_view bytes) {
    if (!wing) {
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n') + 1;
        if (err.what.empty() || err.path != path || err.line < 0 || err.line > lines)
            fail("a rejected file is reported as \"" + err.message() + "\"");
        return;
    }
    requireSound(test::wingFault(*wing), "file read");
    prepareOutput(*wing);
    requireSound(test::wingFault(*wing), "prepared for output");
    requireReadsBack(*wing, "file read");
}

}  // namespace quarvel::fuzz
