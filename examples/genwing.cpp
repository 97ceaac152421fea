// quarvel-genwing: writes a swept, tapered transonic wing as a CpInput file.
//
//   quarvel-genwing --sections 12 --points 60 [--ite1 1] [--kte1 2]
//                   [--mach 0.78] [--alpha 2.0] [--odd] OUT.cpi
//
// Every section gets an upper surface with a leading-edge suction peak, a
// supersonic plateau and a shock, and a milder lower surface with rear
// loading. Peak strength, shock position, chord, leading-edge position and
// twist vary along the span. The sections cycle through all correction
// regimes, with intervals given both as point numbers and as 0 (the default
// limit). The output depends on the options only.

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "wing/Numbers.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Options {
    int sections = 12;
    int points = 60;  // point rows per surface
    int ite1 = 1;
    int kte1 = 2;
    double mach = 0.78;
    double alpha = 2.0;
    bool odd = false;
    std::string out;
};

[[noreturn]] void usage(const char* why) {
    if (why) std::fprintf(stderr, "quarvel-genwing: %s\n", why);
    std::fprintf(stderr,
                 "usage: quarvel-genwing [--sections N] [--points N] [--ite1 N] [--kte1 N]\n"
                 "                       [--mach M] [--alpha A] [--odd] OUT.cpi\n"
                 "  --sections N  spanwise sections (1..9999, default 12)\n"
                 "  --points N    point rows per surface (10..4999, default 60)\n"
                 "  --ite1 N      number of the first contour point (1..9979, default 1)\n"
                 "  --kte1 N      number of the first section (0..9999, default 2)\n"
                 "  --mach M      free-stream Mach number (0.1..0.95, default 0.78)\n"
                 "  --alpha A     angle of attack in degrees (-10..10, default 2.0)\n"
                 "  --odd         one contour point more than the rows hold\n");
    std::exit(why ? 2 : 0);
}

long toInt(const char* name, const char* text, long lo, long hi) {
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (errno || end == text || *end || v < lo || v > hi) {
        std::string msg = std::string(name) + " needs an integer in " + std::to_string(lo) + ".." + std::to_string(hi);
        usage(msg.c_str());
    }
    return v;
}

double toReal(const char* name, const char* text, double lo, double hi) {
    // Options use the C notation whatever the locale.
    double v = 0.0;
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || v < lo || v > hi) {
        std::string msg = std::string(name) + " needs a number in " + quarvel::formatFixed(lo, 2) + ".." +
                          quarvel::formatFixed(hi, 2);
        usage(msg.c_str());
    }
    return v;
}

Options parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string value;
        bool hasValue = false;
        if (a.rfind("--", 0) == 0) {
            auto eq = a.find('=');
            if (eq != std::string::npos) {
                value = a.substr(eq + 1);
                a = a.substr(0, eq);
                hasValue = true;
            }
        }
        auto next = [&]() -> std::string {
            if (hasValue) return value;
            if (i + 1 >= argc) usage((a + " needs a value").c_str());
            return argv[++i];
        };
        if (a == "-h" || a == "--help") {
            usage(nullptr);
        } else if (a == "--sections") {
            o.sections = int(toInt("--sections", next().c_str(), 1, 9999));
        } else if (a == "--points") {
            o.points = int(toInt("--points", next().c_str(), 10, 4999));
        } else if (a == "--ite1") {
            o.ite1 = int(toInt("--ite1", next().c_str(), 1, 9979));
        } else if (a == "--kte1") {
            o.kte1 = int(toInt("--kte1", next().c_str(), 0, 9999));
        } else if (a == "--mach") {
            o.mach = toReal("--mach", next().c_str(), 0.1, 0.95);
        } else if (a == "--alpha") {
            o.alpha = toReal("--alpha", next().c_str(), -10.0, 10.0);
        } else if (a == "--odd" && !hasValue) {
            o.odd = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            usage(("unknown option " + a).c_str());
        } else if (o.out.empty()) {
            o.out = a;
        } else {
            usage("only one output file");
        }
    }
    if (o.out.empty()) usage("no output file given");
    // The head's numbers must fit the six columns CpOutput gives them.
    if (o.ite1 + 2 * o.points + (o.odd ? 1 : 0) > 9999) usage("--ite1 + 2 x --points must stay within 9999");
    if (o.kte1 + o.sections - 1 > 9999) usage("--kte1 + --sections - 1 must stay within 9999");
    return o;
}

// ---------------------------------------------------------------------------
// Fixed-column lines.

// A line of the file. Fields are given by their first and last column,
// counted from 1; a value is right-justified in its field and must leave at
// least one blank in front of it, so that neighbouring fields never touch.
class Line {
public:
    explicit Line(std::string text = {}) : text_(std::move(text)) {}

    void put(int first, int last, const std::string& value) {
        int width = last - first + 1;
        if (int(value.size()) >= width)
            throw std::runtime_error("\"" + value + "\" does not fit into columns " + std::to_string(first) + "-" +
                                     std::to_string(last));
        place(last - int(value.size()) + 1, value);
    }
    // A real in fixed notation with up to `precision` decimals, fewer if the
    // field is too narrow for them.
    void putReal(int first, int last, double value, int precision) {
        std::string text = quarvel::formatFixed(value, precision);
        while (int(text.size()) >= last - first + 1 && precision > 0)
            text = quarvel::formatFixed(value, --precision);
        // A value that rounds to zero is written without a sign.
        if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
        put(first, last, text);
    }
    // An integer field, written as a real with one decimal as the reader
    // converts it (truncated toward zero).
    void putCount(int first, int last, long value) { put(first, last, quarvel::formatFixed(double(value), 1)); }
    void putInt(int first, int last, long value) { put(first, last, std::to_string(value)); }
    // Free text starting at a column (labels, ignored areas).
    void place(int first, const std::string& s) {
        size_t at = size_t(first - 1);
        if (text_.size() < at + s.size()) text_.resize(at + s.size(), ' ');
        text_.replace(at, s.size(), s);
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// ---------------------------------------------------------------------------
// The wing.

// Surface regimes as the editor shows them; file codes below.
enum Regime { kNone, kCpEdition, kCpInterpolation, kGeomInterp, kSaveThickness, kSaveMaxThickness };

int fileCode(Regime r) {
    switch (r) {
        case kNone: return 0;
        case kCpEdition:
        case kCpInterpolation: return 1;
        case kGeomInterp: return -10;
        case kSaveThickness: return -1;
        case kSaveMaxThickness: return -2;
    }
    return 0;
}

// How a surface's interval is written: both ends as point numbers, both as 0
// (the default limits), or one end as 0. A code of 1 is a Cp correction only
// when the two interval values differ, so Cp corrections never get 0 twice.
enum IntervalForm { kExplicit, kDefault, kDefaultStart, kDefaultEnd };

struct SurfacePlan {
    Regime regime;
    IntervalForm form;
};

struct SectionPlan {
    SurfacePlan upper, lower;
};

// The sections cycle through this table: every regime and every interval
// form turns up within six sections on one surface or the other (five
// sections already hold all six regimes).
const SectionPlan kPlans[] = {
    {{kCpEdition, kExplicit}, {kNone, kDefault}},
    {{kCpInterpolation, kDefaultStart}, {kCpEdition, kExplicit}},
    {{kGeomInterp, kExplicit}, {kSaveThickness, kDefault}},
    {{kCpEdition, kDefaultEnd}, {kCpInterpolation, kExplicit}},
    {{kSaveMaxThickness, kDefault}, {kCpEdition, kDefaultStart}},
    {{kNone, kDefault}, {kGeomInterp, kExplicit}},
};

double smoothstep(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Spanwise state of one section's flow.
struct Flow {
    double plateau;     // upper Cp ahead of the shock
    double peak;        // extra suction of the leading-edge peak
    double shockX;      // chordwise shock position
    double shockJump;   // Cp rise through the shock
    double shockWidth;  // chordwise width of the shock
    double rearLoad;    // lower-surface rear loading
    double teCp;        // Cp at the trailing edge
};

constexpr double kStagnationCp = 1.0;

double upperCp(const Flow& f, double x) {
    double le = std::exp(-x / 0.0025);                  // stagnation region
    double peak = f.peak * (x / 0.03) * std::exp(1.0 - x / 0.03);
    double pre = f.plateau + 0.12 * x - peak;
    double post0 = f.plateau + 0.12 * f.shockX + f.shockJump;
    double t = std::max(0.0, (x - f.shockX) / (1.0 - f.shockX));
    double post = post0 + (f.teCp - post0) * std::pow(t, 0.9);
    double s = 0.5 * (1.0 + std::tanh((x - f.shockX) / f.shockWidth));
    double mid = (1.0 - s) * pre + s * post;
    return le * kStagnationCp + (1.0 - le) * mid;
}

double lowerCp(const Flow& f, double x) {
    double le = std::exp(-x / 0.012);
    double dip = -0.30 * (x / 0.06) * std::exp(1.0 - x / 0.06);
    double base = -0.12 + (f.teCp + 0.12) * smoothstep((x - 0.55) / 0.45);
    double hump = f.rearLoad * std::exp(-std::pow((x - 0.82) / 0.10, 2.0));
    double mid = base + dip + hump * (1.0 - x) / 0.18;
    return le * kStagnationCp + (1.0 - le) * mid;
}

struct Section {
    int number;
    double zref, z, cn, ep, ple, pte, cyd, epd, xle, b;
    SectionPlan plan;
    int iu1, iu2, il1, il2;              // as written (0 = default)
    std::vector<double> cptu, cpdu;      // by row
    std::vector<double> cptl, cpdl;
};

// Normal force coefficient of a section from its surface Cp by rows.
double normalForce(const std::vector<double>& x, const std::vector<double>& upper,
                   const std::vector<double>& lower) {
    double c = 0.0;
    for (size_t r = 1; r < x.size(); ++r)
        c += 0.5 * ((lower[r] - upper[r]) + (lower[r - 1] - upper[r - 1])) * (x[r] - x[r - 1]);
    return c;
}

// The value a design Cp keeps when it is written: a design Cp of a "Cp
// edition" surface must never read as 0 at four decimals.
double nonZero(double cp) {
    if (std::fabs(cp) < 0.0001) return cp < 0.0 ? -0.0001 : 0.0001;
    return cp;
}

class WingBuilder {
public:
    explicit WingBuilder(const Options& o) : o_(o) {
        nhalf_ = o.points;
        npt_ = 2 * nhalf_ + (o.odd ? 1 : 0);
        ioff_ = o.ite1 - 1;
        x_.resize(size_t(nhalf_));
        for (int r = 0; r < nhalf_; ++r) x_[size_t(r)] = 0.5 * (1.0 - std::cos(kPi * r / (nhalf_ - 1)));
        x_.front() = 0.0;
        x_.back() = 1.0;
    }

    int npt() const { return npt_; }
    const std::vector<double>& x() const { return x_; }

    Section build(int k) const {
        const int nsec = o_.sections;
        const double eta = nsec > 1 ? double(k) / (nsec - 1) : 0.0;
        Section s{};
        s.number = o_.kte1 + k;
        s.plan = kPlans[k % (sizeof kPlans / sizeof kPlans[0])];

        // Planform: 16 m half span from a 1.8 m side of body, 28 degrees of
        // leading-edge sweep, 7 m root chord tapering to 2 m.
        const double zRoot = 1.8, zTip = 16.0;
        s.z = zRoot + eta * (zTip - zRoot);
        s.zref = s.z / zTip;
        s.xle = (s.z - zRoot) * std::tan(28.0 * kPi / 180.0);
        s.b = 7.0 - 5.0 * eta;
        s.ep = 3.0 - 4.5 * eta;  // twist, washout toward the tip
        s.epd = s.ep;
        s.ple = 1.30 - 0.45 * eta;
        s.pte = 9.20 - 1.70 * eta;

        // Flow: suction grows from the root to mid span and falls off toward
        // the tip; the shock moves forward outboard. The Mach number sets how
        // strong the shock is.
        const double m = std::clamp((o_.mach - 0.60) / 0.18, 0.0, 1.4);
        const double load = 0.75 + 0.35 * std::sin(kPi * std::min(1.0, 0.2 + 0.9 * eta)) + 0.05 * o_.alpha;
        Flow f;
        f.plateau = -(0.55 + 0.45 * load) * (0.85 + 0.15 * m);
        f.peak = 0.25 + 0.25 * load * (1.0 - 0.5 * eta);
        f.shockX = 0.60 - 0.15 * eta;
        f.shockJump = 0.10 + 0.45 * m * load;
        f.shockWidth = 0.012 + 0.02 * (1.0 - std::min(1.0, m));
        f.rearLoad = 0.22 - 0.10 * eta;
        f.teCp = 0.16 - 0.04 * eta;

        s.cptu.resize(size_t(nhalf_));
        s.cptl.resize(size_t(nhalf_));
        for (int r = 0; r < nhalf_; ++r) {
            double x = x_[size_t(r)];
            s.cptu[size_t(r)] = upperCp(f, x);
            s.cptl[size_t(r)] = lowerCp(f, x);
        }
        // Both surfaces meet at the leading-edge point of the first row.
        s.cptl.front() = s.cptu.front();
        s.cpdu.assign(size_t(nhalf_), 0.0);
        s.cpdl.assign(size_t(nhalf_), 0.0);

        // Intervals. Upper points nhalf+1 .. 2*nhalf run from the leading to
        // the trailing edge (row r is point nhalf+1+r); lower points 1 .. nhalf
        // run from the trailing to the leading edge (row r is point nhalf-r).
        // The explicit intervals stay inside the default limits.
        const int rowFront = std::max(2, rowAt(0.08));
        const int rowBack = std::min(nhalf_ - 4, rowAt(0.82));
        const int upperFirst = nhalf_ + 1 + rowFront, upperLast = nhalf_ + 1 + rowBack;
        const int lowerFirst = nhalf_ - std::min(nhalf_ - 4, rowAt(0.90));  // nearer the trailing edge
        const int lowerLast = nhalf_ - std::max(2, rowAt(0.25));
        writeInterval(s.plan.upper, upperFirst, upperLast, s.iu1, s.iu2);
        writeInterval(s.plan.lower, lowerFirst, lowerLast, s.il1, s.il2);

        // The points the editor takes the interval to cover, as 1-based point
        // numbers (0 in the file stands for the default limit).
        const int u1 = s.iu1 ? s.iu1 - ioff_ : nhalf_ + 3;
        const int u2 = s.iu2 ? s.iu2 - ioff_ : npt_ - 3;
        const int l1 = s.il1 ? s.il1 - ioff_ : 4;
        const int l2 = s.il2 ? s.il2 - ioff_ : nhalf_ - 2;

        // Design Cp of "Cp edition" surfaces: over the interval the upper
        // shock is smeared into an isentropic recovery and the lower rear
        // loading is raised a little; at the interval ends the design Cp joins
        // the initial one.
        if (s.plan.upper.regime == kCpEdition) {
            Flow soft = f;
            soft.shockWidth = 0.09;
            soft.peak *= 0.8;
            soft.plateau *= 0.95;
            // Upper point p is row p - nhalf - 1.
            fillDesign(s.cptu, s.cpdu, u1 - nhalf_ - 1, u2 - nhalf_ - 1,
                       [&](double x) { return upperCp(soft, x); });
        }
        if (s.plan.lower.regime == kCpEdition) {
            Flow more = f;
            more.rearLoad *= 1.35;
            // Lower point p is row nhalf - p; point l2 is the one nearest the
            // leading edge.
            fillDesign(s.cptl, s.cpdl, nhalf_ - l2, nhalf_ - l1, [&](double x) { return lowerCp(more, x); });
        }

        s.cn = normalForce(x_, s.cptu, s.cptl);
        std::vector<double> du = s.cptu, dl = s.cptl;
        for (int r = 0; r < nhalf_; ++r) {
            if (s.cpdu[size_t(r)] != 0.0) du[size_t(r)] = s.cpdu[size_t(r)];
            if (s.cpdl[size_t(r)] != 0.0) dl[size_t(r)] = s.cpdl[size_t(r)];
        }
        s.cyd = normalForce(x_, du, dl);
        return s;
    }

private:
    // First row whose X is at or behind x.
    int rowAt(double x) const {
        return int(std::lower_bound(x_.begin(), x_.end(), x) - x_.begin());
    }

    // Point numbers of the file: 1-based point number + ITE1 - 1 (never 0,
    // as ITE1 is at least 1).
    void writeInterval(const SurfacePlan& p, int first, int last, int& i1, int& i2) const {
        bool explicitStart = p.form == kExplicit || p.form == kDefaultEnd;
        bool explicitEnd = p.form == kExplicit || p.form == kDefaultStart;
        i1 = explicitStart ? first + ioff_ : 0;
        i2 = explicitEnd ? last + ioff_ : 0;
    }

    // Blends the target into the design Cp over rows [r0, r1] (clamped), with
    // a weight that vanishes at both ends.
    template <class Target>
    void fillDesign(const std::vector<double>& init, std::vector<double>& design, int r0, int r1,
                    Target target) const {
        r0 = std::max(0, r0);
        r1 = std::min(nhalf_ - 1, r1);
        if (r0 > r1) return;
        double xa = x_[size_t(r0)], xb = x_[size_t(r1)];
        for (int r = r0; r <= r1; ++r) {
            double x = x_[size_t(r)];
            double w = xb > xa ? std::sin(kPi * (x - xa) / (xb - xa)) : 0.0;
            w *= w;
            double cp = init[size_t(r)] + w * (target(x) - init[size_t(r)]);
            design[size_t(r)] = nonZero(std::round(cp * 1e4) / 1e4);
        }
    }

    const Options& o_;
    int nhalf_, npt_, ioff_;
    std::vector<double> x_;
};

void writeWing(const Options& o, std::ostream& out) {
    WingBuilder wing(o);
    const int ite2 = o.ite1 + wing.npt();
    const int kte2 = o.kte1 + o.sections - 1;
    auto emit = [&](const Line& l) { out << l.text() << '\n'; };

    // Head.
    {
        std::string title = "SWEPT TRANSONIC WING  " + std::to_string(o.sections) + " SECTIONS  " +
                            std::to_string(o.points) + " POINTS PER SURFACE  M=" + quarvel::formatFixed(o.mach, 3);
        emit(Line(title));
        emit(Line("                               MACH                               ALPHA"));
        Line l3;
        l3.putReal(29, 35, o.mach, 4);
        l3.putReal(65, 71, o.alpha, 4);
        emit(l3);
        emit(Line("      ITE1      ITE2      KTE1      KTE2"));
        Line l5;
        l5.putCount(1, 10, o.ite1);
        l5.putCount(11, 20, ite2);
        l5.putCount(21, 30, o.kte1);
        l5.putCount(31, 40, kte2);
        emit(l5);
    }

    for (int k = 0; k < o.sections; ++k) {
        Section s = wing.build(k);
        emit(Line());

        Line l2("SECTION N =       ZREF =         Z =              CN =              EP =        ");
        std::string num = std::to_string(s.number);
        l2.place(num.size() <= 2 ? 15 - int(num.size()) : 13, num);
        l2.putReal(25, 31, s.zref, 4);
        l2.putReal(37, 47, s.z, 4);
        l2.putReal(56, 66, s.cn, 4);
        l2.putReal(73, 80, s.ep, 4);
        emit(l2);

        Line l3("<   CYD  ><   EPD  >             PLE =               PTE =");
        l3.putReal(39, 49, s.ple, 2);
        l3.putReal(59, 69, s.pte, 2);
        emit(l3);

        Line l4("                                 XLE =               B =");
        l4.putReal(1, 10, s.cyd, 5);
        l4.putReal(11, 20, s.epd, 5);
        l4.putReal(39, 49, s.xle, 4);
        l4.putReal(57, 67, s.b, 4);
        emit(l4);

        Line l5("                  <   RU   >                   <   RL   >");
        emit(l5);
        Line l6;
        l6.putCount(19, 28, fileCode(s.plan.upper.regime));
        l6.putCount(48, 57, fileCode(s.plan.lower.regime));
        emit(l6);

        emit(Line("                  <   IU1  ><   IU2  >          <  IL1   ><  IL2   >"));
        Line l8;
        l8.putCount(19, 28, s.iu1);
        l8.putCount(29, 38, s.iu2);
        l8.putCount(49, 58, s.il1);
        l8.putCount(59, 68, s.il2);
        emit(l8);

        emit(Line("    X          I  <  CPTU  ><  CPDU  >       I  <  CPTL  ><  CPDL  >"));
        const int nhalf = o.points;
        for (int r = 0; r < nhalf; ++r) {
            Line row;
            // Point numbers as the file numbers them: index i is ITE1 + i.
            row.putReal(1, 10, wing.x()[size_t(r)], 6);
            row.putInt(11, 18, o.ite1 + nhalf + r);
            row.putReal(19, 28, s.cptu[size_t(r)], 4);
            row.putReal(29, 38, s.cpdu[size_t(r)], 4);
            row.putInt(39, 47, o.ite1 + nhalf - 1 - r);
            row.putReal(48, 57, s.cptl[size_t(r)], 4);
            row.putReal(58, 67, s.cpdl[size_t(r)], 4);
            emit(row);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options o = parseArgs(argc, argv);
    try {
        std::ofstream out(o.out, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::fprintf(stderr, "quarvel-genwing: cannot write %s: %s\n", o.out.c_str(), std::strerror(errno));
            return 1;
        }
        writeWing(o, out);
        out.close();
        if (!out) {
            std::fprintf(stderr, "quarvel-genwing: writing %s failed\n", o.out.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quarvel-genwing: %s\n", e.what());
        std::remove(o.out.c_str());
        return 1;
    }
    return 0;
}
