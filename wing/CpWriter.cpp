// The CpOutput writer: the prepare step and the fixed-column text.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "wing/CpFiles.h"
#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Output interval values and design Cp column of one surface of section k,
// over the contour indices first..last of that surface.
void prepareSurface(WingModel& w, int k, int mode, int start, int end, int& outStart, int& outEnd, int first,
                    int last) {
    // Both Cp corrections keep their interval, so that a "Cp interpolation"
    // surface reads back with the interval it was given.
    if (mode == MODE_CP_EDITION || mode == MODE_CP_INTERP) {
        outStart = w.ioff + start;
        outEnd = w.ioff + end;
    }
    for (int i = first; i <= last; ++i)
        w.cpdOut[i][k] = mode == MODE_CP_EDITION && start <= i && i <= end ? w.cpDes[i][k] : 0.0;
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
        std::size_t room;  // characters before the next field
        double value;
        int precision;
    };
    const Field fields[] = {
        {3, 10, w.X[iu], 4},           {20, 10, w.cpInit[iu][k], 4}, {30, 9, w.cpdOut[iu][k], 4},
        {49, 10, w.cpInit[il][k], 4},  {59, 9, w.cpdOut[il][k], 4},
        {0, 3, double(float(std::int64_t(w.ITE1) + iu)), 0},
        {0, 3, double(float(std::int64_t(w.ITE1) + il)), 0},
    };
    char text[7][kFixedCharsMax];
    std::size_t length[7];
    for (int f = 0; f < 7; ++f) {
        length[f] = fixedChars(text[f], fields[f].value, fields[f].precision);
        if (length[f] == 0 || length[f] > fields[f].room) return false;
    }
    const std::size_t base = out.size();
    out.append(67, ' ');
    char* row = &out[base];
    for (int f = 0; f < 5; ++f) std::memcpy(row + fields[f].column - 1, text[f], length[f]);
    // Point numbers of two or three digits end at columns 16 and 45.
    if (length[5] >= 2) std::memcpy(row + 16 - length[5], text[5], length[5]);
    if (length[6] >= 2) std::memcpy(row + 45 - length[6], text[6], length[6]);
    out.append(" \n", 2);
    return true;
}

}  // namespace

void prepareOutput(WingModel& w) {
    for (int k = 0; k < w.nsec; ++k) {
        if (w.secCorrection[k] != 2) continue;
        const int upper = w.surfMode[k][0];
        const int lower = w.surfMode[k][1];
        w.RU[k] = codeOfMode(upper);
        w.RL[k] = codeOfMode(lower);
        prepareSurface(w, k, upper, w.u1[k], w.u2[k], w.outIU1[k], w.outIU2[k], w.nhalf, 2 * w.nhalf - 1);
        prepareSurface(w, k, lower, w.l1[k], w.l2[k], w.outIL1[k], w.outIL2[k], 0, w.nhalf - 1);
    }
}

namespace {

// The CpOutput text, handed to flush a chunk at a time (each chunk ends at a
// line end); false from flush stops the writing.
bool streamCpOutput(const WingModel& w, const std::function<bool(std::string_view)>& flush) {
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
    lw.begin("                              MACH           ALPHA");
    lw.end();
    lw.blank(54);
    lw.insert(31, lw.number(w.MACH, 4));
    lw.insert(46, lw.number(w.ALPHA, 4));
    lw.end();
    lw.begin("    ITE1      ITE2      KTE1      KTE2");
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
        lw.overwrite(26, w.ZREF[k], 4);
        lw.overwrite(38, w.Z[k], 4);
        lw.overwrite(56, w.CN[k], 4);
        lw.overwrite(74, w.EP[k], 4);
        lw.end();
        lw.begin("<   CYD  ><   EPD  >             PLE =               PTE =         ");
        lw.overwrite(39, w.PLE[k], 2);
        lw.overwrite(59, w.PTE[k], 2);
        lw.end();
        lw.begin("                                 XLE =               B =           ");
        lw.overwrite(2, w.CYD[k], 5);
        lw.overwrite(12, w.EPD[k], 5);
        lw.overwrite(39, w.XLE[k], 4);
        lw.overwrite(57, w.B[k], 4);
        lw.end();
        lw.begin("                  <   RU   >                   <   RL   >");
        lw.end();
        lw.blank(57);
        lw.overwrite(20, lw.integer(w.RU[k], 5));
        lw.overwrite(49, lw.integer(w.RL[k], 5));
        lw.end();
        lw.begin("                  <   IU1  ><   IU2  >         <  IL1   ><  IL2   >");
        lw.end();
        lw.blank(67);
        lw.overwrite(20, lw.integer(std::int64_t(w.outIU1[k]) + 1, 5));
        lw.overwrite(30, lw.integer(std::int64_t(w.outIU2[k]) + 1, 5));
        lw.overwrite(49, lw.integer(std::int64_t(w.outIL1[k]) + 1, 5));
        lw.overwrite(59, lw.integer(std::int64_t(w.outIL2[k]) + 1, 5));
        lw.end();
        lw.begin("    X          I  <  CPTU  ><  CPDU  >      I  <  CPTL  ><  CPDL  >");
        lw.end();
        for (int r = 0; r < w.nhalf; ++r) {
            const int iu = w.nhalf + r;
            const int il = w.nhalf - 1 - r;
            if (!flushFull()) return false;
            if (appendPointRow(out, w, k, iu, il)) continue;
            lw.blank(67);
            lw.overwrite(3, w.X[iu], 4);
            putRightAligned(lw, lw.integer(std::int64_t(w.ITE1) + iu, 0), 16, 2, 3);
            lw.overwrite(20, w.cpInit[iu][k], 4);
            lw.overwrite(30, w.cpdOut[iu][k], 4);
            putRightAligned(lw, lw.integer(std::int64_t(w.ITE1) + il, 0), 45, 2, 3);
            lw.overwrite(49, w.cpInit[il][k], 4);
            lw.overwrite(59, w.cpdOut[il][k], 4);
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

namespace {

bool writeAll(int fd, std::string_view text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

}  // namespace

bool saveCpOutput(WingModel& wing, const std::string& path, FileError* error) {
    prepareOutput(wing);

    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + name + ".XXXXXX";
    auto failWith = [&](const char* doing) {
        if (error) *error = FileError{path, 0, std::string(doing) + ": " + std::strerror(errno)};
        return false;
    };

    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failWith("cannot be written");
    // mkstemp makes the file private; give it the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const bool written =
        streamCpOutput(wing, [fd](std::string_view chunk) { return writeAll(fd, chunk); }) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        if (!written) errno = savedErrno;
        failWith("cannot be written");
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        failWith("cannot replace the file");
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace quarvel
