#pragma once

#include "platform/skin/skin.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace quillet::skin {
class SkinStyle;
}

namespace quillet::render {

enum class SampleControl { PushButton, DropButton, CheckBox };
enum class SampleState { Normal, Pressed, Hot, Disabled, Checked };

struct RenderRequest
{
    SampleControl control = SampleControl::PushButton;
    SampleState state = SampleState::Normal;
    // Picture size in logical pixels: push button width x height; drop button width x
    // combo height; check box side x side.
    QSize size;
    QString caption; // push button only
    QFont font;      // push button: caption font; drop button: the combo's font
    bool borderRemoval = false;     // push button: draw at +2 px and cut the 1 px border off
    QColor background = Qt::white;  // opaque colour, or Qt::transparent for a picture with alpha
    qreal devicePixelRatio = 1.0;   // 2 redraws everything at double resolution
};

// Paints the sample controls' states straight from a skin, with no widget and no window.
// Stand-in of the shared renderer until that one is merged; same interface.
class ButtonRenderer
{
public:
    static constexpr int kMaxSide = 16384;

    explicit ButtonRenderer(const skin::Skin &skin);
    static ButtonRenderer fromSkinFile(const QString &path); // unreadable file -> default look
    ~ButtonRenderer();
    ButtonRenderer(ButtonRenderer &&) noexcept;
    ButtonRenderer &operator=(ButtonRenderer &&) noexcept;

    // ARGB32_Premultiplied picture of size * devicePixelRatio with that ratio set; null
    // for an empty or oversized request. Needs a QGuiApplication (offscreen is fine).
    QImage render(const RenderRequest &request) const;

private:
    std::unique_ptr<skin::SkinStyle> m_style;
};

} // namespace quillet::render
