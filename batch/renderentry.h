#pragma once

#include "model/buttonicon.h"
#include "model/metrics.h"
#include "pictures/picturebytes.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::batch {

// One set of buttons to render, as given on the command line or by one manifest entry.
struct RenderEntry
{
    static constexpr QStringView kDefaultFont = u"宋体 9";

    QString skin;
    QStringList captions;
    int width = model::Metrics::kButtonWidth;
    int height = model::Metrics::kButtonHeight;
    QString font = kDefaultFont.toString();
    bool borderRemoval = false;
    bool button = true;
    bool combo = false;
    bool check = false;
    pictures::PictureFormat format = pictures::PictureFormat::Png;
    QList<qreal> ratios { 1 };
    bool transparent = false;
    bool sprite = false;
    bool focus = false;
    // The check box in every state a page shows, beyond the designer's three.
    bool checkStates = false;
    // A file that is checked before anything is written; none when its file is empty.
    model::ButtonIcon icon;
    // Empty for the designer's names.
    QString nameTemplate;
    // The skin in this colour (render::accent::accented); invalid: as it is.
    QColor accent;
    // Where the entry came from, for messages: "the command line" or "manifest entry 3".
    QString origin;
};

} // namespace quillet::batch
