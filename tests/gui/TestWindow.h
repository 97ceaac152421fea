// The main window as the tests and tools see it: the widgets and state that
// the window keeps protected, reached through using-declarations, so that a
// test drives and reads the real window without the program opening them.
#pragma once

#include "app/Quarvel.h"

class TestWindow : public Quarvel {
public:
    using Quarvel::Quarvel;
    using Quarvel::askHook; using Quarvel::canvas; using Quarvel::comparison;
    using Quarvel::controlTransform; using Quarvel::cpCorrectionRadio; using Quarvel::cpEditionRadio;
    using Quarvel::cpInterpolationRadio; using Quarvel::cpdDeltaField; using Quarvel::cpdDeltaTarget;
    using Quarvel::currentPointCpTarget; using Quarvel::currentPointXTarget; using Quarvel::cpdSpinner;
    using Quarvel::currentPointCpField; using Quarvel::currentPointXField; using Quarvel::editing;
    using Quarvel::enlargeButton; using Quarvel::errorHook; using Quarvel::fileLoaded; using Quarvel::fileMenu;
    using Quarvel::geomInterpolationRadio; using Quarvel::history; using Quarvel::intervalFirstSpinner;
    using Quarvel::intervalLastSpinner; using Quarvel::isobarStepSpinner; using Quarvel::isobarsShown;
    using Quarvel::keepLiftCheck; using Quarvel::maxThicknessRadio; using Quarvel::modified;
    using Quarvel::mousePlotCpField; using Quarvel::mousePlotXField; using Quarvel::noCorrectionRadio;
    using Quarvel::nsplSpinner; using Quarvel::openCommand; using Quarvel::paneFrame; using Quarvel::panesAtOnceMs;
    using Quarvel::paneShown; using Quarvel::planForm; using Quarvel::plotTransform; using Quarvel::pointSpinner;
    using Quarvel::redoCommand;
    using Quarvel::runOp; using Quarvel::runScriptFile; using Quarvel::secNoRadio; using Quarvel::secYesRadio;
    using Quarvel::setShockRule; using Quarvel::shapeCheck; using Quarvel::shockRule; using Quarvel::shownCN;
    using Quarvel::shownCNField; using Quarvel::shownCYD; using Quarvel::shownCYDField;
    using Quarvel::shownDesignLoad; using Quarvel::shownEP; using Quarvel::shownEPDField; using Quarvel::shownEPField;
    using Quarvel::shownInitialLoad; using Quarvel::shownPanes; using Quarvel::smoothing; using Quarvel::spanloadView;
    using Quarvel::splineCheck; using Quarvel::statusBar; using Quarvel::surfaceRadio; using Quarvel::thicknessRadio;
    using Quarvel::throughShocksCheck; using Quarvel::undoCommand; using Quarvel::view3D; using Quarvel::view3DButton;
    using Quarvel::wing; using Quarvel::zoom;
};
