#pragma once

#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// What a kit is held to: the renderer's blank push button (caption " ") at a few widths,
// and the check box in every state, as `quillet render --manifest` writes them.
namespace kitreference {

inline constexpr int kWidths[] = { 40, 104, 151, 217, 300 };
inline constexpr int kHeight = 24;

// The caption font the kit suites draw with, as the command reads "宋体 9".
inline QFont font()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    return font;
}

// Run with --transparent --focus --name {control}/{width}/{state}.
inline QJsonArray manifest(const QString &skin)
{
    QJsonArray entries;
    for (int width : kWidths) {
        QJsonObject entry { { QStringLiteral("skin"), skin }, { QStringLiteral("text"), QStringLiteral(" ") },
            { QStringLiteral("width"), width }, { QStringLiteral("height"), kHeight },
            { QStringLiteral("controls"),
                width == kWidths[0] ? QStringLiteral("button,check") : QStringLiteral("button") } };
        if (width == kWidths[0])
            entry[QStringLiteral("check-states")] = true;
        entries.append(entry);
    }
    return entries;
}

} // namespace kitreference
