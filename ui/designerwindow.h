#pragma once

#include "ui_designer_window.h"

#include <QWidget>

namespace quillet::form {
class IntervalTimer;
class OuterSize;
}

namespace quillet::ui {

// The designer window as laid out in designer_window.ui, plus its members that are not
// shown: the two timers. Controls are reached through controls(), by their layout names.
class DesignerWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kLayoutWidth = 800;
    static constexpr int kLayoutHeight = 570;
    static constexpr QPoint kLayoutPosition{50, 50};

    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    Ui::DesignerWindow &controls() { return m_ui; }
    form::IntervalTimer *时钟1() const { return m_previewTimer; }
    form::IntervalTimer *时钟2() const { return m_infoTimer; }

    // Width and height as the window system reports them, frame included.
    int outerWidth() const;
    int outerHeight() const;
    void setOuterWidth(int width);
    // Sizes the client area so that the window, frame included, has this size.
    void setOuterSize(const QSize &size);

    void setBackgroundColour(const QColor &colour);

Q_SIGNALS:
    void sizeChanged();
    void aboutToBeDestroyed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void applyLayoutDetails();

    Ui::DesignerWindow m_ui;
    form::IntervalTimer *m_previewTimer;
    form::IntervalTimer *m_infoTimer;
    form::OuterSize *m_outer;
    bool m_closed = false;
};

} // namespace quillet::ui
