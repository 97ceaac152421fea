// The CpInput reader: fixed columns, label lines skipped unread, every count
// checked against the lines the file really has before anything is sized.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "wing/CpFiles.h"
#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"
#include "wing/SectionLift.h"
#include "wing/SectionSurface.h"

namespace quarvel {

std::string FileError::message() const {
    std::string text = path;
    if (line > 0) text += ", line " + std::to_string(line);
    return text + ": " + what;
}

namespace {

constexpr int kHeadLines = 5;
constexpr int kBlockHeadLines = 9;  // section lines before the point rows
// From this many point rows on, two threads read them.
constexpr std::int64_t kRowsForTwoThreads = 20000;

// The line feeds in p .. end, sixteen bytes at a time.
std::size_t lineFeeds(const char* p, const char* end) {
    std::size_t n = 0;
#ifdef __SSE2__
    const __m128i feed = _mm_set1_epi8('\n');
    while (end - p >= 16 * 255) {
        // Each byte of the sum counts up to 255 feeds, then is added up.
        __m128i sum = _mm_setzero_si128();
        for (int i = 0; i < 255; ++i, p += 16)
            sum = _mm_sub_epi8(sum, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), feed));
        const __m128i halves = _mm_sad_epu8(sum, _mm_setzero_si128());
        n += std::size_t(_mm_cvtsi128_si32(halves)) + std::size_t(_mm_extract_epi16(halves, 4));
    }
#endif
    for (; p < end; ++p) n += *p == '\n';
    return n;
}

// The first line feed in p .. end, or nullptr. A line is short: looking
// sixteen bytes at a time in line beats a call that prepares for long runs.
const char* nextLineFeed(const char* p, const char* end) {
#ifdef __SSE2__
    const __m128i feed = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const int hits =
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), feed));
        if (hits) return p + __builtin_ctz(unsigned(hits));
    }
#endif
    return static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
}

std::string_view columnsOf(std::string_view line, int first, int last);

// The file's lines in order: a line ends at its line feed, a carriage
// return just before it is dropped, and anything past kMaxLineLength
// characters is skipped so that it can never become a line of its own.
// Lines are found as they are asked for, going forward, so that no
// table of a large file's lines is ever built.
class Lines {
public:
    explicit Lines(std::string_view bytes) : bytes_(bytes) {}

    // A plain decimal in columns first .. first + 9 of a line of the file.
    bool plainField(std::string_view line, int first, double& value) const {
        const std::size_t end = std::size_t(first - 1) + 10;
        const bool roomBefore = line.data() + end >= bytes_.data() + 16;
        if (line.size() >= end && roomBefore && parseTenColumns(line.data() + end - 1, value)) return true;
        return parsePlainDecimal(columnsOf(line, first, first + 9), value);
    }

    // Number of lines of the file: its line feeds, and a last line without one.
    std::size_t count() const {
        if (bytes_.empty()) return 0;
        return lineFeeds(bytes_.data(), bytes_.data() + bytes_.size()) + (bytes_.back() != '\n');
    }

    // Goes to line li, which starts at byte offset: lines another reader
    // went through are not looked at again.
    void jump(std::size_t li, std::size_t offset) {
        started_ = li > 0;
        next_ = started_ ? offset : 0;
        index_ = started_ ? li - 1 : 0;
    }
    // The byte offset of line li, found going forward as at() does.
    std::size_t offsetOf(std::size_t li) { return std::size_t(at(li).data() - bytes_.data()); }
    // The byte offset at which line li starts (the size of the file when
    // it has fewer lines), counted sixteen bytes at a time.
    std::size_t startOf(std::size_t li) const {
        const char* p = bytes_.data();
        const char* const end = p + bytes_.size();
        std::size_t left = li;
        constexpr std::ptrdiff_t block = 16 * 255;
        for (std::size_t n; end - p >= block && (n = lineFeeds(p, p + block)) < left; p += block) left -= n;
        for (; p < end && left > 0; ++p) left -= *p == '\n';
        return std::size_t(p - bytes_.data());
    }

    // Line li (0-based). Lines are found going forward; going back starts
    // again from the top, which only the head ever does.
    std::string_view at(std::size_t li) {
        if (started_ && li < index_) {
            started_ = false;
            next_ = 0;
        }
        while (!started_ || index_ < li) advance();
        return current_;
    }

private:
    void advance() {
        const char* p = bytes_.data() + next_;
        const char* const end = bytes_.data() + bytes_.size();
        const char* nl = nextLineFeed(p, end);
        const char* stop = nl ? nl : end;
        std::size_t len = std::size_t(stop - p);
        if (nl && len > 0 && p[len - 1] == '\r') --len;
        current_ = std::string_view(p, std::min<std::size_t>(len, kMaxLineLength));
        next_ = std::size_t((nl ? nl + 1 : end) - bytes_.data());
        index_ = started_ ? index_ + 1 : 0;
        started_ = true;
    }

    std::string_view bytes_;
    std::string_view current_;
    std::size_t next_ = 0;
    std::size_t index_ = 0;
    bool started_ = false;
};

std::string_view trim(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The text of a line in columns first..last (1-based, inclusive).
std::string_view columnsOf(std::string_view line, int first, int last) {
    const std::size_t from = std::size_t(first - 1);
    if (from >= line.size()) return {};
    return line.substr(from, std::size_t(last - first + 1));
}

// A number as short as it reads back, for messages.
std::string shortNumber(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// Reads the named fields of one line; the first fault is kept, and fields
// with characters but no number are noted for the warning.
class FieldReader {
public:
    FieldReader(Lines& lines, const std::string& path, FileError* error, FileWarnings* warnings)
        : lines_(lines), path_(path), error_(error), warnings_(warnings) {}

    bool failed() const { return failed_; }

    // Real field in columns first..last (1-based, inclusive) of line index li.
    double real(std::size_t li, int first, int last, const char* name) {
        const std::string_view text = field(li, first, last);
        double value;
        if (parsePlainDecimal(text, value)) return value;
        const DecimalField f = parseDecimal(text);
        if (f.outOfRange) fail(li, std::string(name) + " in columns " + columns(first, last) + " is too large a number");
        noteNotPlain(li, name, text, f);
        return f.value;
    }

    // The same for a value that CpOutput writes back: its written text must
    // fit the room CpOutput gives it.
    double real(std::size_t li, int first, int last, const OutputField& out) {
        const double value = real(li, first, last, out.name);
        if (!fitsOutputField(out, value))
            fail(li, std::string(out.name) + ": " + std::string(trim(field(li, first, last))) + doesNotFit(out));
        return value;
    }
    // The check alone, for a value already read.
    void requireFits(std::size_t li, const OutputField& out, double value) {
        if (!fitsOutputField(out, value)) fail(li, std::string(out.name) + ": " + shortNumber(value) + doesNotFit(out));
    }

    // Integer field: read as a real and truncated toward zero.
    int integer(std::size_t li, int first, int last, const char* name) {
        const std::string_view text = field(li, first, last);
        const DecimalField f = parseDecimal(text);
        const double t = std::trunc(f.value);
        // Symmetric range, so that a value less one still fits.
        if (f.outOfRange || t > 2147483647.0 || t < -2147483647.0) {
            fail(li, std::string(name) + " in columns " + columns(first, last) + " is outside the integer range");
            return 0;
        }
        noteNotPlain(li, name, text, f);
        return static_cast<int>(t);
    }

    // An integer that CpOutput writes back through single precision: it must
    // survive that and fit its room.
    int integer(std::size_t li, int first, int last, const OutputField& out) {
        const int value = integer(li, first, last, out.name);
        if (double(float(value)) != double(value) || !fitsOutputField(out, value))
            fail(li, std::string(out.name) + ": " + std::to_string(value) + doesNotFit(out));
        return value;
    }

    void fail(std::size_t li, std::string what) {
        if (failed_) return;
        failed_ = true;
        if (error_) *error_ = FileError{path_, int(li + 1), std::move(what)};
    }

private:
    std::string_view field(std::size_t li, int first, int last) const {
        return columnsOf(lines_.at(li), first, last);
    }
    static std::string columns(int first, int last) { return std::to_string(first) + "-" + std::to_string(last); }
    static std::string doesNotFit(const OutputField& out) {
        return " does not fit the " + std::to_string(out.room) + " columns CpOutput gives it";
    }

    // A field with characters but no number, or with text after its number.
    void noteNotPlain(std::size_t li, const char* name, std::string_view text, const DecimalField& f) {
        if (f.hasNumber && !f.textAfter) return;
        const std::string_view shown = trim(text);
        if (!warnings_ || shown.empty()) return;
        if (warnings_->fields.size() < FileWarnings::kListed) {
            std::string what = std::string(name) + ": \"" + std::string(shown) + "\" ";
            what += f.hasNumber ? "has text after its number, read as " + shortNumber(f.value)
                                : std::string("is not a number, read as 0");
            warnings_->fields.push_back(FileError{path_, int(li + 1), std::move(what)});
        }
        ++warnings_->count;
    }

    Lines& lines_;
    const std::string& path_;
    FileError* error_;
    FileWarnings* warnings_;
    bool failed_ = false;
};

// Reads the point rows of section k, from line li on, into the wing: X and
// the four Cp of each row, read side by side so that their conversions
// overlap. With a field reader any field is read, the general road
// reporting a fault or a field that is not a plain number; without one only
// plain numbers that fit are, and false comes back at the first other.
bool readRows(Lines& lines, WingModel& w, int k, std::size_t li, FieldReader* f) {
    double* const X = w.X.column(k);
    double* const cpInit = w.cpInit.column(k);
    double* const cpDes = w.cpDes.column(k);
    double* const cpdIn = w.cpdIn.column(k);
    for (int r = 0; r < w.nhalf; ++r, ++li) {
        const int iu = w.nhalf + r;
        const int il = w.nhalf - 1 - r;
        const std::string_view line = lines.at(li);
        double x = 0;
        if (!lines.plainField(line, 1, x) || !(std::fabs(x) < cpoutput::X.alwaysFitsBelow())) {
            if (!f) return false;
            x = f->real(li, 1, 10, cpoutput::X);
        }
        X[iu] = X[il] = x;
        double tu = 0, du = 0, tl = 0, dl = 0;
        const bool plain = lines.plainField(line, 19, tu) & lines.plainField(line, 29, du) &
                           lines.plainField(line, 48, tl) & lines.plainField(line, 58, dl);
        constexpr double fits = cpoutput::CPTU.alwaysFitsBelow();
        if (!plain ||
            !(std::fabs(tu) < fits && std::fabs(du) < fits && std::fabs(tl) < fits && std::fabs(dl) < fits)) {
            if (!f) return false;
            tu = f->real(li, 19, 28, cpoutput::CPTU);
            du = f->real(li, 29, 38, cpoutput::CPDU);
            tl = f->real(li, 48, 57, cpoutput::CPTL);
            dl = f->real(li, 58, 67, cpoutput::CPDL);
        }
        cpInit[iu] = cpDes[iu] = tu;
        cpdIn[iu] = du;
        cpInit[il] = cpDes[il] = tl;
        cpdIn[il] = dl;
    }
    return true;
}

// The rows of the sections from first on, read by a second thread while
// the first reads those before: where every field of a section's rows is a
// plain number that fits, they need no more reading; the others are read
// again in file order, so that faults and warnings come as from one reader.
class RowHelper {
public:
    RowHelper(std::string_view bytes, WingModel& w, int first, std::size_t blockLines)
        : lines_(bytes), wing_(w), first_(first), blockLines_(blockLines),
          start_(std::size_t(w.nsec), 0), done_(std::size_t(w.nsec), 0) {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // Without a second thread the first reads everything.
        }
        started_ = thread_.joinable();
    }
    ~RowHelper() { finish(); }

    void finish() {
        if (thread_.joinable()) thread_.join();
    }
    bool started() const { return started_; }
    // Where the block of section k starts; whether its rows were read.
    std::size_t start(int k) const { return start_[std::size_t(k)]; }
    bool done(int k) const { return done_[std::size_t(k)] != 0; }

private:
    void run() {
        std::size_t li = kHeadLines + std::size_t(first_) * blockLines_;
        lines_.jump(li, lines_.startOf(li));
        for (int k = first_; k < wing_.nsec; ++k, li += blockLines_) {
            start_[std::size_t(k)] = lines_.offsetOf(li);
            done_[std::size_t(k)] = readRows(lines_, wing_, k, li + kBlockHeadLines, nullptr);
        }
    }

    Lines lines_;
    WingModel& wing_;
    const int first_;
    const std::size_t blockLines_;
    std::vector<std::size_t> start_;
    std::vector<char> done_;
    bool started_ = false;
    std::thread thread_;
};

bool fail(FileError* error, const std::string& path, int line, std::string what) {
    if (error) *error = FileError{path, line, std::move(what)};
    return false;
}

// Checks the head's counts against the file; on success sets the sizes.
bool checkCounts(WingModel& w, std::size_t lineCount, const std::string& path, FileError* error) {
    const std::int64_t npt = std::int64_t(w.ITE2) - w.ITE1;
    const std::int64_t nsec = std::int64_t(w.KTE2) - w.KTE1 + 1;
    const std::string head = "ITE1 = " + std::to_string(w.ITE1) + ", ITE2 = " + std::to_string(w.ITE2);
    if (nsec < 1)
        return fail(error, path, 5,
                    "KTE1 = " + std::to_string(w.KTE1) + " and KTE2 = " + std::to_string(w.KTE2) +
                        " give no section; KTE2 must not be less than KTE1");
    const std::int64_t nhalf = npt / 2;
    if (nhalf < 6)
        return fail(error, path, 5,
                    head + " give " + std::to_string(std::max<std::int64_t>(nhalf, 0)) +
                        " points per surface; at least 6 are needed");
    // Both counts are at most the line count here, so the product cannot overflow.
    const auto available = std::int64_t(lineCount);
    const std::int64_t blockLines = kBlockHeadLines + nhalf;
    const std::int64_t needed = nsec <= available && nhalf <= available ? kHeadLines + nsec * blockLines
                                                                         : INT64_MAX;
    if (needed > available) {
        std::string what = "the file ends here, but its head (line 5) asks for " + std::to_string(nsec) +
                           " sections of " + std::to_string(nhalf) + " point rows";
        if (nsec <= available && nhalf <= available) {
            const std::int64_t block = (available - kHeadLines) / blockLines;
            what += ", " + std::to_string(needed) + " lines in all; the block of section " +
                    std::to_string(w.KTE1 + block) + " is cut short";
        }
        return fail(error, path, int(std::min<std::int64_t>(available, INT32_MAX)), what);
    }
    w.npt = int(npt);
    w.nsec = int(nsec);
    w.nhalf = int(nhalf);
    return true;
}

// The CpOutput head gives ITE1, ITE2, KTE1 and KTE2 six columns each and
// writes them with one decimal, so only -999 .. 9999 can be saved and read
// back; a wider number would run into the next field.
bool checkHeadNumbers(const WingModel& w, const std::string& path, FileError* error) {
    constexpr int lowest = -999, highest = 9999;
    const std::pair<const char*, int> numbers[] = {
        {"ITE1", w.ITE1}, {"ITE2", w.ITE2}, {"KTE1", w.KTE1}, {"KTE2", w.KTE2}};
    for (const auto& [name, value] : numbers)
        if (value < lowest || value > highest)
            return fail(error, path, 5,
                        std::string(name) + " = " + std::to_string(value) + " is outside " + std::to_string(lowest) +
                            " .. " + std::to_string(highest) + ", the numbers a CpOutput file can hold");
    return true;
}

// Memory in words a reader can take in: "1.5 GB", "380 MB".
std::string memoryText(std::size_t bytes) {
    const double mb = double(bytes) / (1024.0 * 1024.0);
    if (mb >= 1024.0) return formatFixed(mb / 1024.0, 1) + " GB";
    return formatFixed(mb, mb < 10 ? 1 : 0) + " MB";
}

// The wing a head describes must fit in the memory the process can have; a
// large one is checked before anything is sized.
bool checkMemory(const WingModel& w, const std::string& path, FileError* error) {
    constexpr std::size_t kAlwaysFits = std::size_t(1) << 24;
    const std::size_t needed = WingModel::bytesFor(w.npt, w.nsec);
    if (needed < kAlwaysFits) return true;
    const std::size_t available = availableMemory();
    if (needed <= available) return true;
    return fail(error, path, 5,
                "the head asks for " + std::to_string(w.nsec) + " sections of " + std::to_string(w.npt) +
                    " points, a wing of " + memoryText(needed) + ", but only " + memoryText(available) +
                    " of memory is available");
}

std::optional<WingModel> parseFile(std::string_view bytes, const std::string& path, FileError* error,
                                   FileWarnings* warnings);

// A CpOutput file is told by the shape of its third line, never by the free
// text of its label lines: its writer puts MACH at column 31 and ALPHA at
// column 46 (right after a MACH that fills its 15 columns) and nothing else
// on the line, where a CpInput file has ALPHA in columns 65-71.
bool isCpOutputLayout(std::string_view line3) {
    const std::size_t mach = std::size_t(cpoutput::MACH.column - 1), alpha = std::size_t(cpoutput::ALPHA.column - 1);
    if (line3.size() <= alpha || line3.find_first_not_of(" \t") != mach || line3[alpha] == ' ' || line3[alpha] == '\t')
        return false;
    auto oneNumber = [](std::string_view text) {
        const DecimalField f = parseDecimal(text);
        return f.hasNumber && !f.textAfter;
    };
    return oneNumber(line3.substr(mach, alpha - mach)) && oneNumber(line3.substr(alpha));
}

}  // namespace

std::optional<WingModel> parseCpInput(std::string_view bytes, const std::string& path, FileError* error,
                                      FileWarnings* warnings) {
    FileWarnings found{path, {}, 0};
    try {
        auto wing = parseFile(bytes, path, error, &found);
        if (wing && warnings) *warnings = std::move(found);
        return wing;
    } catch (const std::bad_alloc&) {
        fail(error, path, 0,
             "there is not enough memory to read it (" + memoryText(availableMemory()) + " is available)");
        return std::nullopt;
    }
}

namespace {

std::optional<WingModel> parseFile(std::string_view bytes, const std::string& path, FileError* error,
                                   FileWarnings* warnings) {
    Lines lines(bytes);
    const std::size_t lineCount = lines.count();
    if (lineCount == 0) {
        fail(error, path, 0, "the file is empty");
        return std::nullopt;
    }
    if (lineCount < std::size_t(kHeadLines)) {
        fail(error, path, int(lineCount),
             "the file ends here, before the head is complete (it needs " + std::to_string(kHeadLines) + " lines)");
        return std::nullopt;
    }

    WingModel w;
    FieldReader f(lines, path, error, warnings);
    w.title = std::string(trim(lines.at(0)));
    // A CpOutput file holds MACH and ALPHA where its writer puts them; every
    // other field lies where CpInput has it.
    if (isCpOutputLayout(lines.at(2))) {
        w.MACH = f.real(2, 31, 45, "MACH");
        w.ALPHA = f.real(2, 46, 60, "ALPHA");
    } else {
        w.MACH = f.real(2, 29, 35, "MACH");
        w.ALPHA = f.real(2, 65, 71, "ALPHA");
    }
    w.ITE1 = f.integer(4, 1, 10, "ITE1");
    w.ITE2 = f.integer(4, 11, 20, "ITE2");
    w.KTE1 = f.integer(4, 21, 30, "KTE1");
    w.KTE2 = f.integer(4, 31, 40, "KTE2");
    f.requireFits(2, cpoutput::MACH, w.MACH);
    f.requireFits(2, cpoutput::ALPHA, w.ALPHA);
    if (f.failed() || !checkCounts(w, lineCount, path, error) || !checkHeadNumbers(w, path, error) ||
        !checkMemory(w, path, error))
        return std::nullopt;

    w.allocateForReading();
    // With an odd npt the last contour index belongs to no row.
    if (w.npt > 2 * w.nhalf)
        for (int k = 0; k < w.nsec; ++k)
            for (auto* g : {&w.X, &w.cpInit, &w.cpdIn, &w.cpDes}) (*g)[w.npt - 1][k] = 0.0;
    // A large wing's later sections are read by a second thread meanwhile.
    const std::size_t blockLines = kBlockHeadLines + std::size_t(w.nhalf);
    const bool large = std::int64_t(w.nsec) * w.nhalf >= kRowsForTwoThreads;
    std::optional<RowHelper> helper;
    if (large) helper.emplace(bytes, w, w.nsec / 2, blockLines);
    const int helped = helper && helper->started() ? w.nsec / 2 : w.nsec;
    std::size_t li = kHeadLines;
    for (int k = 0; k < w.nsec; ++k, li += blockLines) {
        if (k == helped) helper->finish();
        if (k >= helped) lines.jump(li, helper->start(k));
        w.ZREF[k] = f.real(li + 1, 25, 31, cpoutput::ZREF);
        w.Z[k] = f.real(li + 1, 37, 47, cpoutput::Z);
        w.CN[k] = f.real(li + 1, 56, 66, cpoutput::CN);
        w.EP[k] = f.real(li + 1, 73, 80, cpoutput::EP);
        w.PLE[k] = f.real(li + 2, 39, 49, cpoutput::PLE);
        w.PTE[k] = f.real(li + 2, 59, 69, cpoutput::PTE);
        w.CYD[k] = f.real(li + 3, 1, 10, cpoutput::CYD);
        w.EPD[k] = f.real(li + 3, 11, 20, cpoutput::EPD);
        w.XLE[k] = f.real(li + 3, 39, 49, cpoutput::XLE);
        w.B[k] = f.real(li + 3, 57, 67, cpoutput::B);
        w.RU[k] = f.integer(li + 5, 19, 28, cpoutput::RU);
        w.RL[k] = f.integer(li + 5, 48, 57, cpoutput::RL);
        w.IU1[k] = f.integer(li + 7, 19, 28, cpoutput::IU1);
        w.IU2[k] = f.integer(li + 7, 29, 38, cpoutput::IU2);
        w.IL1[k] = f.integer(li + 7, 49, 58, cpoutput::IL1);
        w.IL2[k] = f.integer(li + 7, 59, 68, cpoutput::IL2);
        if (k < helped || !helper->done(k)) readRows(lines, w, k, li + kBlockHeadLines, &f);
        if (f.failed()) return std::nullopt;
    }

    w.inputFileName = path;
    w.outputFileName = outputPathFor(path);
    w.curSection = 1;
    deriveSections(w);
    return w;
}

}  // namespace

std::string FileWarnings::message() const {
    std::string text = path + ": " + std::to_string(count) + (count == 1 ? " field is not a plain number:" : " fields are not plain numbers:");
    for (const FileError& field : fields) text += "\nline " + std::to_string(field.line) + ", " + field.what;
    if (count > fields.size()) text += "\nand " + std::to_string(count - fields.size()) + " more";
    return text;
}

namespace {

// A number from a line of /proc/meminfo or the like: "MemAvailable:  812 kB".
bool procValue(const char* file, std::string_view key, std::size_t& value) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0) {
            const DecimalField f = parseDecimal(std::string_view(line).substr(key.size()));
            if (!f.hasNumber || f.value < 0) return false;
            value = std::size_t(f.value);
            return true;
        }
    return false;
}

// What a resource limit leaves of it, given the part already in use.
std::size_t leftUnder(int resource, std::size_t used, std::size_t available) {
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return available;
    const auto cap = std::size_t(limit.rlim_cur);
    return std::min(available, cap > used ? cap - used : 0);
}

}  // namespace

std::size_t availableMemory() {
    const auto page = std::size_t(::sysconf(_SC_PAGESIZE));
    std::size_t available = 0;
    if (procValue("/proc/meminfo", "MemAvailable:", available)) {
        available *= 1024;
    } else {
        const long pages = ::sysconf(_SC_AVPHYS_PAGES);
        available = pages > 0 ? std::size_t(pages) * page : SIZE_MAX;
    }
    // The process's own size and data, in pages: the first and sixth numbers.
    std::size_t size = 0, data = 0;
    std::ifstream statm("/proc/self/statm");
    std::string skip;
    if (statm >> size >> skip >> skip >> skip >> skip >> data) {
        available = leftUnder(RLIMIT_AS, size * page, available);
        available = leftUnder(RLIMIT_DATA, data * page, available);
    }
    return available;
}

namespace {

std::string fileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "a special file";
}

// Reads up to size bytes of the file (no more than it had when it was
// opened, so a file that grows meanwhile cannot make the reading endless);
// false with a message when they cannot be read. The bytes are copied rather
// than mapped: a mapped file that shrinks or fails under the reader would
// stop the program.
bool readBytes(int fd, std::size_t size, std::unique_ptr<char[]>& bytes, std::size_t& got, const std::string& path,
               FileError* error) {
    // Not cleared first: the read writes every byte the parse looks at.
    bytes.reset(new char[size]);
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, &bytes[got], size - got);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(error, path, 0, std::string("cannot be read: ") + std::strerror(errno));
        }
        got += std::size_t(n);
    }
    return true;
}

}  // namespace

std::optional<WingModel> readCpInput(const std::string& path, FileError* error, FileWarnings* warnings) {
    // Only a regular file is opened: a FIFO would block the open, a device
    // may never end, and opening some devices does something by itself.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        fail(error, path, 0, std::string("cannot be opened: ") + std::strerror(errno));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(error, path, 0, "cannot be opened: it is " + fileKind(st.st_mode) + ", not a regular file");
        return std::nullopt;
    }
    // Non-blocking, in case something else was put under the name meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        fail(error, path, 0, std::string("cannot be opened: ") + std::strerror(errno));
        return std::nullopt;
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        fail(error, path, 0, "cannot be opened: it is " + fileKind(st.st_mode) + ", not a regular file");
        return std::nullopt;
    }
    if (st.st_size == 0) {
        fail(error, path, 0, "the file is empty");
        return std::nullopt;
    }
    try {
        std::unique_ptr<char[]> bytes;
        std::size_t got = 0;
        if (!readBytes(fd, std::size_t(st.st_size), bytes, got, path, error)) return std::nullopt;
        return parseCpInput(std::string_view(bytes.get(), got), path, error, warnings);
    } catch (const std::bad_alloc&) {
        fail(error, path, 0,
             "there is not enough memory to read it (" + memoryText(availableMemory()) + " is available)");
        return std::nullopt;
    }
}

namespace {

// The interval of surface s of section k as the file gives it.
std::pair<int, int> fileInterval(const WingModel& w, int k, int s) {
    return s == 0 ? intervalNamed(w, 0, w.IU1[k], w.IU2[k]) : intervalNamed(w, 1, w.IL1[k], w.IL2[k]);
}

// Mode of surface s of section k from its code as read. Code 1 is a Cp
// correction when the file gives it an interval (ends not both 0): "Cp interpolation" when its
// design Cp column is zero over the whole interval (as the writer leaves it),
// "Cp edition" otherwise. A design Cp that prints as 0.0000 at one point of
// an edited interval therefore does not turn the surface into an
// interpolation on reading.
int fileSurfaceMode(const WingModel& w, int k, int s) {
    const int code = s == 0 ? w.fileRU[k] : w.fileRL[k];
    switch (code) {
    case 0: return MODE_NONE;
    case -10: return MODE_GEOM;
    case -1: return MODE_THICKNESS;
    case -2: return MODE_MAX_THICKNESS;
    case 1: {
        // Both ends 0 give no interval; equal ends name a one-point one.
        const bool given = s == 0 ? w.IU1[k] != 0 || w.IU2[k] != 0 : w.IL1[k] != 0 || w.IL2[k] != 0;
        if (!given) return MODE_NONE;
        const auto [first, last] = fileInterval(w, k, s);
        for (int i = first - 1; i <= last - 1; ++i)
            if (w.cpdIn[i][k] != 0.0) return MODE_CP_EDITION;
        return MODE_CP_INTERP;
    }
    default: return MODE_NONE;
    }
}

// The design Cp of section k as the file gives it: the initial Cp, with the
// file's design Cp over the interval of each "Cp edition" surface.
template <typename Visit>
void visitDesignCpAsRead(const WingModel& w, int k, Visit&& visit, int onlySurface = -1) {
    for (int s = 0; s < 2; ++s) {
        if (onlySurface >= 0 && s != onlySurface) continue;
        const bool edition = fileSurfaceMode(w, k, s) == MODE_CP_EDITION;
        const auto [first, last] = fileInterval(w, k, s);
        const int lo = s == 0 ? w.nhalf : 0;
        const int hi = s == 0 ? 2 * w.nhalf - 1 : w.nhalf - 1;
        for (int i = lo; i <= hi; ++i) {
            const bool inside = edition && first - 1 <= i && i <= last - 1;
            if (!visit(i, inside ? w.cpdIn[i][k] : w.cpInit[i][k])) return;
        }
    }
}

}  // namespace

std::pair<int, int> intervalNamed(const WingModel& w, int s, int firstValue, int lastValue) {
    const int lo = firstPointOf(w, s), hi = lastPointOf(w, s);
    auto end = [&](int value, int defaultPoint) {
        const std::int64_t point = value != 0 ? std::int64_t(value) - w.ioff : defaultPoint;
        return int(std::clamp<std::int64_t>(point, lo, hi));
    };
    int first = end(firstValue, s == 0 ? w.u1Min : w.l1Min);
    int last = end(lastValue, s == 0 ? w.u2Max : w.l2Max);
    if (first > last) std::swap(first, last);
    return {first, last};
}

bool surfaceAsRead(const WingModel& w, int k, int s) {
    if (k < 0 || k >= w.nsec || !isCorrected(w, k) || w.surfMode[k][s] != fileSurfaceMode(w, k, s)) return false;
    const bool valuesAsRead = s == 0 ? w.outIU1[k] == w.IU1[k] && w.outIU2[k] == w.IU2[k]
                                     : w.outIL1[k] == w.IL1[k] && w.outIL2[k] == w.IL2[k];
    const std::pair<int, int> shown = s == 0 ? std::pair{w.u1[k], w.u2[k]} : std::pair{w.l1[k], w.l2[k]};
    if (!valuesAsRead || shown != fileInterval(w, k, s)) return false;
    bool same = true;
    visitDesignCpAsRead(w, k, [&](int i, double cp) { return same = w.cpDes[i][k] == cp; }, s);
    return same;
}

void deriveSections(WingModel& w) {
    w.ioff = w.ITE1 - 1;
    w.l1Min = 4;
    w.u2Max = w.npt - 3;
    w.l2Max = w.nhalf - 2;
    w.u1Min = w.nhalf + 3;
    for (int k = 0; k < w.nsec; ++k) {
        w.fileRU[k] = w.RU[k];
        w.fileRL[k] = w.RL[k];
        // Until a save prepares a surface, it writes its interval as read.
        w.outIU1[k] = w.IU1[k];
        w.outIU2[k] = w.IU2[k];
        w.outIL1[k] = w.IL1[k];
        w.outIL2[k] = w.IL2[k];
        std::tie(w.u1[k], w.u2[k]) = fileInterval(w, k, 0);
        std::tie(w.l1[k], w.l2[k]) = fileInterval(w, k, 1);
        w.upperPoint[k] = (w.u1[k] + w.u2[k]) / 2;
        w.lowerPoint[k] = (w.l1[k] + w.l2[k]) / 2;
        w.secCorrection[k] = SECTION_CORRECTED;
        w.surfMode[k][0] = fileSurfaceMode(w, k, 0);
        w.surfMode[k][1] = fileSurfaceMode(w, k, 1);
        restoreDesignCpAsRead(w, k);
        w.activeSurface[k] = 0;
        w.nspl[k] = {4, 4};
        w.splineOn[k] = {0, 0};
    }
}

void restoreDesignCpAsRead(WingModel& w, int k) {
    if (k < 0 || k >= w.nsec) return;
    visitDesignCpAsRead(w, k, [&](int i, double cp) {
        w.cpDes[i][k] = cp;
        return true;
    });
}

bool designCpAsRead(const WingModel& w, int k) {
    if (k < 0 || k >= w.nsec) return false;
    bool same = true;
    visitDesignCpAsRead(w, k, [&](int i, double cp) { return same = w.cpDes[i][k] == cp; });
    return same;
}

double cydToWrite(const WingModel& w, int k) {
    if (k < 0 || k >= w.nsec) return 0.0;
    return designCpAsRead(w, k) ? w.CYD[k] : designLift(w, k);
}

double shownCyd(const WingModel& w, int k) {
    if (k < 0 || k >= w.nsec) return 0.0;
    return std::round(designLift(w, k) * 1e5) / 1e5;
}

std::string cydTip(const WingModel& w, int k) {
    std::string tip = "Design lift coefficient of the section, from its design Cp";
    if (k < 0 || k >= w.nsec || !designCpAsRead(w, k)) return tip;
    const std::string file = formatFixed(w.CYD[k], cpoutput::CYD.precision);
    if (file == formatFixed(shownCyd(w, k), cpoutput::CYD.precision)) return tip;
    return tip + " (" + formatFixed(shownCyd(w, k), cpoutput::CYD.precision) + "); the file gives CYD " + file +
           ", which a save writes while the design Cp is as read";
}

std::string outputPathFor(const std::string& inputPath) {
    const auto slash = inputPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = inputPath.find_last_of('.');
    // A dot that starts the file name marks a hidden file, not an extension.
    if (dot != std::string::npos && dot > nameStart && inputPath.size() - dot - 1 == 3)
        return inputPath.substr(0, dot + 1) + "cpd";
    return inputPath + ".cpd";
}

}  // namespace quarvel
