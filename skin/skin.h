#pragma once

#include "skin/look.h"

#include <array>

namespace quillet::skin {

enum class Element {
    Window,
    Frame,
    Button,
    ComboField,
    ComboButton,
    Check,
    List,
    ListSelection,
    Edit,
    ScrollBar,
    ScrollHandle,
};
// The counts follow the last member, so a new one is counted and its name is required.
inline constexpr int kElementCount = int(Element::ScrollHandle) + 1;

enum class State {
    Normal,
    Hot,
    Pressed,
    Disabled,
    Focused,
    Default,
    Checked,
    CheckedHot,
    CheckedPressed,
    CheckedDisabled,
};
inline constexpr int kStateCount = int(State::CheckedDisabled) + 1;

// A parsed skin: the base colour and one resolved look per element and state.
class Skin
{
public:
    Skin();

    QColor base() const { return m_base; }
    void setBase(const QColor &colour) { m_base = colour; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    // The colour the skin's pictures are recoloured to as they are loaded; invalid: none.
    QColor accent() const { return m_accent; }
    void setAccent(const QColor &colour) { m_accent = colour; }

    const Look &look(Element element, State state) const;
    void setLook(Element element, State state, const Look &look);

    // Section names used in skin files, e.g. "button" and "hot".
    static QString elementName(Element element);
    static QString stateName(State state);

private:
    QColor m_base;
    QString m_name;
    QColor m_accent;
    std::array<std::array<Look, kStateCount>, kElementCount> m_looks;
};

} // namespace quillet::skin
