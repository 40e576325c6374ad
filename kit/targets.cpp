#include "kit/targets.h"

#include "kit/androidtarget.h"
#include "kit/godottarget.h"
#include "kit/qttarget.h"
#include "kit/webtarget.h"

#include <array>

namespace quillet::kit {

std::span<const Target *const> targets()
{
    static const WebTarget web;
    static const QtTarget qt;
    static const AndroidTarget android;
    static const GodotTarget godot;
    static const std::array<const Target *, 4> list { &web, &qt, &android, &godot };
    return list;
}

namespace targetlist {

const Target *find(QStringView name)
{
    for (const Target *target : targets()) {
        if (target->name() == name)
            return target;
    }
    return nullptr;
}

QList<Feature> unmet(const Target &target, const Request &request)
{
    QList<Feature> missing;
    for (Feature feature : requests::features(request)) {
        if (!target.honours(feature))
            missing.append(feature);
    }
    return missing;
}

} // namespace targetlist

} // namespace quillet::kit
