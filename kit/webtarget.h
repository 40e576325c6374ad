#pragma once

#include "kit/target.h"

namespace quillet::kit {

// The kit for web pages: kit.css, which draws <button>, <a> and <input type=submit> of any
// width from the pieces, the demo page kit.html, the token file, and the pictures (sheets,
// pieces, or none with an in-line kit).
class WebTarget : public Target
{
public:
    // An in-line kit is one style sheet; past this size it loads slower than the files it
    // saves, and one data: URI could pass the longest URL Chromium takes (2 MiB).
    static constexpr qsizetype kInlineLimit = 2 * 1024 * 1024;
    // Without --scale: the ratios screens and page zoom mostly use (the check box, 13 pixels,
    // needs a whole one beside 1.5x; an odd height has no 1.5x pictures).
    static constexpr qreal kRatios[] = { 1.0, 1.5, 2.0, 3.0 };
    static constexpr qreal kOddHeightRatios[] = { 1.0, 2.0, 3.0 };

    QStringView name() const override;
    QStringView summary() const override;
    bool honours(Feature feature) const override;
    QList<qreal> defaultRatios(const Request &request) const override;
    QList<pictures::PlannedFile> files(const Model &model, Problem *problem) const override;
};

} // namespace quillet::kit
