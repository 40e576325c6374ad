#include "kit/request.h"

#include <algorithm>
#include <cmath>

namespace quillet::kit::requests {

QList<Feature> features(const Request &request)
{
    QList<Feature> asked;
    if (request.dark)
        asked.append(Feature::DarkSkin);
    if (request.webp)
        asked.append(Feature::Webp);
    if (request.layout == Layout::Pieces)
        asked.append(Feature::Pieces);
    if (request.layout == Layout::Inline)
        asked.append(Feature::Inline);
    if (!request.prefix.isEmpty())
        asked.append(Feature::Prefix);
    if (request.ratios != QList<qreal> { 1 })
        asked.append(Feature::Scale);
    if (std::any_of(request.ratios.begin(), request.ratios.end(), [](qreal r) { return r != std::floor(r); }))
        asked.append(Feature::FractionalScale);
    return asked;
}

bool draws(const Request &request, const model::StateRow &row)
{
    return row.state != model::SampleState::Focused || request.focus;
}

bool isValidPrefix(const QString &prefix)
{
    if (prefix.isEmpty() || prefix.size() > 32)
        return false;
    const auto letter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (!letter(prefix.front()))
        return false;
    for (QChar c : prefix) {
        if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'-' && c != u'_')
            return false;
    }
    return true;
}

} // namespace quillet::kit::requests
