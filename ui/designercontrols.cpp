#include "ui/designercontrols.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "catalogue/skinswitcher.h"
#include "model/appstate.h"
#include "model/metrics.h"
#include "platform/form/dialogs.h"
#include "platform/form/fontsetup.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/numbertext.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"
#include "ui/starttexts.h"

#include <QFileInfo>
#include <limits>

namespace quillet::ui {

using form::NumberText;

namespace {
constexpr qint64 kIntMin = std::numeric_limits<int>::min();
constexpr qint64 kIntMax = std::numeric_limits<int>::max();

int listedNumber(const QComboBox *box)
{
    return int(NumberText::truncated(
        NumberText::toNumber(form::FormRuntime::itemText(box, box->currentIndex())), kIntMin, kIntMax));
}
} // namespace

DesignerControls::DesignerControls(model::AppState &state, DesignerWindow &window, form::Dialogs &dialogs,
    render::SampleGeometry &geometry, render::SamplePreview &preview, catalogue::SkinSwitcher &skins,
    system::Language language)
    : m_state(state)
    , m_window(window)
    , m_dialogs(dialogs)
    , m_geometry(geometry)
    , m_preview(preview)
    , m_skins(skins)
    , m_language(language)
{
}

void DesignerControls::applyCurrentSkin()
{
    m_skins.applyCurrentSkin(&m_window);
    m_window.spreadBackgroundColour(m_state.backgroundColour, true);
}

void DesignerControls::skinChosen()
{
    QListWidget *list = m_window.skinList();
    if (list->count() == 0 || list->currentRow() < 0)
        return;
    m_state.currentSkinIndex = list->currentRow() + 1;
    applyCurrentSkin();
    m_window.previewTimer()->setInterval(model::Metrics::kPreviewDelayAfterChoiceMs);
}

void DesignerControls::reloadSkin()
{
    const QFileInfo file(m_skins.currentSkinFile());
    if (!file.isFile() || !file.isReadable() || file.size() == 0)
        return;
    applyCurrentSkin();
    m_window.previewTimer()->setInterval(model::Metrics::kPreviewDelayAfterChoiceMs);
}

void DesignerControls::refreshSkinList()
{
    const QString current = m_state.skinFiles.value(m_state.currentSkinIndex - 1);
    catalogue::SkinCatalogue::fill(catalogue::ProgramPaths::skinsFolder(m_state.programFolder),
        m_state.skinFiles, m_window.skinList(), {});
    const int index = int(m_state.skinFiles.indexOf(current)) + 1;
    if (index > 0) {
        m_state.currentSkinIndex = index;
        form::FormRuntime::setCurrentItemIndex(m_window.skinList(), index - 1);
        return;
    }
    // The skin in use is gone: the list's first one takes its place.
    m_state.currentSkinIndex = 1;
    applyCurrentSkin();
    form::FormRuntime::setCurrentItemIndex(m_window.skinList(), m_state.skinFiles.isEmpty() ? -1 : 0);
    m_window.previewTimer()->setInterval(model::Metrics::kPreviewDelayAfterChoiceMs);
}

void DesignerControls::widthStep(int delta)
{
    m_state.buttonWidth = int(qBound(kIntMin, qint64(m_state.buttonWidth) + delta, kIntMax));
    m_window.controls().组合框2->setEditText(NumberText::toText(m_state.buttonWidth));
    m_geometry.applyButtonWidth();
}

void DesignerControls::widthFromList()
{
    m_state.buttonWidth = listedNumber(m_window.controls().组合框2);
    m_geometry.applyButtonWidth();
}

void DesignerControls::widthTyped()
{
    const double typed = NumberText::toNumber(m_window.controls().组合框2->currentText());
    if (typed - kMinTypedWidthExclusive <= kTolerance)
        return;
    m_state.buttonWidth = int(NumberText::truncated(typed, kIntMin, kIntMax));
    m_geometry.applyButtonWidth();
}

void DesignerControls::heightStep(int delta)
{
    const int before = m_state.buttonHeight;
    if (delta > 0 && m_state.buttonHeight < kMaxSteppedHeight)
        ++m_state.buttonHeight;
    else if (delta < 0 && m_state.buttonHeight > kMinSteppedHeight)
        --m_state.buttonHeight;
    if (m_state.buttonHeight == before)
        return;
    m_window.controls().组合框3->setEditText(NumberText::toText(m_state.buttonHeight));
    m_geometry.applyButtonHeight();
}

void DesignerControls::heightFromList()
{
    m_state.buttonHeight = listedNumber(m_window.controls().组合框3);
    m_geometry.applyButtonHeight();
}

void DesignerControls::heightTyped()
{
    const double typed = NumberText::toNumber(m_window.controls().组合框3->currentText());
    if (typed - kMinTypedHeightExclusive <= kTolerance || typed - kMaxTypedHeightExclusive >= -kTolerance)
        return;
    m_state.buttonHeight = int(NumberText::truncated(typed, kIntMin, kIntMax));
    m_geometry.applyButtonHeight();
}

void DesignerControls::textBoxPressed()
{
    QLineEdit *box = m_window.controls().编辑框1;
    if (box->text() == StartTexts::caption())
        box->clear();
}

void DesignerControls::textChanged()
{
    const QString text = m_window.controls().编辑框1->text();
    if (!text.isEmpty())
        m_window.controls().样本按钮->setText(text);
}

void DesignerControls::showSampleFont()
{
    const QFont font = m_window.controls().样本按钮->font();
    // Only the name shown is English; the sample keeps the family it draws with.
    const QString family = m_language == system::Language::English
        ? form::FontSetup::englishName(font.family())
        : font.family();
    m_window.controls().编辑框2->setText(family + u' ' + NumberText::toText(font.pointSize()));
}

void DesignerControls::chooseSampleFont()
{
    QPushButton *sample = m_window.controls().样本按钮;
    const form::Dialogs::FontChoice choice = m_dialogs.chooseFont(&m_window, sample->font(), 0);
    QFont font = sample->font();
    if (!choice.faceName.isEmpty())
        font.setFamily(choice.faceName);
    if (choice.pointSize > 0)
        font.setPointSize(choice.pointSize);
    sample->setFont(font);
    showSampleFont();
}

void DesignerControls::chooseComboFont()
{
    const form::Dialogs::FontChoice choice
        = m_dialogs.chooseFont(&m_window, m_window.controls().组合框1->font(), kComboFontCancelled);
    if (choice.pointSize == kComboFontCancelled)
        return;
    m_geometry.applyComboFontSize(choice.pointSize);
    m_preview.composeComboButton();
}

void DesignerControls::colourPicked()
{
    m_state.backgroundColour = m_window.controls().颜色选择器1->colour();
    m_window.spreadBackgroundColour(m_state.backgroundColour, false);
}

void DesignerControls::chooseAccent()
{
    const QColor initial = m_state.accent.isValid() ? m_state.accent : m_state.backgroundColour;
    const QColor chosen = m_dialogs.chooseColour(&m_window, initial);
    if (!chosen.isValid())
        return;
    // An accent is opaque: the dialog's alpha would mean nothing to the skin.
    setAccent(QColor(chosen.rgb()));
}

void DesignerControls::clearAccent()
{
    setAccent(QColor());
}

void DesignerControls::setAccent(const QColor &accent)
{
    if (accent == m_state.accent)
        return;
    m_state.accent = accent;
    applyCurrentSkin();
    m_window.previewTimer()->setInterval(model::Metrics::kPreviewDelayAfterChoiceMs);
}

void DesignerControls::borderBoxReleased()
{
    m_geometry.applyBorderToggle();
}

void DesignerControls::comboOptionReleased()
{
    const bool checkedAfterClick = !m_window.controls().选择框2->isChecked();
    m_window.controls().组合框1->setEditText(
        checkedAfterClick ? StartTexts::checked() : StartTexts::unchecked());
}

void DesignerControls::checkOptionReleased()
{
    const bool checkedAfterClick = !m_window.controls().选择框3->isChecked();
    m_window.controls().选择框4->setText(checkedAfterClick ? StartTexts::checked() : StartTexts::unchecked());
}

} // namespace quillet::ui
