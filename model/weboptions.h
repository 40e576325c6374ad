#pragma once

namespace quillet::model {

// The save button's output options. All off is the plain export.
struct WebOptions
{
    bool transparent = false;
    bool twoX = false;
    bool sprite = false;
    bool focus = false;

    bool any() const { return transparent || twoX || sprite || focus; }
    bool operator==(const WebOptions &) const = default;
};

} // namespace quillet::model
