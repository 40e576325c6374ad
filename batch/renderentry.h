#pragma once

#include "output/picturebytes.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::batch {

// One set of buttons to render, as given on the command line or by one manifest entry.
struct RenderEntry
{
    static constexpr int kDefaultWidth = 104;
    static constexpr int kDefaultHeight = 24;

    QString skin;
    QStringList captions;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    QString font = QStringLiteral("宋体 9");
    bool borderRemoval = false;
    bool button = true;
    bool combo = false;
    bool check = false;
    output::PictureFormat format = output::PictureFormat::Png;
    QList<int> ratios { 1 };
    bool transparent = false;
    bool sprite = false;
    // Where the entry came from, for messages: "the command line" or "manifest entry 3".
    QString origin;
};

} // namespace quillet::batch
