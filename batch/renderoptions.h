#pragma once

#include "batch/renderentry.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::batch {

// The arguments after "render". With --manifest, the other entry options are defaults
// for every manifest entry; --text belongs to the manifest then.
class RenderOptions
{
public:
    enum class Action { Render, ListSkins, Help, Version };

    Action action = Action::Render;
    RenderEntry entry;
    QString manifestPath;
    QString out = QStringLiteral(".");
    // Empty when the arguments were understood.
    QString error;

    static RenderOptions parse(const QStringList &arguments);
    static QString usage();
};

} // namespace quillet::batch
