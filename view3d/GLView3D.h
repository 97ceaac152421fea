// The 3D view: the initial and design Cp of both surfaces of the whole wing
// as OpenGL surfaces, turned with the mouse, in orthographic or perspective
// projection, on the unit chord or on the planform, under up to three
// lights. The geometry lives in view3d/WingMesh; this pane of the main
// window holds the widgets, the camera and the GL drawing.
//
// The view paints only when something it shows changes: a mesh refresh, a
// drag, a control, a resize or an expose.
#pragma once

#include <fx.h>
#include <FXGLCanvas.h>
#include <FXGLVisual.h>

#include <cstddef>
#include <functional>

#include "draw/CanvasBuffer.h"
#include "view3d/MeshColours.h"
#include "view3d/WingMesh.h"
#include "wing/WingModel.h"

class GLView3D : public FXVerticalFrame {
    FXDECLARE(GLView3D)

protected:
    // For the FOX object factory only: builds no widgets.
    GLView3D() {}

private:
    GLView3D(const GLView3D&);
    GLView3D& operator=(const GLView3D&);

public:
    // Consecutive, no gaps. Each Grid or Fill check button is directly
    // followed by its colour well, so a layer control c (see
    // quarvel::MeshLayer::control) has the check button
    // ID_UPPER_INIT_GRID + 2c and the well one after it.
    enum {
        ID_CANVAS = FXVerticalFrame::ID_LAST,
        ID_ORTHOGRAPHIC,
        ID_PERSPECTIVE,
        ID_CP_ON_SQUARE,
        ID_CP_ON_PLANFORM,
        ID_BACK_COLOR,
        ID_LIGHT1,
        ID_LIGHT1_INTENSITY,
        ID_LIGHT2,
        ID_LIGHT2_INTENSITY,
        ID_LIGHT3,
        ID_LIGHT3_INTENSITY,
        ID_SHOW_LIGHTS,
        ID_UPPER_INIT_GRID,
        ID_UPPER_INIT_GRID_COLOR,
        ID_UPPER_INIT_FILL,
        ID_UPPER_INIT_FILL_COLOR,
        ID_UPPER_DES_GRID,
        ID_UPPER_DES_GRID_COLOR,
        ID_UPPER_DES_FILL,
        ID_UPPER_DES_FILL_COLOR,
        ID_LOWER_INIT_GRID,
        ID_LOWER_INIT_GRID_COLOR,
        ID_LOWER_INIT_FILL,
        ID_LOWER_INIT_FILL_COLOR,
        ID_LOWER_DES_GRID,
        ID_LOWER_DES_GRID_COLOR,
        ID_LOWER_DES_FILL,
        ID_LOWER_DES_FILL_COLOR,
        ID_RESET_VIEW,    // "Reset view" and the Home key
        ID_COLOUR_BY_CP,  // "Colour by Cp"
        ID_COLOUR_BAR,    // the colour bar's canvas
        ID_REFRESH,       // the timer that paints the edits of the last frame at once
        ID_COLOUR_BY,     // "Colour by": initial Cp, design Cp, dCp
        ID_CONTROLS,      // "Controls": the column of controls shown or hidden
        ID_LAST
    };

    // Reads the wing, which must outlive the view, whenever the mesh is
    // refilled; never writes it. The mesh is sized from the wing now.
    GLView3D(FXComposite* parent, const quarvel::WingModel& wing);
    // Another wing read in place of the last: the mesh sized again and
    // filled, the view reset. The GL objects of the last wing are freed.
    void setWing(const quarvel::WingModel& wing);
    virtual ~GLView3D();

    // About the memory the view of a wing takes, the GL driver's included:
    // its mesh, the arrays of its surfaces and indices, and their copies in
    // the GL buffers.
    static std::size_t bytesFor(const quarvel::WingModel& wing);

    // Showing refills the mesh first: a hidden view is not refreshed.
    virtual void show();

    // "&Hide": hides the view's pane; its owner gives it the target.
    FXButton* hideButton = nullptr;

    // What to tell the user once the wing's mesh or its surfaces did not fit
    // in the memory left; empty while they fit. The view then shows none of
    // the wing and holds none of its memory; the wing is not touched.
    // onMemoryFault, when set, hears of it as it happens.
    FXString memoryFault;
    std::function<void(const FXString& message)> onMemoryFault;

    // Refills the mesh from the wing, keeping the camera, and repaints.
    // Does nothing while the view is hidden.
    void refreshSurface();

    // The mesh from the wing in the layout the radio pair chooses.
    void fillMesh();
    // Bounds, view frame and camera defaults from the mesh.
    void resetView();
    // Light positions (from the frame's span) and intensities.
    void initLights();

    // The paint: everything from a cleared buffer, then a buffer swap.
    void drawScene();
    void setupLights();
    void drawSphere(double radius, int polygonMode, int n);
    // One layer, 1 .. 8, with its material already set, through every
    // stride-th station and section.
    void drawLayer(int layer, int stride = 1);

    long onPaintCanvas(FXObject*, FXSelector, void*);
    long onConfigureCanvas(FXObject*, FXSelector, void*);
    long onLeftBtnPress(FXObject*, FXSelector, void*);
    long onLeftBtnRelease(FXObject*, FXSelector, void*);
    long onMotion(FXObject*, FXSelector, void*);
    long onCmdProjection(FXObject*, FXSelector, void*);
    long onCmdLayout(FXObject*, FXSelector, void*);
    long onCmdColor(FXObject*, FXSelector, void*);
    long onUpdColor(FXObject*, FXSelector, void*);
    long onCmdLight(FXObject*, FXSelector, void*);
    long onCmdRepaint(FXObject*, FXSelector, void*);
    long onCmdLayerControl(FXObject*, FXSelector, void*);
    long onCmdResetView(FXObject*, FXSelector, void*);
    long onCmdColourByCp(FXObject*, FXSelector, void*);
    long onPaintColourBar(FXObject*, FXSelector, void*);
    long onRefresh(FXObject*, FXSelector, void*);

    // An edit not painted yet.
    bool refreshPending() const { return refreshScheduled || wingChanged; }

    // Bytes the view holds for the wing: its mesh at the shown detail, the
    // surfaces' arrays and their copies in the GL buffers, the indices.
    std::size_t bytes() const;
    long onCmdColourBy(FXObject*, FXSelector, void*);
    long onCmdControls(FXObject*, FXSelector, void*);
    long onCanvasKey(FXObject*, FXSelector, void*);

    // The section (0-based) outlined as the current one.
    void setCurrentSection(int k);
    // The mesh the last paint drew (at the pane's detail) and the paints
    // done so far.
    const quarvel::WingMesh& shownMesh() const { return mesh; }
    int paints() const { return paintCount; }
    // The stride of the last paint: 1 at full detail, more while a drag turns.
    int lastPaintStride() const { return lastStride; }

protected:
    // What the fills are coloured by ("Colour by"), the largest change of
    // the design, and the section outlined.
    quarvel::ColourBy colourBy = quarvel::ColourBy::DesignCp;
    double deltaMax = 0.0;
    int currentSection = 0;
    FXListBox* colourByList = nullptr;
    FXButton* controlsButton = nullptr;
    FXScrollWindow* controlsColumn = nullptr;
    // Axes along the root chord and the leading edge, with their names and
    // the "LE", "TE", "root" and "tip" marks, and the current section's
    // outline on both surfaces; drawn over the layers.
    void drawAxes();
    void drawCurrentSection();
    unsigned labelLists = 0;  // display lists of the label font's characters
    FXFont* labelFont = nullptr;
    void drawLabel(float x, float y, float z, const char* text);

    // Colours (FXColor: red in the lowest byte).
    FXColor backColor = FXRGB(0, 255, 255);
    // Dark grid lines read over every colour of the Cp scale.
    FXColor upperInitGridColor = FXRGB(40, 40, 40);
    FXColor upperDesGridColor = FXRGB(40, 40, 40);
    FXColor lowerInitGridColor = FXRGB(40, 40, 40);
    FXColor lowerDesGridColor = FXRGB(40, 40, 40);
    FXColor upperInitFillColor = FXRGB(255, 0, 255);
    FXColor upperDesFillColor = FXRGB(255, 0, 255);
    FXColor lowerInitFillColor = FXRGB(255, 0, 255);
    FXColor lowerDesFillColor = FXRGB(255, 0, 255);

    // The colour member of a layer control (0 .. 7), each in control order,
    // and the one a colour well's message names (nullptr for none).
    FXColor& layerColor(int control);
    static FXColor GLView3D::* const layerColors[8];
    FXColor* colorMember(FXSelector sel);

    quarvel::WingMesh mesh;
    quarvel::ViewFrame frame;
    quarvel::Camera camera;

    // 1 while the left button is held on the canvas.
    int dragging = 0;
    int storedX = 0, storedY = 0;

    // Fixed points of the mesh's own coordinates.
    float lightPosition[3][3] = {};
    // Percent of full intensity, the same for the three lights.
    int lightAmbient = 0, lightDiffuse = 0, lightSpecular = 0;
    // Percent; shininess of 128.
    int materialAmbient = 0, materialDiffuse = 0, materialSpecular = 0, materialShininess = 0, materialEmission = 0;

    // Paints done so far, the stride of the last one (1: full detail) and
    // its time.
    int paintCount = 0;
    int lastStride = 1;
    double lastPaintMs = 0.0;
    // While a drag turns, pans or zooms: every dragStride-th station and
    // section, so that a frame stays within its budget.
    int dragStride = 1;

    // Colour range of the fills: the Cp of all four surfaces.
    quarvel::CpRange cpRange;

    FXGLCanvas* canvas = nullptr;
    FXColorWell* backWell = nullptr;
    FXRadioButton* orthographicButton = nullptr;
    FXRadioButton* perspectiveButton = nullptr;
    FXRadioButton* squareButton = nullptr;
    FXRadioButton* planformButton = nullptr;
    FXCheckButton* lightCheck[3] = {};
    FXSpinner* lightSpinner[3] = {};
    FXCheckButton* showLightsCheck = nullptr;
    FXCheckButton* colourByCpCheck = nullptr;  // "Colour by Cp"
    FXButton* resetButton = nullptr;           // "Reset view"
    FXCanvas* colourBar = nullptr;
    quarvel::CanvasBuffer colourBarBuffer;
    // Indexed by layer control.
    FXCheckButton* layerCheck[8] = {};
    FXColorWell* layerWell[8] = {};

private:
    const quarvel::WingModel* wing = nullptr;
    FXGLVisual* glVisual = nullptr;

    void buildWidgets();
    // Above the picture: "Colour by", "Reset view", "Controls" and "Hide".
    void buildToolbar();
    void repaint();
    // Gives up the mesh and its surfaces for want of memory: memoryFault.
    void dropMesh();

    // The arrays of the four surfaces (upper and lower, Cp init, then
    // Cp des), rebuilt at the first paint after the mesh changed and kept in
    // GL buffer objects (positions, normals, colours one after the other),
    // and the index buffers of the full and of the reduced mesh
    // ([detail][0 triangles, 1 grid lines]), so that a paint sends nothing.
    quarvel::SurfaceArrays surfaceArrays[4];
    bool surfaceDirty[4] = {true, true, true, true};
    unsigned surfaceBuffer[4] = {};
    unsigned indexBuffer[2][2] = {};
    int indexCount[2][2] = {};
    int reducedStride = 0;
    void meshChanged();
    // The GL buffers of the surfaces and indices given back.
    void freeBuffers();
    // Binds surface index's buffer, filled from the mesh when it changed.
    void bindSurface(int index);
    // Binds the index buffer of one detail level and kind; its count.
    int bindIndices(int detail, bool filled, int stride);
    // Quads the shown layers draw at full detail, grid lines weighed in.
    long long shownQuads() const;

    // The level of detail: the mesh holds the stations and sections the
    // pane can show (quarvel::chooseDetail), rebuilt when that choice
    // changes; an edit rewrites only the columns of the sections whose
    // digest changed. Edits reach the screen through one timer per frame.
    std::vector<unsigned long long> digests;
    std::vector<quarvel::CpRange> sectionRanges;
    bool wingChanged = false;
    bool refreshScheduled = false;
    quarvel::MeshLayout layout() const;
    int shownFills() const;
    // Digests, section ranges and the colour range from the whole wing.
    void readWingState();
    // Before a paint, with the context current: the detail for the pane,
    // then the edits since the last paint.
    void prepareMesh();
    void applyEdits();
    void scheduleRefresh();
};
