#include "ui/eventmap.h"

#include "platform/form/intervaltimer.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"
#include "ui/mousebuttonhook.h"

namespace quillet::ui {

EventMap::EventMap(const Handlers &h)
{
    DesignerWindow *window = &h.window;
    auto &ui = window->controls();
    DesignerControls *controls = &h.controls;

    QObject::connect(window, &DesignerWindow::sizeChanged, window,
                     [geometry = &h.geometry] { geometry->arrangePanels(); });
    QObject::connect(window, &DesignerWindow::aboutToBeDestroyed, window, h.windDown);
    QObject::connect(ui.列表框1, &QListWidget::currentRowChanged, window,
                     [controls] { controls->skinChosen(); });
    QObject::connect(ui.按钮1, &QPushButton::clicked, window, [controls] { controls->widthStep(+1); });
    QObject::connect(ui.按钮2, &QPushButton::clicked, window, [controls] { controls->widthStep(-1); });
    QObject::connect(ui.组合框2, &QComboBox::activated, window, [controls] { controls->widthFromList(); });
    QObject::connect(ui.组合框2->lineEdit(), &QLineEdit::textEdited, window, [controls] { controls->widthTyped(); });
    QObject::connect(ui.按钮3, &QPushButton::clicked, window, [controls] { controls->heightStep(+1); });
    QObject::connect(ui.按钮4, &QPushButton::clicked, window, [controls] { controls->heightStep(-1); });
    QObject::connect(ui.组合框3, &QComboBox::activated, window, [controls] { controls->heightFromList(); });
    QObject::connect(ui.组合框3->lineEdit(), &QLineEdit::textEdited, window, [controls] { controls->heightTyped(); });
    QObject::connect(ui.按钮6, &QPushButton::clicked, window, [controls] { controls->chooseSampleFont(); });
    QObject::connect(ui.按钮8, &QPushButton::clicked, window, [controls] { controls->chooseComboFont(); });
    QObject::connect(ui.颜色选择器1, &form::ColourPicker::colourPicked, window, [controls] { controls->colourPicked(); });
    QObject::connect(ui.编辑框1, &QLineEdit::textChanged, window, [controls] { controls->textChanged(); });
    new MouseButtonHook(ui.编辑框1, MouseButtonHook::Moment::Press, [controls] { controls->textBoxPressed(); });
    new MouseButtonHook(ui.选择框7, MouseButtonHook::Moment::ClickRelease, [controls] { controls->borderBoxReleased(); });
    new MouseButtonHook(ui.选择框2, MouseButtonHook::Moment::ClickRelease, [controls] { controls->comboOptionReleased(); });
    new MouseButtonHook(ui.选择框3, MouseButtonHook::Moment::ClickRelease, [controls] { controls->checkOptionReleased(); });

    QObject::connect(ui.确认制作按钮, &QPushButton::clicked, window, [preview = &h.preview] { preview->composePreview(); });
    QObject::connect(window->previewTimer(), &form::IntervalTimer::tick, window,
                     [preview = &h.preview] { preview->onPreviewTimerTick(); });
    if (h.exportImages)
        QObject::connect(ui.保存图片按钮, &QPushButton::clicked, window, h.exportImages);
    if (h.openAbout)
        QObject::connect(ui.按钮5, &QPushButton::clicked, window, h.openAbout);
    if (h.helpPressed)
        QObject::connect(ui.按钮7, &QPushButton::clicked, window, h.helpPressed);
    if (h.infoTick)
        QObject::connect(window->infoTimer(), &form::IntervalTimer::tick, window, h.infoTick);
}

} // namespace quillet::ui
