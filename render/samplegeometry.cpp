#include "render/samplegeometry.h"

#include "app/appstate.h"
#include "ui/designerwindow.h"

#include <cmath>

namespace quillet::render {

namespace {

struct FontHeight
{
    int fontSize;
    int height;
};
constexpr FontHeight kComboHeights[] = {{5, 15},  {7, 17},  {8, 18},  {9, 20},  {11, 22}, {12, 24},
                                        {14, 27}, {15, 28}, {16, 29}, {18, 32}, {22, 37}};

constexpr int kWindowHeightMargin = 50;
constexpr int kListHeightMargin = 12;
constexpr int kLeftPanelSpacing = 6;
constexpr int kPanelGap = 1;
constexpr int kRightMargin = 20;
constexpr int kBrowserHeightInset = 2;

int nonNegative(double value)
{
    return value <= 0 ? 0 : int(std::trunc(value));
}

} // namespace

SampleGeometry::SampleGeometry(app::AppState &state, ui::DesignerWindow &window)
    : m_state(state)
    , m_window(window)
{
}

int SampleGeometry::comboHeightForFontSize(int size)
{
    for (const FontHeight &entry : kComboHeights) {
        if (entry.fontSize == size)
            return entry.height;
    }
    return 0;
}

void SampleGeometry::sizeButtonWidth(bool borderRemoval)
{
    const int width = m_state.buttonWidth;
    if (!isApplicableSide(width))
        return;
    auto &ui = m_window.controls();
    ui.样本按钮->resize(width + (borderRemoval ? kBorderAllowance : 0), ui.样本按钮->height());
    for (form::Canvas *canvas : {ui.画板1, ui.画板2, ui.画板3, ui.画板4})
        canvas->resize(width, canvas->height());
    arrangePanels();
}

void SampleGeometry::sizeButtonHeight(bool borderRemoval)
{
    const int height = m_state.buttonHeight;
    if (!isApplicableSide(height))
        return;
    auto &ui = m_window.controls();
    ui.样本按钮->resize(ui.样本按钮->width(), height + (borderRemoval ? kBorderAllowance : 0));
    for (form::Canvas *canvas : {ui.画板1, ui.画板2, ui.画板3, ui.画板4})
        canvas->resize(canvas->width(), height);
}

void SampleGeometry::applyButtonWidth()
{
    sizeButtonWidth(m_window.controls().选择框7->isChecked());
}

void SampleGeometry::applyButtonHeight()
{
    sizeButtonHeight(m_window.controls().选择框7->isChecked());
}

void SampleGeometry::applyBorderToggle()
{
    const bool removalAfterClick = !m_window.controls().选择框7->isChecked();
    sizeButtonWidth(removalAfterClick);
    sizeButtonHeight(removalAfterClick);
}

void SampleGeometry::applyComboFontSize(int size)
{
    if (size < 1)
        return;
    auto &ui = m_window.controls();
    QFont font = ui.组合框1->font();
    font.setPointSize(qMin(size, kComboFontSizeCap));
    ui.组合框1->setFont(font);
    const int height = comboHeightForFontSize(ui.组合框1->font().pointSize());
    if (height == 0)
        return;
    for (form::Canvas *canvas : {ui.画板5, ui.画板6, ui.画板7})
        canvas->resize(canvas->width(), height);
    ui.组合框1->resize(ui.组合框1->width(), height);
}

void SampleGeometry::arrangePanels()
{
    auto &ui = m_window.controls();
    QLabel *left = ui.标签1;
    QLabel *right = ui.标签8;
    QWidget *browser = ui.WebBrowser1;

    left->resize(left->width(), nonNegative(double(m_window.outerHeight()) - kWindowHeightMargin));
    ui.列表框1->resize(ui.列表框1->width(), nonNegative(double(left->height()) - kListHeightMargin));
    left->resize(nonNegative(double(ui.样本按钮->x()) + ui.样本按钮->width() + kLeftPanelSpacing), left->height());
    right->move(nonNegative(double(left->x()) + left->width() + kPanelGap), right->y());
    right->resize(nonNegative(double(m_window.outerWidth()) - right->x() - kRightMargin), right->height());
    right->resize(right->width(), left->height());
    browser->setGeometry(right->x(), browser->y(), right->width(),
                         nonNegative(double(right->height()) - kBrowserHeightInset));
}

} // namespace quillet::render
