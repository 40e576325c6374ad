#include "render/buttonrenderer.h"

#include "platform/skin/skinparser.h"
#include "platform/skin/skinstyle.h"

#include <QFileInfo>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

namespace quillet::render {

namespace {
// The designer photographs the combo box and copies its drop button from this column on.
constexpr int kDropButtonLeft = 29;

QStyle::State styleState(SampleState state)
{
    switch (state) {
    case SampleState::Normal:
        return QStyle::State_Enabled;
    case SampleState::Pressed:
        return QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_MouseOver;
    case SampleState::Hot:
        return QStyle::State_Enabled | QStyle::State_MouseOver;
    case SampleState::Disabled:
        return QStyle::State_None;
    case SampleState::Checked:
        return QStyle::State_Enabled | QStyle::State_On;
    }
    return QStyle::State_Enabled;
}
} // namespace

ButtonRenderer::ButtonRenderer(const skin::Skin &skin)
    : m_style(std::make_unique<skin::SkinStyle>(skin))
{
}

ButtonRenderer ButtonRenderer::fromSkinFile(const QString &path)
{
    const QFileInfo info(path);
    return ButtonRenderer(info.isFile() && info.isReadable() ? skin::SkinParser::parseFile(path)
                                                             : skin::SkinParser::parse(QByteArray()));
}

ButtonRenderer::~ButtonRenderer() = default;
ButtonRenderer::ButtonRenderer(ButtonRenderer &&) noexcept = default;
ButtonRenderer &ButtonRenderer::operator=(ButtonRenderer &&) noexcept = default;

QImage ButtonRenderer::render(const RenderRequest &request) const
{
    const QSize size = request.size;
    const qreal ratio = request.devicePixelRatio;
    if (!m_style || size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide || ratio < 1
        || ratio > 4)
        return {};
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(ratio);
    image.fill(request.background);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPalette palette = m_style->skinPalette();
    const QStyle::State state = styleState(request.state);
    switch (request.control) {
    case SampleControl::PushButton: {
        QStyleOptionButton option;
        option.rect = request.borderRemoval ? QRect(-1, -1, size.width() + 2, size.height() + 2)
                                            : QRect(QPoint(0, 0), size);
        option.state = state;
        option.text = request.caption;
        option.palette = palette;
        option.fontMetrics = QFontMetrics(request.font);
        painter.setFont(request.font);
        m_style->drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
        break;
    }
    case SampleControl::DropButton: {
        QStyleOptionComboBox option;
        option.rect = QRect(-kDropButtonLeft, 0, kDropButtonLeft + size.width(), size.height());
        option.state = state;
        option.editable = true;
        option.palette = palette;
        option.fontMetrics = QFontMetrics(request.font);
        option.subControls = QStyle::SC_All;
        if (request.state == SampleState::Pressed)
            option.activeSubControls = QStyle::SC_ComboBoxArrow;
        painter.setFont(request.font);
        m_style->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, nullptr);
        break;
    }
    case SampleControl::CheckBox: {
        QStyleOptionButton option;
        option.rect = QRect(QPoint(0, 0), size);
        option.state = state | (request.state == SampleState::Checked ? QStyle::State_On : QStyle::State_Off);
        option.palette = palette;
        m_style->drawControl(QStyle::CE_CheckBox, &option, &painter, nullptr);
        break;
    }
    }
    painter.end();
    return image;
}

} // namespace quillet::render
