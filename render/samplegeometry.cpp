#include "render/samplegeometry.h"

#include "model/appstate.h"
#include "model/metrics.h"
#include "platform/form/canvas.h"
#include "render/sampleface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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

SampleGeometry::SampleGeometry(model::AppState &state, SampleFace &face)
    : m_state(state)
    , m_face(face)
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
    QPushButton *sample = m_face.sampleButton();
    sample->resize(width + (borderRemoval ? model::Metrics::kBorderAllowance : 0), sample->height());
    for (form::Canvas *canvas : m_face.buttonCanvases())
        canvas->resize(width, canvas->height());
    arrangePanels();
}

void SampleGeometry::sizeButtonHeight(bool borderRemoval)
{
    const int height = m_state.buttonHeight;
    if (!isApplicableSide(height))
        return;
    QPushButton *sample = m_face.sampleButton();
    sample->resize(sample->width(), height + (borderRemoval ? model::Metrics::kBorderAllowance : 0));
    for (form::Canvas *canvas : m_face.buttonCanvases())
        canvas->resize(canvas->width(), height);
}

void SampleGeometry::applyButtonWidth()
{
    sizeButtonWidth(m_face.borderRemovalBox()->isChecked());
}

void SampleGeometry::applyButtonHeight()
{
    sizeButtonHeight(m_face.borderRemovalBox()->isChecked());
}

void SampleGeometry::applyBorderToggle()
{
    const bool removalAfterClick = !m_face.borderRemovalBox()->isChecked();
    sizeButtonWidth(removalAfterClick);
    sizeButtonHeight(removalAfterClick);
}

void SampleGeometry::applyComboFontSize(int size)
{
    if (size < 1)
        return;
    QComboBox *combo = m_face.comboSample();
    QFont font = combo->font();
    font.setPointSize(qMin(size, kComboFontSizeCap));
    combo->setFont(font);
    const int height = comboHeightForFontSize(combo->font().pointSize());
    if (height == 0)
        return;
    for (form::Canvas *canvas : m_face.comboCanvases())
        canvas->resize(canvas->width(), height);
    combo->resize(combo->width(), height);
}

void SampleGeometry::arrangePanels()
{
    QLabel *left = m_face.settingsPanel();
    QLabel *right = m_face.browserFrame();
    QWidget *browser = m_face.browserPanel();
    QListWidget *list = m_face.skinList();
    const QPushButton *sample = m_face.sampleButton();

    left->resize(left->width(), nonNegative(double(m_face.outerHeight()) - kWindowHeightMargin));
    list->resize(list->width(), nonNegative(double(left->height()) - kListHeightMargin));
    left->resize(nonNegative(double(sample->x()) + sample->width() + kLeftPanelSpacing), left->height());
    right->move(nonNegative(double(left->x()) + left->width() + kPanelGap), right->y());
    right->resize(nonNegative(double(m_face.outerWidth()) - right->x() - kRightMargin), right->height());
    right->resize(right->width(), left->height());
    browser->setGeometry(right->x(), browser->y(), right->width(),
                         nonNegative(double(right->height()) - kBrowserHeightInset));
}

} // namespace quillet::render
