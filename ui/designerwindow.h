#pragma once

#include "render/sampleface.h"
#include "ui_designer_window.h"

#include <QWidget>

class DesignerRun;

namespace quillet::form {
class IntervalTimer;
class OuterSize;
}

namespace quillet::ui {

class DesignerControls;
class EventMap;

// The designer window as laid out in designer_window.ui, plus its members that are not
// shown: the two timers. Code outside ui/ reaches the controls by role through the
// accessors below; each names the control that plays the role. The layout names themselves
// (controls()) belong to ui/.
class DesignerWindow : public QWidget, public render::SampleFace
{
    Q_OBJECT

public:
    static constexpr int kLayoutWidth = 800;
    static constexpr int kLayoutHeight = 570;
    static constexpr QPoint kLayoutPosition{50, 50};

    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    // --- roles ------------------------------------------------------------------------
    QWidget *wholeWindow() override { return this; }
    QPushButton *sampleButton() const override { return m_ui.样本按钮; }
    QComboBox *comboSample() const override { return m_ui.组合框1; }
    QCheckBox *checkSample() const override { return m_ui.选择框4; }
    ButtonCanvases buttonCanvases() const override { return {m_ui.画板1, m_ui.画板2, m_ui.画板3, m_ui.画板4}; }
    ThreeCanvases comboCanvases() const override { return {m_ui.画板5, m_ui.画板6, m_ui.画板7}; }
    ThreeCanvases checkCanvases() const override { return {m_ui.画板8, m_ui.画板9, m_ui.画板10}; }
    form::Canvas *scratchCanvas() const override { return m_ui.源画板; }
    QCheckBox *borderRemovalBox() const override { return m_ui.选择框7; }
    QComboBox *dropWidthBox() const override { return m_ui.组合框4; }
    QComboBox *checkSideBox() const override { return m_ui.组合框5; }
    QCheckBox *outputGroupBox(model::OutputGroup group) const override;
    QPushButton *saveButton() const override { return m_ui.保存图片按钮; }
    form::IntervalTimer *previewTimer() const override { return m_previewTimer; }
    QLabel *settingsPanel() const override { return m_ui.标签1; }
    QListWidget *skinList() const override { return m_ui.列表框1; }
    QLabel *browserFrame() const override { return m_ui.标签8; }
    browser::BrowserPanel *browserPanel() const override { return m_ui.WebBrowser1; }

    QComboBox *widthBox() const { return m_ui.组合框2; }
    QComboBox *heightBox() const { return m_ui.组合框3; }
    QLineEdit *captionBox() const { return m_ui.编辑框1; }
    QLineEdit *fontNameBox() const { return m_ui.编辑框2; }
    QComboBox *formatBox() const { return m_ui.组合框6; }
    form::ColourPicker *colourPicker() const { return m_ui.颜色选择器1; }
    QPushButton *confirmButton() const { return m_ui.确认制作按钮; }
    form::IntervalTimer *infoTimer() const { return m_infoTimer; }

    // Width and height as the window system reports them, frame included.
    int outerWidth() const override;
    int outerHeight() const override;
    void setOuterWidth(int width) override;
    // Sizes the client area so that the window, frame included, has this size.
    void setOuterSize(const QSize &size);

    // The shared background colour: the window, its sixteen labels and the colour
    // canvas; the picker too unless it is where the colour came from.
    void spreadBackgroundColour(const QColor &colour, bool includingPicker);

Q_SIGNALS:
    void sizeChanged();
    void aboutToBeDestroyed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class DesignerControls;
    friend class EventMap;
    friend class ::DesignerRun;
    Ui::DesignerWindow &controls() { return m_ui; }

    void applyLayoutDetails();
    void setBackgroundColour(const QColor &colour);

    Ui::DesignerWindow m_ui;
    form::IntervalTimer *m_previewTimer;
    form::IntervalTimer *m_infoTimer;
    form::OuterSize *m_outer;
    bool m_closed = false;
};

} // namespace quillet::ui
