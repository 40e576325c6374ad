#pragma once

#include "kit/target.h"

namespace quillet::kit {

// The kit for Godot's GUI: a Theme for Godot 3 and one for Godot 4 (.tres text resources),
// each at 1x and 2x, that draw Button and CheckBox from the pictures in kit/, and README.md
// on using them.
class GodotTarget : public Target
{
public:
    QStringView name() const override;
    QStringView summary() const override;
    bool honours(Feature feature) const override;
    void fit(Request &request) const override;
    QList<pictures::PlannedFile> files(const Model &model, Problem *problem) const override;
};

} // namespace quillet::kit
