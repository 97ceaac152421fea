#include "app/DesignDialogs.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {

constexpr FXuint kLabelStyle = JUSTIFY_RIGHT | LAYOUT_FILL_ROW | LAYOUT_CENTER_Y;
constexpr FXuint kEntryStyle = FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_COLUMN;

// A modal dialog: a matrix of labelled fields above "OK" and "Cancel".
class DesignDialog : public FXDialogBox {
public:
    DesignDialog(FXWindow* owner, const FXString& title) : FXDialogBox(owner, title, DECOR_TITLE | DECOR_BORDER) {
        FXHorizontalFrame* buttons = new FXHorizontalFrame(this, LAYOUT_SIDE_BOTTOM | LAYOUT_FILL_X | PACK_UNIFORM_WIDTH);
        new FXButton(buttons, "Cancel", nullptr, this, ID_CANCEL, BUTTON_NORMAL | LAYOUT_RIGHT);
        new FXButton(buttons, "OK", nullptr, this, ID_ACCEPT, BUTTON_NORMAL | BUTTON_INITIAL | BUTTON_DEFAULT | LAYOUT_RIGHT);
        new FXHorizontalSeparator(this, SEPARATOR_GROOVE | LAYOUT_SIDE_BOTTOM | LAYOUT_FILL_X);
        fields = new FXMatrix(this, 2, MATRIX_BY_COLUMNS | LAYOUT_FILL_X);
    }

    FXSpinner* spinner(const char* label, int lo, int hi, int value) {
        new FXLabel(fields, label, nullptr, kLabelStyle);
        FXSpinner* sp = new FXSpinner(fields, 6, nullptr, 0, kEntryStyle);
        sp->setRange(lo, hi);
        sp->setValue(value);
        return sp;
    }
    FXRealSpinner* realSpinner(const char* label, double lo, double hi, double value) {
        new FXLabel(fields, label, nullptr, kLabelStyle);
        FXRealSpinner* sp = new FXRealSpinner(fields, 6, nullptr, 0, kEntryStyle);
        sp->setRange(lo, hi);
        sp->setIncrement(0.1);
        sp->setValue(value);
        return sp;
    }
    void range(int lowest, int highest, const SectionRange& r) {
        from = spinner("From section", lowest, highest, r.first);
        to = spinner("To section", lowest, highest, r.last);
    }
    SectionRange range() const { return {from->getValue(), to->getValue()}; }
    FXCheckButton* check(const char* label, bool on) {
        new FXFrame(fields, FRAME_NONE);
        FXCheckButton* c = new FXCheckButton(fields, label, nullptr, 0, CHECKBUTTON_NORMAL | LAYOUT_FILL_COLUMN);
        c->setCheck(on ? TRUE : FALSE);
        return c;
    }

    FXMatrix* fields = nullptr;
    FXSpinner* from = nullptr;
    FXSpinner* to = nullptr;
};

}  // namespace

bool askApplyToSections(FXWindow* owner, int lowest, int highest, SectionRange& range, Blend& blend) {
    DesignDialog dialog(owner, "Apply to sections");
    dialog.range(lowest, highest, range);
    FXRealSpinner* weight = dialog.realSpinner("Weight", 0.0, 1.0, blend.weight);
    FXint fade = blend.fade ? 1 : 0;
    FXDataTarget choice(fade);
    new FXLabel(dialog.fields, "Blend", nullptr, kLabelStyle);
    FXVerticalFrame* radios = new FXVerticalFrame(dialog.fields, LAYOUT_FILL_COLUMN, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXRadioButton(radios, "The same everywhere", &choice, FXDataTarget::ID_OPTION + 0);
    new FXRadioButton(radios, "Fading to zero at the far end(s)", &choice, FXDataTarget::ID_OPTION + 1);
    FXCheckButton* follow = dialog.check("Follow the shock", blend.follow);
    if (!dialog.execute(PLACEMENT_OWNER)) return false;
    range = dialog.range();
    blend.weight = weight->getValue();
    blend.fade = fade == 1;
    blend.follow = follow->getCheck() != FALSE;
    return true;
}

bool askWeakenShock(FXWindow* owner, int lowest, int highest, SectionRange& range, WeakenShock& values, Blend& blend) {
    DesignDialog dialog(owner, "Weaken shock");
    FXRealSpinner* m1 = dialog.realSpinner("M1 ahead of the shock", 1.0, 2.0, values.m1);
    m1->setIncrement(0.01);
    FXRealSpinner* width = dialog.realSpinner("Compression width (chord)", 0.01, 0.5, values.width);
    width->setIncrement(0.01);
    dialog.range(lowest, highest, range);
    FXCheckButton* fade = dialog.check("Fading to zero at the far end(s)", true);
    FXCheckButton* follow = dialog.check("Follow the shock", blend.follow);
    if (!dialog.execute(PLACEMENT_OWNER)) return false;
    range = dialog.range();
    values.m1 = std::max(1.0, m1->getValue());
    values.width = width->getValue();
    blend.weight = 1.0;
    blend.fade = fade->getCheck() != FALSE;
    blend.follow = follow->getCheck() != FALSE;
    return true;
}

bool askSmoothAlongSpan(FXWindow* owner, int lowest, int highest, SectionRange& range, SmoothStrength& strength,
                        bool& follow) {
    DesignDialog dialog(owner, "Smooth along the span");
    dialog.range(lowest, highest, range);
    FXSpinner* passes = dialog.spinner("Passes", 1, SmoothStrength::kMaxPasses, strength.passes);
    FXCheckButton* followCheck = dialog.check("Follow the shock", follow);
    if (!dialog.execute(PLACEMENT_OWNER)) return false;
    range = dialog.range();
    strength.passes = passes->getValue();
    follow = followCheck->getCheck() != FALSE;
    return true;
}

namespace {

constexpr const char* kShockSection = "Shocks";
constexpr double kMaxShockSlope = 1000.0;
constexpr double kMaxShockJump = 2.0;

bool validSlope(double v) { return std::isfinite(v) && v > 0.0 && v <= kMaxShockSlope; }
bool validJump(double v) { return std::isfinite(v) && v >= 0.0 && v <= kMaxShockJump; }

}  // namespace

bool askShockRule(FXWindow* owner, ShockRule& rule) {
    DesignDialog dialog(owner, "Shock settings");
    FXRealSpinner* slope = dialog.realSpinner("Steepest slope S (Cp per chord)", 0.1, kMaxShockSlope, rule.slope);
    slope->setIncrement(0.5);
    FXRealSpinner* jump = dialog.realSpinner("Smallest jump J (Cp)", 0.0, kMaxShockJump, rule.jump);
    jump->setIncrement(0.01);
    if (!dialog.execute(PLACEMENT_OWNER)) return false;
    if (validSlope(slope->getValue())) rule.slope = slope->getValue();
    if (validJump(jump->getValue())) rule.jump = jump->getValue();
    return true;
}

ShockRule readShockRule(FXRegistry& reg) {
    ShockRule rule;
    const double slope = reg.readRealEntry(kShockSection, "Slope", rule.slope);
    const double jump = reg.readRealEntry(kShockSection, "Jump", rule.jump);
    if (validSlope(slope)) rule.slope = slope;
    if (validJump(jump)) rule.jump = jump;
    return rule;
}

void writeShockRule(FXRegistry& reg, const ShockRule& rule) {
    reg.writeRealEntry(kShockSection, "Slope", rule.slope);
    reg.writeRealEntry(kShockSection, "Jump", rule.jump);
}

}  // namespace quarvel
