#include "view3d/GLView3D.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <fxkeys.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cmath>
#include <new>
#include <utility>

#include "draw/WindowIcon.h"
#include "flow/Aerodynamics.h"
#include "view3d/ColourMap.h"

// clang-format off
FXDEFMAP(GLView3D) GLView3DMap[] = {
    FXMAPFUNC (SEL_PAINT,             GLView3D::ID_CANVAS,                                              GLView3D::onPaintCanvas),
    FXMAPFUNC (SEL_LEFTBUTTONPRESS,   GLView3D::ID_CANVAS,                                              GLView3D::onLeftBtnPress),
    FXMAPFUNC (SEL_LEFTBUTTONRELEASE, GLView3D::ID_CANVAS,                                              GLView3D::onLeftBtnRelease),
    FXMAPFUNC (SEL_MOTION,            GLView3D::ID_CANVAS,                                              GLView3D::onMotion),
    FXMAPFUNC (SEL_CONFIGURE,         GLView3D::ID_CANVAS,                                              GLView3D::onConfigureCanvas),
    FXMAPFUNCS(SEL_COMMAND,           GLView3D::ID_ORTHOGRAPHIC,     GLView3D::ID_PERSPECTIVE,          GLView3D::onCmdProjection),
    FXMAPFUNCS(SEL_COMMAND,           GLView3D::ID_CP_ON_SQUARE,     GLView3D::ID_CP_ON_PLANFORM,       GLView3D::onCmdLayout),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_BACK_COLOR,                                          GLView3D::onCmdColor),
    FXMAPFUNC (SEL_CHANGED,           GLView3D::ID_BACK_COLOR,                                          GLView3D::onCmdColor),
    FXMAPFUNC (SEL_UPDATE,            GLView3D::ID_BACK_COLOR,                                          GLView3D::onUpdColor),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT1,                                              GLView3D::onCmdLight),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT1_INTENSITY,                                    GLView3D::onCmdRepaint),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT2,                                              GLView3D::onCmdLight),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT2_INTENSITY,                                    GLView3D::onCmdRepaint),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT3,                                              GLView3D::onCmdLight),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_LIGHT3_INTENSITY,                                    GLView3D::onCmdRepaint),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_SHOW_LIGHTS,                                         GLView3D::onCmdRepaint),
    FXMAPFUNCS(SEL_COMMAND,           GLView3D::ID_UPPER_INIT_GRID,  GLView3D::ID_LOWER_DES_FILL_COLOR, GLView3D::onCmdLayerControl),
    FXMAPFUNCS(SEL_CHANGED,           GLView3D::ID_UPPER_INIT_GRID,  GLView3D::ID_LOWER_DES_FILL_COLOR, GLView3D::onCmdLayerControl),
    // Only the wells among these answer their update; the check buttons are left alone.
    FXMAPFUNCS(SEL_UPDATE,            GLView3D::ID_UPPER_INIT_GRID,  GLView3D::ID_LOWER_DES_FILL_COLOR, GLView3D::onUpdColor),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_RESET_VIEW,                                          GLView3D::onCmdResetView),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_COLOUR_BY_CP,                                        GLView3D::onCmdColourByCp),
    FXMAPFUNC (SEL_PAINT,             GLView3D::ID_COLOUR_BAR,                                          GLView3D::onPaintColourBar),
    FXMAPFUNC (SEL_TIMEOUT,           GLView3D::ID_REFRESH,                                             GLView3D::onRefresh),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_COLOUR_BY,                                           GLView3D::onCmdColourBy),
    FXMAPFUNC (SEL_KEYPRESS,          GLView3D::ID_CANVAS,                                              GLView3D::onCanvasKey),
    FXMAPFUNC (SEL_COMMAND,           GLView3D::ID_CONTROLS,                                            GLView3D::onCmdControls),
};
// clang-format on

FXIMPLEMENT(GLView3D, FXVerticalFrame, GLView3DMap, ARRAYNUMBER(GLView3DMap))

FXColor GLView3D::* const GLView3D::layerColors[8] = {
    &GLView3D::upperInitGridColor, &GLView3D::upperInitFillColor, &GLView3D::upperDesGridColor,
    &GLView3D::upperDesFillColor,  &GLView3D::lowerInitGridColor, &GLView3D::lowerInitFillColor,
    &GLView3D::lowerDesGridColor,  &GLView3D::lowerDesFillColor,
};

namespace {

constexpr FXuint kWellStyle = FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X;

// Initial intensity of each light, percent.
constexpr int kLightStart[3] = {90, 70, 50};

// Ridged, filling the column, tight enough for the whole column to fit the
// dialog's height.
FXGroupBox* group(FXComposite* parent, const char* title) {
    return new FXGroupBox(parent, title, FRAME_RIDGE | LAYOUT_FILL_X, 0, 0, 0, 0, 4, 4, 2, 2);
}

const GLenum kLight[3] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2};

// Marker colour of each light: red, blue, green.
const GLfloat kMarkerColor[3][4] = {{1, 0, 0, 1}, {0, 0, 1, 1}, {0, 1, 0, 1}};

void setGrey(GLenum what, float level) {
    const GLfloat c[4] = {level, level, level, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, what, c);
}

void setDiffuse(FXColor color) {
    const GLfloat c[4] = {FXREDVAL(color) / 255.0f, FXGREENVAL(color) / 255.0f, FXBLUEVAL(color) / 255.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c);
}

// Quads a drag frame may draw; a grid line costs about as much as a quad.
constexpr long long kDragBudgetQuads = 30000;
// A drag frame slower than this makes the next ones coarser.
constexpr double kDragFrameMs = 30.0;

// Lit colours stay close to the colour bar's where the surface faces the
// light half way, and the side turned away keeps most of its colour.
const GLfloat kSceneAmbient[4] = {0.35f, 0.35f, 0.35f, 1.0f};

// Software GL bins each paint of a large wing into some tens of megabytes
// that it frees again when the paint is done. The C library would hand that
// memory back to the system at once, and the next paint would fault it in
// again page by page, which costs more than the drawing itself; keep it
// (and large blocks on the heap) for the paints to come.
void keepPaintMemory() {
#ifdef __GLIBC__
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        return true;
    }();
    (void)done;
#endif
}

// The pane the view sizes its first mesh for, pixels each way.
constexpr int kFirstPane = 600;
// The quads of the largest pane a screen holds: the most the view builds.
const long long kLargestPaneQuads = quarvel::quadBudget(3840, 2160);
// Edits are painted at most this often, milliseconds: one displayed frame.
constexpr FXuint kFrameMs = 16;
// Nor more often than every this many paint times: during a stream of edits
// (a drag in the plot) the view takes at most about a ninth of the time,
// and the plot keeps up with the mouse.
constexpr double kPaintsApart = 8.0;

int gridStride(int count) { return (count + quarvel::kGridLinesMax - 1) / quarvel::kGridLinesMax; }

int layerControlOf(FXSelector sel) { return (FXSELID(sel) - GLView3D::ID_UPPER_INIT_GRID) / 2; }
bool isColorWellId(FXSelector sel) { return (FXSELID(sel) - GLView3D::ID_UPPER_INIT_GRID) % 2 == 1; }

}  // namespace

GLView3D::GLView3D(FXComposite* parent, const quarvel::WingModel& w)
    : FXVerticalFrame(parent, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2), wing(&w) {
    glVisual = new FXGLVisual(getApp(), VISUAL_DOUBLEBUFFER);
    buildWidgets();

    keepPaintMemory();
    // Until the pane has its size: the whole wing at the detail of a
    // pane of this size.
    try {
        quarvel::fillMesh(mesh, w, quarvel::MeshLayout::Square,
                          quarvel::sampleDetail(0, w.nhalf - 1, 0, w.nsec - 1,
                                                quarvel::quadBudget(kFirstPane, kFirstPane) / 2));
    } catch (const std::bad_alloc&) {
        dropMesh();
    }
    fillMesh();
    resetView();
    initLights();
}

std::size_t GLView3D::bytesFor(const quarvel::WingModel& w) {
    // Per station of the mesh: six grids of doubles; four surfaces of
    // positions and normals (floats) and colours (bytes), twice over with
    // the GL buffers; the triangle and grid line indices, twice over too.
    constexpr std::size_t kPerStation = 6 * 8 + 2 * 4 * (6 * 4 + 3) + 2 * 2 * 6 * 4;
    // What the software GL driver maps and allocates when it starts.
    constexpr std::size_t kDriver = std::size_t(64) << 20;
    const long long stations = (long long)std::max(w.nhalf, 0) * std::max(w.nsec, 0);
    return std::size_t(std::min(stations, kLargestPaneQuads)) * kPerStation + kDriver;
}

std::size_t GLView3D::bytes() const {
    std::size_t b = 6 * sizeof(double) * std::size_t(mesh.meshPoints) * std::size_t(std::max(mesh.meshSections, 0));
    for (const quarvel::SurfaceArrays& a : surfaceArrays)
        b += 2 * ((a.position.capacity() + a.normal.capacity()) * sizeof(float) + a.colour.capacity());
    for (const auto& counts : indexCount) b += 2 * sizeof(unsigned) * std::size_t(counts[0] + counts[1]);
    b += digests.capacity() * sizeof(unsigned long long) + sectionRanges.capacity() * sizeof(quarvel::CpRange);
    b += (mesh.stations.capacity() + mesh.sections.capacity()) * sizeof(int);
    return b;
}

void GLView3D::setWing(const quarvel::WingModel& w) {
    wing = &w;
    memoryFault = FXString();
    freeBuffers();
    mesh = quarvel::WingMesh{};
    for (quarvel::SurfaceArrays& a : surfaceArrays) a = quarvel::SurfaceArrays{};
    try {
        quarvel::allocateMesh(mesh, w.nhalf, w.nsec);
    } catch (const std::bad_alloc&) {
        dropMesh();
    }
    fillMesh();
    resetView();
    repaint();
}

void GLView3D::freeBuffers() {
    if (canvas && canvas->id() && canvas->makeCurrent()) {
        for (unsigned& b : surfaceBuffer)
            if (b) glDeleteBuffers(1, &b);
        for (auto& detail : indexBuffer)
            for (unsigned& b : detail)
                if (b) glDeleteBuffers(1, &b);
        canvas->makeNonCurrent();
    }
    if (canvas && canvas->id() && labelLists && canvas->makeCurrent()) {
        glDeleteLists(labelLists, 128);
        canvas->makeNonCurrent();
    }
    labelLists = 0;
    for (unsigned& b : surfaceBuffer) b = 0;
    for (auto& detail : indexBuffer) detail[0] = detail[1] = 0;
    for (auto& counts : indexCount) counts[0] = counts[1] = 0;
    reducedStride = 0;
}

GLView3D::~GLView3D() {
    // A paint still waiting for its frame must not reach a deleted view.
    getApp()->removeTimeout(this, ID_REFRESH);
    freeBuffers();
    delete labelFont;
    // The canvas must go before its visual; the other children go with the
    // pane.
    delete canvas;
    canvas = nullptr;
    delete glVisual;
}

FXColor& GLView3D::layerColor(int control) { return this->*layerColors[control]; }

void GLView3D::buildWidgets() {
    buildToolbar();
    FXHorizontalFrame* row = new FXHorizontalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0);
    // The controls scroll beside the picture when the pane is short; they
    // show on "Controls".
    FXScrollWindow* controls = new FXScrollWindow(row, HSCROLLING_OFF | LAYOUT_SIDE_RIGHT | LAYOUT_FILL_Y);
    controlsColumn = controls;
    FXVerticalFrame* column =
        new FXVerticalFrame(controls, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4);
    FXVerticalFrame* viewArea = new FXVerticalFrame(row, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    FXVerticalFrame* sunken =
        new FXVerticalFrame(viewArea, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    FXHorizontalFrame* picture =
        new FXHorizontalFrame(sunken, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    colourBar = new FXCanvas(picture, this, ID_COLOUR_BAR, LAYOUT_SIDE_RIGHT | LAYOUT_FILL_Y | LAYOUT_FIX_WIDTH, 0,
                             0, 96, 0);
    colourBarBuffer.attach(colourBar);
    canvas = new FXGLCanvas(picture, glVisual, this, ID_CANVAS, LAYOUT_FILL_X | LAYOUT_FILL_Y);

    FXHorizontalFrame* back =
        new FXHorizontalFrame(column, FRAME_RIDGE | LAYOUT_FILL_X, 0, 0, 0, 0, 4, 4, 4, 4);
    new FXLabel(back, "Back Color:");
    backWell = new FXColorWell(back, backColor, this, ID_BACK_COLOR, kWellStyle);

    FXGroupBox* projection = group(column, "Projection");
    FXVerticalFrame* projectionFrame = new FXVerticalFrame(projection, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    orthographicButton = new FXRadioButton(projectionFrame, "Orthographic", this, ID_ORTHOGRAPHIC);
    perspectiveButton = new FXRadioButton(projectionFrame, "Perspectiv", this, ID_PERSPECTIVE);
    orthographicButton->setCheck(TRUE);

    FXGroupBox* layout = group(column, "");
    FXVerticalFrame* layoutFrame = new FXVerticalFrame(layout, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    squareButton = new FXRadioButton(layoutFrame, "Cp on square", this, ID_CP_ON_SQUARE);
    planformButton = new FXRadioButton(layoutFrame, "Cp on PlanForm", this, ID_CP_ON_PLANFORM);
    squareButton->setCheck(TRUE);
    colourByCpCheck = new FXCheckButton(layoutFrame, "Colour the fills", this, ID_COLOUR_BY_CP);
    colourByCpCheck->setCheck(TRUE);

    FXGroupBox* lights = group(column, "Light");
    FXVerticalFrame* lightsFrame = new FXVerticalFrame(lights, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2);
    FXMatrix* lightMatrix = new FXMatrix(lightsFrame, 2, MATRIX_BY_COLUMNS, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0);
    const char* lightNames[3] = {"Light 1", "Light 2", "Light 3"};
    for (int i = 0; i < 3; ++i) {
        lightCheck[i] = new FXCheckButton(lightMatrix, lightNames[i], this, ID_LIGHT1 + 2 * i);
        lightSpinner[i] = new FXSpinner(lightMatrix, 3, this, ID_LIGHT1_INTENSITY + 2 * i);
    }
    lightCheck[0]->setCheck(TRUE);
    lightSpinner[1]->disable();
    lightSpinner[2]->disable();
    showLightsCheck = new FXCheckButton(lightsFrame, "Show lights pos.", this, ID_SHOW_LIGHTS);

    // Per surface and Cp: Grid, its colour, Fill, its colour.
    const char* surfaces[2] = {"Upper Surface", "Lower Surface"};
    const char* kinds[2] = {"Cp init", "Cp des"};
    for (int s = 0; s < 2; ++s) {
        FXGroupBox* surface = group(column, surfaces[s]);
        FXVerticalFrame* surfaceFrame = new FXVerticalFrame(surface, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2);
        for (int d = 0; d < 2; ++d) {
            FXGroupBox* kind = group(surfaceFrame, kinds[d]);
            FXMatrix* matrix = new FXMatrix(kind, 2, MATRIX_BY_COLUMNS | LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0);
            for (int f = 0; f < 2; ++f) {
                const int c = s * 4 + d * 2 + f;
                const FXSelector id = ID_UPPER_INIT_GRID + 2 * c;
                layerCheck[c] = new FXCheckButton(matrix, f ? "Fill" : "Grid", this, id);
                layerWell[c] = new FXColorWell(matrix, layerColor(c), this, id + 1, kWellStyle | LAYOUT_FILL_COLUMN);
            }
        }
    }
    // The design Cp is shown as a fill, the initial Cp as a grid: where the
    // design differs the fill leaves the grid.
    for (int c : {0, 3, 4, 7}) layerCheck[c]->setCheck(TRUE);

    hideButton = new FXButton(column, "&Hide\tHide the 3D view (View menu shows it again)", nullptr, nullptr, 0,
                              FRAME_RAISED | FRAME_THICK | LAYOUT_FILL_X, 0, 0, 0, 0, 10, 10, 5, 5);
    controls->setWidth(column->getDefaultWidth() + controls->verticalScrollBar()->getDefaultWidth());
    controls->hide();
}

void GLView3D::show() {
    fillMesh();
    FXVerticalFrame::show();
    repaint();
}

void GLView3D::refreshSurface() {
    for (FXWindow* w = this; w && w != getRoot(); w = w->getParent())
        if (!w->shown()) return;
    wingChanged = true;
    scheduleRefresh();
}

void GLView3D::scheduleRefresh() {
    if (refreshScheduled) return;
    refreshScheduled = true;
    getApp()->addTimeout(this, ID_REFRESH, std::max(kFrameMs, FXuint(kPaintsApart * lastPaintMs)));
}

long GLView3D::onRefresh(FXObject*, FXSelector, void*) {
    refreshScheduled = false;
    repaint();
    return 1;
}

quarvel::MeshLayout GLView3D::layout() const {
    return squareButton->getCheck() ? quarvel::MeshLayout::Square : quarvel::MeshLayout::Planform;
}

int GLView3D::shownFills() const {
    int fills = 0;
    for (const quarvel::MeshLayer& l : quarvel::meshLayers)
        if (l.filled && layerCheck[l.control()]->getCheck()) ++fills;
    return std::max(fills, 1);
}

// The mesh keeps its detail; one whose stations or sections the wing no
// longer has starts over at the detail of the first pane.
void GLView3D::fillMesh() {
    try {
        const bool fits = !mesh.stations.empty() && !mesh.sections.empty() && mesh.stations.back() < wing->nhalf &&
                          mesh.sections.back() < wing->nsec;
        const quarvel::MeshDetail detail =
            fits ? quarvel::MeshDetail{mesh.stations, mesh.sections}
                 : quarvel::sampleDetail(0, wing->nhalf - 1, 0, wing->nsec - 1,
                                         quarvel::quadBudget(kFirstPane, kFirstPane) / 2);
        quarvel::fillMesh(mesh, *wing, layout(), detail);
        readWingState();
    } catch (const std::bad_alloc&) {
        dropMesh();
    }
    wingChanged = false;
    for (auto& counts : indexCount) counts[0] = counts[1] = 0;
    meshChanged();
}

void GLView3D::readWingState() {
    digests = quarvel::sectionDigests(*wing);
    sectionRanges.resize(std::size_t(std::max(wing->nsec, 0)));
    for (int k = 0; k < wing->nsec; ++k) sectionRanges[std::size_t(k)] = quarvel::sectionCpRange(*wing, k);
}

void GLView3D::dropMesh() {
    mesh = quarvel::WingMesh{};
    for (quarvel::SurfaceArrays& a : surfaceArrays) a = quarvel::SurfaceArrays{};
    for (auto& counts : indexCount) counts[0] = counts[1] = 0;
    digests.clear();
    sectionRanges.clear();
    if (!memoryFault.empty()) return;
    memoryFault.format("Not enough memory for the 3D view of this wing (%d sections of %d points); "
                       "the wing and its edits are kept",
                       wing->nsec, wing->npt);
    if (onMemoryFault) onMemoryFault(memoryFault);
}

void GLView3D::meshChanged() {
    for (bool& dirty : surfaceDirty) dirty = true;
    quarvel::CpRange r{HUGE_VAL, -HUGE_VAL};
    for (const quarvel::CpRange& s : sectionRanges) r.lo = std::min(r.lo, s.lo), r.hi = std::max(r.hi, s.hi);
    if (!(r.hi >= r.lo)) r.lo = r.hi = 0.0;
    const double delta = quarvel::largestDeltaCp(mesh);
    const bool moved = r.lo != cpRange.lo || r.hi != cpRange.hi || delta != deltaMax;
    cpRange = r;
    deltaMax = delta;
    if (colourBar && moved) colourBar->update();
}

void GLView3D::prepareMesh() {
    if (!memoryFault.empty() || wing->nhalf < 2 || wing->nsec < 2) return;
    const quarvel::MeshDetail detail =
        quarvel::chooseDetail(*wing, layout(), frame, camera, orthographicButton->getCheck(), canvas->getWidth(),
                              canvas->getHeight(), shownFills());
    if (detail.stations != mesh.stations || detail.sections != mesh.sections) {
        quarvel::fillMesh(mesh, *wing, layout(), detail);
        for (quarvel::SurfaceArrays& a : surfaceArrays) {
            // A coarser detail gives its memory back.
            a.position.shrink_to_fit();
            a.normal.shrink_to_fit();
            a.colour.shrink_to_fit();
        }
        if (wingChanged) readWingState();
        wingChanged = false;
        for (auto& counts : indexCount) counts[0] = counts[1] = 0;
        meshChanged();
        return;
    }
    if (wingChanged) applyEdits();
}

// The columns of the sections an edit changed, in the mesh and in the GL
// buffers; everything again when the colour range moved.
void GLView3D::applyEdits() {
    wingChanged = false;
    std::vector<unsigned long long> now = quarvel::sectionDigests(*wing);
    if (now.size() != digests.size()) {
        fillMesh();
        return;
    }
    // Every planform length is over the reference chord's section.
    const std::size_t reference = std::size_t(
        std::find_if(wing->B.begin(), wing->B.end(), [](double b) { return b != 0.0 && std::isfinite(b); }) -
        wing->B.begin());
    for (std::size_t k = 0; k < now.size() && k <= reference; ++k)
        if (now[k] != digests[k]) {
            fillMesh();
            return;
        }
    std::vector<int> columns;
    for (std::size_t k = 0; k < now.size(); ++k) {
        if (now[k] == digests[k]) continue;
        sectionRanges[k] = quarvel::sectionCpRange(*wing, int(k));
        const auto at = std::lower_bound(mesh.sections.begin(), mesh.sections.end(), int(k));
        if (at != mesh.sections.end() && *at == int(k)) columns.push_back(int(at - mesh.sections.begin()));
    }
    digests = std::move(now);
    const quarvel::CpRange before = cpRange;
    bool wasDirty[4];
    std::copy(surfaceDirty, surfaceDirty + 4, wasDirty);
    for (int c : columns) quarvel::fillMeshColumns(mesh, *wing, layout(), c, c);
    meshChanged();
    if (cpRange.lo != before.lo || cpRange.hi != before.hi) return;  // every colour changes
    std::copy(wasDirty, wasDirty + 4, surfaceDirty);
    const std::size_t P = std::size_t(mesh.meshPoints);
    for (int c : columns)
        for (int i = 0; i < 4; ++i) {
            if (surfaceDirty[i] || !surfaceBuffer[i]) continue;
            quarvel::SurfaceArrays& a = surfaceArrays[i];
            int lo = 0, hi = -1;
            quarvel::updateSurfaceColumns(mesh, quarvel::layerHeights(mesh, quarvel::meshLayers[i]), cpRange, c, c,
                                          a, &lo, &hi);
            if (hi < lo) continue;
            // The colours follow what the fills are coloured by.
            quarvel::surfaceColours(mesh, quarvel::meshLayers[i].surface, colourBy, cpRange, deltaMax, a.colour);
            const GLsizeiptr n = GLsizeiptr(a.position.size() * sizeof(float));
            const std::size_t first = std::size_t(lo) * P, count = std::size_t(hi - lo + 1) * P;
            glBindBuffer(GL_ARRAY_BUFFER, surfaceBuffer[i]);
            glBufferSubData(GL_ARRAY_BUFFER, GLintptr(3 * first * sizeof(float)), GLsizeiptr(3 * count * sizeof(float)),
                            &a.position[3 * first]);
            glBufferSubData(GL_ARRAY_BUFFER, n + GLintptr(3 * first * sizeof(float)),
                            GLsizeiptr(3 * count * sizeof(float)), &a.normal[3 * first]);
            glBufferSubData(GL_ARRAY_BUFFER, 2 * n, GLsizeiptr(a.colour.size()), a.colour.data());
        }
}

void GLView3D::bindSurface(int index) {
    if (!surfaceBuffer[index]) glGenBuffers(1, &surfaceBuffer[index]);
    glBindBuffer(GL_ARRAY_BUFFER, surfaceBuffer[index]);
    quarvel::SurfaceArrays& a = surfaceArrays[index];
    const GLsizeiptr vectors = GLsizeiptr(a.position.size() * sizeof(float));
    if (surfaceDirty[index]) {
        quarvel::buildSurfaceArrays(mesh, quarvel::layerHeights(mesh, quarvel::meshLayers[index]), cpRange, a);
        quarvel::surfaceColours(mesh, quarvel::meshLayers[index].surface, colourBy, cpRange, deltaMax, a.colour);
        surfaceDirty[index] = false;
        const GLsizeiptr n = GLsizeiptr(a.position.size() * sizeof(float));
        glBufferData(GL_ARRAY_BUFFER, 2 * n + GLsizeiptr(a.colour.size()), nullptr, GL_STATIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, n, a.position.data());
        glBufferSubData(GL_ARRAY_BUFFER, n, n, a.normal.data());
        glBufferSubData(GL_ARRAY_BUFFER, 2 * n, GLsizeiptr(a.colour.size()), a.colour.data());
    }
    const GLsizeiptr n = GLsizeiptr(a.position.size() * sizeof(float));
    (void)vectors;
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glNormalPointer(GL_FLOAT, 0, reinterpret_cast<const void*>(n));
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, reinterpret_cast<const void*>(2 * n));
}

int GLView3D::bindIndices(int detail, bool filled, int stride) {
    const int kind = filled ? 0 : 1;
    if (detail == 1 && reducedStride != stride) {
        indexCount[1][0] = indexCount[1][1] = 0;
        reducedStride = stride;
    }
    if (!indexBuffer[detail][kind]) glGenBuffers(1, &indexBuffer[detail][kind]);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer[detail][kind]);
    if (indexCount[detail][kind] == 0) {
        const std::vector<unsigned> indices =
            filled ? quarvel::triangleIndices(mesh.meshPoints, mesh.meshSections, stride)
                   : quarvel::gridLineIndices(mesh.meshPoints, mesh.meshSections,
                                              std::max(stride, gridStride(mesh.meshPoints)),
                                              std::max(stride, gridStride(mesh.meshSections)));
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(unsigned)), indices.data(),
                     GL_STATIC_DRAW);
        indexCount[detail][kind] = int(indices.size());
    }
    return indexCount[detail][kind];
}

long long GLView3D::shownQuads() const {
    const long long quads = (long long)std::max(mesh.meshPoints - 1, 0) * std::max(mesh.meshSections - 1, 0);
    long long total = 0;
    for (int c = 0; c < 8; ++c)
        if (layerCheck[c]->getCheck()) total += quads;
    return total;
}

void GLView3D::resetView() { quarvel::resetView(mesh, frame, camera); }

void GLView3D::initLights() {
    const float L = frame.Lz;
    const float positions[3][3] = {{5 * L, 5 * L, 5 * L}, {-5 * L, 5 * L, -5 * L}, {5 * L, -5 * L, -2 * L}};
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 3; ++c) lightPosition[i][c] = positions[i][c];
    lightAmbient = 10;
    lightDiffuse = 90;
    lightSpecular = 65;
    materialAmbient = 10;
    materialDiffuse = 90;
    materialSpecular = 65;
    materialShininess = 35;
    materialEmission = 14;
    for (int i = 0; i < 3; ++i) {
        lightSpinner[i]->setRange(1, 100, FALSE);
        lightSpinner[i]->setValue(kLightStart[i], FALSE);
    }
}

void GLView3D::repaint() {
    if (canvas) canvas->update();
}

void GLView3D::drawScene() {
    if (!canvas->makeCurrent()) return;
    const auto start = std::chrono::steady_clock::now();
    glViewport(0, 0, canvas->getWidth(), canvas->getHeight());
    glClearColor(FXREDVAL(backColor) / 255.0f, FXGREENVAL(backColor) / 255.0f, FXBLUEVAL(backColor) / 255.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_DITHER);
    prepareMesh();

    // The whole camera goes into the projection; the modelview stays the
    // identity, so lights and normals are in the mesh's own coordinates.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const quarvel::Projection p = quarvel::projectionFor(frame, camera, canvas->getWidth(), canvas->getHeight());
    if (orthographicButton->getCheck()) {
        glOrtho(p.left, p.right, p.bottom, p.top, p.zNear, p.zFar);
        glScalef(camera.orthoZoom[0], camera.orthoZoom[1], camera.orthoZoom[2]);
        glTranslatef(-camera.panX, -camera.panY, 0.0f);
    } else {
        gluPerspective(p.fovy, p.aspect, p.perspectiveNear, p.perspectiveFar);
        glTranslatef(-camera.panX, -camera.panY, -camera.eyeDistance);
    }
    glRotatef(camera.rotX, 1, 0, 0);
    glRotatef(camera.rotY, 0, 1, 0);
    glRotatef(camera.rotZ, 0, 0, 1);
    glTranslatef(-frame.cx, -frame.cy, -frame.cz);

    setupLights();
    // Both sides lit: a surface seen from below is not a black slab.
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kSceneAmbient);

    const int stride = dragging == 1 ? dragStride : 1;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (int number : quarvel::layerPaintOrder) {
        const int control = quarvel::meshLayers[number - 1].control();
        if (!layerCheck[control]->getCheck()) continue;
        setDiffuse(layerColor(control));
        drawLayer(number, stride);
        // Software GL bins a whole frame before it draws any of it; a frame
        // of several large layers then costs far more than its layers one
        // by one.
        glFlush();
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    lastStride = stride;
    drawCurrentSection();
    drawAxes();

    if (glVisual->isDoubleBuffer()) canvas->swapBuffers();
    canvas->makeNonCurrent();
    lastPaintMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void GLView3D::setupLights() {
    glEnable(GL_LIGHTING);
    const bool showMarkers = showLightsCheck->getCheck();
    auto position = [&](int i) {
        const GLfloat* p = lightPosition[i];
        const GLfloat w[4] = {p[0], p[1], p[2], 1.0f};
        glLightfv(kLight[i], GL_POSITION, w);
    };
    auto marker = [&](int i) {
        glPushMatrix();
        glTranslatef(lightPosition[i][0], lightPosition[i][1], lightPosition[i][2]);
        if (showMarkers) {
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kMarkerColor[i]);
            drawSphere(0.05 * frame.Lz, GL_LINE, 4);
        }
        glPopMatrix();
    };
    auto intensity = [&](int i) {
        const float v = lightSpinner[i]->getValue() / 100.0f;
        for (auto [what, percent] : {std::pair<GLenum, int>{GL_AMBIENT, lightAmbient},
                                     {GL_DIFFUSE, lightDiffuse},
                                     {GL_SPECULAR, lightSpecular}}) {
            const float level = percent * v / 100.0f;
            const GLfloat c[4] = {level, level, level, 1.0f};
            glLightfv(kLight[i], what, c);
        }
    };

    if (lightCheck[0]->getCheck()) {
        glEnable(kLight[0]);
        position(0);
        marker(0);
        intensity(0);
    } else {
        glDisable(kLight[0]);
    }
    // One material for whichever lights are on.
    if (lightCheck[0]->getCheck() || lightCheck[1]->getCheck() || lightCheck[2]->getCheck()) {
        setGrey(GL_AMBIENT, materialAmbient / 100.0f);
        setGrey(GL_DIFFUSE, materialDiffuse / 100.0f);
        setGrey(GL_SPECULAR, materialSpecular / 100.0f);
        setGrey(GL_EMISSION, materialEmission / 100.0f);
    }
    for (int i = 1; i < 3; ++i) {
        if (lightCheck[i]->getCheck()) {
            glEnable(kLight[i]);
            position(i);
            intensity(i);
            marker(i);
        } else {
            glDisable(kLight[i]);
        }
    }
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, materialShininess * 128 / 100.0f);
}

void GLView3D::drawSphere(double r, int polygonMode, int n) {
    glPolygonMode(GL_FRONT_AND_BACK, GLenum(polygonMode));
    glBegin(GL_TRIANGLES);
    const double degree = 0.01745329252;
    const double latStep = 180.0 / n, lonStep = 360.0 / (2 * n);
    auto point = [&](double lon, double lat, double* out) {
        lon *= degree;
        lat *= degree;
        out[0] = r * std::cos(lat) * std::cos(lon);
        out[1] = r * std::sin(lat);
        out[2] = r * std::cos(lat) * std::sin(lon);
    };
    double normal[3] = {0.0, 1.0, 0.0};
    // Normal of the triangle p, q, s: (p - q) x (s - q), kept from the
    // previous triangle when it has no length.
    auto triangle = [&](const double* p, const double* q, const double* s) {
        const double a[3] = {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
        const double b[3] = {s[0] - q[0], s[1] - q[1], s[2] - q[2]};
        const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        const float len = float(std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]));
        if (std::fabs(len) > 1e-8)
            for (int i = 0; i < 3; ++i) normal[i] = c[i] / len;
        glNormal3dv(normal);
        glVertex3dv(p);
        glVertex3dv(q);
        glVertex3dv(s);
    };
    for (int i = 0; i < 2 * n; ++i) {
        const double lon0 = i * lonStep, lon1 = (i + 1) * lonStep;
        for (int j = 1; j <= n; ++j) {
            const double lat0 = (j - 1) * latStep - 90, lat1 = j * latStep - 90;
            double A[3], B[3], C[3], D[3];
            point(lon0, lat0, A);
            point(lon0, lat1, B);
            point(lon1, lat1, C);
            point(lon1, lat0, D);
            triangle(A, B, C);
            triangle(A, C, D);
        }
    }
    glEnd();
}

// Fills are lifted behind the grid lines a little, so that a grid drawn
// over its own surface stays visible. With "Colour by Cp" a fill takes each
// vertex's colour for its ambient and diffuse material, without the glow of
// the emission, so that it reads against the colour bar.
void GLView3D::drawLayer(int layer, int stride) {
    const quarvel::MeshLayer& l = quarvel::meshLayers[layer - 1];
    glPolygonMode(GL_FRONT_AND_BACK, l.filled ? GL_FILL : GL_LINE);
    if (mesh.meshSections < 2 || mesh.meshPoints < 2) return;
    const int detail = stride > 1 ? 1 : 0;
    bindSurface((layer - 1) % 4);
    const int count = bindIndices(detail, l.filled, stride);
    const bool byCp = l.filled && colourByCpCheck->getCheck();
    if (l.filled) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        setGrey(GL_EMISSION, 0.0f);
        setGrey(GL_SPECULAR, 0.15f);
    }
    if (byCp) {
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnableClientState(GL_COLOR_ARRAY);
    } else if (l.filled) {
        GLfloat c[4];
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, c);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, c);
    }
    glDrawElements(l.filled ? GL_TRIANGLE_STRIP : GL_LINES, count, GL_UNSIGNED_INT, nullptr);
    if (byCp) {
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_COLOR_MATERIAL);
    }
    if (l.filled) {
        glDisable(GL_POLYGON_OFFSET_FILL);
        setGrey(GL_EMISSION, materialEmission / 100.0f);
        setGrey(GL_SPECULAR, materialSpecular / 100.0f);
        setGrey(GL_AMBIENT, materialAmbient / 100.0f);
    }
}

long GLView3D::onPaintCanvas(FXObject*, FXSelector, void*) {
    ++paintCount;
    try {
        drawScene();
    } catch (const std::bad_alloc&) {
        canvas->makeNonCurrent();
        dropMesh();
        repaint();
    }
    return 1;
}

// A smaller canvas brings no expose, yet its picture must be fitted again.
long GLView3D::onConfigureCanvas(FXObject*, FXSelector, void*) {
    if (canvas->makeCurrent()) {
        glViewport(0, 0, canvas->getWidth(), canvas->getHeight());
        canvas->makeNonCurrent();
    }
    repaint();
    return 1;
}

long GLView3D::onLeftBtnPress(FXObject*, FXSelector, void* ptr) {
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    canvas->grab();
    dragging = 1;
    storedX = event->last_x;
    storedY = event->last_y;
    dragStride = quarvel::strideForBudget(shownQuads(), kDragBudgetQuads);
    return 1;
}

long GLView3D::onLeftBtnRelease(FXObject*, FXSelector, void*) {
    canvas->ungrab();
    if (dragging == 1) {
        dragging = 0;
        // Full detail again.
        repaint();
    }
    return 1;
}

// The stored position becomes the event's previous one, not its current.
long GLView3D::onMotion(FXObject*, FXSelector, void* ptr) {
    if (dragging != 1) return 1;
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    quarvel::DragMode mode = quarvel::DragMode::Rotate;
    if (event->state & SHIFTMASK)
        mode = quarvel::DragMode::Zoom;
    else if (event->state & CONTROLMASK)
        mode = quarvel::DragMode::Pan;
    quarvel::dragCamera(camera, frame, mode, storedX - event->last_x, storedY - event->last_y, canvas->getWidth(),
                        canvas->getHeight());
    storedX = event->last_x;
    storedY = event->last_y;
    // Coarser while the reduced frames are still too slow.
    if (lastStride > 1 && lastPaintMs > kDragFrameMs && dragStride < std::max(mesh.meshPoints, 2)) ++dragStride;
    repaint();
    return 1;
}

long GLView3D::onCmdProjection(FXObject*, FXSelector sel, void*) {
    const bool ortho = FXSELID(sel) == ID_ORTHOGRAPHIC;
    orthographicButton->setCheck(ortho);
    perspectiveButton->setCheck(!ortho);
    repaint();
    return 1;
}

// A new layout has a new frame: the camera returns to its defaults.
long GLView3D::onCmdLayout(FXObject*, FXSelector sel, void*) {
    const bool square = FXSELID(sel) == ID_CP_ON_SQUARE;
    squareButton->setCheck(square);
    planformButton->setCheck(!square);
    fillMesh();
    resetView();
    repaint();
    return 1;
}

long GLView3D::onCmdResetView(FXObject*, FXSelector, void*) {
    resetView();
    repaint();
    return 1;
}

long GLView3D::onCmdColourByCp(FXObject*, FXSelector, void*) {
    repaint();
    colourBar->update();
    return 1;
}

// The bar shows while the fills are coloured by their Cp.
long GLView3D::onPaintColourBar(FXObject*, FXSelector, void* ptr) {
    std::vector<quarvel::PlotPrimitive> bar;
    if (colourByCpCheck->getCheck() && colourBy == quarvel::ColourBy::DeltaCp)
        bar = quarvel::deltaBarPrimitives(deltaMax, colourBar->getWidth(), colourBar->getHeight());
    else if (colourByCpCheck->getCheck())
        bar = quarvel::colourBarPrimitives(cpRange.lo, cpRange.hi, quarvel::sonicCp(wing->MACH),
                                           colourBar->getWidth(), colourBar->getHeight());
    else
        bar = quarvel::colourBarPrimitives(0, 0, 0, colourBar->getWidth(), colourBar->getHeight());
    colourBarBuffer.paint(static_cast<FXEvent*>(ptr), colourBarBuffer.render(bar));
    return 1;
}

FXColor* GLView3D::colorMember(FXSelector sel) {
    if (FXSELID(sel) == GLView3D::ID_BACK_COLOR) return &backColor;
    if (FXSELID(sel) < GLView3D::ID_UPPER_INIT_GRID || !isColorWellId(sel)) return nullptr;
    return &layerColor(layerControlOf(sel));
}

// The message carries the colour itself.
long GLView3D::onCmdColor(FXObject*, FXSelector sel, void* ptr) {
    FXColor* color = colorMember(sel);
    if (!color) return 0;
    *color = FXColor(FXuval(ptr));
    repaint();
    return 1;
}

// The well always shows the stored colour. Told only when it differs, so
// that an idle update pass costs nothing.
long GLView3D::onUpdColor(FXObject* sender, FXSelector sel, void*) {
    FXColor* color = colorMember(sel);
    if (!color) return 0;
    FXColorWell* well = static_cast<FXColorWell*>(sender);
    if (well->getRGBA() != *color)
        well->handle(this, FXSEL(SEL_COMMAND, FXWindow::ID_SETVALUE), reinterpret_cast<void*>(FXuval(*color)));
    return 1;
}

long GLView3D::onCmdLight(FXObject*, FXSelector sel, void*) {
    const int i = (FXSELID(sel) - ID_LIGHT1) / 2;
    if (lightCheck[i]->getCheck())
        lightSpinner[i]->enable();
    else
        lightSpinner[i]->disable();
    repaint();
    return 1;
}

long GLView3D::onCmdRepaint(FXObject*, FXSelector, void*) {
    repaint();
    return 1;
}

// Grid and Fill check buttons repaint; their wells store a colour.
long GLView3D::onCmdLayerControl(FXObject* sender, FXSelector sel, void* ptr) {
    if (isColorWellId(sel)) return onCmdColor(sender, sel, ptr);
    repaint();
    return 1;
}

// The pane's own part of the view: the toolbar, the colouring, the axes and
// the current section.

void GLView3D::buildToolbar() {
    FXHorizontalFrame* bar = new FXHorizontalFrame(this, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0);
    new FXLabel(bar, "Colour by", nullptr, LAYOUT_CENTER_Y);
    colourByList = new FXListBox(bar, this, ID_COLOUR_BY, FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y);
    colourByList->appendItem("Initial Cp");
    colourByList->appendItem("Design Cp");
    colourByList->appendItem("dCp (design - initial)");
    colourByList->setNumVisible(3);
    colourByList->setCurrentItem(int(colourBy));
    colourByList->setTipText("What the fills are coloured by; dCp: blue where the design has more suction, red less");
    controlsButton = new FXButton(bar, "Controls\tLayers, colours, projection and lights", nullptr, this, ID_CONTROLS,
                                  BUTTON_NORMAL | LAYOUT_RIGHT | LAYOUT_CENTER_Y);
    resetButton = new FXButton(bar, "Reset view\tBack to the view from above the leading edge", nullptr, this,
                               ID_RESET_VIEW, BUTTON_NORMAL | LAYOUT_RIGHT | LAYOUT_CENTER_Y);
}

long GLView3D::onCmdColourBy(FXObject*, FXSelector, void*) {
    colourBy = static_cast<quarvel::ColourBy>(colourByList->getCurrentItem());
    for (bool& dirty : surfaceDirty) dirty = true;
    colourBar->update();
    repaint();
    return 1;
}

long GLView3D::onCmdControls(FXObject*, FXSelector, void*) {
    controlsColumn->shown() ? controlsColumn->hide() : controlsColumn->show();
    controlsColumn->getParent()->recalc();
    return 1;
}

// Home on the picture resets the view; other keys go on to the window.
long GLView3D::onCanvasKey(FXObject*, FXSelector, void* ptr) {
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    if (event->code != KEY_Home && event->code != KEY_KP_Home) return 0;
    return onCmdResetView(this, 0, nullptr);
}

void GLView3D::setCurrentSection(int k) {
    if (k == currentSection) return;
    currentSection = k;
    repaint();
}

void GLView3D::drawLabel(float x, float y, float z, const char* text) {
    if (!labelLists) {
        if (!labelFont) {
            labelFont = new FXFont(getApp(), "helvetica", 10, FXFont::Bold);
            labelFont->create();
        }
        // The list of character c is labelLists + c.
        labelLists = glGenLists(128);
        glUseFXFont(labelFont, 0, 128, labelLists);
    }
    // A white copy a pixel down and right under the dark text keeps it
    // readable over the dark colours of the scale.
    glListBase(labelLists);
    const GLsizei n = GLsizei(std::strlen(text));
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos3f(x, y, z);
    glBitmap(0, 0, 0, 0, 1, -1, nullptr);
    glCallLists(n, GL_UNSIGNED_BYTE, text);
    glColor3f(0.15f, 0.15f, 0.2f);
    glRasterPos3f(x, y, z);
    glCallLists(n, GL_UNSIGNED_BYTE, text);
}

// The chord axis along the root section at no Cp, from its leading to its
// trailing edge; the span axis along the leading edge from the root to the
// tip. Drawn unlit in dark grey, with their names and ends.
void GLView3D::drawAxes() {
    const int P = mesh.meshPoints, S = mesh.meshSections;
    if (P < 2 || S < 1) return;
    auto edges = [&](int k) {
        int le = 0, te = 0;
        for (int j = 0; j < P; ++j) {
            if (mesh.meshX[j][k] < mesh.meshX[le][k]) le = j;
            if (mesh.meshX[j][k] > mesh.meshX[te][k]) te = j;
        }
        return std::pair(le, te);
    };
    const auto [rootLe, rootTe] = edges(0);
    const auto [tipLe, tipTe] = edges(S - 1);
    const float x0 = float(mesh.meshX[rootLe][0]), x1 = float(mesh.meshX[rootTe][0]);
    const float z0 = float(mesh.meshZ[rootLe][0]), zTip = float(mesh.meshZ[tipLe][S - 1]);
    const float xTipLe = float(mesh.meshX[tipLe][S - 1]), xTipTe = float(mesh.meshX[tipTe][S - 1]);
    const float step = 0.04f * std::max(std::fabs(x1 - x0), std::fabs(zTip - z0));

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.1f, 0.1f, 0.1f);
    glLineWidth(1.5f);
    glBegin(GL_LINES);
    glVertex3f(x0, 0, z0 - step);
    glVertex3f(x1, 0, z0 - step);
    glVertex3f(x0 - step, 0, z0);
    glVertex3f(xTipLe - step, 0, zTip);
    glEnd();
    glLineWidth(1.0f);
    drawLabel(x0 - step, 0, z0 - 3 * step, "LE");
    drawLabel(x1, 0, z0 - 3 * step, "TE");
    drawLabel(0.5f * (x0 + x1), 0, z0 - 3 * step, "x/c");
    drawLabel(x0 - 4 * step, 0, z0 + 2 * step, "root");
    drawLabel(xTipLe - 3 * step, 0, zTip, "tip");
    drawLabel(0.5f * (x0 + xTipLe) - 4 * step, 0, 0.5f * (z0 + zTip), "span");
    drawLabel(xTipTe + step, 0, zTip, "TE");
    glEnable(GL_DEPTH_TEST);
}

// The current section on both surfaces at their design Cp, a heavy orange
// line over the fills.
void GLView3D::drawCurrentSection() {
    const int P = mesh.meshPoints, k = currentSection;
    if (P < 2 || k < 0 || k >= mesh.meshSections) return;
    glDisable(GL_LIGHTING);
    glDepthFunc(GL_LEQUAL);
    glColor3f(1.0f, 0.45f, 0.0f);
    glLineWidth(3.0f);
    for (const quarvel::Grid<double>* g : {&mesh.meshUpperDes, &mesh.meshLowerDes}) {
        glBegin(GL_LINE_STRIP);
        for (int j = 0; j < P; ++j) glVertex3f(float(mesh.meshX[j][k]), float((*g)[j][k]), float(mesh.meshZ[j][k]));
        glEnd();
    }
    glLineWidth(1.0f);
    glDepthFunc(GL_LESS);
}
