#include "render/buttonrenderer.h"

#include "render/accentedskin.h"

#include "model/metrics.h"
#include "skin/skinparser.h"
#include "skin/skinstyle.h"
#include "render/iconlabel.h"
#include "render/loadedicon.h"

#include <QFileInfo>
#include <QPainter>
#include <QStyleOption>

namespace quillet::render {

using model::Metrics;

namespace {

// Icon files a renderer keeps read; more than a batch names are read again.
constexpr int kMaxLoadedIcons = 16;
// Faces a renderer keeps: a batch job's states and densities of one size.
constexpr int kMaxFaces = 32;

bool opaque(const QColor &colour)
{
    return colour.isValid() && colour.alpha() == 255;
}

// What lies beyond a control in a capture: white on an opaque picture, nothing otherwise.
QColor beyondControl(const QColor &background)
{
    return opaque(background) ? QColor(Qt::white) : QColor(Qt::transparent);
}

void initOption(QStyleOption &option, const QRect &rect, const QPalette &palette, const QFont &font,
    bool enabled, bool hot)
{
    option.rect = rect;
    option.palette = palette;
    option.fontMetrics = QFontMetrics(font);
    option.direction = Qt::LeftToRight;
    option.state = QStyle::State_None;
    option.state.setFlag(QStyle::State_Enabled, enabled);
    option.state.setFlag(QStyle::State_MouseOver, enabled && hot);
}

// A painter set up as a widget's own painter starts: its font and foreground pen.
void preparePainter(QPainter &painter, const QFont &font, const QPalette &palette)
{
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::ButtonText));
}

} // namespace

ButtonRenderer::ButtonRenderer(const skin::Skin &skin)
    : m_style(std::make_unique<skin::SkinStyle>(skin))
{
}

ButtonRenderer ButtonRenderer::fromSkinFile(const QString &path, const QColor &accent)
{
    const QFileInfo info(path);
    const bool readable = info.isFile() && info.isReadable();
    return ButtonRenderer(accent::accented(
        readable ? skin::SkinParser::parseFile(path) : skin::SkinParser::parse(QByteArray()), accent, nullptr));
}

ButtonRenderer::ButtonRenderer(ButtonRenderer &&) noexcept = default;
ButtonRenderer &ButtonRenderer::operator=(ButtonRenderer &&) noexcept = default;
ButtonRenderer::~ButtonRenderer() = default;

const skin::Skin &ButtonRenderer::skin() const
{
    return m_style->skin();
}

QPalette ButtonRenderer::palette(const QColor &background) const
{
    // The samples take the skin's palette and the window's background colour.
    QPalette pal = m_style->standardPalette();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        pal.setColor(group, QPalette::Window, background);
    return pal;
}

const LoadedIcon *ButtonRenderer::loadedIcon(const QString &file) const
{
    if (file.isEmpty())
        return nullptr;
    auto found = m_icons.constFind(file);
    if (found == m_icons.constEnd()) {
        if (m_icons.size() >= kMaxLoadedIcons)
            m_icons.clear();
        found = m_icons.insert(file, LoadedIcon::load(file));
    }
    return found->get();
}

QImage ButtonRenderer::render(const RenderRequest &request) const
{
    const QSize size = request.size;
    const qreal ratio = request.devicePixelRatio;
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxSide || size.height() > kMaxSide
        || !(ratio >= 1.0 && ratio <= 4.0))
        return {};
    QImage picture(size * ratio, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    picture.setDevicePixelRatio(ratio);
    picture.fill(beyondControl(request.background));

    if (request.control == SampleControl::PushButton)
        return pushButton(request, picture);
    QPainter painter(&picture);
    switch (request.control) {
    case SampleControl::PushButton:
        break;
    case SampleControl::DropButton:
        paintCombo(painter, request, size);
        break;
    case SampleControl::CheckBox:
        paintCheckBox(painter, request, size);
        break;
    }
    return picture;
}

QImage ButtonRenderer::pushButton(const RenderRequest &request, const QImage &blank) const
{
    QImage picture = blank;
    // The focus frame is drawn over the caption; those pictures are painted whole.
    if (request.state == SampleState::Focused) {
        QPainter painter(&picture);
        paintPushButton(painter, request, request.size, Part::Whole);
        return picture;
    }
    const FaceKey key { request.size.width(), request.size.height(), request.devicePixelRatio,
        int(request.state), request.background.rgba(), request.borderRemoval };
    auto face = m_faces.find(key);
    if (face == m_faces.end()) {
        if (m_faces.size() >= kMaxFaces)
            m_faces.clear();
        QPainter painter(&picture);
        paintPushButton(painter, request, request.size, Part::Face);
        painter.end();
        face = m_faces.emplace(key, picture).first;
    }
    picture = face->second;
    QPainter painter(&picture);
    paintPushButton(painter, request, request.size, Part::Caption);
    return picture;
}

void ButtonRenderer::paintPushButton(
    QPainter &painter, const RenderRequest &request, const QSize &size, Part part) const
{
    const int allowance = request.borderRemoval ? Metrics::kBorderAllowance : 0;
    const QRect control(0, 0, size.width() + allowance, size.height() + allowance);
    const QPalette pal = palette(request.background);
    const SampleState state = request.state;

    // The designer leaves a released button hot, and a pressed one is hot as well.
    QStyleOptionButton option;
    initOption(option, control, pal, request.font, state != SampleState::Disabled,
        state == SampleState::Pressed || state == SampleState::Hot);
    option.state |= state == SampleState::Pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    option.state.setFlag(QStyle::State_HasFocus, state == SampleState::Focused);
    if (state == SampleState::Default)
        option.features |= QStyleOptionButton::DefaultButton;
    option.text = request.caption;

    painter.translate(-allowance / 2, -allowance / 2);
    if (part != Part::Caption)
        painter.fillRect(control, request.background);
    preparePainter(painter, request.font, pal);
    if (part == Part::Face) {
        m_style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, nullptr);
        return;
    }
    const LoadedIcon *icon = loadedIcon(request.icon.file);
    if (part == Part::Caption) {
        if (icon)
            iconlabel::paintContents(painter, option, *m_style, request.icon, *icon);
        else
            m_style->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, nullptr);
    } else if (icon) {
        iconlabel::paintButton(painter, option, *m_style, request.icon, *icon);
    } else {
        m_style->drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
    }
}

void ButtonRenderer::paintCombo(QPainter &painter, const RenderRequest &request, const QSize &size) const
{
    const int height = request.comboHeight > 0 ? qMin(request.comboHeight, kMaxSide) : size.height();
    const QRect control(0, 0, Metrics::kComboSampleWidth, height);
    const QPalette pal = palette(request.background);
    const SampleState state = request.state;
    const bool pressed = state == SampleState::Pressed;

    QStyleOptionComboBox option;
    initOption(option, control, pal, request.font, state != SampleState::Disabled,
        pressed || state == SampleState::Hot);
    option.editable = true;
    option.frame = true;
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    if (pressed) {
        option.state |= QStyle::State_Sunken;
        option.activeSubControls = QStyle::SC_ComboBoxArrow;
    }

    painter.translate(-Metrics::kDropButtonLeft, 0);
    painter.fillRect(control, request.background);
    preparePainter(painter, request.font, pal);
    m_style->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, nullptr);
}

void ButtonRenderer::paintCheckBox(QPainter &painter, const RenderRequest &request, const QSize &size) const
{
    const QRect control(QPoint(0, 0), size);
    const QPalette pal = palette(request.background);
    const SampleState state = request.state;

    const bool checked = model::isChecked(state);
    const bool disabled = model::isDisabled(state);
    const bool pressed = state == SampleState::Pressed || state == SampleState::CheckedPressed;
    // As under the pointer: a pressed box is hot as well.
    const bool hot = pressed || state == SampleState::Hot || state == SampleState::CheckedHot;

    QStyleOptionButton option;
    initOption(option, control, pal, request.font, !disabled, hot);
    option.state |= checked ? QStyle::State_On : QStyle::State_Off;
    option.state.setFlag(QStyle::State_Sunken, pressed);

    painter.fillRect(control, request.background);
    preparePainter(painter, request.font, pal);
    m_style->drawControl(QStyle::CE_CheckBox, &option, &painter, nullptr);
}

} // namespace quillet::render
