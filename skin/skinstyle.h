#pragma once

#include "skin/skin.h"
#include "skin/skinpainter.h"

#include <QProxyStyle>

namespace quillet::skin {

using SkinState = State;

// Paints the designer window's controls from a skin. Each element is dispatched to a
// small draw function; the drawing itself is SkinPainter's. Geometry the program relies
// on: the combo box drop button is the rightmost kDropButtonWidth pixels at full height,
// a square check box of kSquareCheckMin..kSquareCheckMax is its own indicator.
class SkinStyle : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int kDropButtonWidth = 17;
    static constexpr int kIndicatorSide = 13;
    static constexpr int kSquareCheckMin = 13;
    static constexpr int kSquareCheckMax = 15;
    static constexpr int kCheckLabelSpacing = 4;
    static constexpr int kFocusInset = 3;
    static constexpr int kEditTextMargin = 2;
    static constexpr int kMaxFieldFrame = 4;
    static constexpr int kScrollBarExtent = 16;

    explicit SkinStyle(const Skin &skin);

    const Skin &skin() const { return m_skin; }
    QPalette skinPalette() const;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
        const QWidget *widget = nullptr) const override;
    QRect subElementRect(
        SubElement element, const QStyleOption *option, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
    QPalette standardPalette() const override;
    void polish(QWidget *widget) override;
    void polish(QPalette &palette) override;
    using QProxyStyle::polish;

    // The look state an option is drawn in; a default button's own state when useDefault.
    // Public for labels drawn beside the style (a button's icon and caption).
    static SkinState stateOf(const QStyleOption *option, bool useDefault);

private:
    static SkinState checkStateOf(const QStyleOption *option);
    const Look &look(Element element, SkinState state) const { return m_skin.look(element, state); }
    // How many columns of the button's dotted focus ring count from its right corner.
    int focusRightSpan(int height) const;

    void drawButtonBevel(const QStyleOption *option, QPainter *painter) const;
    void drawButtonLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawButtonFocus(const QStyleOption *option, QPainter *painter) const;
    void drawCheckBox(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawCheckIndicator(const QStyleOption *option, QPainter *painter) const;
    void drawFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawLineEdit(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawItemPanel(const QStyleOption *option, QPainter *painter) const;
    void drawComboBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawComboLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawScrollBar(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;

    Skin m_skin;
    SkinPainter m_painter;
};

} // namespace quillet::skin
