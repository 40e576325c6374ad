#pragma once

#include "kit/target.h"

namespace quillet::kit {

// The kit for Android apps: the push button as a nine-patch and the check box's pictures,
// each drawn at every density Android names, with the state lists that pick them, the
// caption colours, sizes and styles, under res/ as an app's resources lie.
class AndroidTarget : public Target
{
public:
    QStringView name() const override;
    QStringView summary() const override;
    bool honours(Feature feature) const override;
    void fit(Request &request) const override;
    QList<pictures::PlannedFile> files(const Model &model, Problem *problem) const override;
};

} // namespace quillet::kit
