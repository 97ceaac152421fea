// Fuzz target: arbitrary sequences of the correction panel's commands and of
// mouse events on the Cp plot, decoded from the input bytes and replayed on
// an example wing as the main window runs them. After every step the wing,
// the mouse state and the panel must be sound; every so often, and at the
// end, the wing is saved and its CpOutput text must read back.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "correction/CorrectionPanel.h"
#include "correction/Editing.h"
#include "plot/CpPlot.h"

using namespace quarvel;

namespace {

// Read once: the transonic example wing and the small odd wing with its 1-
// and 2-point intervals.
const std::vector<WingModel>& wings() {
    static const std::vector<WingModel> loaded = [] {
        std::vector<WingModel> v;
        for (const char* path : {QUARVEL_EXAMPLES "/wing12.cpi", QUARVEL_TEST_DATA "/small-odd.cpi"}) {
            FileError err;
            auto w = readCpInput(path, &err);
            if (!w) fuzz::fail(err.message());
            v.push_back(std::move(*w));
        }
        return v;
    }();
    return loaded;
}

// The input bytes as a stream of small values; past the end it gives zeros.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool done() const { return p_ == end_; }
    int byte() { return p_ == end_ ? 0 : *p_++; }
    int int8() { return static_cast<std::int8_t>(byte()); }
    int int16() { return static_cast<std::int16_t>(byte() | byte() << 8); }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// The main window's share of the work: its wing, mouse state and the plot of
// its last paint, whose transform the mouse reads. A redraw is painted when
// the mouse next needs the transform (or at the end), as painting at once would.
struct Window {
    const WingModel* loaded = nullptr;
    WingModel w;
    EditingState e;
    CpPlot plot;
    bool stale = true;
    int width = 600, height = 400;

    void redraw(Redraw r) {
        // After every command the window settles the selection.
        dropStaleSelection(w, k(), active(), e);
        if (r.plot) stale = true;
        if (r.controlPoints) {
            std::vector<PlotPrimitive> marks;
            addControlPoints(w, w.curSection - 1, transform(), e.selectedControlPoint, marks);
        }
    }
    const PlotTransform& transform() {
        if (stale) plot = buildCpPlot(w, w.curSection - 1, w.MACH, width, height, e.selectedControlPoint);
        stale = false;
        return plot.transform;
    }
    int k() const { return w.curSection - 1; }
    int active() const { return w.activeSurface[k()]; }
};

// A value for a point spinner: mostly near the points of the wing, sometimes
// anything an int can hold.
int shownValue(Bytes& in, const WingModel& w) {
    const int how = in.byte();
    if (how < 200) return w.ioff + in.int8();
    switch (how % 4) {
    case 0: return INT_MIN;
    case 1: return INT_MAX;
    case 2: return in.int16() * 65536 + in.int16();
    default: return w.ioff + w.npt + in.int8();
    }
}

double cpValue(Bytes& in) {
    const int v = in.int16();
    if (v == SHRT_MIN) return std::numeric_limits<double>::quiet_NaN();
    if (v == SHRT_MAX) return std::numeric_limits<double>::infinity();
    return v / 1000.0;
}

void save(Window& win, const char* when) {
    // Editing changes the design Cp, never the input it started from.
    const WingModel& loaded = *win.loaded;
    for (int i = 0; i < win.w.npt; ++i) {
        for (int k = 0; k < win.w.nsec; ++k)
            if (win.w.X[i][k] != loaded.X[i][k] || win.w.cpInit[i][k] != loaded.cpInit[i][k] ||
                win.w.cpdIn[i][k] != loaded.cpdIn[i][k])
                fuzz::fail(std::string(when) + ": X or the input Cp changed");
    }
    prepareOutput(win.w);
    fuzz::requireSound(test::wingFault(win.w), when);
    fuzz::requireReadsBack(win.w, when);
}

// Runs one command; returns what the window has to redraw.
Redraw step(Window& win, Bytes& in) {
    WingModel& w = win.w;
    EditingState& e = win.e;
    const int op = in.byte();
    switch (op % 16) {
    // Bytes are read in order, one statement each, so that the corpus means
    // the same with any compiler.
    case 0: { const int b = in.byte(); return chooseRegime(w, win.k(), b & 1, RegimeRadio((b >> 1) % 5)); }
    case 1: { const int b = in.byte(); return chooseCpOption(w, win.k(), b & 1, CpOption((b >> 1) & 1)); }
    case 2: return chooseSectionCorrection(w, win.k(), in.byte() & 1);
    case 3: { const auto which = IntervalEnd(in.byte() % 4); return setIntervalEnd(w, win.k(), e, which, shownValue(in, w)); }
    case 4: return choosePoint(w, win.k(), win.active(), shownValue(in, w));
    case 5: return setPointCp(w, win.k(), win.active(), cpValue(in));
    case 6: return setSplineCount(w, win.k(), win.active(), e, in.int8());
    case 7: return switchSpline(w, win.k(), win.active(), e, in.byte() & 1);
    case 8: return chooseSurface(w, win.k(), in.byte() % 4 - 1, e);  // -1 and 2 are no surface
    case 9: return chooseSection(w, e, in.int8());
    case 10: { const int x = in.int16(), y = in.int16(); return moveMouse(w, win.k(), win.active(), win.transform(), e, x, y); }
    case 11: { const int x = in.int16(), y = in.int16(); return pressMouse(w, win.k(), win.active(), win.transform(), e, x, y); }
    case 12: return releaseMouse(e);
    case 13: {
        // A drag that starts on (or near) a control point of the edited surface.
        const int j = in.byte() % w.nspl[win.k()][win.active()];
        const int s = win.active();
        const double dx0 = in.int8() / 16.0, dy0 = in.int8() / 16.0;
        const PlotTransform& t = win.transform();
        win.redraw(pressMouse(w, win.k(), s, t, e, t.columnOf(w.splX[j][win.k()][s]) + dx0, t.rowOf(w.splY[j][win.k()][s]) + dy0));
        for (int n = in.byte() % 4; n > 0; --n) {
            const double dx = in.int8(), dy = in.int8();
            const PlotTransform& now = win.transform();
            win.redraw(moveMouse(w, win.k(), s, now, e, now.columnOf(e.mousePlotX) + dx, now.rowOf(e.mousePlotCp) + dy));
        }
        return releaseMouse(e);
    }
    case 14:  // the canvas changes size; the next paint sets a new transform
        win.width = in.byte() * 5;
        win.height = in.byte() * 5;
        return Redraw{true, false, false, {}};
    default: return chooseSection(w, e, w.curSection + (op < 128 ? -1 : 1));  // Page Up, Page Down
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Bytes in(data, size);
    const std::vector<WingModel>& all = wings();
    Window win;
    win.loaded = &all[std::size_t(in.byte()) % all.size()];
    win.w = *win.loaded;

    constexpr int kMaxSteps = 4000;
    for (int n = 1; n <= kMaxSteps && !in.done(); ++n) {
        win.redraw(step(win, in));
        // The window shows panelOf(wing) after every command.
        const std::string fault = test::editingFault(win.w, panelOf(win.w, win.k()), win.e);
        if (!fault.empty()) fuzz::fail("after step " + std::to_string(n) + ": " + fault);
        if (n % 256 == 0) save(win, "saved on the way");
    }
    win.transform();
    save(win, "saved at the end");
    return 0;
}
