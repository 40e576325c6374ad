#pragma once

#include "kit/target.h"

namespace quillet::kit {

// The kit for Qt Widgets programs: kit.qss, which styles QPushButton, QCheckBox and
// QComboBox from the pictures in kit/ (with @2x and @3x ones Qt finds by itself), the
// resource list kit.qrc the sheet's pictures are named in, and README.md on loading it.
class QtTarget : public Target
{
public:
    QStringView name() const override;
    QStringView summary() const override;
    bool honours(Feature feature) const override;
    QList<pictures::PlannedFile> files(const Model &model, Problem *problem) const override;
};

} // namespace quillet::kit
