#pragma once

#include "kit/qtstylesheet.h"
#include "skin/skin.h"

#include <QFont>
#include <QList>
#include <QString>

namespace quillet::kit {

// What a Qt kit is asked for: one skin at one height and font, at whole ratios.
struct QtKitRequest
{
    QString skinName;
    int height = 24;
    QFont font;
    QList<qreal> ratios { 1 };
    QString prefix = QStringLiteral("qk");
};

namespace qtkitinput {

// Every piece and picture the Qt kit shows, drawn by the skin's renderer: the push button's
// states with their focus, the check box's eight, the drop button's three.
QtSheetInput draw(const skin::Skin &skin, const QtKitRequest &request);

} // namespace qtkitinput

} // namespace quillet::kit
