#include "planform/PlanForm.h"

#include <algorithm>
#include <utility>

#include "draw/FoxText.h"

// clang-format off
FXDEFMAP(CPlanForm) CPlanFormMap[] = {
    FXMAPFUNC(SEL_PAINT,   CPlanForm::ID_PLAN_CANVAS,  CPlanForm::onPaintPlanform),
    FXMAPFUNC(SEL_LEFTBUTTONPRESS, CPlanForm::ID_PLAN_CANVAS, CPlanForm::onClickPlanform),
    FXMAPFUNC(SEL_COMMAND, CPlanForm::ID_PLAN_SECTION, CPlanForm::onCmdSection),
    FXMAPFUNC(SEL_COMMAND, CPlanForm::ID_PLAN_VALUE,   CPlanForm::onCmdValue),
};
// clang-format on

FXIMPLEMENT(CPlanForm, FXVerticalFrame, CPlanFormMap, ARRAYNUMBER(CPlanFormMap))

namespace {

constexpr FXuint kLabelStyle = JUSTIFY_RIGHT | LAYOUT_FILL_X | LAYOUT_CENTER_Y;
constexpr FXuint kFieldStyle = FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y;

struct LegendEntry {
    const char* text;
    int mode;
};

// In the order of the regimes.
constexpr LegendEntry kLegend[] = {
    {"No changing", quarvel::MODE_NONE},
    {"Cp correction", quarvel::MODE_CP_EDITION},
    {"Cp interpolation", quarvel::MODE_CP_INTERP},
    {"Geom. interpolation", quarvel::MODE_GEOM},
    {"Save thickness distr.", quarvel::MODE_THICKNESS},
    {"Save max.thickness", quarvel::MODE_MAX_THICKNESS},
};

FXColor foxColor(int rgb) { return FXRGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

}  // namespace

CPlanForm::CPlanForm(FXComposite* parent, quarvel::WingModel& w, SectionChosen chosen)
    : FXVerticalFrame(parent, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 4, 4, 4, 4, 4, 4),
      wing(&w),
      onSectionChosen(std::move(chosen)),
      firstSectionNumber(w.KTE1) {
    planNsec = w.nsec;
    plan = quarvel::planformOf(w);
    planCurSection = 1;
    planSectionNumber = firstSectionNumber;
    planZCur = plan.Z.empty() ? 0.0 : plan.Z.front();
    planZRel = plan.Z.empty() ? 0.0 : quarvel::relativeSpan(planZCur, plan.Z.back());

    // The two values a user may edit here are written to the file.
    followWing();
    machTarget.connect(planMach, this, ID_PLAN_VALUE);
    alphaTarget.connect(planAlpha, this, ID_PLAN_VALUE);
    ite1Target.connect(w.ITE1);
    ite2Target.connect(w.ITE2);
    kte1Target.connect(w.KTE1);
    kte2Target.connect(w.KTE2);
    zRelTarget.connect(planZRel);
    zCurTarget.connect(planZCur);
    sectionNumberTarget.connect(planSectionNumber);

    buildWidgets();
}

CPlanForm::~CPlanForm() {}

void CPlanForm::buildWidgets() {
    FXVerticalFrame* content =
        new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4);

    FXHorizontalFrame* body =
        new FXHorizontalFrame(content, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0);

    // The values scroll beside the planform when the pane is short.
    FXScrollWindow* scroll = new FXScrollWindow(body, HSCROLLING_OFF | LAYOUT_FILL_Y);
    FXVerticalFrame* left = new FXVerticalFrame(scroll, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6);
    // The current section's number in the file, large; the title (which
    // the plot shows in full) in its tooltip.
    sectionDisplay = new FX7Segment(left, "", SEVENSEGMENT_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_X |
                                                  LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                                    0, 0, 64, 34, 4, 4, 4, 4);
    sectionDisplay->setJustify(JUSTIFY_RIGHT);
    sectionDisplay->setCellWidth(14);
    sectionDisplay->setCellHeight(24);
    sectionDisplay->setThickness(3);
    sectionDisplay->setBackColor(FXRGB(24, 24, 24));
    sectionDisplay->setTextColor(FXRGB(80, 240, 80));
    sectionDisplay->setTarget(&sectionNumberTarget);
    sectionDisplay->setSelector(FXDataTarget::ID_VALUE);
    sectionDisplay->setTipText(quarvel::foxText(wing->title));
    FXMatrix* values = new FXMatrix(left, 2, MATRIX_BY_COLUMNS, 0, 0, 0, 0, 0, 0, 0, 0, 4, 2);
    const struct {
        const char* label;
        FXDataTarget* target;
        FXuint kind;
    } fields[] = {
        {"Mach=", &machTarget, TEXTFIELD_REAL},     {"Alpha=", &alphaTarget, TEXTFIELD_REAL},
        // The point and section numbers fix the shape of the wing and of the
        // file a save writes: shown, not edited.
        {"ITE1=", &ite1Target, TEXTFIELD_INTEGER | TEXTFIELD_READONLY},
        {"ITE2=", &ite2Target, TEXTFIELD_INTEGER | TEXTFIELD_READONLY},
        {"KTE1=", &kte1Target, TEXTFIELD_INTEGER | TEXTFIELD_READONLY},
        {"KTE2=", &kte2Target, TEXTFIELD_INTEGER | TEXTFIELD_READONLY},
        {"Zref=", &zRelTarget, TEXTFIELD_REAL},     {"Z=", &zCurTarget, TEXTFIELD_REAL},
    };
    // The section chooser first, where a short pane still shows it.
    new FXLabel(values, "N sec.=", nullptr, kLabelStyle);
    sectionSpinner = new FXSpinner(values, 5, this, ID_PLAN_SECTION, SPIN_NORMAL | kFieldStyle);
    sectionSpinner->setRange(firstSectionNumber, firstSectionNumber + std::max(planNsec, 1) - 1, FALSE);
    sectionSpinner->setValue(planSectionNumber, FALSE);
    for (const auto& f : fields) {
        new FXLabel(values, f.label, nullptr, kLabelStyle);
        FXTextField* field = new FXTextField(values, 7, f.target, FXDataTarget::ID_VALUE, f.kind | kFieldStyle);
        // Shown, not edited: on the pane's grey rather than an entry's white.
        if (f.kind & TEXTFIELD_READONLY) field->setBackColor(getApp()->getBaseColor());
    }

    // A swatch of each chord line's colour before its label: the palest
    // colours cannot be read as text on the pane's grey.
    FXMatrix* legend = new FXMatrix(left, 2, MATRIX_BY_COLUMNS, 0, 0, 0, 0, 0, 0, 0, 0, 4, 1);
    for (const LegendEntry& e : kLegend) {
        const FXColor color = foxColor(quarvel::regimeColor(e.mode));
        FXFrame* swatch = new FXFrame(legend, FRAME_LINE | LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT | LAYOUT_CENTER_Y,
                                      0, 0, 24, 12);
        swatch->setBackColor(color);
        new FXLabel(legend, e.text, nullptr, JUSTIFY_LEFT | LAYOUT_CENTER_Y);
    }

    FXVerticalFrame* drawing =
        new FXVerticalFrame(body, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    canvas = new FXCanvas(drawing, this, ID_PLAN_CANVAS, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    planBuffer.attach(canvas);
    scroll->setWidth(left->getDefaultWidth() + scroll->verticalScrollBar()->getDefaultWidth());
}

std::vector<quarvel::PlotPrimitive> CPlanForm::planformPicture(int width, int height) const {
    return quarvel::planformPrimitives(plan, quarvel::shownRegimes(*wing), planCurSection, width, height);
}

bool CPlanForm::render() {
    const int w = canvas->getWidth(), h = canvas->getHeight();
    std::vector<quarvel::PlotPrimitive> picture = planformPicture(w, h);
    if (layer) {
        const std::vector<quarvel::PlotPrimitive> over = layer(w, h);
        picture.insert(picture.end(), over.begin(), over.end());
    }
    ++drawCount;
    return planBuffer.render(picture);
}

void CPlanForm::redraw() {
    if (render()) planBuffer.show();
}

void CPlanForm::setSection(int section) {
    section = std::clamp(section, 1, std::max(planNsec, 1));
    planCurSection = section;
    planSectionNumber = firstSectionNumber + section - 1;
    sectionSpinner->setValue(planSectionNumber, FALSE);
    if (section <= plan.sections()) {
        planZCur = plan.Z[section - 1];
        planZRel = quarvel::relativeSpan(planZCur, plan.Z.back());
    }
    redraw();
}

long CPlanForm::onPaintPlanform(FXObject*, FXSelector, void* ptr) {
    const bool rendered = render();
    planBuffer.paint(static_cast<FXEvent*>(ptr), rendered);
    return 1;
}

// The spinner's value is a section number of the file, counted from KTE1.
long CPlanForm::onCmdValue(FXObject* sender, FXSelector, void*) {
    const bool mach = sender == &machTarget;
    const double value = mach ? planMach : planAlpha;
    followWing();
    if (onValueEdited) onValueEdited(mach ? quarvel::FlowValue::Mach : quarvel::FlowValue::Alpha, value);
    return 1;
}

void CPlanForm::followWing() {
    planMach = wing->MACH;
    planAlpha = wing->ALPHA;
}

// A click on (or beside) a chord line chooses its section.
long CPlanForm::onClickPlanform(FXObject*, FXSelector, void* ptr) {
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    const int section =
        quarvel::sectionAtPixel(plan, canvas->getWidth(), canvas->getHeight(), event->win_x, event->win_y);
    if (section < 1) return 1;
    setSection(section);
    if (onSectionChosen) onSectionChosen(planCurSection);
    return 1;
}

long CPlanForm::onCmdSection(FXObject*, FXSelector, void*) {
    setSection(sectionSpinner->getValue() - firstSectionNumber + 1);
    if (onSectionChosen) onSectionChosen(planCurSection);
    return 1;
}
