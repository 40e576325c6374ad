#pragma once

#include "kit/model.h"
#include "kit/request.h"
#include "pictures/picturewriter.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillet::kit {

// Why there is no kit.
struct Problem
{
    QString message; // one line
    // The options ask for a kit that cannot be made (the command line exits 2); otherwise a
    // picture could not be drawn or encoded.
    bool input = false;
};

// One form a kit takes on disk: it turns the model into files for the picture writer.
class Target
{
public:
    virtual ~Target() = default;
    // As typed after --target.
    virtual QStringView name() const = 0;
    // One line for the usage text.
    virtual QStringView summary() const = 0;
    // Whether the target can give the kit a feature a request asks for.
    virtual bool honours(Feature feature) const = 0;
    // Settles what the target decides for itself, whatever the options said (its densities,
    // whether it draws focus), once they are known to be honoured and before the model is drawn.
    virtual void fit(Request &) const { }
    // The densities of a kit asked for without --scale.
    virtual QList<qreal> defaultRatios(const Request &) const { return { 1 }; }
    // Every file of the kit, drawn and encoded, in the order they are to be written: a
    // file that names others comes after them, so a failed write never leaves it naming
    // files that are not there. Empty, with *problem set, when there is no kit.
    virtual QList<pictures::PlannedFile> files(const Model &model, Problem *problem) const = 0;
};

} // namespace quillet::kit
