// The 3D view on a real display with software OpenGL: the mouse through the
// message map, pixels read back after a paint, refreshing, and a dialog that
// stays still when nothing happens.
#include <fx.h>
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fxkeys.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <vector>

#include "view3d/ColourMap.h"
#include "view3d/GLView3D.h"
#include "wing/CpFiles.h"

// The 3D view as its tests see it: its widgets and state, which the view
// keeps protected.
class TestView3D : public GLView3D {
public:
    using GLView3D::GLView3D;
    using GLView3D::backWell; using GLView3D::camera; using GLView3D::canvas; using GLView3D::colourByCpCheck;
    using GLView3D::frame; using GLView3D::layerCheck; using GLView3D::mesh; using GLView3D::paintCount;
    using GLView3D::planformButton; using GLView3D::squareButton; using GLView3D::upperInitFillColor;
};

namespace {

// Ends a nested event loop after a given time.
class Stopwatch : public FXObject {
    FXDECLARE(Stopwatch)
public:
    enum { ID_RING = 1 };
    FXuint rung = 0;
    long onRing(FXObject*, FXSelector, void*) {
        rung = 1;
        return 1;
    }
    void run(FXApp* app, FXuint ms) {
        rung = 0;
        app->addTimeout(this, ID_RING, ms);
        app->runUntil(rung);
    }
};

FXDEFMAP(Stopwatch) StopwatchMap[] = {FXMAPFUNC(SEL_TIMEOUT, Stopwatch::ID_RING, Stopwatch::onRing)};

}  // namespace

FXIMPLEMENT(Stopwatch, FXObject, StopwatchMap, ARRAYNUMBER(StopwatchMap))

namespace {

using Rgb = std::array<int, 3>;

class View3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        quarvel::FileError err;
        auto read = quarvel::readCpInput((std::filesystem::path(QUARVEL_EXAMPLES) / "wing12.cpi").string(), &err);
        ASSERT_TRUE(read) << err.message();
        wing = std::move(*read);
        app = FXApp::instance();
        owner = new FXMainWindow(app, "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 750, 735);
        view = new TestView3D(owner, wing);
        owner->create();
        owner->show(PLACEMENT_SCREEN);
        settle();
    }
    void TearDown() override {
        delete view;
        delete owner;
    }

    // Lets the toolkit map, lay out and paint whatever is pending.
    void settle() { clock.run(app, 200); }
    // Up to two seconds for a paint after the count given (a loaded machine
    // may take a while).
    // Waits for a paint after the one counted, however slow a loaded machine
    // is to give it (up to a minute, which only a broken view takes).
    void awaitPaint(int after) {
        for (int i = 0; i < 600 && view->paintCount <= after; ++i) clock.run(app, 100);
    }

    void send(FXSelector type, int id, void* data = nullptr) { view->handle(view, FXSEL(type, id), data); }

    void mouse(FXSelector type, int lastX, int lastY, FXuint state = 0) {
        FXEvent e;
        e.last_x = lastX;
        e.last_y = lastY;
        e.state = state;
        send(type, GLView3D::ID_CANVAS, &e);
    }

    // Paints, then reads the canvas off the screen row by row, as the user
    // sees it (a 24-bit TrueColor server).
    std::vector<Rgb> picture() {
        view->drawScene();
        const int w = view->canvas->getWidth(), h = view->canvas->getHeight();
        XImage* image = XGetImage(static_cast<Display*>(app->getDisplay()), view->canvas->id(), 0, 0, w, h,
                                  AllPlanes, ZPixmap);
        std::vector<Rgb> out;
        for (int i = 0; image && i < w * h; ++i) {
            const unsigned long p = XGetPixel(image, i % w, i / w);
            out.push_back({int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)});
        }
        if (image) XDestroyImage(image);
        return out;
    }
    Rgb pixel(int x, int y) { return picture().at(std::size_t(y * view->canvas->getWidth() + x)); }

    // Where a point of the upper surface's quad (j, k) lands on the canvas,
    // from the top left: f of the way from P(j, k) to P(j+1, k+1).
    std::array<int, 2> quadPoint(int j, int k, double f = 0.5) {
        const quarvel::WingMesh& m = view->mesh;
        view->drawScene();
        view->canvas->makeCurrent();
        GLdouble proj[16], model[16], x, y, z;
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, proj);
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetIntegerv(GL_VIEWPORT, viewport);
        auto at = [&](const quarvel::Grid<double>& g) { return g[j][k] + f * (g[j + 1][k + 1] - g[j][k]); };
        gluProject(at(m.meshX), at(m.meshUpperInit), at(m.meshZ), model, proj, viewport, &x, &y, &z);
        view->canvas->makeNonCurrent();
        return {int(x), view->canvas->getHeight() - 1 - int(y)};
    }

    quarvel::WingModel wing;
    FXApp* app = nullptr;
    FXMainWindow* owner = nullptr;
    TestView3D* view = nullptr;
    Stopwatch clock;
};

// Rotation by a third of the pointer travel; Shift zooms by 1 - (fy - fx);
// Ctrl pans. Every step of a drag asks for a paint; nothing turns after the
// release; "Reset view" and Home bring the default camera back.
TEST_F(View3DTest, MouseTurnsZoomsAndPans) {
    view->canvas->resize(400, 500);

    const float rotX0 = view->camera.rotX, rotY0 = view->camera.rotY;
    mouse(SEL_LEFTBUTTONPRESS, 100, 100);
    mouse(SEL_MOTION, 70, 100);
    EXPECT_FLOAT_EQ(view->camera.rotY, rotY0 - 10);
    mouse(SEL_MOTION, 70, 70);
    EXPECT_FLOAT_EQ(view->camera.rotX, rotX0 - 10);

    mouse(SEL_MOTION, 70, 120, SHIFTMASK);  // fy = -0.1
    EXPECT_EQ(view->camera.orthoZoom, (std::array<float, 3>{1.1f, 1.1f, 1.1f}));
    // Ctrl pans: the pointer goes left and up, and so does the picture.
    const std::array<int, 2> before = quadPoint(10, 1);
    mouse(SEL_MOTION, 30, 70, CONTROLMASK);
    const std::array<int, 2> after = quadPoint(10, 1);
    EXPECT_LT(after[0], before[0]) << "the picture follows the pointer left";
    EXPECT_LT(after[1], before[1]) << "and up";
    EXPECT_FLOAT_EQ(view->camera.rotX, rotX0 - 10) << "zoom and pan do not turn";

    const int painted = view->paintCount;
    mouse(SEL_MOTION, 0, 70);
    awaitPaint(painted);
    EXPECT_GT(view->paintCount, painted) << "a drag repaints";

    const float rotY = view->camera.rotY;
    mouse(SEL_LEFTBUTTONRELEASE, 0, 0);
    mouse(SEL_MOTION, 0, 0);
    EXPECT_EQ(view->camera.rotY, rotY) << "no turn after the release";

    send(SEL_COMMAND, GLView3D::ID_RESET_VIEW);
    EXPECT_EQ(view->camera.rotY, quarvel::kDefaultRotY);
    view->camera.rotX = 0;
    FXEvent home{};
    home.code = KEY_Home;
    send(SEL_KEYPRESS, GLView3D::ID_CANVAS, &home);
    EXPECT_EQ(view->camera.rotX, quarvel::kDefaultRotX);
}

// Where on the colour scale (0 .. 1) a lit pixel's colour lies: the map's
// colour nearest to it in direction, whatever the light's brightness.
double scalePositionOf(const Rgb& c) {
    double best = -1, at = 0;
    for (int i = 0; i <= 100; ++i) {
        const quarvel::Rgb8 m = quarvel::mapColour(i / 100.0);
        const double dot = c[0] * m.r + c[1] * m.g + c[2] * m.b;
        const double cos = dot / std::sqrt((c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) * double(m.r * m.r + m.g * m.g + m.b * m.b) + 1e-9);
        if (cos > best) best = cos, at = i / 100.0;
    }
    return at;
}

// Seen from the front with "Colour by Cp", the upper surface rises from the
// stagnation line (highest Cp) to the suction peak (lowest Cp), each in the
// end of the map that the colour bar gives it. The background is the well's
// colour; without "Colour by Cp" the upper Cp-init fill shows in magenta,
// lit, and goes with its check button; a new colour shows at once and in the
// well.
TEST_F(View3DTest, PaintsWhatTheControlsSay) {
    const int fill = quarvel::meshLayers[0].control();
    for (int c = 0; c < 8; ++c) view->layerCheck[c]->setCheck(c == fill);
    view->camera.rotX = 20;
    view->camera.rotY = 90;
    const quarvel::WingMesh& m = view->mesh;
    const int k = m.meshSections / 2;
    int lowest = 0, highest = 0;
    for (int j = 0; j + 1 < m.meshPoints; ++j) {
        if (m.meshUpperInit[j][k] > m.meshUpperInit[lowest][k]) lowest = j;
        if (m.meshUpperInit[j][k] < m.meshUpperInit[highest][k]) highest = j;
    }
    const auto [lx, ly] = quadPoint(lowest, k, 0.1);
    const auto [hx, hy] = quadPoint(highest, k, 0.1);
    EXPECT_GT(scalePositionOf(pixel(lx, ly)), 0.85) << "suction peak, Cp " << -m.meshUpperInit[lowest][k];
    EXPECT_LT(scalePositionOf(pixel(hx, hy)), 0.15) << "stagnation, Cp " << -m.meshUpperInit[highest][k];

    send(SEL_COMMAND, GLView3D::ID_RESET_VIEW);
    EXPECT_EQ(pixel(2, 2), (Rgb{0, 255, 255}));
    view->colourByCpCheck->setCheck(FALSE);
    FXColor dark = FXRGB(10, 20, 30);
    const int painted = view->paintCount;
    send(SEL_COMMAND, GLView3D::ID_BACK_COLOR, reinterpret_cast<void*>(FXuval(dark)));
    awaitPaint(painted);
    EXPECT_GT(view->paintCount, painted) << "a new colour repaints";
    EXPECT_EQ(pixel(2, 2), (Rgb{10, 20, 30}));
    view->handle(view->backWell, FXSEL(SEL_UPDATE, GLView3D::ID_BACK_COLOR), nullptr);
    EXPECT_EQ(view->backWell->getRGBA(), dark);

    // Mid-chord, mid-span of the upper surface, zoomed so one quad covers
    // several pixels.
    for (float& z : view->camera.orthoZoom) z *= 4;
    const auto [x, y] = quadPoint(view->mesh.meshPoints / 2, view->mesh.meshSections / 2);
    ASSERT_GT(x, 0) << x << "," << y;
    ASSERT_GT(y, 0) << x << "," << y;
    ASSERT_LT(x, view->canvas->getWidth()) << x << "," << y;
    ASSERT_LT(y, view->canvas->getHeight()) << x << "," << y;
    const Rgb magenta = pixel(x, y);
    EXPECT_GT(magenta[0], magenta[1] + 60) << "lit";
    EXPECT_NEAR(magenta[0], magenta[2], 2);

    FXColor green = FXRGB(0, 255, 0);
    send(SEL_COMMAND, GLView3D::ID_UPPER_INIT_FILL_COLOR, reinterpret_cast<void*>(FXuval(green)));
    EXPECT_EQ(view->upperInitFillColor, green);
    const Rgb greenFill = pixel(x, y);
    EXPECT_GT(greenFill[1], greenFill[0] + 60);

    view->layerCheck[fill]->setCheck(FALSE);
    send(SEL_COMMAND, GLView3D::ID_UPPER_INIT_FILL);
    EXPECT_EQ(pixel(x, y), (Rgb{10, 20, 30}));
}

// A hidden view is not refreshed until shown again (the window's tests check
// that an edit reaches a shown one); the planform layout resets the camera
// and scales the height by the section's chord.
TEST_F(View3DTest, RefreshWaitsWhileHiddenAndTheLayoutResetsTheCamera) {
    mouse(SEL_LEFTBUTTONPRESS, 100, 100);
    mouse(SEL_MOTION, 70, 100);
    mouse(SEL_LEFTBUTTONRELEASE, 70, 100);
    const int row = wing.nhalf + 3;
    wing.cpInit[row][2] = -7.0;
    view->hide();
    wing.cpDes[row][2] = -8.0;
    view->refreshSurface();
    EXPECT_NE(view->mesh.meshUpperDes[3][2], 8.0) << "hidden";
    view->show();
    EXPECT_DOUBLE_EQ(view->mesh.meshUpperDes[3][2], 8.0) << "shown again";
    EXPECT_FLOAT_EQ(view->camera.rotY, quarvel::kDefaultRotY - 10) << "a refresh keeps the camera";

    send(SEL_COMMAND, GLView3D::ID_CP_ON_PLANFORM);
    EXPECT_TRUE(view->planformButton->getCheck()) << "planform view on";
    EXPECT_FALSE(view->squareButton->getCheck()) << "square view off";
    EXPECT_EQ(view->camera.rotY, quarvel::kDefaultRotY);
    EXPECT_FLOAT_EQ(view->frame.maxY, 8.0f * float(wing.B[2] / wing.B[0]));
}


// An edit reaches the shown view at its next frame, not at once; a view
// deleted with an edit waiting for its frame hears nothing more of it.
TEST_F(View3DTest, EditsArePaintedAtTheNextFrame) {
    const int row = wing.nhalf + 3, painted = view->paintCount;
    wing.cpDes[row][2] = -8.0;
    view->refreshSurface();
    EXPECT_NE(view->mesh.meshUpperDes[3][2], 8.0) << "before the frame";
    EXPECT_TRUE(view->refreshPending()) << "before the frame";
    awaitPaint(painted);
    EXPECT_DOUBLE_EQ(view->mesh.meshUpperDes[3][2], 8.0) << "at the frame";
    EXPECT_FALSE(view->refreshPending()) << "at the frame";

    wing.cpDes[row][2] = -9.0;
    view->refreshSurface();
    delete view;
    view = new TestView3D(owner, wing);
    view->create();
    settle();
    EXPECT_DOUBLE_EQ(view->mesh.meshUpperDes[3][2], 9.0) << "a new view reads the wing";
}

// The default view, in both projections and on a wide and a tall canvas,
// fills half the canvas's width or height with the wing and shows no black
// region larger than a few pixels; nor does the view from below, whose back
// faces are coloured like the front ones.
TEST_F(View3DTest, TheDefaultViewFitsTheWingAndNothingIsBlack) {
    const float down = quarvel::kDefaultRotX;
    for (auto [w, h, ortho, rotX] : {std::tuple{500, 300, true, down}, {300, 500, false, down}, {400, 400, true, -down}}) {
        view->canvas->resize(w, h);
        send(SEL_COMMAND, ortho ? GLView3D::ID_ORTHOGRAPHIC : GLView3D::ID_PERSPECTIVE);
        view->camera.rotX = rotX;
        const std::vector<Rgb> image = picture();
        ASSERT_EQ(image.size(), std::size_t(w * h));
        int x0 = w, x1 = -1, y0 = h, y1 = -1, largestBlack = 0;
        std::vector<char> seen(image.size(), 0);
        auto black = [&](int i) { return std::max({image[i][0], image[i][1], image[i][2]}) < 20; };
        for (int i = 0; i < w * h; ++i) {
            if (image[i] != Rgb{0, 255, 255})
                x0 = std::min(x0, i % w), x1 = std::max(x1, i % w), y0 = std::min(y0, i / w), y1 = std::max(y1, i / w);
            if (!black(i) || seen[i]) continue;
            std::vector<int> todo{i};  // flood fill of one black region
            int size = seen[i] = 1;
            while (!todo.empty()) {
                const int p = todo.back();
                todo.pop_back();
                for (int q : {p - 1, p + 1, p - w, p + w})
                    if (q >= 0 && q < w * h && std::abs(q % w - p % w) <= 1 && !seen[q] && black(q))
                        seen[q] = 1, ++size, todo.push_back(q);
            }
            largestBlack = std::max(largestBlack, size);
        }
        EXPECT_TRUE(x1 - x0 >= w / 2 || y1 - y0 >= h / 2) << w << "x" << h << ": " << x1 - x0 << " x " << y1 - y0;
        EXPECT_LE(largestBlack, 6) << w << "x" << h << " rotX " << rotX;
        // Seen from above or below, the faces take the colours of their Cp,
        // not a flat grey: much of the box round the wing is coloured.
        int coloured = 0;
        for (const Rgb& p : image)
            if (p != Rgb{0, 255, 255} && std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) >= 40) ++coloured;
        EXPECT_GT(coloured, (x1 - x0) * (y1 - y0) / 6) << w << "x" << h << " rotX " << rotX;
    }
}

// Shown and left alone for a second, the view paints at most a couple of
// times, although the toolkit's GUI update passes (one after every burst of
// activity anywhere in the program) go over it ten times.
TEST_F(View3DTest, IdleViewDoesNotRepaint) {
    view->paintCount = 0;
    for (int i = 0; i < 10; ++i) {
        app->forceRefresh();
        clock.run(app, 100);
    }
    EXPECT_LE(view->paintCount, 2);
}

}  // namespace
