#pragma once

#include "model/buttonicon.h"
#include "model/metrics.h"
#include "model/samplestate.h"
#include "skin/skin.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <map>
#include <memory>
#include <tuple>

namespace quillet::skin {
class SkinStyle;
}

namespace quillet::render {

// The controls and states are the model's, so that the state table below this layer
// can name them.
using model::SampleControl;
using model::SampleState;

// One picture of one sample control in one state.
struct RenderRequest
{
    SampleControl control = SampleControl::PushButton;
    SampleState state = SampleState::Normal;
    // Logical size of the picture: the button; the drop button's width by the combo's
    // height; the check box's side twice.
    QSize size;
    // The combo's own height when its drop button picture shows only part of it (the
    // designer's canvases can be lower than the combo); 0 takes the picture's height.
    int comboHeight = 0;
    QString caption;
    // Push button: the caption's font. Drop button: the combo's font.
    QFont font;
    // The push button drawn two pixels larger and its outer pixel ring cut away.
    bool borderRemoval = false;
    // An opaque colour, or a transparent one for a picture with an alpha channel.
    QColor background = Qt::white;
    // Everything is drawn again at this ratio, never scaled up from ratio 1.
    qreal devicePixelRatio = 1.0;
    // Push button: a picture beside or above the caption. A file that cannot be used (see
    // iconProblem) draws the button without it.
    model::ButtonIcon icon;
};

// Paints the sample controls through the skin's own style without any widget or window,
// so pictures can be made at any ratio, on any background, in any number. At ratio 1 on
// an opaque background a picture holds exactly the pixels the designer's capture gives.
class LoadedIcon;

class ButtonRenderer
{
public:
    // Largest logical side drawn; larger requests give a null image.
    static constexpr int kMaxSide = model::Metrics::kMaxSide;

    explicit ButtonRenderer(const skin::Skin &skin);
    // A file that cannot be read gives the default look, as the designer shows it; in the
    // accent when one is given, as the designer shows that too.
    static ButtonRenderer fromSkinFile(const QString &path, const QColor &accent = QColor());
    ButtonRenderer(ButtonRenderer &&) noexcept;
    ButtonRenderer &operator=(ButtonRenderer &&) noexcept;
    ~ButtonRenderer();

    const skin::Skin &skin() const;

    // ARGB32 premultiplied, size times the ratio, with the ratio set. Needs a running
    // QApplication (the offscreen platform will do).
    QImage render(const RenderRequest &request) const;

private:
    // What of a push button to paint: the face is the same for every caption, so a
    // batch paints it once per size and state and then only the captions.
    enum class Part { Whole, Face, Caption };
    void paintPushButton(QPainter &painter, const RenderRequest &request, const QSize &size, Part part) const;
    QImage pushButton(const RenderRequest &request, const QImage &blank) const;
    void paintCombo(QPainter &painter, const RenderRequest &request, const QSize &size) const;
    void paintCheckBox(QPainter &painter, const RenderRequest &request, const QSize &size) const;
    QPalette palette(const QColor &background) const;
    const LoadedIcon *loadedIcon(const QString &file) const;

    std::unique_ptr<skin::SkinStyle> m_style;
    // Icon files read once per renderer; an export names one or two.
    mutable QHash<QString, std::shared_ptr<const LoadedIcon>> m_icons;
    // Push button faces without caption, by size, ratio, state, background and border
    // removal.
    using FaceKey = std::tuple<int, int, qreal, int, QRgb, bool>;
    mutable std::map<FaceKey, QImage> m_faces;
};

} // namespace quillet::render
