#pragma once

// The three sample controls as the designer window drives them, for grabbing each state
// the way the program photographs it.
#include "platform/form/statehints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

namespace quillet::skin::testing {

inline constexpr int kButtonWidth = 104;
inline constexpr int kButtonHeight = 24;
inline constexpr int kComboWidth = 46;
inline constexpr int kComboHeight = 32;
inline constexpr int kDropLeft = 29;
inline constexpr int kDropCopyWidth = 16;
inline constexpr int kCheckSide = 13;

inline QStringList shippedSkins()
{
    const QDir dir(QStringLiteral(QUILLET_SOURCE_DIR "/skins"));
    QStringList paths;
    for (const QString &name : dir.entryList({ QStringLiteral("*.an") }, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

inline QFont sampleFont()
{
    QFont font(QStringLiteral("WenQuanYi Bitmap Song"));
    font.setPixelSize(12);
    return font;
}

class SampleRig
{
public:
    enum ButtonState { ButtonNormal, ButtonPressed, ButtonHot, ButtonDisabled };
    enum ComboState { ComboNormal, ComboPressed, ComboDisabled };
    enum CheckState { CheckNormal, CheckChecked, CheckDisabled };

    explicit SampleRig(bool show = true)
        : m_button(QStringLiteral("输入按钮文字"), &m_host)
        , m_combo(&m_host)
        , m_check(QStringLiteral("未选"), &m_host)
    {
        m_host.resize(200, 120);
        m_button.setFont(sampleFont());
        m_button.setGeometry(0, 0, kButtonWidth, kButtonHeight);
        m_combo.setEditable(true);
        m_combo.setFont(sampleFont());
        m_combo.setEditText(QStringLiteral("未选"));
        m_combo.setGeometry(0, 40, kComboWidth, kComboHeight);
        m_check.setFont(sampleFont());
        m_check.setGeometry(0, 80, kCheckSide, kCheckSide);
        if (show)
            m_host.show();
    }

    QWidget &host() { return m_host; }
    QPushButton &button() { return m_button; }
    QComboBox &combo() { return m_combo; }
    QCheckBox &check() { return m_check; }

    QImage button(ButtonState state)
    {
        m_button.setEnabled(state != ButtonDisabled);
        m_button.setDown(state == ButtonPressed);
        m_button.setAttribute(Qt::WA_UnderMouse, state == ButtonHot);
        const QImage image = grab(m_button);
        m_button.setEnabled(true);
        m_button.setDown(false);
        m_button.setAttribute(Qt::WA_UnderMouse, false);
        return image;
    }

    QImage combo(ComboState state)
    {
        m_combo.setEnabled(state != ComboDisabled);
        m_combo.setProperty(form::kPressedProperty, state == ComboPressed);
        const QImage image = grab(m_combo);
        m_combo.setProperty(form::kPressedProperty, false);
        return image;
    }

    QImage dropButton(ComboState state, int width = kDropCopyWidth)
    {
        return combo(state).copy(kDropLeft, 0, width, m_combo.height());
    }

    // The whole combo box with its drop button in one of the button states.
    QImage combo(ButtonState state)
    {
        m_combo.setEnabled(state != ButtonDisabled);
        m_combo.setProperty(form::kPressedProperty, state == ButtonPressed);
        m_combo.setAttribute(Qt::WA_UnderMouse, state == ButtonHot);
        const QImage image = grab(m_combo);
        m_combo.setEnabled(true);
        m_combo.setProperty(form::kPressedProperty, false);
        m_combo.setAttribute(Qt::WA_UnderMouse, false);
        return image;
    }

    // The checked box in one of the button states.
    QImage checked(ButtonState state)
    {
        m_check.setChecked(true);
        m_check.setEnabled(state != ButtonDisabled);
        m_check.setDown(state == ButtonPressed);
        m_check.setAttribute(Qt::WA_UnderMouse, state == ButtonHot);
        const QImage image = grab(m_check);
        m_check.setEnabled(true);
        m_check.setChecked(false);
        m_check.setDown(false);
        m_check.setAttribute(Qt::WA_UnderMouse, false);
        return image;
    }

    QImage check(CheckState state)
    {
        m_check.setChecked(state == CheckChecked);
        m_check.setEnabled(state != CheckDisabled);
        const QImage image = grab(m_check);
        m_check.setEnabled(true);
        m_check.setChecked(false);
        return image;
    }

    // Captures at this device pixel ratio from now on, as on a dense screen.
    void setPixelRatio(qreal ratio) { m_ratio = ratio; }

private:
    QImage grab(QWidget &widget) const
    {
        widget.repaint();
        if (m_ratio == 1.0)
            return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage image((QSizeF(widget.size()) * m_ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(m_ratio);
        image.fill(widget.palette().window().color());
        widget.render(&image);
        return image;
    }

    qreal m_ratio = 1.0;

    QWidget m_host;
    QPushButton m_button;
    QComboBox m_combo;
    QCheckBox m_check;
};

} // namespace quillet::skin::testing
