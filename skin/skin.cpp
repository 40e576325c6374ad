#include "skin/skin.h"

namespace quillet::skin {

namespace {
// Each name at its member's place; a missing one leaves a null the asserts below refuse.
constexpr std::array<const char *, kElementCount> kElementNames = { "window", "frame", "button", "combo",
    "combo-button", "check", "list", "list-selection", "edit", "scrollbar", "scrollbar-handle" };
constexpr std::array<const char *, kStateCount> kStateNames = { "normal", "hot", "pressed", "disabled",
    "focused", "default", "checked", "checked-hot", "checked-pressed", "checked-disabled" };
static_assert(kElementNames.back() != nullptr && kStateNames.back() != nullptr);
} // namespace

Skin::Skin()
    : m_base(0xd4, 0xd0, 0xc8)
{
}

const Look &Skin::look(Element element, State state) const
{
    return m_looks[static_cast<size_t>(element)][static_cast<size_t>(state)];
}

void Skin::setLook(Element element, State state, const Look &look)
{
    m_looks[static_cast<size_t>(element)][static_cast<size_t>(state)] = look;
}

QString Skin::elementName(Element element)
{
    return QString::fromLatin1(kElementNames[static_cast<size_t>(element)]);
}

QString Skin::stateName(State state)
{
    return QString::fromLatin1(kStateNames[static_cast<size_t>(state)]);
}

} // namespace quillet::skin
