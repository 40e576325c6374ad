#include "ui/designerwindow.h"

#include "platform/form/intervaltimer.h"
#include "platform/form/outersize.h"
#include "ui/starttexts.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>

// The icons live in the program library's resources; a static library needs them pulled in.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quillet::ui {

namespace {

void setWidgetBackground(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

// Item values that the preview reads; the texts are only what the user sees.
constexpr int kComboButtonWidths[] = {15, 16, 17, 18};
constexpr int kCheckBoxSides[] = {13, 14, 15};

void setItemValues(QComboBox *combo, const int *values, int count)
{
    for (int i = 0; i < count && i < combo->count(); ++i)
        combo->setItemData(i, values[i]);
}

} // namespace

DesignerWindow::DesignerWindow(QWidget *parent)
    : QWidget(parent)
    , m_previewTimer(new form::IntervalTimer(this))
    , m_infoTimer(new form::IntervalTimer(this))
    , m_outer(new form::OuterSize(this))
{
    m_ui.setupUi(this);
    m_previewTimer->setObjectName(QStringLiteral("时钟1"));
    m_infoTimer->setObjectName(QStringLiteral("时钟2"));
    applyLayoutDetails();
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::applyLayoutDetails()
{
    initResources();
    QIcon icon;
    for (int side : {16, 32, 48, 64, 72})
        icon.addFile(QStringLiteral(":/quillet/icons/quillet-%1.png").arg(side), QSize(side, side));
    setWindowIcon(icon);
    move(kLayoutPosition);

    setItemValues(m_ui.组合框4, kComboButtonWidths, int(std::size(kComboButtonWidths)));
    setItemValues(m_ui.组合框5, kCheckBoxSides, int(std::size(kCheckBoxSides)));
    // Editable boxes start with empty text and no item chosen.
    m_ui.组合框2->setCurrentIndex(-1);
    m_ui.组合框2->setEditText(QString());
    m_ui.组合框3->setCurrentIndex(-1);
    m_ui.组合框3->setEditText(QString());
    // Inline completion would turn a partly typed "2" into the item "218" on Tab or Enter;
    // a typed size is taken as typed.
    m_ui.组合框2->setCompleter(nullptr);
    m_ui.组合框3->setCompleter(nullptr);
    m_ui.编辑框1->setText(StartTexts::caption());
    m_ui.样本按钮->setText(StartTexts::caption());
    m_ui.组合框1->setEditText(StartTexts::unchecked());
    m_ui.选择框4->setText(StartTexts::unchecked());
    m_ui.列表框1->setCurrentRow(-1);
    m_ui.源画板->hide();
    m_ui.确认制作按钮->setDefault(true);
}

int DesignerWindow::outerWidth() const
{
    return m_outer->size().width();
}

int DesignerWindow::outerHeight() const
{
    return m_outer->size().height();
}

void DesignerWindow::setOuterWidth(int width)
{
    setOuterSize(QSize(width, outerHeight()));
}

void DesignerWindow::setOuterSize(const QSize &size)
{
    m_outer->setSize(size);
}

void DesignerWindow::setBackgroundColour(const QColor &colour)
{
    setWidgetBackground(this, colour);
}

void DesignerWindow::spreadBackgroundColour(const QColor &colour, bool includingPicker)
{
    auto &ui = m_ui;
    setBackgroundColour(colour);
    for (QLabel *label : {ui.标签1, ui.标签2, ui.标签3, ui.标签4, ui.标签5, ui.标签6, ui.标签7, ui.标签8, ui.标签9,
                          ui.标签10, ui.标签11, ui.标签12, ui.标签13, ui.标签14, ui.标签15, ui.标签16})
        setWidgetBackground(label, colour);
    ui.画板a->setBackgroundColour(colour);
    if (includingPicker)
        ui.颜色选择器1->setColour(colour);
}

QCheckBox *DesignerWindow::outputGroupBox(model::OutputGroup group) const
{
    switch (group) {
    case model::OutputGroup::ButtonStates:
        return m_ui.选择框1;
    case model::OutputGroup::ComboButton:
        return m_ui.选择框2;
    case model::OutputGroup::CheckBox:
        return m_ui.选择框3;
    case model::OutputGroup::WholeWindow:
        break;
    }
    return m_ui.选择框5;
}

void DesignerWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Q_EMIT sizeChanged();
}

void DesignerWindow::keyPressEvent(QKeyEvent *event)
{
    // The window is no dialog, so Qt leaves Enter to it: in an edit or combo box Enter
    // presses the default button, as it does in the dialogs of the platform we follow.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget *focus = focusWidget();
    const bool inTextOrChoice = qobject_cast<QLineEdit *>(focus) || qobject_cast<QComboBox *>(focus);
    QPushButton *button = m_ui.确认制作按钮;
    if (enter && inTextOrChoice && button->isDefault() && button->isVisible() && button->isEnabled()) {
        event->accept();
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        Q_EMIT aboutToBeDestroyed();
    }
    event->accept();
}

} // namespace quillet::ui
