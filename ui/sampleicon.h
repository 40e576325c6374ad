#pragma once

#include "model/buttonicon.h"

#include <QObject>

#include <memory>

class QPushButton;

namespace quillet::render {
class LoadedIcon;
}

namespace quillet::ui {

// Paints the sample button with its icon, through the label the window-free renderer
// draws, so that its captures and the rendered pictures agree. Without an icon the button
// paints itself as it always did.
class SampleIcon : public QObject
{
    Q_OBJECT

public:
    explicit SampleIcon(QPushButton *button);
    ~SampleIcon() override;

    // False, and no icon shown, when the file cannot be used.
    bool show(const model::ButtonIcon &icon);
    bool showsIcon() const { return m_loaded != nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paint();

    QPushButton *m_button;
    model::ButtonIcon m_icon;
    std::shared_ptr<const render::LoadedIcon> m_loaded;
};

} // namespace quillet::ui
