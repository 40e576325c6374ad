#pragma once

#include "batch/optiontable.h"
#include "batch/renderentry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

namespace quillet::batch {

// The arguments after "render". With --manifest, the other entry options are defaults
// for every manifest entry; --text belongs to the manifest then.
struct RenderOptions
{
    enum class Action { Render, ListSkins, Help, Version };

    Action action = Action::Render;
    RenderEntry entry;
    QString manifestPath;
    QString out = QStringLiteral(".");
    bool textGiven = false;
    // Relative icon paths are relative to this folder (a manifest's own); empty: the
    // current folder.
    QString baseFolder;
    // Empty when the arguments were understood.
    QString error;

    static std::span<const OptionSpec<RenderOptions>> table();
    static RenderOptions parse(const QStringList &arguments);
    static QString usage();
};

} // namespace quillet::batch
