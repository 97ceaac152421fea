// The CpOutput writer: the prepare step and the fixed-column text.
#include <cstdint>
#include <cstring>
#include <functional>

#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"
#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"
#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

// An interval end as written: the file's point number of the 1-based point,
// or the 0 the file gave when it still stands for the same default point.
int writtenIntervalEnd(const WingModel& w, int written, int point, int defaultPoint) {
    if (written == 0 && point == defaultPoint) return 0;
    return w.ioff + point;
}

// Code, output interval values and design Cp column of surface s of section
// k. A surface as the file gave it writes them as read; any other writes
// its regime's code and, inside the interval of a "Cp edition", its design Cp.
void prepareSurface(WingModel& w, int k, int s) {
    const int lo = firstPointOf(w, s) - 1, hi = lastPointOf(w, s) - 1;
    int& code = s == 0 ? w.RU[k] : w.RL[k];
    int& outStart = s == 0 ? w.outIU1[k] : w.outIL1[k];
    int& outEnd = s == 0 ? w.outIU2[k] : w.outIL2[k];
    if (surfaceAsRead(w, k, s)) {
        code = s == 0 ? w.fileRU[k] : w.fileRL[k];
        outStart = s == 0 ? w.IU1[k] : w.IL1[k];
        outEnd = s == 0 ? w.IU2[k] : w.IL2[k];
        for (int i = lo; i <= hi; ++i) w.cpdOut[i][k] = w.cpdIn[i][k];
        return;
    }
    const int mode = w.surfMode[k][s];
    const int start = s == 0 ? w.u1[k] : w.l1[k];
    const int end = s == 0 ? w.u2[k] : w.l2[k];
    code = codeOfMode(mode);
    // Both Cp corrections keep their interval, so that a "Cp interpolation"
    // surface reads back with the interval it was given. Values that still
    // name the interval are written as they are (reversed, or beyond the
    // surface, as a file gave them).
    const bool bothZero = outStart == 0 && outEnd == 0;
    if ((mode == MODE_CP_EDITION || mode == MODE_CP_INTERP) &&
        (bothZero || intervalNamed(w, s, outStart, outEnd) != std::pair{start, end})) {
        outStart = writtenIntervalEnd(w, outStart, start, s == 0 ? w.u1Min : w.l1Min);
        outEnd = writtenIntervalEnd(w, outEnd, end, s == 0 ? w.u2Max : w.l2Max);
        // Two zeros would read back as no interval at all.
        if (outStart == 0 && outEnd == 0) {
            outStart = w.ioff + start;
            outEnd = w.ioff + end;
        }
    }
    for (int i = lo; i <= hi; ++i)
        w.cpdOut[i][k] = mode == MODE_CP_EDITION && start - 1 <= i && i <= end - 1 ? w.cpDes[i][k] : 0.0;
}

// One output line at a time, in a buffer reused for every line.
class LineWriter {
public:
    explicit LineWriter(std::string& out) : out_(out) {}

    void begin(std::string_view text) { line_.assign(text); }
    void blank(std::size_t width) { line_.assign(width, ' '); }

    // Writes the text over the line from the 1-based column on, lengthening it.
    void overwrite(int column, std::string_view text) {
        const std::size_t pos = std::size_t(column - 1);
        if (line_.size() < pos + text.size()) line_.resize(pos + text.size(), ' ');
        std::memcpy(&line_[pos], text.data(), text.size());
    }
    // Inserts the text before the 1-based column, pushing the rest right.
    void insert(int column, std::string_view text) {
        const std::size_t pos = std::size_t(column - 1);
        if (line_.size() < pos) line_.resize(pos, ' ');
        line_.insert(pos, text);
    }
    void overwrite(int column, double value, int precision) { overwrite(column, number(value, precision)); }
    // The same, cut before column nextField, where the reader's next field on
    // the line starts: a number too long for the format loses its tail
    // rather than run into the value read after it.
    void overwrite(int column, std::string_view text, int nextField) {
        overwrite(column, text.substr(0, std::size_t(nextField - column)));
    }
    void overwrite(int column, double value, int precision, int nextField) {
        overwrite(column, number(value, precision), nextField);
    }
    void overwrite(const OutputField& field, double value, int nextField) {
        overwrite(field.column, value, field.precision, nextField);
    }
    void overwrite(const OutputField& field, double value) { overwrite(field.column, value, field.precision); }

    // Integers go through single precision before they are printed.
    std::string_view integer(std::int64_t value, int precision) {
        return number(double(float(value)), precision);
    }
    std::string_view number(double value, int precision) {
        num_.clear();
        appendFixed(num_, value, precision);
        return num_;
    }

    void end() {
        out_.append(line_);
        out_.append(" \n", 2);
    }

private:
    std::string& out_;
    std::string line_;
    std::string num_;
};

// A section or point number, right-aligned to end at column last when its
// text is minLen to maxLen characters long; otherwise the column stays blank.
void putRightAligned(LineWriter& lw, std::string_view text, int last, std::size_t minLen, std::size_t maxLen) {
    if (text.size() >= minLen && text.size() <= maxLen) lw.overwrite(last - int(text.size()) + 1, text);
}

// A point row whose numbers all fit their fields, written straight into the
// output: the same text as the overwrite rules give, without a line buffer.
// Returns false, writing nothing, when a number needs the general rules.
bool appendPointRow(std::string& out, const WingModel& w, int k, int iu, int il) {
    struct Field {
        int column;
        std::size_t room;  // characters the text may take
        double value;
        int precision;
        Field(const OutputField& f, double v)
            : column(f.column), room(std::size_t(f.room)), value(v), precision(f.precision) {}
        Field(double pointNumber) : column(0), room(3), value(pointNumber), precision(0) {}
    };
    const Field fields[] = {
        {cpoutput::X, w.X[iu][k]},           {cpoutput::CPTU, w.cpInit[iu][k]}, {cpoutput::CPDU, w.cpdOut[iu][k]},
        {cpoutput::CPTL, w.cpInit[il][k]}, {cpoutput::CPDL, w.cpdOut[il][k]},
        {double(float(std::int64_t(w.ITE1) + iu))},
        {double(float(std::int64_t(w.ITE1) + il))},
    };
    char text[7][kFixedCharsMax];
    std::size_t length[7];
    for (int f = 0; f < 7; ++f) {
        length[f] = fixedChars(text[f], fields[f].value, fields[f].precision);
        // A point number of other than two or three digits (a wing of a
        // thousand points or more) leaves its column blank.
        if (f >= 5 && (length[f] < 2 || length[f] > fields[f].room)) length[f] = 0;
        else if (length[f] == 0 || length[f] > fields[f].room) return false;
    }
    const std::size_t base = out.size();
    out.append(67, ' ');
    char* row = &out[base];
    for (int f = 0; f < 5; ++f) std::memcpy(row + fields[f].column - 1, text[f], length[f]);
    // Point numbers of two or three digits end at columns 16 and 45.
    if (length[5] > 0) std::memcpy(row + 16 - length[5], text[5], length[5]);
    if (length[6] > 0) std::memcpy(row + 45 - length[6], text[6], length[6]);
    out.append(" \n", 2);
    return true;
}

}  // namespace

void prepareOutput(WingModel& w) {
    for (int k = 0; k < w.nsec; ++k) {
        // An uncorrected section is written with codes 0, so its design Cp
        // column is zero too, as for any surface without correction; its
        // intervals stay as they were last written.
        if (!isCorrected(w, k)) {
            for (int i = 0; i < w.npt; ++i) w.cpdOut[i][k] = 0.0;
            continue;
        }
        prepareSurface(w, k, 0);
        prepareSurface(w, k, 1);
    }
}

namespace {

// The CpOutput text, handed to flush a chunk at a time (each chunk ends at a
// line end); false from flush stops the writing.
bool streamCpOutput(const WingModel& w, const ChunkSink& flush) {
    constexpr std::size_t kChunk = 1 << 18;
    std::string out;
    out.reserve(kChunk + 4096);
    LineWriter lw(out);
    auto flushFull = [&] {
        if (out.size() < kChunk) return true;
        const bool ok = flush(out);
        out.clear();
        return ok;
    };

    lw.begin(w.title);
    lw.end();
    lw.begin(kCpOutputMachLabels);
    lw.end();
    lw.blank(54);
    lw.insert(cpoutput::MACH.column, lw.number(w.MACH, cpoutput::MACH.precision));
    lw.insert(cpoutput::ALPHA.column, lw.number(w.ALPHA, cpoutput::ALPHA.precision));
    lw.end();
    lw.begin(kCpOutputHeadLabels);
    lw.end();
    lw.blank(54);
    lw.insert(5, lw.integer(w.ITE1, 1));
    lw.insert(15, lw.integer(w.ITE2, 1));
    lw.insert(25, lw.integer(w.KTE1, 1));
    lw.insert(35, lw.integer(w.KTE2, 1));
    lw.end();
    lw.blank(0);
    lw.end();

    for (int k = 0; k < w.nsec; ++k) {
        lw.begin("SECTION N =       ZREF =         Z =              CN =              EP =        ");
        putRightAligned(lw, lw.integer(std::int64_t(w.KTE1) + k, 0), 14, 1, 2);
        lw.overwrite(cpoutput::ZREF, w.ZREF[k], 37);
        lw.overwrite(cpoutput::Z, w.Z[k], 56);
        lw.overwrite(cpoutput::CN, w.CN[k], 73);
        lw.overwrite(cpoutput::EP, w.EP[k]);
        lw.end();
        lw.begin("<   CYD  ><   EPD  >             PLE =               PTE =         ");
        lw.overwrite(cpoutput::PLE, w.PLE[k], 59);
        lw.overwrite(cpoutput::PTE, w.PTE[k]);
        lw.end();
        lw.begin("                                 XLE =               B =           ");
        lw.overwrite(cpoutput::CYD, cydToWrite(w, k), 11);
        lw.overwrite(cpoutput::EPD, w.EPD[k], 39);
        lw.overwrite(cpoutput::XLE, w.XLE[k], 57);
        lw.overwrite(cpoutput::B, w.B[k]);
        lw.end();
        lw.begin("                  <   RU   >                   <   RL   >");
        lw.end();
        lw.blank(57);
        lw.overwrite(20, lw.integer(w.RU[k], 5), 48);
        lw.overwrite(49, lw.integer(w.RL[k], 5));
        lw.end();
        lw.begin("                  <   IU1  ><   IU2  >         <  IL1   ><  IL2   >");
        lw.end();
        lw.blank(67);
        lw.overwrite(20, lw.integer(w.outIU1[k], 5), 29);
        lw.overwrite(30, lw.integer(w.outIU2[k], 5), 49);
        lw.overwrite(49, lw.integer(w.outIL1[k], 5), 59);
        lw.overwrite(59, lw.integer(w.outIL2[k], 5));
        lw.end();
        lw.begin("    X          I  <  CPTU  ><  CPDU  >      I  <  CPTL  ><  CPDL  >");
        lw.end();
        for (int r = 0; r < w.nhalf; ++r) {
            const int iu = w.nhalf + r;
            const int il = w.nhalf - 1 - r;
            if (!flushFull()) return false;
            if (appendPointRow(out, w, k, iu, il)) continue;
            lw.blank(67);
            lw.overwrite(cpoutput::X, w.X[iu][k], 19);
            putRightAligned(lw, lw.integer(std::int64_t(w.ITE1) + iu, 0), 16, 2, 3);
            lw.overwrite(cpoutput::CPTU, w.cpInit[iu][k], 29);
            lw.overwrite(cpoutput::CPDU, w.cpdOut[iu][k], 48);
            putRightAligned(lw, lw.integer(std::int64_t(w.ITE1) + il, 0), 45, 2, 3);
            lw.overwrite(cpoutput::CPTL, w.cpInit[il][k], 58);
            lw.overwrite(cpoutput::CPDL, w.cpdOut[il][k]);
            lw.end();
        }
        lw.blank(0);
        lw.end();
    }
    return out.empty() || flush(out);
}

}  // namespace

std::string formatCpOutput(const WingModel& w) {
    std::string text;
    text.reserve(std::size_t(w.nsec) * std::size_t(w.nhalf + 10) * 72 + 512);
    streamCpOutput(w, [&text](std::string_view chunk) {
        text.append(chunk);
        return true;
    });
    return text;
}


bool saveCpOutput(WingModel& wing, const std::string& path, FileError* error) {
    prepareOutput(wing);
    return writeFileAtomically(
        path, [&wing](const ChunkSink& sink) { return streamCpOutput(wing, sink); }, error);
}

}  // namespace quarvel
