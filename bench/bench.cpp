// Times the jobs whose speed a user feels, on a large wing and on the
// 12-section example, and prints one "name value" line per figure (medians
// of several runs). Ratios compare a job with the physical floor of the same
// job measured in the same run.
//
//   quarvel-bench LARGE.cpi SMALL.cpi SCRATCH-DIR [BIG.cpi]
//
// BIG.cpi, when given, is the 1000 x 2000 wing of the *_big_* figures.
#include <fx.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/gui/TestWindow.h"
#include "planform/Isobars.h"
#include "view3d/GLView3D.h"
#include "wing/CpFiles.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median wall time of runs of job, in microseconds.
double medianMicros(int runs, const std::function<void()>& job) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        job();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The file's bytes, in as few reads as its size allows.
std::string readBytes(const std::string& path) {
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        bytes.resize(std::size_t(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

// The floor of reading a file: its bytes and their split into lines.
std::size_t readAndSplit(const std::string& path) {
    const std::string bytes = readBytes(path);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', start)) {
        lines.emplace_back(bytes.data() + start, i - start);
        start = i + 1;
    }
    return lines.size();
}

void print(const char* name, double value) { std::printf("%s %.3f\n", name, value); }

// The cost of opening and saving the file against its floor, as ratios.
struct FileRatios {
    double openUs = 0, openFloorUs = 0, saveUs = 0, saveFloorUs = 0;
};
FileRatios fileRatios(const std::string& path, const std::string& scratch, int runs) {
    FileRatios r;
    quarvel::FileError err;
    r.openUs = medianMicros(runs, [&] { quarvel::readCpInput(path, &err); });
    r.openFloorUs = medianMicros(runs, [&] { readAndSplit(path); });
    quarvel::WingModel wing = *quarvel::readCpInput(path, &err);
    const std::string out = scratch + "/bench.cpd";
    r.saveUs = medianMicros(runs, [&] { quarvel::saveCpOutput(wing, out, &err); });
    const std::string text = readBytes(out);
    r.saveFloorUs = medianMicros(runs, [&] {
        if (FILE* f = std::fopen((scratch + "/floor.cpd").c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    });
    return r;
}

// The current section's upper surface in "Cp edition" over its widest
// interval, edited by a spline.
void splineOverUpperSurface(TestWindow* window) {
    quarvel::WingModel& w = window->wing;
    const int k = w.curSection - 1;
    w.u1[k] = w.u1Min;
    w.u2[k] = w.u2Max;
    w.surfMode[k][0] = quarvel::MODE_CP_EDITION;
    window->applyPanel();
    window->splineCheck[0]->setCheck(true);
    window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SPLINE), nullptr);
}

// A mouse event in the plot at chord position x and Cp.
void mouseInPlot(TestWindow* window, FXSelType type, double x, double cp) {
    FXEvent ev{};
    ev.win_x = FXint(window->plotTransform.columnOf(x));
    ev.win_y = FXint(window->plotTransform.rowOf(cp));
    window->handle(window->canvas, FXSEL(type, Quarvel::ID_CANVAS), &ev);
}

}  // namespace

int main(int argc, char* argv[]) {
    FXApp app("Quarvel", "FOX Quarvel");
    app.init(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: quarvel-bench LARGE.cpi SMALL.cpi SCRATCH-DIR [BIG.cpi]\n");
        return 2;
    }
    const std::string large = argv[1], small = argv[2], scratch = argv[3], big = argc > 4 ? argv[4] : "";
    const int runs = 15;

    // Files.
    quarvel::FileError err;
    const double openUs = medianMicros(runs, [&] { quarvel::readCpInput(large, &err); });
    const double readFloorUs = medianMicros(runs, [&] { readAndSplit(large); });
    quarvel::WingModel wing = *quarvel::readCpInput(large, &err);
    const std::string out = scratch + "/bench.cpd";
    const double saveUs = medianMicros(runs, [&] { quarvel::saveCpOutput(wing, out, &err); });
    const std::string text = readBytes(out);
    const double writeFloorUs = medianMicros(runs, [&] {
        if (FILE* f = std::fopen((scratch + "/floor.cpd").c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    });
    print("open_ms", openUs / 1000);
    print("open_ratio", openUs / readFloorUs);
    print("open_floor_ms", readFloorUs / 1000);
    print("save_ms", saveUs / 1000);
    print("save_ratio", saveUs / writeFloorUs);
    print("save_floor_ms", writeFloorUs / 1000);
    print("model_bytes_ratio", double(wing.allocatedBytes()) / (4.0 * wing.npt * wing.nsec * 8.0));
    quarvel::WingModel example = *quarvel::readCpInput(small, &err);
    print("small_open_ms", medianMicros(runs, [&] { quarvel::readCpInput(small, &err); }) / 1000);
    print("small_save_ms", medianMicros(runs, [&] { quarvel::saveCpOutput(example, out, &err); }) / 1000);
    print("small_model_bytes_ratio", double(example.allocatedBytes()) / (4.0 * example.npt * example.nsec * 8.0));

    // The plot and the drag, in the real window on the display.
    TestWindow* window = new TestWindow(&app);
    app.create();
    if (!window->openFile(large.c_str())) return 1;
    window->chooseSection(2);
    const double redrawUs = medianMicros(runs * 3, [&] {
        window->drawCpPlot();
        app.flush(true);
    });
    print("redraw_us", redrawUs);
    TestWindow* smallWindow = new TestWindow(&app);
    smallWindow->create();
    if (!smallWindow->openFile(small.c_str())) return 1;
    print("small_redraw_us", medianMicros(runs * 3, [&] {
              smallWindow->drawCpPlot();
              app.flush(true);
          }));
    delete smallWindow;

    // Spline over the widest upper interval, then drag control point 1.
    quarvel::WingModel& w = window->wing;
    const int k = w.curSection - 1;
    splineOverUpperSurface(window);
    auto mouse = [&](FXSelType type, double x, double cp) { mouseInPlot(window, type, x, cp); };
    const double px = w.splX[1][k][0], py = w.splY[1][k][0];
    mouse(SEL_MOTION, px, py);
    mouse(SEL_LEFTBUTTONPRESS, px, py);
    int step = 0;
    const double dragUs = medianMicros(runs * 3, [&] {
        mouse(SEL_MOTION, px, py + 0.01 * (++step % 20));
        app.flush(true);
    });
    mouse(SEL_LEFTBUTTONRELEASE, px, py);
    print("drag_us", dragUs);
    print("drag_interval_points", w.u2[k] - w.u1[k] + 1);

    // The same drag with the 3D view open: each step, then whatever the
    // event loop runs of the 3D view's work (its strip update and its
    // paints, one per frame at most), and the paint of the last step.
    window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_3DVIEW), nullptr);
    GLView3D* view = window->view3D;
    app.runWhileEvents();
    view->drawScene();
    mouse(SEL_MOTION, px, py);
    mouse(SEL_LEFTBUTTONPRESS, px, py);
    // The mean over a stroke of steps, the median of several strokes.
    const int steps = runs * 3;
    print("drag3d_us", medianMicros(5, [&] {
              for (int i = 0; i < steps; ++i) {
                  mouse(SEL_MOTION, px, py + 0.01 * (++step % 20));
                  app.flush(true);
                  app.runWhileEvents();
              }
              // The paint still pending, at once rather than after its timer.
              if (view->refreshPending()) view->drawScene();
          }) / steps);
    mouse(SEL_LEFTBUTTONRELEASE, px, py);
    print("mesh_ms", medianMicros(runs, [&] { view->fillMesh(); }) / 1000);
    print("paint3d_ms", medianMicros(runs, [&] {
              view->drawScene();
              app.flush(true);
          }) / 1000);

    // A turning drag: each motion and the paint it brings, at the reduced
    // detail the drag chooses.
    auto drag = [&](FXSelType type, int x) {
        FXEvent ev{};
        ev.last_x = x;
        ev.last_y = 200;
        view->handle(view, FXSEL(type, GLView3D::ID_CANVAS), &ev);
    };
    int x = 300;
    drag(SEL_LEFTBUTTONPRESS, x);
    print("rotate_frame_ms", medianMicros(runs * 3, [&] {
              drag(SEL_MOTION, x -= 4);
              view->drawScene();
              app.flush(true);
          }) / 1000);
    print("rotate_stride", view->lastPaintStride());
    drag(SEL_LEFTBUTTONRELEASE, x);

    if (!big.empty()) {
        const FileRatios f = fileRatios(big, scratch, 5);
        print("open_big_ms", f.openUs / 1000);
        print("open_big_ratio", f.openUs / f.openFloorUs);
        print("save_big_ms", f.saveUs / 1000);
        print("save_big_ratio", f.saveUs / f.saveFloorUs);
        // The 3D view of the 1000 x 2000 wing: a full paint, a turning
        // frame, and the memory the view holds over the model's.
        TestWindow* bigWindow = new TestWindow(&app);
        bigWindow->create();
        if (!bigWindow->openFile(big.c_str())) return 1;
        bigWindow->handle(bigWindow, FXSEL(SEL_COMMAND, Quarvel::ID_3DVIEW), nullptr);
        GLView3D* bigView = bigWindow->view3D;
        // The pane made for the wing read gets its size.
        bigWindow->layout();
        app.runWhileEvents();
        print("paint3d_big_ms", medianMicros(runs, [&] {
                  bigView->drawScene();
                  app.flush(true);
              }) / 1000);
        auto turn = [&](FXSelType type, int tx) {
            FXEvent ev{};
            ev.last_x = tx;
            ev.last_y = 200;
            bigView->handle(bigView, FXSEL(type, GLView3D::ID_CANVAS), &ev);
        };
        int tx = 300;
        turn(SEL_LEFTBUTTONPRESS, tx);
        print("rotate_big_ms", medianMicros(runs * 3, [&] {
                  turn(SEL_MOTION, tx -= 4);
                  bigView->drawScene();
                  app.flush(true);
              }) / 1000);
        turn(SEL_LEFTBUTTONRELEASE, tx);
        print("mesh_big_bytes_ratio", double(bigView->bytes()) / double(bigWindow->wing.allocatedBytes()));

        // A drag in the plot with the 3D view, the isobars and the spanload
        // shown: each step and what the event loop runs of the panes' work,
        // then the drawing still pending at the end of the stroke, at once
        // rather than after its timer.
        if (!bigWindow->isobarsShown()) return 1;
        for (int pane = 0; pane < quarvel::kPanes; ++pane)
            if (!bigWindow->paneShown(pane)) return 1;
        bigWindow->chooseSection(bigWindow->wing.nsec / 2);
        app.runWhileEvents();
        splineOverUpperSurface(bigWindow);
        quarvel::WingModel& bw = bigWindow->wing;
        const int bk = bw.curSection - 1;
        const double bx = bw.splX[1][bk][0], by = bw.splY[1][bk][0];
        mouseInPlot(bigWindow, SEL_MOTION, bx, by);
        mouseInPlot(bigWindow, SEL_LEFTBUTTONPRESS, bx, by);
        int bigStep = 0;
        print("drag_all_big_us", medianMicros(3, [&] {
                  for (int i = 0; i < steps; ++i) {
                      mouseInPlot(bigWindow, SEL_MOTION, bx, by + 0.01 * (++bigStep % 20));
                      app.flush(true);
                      app.runWhileEvents();
                  }
                  if (bigView->refreshPending()) bigView->drawScene();
                  if (bigWindow->panesPending()) bigWindow->refreshPanes();
              }) / steps);
        mouseInPlot(bigWindow, SEL_LEFTBUTTONRELEASE, bx, by);
        delete bigWindow;
    }

    // Every isobar of the large wing at a step of 0.1: both surfaces, the
    // initial and the design Cp.
    print("isobars_ms", medianMicros(runs, [&] {
              for (int surface = 0; surface < 2; ++surface)
                  for (bool design : {false, true}) {
                      const quarvel::ContourField f = quarvel::surfaceField(w, surface, design);
                      quarvel::traceIsobars(f, quarvel::isobarLevels(f, 0.1));
                  }
          }) / 1000);
    return 0;
}
