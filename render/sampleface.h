#pragma once

#include "model/outputgroup.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace quillet::form {
class Canvas;
class IntervalTimer;
} // namespace quillet::form

namespace quillet::render {

// What the compositions and the geometry need of the designer window, by role. The window
// implements it; which control plays each role is the window's business.
class SampleFace
{
public:
    using ButtonCanvases = std::array<form::Canvas *, 4>;
    using ThreeCanvases = std::array<form::Canvas *, 3>;

    virtual ~SampleFace() = default;

    virtual QWidget *wholeWindow() = 0;
    // Width and height as the window system reports them, frame included.
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;
    virtual void setOuterWidth(int width) = 0;

    virtual QPushButton *sampleButton() const = 0;
    virtual QComboBox *comboSample() const = 0;
    virtual QCheckBox *checkSample() const = 0;
    // Normal, pressed, hot, disabled.
    virtual ButtonCanvases buttonCanvases() const = 0;
    // Normal, pressed, disabled.
    virtual ThreeCanvases comboCanvases() const = 0;
    // Normal, checked, disabled.
    virtual ThreeCanvases checkCanvases() const = 0;
    // The hidden canvas that receives each capture first.
    virtual form::Canvas *scratchCanvas() const = 0;

    virtual QCheckBox *borderRemovalBox() const = 0;
    virtual QComboBox *dropWidthBox() const = 0;
    virtual QComboBox *checkSideBox() const = 0;
    virtual QCheckBox *outputGroupBox(model::OutputGroup group) const = 0;
    // Takes the focus once a composition is done.
    virtual QPushButton *saveButton() const = 0;
    virtual form::IntervalTimer *previewTimer() const = 0;

    // The panels that follow the window and the sample button.
    virtual QLabel *settingsPanel() const = 0;
    virtual QListWidget *skinList() const = 0;
    virtual QLabel *browserFrame() const = 0;
    virtual QWidget *browserPanel() const = 0;
};

} // namespace quillet::render
